// The image-to-image entry: its roads (direct blit, error diffusion, tile
// walk), clipping, the paletted-grey swap and the caller's state.
#include <gtest/gtest.h>

#include "convert/convert_image.h"
#include "convert_fixtures.h"

namespace raster::convert {
namespace {

using namespace testing;

TEST(ConvertImage, FourBitFrameWidensIndexForIndexWithoutState) {
    // Entries 1 and 3 repeat entry 0's colour: widening must still keep every index.
    RIPPalette* pal = Palette({{10, 20, 30}, {10, 20, 30}, {200, 0, 0}, {10, 20, 30}, {0, 0, 255}});
    RIPImage* src = MakePaletted(pal, 4, 5, 2, {0x12, 0x34, 0x00, 0x43, 0x21, 0x00});
    RIPImage* dst = MakePaletted(pal, 8, 5, 2);
    ASSERT_EQ(RIPConvertImageToImage(nullptr, dst, 0, 0, src, 0, 0, 5, 2), 1);
    EXPECT_EQ(Bytes(dst), (std::vector<std::uint8_t>{1, 2, 3, 4, 0, 4, 3, 2, 1, 0}));
    // From an odd column: the first pixel comes from a low nibble.
    RIPImage* narrow = MakePaletted(pal, 8, 3, 1);
    ASSERT_EQ(RIPConvertImageToImage(nullptr, narrow, 0, 0, src, 1, 1, 3, 1), 1);
    EXPECT_EQ(Bytes(narrow), (std::vector<std::uint8_t>{3, 2, 1}));
    RIPDestroyImage(narrow);
    RIPDestroyImage(dst);
    RIPDestroyImage(src);
    RIPDestroyPalette(pal);
}

TEST(ConvertImage, PaletteToPaletteLeavesMethodOneAndKeepsOpacity) {
    RIPPalette* a = Palette({{0, 0, 0}, {255, 255, 255}});
    RIPPalette* b = Palette({{250, 250, 250}, {5, 5, 5}});
    RIPImage* src = MakePaletted(a, 8, 2, 1, {0, 1});
    RIPImage* dst = MakePaletted(b, 8, 2, 1);
    State state(2);
    state.rs->opacity = 17;
    ASSERT_EQ(RIPConvertImageToImage(state.rs, dst, 0, 0, src, 0, 0, 2, 1), 1);
    EXPECT_EQ(Bytes(dst), (std::vector<std::uint8_t>{1, 0}));
    EXPECT_EQ(state.rs->ditherMethod, 1);
    EXPECT_EQ(state.rs->opacity, 17);
    RIPDestroyImage(dst);
    RIPDestroyImage(src);
    RIPDestroyPalette(a);
    RIPDestroyPalette(b);
}

TEST(ConvertImage, RGBAndGreyGoStraightToTheBlitWhateverTheMethod) {
    for (int method = 1; method <= 6; ++method) {
        RIPImage* rgb = Make(kTypeRGB24, 3, 1, {0, 0, 255, 0, 255, 0, 255, 0, 0});
        RIPImage* grey = Make(kTypeGrey8, 3, 1);
        State state(method);
        ASSERT_EQ(RIPConvertImageToImage(state.rs, grey, 0, 0, rgb, 0, 0, 3, 1), 1);
        EXPECT_EQ(Bytes(grey), (std::vector<std::uint8_t>{76, 153, 25})) << method;
        RIPDestroyImage(grey);
        RIPDestroyImage(rgb);
    }
}

TEST(ConvertImage, RefusesEmptyRectanglesAndRectanglesOutsideTheDestination) {
    RIPPalette* pal = Palette({{0, 0, 0}, {255, 255, 255}});
    RIPImage* src = MakePaletted(pal, 4, 2, 2, {0x10, 0x01});
    RIPImage* dst = MakePaletted(pal, 8, 2, 2);
    EXPECT_EQ(RIPConvertImageToImage(nullptr, dst, 2, 0, src, 0, 0, 2, 2), 0);
    EXPECT_EQ(RIPConvertImageToImage(nullptr, dst, 0, 0, src, 0, 0, 0, 2), 0);
    EXPECT_EQ(RIPConvertImageToImage(nullptr, dst, 0, 0, nullptr, 0, 0, 1, 1), 0);
    RIPDestroyImage(dst);
    RIPDestroyImage(src);
    RIPDestroyPalette(pal);
}

TEST(ConvertImage, FormatIndexAndRectangleCheck) {
    EXPECT_EQ(RIPFormatIndex10(kTypePaletted, 8), 4);
    EXPECT_EQ(RIPFormatIndex10(kTypePaletted, 4), 6);
    EXPECT_EQ(RIPFormatIndex10(kTypeCoverage, 8), 2);
    EXPECT_EQ(RIPFormatIndex10(7, 8), -1);
    RIPImage* a = Make(kTypeGrey8, 4, 3);
    RIPImage* b = Make(kTypeGrey8, 2, 2);
    EXPECT_EQ(RIPCheckConvertRects(a, 2, 1, b, 0, 0, 2, 2), 1);
    EXPECT_EQ(RIPCheckConvertRects(a, 3, 1, b, 0, 0, 2, 2), 0);
    EXPECT_EQ(RIPCheckConvertRects(a, 0, 0, b, 1, 0, 2, 2), 0);
    EXPECT_EQ(RIPCheckConvertRects(a, -1, 0, b, 0, 0, 1, 1), 0);
    RIPDestroyImage(a);
    RIPDestroyImage(b);
}

}  // namespace
}  // namespace raster::convert
