#include "platform/image/Glyphs.h"

#include "platform/image/GlyphArt.h"

#include <array>
#include <cmath>
#include <string>

namespace lv {

namespace {

Rgba PaletteColour(char c) {
    switch (c) {
    case 'k':
        return RgbaFromHex(0x202020); // outline
    case 'd':
        return RgbaFromHex(0x5A5A5A);
    case 'S':
        return RgbaFromHex(0x9A9A9A);
    case 's':
        return RgbaFromHex(0xCDCDCD);
    case 'w':
        return RgbaFromHex(0xFFFFFF);
    case 'r':
        return RgbaFromHex(0xE0302A);
    case 'R':
        return RgbaFromHex(0x9A1A14);
    case 'o':
        return RgbaFromHex(0xF08A1C);
    case 'y':
        return RgbaFromHex(0xFFD83A);
    case 'Y':
        return RgbaFromHex(0xC89400);
    case 'g':
        return RgbaFromHex(0x3AAE3A);
    case 'G':
        return RgbaFromHex(0x17701A);
    case 'b':
        return RgbaFromHex(0x2E68D8);
    case 'B':
        return RgbaFromHex(0x173A8C);
    case 'l':
        return RgbaFromHex(0x9CCCFF);
    case 'p':
        return RgbaFromHex(0x9A3CC0);
    case 'P':
        return RgbaFromHex(0xF080C0);
    case 'n':
        return RgbaFromHex(0xA0602C);
    case 'N':
        return RgbaFromHex(0x623410);
    case 't':
        return RgbaFromHex(0xF2C8A0);
    default:
        return kGlyphBackground;
    }
}

Image Canvas() {
    return Image(kBuiltInGlyphWidth, kBuiltInGlyphHeight, kGlyphBackground);
}

Image FromArt(const glyphart::GlyphArt& art) {
    Image out = Canvas();
    for (int y = 0; y < kBuiltInGlyphHeight; ++y) {
        for (int x = 0; x < kBuiltInGlyphWidth; ++x) {
            out.SetPixel(x, y, PaletteColour(art.rows[y][x]));
        }
    }
    return out;
}

std::uint8_t Mix(std::uint8_t a, std::uint8_t b, double t) {
    return static_cast<std::uint8_t>(std::lround(a + (b - a) * t));
}

Rgba Blend(Rgba under, Rgba over, double t) {
    return {Mix(under.r, over.r, t), Mix(under.g, over.g, t), Mix(under.b, over.b, t), 255};
}

Rgba Shade(Rgba c, double t) {
    return Blend(c, RgbaFromHex(0x000000), t);
}
Rgba Tint(Rgba c, double t) {
    return Blend(c, RgbaFromHex(0xFFFFFF), t);
}

struct Swatch {
    const char* name;
    std::uint32_t rgb;
};

constexpr std::array<Swatch, 12> kSwatches = {{
    {"red", 0xE53935},
    {"orange", 0xFB8C00},
    {"yellow", 0xFDD835},
    {"green", 0x43A047},
    {"teal", 0x00897B},
    {"cyan", 0x00ACC1},
    {"blue", 0x1E88E5},
    {"navy", 0x283593},
    {"purple", 0x8E24AA},
    {"pink", 0xD81B60},
    {"brown", 0x6D4C41},
    {"grey", 0x757575},
}};

// A shaded ball of diameter 11, smoothed against the background by 4 x 4 supersampling.
Image Dot(Rgba colour) {
    Image out = Canvas();
    const double cx = 8.5;
    const double cy = 7.5;
    const double radius = 5.5;
    const Rgba rim = Shade(colour, 0.35);
    for (int y = 0; y < kBuiltInGlyphHeight; ++y) {
        for (int x = 0; x < kBuiltInGlyphWidth; ++x) {
            int inside = 0;
            int body = 0;
            for (int sy = 0; sy < 4; ++sy) {
                for (int sx = 0; sx < 4; ++sx) {
                    const double px = x + (sx + 0.5) / 4.0;
                    const double py = y + (sy + 0.5) / 4.0;
                    const double d = std::hypot(px - cx, py - cy);
                    inside += d <= radius;
                    body += d <= radius - 1.0;
                }
            }
            if (inside == 0) {
                continue;
            }
            // Light from the top left: a soft highlight fading into the colour.
            const double hl = std::hypot(x + 0.5 - (cx - 2.0), y + 0.5 - (cy - 2.0));
            const Rgba fill = Tint(colour, std::max(0.0, 0.55 - hl * 0.18));
            const Rgba pixel = Blend(rim, fill, body / 16.0);
            out.SetPixel(x, y, Blend(kGlyphBackground, pixel, inside / 16.0));
        }
    }
    return out;
}

// An 11 x 11 square with a darker border and a light upper-left edge.
Image Square(Rgba colour) {
    Image out = Canvas();
    for (int y = 2; y <= 12; ++y) {
        for (int x = 3; x <= 13; ++x) {
            Rgba p = colour;
            if (x == 3 || x == 13 || y == 2 || y == 12) {
                p = Shade(colour, 0.4);
            } else if (x == 4 || y == 3) {
                p = Tint(colour, 0.35);
            }
            out.SetPixel(x, y, p);
        }
    }
    return out;
}

// A rounded badge with a bold white character.
Image Badge(char c, Rgba colour) {
    Image out = Canvas();
    for (int y = 1; y <= 12; ++y) {
        for (int x = 2; x <= 14; ++x) {
            const bool corner = (x == 2 || x == 14) && (y == 1 || y == 12);
            if (!corner) {
                out.SetPixel(
                    x, y, (x == 2 || x == 14 || y == 1 || y == 12) ? Shade(colour, 0.3) : colour);
            }
        }
    }
    const Rgba ink = RgbaFromHex(0xFFFFFF);
    if (const glyphart::FontChar* bold = glyphart::FindBoldFontChar(c)) {
        for (int y = 0; y < 7; ++y) {
            for (int x = 0; bold->rows[y][x] != '\0'; ++x) {
                if (bold->rows[y][x] == '#') {
                    out.SetPixel(5 + x, 3 + y, ink);
                }
            }
        }
        return out;
    }
    const glyphart::FontChar* f = glyphart::FindFontChar(c);
    for (int y = 0; f != nullptr && y < 7; ++y) {
        for (int x = 0; x < 5; ++x) {
            if (f->rows[y][x] == '#') {
                // Each stroke twice as wide: a 1-pixel font is hard to read on a button.
                out.SetPixel(5 + x, 3 + y, ink);
                out.SetPixel(6 + x, 3 + y, ink);
            }
        }
    }
    return out;
}

constexpr std::uint32_t kBadgeColours[] = {0x1E63C8, 0xC62828, 0x2E8B3A,
                                           0x7B3FA8, 0xD9700A, 0x00796B};
constexpr std::uint32_t kDigitColour = 0x37474F;

struct GlyphList {
    std::array<Image, kBuiltInGlyphCount> images;
    std::array<std::string, kBuiltInGlyphCount> names;

    GlyphList() {
        int i = 0;
        for (const glyphart::GlyphArt& art : glyphart::Pictograms()) {
            images.at(i) = FromArt(art);
            names.at(i++) = art.name;
        }
        for (const Swatch& s : kSwatches) {
            images.at(i) = Dot(RgbaFromHex(s.rgb));
            names.at(i++) = std::string(s.name) + " dot";
        }
        for (const Swatch& s : kSwatches) {
            images.at(i) = Square(RgbaFromHex(s.rgb));
            names.at(i++) = std::string(s.name) + " square";
        }
        for (char c = 'A'; c <= 'Z'; ++c) {
            images.at(i) = Badge(c, RgbaFromHex(kBadgeColours[(c - 'A') % 6]));
            names.at(i++) = std::string("letter ") + c;
        }
        for (char c = '0'; c <= '9'; ++c) {
            images.at(i) = Badge(c, RgbaFromHex(kDigitColour));
            names.at(i++) = std::string("digit ") + c;
        }
        images.at(i) = FromArt(glyphart::WebPage());
        names.at(i++) = glyphart::WebPage().name;
    }
};

const GlyphList& List() {
    static const GlyphList list;
    return list;
}

} // namespace

const Image& BuiltInGlyph(int index) {
    static const Image none;
    if (index < 0 || index >= kBuiltInGlyphCount) {
        return none;
    }
    return List().images[static_cast<std::size_t>(index)];
}

const char* BuiltInGlyphName(int index) {
    if (index < 0 || index >= kBuiltInGlyphCount) {
        return "";
    }
    return List().names[static_cast<std::size_t>(index)].c_str();
}

const Image& BlankGlyph() {
    static const Image blank(15, 15);
    return blank;
}

const Image& NoIconGlyph() {
    static const Image none;
    return none;
}

} // namespace lv
