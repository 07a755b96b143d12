#pragma once

#include "platform/image/Image.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace lv {

using ByteSpan = std::span<const std::uint8_t>;

// Every decoder takes the whole file in memory and either returns the picture or throws
// ImageDecodeError. None of them trusts a size or offset in the file.

// A .bmp file: 1, 4, 8, 16, 24 and 32 bits per pixel, bottom-up and top-down, RLE4/RLE8 and
// bit-field masks.
Image DecodeBmp(ByteSpan file);

// A PNG file or stream (as stored inside .ico files and icon resources).
Image DecodePng(ByteSpan file);

// A .gif file: the first frame on the logical screen, transparent where the frame is
// transparent or does not cover the screen.
Image DecodeGif(ByteSpan file);

// A .jpg file: anything libjpeg reads (baseline, progressive, greyscale, RGB, CMYK/YCCK).
// Very large photos are decoded at 1/2, 1/4 or 1/8 scale to stay within the size limits.
Image DecodeJpeg(ByteSpan file);

// One image of an icon: the size and colour depth from its directory entry, and the
// decoded picture (or why it could not be decoded).
struct IconImage {
    int width = 0;
    int height = 0;
    int bitCount = 0;
    Image image;       // null when error is set
    std::string error; // empty when the image decoded
};

// Real icons hold a dozen images at most; a directory claiming thousands is read only this far,
// so a small hostile file cannot make us decode the same large picture over and over.
inline constexpr int kMaxIconImages = 256;

// An icon or cursor image resource: a DIB with its AND mask (height doubled), or a PNG stream.
Image DecodeIconResource(ByteSpan data);

// All images of an .ico or .cur file, in directory order. Throws when the file is not an icon
// file at all; an entry that cannot be decoded comes back with its error set.
std::vector<IconImage> DecodeIcoFile(ByteSpan file);

// Windows executables and libraries (.exe, .dll): the icon groups in resource order. Each
// group lists its images in the group's own order.
struct IconGroup {
    std::vector<IconImage> images;
};
// Only the icon groups; throws when the file is not a PE file or its resources are malformed.
// A file without icons gives an empty list.
std::vector<IconGroup> DecodePeIconGroups(ByteSpan file);
// Only group `index` (from 0); nullopt when the file has no such group.
std::optional<IconGroup> DecodePeIconGroup(ByteSpan file, int index);
// The number of icon groups, without decoding any picture.
int CountPeIconGroups(ByteSpan file);

// Picks the image of a group that draws best at about `side` pixels: the smallest one at
// least that large (else the largest), the deepest colour among equal sizes. Skips images
// that failed to decode. Returns nullptr when none decoded.
const IconImage* PickIconImage(const std::vector<IconImage>& images, int side);

} // namespace lv
