#include "gui/GlyphPainter.h"

#include "gui/QtText.h"
#include "platform/image/Glyphs.h"
#include "platform/image/IconFile.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QImage>

namespace lv {
namespace {

constexpr int kIconSide = 15; // button height minus 4

QPixmap ToPixmap(const Image& image) {
    if (image.IsNull()) {
        return {};
    }
    QImage view(image.Bytes(), image.Width(), image.Height(), image.Width() * 4,
                QImage::Format_RGBA8888);
    return QPixmap::fromImage(view.copy());
}

} // namespace

QPixmap GlyphPainter::DefaultGlyph() const {
    const Image& chosen = BuiltInGlyph(defaultIndex_);
    return ToPixmap(chosen.IsNull() ? BuiltInGlyph(kDefaultGlyphIndex) : chosen);
}

QPixmap GlyphPainter::Paint(const GlyphRef& glyph) const {
    switch (glyph.kind) {
    case GlyphRef::Kind::Default:
        return DefaultGlyph();
    case GlyphRef::Kind::BuiltIn: {
        const Image& image = BuiltInGlyph(glyph.index);
        return image.IsNull() ? DefaultGlyph() : ToPixmap(image);
    }
    case GlyphRef::Kind::SecondList:
        // The second list starts with the blank glyph; the icon chooser adds the rest.
        return glyph.index == 0 ? ToPixmap(BlankGlyph()) : DefaultGlyph();
    case GlyphRef::Kind::IconFile: {
        const std::string path = Cp1252ToUtf8(glyph.file);
        const Rgba face{static_cast<std::uint8_t>(face_.red()),
                        static_cast<std::uint8_t>(face_.green()),
                        static_cast<std::uint8_t>(face_.blue()), 255};
        IconLoad load = LoadButtonGlyph(path, glyph.index, face, kIconSide);
        if (load.Ok()) {
            return ToPixmap(load.image);
        }
        if (load.status == IconLoadStatus::NoIcon) {
            QIcon icon = QFileIconProvider().icon(QFileInfo(QString::fromStdString(path)));
            QPixmap pixmap = icon.pixmap(kIconSide, kIconSide);
            if (!pixmap.isNull()) {
                return pixmap;
            }
        }
        return DefaultGlyph();
    }
    case GlyphRef::Kind::Blank:
        return ToPixmap(BlankGlyph());
    case GlyphRef::Kind::None:
        return {};
    }
    return {};
}

} // namespace lv
