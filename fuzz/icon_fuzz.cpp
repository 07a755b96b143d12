// Every picture decoder over the same bytes: icon files, program resources, BMP, PNG, GIF, JPEG.
#include "platform/image/ImageDecoders.h"

#include <cstddef>
#include <cstdint>
#include <functional>

namespace {

void Try(const std::function<void()>& decode) {
    try {
        decode();
    } catch (const lv::ImageDecodeError&) {
        // refusing the input is the expected outcome for most of them
    }
}

// Whatever decodes also goes through the glyph scaling, as it would on a button.
void Shrink(const lv::Image& image) {
    if (!image.IsNull()) {
        image.ComposedOver(lv::RgbaFromHex(0xF0F0F0)).Scaled(15, 15);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const lv::ByteSpan bytes(data, size);
    Try([&] {
        for (const lv::IconImage& i : lv::DecodeIcoFile(bytes)) {
            Shrink(i.image);
        }
    });
    Try([&] {
        lv::CountPeIconGroups(bytes);
        for (const lv::IconGroup& g : lv::DecodePeIconGroups(bytes)) {
            if (const lv::IconImage* best = lv::PickIconImage(g.images, 32)) {
                Shrink(best->image);
            }
        }
    });
    Try([&] { Shrink(lv::DecodeIconResource(bytes)); });
    Try([&] { Shrink(lv::DecodeBmp(bytes)); });
    Try([&] { Shrink(lv::DecodePng(bytes)); });
    Try([&] { Shrink(lv::DecodeGif(bytes)); });
    Try([&] { Shrink(lv::DecodeJpeg(bytes)); });
    return 0;
}
