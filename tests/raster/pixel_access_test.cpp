// Colours and pixels: models, palette indices, pixels read back as colours,
// and single pixels painted under merge modes, masks and linked planes.
#include <gtest/gtest.h>

#include <vector>

#include "memory_tile_store.h"
#include "raster/image.h"
#include "raster/mapping.h"
#include "raster/palette.h"
#include "raster/pixel_access.h"
#include "raster/pixel_colour.h"
#include "raster/raster_state.h"
#include "raster/region.h"
#include "raster/storage.h"

namespace raster {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes PixelBytes(const RIPImage* image, std::int32_t x, std::int32_t y, std::size_t n) {
    const std::uint8_t* p = RIPBlockPixelAddress(image, x, y);
    return {p, p + n};
}

TEST(PixelColour, GreyAndOutsidePoints) {
    const colour::ColorRecord grey = colour::ColorRecord::Grey(77);
    RIPImage* image = RIPCreateImageEx(kTypeGrey8, 4, 3, 0, 0, kOneBlock, &grey, 0);
    colour::ColorRecord c;
    ASSERT_EQ(RIPGetPixelColor(&c, image, 3, 2), 1);
    EXPECT_EQ(c, colour::ColorRecord::RGB(77, 77, 77));
    c = grey;
    EXPECT_EQ(RIPGetPixelColor(&c, image, 4, 0), 0);  // x = width
    EXPECT_EQ(c, colour::ColorRecord::RGB(0, 0, 0));
    EXPECT_EQ(RIPGetPixelColor(&c, image, 0, -1), 0);
    RIPDestroyImage(image);
}

TEST(PixelColour, EveryTypeReadsBackInItsModel) {
    struct Case {
        std::int32_t type;
        colour::ColorRecord fill, want;
    };
    const Case cases[] = {
        {1, colour::ColorRecord::RGB(1, 2, 3), colour::ColorRecord::RGB(1, 2, 3)},
        {11, colour::ColorRecord::LabOffset(4, 5, 6), colour::ColorRecord::LabOffset(4, 5, 6)},
        {3, colour::ColorRecord::CMYK(3, 7, 8, 9, 10), colour::ColorRecord::CMYK(3, 7, 8, 9, 10)},
        {12, colour::ColorRecord::RGB48(100, 200, 300), colour::ColorRecord::RGB48(100, 200, 300)},
        {14, colour::ColorRecord::Grey16Level(4000), colour::ColorRecord::Grey16Level(4000)},
        {99, colour::ColorRecord::Grey(5), colour::ColorRecord::RGB(5, 5, 5)},
        {6, colour::ColorRecord::BW(1), colour::ColorRecord::RGB(255, 255, 255)},
        {8, colour::ColorRecord::RGB(255, 0, 0), colour::ColorRecord::RGB(255, 0, 0)},
        {9, colour::ColorRecord::RGB(0, 0, 128), colour::ColorRecord::RGB(0, 0, 128)},
    };
    for (const Case& c : cases) {
        RIPImage* image = RIPCreateImageEx(c.type, 3, 2, 0, 0, kOneBlock, &c.fill, 0);
        ASSERT_NE(image, nullptr) << c.type;
        colour::ColorRecord got;
        ASSERT_EQ(RIPGetPixelColor(&got, image, 2, 1), 1) << c.type;
        EXPECT_EQ(got, c.want) << c.type;
        RIPDestroyImage(image);
    }
}

TEST(PixelColour, TiledPixelsReadUnderAReadLock) {
    testing::ScopedTileStore scoped(4);
    const colour::ColorRecord red = colour::ColorRecord::RGB(200, 10, 20);
    RIPImage* image = RIPCreateImageEx(kTypeRGB24, 200, 160, 0, 0, kAllowTiling, &red, 0);
    ASSERT_EQ(image->tilesAcross, 2);
    colour::ColorRecord c;
    ASSERT_EQ(RIPGetPixelColor(&c, image, 150, 155), 1);
    EXPECT_EQ(c, red);
    EXPECT_EQ(scoped.store().Locks().back(), kTileLockRead);
    EXPECT_EQ(scoped.store().HeldLocks(), 0);
    RIPDestroyImage(image);
}

TEST(PixelColour, ResolvingMapsThroughTheState) {
    RIPImage* image = RIPCreateImageEx(kTypeGrey8, 10, 10, 0, 0, kOneBlock, nullptr, 0);
    *RIPBlockPixelAddress(image, 5, 2) = 99;
    RIPRasterState* state = RIPCreateRS();
    RIPSetExtents(state, 100, 100, 50, 50);  // logical 10 → device 5
    RIPSetDevOrigin(nullptr, state, RIPPoint{0, -3});
    colour::ColorRecord c;
    ASSERT_EQ(RIPResolveColour(&c, state, image, 10, 10), 1);
    EXPECT_EQ(c, colour::ColorRecord::RGB(99, 99, 99));
    ASSERT_EQ(RIPResolveColour(&c, nullptr, image, 5, 2), 1);
    EXPECT_EQ(c.Red(), 99);
    RIPDestroyRS(state);
    RIPDestroyImage(image);
}

TEST(ColourModels, ImageModelsAndPaletteIndices) {
    RIPImage* grey = RIPCreateImageEx(kTypeGrey8, 1, 1, 0, 0, kOneBlock, nullptr, 0);
    colour::ColorRecord out = colour::ColorRecord::Grey(3);
    const colour::ColorRecord g = colour::ColorRecord::Grey(40);
    ASSERT_EQ(RIPColorToImageModel(&out, grey, &g), 1);
    EXPECT_EQ(out, g);
    RIPImage odd;
    odd.type = 7;
    EXPECT_EQ(RIPColorToImageModel(&out, &odd, &g), 0);
    EXPECT_EQ(out, g);  // left as it was
    RIPDestroyImage(grey);

    RIPPalette* palette = RIPCreatePalette(kPaletteStandard16, 0);
    const colour::ColorRecord red = colour::ColorRecord::RGB(250, 0, 0);
    ASSERT_EQ(RIPColorToPaletteIndex(&out, palette, &red), 1);
    EXPECT_EQ(out.Model(), colour::kModelPaletteIndex);
    EXPECT_EQ(out.PaletteKind(), colour::kPaletteKindPlain);
    EXPECT_EQ(out.U16(8), 9);
    colour::ColorRecord same;
    ASSERT_EQ(RIPColorToPaletteIndex(&same, palette, &out), 1);  // an index keeps its index
    EXPECT_EQ(same.U16(8), 9);
    colour::ColorRecord back;
    ASSERT_EQ(RIPPaletteIndexToColor(&back, palette, &out), 1);
    EXPECT_EQ(back, colour::ColorRecord::RGB(255, 0, 0));
    out.SetU16(8, 300);  // past the entries: entry 0
    ASSERT_EQ(RIPPaletteIndexToColor(&back, palette, &out), 1);
    EXPECT_EQ(back, colour::ColorRecord::RGB(0, 0, 0));
    RIPDestroyPalette(palette);
}

TEST(ColourModels, PixelsReadBackIntoEveryModel) {
    const std::uint8_t pixel[6] = {1, 2, 3, 4, 5, 6};
    for (std::uint16_t model : {3, 5, 18, 9, 23, 24}) {
        colour::ColorRecord c;
        c.SetModel(model);
        ASSERT_EQ(RIPPixelToColor(&c, pixel), 1) << model;
        std::uint8_t again[6] = {};
        ASSERT_EQ(RIPColorToPixel(again, c), 1);
        const std::size_t n = model == 3 ? 4 : model == 9 ? 1 : model == 23 ? 6 : model == 24 ? 2 : 3;
        EXPECT_EQ(Bytes(again, again + n), Bytes(pixel, pixel + n)) << model;
        EXPECT_EQ(c.Model(), model);
    }
    colour::ColorRecord bw = colour::ColorRecord::BW(0);
    EXPECT_EQ(RIPPixelToColor(&bw, pixel), 0);  // one way only
    EXPECT_EQ(bw, colour::ColorRecord::BW(0));
}

TEST(ColourModels, SixteenColourIndices) {
    struct Case {
        int r, g, b, want;
    };
    const Case cases[] = {{200, 200, 200, 8}, {255, 0, 0, 9}, {100, 0, 0, 1},  {0, 0, 0, 0},
                          {64, 64, 64, 7},    {10, 10, 10, 0}, {0, 255, 255, 14}, {300, -5, 0, 9}};
    for (const Case& c : cases) EXPECT_EQ(RIPStd16PaletteIndex(c.r, c.g, c.b), c.want) << c.r << "," << c.g << "," << c.b;
    std::uint32_t squares[511];
    RIPInitSquareTable(squares);
    EXPECT_EQ(squares[0], 65025u);
    EXPECT_EQ(squares[255], 0u);
    for (int r = 0; r < 256; r += 3) {
        for (int g = 0; g < 256; g += 5) {
            for (int b = 0; b < 256; b += 7) {
                ASSERT_EQ(RIPBuildColorLookup(squares, r, g, b), RIPStd16PaletteIndex(r, g, b));
            }
        }
    }
}

struct SetCase {
    const char* name;
    std::int32_t type;
    colour::ColorRecord before, colour;
    std::uint32_t mode;
    std::uint8_t opacity;
    Bytes want;  // pixel (1, 1)
};

class SetPixel : public ::testing::TestWithParam<SetCase> {};

TEST_P(SetPixel, PaintsOnePixelAndNothingElse) {
    const SetCase& c = GetParam();
    RIPImage* image = RIPCreateImageEx(c.type, 3, 3, 0, 0, kOneBlock, &c.before, 0);
    ASSERT_NE(image, nullptr);
    const Bytes block = PixelBytes(image, 0, 0, image->imageSize);
    ASSERT_EQ(RIPSetPixel(image, 1, 1, &c.colour, c.opacity, c.mode), 1);
    Bytes after = PixelBytes(image, 0, 0, image->imageSize);
    const std::size_t at = image->stride + (image->bitsPerPixel >= 8 ? image->bitsPerPixel / 8 : 0);
    EXPECT_EQ(Bytes(after.begin() + static_cast<std::ptrdiff_t>(at),
                    after.begin() + static_cast<std::ptrdiff_t>(at + c.want.size())),
              c.want);
    std::copy(block.begin() + static_cast<std::ptrdiff_t>(at),
              block.begin() + static_cast<std::ptrdiff_t>(at + c.want.size()),
              after.begin() + static_cast<std::ptrdiff_t>(at));
    EXPECT_EQ(after, block);  // every other byte as it was
    RIPDestroyImage(image);
}

INSTANTIATE_TEST_SUITE_P(
    Pixels, SetPixel,
    ::testing::Values(
        SetCase{"Rgb", 1, colour::ColorRecord::RGB(0, 0, 0), colour::ColorRecord::RGB(10, 20, 30), 0, 255, {30, 20, 10}},
        SetCase{"GreyFromRgb", 5, colour::ColorRecord::Grey(0), colour::ColorRecord::Grey(123), 0, 255, {123}},
        SetCase{"Cmyk", 3, colour::ColorRecord::CMYK(3, 0, 0, 0, 0), colour::ColorRecord::CMYK(3, 1, 2, 3, 4), 0, 255,
                {1, 2, 3, 4}},
        SetCase{"Grey16", 14, colour::ColorRecord::Grey16Level(0), colour::ColorRecord::Grey16Level(0x1234), 0, 255,
                {0x34, 0x12}},
        // One bit of the middle row: bit 1 of its first byte.
        SetCase{"Bilevel", 6, colour::ColorRecord::BW(0), colour::ColorRecord::BW(1), 0, 255, {0x40}},
        SetCase{"Paletted", 8, colour::ColorRecord::RGB(0, 0, 0), colour::ColorRecord::RGB(255, 0, 0), 0, 255,
                {180}},
        // Half opacity over black: the constant-opacity kernel blends half way.
        SetCase{"HalfOpacity", 5, colour::ColorRecord::Grey(0), colour::ColorRecord::Grey(255), 0, 128, {128}},
        // No 48-bit kernel multiplies: painted in 24-bit RGB, written back as doubled bytes.
        SetCase{"Rgb48ThroughWorkingRgb", 12, colour::ColorRecord::RGB48(0xFFFF, 0xFFFF, 0xFFFF),
                colour::ColorRecord::RGB(100, 150, 200), 9, 255, {200, 200, 150, 150, 100, 100}},
        // No bilevel kernel for mode 13: painted in 8-bit grey, where blue is dark.
        SetCase{"BilevelThroughWorkingGrey", 6, colour::ColorRecord::BW(1), colour::ColorRecord::RGB(0, 0, 255), 13,
                255, {0xBF}},
        SetCase{"ModeThatDoesNothing", 5, colour::ColorRecord::Grey(9), colour::ColorRecord::Grey(200), 35, 255, {9}}),
    [](const ::testing::TestParamInfo<SetCase>& info) { return info.param.name; });

TEST(SetPixelGates, MaskAndLinkedPlaneDecideCoverage) {
    const colour::ColorRecord black = colour::ColorRecord::Grey(0);
    const colour::ColorRecord white = colour::ColorRecord::Grey(255);
    RIPImage* image = RIPCreateImageEx(kTypeGrey8, 4, 2, 0, 0, kOneBlock, &black, 0);
    EXPECT_EQ(RIPSetPixel(image, 4, 0, &white, 255, 0), 1);  // outside: nothing, and no failure
    EXPECT_EQ(RIPSetPixel(image, 0, 0, &white, 255, 36), 0);  // no such mode
    // A mask whose column 1 is transparent.
    RIPImage* maskBits = RIPCreateImageEx(kTypeBilevel, 4, 2, 0, 0, kOneBlock, nullptr, 0);
    *RIPBlockPixelAddress(maskBits, 0, 0) = 0xB0;  // 1011: column 1 clear
    *RIPBlockPixelAddress(maskBits, 0, 1) = 0xF0;  // the top row all opaque
    RIPRegion* mask = RIPCreateRegion(4, 2);
    ASSERT_EQ(RIPRegionFromMask(mask, maskBits, nullptr), 1);
    RIPSetImageMask(image, mask);
    ASSERT_EQ(RIPSetPixel(image, 1, 0, &white, 255, 0), 1);
    EXPECT_EQ(*RIPBlockPixelAddress(image, 1, 0), 0);
    ASSERT_EQ(RIPSetPixel(image, 1, 0, &white, 255, kIgnoreMask), 1);
    EXPECT_EQ(*RIPBlockPixelAddress(image, 1, 0), 255);
    ASSERT_EQ(RIPSetPixel(image, 2, 0, &white, 255, 0), 1);
    EXPECT_EQ(*RIPBlockPixelAddress(image, 2, 0), 255);
    // A linked plane placed at (2, 0) weights the pixels it covers.
    RIPImage* alpha = RIPCreateImageEx(kTypeCoverage, 2, 2, 0, 0, kOneBlock, nullptr, 0);
    *RIPBlockPixelAddress(alpha, 0, 1) = 0;
    *RIPBlockPixelAddress(alpha, 1, 1) = 128;
    const RIPRect at{2, 1, 3, 0};
    RIPSetLinkedImage(image, alpha, &at, nullptr);
    ASSERT_EQ(RIPSetPixel(image, 2, 1, &white, 255, 0), 1);
    EXPECT_EQ(*RIPBlockPixelAddress(image, 2, 1), 0);  // coverage 0: untouched
    ASSERT_EQ(RIPSetPixel(image, 3, 1, &white, 255, 0), 1);
    EXPECT_EQ(*RIPBlockPixelAddress(image, 3, 1), 128);
    ASSERT_EQ(RIPSetPixel(image, 2, 1, &white, 255, kIgnoreLinkedImage), 1);
    EXPECT_EQ(*RIPBlockPixelAddress(image, 2, 1), 255);
    RIPDestroyImage(maskBits);
    RIPDestroyImage(image);
}

TEST(SetPixelGates, SolidColourMapsAndConverts) {
    RIPPalette* palette = RIPCreatePalette(kPaletteStandard16, 0);
    RIPImage* image = RIPCreatePalettedImageEx(palette, 10, 10, 8, 1, 0, 0, kOneBlock, nullptr, 0);
    RIPRasterState* state = RIPCreateRS();
    RIPSetExtents(state, 2, 2, 1, 1);  // logical (8, 6) → device (4, 3)
    const colour::ColorRecord blue = colour::ColorRecord::RGB(0, 0, 250);
    ASSERT_EQ(RIPSetSolidColour(state, image, &blue, 8, 6), 1);
    EXPECT_EQ(*RIPBlockPixelAddress(image, 4, 3), 12);
    EXPECT_EQ(RIPSetSolidColour(nullptr, image, &blue, 8, 6), 0);
    RIPDestroyRS(state);
    RIPDestroyImage(image);
    RIPDestroyPalette(palette);
}

}  // namespace
}  // namespace raster
