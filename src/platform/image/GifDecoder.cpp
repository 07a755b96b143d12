#include "platform/image/ImageDecoders.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>

namespace lv {

namespace {

struct MemorySource {
    ByteSpan data;
    std::size_t at = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* buffer, int size) {
    auto* src = static_cast<MemorySource*>(gif->UserData);
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(std::max(size, 0)),
                                                src->data.size() - src->at);
    std::memcpy(buffer, src->data.data() + src->at, n);
    src->at += n;
    return static_cast<int>(n);
}

struct GifCloser {
    GifFileType* gif = nullptr;
    ~GifCloser() {
        if (gif != nullptr) {
            int error = 0;
            DGifCloseFile(gif, &error);
        }
    }
};

[[noreturn]] void Fail(int code) {
    const char* text = GifErrorString(code);
    throw ImageDecodeError(std::string("GIF: ") + (text != nullptr ? text : "damaged file"));
}

// Rows of an interlaced frame arrive in four passes.
std::vector<int> RowOrder(int height, bool interlaced) {
    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(height));
    if (!interlaced) {
        for (int y = 0; y < height; ++y) {
            order.push_back(y);
        }
        return order;
    }
    constexpr int start[4] = {0, 4, 2, 1};
    constexpr int step[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        for (int y = start[pass]; y < height; y += step[pass]) {
            order.push_back(y);
        }
    }
    return order;
}

} // namespace

Image DecodeGif(ByteSpan file) {
    MemorySource source{file};
    int error = 0;
    GifCloser closer{DGifOpen(&source, ReadFromMemory, &error)};
    GifFileType* gif = closer.gif;
    if (gif == nullptr) {
        Fail(error);
    }
    int transparent = -1;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR) {
            Fail(gif->Error);
        }
        if (type == TERMINATE_RECORD_TYPE) {
            throw ImageDecodeError("GIF: no picture in file");
        }
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* ext = nullptr;
            if (DGifGetExtension(gif, &code, &ext) == GIF_ERROR) {
                Fail(gif->Error);
            }
            // Graphic control block: flags, delay (2 bytes), transparent colour index.
            if (code == GRAPHICS_EXT_FUNC_CODE && ext != nullptr && ext[0] >= 4) {
                transparent = (ext[1] & 1) ? ext[4] : -1;
            }
            while (ext != nullptr) {
                if (DGifGetExtensionNext(gif, &ext) == GIF_ERROR) {
                    Fail(gif->Error);
                }
            }
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE) {
            continue;
        }
        if (DGifGetImageDesc(gif) == GIF_ERROR) {
            Fail(gif->Error);
        }
        const GifImageDesc& frame = gif->Image;
        const ColorMapObject* colours = frame.ColorMap != nullptr ? frame.ColorMap : gif->SColorMap;
        if (colours == nullptr) {
            throw ImageDecodeError("GIF: picture without colour table");
        }
        if (frame.Width <= 0 || frame.Height <= 0 || frame.Left < 0 || frame.Top < 0 ||
            std::int64_t{frame.Width} * frame.Height > kMaxImagePixels) {
            throw ImageDecodeError("GIF: bad picture size");
        }
        // The logical screen is the picture; files that leave it zero get the frame's size.
        const int width = gif->SWidth > 0 ? gif->SWidth : frame.Left + frame.Width;
        const int height = gif->SHeight > 0 ? gif->SHeight : frame.Top + frame.Height;
        Image out(width, height);
        std::vector<GifPixelType> line(static_cast<std::size_t>(frame.Width));
        for (int y : RowOrder(frame.Height, frame.Interlace)) {
            if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR) {
                Fail(gif->Error);
            }
            for (int x = 0; x < frame.Width; ++x) {
                const int index = line[static_cast<std::size_t>(x)];
                if (index == transparent || index >= colours->ColorCount) {
                    continue;
                }
                const GifColorType c = colours->Colors[index];
                out.SetPixel(frame.Left + x, frame.Top + y, {c.Red, c.Green, c.Blue, 255});
            }
        }
        return out;
    }
}

} // namespace lv
