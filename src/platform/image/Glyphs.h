#pragma once

#include "platform/image/Image.h"

namespace lv {

// The built-in glyph list: pictures of 17 x 14 pixels on an opaque E1FFFF background (the
// background is part of the picture, there is no mask).
inline constexpr int kBuiltInGlyphCount = 121;
inline constexpr int kBuiltInGlyphWidth = 17;
inline constexpr int kBuiltInGlyphHeight = 14;
inline constexpr Rgba kGlyphBackground = RgbaFromHex(0xE1FFFF);
// The glyph of bookmarks without an icon of their own when the DataFile names none.
inline constexpr int kDefaultGlyphIndex = 120;

// Built-in glyph `index` (0 .. 120); a null Image for any other index, so a caller keeps its
// default glyph.
const Image& BuiltInGlyph(int index);

// The picture shown on empty slots and as the first entry of a file's icon strip: 15 x 15,
// fully transparent.
const Image& BlankGlyph();

// The picture shown while icons are switched off: an empty (null) image.
const Image& NoIconGlyph();

// Short English name of a built-in glyph ("globe", "red dot"), for tooltips and tests.
const char* BuiltInGlyphName(int index);

} // namespace lv
