// Draws every built-in glyph, enlarged, into one PPM picture so the artwork can be reviewed.
// Built and run by scripts/glyph-sheet.
#include "platform/image/Glyphs.h"

#include <cstdio>

int main(int argc, char** argv) {
    const char* path = argc > 1 ? argv[1] : "glyphs.ppm";
    constexpr int zoom = 4;
    constexpr int columns = 11;
    constexpr int cellW = (lv::kBuiltInGlyphWidth + 2) * zoom;
    constexpr int cellH = (lv::kBuiltInGlyphHeight + 2) * zoom;
    constexpr int rows = (lv::kBuiltInGlyphCount + columns - 1) / columns;
    lv::Image sheet(columns * cellW, rows * cellH, lv::RgbaFromHex(0x808080));
    for (int i = 0; i < lv::kBuiltInGlyphCount; ++i) {
        const lv::Image& g = lv::BuiltInGlyph(i);
        const lv::Image big =
            g.Scaled(g.Width() * zoom, g.Height() * zoom, lv::ScaleFilter::Nearest);
        sheet.Draw(big, (i % columns) * cellW + zoom, (i / columns) * cellH + zoom);
    }
    FILE* f = std::fopen(path, "wb");
    if (f == nullptr) {
        std::perror(path);
        return 1;
    }
    std::fprintf(f, "P6\n%d %d\n255\n", sheet.Width(), sheet.Height());
    for (int y = 0; y < sheet.Height(); ++y) {
        for (int x = 0; x < sheet.Width(); ++x) {
            const lv::Rgba p = sheet.Pixel(x, y);
            const unsigned char rgb[3] = {p.r, p.g, p.b};
            std::fwrite(rgb, 1, 3, f);
        }
    }
    return std::fclose(f) == 0 ? 0 : 1;
}
