#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace lv {

// One pixel, straight (not premultiplied) alpha: a = 0 is fully transparent, 255 opaque.
struct Rgba {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    std::uint8_t a = 0;

    friend bool operator==(const Rgba&, const Rgba&) = default;
};

// An opaque colour from the RGB value written as hexadecimal 0xRRGGBB.
constexpr Rgba RgbaFromHex(std::uint32_t rgb) {
    return Rgba{static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                static_cast<std::uint8_t>(rgb), 255};
}

// Thrown by the decoders for a file they refuse: truncated, inconsistent or too large. The
// message says what was wrong, for the user or a log.
class ImageDecodeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Decoders refuse pictures beyond these, before allocating anything for the pixels. Icons are
// shown at 15x15, so this only has to admit large photos someone picks as a bookmark picture.
inline constexpr int kMaxImageSide = 16384;
inline constexpr std::int64_t kMaxImagePixels = std::int64_t{1} << 25; // 128 MiB of RGBA

enum class ScaleFilter {
    Nearest, // plain pixel picking: for exact integer enlargements
    Hermite, // filtered two-pass resampling (cubic Hermite, support 1); smooth when shrinking
};

// A picture in memory: width x height pixels of RGBA8, rows top to bottom, no padding
// (stride = width * 4). The bytes are in the order R, G, B, A with straight alpha, which is
// what QImage::Format_RGBA8888 expects. A default-constructed Image is null (0 x 0).
class Image {
public:
    Image() = default;
    // Throws ImageDecodeError when the size is negative or beyond the limits above.
    Image(int width, int height, Rgba fill = {});

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool IsNull() const { return width_ == 0 || height_ == 0; }

    Rgba Pixel(int x, int y) const;
    void SetPixel(int x, int y, Rgba colour);
    void Fill(Rgba colour);

    // Raw RGBA8 bytes, Width() * Height() * 4 of them.
    const std::uint8_t* Bytes() const { return pixels_.data(); }
    std::uint8_t* Bytes() { return pixels_.data(); }
    std::size_t ByteCount() const { return pixels_.size(); }

    // A copy stretched to width x height. Hermite scaling works on premultiplied colour so that
    // transparent pixels do not bleed their (meaningless) colour into the edges.
    Image Scaled(int width, int height, ScaleFilter filter = ScaleFilter::Hermite) const;

    // This picture drawn over an opaque background colour (the result is fully opaque).
    Image ComposedOver(Rgba background) const;

    // Draws src with its top-left corner at (x, y), alpha-blended; parts outside are clipped.
    void Draw(const Image& src, int x, int y);

    friend bool operator==(const Image&, const Image&) = default;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> pixels_;
};

} // namespace lv
