#pragma once

#include <span>

namespace lv::glyphart {

// One pictogram as character art: 14 rows of 17 palette characters.
struct GlyphArt {
    const char* name;
    const char* rows[14];
};

struct FontChar {
    char c;
    const char* rows[7];
};

std::span<const GlyphArt> Pictograms();
const GlyphArt& WebPage();
// The 5 x 7 pattern of an upper-case letter or digit; nullptr for other characters.
const FontChar* FindFontChar(char c);
// A hand-drawn bold form (up to 7 wide, '#' is ink) for the few characters that need one.
const FontChar* FindBoldFontChar(char c);

} // namespace lv::glyphart
