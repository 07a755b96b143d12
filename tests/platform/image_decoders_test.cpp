#include "image_builders.h"
#include "support/TempDir.h"

#include "platform/image/ImageDecoders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

using imgtest::Bytes;
using imgtest::DibSpec;
using lv::Image;
using lv::Rgba;

const Rgba kRed{255, 0, 0, 255};
const Rgba kGreen{0, 255, 0, 255};
const Rgba kBlue{0, 0, 255, 255};
const Rgba kWhite{255, 255, 255, 255};
const Rgba kBlack{0, 0, 0, 255};
const Rgba kClear{0, 0, 0, 0};

lv::ByteSpan Span(const Bytes& b) {
    return {b.data(), b.size()};
}

Bytes Fixture(const std::string& name) {
    const std::string s = lvtest::ReadBytes(lvtest::Fixture(name));
    return Bytes(s.begin(), s.end());
}

// A picture whose every pixel differs from its neighbours, so flipped rows or shifted columns
// show.
Rgba Pattern(int x, int y) {
    return Rgba{static_cast<std::uint8_t>(x * 40), static_cast<std::uint8_t>(y * 40),
                static_cast<std::uint8_t>(255 - x * 20 - y * 10), 255};
}

struct BmpCase {
    const char* name;
    int bpp;
    bool topDown;
};

TEST(BmpDecoder, DecodesEveryDepthInBothRowOrders) {
    const std::vector<Rgba> palette16 = {kBlack, kRed,           kGreen,         kBlue,
                                         kWhite, {1, 2, 3, 255}, {9, 8, 7, 255}, {50, 60, 70, 255}};
    const BmpCase cases[] = {{"1 bpp", 1, false},
                             {"4 bpp", 4, false},
                             {"8 bpp", 8, true},
                             {"16 bpp", 16, false},
                             {"24 bpp bottom-up", 24, false},
                             {"24 bpp top-down", 24, true},
                             {"32 bpp", 32, false}};
    for (const BmpCase& c : cases) {
        SCOPED_TRACE(c.name);
        DibSpec spec;
        spec.width = 5; // odd width: rows need padding at every depth
        spec.height = 3;
        spec.bpp = c.bpp;
        spec.topDown = c.topDown;
        const int colours = c.bpp == 1 ? 2 : 8;
        if (c.bpp <= 8) {
            spec.palette.assign(palette16.begin(), palette16.begin() + colours);
            spec.index = [&](int x, int y) { return (x + 2 * y) % colours; };
        } else {
            spec.colour = Pattern;
        }
        const Image img = lv::DecodeBmp(Span(imgtest::Bmp(spec)));
        ASSERT_EQ(img.Width(), 5);
        ASSERT_EQ(img.Height(), 3);
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 5; ++x) {
                Rgba want = c.bpp <= 8 ? spec.palette[static_cast<std::size_t>(spec.index(x, y))]
                                       : Pattern(x, y);
                if (c.bpp == 16) { // 5 bits per channel, scaled back up
                    auto five = [](int v) {
                        return static_cast<std::uint8_t>(((v >> 3) * 255 + 15) / 31);
                    };
                    want = {five(want.r), five(want.g), five(want.b), 255};
                }
                ASSERT_EQ(img.Pixel(x, y), want) << x << "," << y;
            }
        }
    }
}

TEST(BmpDecoder, ThirtyTwoBitAlphaCountsOnlyWhenSomePixelUsesIt) {
    DibSpec spec = imgtest::Spec(2, 1, 32);
    spec.colour = [](int x, int) { return Rgba{10, 20, 30, static_cast<std::uint8_t>(x * 100)}; };
    Image img = lv::DecodeBmp(Span(imgtest::Bmp(spec)));
    EXPECT_EQ(img.Pixel(0, 0).a, 0);
    EXPECT_EQ(img.Pixel(1, 0).a, 100);
    spec.colour = [](int, int) { return Rgba{10, 20, 30, 0}; }; // writers that leave it zero
    img = lv::DecodeBmp(Span(imgtest::Bmp(spec)));
    EXPECT_EQ(img.Pixel(0, 0), (Rgba{10, 20, 30, 255}));
}

TEST(BmpDecoder, DecodesRle8WithSkippedPixelsTransparent) {
    DibSpec spec = imgtest::Spec(4, 2, 8);
    spec.palette = {kBlack, kRed, kGreen};
    spec.index = [](int, int) { return 0; };
    Bytes bmp = imgtest::Bmp(spec);
    bmp.resize(14 + 40 + 12);
    // Bottom row: 4 x red. Next row: 1 green, then a delta of 2 to the right, then end.
    const Bytes rle = {4, 1, 0, 0, 1, 2, 0, 2, 2, 0, 0, 1};
    bmp.insert(bmp.end(), rle.begin(), rle.end());
    imgtest::Set32(bmp, 14 + 16, 1); // BI_RLE8
    const Image img = lv::DecodeBmp(Span(bmp));
    EXPECT_EQ(img.Pixel(0, 1), kRed);
    EXPECT_EQ(img.Pixel(3, 1), kRed);
    EXPECT_EQ(img.Pixel(0, 0), kGreen);
    EXPECT_EQ(img.Pixel(1, 0), kClear);
}

TEST(BmpDecoder, RefusesLyingAndDamagedFiles) {
    DibSpec spec = imgtest::Spec(16, 16, 24);
    spec.colour = Pattern;
    const Bytes good = imgtest::Bmp(spec);
    struct Lie {
        const char* name;
        std::size_t at;
        std::uint32_t value;
    };
    const Lie lies[] = {
        {"huge width", 14 + 4, 1000000},
        {"huge height", 14 + 8, 0x7FFFFFFF},
        {"width and height within limits but too many pixels", 14 + 4, 16000},
        {"negative width", 14 + 4, 0xFFFFFFF0},
        {"zero height", 14 + 8, 0},
        {"odd depth", 14 + 14, 7},
        {"unknown compression", 14 + 16, 9},
        {"header size", 14, 77},
        {"pixel offset past the end", 10, 0xFFFFFF00},
    };
    for (const Lie& lie : lies) {
        SCOPED_TRACE(lie.name);
        Bytes bad = good;
        if (std::string(lie.name) == "width and height within limits but too many pixels") {
            imgtest::Set32(bad, 14 + 8, 16000);
        }
        imgtest::Set32(bad, lie.at, lie.value);
        if (std::string(lie.name) == "odd depth") {
            bad[14 + 15] = 0;
        }
        EXPECT_THROW(lv::DecodeBmp(Span(bad)), lv::ImageDecodeError);
    }
    Bytes cut = good;
    cut.resize(good.size() - 10);
    EXPECT_THROW(lv::DecodeBmp(Span(cut)), lv::ImageDecodeError);
}

imgtest::IcoEntry FourBitEntry() {
    DibSpec spec = imgtest::Spec(16, 16, 4);
    spec.iconMask = true;
    spec.palette = {kBlack, kRed, kGreen, kBlue};
    spec.index = [](int x, int y) { return (x / 4 + y / 4) % 4; };
    spec.transparent = [](int x, int y) { return x == 0 || y == 15; };
    return {imgtest::Dib(spec), 16, 16, 4};
}

imgtest::IcoEntry ThirtyTwoBitEntry() {
    DibSpec spec = imgtest::Spec(32, 32, 32);
    spec.iconMask = true;
    spec.colour = [](int x, int) { return Rgba{0, 0, 255, static_cast<std::uint8_t>(x * 8)}; };
    return {imgtest::Dib(spec), 32, 32, 32};
}

imgtest::IcoEntry PngEntry() {
    const Image p = imgtest::Picture(48, 48, [](int x, int) {
        return x < 24 ? Rgba{0, 0, 0, 0} : kGreen;
    });
    return {imgtest::Png(p), 48, 48, 32};
}

TEST(IcoDecoder, DecodesEveryImageWithMaskAndAlpha) {
    const Bytes ico = imgtest::Ico({FourBitEntry(), ThirtyTwoBitEntry(), PngEntry()});
    const std::vector<lv::IconImage> images = lv::DecodeIcoFile(Span(ico));
    ASSERT_EQ(images.size(), 3u);
    for (const auto& i : images) {
        ASSERT_EQ(i.error, "");
    }
    const Image& four = images[0].image;
    EXPECT_EQ(images[0].bitCount, 4);
    EXPECT_EQ(four.Pixel(0, 5), kClear);     // masked column
    EXPECT_EQ(four.Pixel(5, 15), kClear);    // masked row (the bottom one)
    EXPECT_EQ(four.Pixel(5, 0), kRed);       // (5/4 + 0) % 4 = 1
    EXPECT_EQ(four.Pixel(13, 14), (kGreen)); // (3 + 3) % 4 = 2
    const Image& alpha = images[1].image;
    EXPECT_EQ(alpha.Width(), 32);
    EXPECT_EQ(alpha.Pixel(10, 3), (Rgba{0, 0, 255, 80}));
    const Image& png = images[2].image;
    EXPECT_EQ(png.Width(), 48);
    EXPECT_EQ(png.Pixel(30, 30), kGreen);
    EXPECT_EQ(png.Pixel(3, 30).a, 0);

    const lv::IconImage* pick = lv::PickIconImage(images, 32);
    ASSERT_NE(pick, nullptr);
    EXPECT_EQ(pick->image.Width(), 32);
    EXPECT_EQ(lv::PickIconImage(images, 40)->image.Width(), 48);
    EXPECT_EQ(lv::PickIconImage(images, 64)->image.Width(), 48); // none large enough: largest
}

TEST(IcoDecoder, ABrokenEntryIsReportedWithoutLosingTheOthers) {
    Bytes ico = imgtest::Ico({FourBitEntry(), ThirtyTwoBitEntry()});
    imgtest::Set32(ico, 6 + 16 + 12, 0x7FFFFFF0); // second entry's offset beyond the file
    const auto images = lv::DecodeIcoFile(Span(ico));
    ASSERT_EQ(images.size(), 2u);
    EXPECT_FALSE(images[0].image.IsNull());
    EXPECT_TRUE(images[1].image.IsNull());
    EXPECT_NE(images[1].error, "");

    const Bytes cursor = imgtest::Ico({FourBitEntry()}, 2);
    EXPECT_EQ(lv::DecodeIcoFile(Span(cursor)).at(0).image.Width(), 16);

    for (const Bytes& notIcon :
         {Bytes{}, Bytes{0, 0, 1, 0, 0, 0}, Bytes{0, 0, 3, 0, 1, 0}, Bytes{'B', 'M', 0, 0, 0, 0}}) {
        EXPECT_THROW(lv::DecodeIcoFile(Span(notIcon)), lv::ImageDecodeError);
    }
}

TEST(PeIcons, IconGroupsComeInResourceOrder) {
    const imgtest::IcoEntry four = FourBitEntry();
    const imgtest::IcoEntry deep = ThirtyTwoBitEntry();
    const imgtest::IcoEntry png = PngEntry();
    const Bytes exe = imgtest::Pe({{1, four}, {2, deep}, {7, png}}, {{1, 2}, {7}});
    EXPECT_EQ(lv::CountPeIconGroups(Span(exe)), 2);
    const auto groups = lv::DecodePeIconGroups(Span(exe));
    ASSERT_EQ(groups.size(), 2u);
    ASSERT_EQ(groups[0].images.size(), 2u);
    EXPECT_EQ(groups[0].images[0].image.Width(), 16);
    EXPECT_EQ(groups[0].images[1].image.Width(), 32);
    EXPECT_EQ(groups[1].images.at(0).image.Pixel(30, 30), kGreen);

    const auto second = lv::DecodePeIconGroup(Span(exe), 1);
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(second->images.at(0).image.Width(), 48);
    EXPECT_FALSE(lv::DecodePeIconGroup(Span(exe), 2).has_value());
    EXPECT_FALSE(lv::DecodePeIconGroup(Span(exe), -1).has_value());

    // A group naming an icon that is not there fails alone.
    const Bytes missing = imgtest::Pe({{1, four}}, {{1}, {9}});
    const auto partly = lv::DecodePeIconGroups(Span(missing));
    ASSERT_EQ(partly.size(), 2u);
    EXPECT_FALSE(partly[0].images.at(0).image.IsNull());
    EXPECT_NE(partly[1].images.at(0).error, "");

    EXPECT_EQ(lv::CountPeIconGroups(Span(imgtest::Pe({}, {}))), 0);
}

TEST(PeIcons, MalformedHeadersAreRefused) {
    const Bytes exe = imgtest::Pe({{1, FourBitEntry()}}, {{1}});
    struct Lie {
        const char* name;
        std::size_t at;
        std::uint32_t value;
    };
    const std::size_t opt = 0x44 + 20;
    const std::size_t section = opt + 224;
    const Lie lies[] = {
        {"PE header offset", 0x3C, 0xFFFFFFF0},
        {"signature", 0x40, 0x12345678},
        {"optional header magic", opt, 0x999},
        {"resource address outside every section", opt + 96 + 16, 0x90000},
        {"section raw data beyond the file", section + 20, 0x7FFFFFF0},
        {"section count", 0x44, 0xFFFF014C},
        {"root directory entry count", 0x200 + 14, 0xFFFF},
    };
    for (const Lie& lie : lies) {
        SCOPED_TRACE(lie.name);
        Bytes bad = exe;
        imgtest::Set32(bad, lie.at, lie.value);
        EXPECT_THROW(lv::DecodePeIconGroups(Span(bad)), lv::ImageDecodeError);
    }
}

TEST(GifDecoder, FirstFrameWithTransparency) {
    const Image img = lv::DecodeGif(Span(Fixture("img-transparent.gif")));
    ASSERT_EQ(img.Width(), 4);
    ASSERT_EQ(img.Height(), 4);
    EXPECT_EQ(img.Pixel(0, 0).a, 0);
    EXPECT_EQ(img.Pixel(1, 3).a, 0);
    EXPECT_EQ(img.Pixel(2, 0), kBlue);
    EXPECT_EQ(img.Pixel(3, 3), kBlue);
}

TEST(GifDecoder, InterlacedRowsLandInTheirPlace) {
    const Image img = lv::DecodeGif(Span(Fixture("img-interlaced.gif")));
    ASSERT_EQ(img.Height(), 16);
    for (int y = 0; y < 16; ++y) {
        EXPECT_EQ(img.Pixel(1, y),
                  (Rgba{static_cast<std::uint8_t>(y * 16), static_cast<std::uint8_t>(255 - y * 16),
                        static_cast<std::uint8_t>((y * 37) % 256), 255}))
            << "row " << y;
    }
}

bool Near(Rgba a, Rgba b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance && a.a == b.a;
}

TEST(JpegDecoder, ColourGreyAndCmykFiles) {
    const Image rgb = lv::DecodeJpeg(Span(Fixture("img-red-green.jpg")));
    ASSERT_EQ(rgb.Width(), 16);
    ASSERT_EQ(rgb.Height(), 8);
    EXPECT_TRUE(Near(rgb.Pixel(2, 4), kRed, 24));
    EXPECT_TRUE(Near(rgb.Pixel(13, 4), kGreen, 24));
    const Image grey = lv::DecodeJpeg(Span(Fixture("img-gray.jpg")));
    EXPECT_TRUE(Near(grey.Pixel(3, 3), (Rgba{128, 128, 128, 255}), 3));
    const Image cmyk = lv::DecodeJpeg(Span(Fixture("img-cmyk.jpg")));
    EXPECT_TRUE(Near(cmyk.Pixel(3, 3), kRed, 24));
}

TEST(JpegDecoder, OversizedHeaderIsRefusedBeforeDecoding) {
    Bytes jpg = Fixture("img-red-green.jpg");
    // Find the frame header (SOF0..SOF2) and claim 65000 x 65000.
    for (std::size_t i = 0; i + 9 < jpg.size(); ++i) {
        if (jpg[i] == 0xFF && (jpg[i + 1] == 0xC0 || jpg[i + 1] == 0xC2)) {
            jpg[i + 5] = 0xFD;
            jpg[i + 6] = 0xE8;
            jpg[i + 7] = 0xFD;
            jpg[i + 8] = 0xE8;
            break;
        }
    }
    EXPECT_THROW(lv::DecodeJpeg(Span(jpg)), lv::ImageDecodeError);
}

DibSpec TwoColourSpec() {
    DibSpec spec = imgtest::Spec(5, 3, 8);
    spec.palette = {kRed, kGreen};
    spec.index = [](int x, int) { return x % 2; };
    return spec;
}

// Every prefix of every good file either decodes or is refused with ImageDecodeError; nothing
// else may happen (the sanitizer build checks that no byte past the end is read).
TEST(Decoders, EveryTruncationIsHandled) {
    struct Sample {
        const char* name;
        Bytes bytes;
        std::function<void(lv::ByteSpan)> decode;
    };
    const std::vector<Sample> samples = {
        {"bmp", imgtest::Bmp(TwoColourSpec()), [](lv::ByteSpan b) { lv::DecodeBmp(b); }},
        {"ico", imgtest::Ico({FourBitEntry(), PngEntry()}),
         [](lv::ByteSpan b) { lv::DecodeIcoFile(b); }},
        {"exe", imgtest::Pe({{1, FourBitEntry()}, {2, PngEntry()}}, {{1, 2}}),
         [](lv::ByteSpan b) { lv::DecodePeIconGroups(b); }},
        {"gif", Fixture("img-interlaced.gif"), [](lv::ByteSpan b) { lv::DecodeGif(b); }},
        {"jpg", Fixture("img-cmyk.jpg"), [](lv::ByteSpan b) { lv::DecodeJpeg(b); }},
    };
    for (const Sample& s : samples) {
        ASSERT_FALSE(s.bytes.empty()) << s.name;
        for (std::size_t n = 0; n < s.bytes.size(); ++n) {
            try {
                s.decode(lv::ByteSpan(s.bytes.data(), n));
            } catch (const lv::ImageDecodeError&) {
            }
        }
        EXPECT_NO_THROW(s.decode(Span(s.bytes))) << s.name;
    }
}

} // namespace
