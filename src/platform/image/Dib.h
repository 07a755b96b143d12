#pragma once

#include "platform/image/Image.h"

#include <cstdint>
#include <optional>
#include <span>

namespace lv::imagedetail {

// A device-independent bitmap as found in .bmp files (after the file header) and in icon
// resources. `data` starts at the info header. `pixelOffset`, when given, is where the pixel
// rows start inside `data` (from a .bmp file header); otherwise they follow the palette.
// With `iconMask` the stored height covers the picture and its AND mask (the picture is half
// as high) and mask bits of 1 make pixels transparent.
Image DecodeDib(std::span<const std::uint8_t> data, std::optional<std::uint64_t> pixelOffset,
                bool iconMask, const char* what);

// Bits per pixel written in a DIB header, 0 when the header is unreadable.
int DibBitCount(std::span<const std::uint8_t> data);

} // namespace lv::imagedetail
