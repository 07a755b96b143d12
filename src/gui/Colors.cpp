#include "gui/Colors.h"

namespace lv {

QColor ToQColor(int value, const QPalette& palette) {
    if (value < 0) {
        switch (value & 0xFF) {
        case 5:
            return palette.color(QPalette::Base);
        case 8:
            return palette.color(QPalette::Text);
        case 15:
            return palette.color(QPalette::Button);
        case 18:
            return palette.color(QPalette::ButtonText);
        default:
            return palette.color(QPalette::WindowText);
        }
    }
    const unsigned v = static_cast<unsigned>(value);
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF));
}

int FromQColor(const QColor& colour) {
    return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

} // namespace lv
