#include "image_builders.h"

#include "platform/image/Image.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using imgtest::Picture;
using lv::Image;
using lv::Rgba;

bool Near(Rgba a, Rgba b, int tolerance = 2) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance && std::abs(a.a - b.a) <= tolerance;
}

TEST(ImageScale, ShrinkingAFlatPictureKeepsItFlatUpToTheEdges) {
    // Unnormalised filter weights show up as darker or lighter border pixels.
    for (int side : {32, 256, 16}) {
        const Image flat(side, side, lv::RgbaFromHex(0x4080C0));
        const Image small = flat.Scaled(15, 15);
        ASSERT_EQ(small.Width(), 15);
        for (int y = 0; y < 15; ++y) {
            for (int x = 0; x < 15; ++x) {
                ASSERT_TRUE(Near(small.Pixel(x, y), lv::RgbaFromHex(0x4080C0), 1))
                    << side << " at " << x << "," << y;
            }
        }
    }
}

TEST(ImageScale, ShrinkingKeepsSidesApartAndBlendsOnlyAtTheBoundary) {
    const Image halves = Picture(32, 32, [](int x, int) {
        return x < 16 ? lv::RgbaFromHex(0x000000) : lv::RgbaFromHex(0xFFFFFF);
    });
    const Image small = halves.Scaled(15, 15);
    EXPECT_EQ(small.Pixel(0, 7), lv::RgbaFromHex(0x000000));
    EXPECT_EQ(small.Pixel(14, 7), lv::RgbaFromHex(0xFFFFFF));
    const int middle = small.Pixel(7, 7).r;
    EXPECT_GT(middle, 60);
    EXPECT_LT(middle, 196);
    for (int x = 1; x < 15; ++x) { // monotonic: no ringing
        EXPECT_GE(small.Pixel(x, 7).r, small.Pixel(x - 1, 7).r);
    }
}

TEST(ImageScale, TransparentPixelsDoNotBleedTheirColour) {
    // Left half fully transparent but with red bits; right half opaque blue.
    const Image icon = Picture(32, 32, [](int x, int) {
        return x < 16 ? Rgba{255, 0, 0, 0} : Rgba{0, 0, 255, 255};
    });
    const Image small = icon.Scaled(15, 15);
    for (int x = 0; x < 15; ++x) {
        const Rgba p = small.Pixel(x, 5);
        if (p.a > 0) {
            EXPECT_LE(p.r, 1) << x;
            EXPECT_GE(p.b, 254) << x;
        }
    }
    EXPECT_EQ(small.Pixel(0, 5).a, 0);
    EXPECT_EQ(small.Pixel(14, 5).a, 255);
}

TEST(ImageScale, NearestEnlargesByExactRepetitionAndHermiteKeepsCornerPixels) {
    const Image two = Picture(2, 2, [](int x, int y) {
        return Rgba{static_cast<std::uint8_t>(x * 200), static_cast<std::uint8_t>(y * 200), 0, 255};
    });
    const Image big = two.Scaled(6, 6, lv::ScaleFilter::Nearest);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x) {
            EXPECT_EQ(big.Pixel(x, y), two.Pixel(x / 3, y / 3));
        }
    }
    const Image smooth = two.Scaled(6, 6);
    EXPECT_EQ(smooth.Pixel(0, 0), two.Pixel(0, 0));
    EXPECT_EQ(smooth.Pixel(5, 5), two.Pixel(1, 1));
}

TEST(ImageScale, ComposedOverABackgroundBlendsByAlpha) {
    Image icon(2, 1);
    icon.SetPixel(0, 0, Rgba{255, 255, 255, 128});
    icon.SetPixel(1, 0, Rgba{10, 20, 30, 0});
    const Image out = icon.ComposedOver(lv::RgbaFromHex(0x000000));
    EXPECT_TRUE(Near(out.Pixel(0, 0), Rgba{128, 128, 128, 255}, 1));
    EXPECT_EQ(out.Pixel(1, 0), lv::RgbaFromHex(0x000000));
}

TEST(ImageScale, SizesBeyondTheLimitsAreRefused) {
    EXPECT_THROW(Image(lv::kMaxImageSide + 1, 1), lv::ImageDecodeError);
    EXPECT_THROW(Image(-1, 5), lv::ImageDecodeError);
    EXPECT_THROW(Image(10000, 10000), lv::ImageDecodeError); // 100 M pixels
    EXPECT_TRUE(Image(0, 7).IsNull());
    EXPECT_TRUE(Image(4, 4).Scaled(0, 3).IsNull());
}

} // namespace
