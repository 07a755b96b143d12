#pragma once

#include <string>

namespace lv {

// What a button's glyph shows. The view turns the reference into a picture; the model never
// holds pixels, so a page load stays cheap and testable without a window.
struct GlyphRef {
    enum class Kind {
        Default,    // the default glyph ([Default] IconG of the built-in list)
        BuiltIn,    // image `index` of the built-in list (no picture above 120: the default stays)
        SecondList, // image `index` of the second list, filled by the icon chooser
        IconFile,   // icon `index` of `file` (GIF/JPEG pictures ignore the number)
        Blank,      // empty slot
        None,       // icons switched off
    };
    Kind kind = Kind::Default;
    int index = 0;
    std::string file;

    friend bool operator==(const GlyphRef&, const GlyphRef&) = default;
};

enum class ButtonCursor { Normal, Hand };

// One of B01..B80: everything the button shows.
struct BookmarkButton {
    std::string name; // "B" and the two-digit slot number
    int slot = 0;     // 1..80
    std::string caption;
    std::string hint; // lines separated by CR
    GlyphRef glyph;
    int margin = 1;
    int fontColor = 0;
    std::string fontName;
    int fontSize = 9;
    ButtonCursor cursor = ButtonCursor::Normal;
    bool enabled = true;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 19;
};

} // namespace lv
