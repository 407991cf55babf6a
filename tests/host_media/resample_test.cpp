// Scaling to requested pixel sizes, and reducing colours to a palette.
#include "host/media/resample.h"

#include <algorithm>

#include "host/media/quantize.h"
#include "media_fixtures.h"

namespace {

using host::media::BuildPalette;
using host::media::Image;
using host::media::MapToPalette;
using host::media::Resample;
using namespace media_test;

struct Size {
    uint32_t fromW, fromH, toW, toH;
};

void PrintTo(const Size& s, std::ostream* os) {
    *os << s.fromW << "x" << s.fromH << " to " << s.toW << "x" << s.toH;
}

class ResampleSizes : public testing::TestWithParam<Size> {};

// Whatever the factor, a flat colour stays flat and the size is the asked one.
TEST_P(ResampleSizes, GivesTheAskedSizeAndKeepsFlatColour) {
    const Size s = GetParam();
    Image flat = Blank(s.fromW, s.fromH);
    for (uint32_t y = 0; y < s.fromH; ++y) {
        for (uint32_t x = 0; x < s.fromW; ++x) Set(flat, x, y, 12, 130, 250, 200);
    }
    flat.sourceType = svgf::kSourcePaletted;
    flat.palette = {{12, 130, 250}};
    Image out;
    ASSERT_TRUE(Resample(flat, s.toW, s.toH, out));
    EXPECT_EQ(out.width, s.toW);
    EXPECT_EQ(out.height, s.toH);
    EXPECT_EQ(out.rgba.size(), size_t{s.toW} * s.toH * 4);
    for (size_t i = 0; i < out.rgba.size(); i += 4) {
        ASSERT_EQ(out.rgba[i], 12);
        ASSERT_EQ(out.rgba[i + 1], 130);
        ASSERT_EQ(out.rgba[i + 2], 250);
        ASSERT_EQ(out.rgba[i + 3], 200);
    }
    EXPECT_EQ(out.sourceType, svgf::kSourcePaletted);
    EXPECT_EQ(out.palette, flat.palette);
}

INSTANTIATE_TEST_SUITE_P(Factors, ResampleSizes,
                         testing::Values(Size{10, 10, 10, 10}, Size{64, 48, 16, 12}, Size{100, 7, 33, 7},
                                         Size{7, 5, 64, 41}, Size{1, 1, 9, 4}, Size{50, 50, 1, 1},
                                         Size{3, 200, 17, 9}));

TEST(Resample, SameSizeIsACopy) {
    const Image source = WithAlpha(21, 13);
    Image out;
    ASSERT_TRUE(Resample(source, 21, 13, out));
    // Fully transparent pixels keep no colour; everything else is exact.
    for (size_t i = 0; i < out.rgba.size(); i += 4) {
        if (source.rgba[i + 3] == 0) {
            EXPECT_EQ(out.rgba[i + 3], 0);
            continue;
        }
        for (int c = 0; c < 4; ++c) ASSERT_EQ(out.rgba[i + c], source.rgba[i + c]) << i;
    }
}

TEST(Resample, ShrinkingAveragesTheCoveredArea) {
    // 4 x 2 -> 2 x 1: each output pixel is the mean of a 2 x 2 block.
    Image source = Blank(4, 2);
    Set(source, 0, 0, 0, 0, 0);
    Set(source, 1, 0, 100, 100, 100);
    Set(source, 0, 1, 200, 200, 200);
    Set(source, 1, 1, 100, 100, 100);
    for (uint32_t y = 0; y < 2; ++y) {
        Set(source, 2, y, 255, 0, 0);
        Set(source, 3, y, 0, 0, 255);
    }
    Image out;
    ASSERT_TRUE(Resample(source, 2, 1, out));
    EXPECT_EQ(out.pixel(0, 0)[0], 100);
    EXPECT_EQ(out.pixel(1, 0)[0], 128);
    EXPECT_EQ(out.pixel(1, 0)[2], 128);
    // A third of the way: 3 -> 2 weighs pixels 2/3 and 1/3.
    Image row = Blank(3, 1);
    Set(row, 0, 0, 0, 0, 0);
    Set(row, 1, 0, 90, 90, 90);
    Set(row, 2, 0, 180, 180, 180);
    ASSERT_TRUE(Resample(row, 2, 1, out));
    EXPECT_EQ(out.pixel(0, 0)[0], 30);
    EXPECT_EQ(out.pixel(1, 0)[0], 150);
}

TEST(Resample, TransparentPixelsAddNoColour) {
    Image source = Blank(2, 1);
    Set(source, 0, 0, 255, 0, 0, 255);
    Set(source, 1, 0, 0, 0, 0, 0);
    Image out;
    ASSERT_TRUE(Resample(source, 1, 1, out));
    EXPECT_EQ(out.pixel(0, 0)[0], 255);
    EXPECT_EQ(out.pixel(0, 0)[3], 128);
}

TEST(Resample, RefusesEmptyAndOversizedTargets) {
    Image out;
    EXPECT_FALSE(Resample(Image{}, 4, 4, out));
    EXPECT_FALSE(Resample(Quarters(4, 4), 0, 4, out));
    EXPECT_FALSE(Resample(Quarters(4, 4), 4, 0, out));
    // The limit is the pixel count (2^26), whatever the sides.
    EXPECT_FALSE(Resample(Quarters(4, 4), 67108865, 1, out));
    EXPECT_FALSE(Resample(Quarters(4, 4), 20000, 20000, out));
    EXPECT_TRUE(Resample(Quarters(4, 4), 40000, 4, out));
}

TEST(Quantize, FewColoursMakeAnExactPalette) {
    const Image image = Quarters(10, 10);
    const auto palette = BuildPalette(image, 256);
    EXPECT_EQ(palette.size(), 4u);
    const auto indices = MapToPalette(image, palette, true);
    for (size_t i = 0; i < indices.size(); ++i) {
        const auto& c = palette[indices[i]];
        ASSERT_EQ(c.r, image.rgba[i * 4]);
        ASSERT_EQ(c.g, image.rgba[i * 4 + 1]);
        ASSERT_EQ(c.b, image.rgba[i * 4 + 2]);
    }
}

TEST(Quantize, MedianCutStaysWithinTheLimitAndClose) {
    const Image image = Gradient(64, 64);
    ASSERT_GT(Colours(image).size(), 256u);
    for (size_t limit : {256u, 16u, 2u}) {
        const auto palette = BuildPalette(image, limit);
        EXPECT_LE(palette.size(), limit);
        EXPECT_GE(palette.size(), limit / 2);
        Image mapped = image;
        const auto indices = MapToPalette(image, palette, false);
        for (size_t i = 0; i < indices.size(); ++i) {
            mapped.rgba[i * 4] = palette[indices[i]].r;
            mapped.rgba[i * 4 + 1] = palette[indices[i]].g;
            mapped.rgba[i * 4 + 2] = palette[indices[i]].b;
        }
        // A ramp over 64 x 64 pixels: 256 colours land within a few levels.
        if (limit == 256) {
            EXPECT_LT(MeanError(mapped, image), 4);
        } else if (limit == 16) {
            EXPECT_LT(MeanError(mapped, image), 20);
        }
    }
}

TEST(Quantize, DitheringKeepsTheMeanColour) {
    // Mid grey reduced to black and white comes out as about half white.
    Image grey = Blank(32, 32);
    for (uint32_t y = 0; y < 32; ++y) {
        for (uint32_t x = 0; x < 32; ++x) Set(grey, x, y, 128, 128, 128);
    }
    const std::vector<host::media::Rgb> bw = {{0, 0, 0}, {255, 255, 255}};
    const auto indices = MapToPalette(grey, bw, true);
    size_t white = 0;
    for (uint8_t i : indices) white += i;
    EXPECT_NEAR(double(white) / indices.size(), 0.5, 0.03);
    const auto plain = MapToPalette(grey, bw, false);
    EXPECT_TRUE(std::all_of(plain.begin(), plain.end(), [&](uint8_t i) { return i == plain[0]; }));
}

}  // namespace
