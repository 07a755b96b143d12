#include "platform/image/ImageDecoders.h"

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

namespace lv {

namespace {

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr info) {
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, err->message);
    std::longjmp(err->jump, 1);
}

void OnMessage(j_common_ptr, int) {} // warnings (corrupt-data notes) are not shown

// Plain data only between setjmp and longjmp: nothing here has a destructor that a longjmp
// could skip. The caller owns `pixels` (malloc'ed) and frees it on every path.
struct RawJpeg {
    int width = 0;
    int height = 0;
    int components = 0;
    bool invertedCmyk = false;
    unsigned char* pixels = nullptr;
    char message[JMSG_LENGTH_MAX] = {};
};

bool DecodeRaw(const unsigned char* data, unsigned long size, RawJpeg& out) {
    jpeg_decompress_struct info;
    ErrorManager err;
    std::memset(&info, 0, sizeof info);
    info.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = OnError;
    err.pub.emit_message = OnMessage;
    if (setjmp(err.jump) != 0) {
        std::memcpy(out.message, err.message, sizeof out.message);
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    // Progressive files keep every coefficient in memory; with this cap libjpeg refuses a
    // lying header instead of allocating for it (we have no backing store).
    info.mem->max_memory_to_use = 512L * 1024 * 1024;
    jpeg_mem_src(&info, data, size);
    jpeg_read_header(&info, TRUE);
    if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK) {
        info.out_color_space = JCS_CMYK;
        out.invertedCmyk = info.saw_Adobe_marker;
    } else {
        info.out_color_space = JCS_RGB;
    }
    // Photos larger than we keep are decoded at a reduced scale; the DCT does that for free.
    info.scale_num = 1;
    info.scale_denom = 1;
    jpeg_calc_output_dimensions(&info);
    while (info.scale_denom < 8 && (info.output_width > static_cast<unsigned>(kMaxImageSide) ||
                                    info.output_height > static_cast<unsigned>(kMaxImageSide) ||
                                    std::uint64_t{info.output_width} * info.output_height >
                                        static_cast<std::uint64_t>(kMaxImagePixels))) {
        info.scale_denom *= 2;
        jpeg_calc_output_dimensions(&info);
    }
    if (info.output_width == 0 || info.output_height == 0 ||
        info.output_width > static_cast<unsigned>(kMaxImageSide) ||
        info.output_height > static_cast<unsigned>(kMaxImageSide) ||
        std::uint64_t{info.output_width} * info.output_height >
            static_cast<std::uint64_t>(kMaxImagePixels)) {
        std::snprintf(out.message, sizeof out.message, "picture too large (%u x %u)",
                      info.image_width, info.image_height);
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_start_decompress(&info);
    out.width = static_cast<int>(info.output_width);
    out.height = static_cast<int>(info.output_height);
    out.components = info.output_components;
    const std::size_t stride = std::size_t{info.output_width} * info.output_components;
    out.pixels = static_cast<unsigned char*>(std::malloc(stride * info.output_height));
    if (out.pixels == nullptr) {
        std::snprintf(out.message, sizeof out.message, "out of memory");
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.pixels + stride * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

Image DecodeJpeg(ByteSpan file) {
    RawJpeg raw;
    const bool ok = DecodeRaw(file.data(), static_cast<unsigned long>(file.size()), raw);
    struct Free {
        unsigned char* p;
        ~Free() { std::free(p); }
    } owner{raw.pixels};
    if (!ok) {
        throw ImageDecodeError(std::string("JPEG: ") + raw.message);
    }
    Image out(raw.width, raw.height);
    const unsigned char* p = raw.pixels;
    for (int y = 0; y < raw.height; ++y) {
        for (int x = 0; x < raw.width; ++x, p += raw.components) {
            if (raw.components == 4) {
                // Adobe writes CMYK inverted (0 = full ink); others store it plainly.
                int c = p[0], m = p[1], yy = p[2], k = p[3];
                if (!raw.invertedCmyk) {
                    c = 255 - c;
                    m = 255 - m;
                    yy = 255 - yy;
                    k = 255 - k;
                }
                out.SetPixel(x, y,
                             {static_cast<std::uint8_t>(c * k / 255),
                              static_cast<std::uint8_t>(m * k / 255),
                              static_cast<std::uint8_t>(yy * k / 255), 255});
            } else {
                out.SetPixel(x, y, {p[0], p[1], p[2], 255});
            }
        }
    }
    return out;
}

} // namespace lv
