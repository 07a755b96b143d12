#pragma once

#include "mainwindow/BookmarkButton.h"

#include <QColor>
#include <QPixmap>

namespace lv {

// Turns a button's glyph reference into the picture it shows. Missing or unreadable files give
// the default glyph; a file without pictures of its own shows the desktop's icon for its type.
class GlyphPainter {
public:
    void SetDefaultIndex(int index) { defaultIndex_ = index; }
    void SetButtonFace(const QColor& face) { face_ = face; }

    // A null pixmap means no glyph at all (icons switched off).
    QPixmap Paint(const GlyphRef& glyph) const;
    QPixmap DefaultGlyph() const;

private:
    int defaultIndex_ = 120;
    QColor face_ = QColor(0xF0, 0xF0, 0xF0);
};

} // namespace lv
