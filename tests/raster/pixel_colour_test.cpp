// Colour records written as pixel bytes.
#include <gtest/gtest.h>

#include <vector>

#include "raster/pixel_colour.h"

namespace raster {
namespace {

struct PixelCase {
    std::uint16_t model;
    int result;
    std::vector<std::uint8_t> want;  // the written bytes, then the untouched 0xEE
};

TEST(ColorToPixel, WritesEachModelsLayout) {
    colour::ColorRecord c;
    for (int i = 0; i < 12; ++i) c.bytes[i] = static_cast<std::uint8_t>(0x10 + i);
    const PixelCase cases[] = {
        {colour::kModelCMYK, 1, {0x18, 0x19, 0x1A, 0x1B, 0xEE}},
        {colour::kModelRGB, 1, {0x18, 0x19, 0x1A, 0xEE}},
        {colour::kModelLabOffset, 1, {0x18, 0x19, 0x1A, 0xEE}},
        {colour::kModelGrey, 1, {0x18, 0xEE}},
        {colour::kModelBlackWhite, 1, {0xFF, 0xEE}},
        {colour::kModelRGB48, 1, {0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B, 0xEE}},
        {colour::kModelGrey16, 1, {0x18, 0x19, 0xEE}},
        {colour::kModelHSB, 0, {0xEE}},
        {99, 0, {0xEE}},
    };
    for (const PixelCase& pc : cases) {
        c.SetModel(pc.model);
        std::vector<std::uint8_t> pixel(8, 0xEE);
        EXPECT_EQ(RIPColorToPixel(pixel.data(), c), pc.result) << pc.model;
        EXPECT_TRUE(std::equal(pc.want.begin(), pc.want.end(), pixel.begin())) << pc.model;
    }
    colour::ColorRecord black;
    black.SetModel(colour::kModelBlackWhite);
    std::uint8_t px = 7;
    EXPECT_EQ(RIPColorToPixel(&px, black), 1);
    EXPECT_EQ(px, 0);
    black.SetU32(8, 1);
    RIPColorToPixel(&px, black);
    EXPECT_EQ(px, 255);
}

}  // namespace
}  // namespace raster
