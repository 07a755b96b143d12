// .bmp, .ico/.cur and PNG streams.
#include "platform/image/ByteReader.h"
#include "platform/image/Dib.h"
#include "platform/image/ImageDecoders.h"

#include <png.h>

#include <algorithm>

#include <cstring>

namespace lv {

using imagedetail::ByteReader;

namespace {

constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

bool IsPng(ByteSpan data) {
    return data.size() >= 8 && std::memcmp(data.data(), kPngSignature, 8) == 0;
}

} // namespace

Image DecodeBmp(ByteSpan file) {
    const ByteReader in(file, "BMP");
    if (!in.Has(0, 2) || in.U8(0) != 'B' || in.U8(1) != 'M') {
        in.Fail("not a BMP file");
    }
    const std::uint32_t offBits = in.U32(10);
    const ByteSpan dib = file.subspan(14);
    std::optional<std::uint64_t> pixels;
    // Some writers leave the offset zero; the rows then follow the palette. An offset beyond
    // the file is a lie.
    if (offBits >= file.size()) {
        in.Fail("pixel data beyond the end of the file");
    }
    if (offBits >= 14 + 12) {
        pixels = offBits - 14;
    }
    return imagedetail::DecodeDib(dib, pixels, false, "BMP");
}

Image DecodePng(ByteSpan file) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, file.data(), file.size())) {
        const std::string why = png.message;
        png_image_free(&png);
        throw ImageDecodeError("PNG: " + why);
    }
    png.format = PNG_FORMAT_RGBA;
    Image out;
    try {
        out = Image(static_cast<int>(std::min<png_uint_32>(png.width, 1u << 30)),
                    static_cast<int>(std::min<png_uint_32>(png.height, 1u << 30)));
    } catch (const ImageDecodeError&) {
        png_image_free(&png);
        throw ImageDecodeError("PNG: picture too large (" + std::to_string(png.width) + " x " +
                               std::to_string(png.height) + ")");
    }
    if (out.IsNull() || !png_image_finish_read(&png, nullptr, out.Bytes(),
                                               static_cast<png_int_32>(out.Width() * 4), nullptr)) {
        const std::string why = out.IsNull() ? "empty picture" : png.message;
        png_image_free(&png);
        throw ImageDecodeError("PNG: " + why);
    }
    png_image_free(&png);
    return out;
}

Image DecodeIconResource(ByteSpan data) {
    if (IsPng(data)) {
        return DecodePng(data);
    }
    return imagedetail::DecodeDib(data, std::nullopt, true, "icon");
}

std::vector<IconImage> DecodeIcoFile(ByteSpan file) {
    const ByteReader in(file, "icon file");
    if (!in.Has(0, 6) || in.U16(0) != 0 || (in.U16(2) != 1 && in.U16(2) != 2)) {
        in.Fail("not an icon file");
    }
    const bool cursor = in.U16(2) == 2;
    const int count = std::min<int>(in.U16(4), kMaxIconImages);
    if (count == 0) {
        in.Fail("no images");
    }
    std::vector<IconImage> images;
    images.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const std::uint64_t at = 6 + 16 * static_cast<std::uint64_t>(i);
        IconImage entry;
        if (!in.Has(at, 16)) {
            // A directory cut short: what is there stays usable, the rest is reported.
            entry.error = "icon file: truncated directory";
            images.push_back(std::move(entry));
            continue;
        }
        entry.width = in.U8(at) == 0 ? 256 : in.U8(at);
        entry.height = in.U8(at + 1) == 0 ? 256 : in.U8(at + 1);
        entry.bitCount = cursor ? 0 : in.U16(at + 6);
        const std::uint32_t size = in.U32(at + 8);
        const std::uint32_t offset = in.U32(at + 12);
        try {
            const ByteSpan data = in.Sub(offset, size);
            entry.image = DecodeIconResource(data);
            entry.width = entry.image.Width();
            entry.height = entry.image.Height();
            entry.bitCount = IsPng(data) ? 32 : imagedetail::DibBitCount(data);
        } catch (const ImageDecodeError& e) {
            entry.error = e.what();
        }
        images.push_back(std::move(entry));
    }
    return images;
}

const IconImage* PickIconImage(const std::vector<IconImage>& images, int side) {
    const IconImage* best = nullptr;
    auto size = [](const IconImage& i) { return std::max(i.image.Width(), i.image.Height()); };
    for (const IconImage& candidate : images) {
        if (candidate.image.IsNull()) {
            continue;
        }
        if (best == nullptr) {
            best = &candidate;
            continue;
        }
        const int c = size(candidate);
        const int b = size(*best);
        const bool cFits = c >= side;
        const bool bFits = b >= side;
        bool better = false;
        if (cFits != bFits) {
            better = cFits;
        } else if (c != b) {
            better = cFits ? c < b : c > b;
        } else {
            better = candidate.bitCount > best->bitCount;
        }
        if (better) {
            best = &candidate;
        }
    }
    return best;
}

} // namespace lv
