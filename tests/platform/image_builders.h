#pragma once

// Small writers of BMP, ICO, PNG and Windows program files for the image tests: each fixture is
// built from the pixels the test expects back, so a test can also bend one field to lie.

#include "platform/image/Image.h"

#include <cstdint>
#include <functional>
#include <ostream>
#include <vector>

namespace lv {
inline void PrintTo(const Rgba& c, std::ostream* os) {
    *os << "rgba(" << int{c.r} << "," << int{c.g} << "," << int{c.b} << "," << int{c.a} << ")";
}
} // namespace lv

namespace imgtest {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& out, std::uint32_t v);
void Put32(Bytes& out, std::uint32_t v);
void Set32(Bytes& out, std::size_t at, std::uint32_t v);

struct DibSpec {
    int width = 0;
    int height = 0;
    int bpp = 24;
    bool topDown = false;
    bool iconMask = false;                     // append an AND mask and double the stored height
    std::vector<lv::Rgba> palette;             // for 1, 4 and 8 bpp
    std::function<int(int, int)> index;        // palette index of (x, y), for 1/4/8 bpp
    std::function<lv::Rgba(int, int)> colour;  // for 16/24/32 bpp (alpha used at 32)
    std::function<bool(int, int)> transparent; // AND mask bit, when iconMask
};

inline DibSpec Spec(int width, int height, int bpp) {
    DibSpec s;
    s.width = width;
    s.height = height;
    s.bpp = bpp;
    return s;
}

// Info header + palette + rows (+ mask): the form stored in icons.
Bytes Dib(const DibSpec& spec);
// The same with a 14-byte file header in front.
Bytes Bmp(const DibSpec& spec);
// An RGBA picture as a PNG stream.
Bytes Png(const lv::Image& image);

struct IcoEntry {
    Bytes data;
    int width = 0;
    int height = 0;
    int bpp = 0;
};
// An .ico (type 1) or .cur (type 2) file holding these images in this order.
Bytes Ico(const std::vector<IcoEntry>& entries, int type = 1);

// A minimal 32-bit Windows program whose resources hold the given icon images (by id) and icon
// groups (each a list of icon ids with the entry's width/height/bpp taken from `icons`).
struct PeIcon {
    std::uint16_t id = 0;
    IcoEntry image;
};
Bytes Pe(const std::vector<PeIcon>& icons, const std::vector<std::vector<std::uint16_t>>& groups);

// A picture of the given size filled by a function of (x, y).
lv::Image Picture(int width, int height, const std::function<lv::Rgba(int, int)>& colour);

} // namespace imgtest
