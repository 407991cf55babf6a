// The rectangle fill: every format against the whole-image fill, clipping,
// the refused and empty cases, constant opacity, masks and 48-bit rows whose
// padding is not a whole pixel.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "colour/convert.h"
#include "raster/fill_rect.h"
#include "raster/image.h"
#include "raster/palette.h"
#include "raster/raster_state.h"
#include "raster/storage.h"

namespace raster {
namespace {

colour::ColorRecord Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    colour::ColorRecord c;
    c.SetModel(colour::kModelRGB);
    c.SetPaletteKind(colour::kPaletteKindPlain);
    c.bytes[8] = r;
    c.bytes[9] = g;
    c.bytes[10] = b;
    return c;
}

std::vector<std::uint8_t> Bytes(const RIPImage* image) {
    const std::uint8_t* p = RIPBlockPixelAddress(image, 0, 0);
    return std::vector<std::uint8_t>(p, p + image->imageSize);
}

class FillEveryType : public ::testing::TestWithParam<std::int32_t> {};

TEST_P(FillEveryType, MatchesTheWholeImageFill) {
    const colour::ColorRecord colour = Rgb(200, 120, 40);
    RIPImage* filled = RIPCreateImageEx(GetParam(), 7, 3, 0, 0, kOneBlock, nullptr, 0);
    RIPImage* expected = RIPCreateImageEx(GetParam(), 7, 3, 0, 0, kOneBlock, nullptr, 0);
    ASSERT_NE(filled, nullptr);
    ASSERT_EQ(RIPFillImage(expected, &colour), 1);
    // Only the pixels: the row padding of the two images may differ.
    EXPECT_EQ(RIPFillRect(nullptr, filled, 0, 0, 7, 3, nullptr, 0, nullptr, 0, &colour, 0), 1);
    const std::size_t used = static_cast<std::size_t>((7 * filled->bitsPerPixel + 7) / 8);
    for (int y = 0; y < 3; ++y) {
        EXPECT_EQ(std::memcmp(RIPBlockPixelAddress(filled, 0, y), RIPBlockPixelAddress(expected, 0, y), used), 0)
            << "row " << y;
    }
    RIPDestroyImage(filled);
    RIPDestroyImage(expected);
}

INSTANTIATE_TEST_SUITE_P(Types, FillEveryType, ::testing::Values(1, 3, 5, 6, 8, 11, 12, 14, 99));

TEST(FillRect, ClipsAtEveryEdge) {
    const colour::ColorRecord white = Rgb(255, 255, 255);
    struct Case {
        std::int32_t x, y, w, h;
    };
    for (const Case c : {Case{-2, 1, 4, 2}, Case{4, 1, 9, 2}, Case{1, -3, 2, 5}, Case{1, 3, 2, 9}, Case{-9, -9, 30, 30}}) {
        RIPImage* image = RIPCreateImageEx(kTypeGrey8, 6, 5, 0, 0, kOneBlock, nullptr, 0);
        ASSERT_EQ(RIPFillRect(nullptr, image, c.x, c.y, c.w, c.h, nullptr, 0, nullptr, 0, &white, 0), 1);
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 6; ++x) {
                const bool inside = x >= c.x && x < c.x + c.w && y >= c.y && y < c.y + c.h;
                EXPECT_EQ(*RIPBlockPixelAddress(image, x, y), inside ? 255 : 0) << x << "," << y;
            }
        }
        RIPDestroyImage(image);
    }
}

TEST(FillRect, NothingToPaintIsASuccessAndRefusedModesFail) {
    const colour::ColorRecord white = Rgb(255, 255, 255);
    RIPImage* image = RIPCreateImageEx(kTypeRGB24, 4, 4, 0, 0, kOneBlock, nullptr, 0);
    const std::vector<std::uint8_t> before = Bytes(image);
    EXPECT_EQ(RIPFillRect(nullptr, image, 0, 0, 4, 4, nullptr, 0, nullptr, 0, &white, 35), 1);
    EXPECT_EQ(RIPFillRect(nullptr, image, -10, 0, 5, 4, nullptr, 0, nullptr, 0, &white, 0), 1);
    EXPECT_EQ(RIPFillRect(nullptr, image, 0, 0, 4, 4, nullptr, 0, nullptr, 0, &white, 36), 0);
    EXPECT_EQ(Bytes(image), before);
    RIPFillContext context;
    int nothing = 0;
    EXPECT_EQ(RIPFillContextBegin(&context, image, &white, 36, &nothing), 0);
    RIPDestroyImage(image);

    RIPPalette* palette = RIPCreatePalette(6, 0);
    RIPImage* nibbles = RIPCreatePalettedImageEx(palette, 4, 2, 4, 1, 0, 0, kOneBlock, nullptr, 0);
    const std::vector<std::uint8_t> untouched = Bytes(nibbles);
    EXPECT_EQ(RIPFillRect(nullptr, nibbles, 0, 0, 4, 2, nullptr, 0, nullptr, 0, &white, 0), 1);
    EXPECT_EQ(Bytes(nibbles), untouched);
    RIPDestroyImage(nibbles);
    RIPDestroyPalette(palette);
}

TEST(FillRect, HalfOpacityBlendsThroughTheConstantColumn) {
    const colour::ColorRecord white = Rgb(255, 255, 255);
    RIPImage* image = RIPCreateImageEx(kTypeGrey8, 5, 2, 0, 0, kOneBlock, nullptr, 0);
    RIPRasterState* state = RIPCreateRS();
    RIPSetRSMode(state, 128);
    ASSERT_EQ(RIPFillRect(state, image, 0, 0, 5, 2, nullptr, 0, nullptr, 0, &white, 0), 1);
    for (int x = 0; x < 5; ++x) {
        EXPECT_NEAR(*RIPBlockPixelAddress(image, x, 1), 128, 1);
    }
    RIPDestroyRS(state);
    RIPDestroyImage(image);
}

TEST(FillRect, MasksWeighEachPixel) {
    const colour::ColorRecord white = Rgb(255, 255, 255);
    RIPImage* image = RIPCreateImageEx(kTypeGrey8, 4, 1, 0, 0, kOneBlock, nullptr, 0);
    const std::uint8_t first[4] = {0, 255, 255, 128};
    const std::uint8_t second[4] = {255, 255, 0, 255};
    ASSERT_EQ(RIPFillRect(nullptr, image, 0, 0, 4, 1, first, 4, second, 4, &white,
                          kFillUseMask1 | kFillUseMask2),
              1);
    const std::uint8_t* p = RIPBlockPixelAddress(image, 0, 0);
    EXPECT_EQ(p[0], 0);
    EXPECT_EQ(p[1], 255);
    EXPECT_EQ(p[2], 0);
    EXPECT_NEAR(p[3], 128, 1);
    RIPDestroyImage(image);
}

TEST(FillRect, OddWidth48BitRowsKeepTheirPadding) {
    // Three 6-byte pixels in a 20-byte row: the rows cannot be one run.
    RIPImage* image = RIPCreateImageEx(kTypeRGB48, 3, 4, 0, 0, kOneBlock, nullptr, 0);
    ASSERT_EQ(image->stride, 20);
    const colour::ColorRecord colour = Rgb(1, 2, 3);
    ASSERT_EQ(RIPFillRect(nullptr, image, 0, 0, 3, 4, nullptr, 0, nullptr, 0, &colour, 0), 1);
    colour::ColorRecord wide;
    ASSERT_TRUE(colour::ClrConvertColor(&wide, colour::kModelRGB48, &colour));
    for (int y = 0; y < 4; ++y) {
        const std::uint8_t* row = RIPBlockPixelAddress(image, 0, y);
        for (int x = 0; x < 3; ++x) EXPECT_EQ(std::memcmp(row + 6 * x, wide.bytes + 6, 6), 0) << x << "," << y;
        EXPECT_EQ(row[18], 0);
        EXPECT_EQ(row[19], 0);
    }
    RIPDestroyImage(image);
}

}  // namespace
}  // namespace raster
