#include "platform/image/Dib.h"

#include "platform/image/ByteReader.h"

#include <array>
#include <bit>
#include <vector>

namespace lv::imagedetail {

namespace {

enum : std::uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6 };

struct Header {
    std::uint32_t size = 0;
    std::int64_t width = 0;
    std::int64_t height = 0; // of the picture, without the icon mask
    bool topDown = false;
    int bitCount = 0;
    std::uint32_t compression = kRgb;
    std::uint32_t colorsUsed = 0;
    std::array<std::uint32_t, 4> masks{}; // r, g, b, a
    bool haveMasks = false;
    std::uint64_t paletteOffset = 0;
    int paletteEntrySize = 4;
};

// Scales a field extracted by a bit mask to 0..255.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(std::uint32_t m) : mask(m) {
        if (m != 0) {
            shift = std::countr_zero(m);
            bits = std::popcount(m >> shift) > 16 ? 16 : std::popcount(m >> shift);
        }
    }
    std::uint8_t Get(std::uint32_t v, std::uint8_t absent) const {
        if (mask == 0) {
            return absent;
        }
        const std::uint32_t max = (1u << bits) - 1;
        const std::uint32_t field = ((v & mask) >> shift) & max;
        return static_cast<std::uint8_t>((field * 255 + max / 2) / max);
    }
};

Header ReadHeader(const ByteReader& in, bool iconMask) {
    Header h;
    h.size = in.U32(0);
    if (h.size == 12) { // the old core header: 16-bit sizes, 3-byte palette entries
        h.width = in.U16(4);
        h.height = in.U16(6);
        h.bitCount = in.U16(10);
        h.paletteEntrySize = 3;
    } else if (h.size == 40 || h.size == 52 || h.size == 56 || h.size == 64 || h.size == 108 ||
               h.size == 124) {
        h.width = in.I32(4);
        h.height = in.I32(8);
        h.bitCount = in.U16(14);
        h.compression = in.U32(16);
        h.colorsUsed = in.U32(32);
        if (h.compression == kBitFields || h.compression == kAlphaBitFields) {
            // In version 4/5 headers the masks are part of the header; in the 40-byte one they
            // follow it.
            const std::uint64_t at = 40;
            const int count = h.compression == kAlphaBitFields || h.size >= 56 ? 4 : 3;
            for (int i = 0; i < count; ++i) {
                h.masks[static_cast<std::size_t>(i)] = in.U32(at + 4 * static_cast<unsigned>(i));
            }
            h.haveMasks = true;
            if (h.size == 40) {
                h.size += 4 * static_cast<unsigned>(count);
            }
        }
    } else {
        in.Fail("unknown bitmap header size " + std::to_string(h.size));
    }
    h.paletteOffset = h.size;
    if (h.height < 0) {
        if (iconMask) {
            in.Fail("top-down icon image");
        }
        h.topDown = true;
        h.height = -h.height;
    }
    if (iconMask) {
        h.height /= 2;
    }
    if (h.width <= 0 || h.height <= 0) {
        in.Fail("empty picture");
    }
    if (h.width > kMaxImageSide || h.height > kMaxImageSide ||
        h.width * h.height > kMaxImagePixels) {
        in.Fail("picture too large (" + std::to_string(h.width) + " x " + std::to_string(h.height) +
                ")");
    }
    switch (h.bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        in.Fail("unsupported colour depth " + std::to_string(h.bitCount));
    }
    const bool rleOk =
        (h.compression == kRle8 && h.bitCount == 8) || (h.compression == kRle4 && h.bitCount == 4);
    const bool fieldsOk = (h.compression == kBitFields || h.compression == kAlphaBitFields) &&
                          (h.bitCount == 16 || h.bitCount == 32);
    if (h.compression != kRgb && !rleOk && !fieldsOk) {
        in.Fail("unsupported compression " + std::to_string(h.compression));
    }
    if (rleOk && (h.topDown || iconMask)) {
        in.Fail("compressed top-down picture");
    }
    if (!h.haveMasks) {
        if (h.bitCount == 16) {
            h.masks = {0x7C00, 0x03E0, 0x001F, 0};
        } else if (h.bitCount == 24 || h.bitCount == 32) {
            h.masks = {0xFF0000, 0x00FF00, 0x0000FF, 0};
        }
    }
    return h;
}

// Number of palette entries stored in the file.
std::uint32_t PaletteCount(const Header& h) {
    if (h.bitCount > 8) {
        return 0;
    }
    const std::uint32_t full = 1u << h.bitCount;
    return h.colorsUsed == 0 || h.colorsUsed > full ? full : h.colorsUsed;
}

// Always the full table for the depth, so any index in the pixels is safe; entries the file
// does not store are black.
std::vector<Rgba> ReadPalette(const ByteReader& in, const Header& h) {
    if (h.bitCount > 8) {
        return {};
    }
    const std::uint32_t full = 1u << h.bitCount;
    const std::uint32_t count = PaletteCount(h);
    std::vector<Rgba> palette(full, Rgba{0, 0, 0, 255});
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint64_t at = h.paletteOffset + std::uint64_t{i} * h.paletteEntrySize;
        palette[i] = {in.U8(at + 2), in.U8(at + 1), in.U8(at), 255};
    }
    return palette;
}

std::uint64_t Stride(std::int64_t width, int bits) {
    return ((static_cast<std::uint64_t>(width) * static_cast<unsigned>(bits) + 31) / 32) * 4;
}

// RLE data to palette indices; pixels the stream skips stay transparent (index -1).
std::vector<std::int16_t> DecodeRle(const ByteReader& in, std::uint64_t at, const Header& h) {
    const auto w = static_cast<std::size_t>(h.width);
    std::vector<std::int16_t> idx(w * static_cast<std::size_t>(h.height), -1);
    std::int64_t x = 0;
    std::int64_t y = 0; // counted from the bottom row
    const bool four = h.compression == kRle4;
    auto put = [&](int v) {
        if (x < h.width && y < h.height) {
            idx[static_cast<std::size_t>(y) * w + static_cast<std::size_t>(x)] =
                static_cast<std::int16_t>(v);
        }
        ++x;
    };
    while (y < h.height) {
        const std::uint8_t count = in.U8(at);
        const std::uint8_t value = in.U8(at + 1);
        at += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i) {
                put(four ? ((i & 1) ? value & 0x0F : value >> 4) : value);
            }
        } else if (value == 0) { // end of line
            x = 0;
            ++y;
        } else if (value == 1) { // end of bitmap
            break;
        } else if (value == 2) { // delta
            x += in.U8(at);
            y += in.U8(at + 1);
            at += 2;
        } else { // absolute run, padded to 16 bits
            const int n = value;
            const std::uint64_t bytes = four ? (n + 1) / 2 : n;
            for (int i = 0; i < n; ++i) {
                const std::uint8_t b = in.U8(at + (four ? i / 2 : i));
                put(four ? ((i & 1) ? b & 0x0F : b >> 4) : b);
            }
            at += (bytes + 1) & ~std::uint64_t{1};
        }
    }
    return idx;
}

} // namespace

int DibBitCount(std::span<const std::uint8_t> data) {
    ByteReader in(data, "bitmap");
    if (!in.Has(0, 16)) {
        return 0;
    }
    return in.U32(0) == 12 ? in.U16(10) : in.U16(14);
}

Image DecodeDib(std::span<const std::uint8_t> data, std::optional<std::uint64_t> pixelOffset,
                bool iconMask, const char* what) {
    const ByteReader in(data, what);
    const Header h = ReadHeader(in, iconMask);
    const std::vector<Rgba> palette = ReadPalette(in, h);
    std::uint64_t pixels = h.paletteOffset + std::uint64_t{PaletteCount(h)} *
                                                 static_cast<unsigned>(h.paletteEntrySize);
    if (pixelOffset) {
        pixels = *pixelOffset;
    }
    const int width = static_cast<int>(h.width);
    const int height = static_cast<int>(h.height);
    const std::uint64_t stride = Stride(h.width, h.bitCount);
    const bool rle = h.compression == kRle8 || h.compression == kRle4;
    if (!rle) {
        // Check the claimed size against the data before allocating anything for it.
        in.Need(pixels, stride * static_cast<std::uint64_t>(height));
    }
    Image out(width, height);
    auto rowOf = [&](int y) { return h.topDown ? y : height - 1 - y; };

    if (rle) {
        const std::vector<std::int16_t> idx = DecodeRle(in, pixels, h);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const int v = idx[static_cast<std::size_t>(rowOf(y)) * width + x];
                out.SetPixel(x, y, v < 0 ? Rgba{} : palette[static_cast<std::size_t>(v)]);
            }
        }
        return out;
    }

    const Channel r(h.masks[0]), g(h.masks[1]), b(h.masks[2]), a(h.masks[3]);
    bool anyAlpha = false;
    for (int y = 0; y < height; ++y) {
        const std::uint64_t row = pixels + stride * static_cast<std::uint64_t>(rowOf(y));
        for (int x = 0; x < width; ++x) {
            Rgba p;
            const auto ux = static_cast<std::uint64_t>(x);
            switch (h.bitCount) {
            case 1:
            case 4:
            case 8: {
                const unsigned bits = static_cast<unsigned>(h.bitCount);
                const std::uint64_t bit = ux * bits;
                const unsigned byte = in.U8(row + bit / 8);
                const unsigned v = (byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                p = palette[v];
                break;
            }
            case 16: {
                const std::uint32_t v = in.U16(row + ux * 2);
                p = {r.Get(v, 0), g.Get(v, 0), b.Get(v, 0), a.Get(v, 255)};
                break;
            }
            case 24:
                p = {in.U8(row + ux * 3 + 2), in.U8(row + ux * 3 + 1), in.U8(row + ux * 3), 255};
                break;
            default: {
                const std::uint32_t v = in.U32(row + ux * 4);
                // A plain 32-bit picture keeps alpha in the top byte; it counts only when some
                // pixel uses it (many writers leave it zero).
                const std::uint32_t am = h.haveMasks ? h.masks[3] : 0xFF000000u;
                const Channel alpha(am);
                p = {r.Get(v, 0), g.Get(v, 0), b.Get(v, 0), alpha.Get(v, 255)};
                anyAlpha = anyAlpha || (am != 0 && p.a != 0);
                break;
            }
            }
            out.SetPixel(x, y, p);
        }
    }
    const bool alphaFromPixels = h.bitCount == 32 && anyAlpha;
    if (h.bitCount == 32 && !anyAlpha) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                Rgba p = out.Pixel(x, y);
                p.a = 255;
                out.SetPixel(x, y, p);
            }
        }
    }
    if (iconMask && !alphaFromPixels) {
        const std::uint64_t maskStride = Stride(h.width, 1);
        const std::uint64_t maskAt = pixels + stride * static_cast<std::uint64_t>(height);
        in.Need(maskAt, maskStride * static_cast<std::uint64_t>(height));
        for (int y = 0; y < height; ++y) {
            const std::uint64_t row = maskAt + maskStride * static_cast<std::uint64_t>(rowOf(y));
            for (int x = 0; x < width; ++x) {
                const unsigned ux = static_cast<unsigned>(x);
                if ((in.U8(row + ux / 8) >> (7 - ux % 8)) & 1) {
                    out.SetPixel(x, y, {});
                }
            }
        }
    }
    return out;
}

} // namespace lv::imagedetail
