#include "gui/GlyphPainter.h"

#include "gui/QtText.h"
#include "platform/image/Glyphs.h"
#include "platform/image/IconFile.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QMimeDatabase>
#include <cstring>

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

// The icon theme's icon for the file's type, as the file manager shows it; the generic icon of
// its kind, or the platform's file icon, when the theme has none.
QIcon TypeIcon(const QString& path) {
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
    QIcon icon = QIcon::fromTheme(type.iconName());
    if (icon.isNull()) {
        icon = QIcon::fromTheme(type.genericIconName());
    }
    if (icon.isNull()) {
        icon = QFileIconProvider().icon(QFileInfo(path));
    }
    return icon;
}

// A picture drawn by Qt, as the image code holds one.
Image FromQImage(const QImage& picture) {
    const QImage rgba = picture.convertToFormat(QImage::Format_RGBA8888);
    Image image(rgba.width(), rgba.height());
    for (int y = 0; y < rgba.height(); ++y) {
        std::memcpy(image.Bytes() + static_cast<std::size_t>(y) * rgba.width() * 4,
                    rgba.constScanLine(y), static_cast<std::size_t>(rgba.width()) * 4);
    }
    return image;
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
            // Shrunk from the desktop's large icon the way icons from files are.
            const QPixmap large = TypeIcon(QString::fromStdString(path)).pixmap(32, 32);
            if (!large.isNull()) {
                return ToPixmap(IconGlyph(FromQImage(large.toImage()), face, kIconSide));
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
