// Colour reduction through the conversion entry: the worked examples, the
// choice of road by method and destination, clipping, progress, and pieces
// crossing tiles.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "convert/convert_image.h"
#include "convert_fixtures.h"
#include "dither_state.h"
#include "memory_tile_store.h"
#include "scoped_tile_manager.h"
#include "whole_reductions.h"

namespace raster::convert {
namespace {

using namespace testing;
using Bytes8 = std::vector<std::uint8_t>;

Bytes8 Convert(int method, RIPImage* dst, RIPImage* src) {
    State state(method);
    EXPECT_EQ(RIPConvertImageToImage(state.rs, dst, 0, 0, src, 0, 0, src->width, src->height), 1);
    return Bytes(dst);
}

TEST(WorkedExamples, MidGreyIntoBilevelAndTheStandardPalette) {
    for (int method : {2, 3}) {
        RIPImage* rgb = Make(kTypeRGB24, 4, 1, Bytes8(12, 128));
        RIPImage* bits = Make(kTypeBilevel, 4, 1);
        EXPECT_EQ(Convert(method, bits, rgb)[0] & 0xF0, 0xA0) << method;
        RIPDestroyImage(bits);
        RIPDestroyImage(rgb);
    }
    RIPImage* grey = Make(kTypeGrey8, 2, 1, {128, 128});
    RIPImage* std8 = Make(kTypeStandard8, 2, 1);
    EXPECT_EQ(Convert(2, std8, grey), (Bytes8{226, 225}));
    RIPDestroyImage(std8);
    RIPDestroyImage(grey);
}

TEST(Halftone, MethodFourAtMidGreySetsMatrixValuesBelowEight) {
    RIPImage* grey = Make(kTypeGrey8, 8, 8, Bytes8(64, 128));
    RIPImage* bits = Make(kTypeBilevel, 8, 8);
    const Bytes8 out = Convert(4, bits, grey);
    const std::uint8_t* m = RIPDitherMatrixFor(4)->matrix;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ((out[y] >> (7 - x)) & 1, m[8 * y + x] < 8 ? 1 : 0) << x << "," << y;
        }
    }
    RIPDestroyImage(bits);
    RIPDestroyImage(grey);
}

TEST(Roads, ByMethodAndDestination) {
    // RGB into bilevel with method 1 is the blit's threshold: a dark and a light pixel.
    RIPImage* rgb = Make(kTypeRGB24, 2, 1, {40, 40, 40, 220, 220, 220});
    RIPImage* bits = Make(kTypeBilevel, 2, 1);
    EXPECT_EQ(Convert(1, bits, rgb), Bytes8{0x40});
    // RGB into a 4-bit palette with methods 4 and 5 is not dithered: each
    // pixel takes its nearest entry (black; silver before white).
    RIPImage* pal4 = Make(kTypeStandard4, 2, 1);
    for (int method : {4, 5}) EXPECT_EQ(Convert(method, pal4, rgb), Bytes8{0x08}) << method;
    // A 4-bit palette of another kind with method 3: grey is blitted, RGB
    // mapped to the palette at its own depth.
    RIPPalette* four = Palette({{0, 0, 0}, {255, 255, 255}, {40, 40, 40}, {220, 220, 220}});
    RIPImage* custom = MakePaletted(four, 4, 2, 1);
    EXPECT_EQ(Convert(3, custom, rgb), Bytes8{0x23});
    RIPImage* grey = Make(kTypeGrey8, 2, 1, {40, 220});
    RIPImage* custom2 = MakePaletted(four, 4, 2, 1);
    EXPECT_EQ(Convert(3, custom2, grey), Bytes8{0x23});
    for (RIPImage* i : {rgb, bits, pal4, custom, grey, custom2}) RIPDestroyImage(i);
    RIPDestroyPalette(four);
}

// Pairs that pass through a temporary image: white then black in every
// source format, into bilevel and the standard palette.
TEST(Roads, ChainsThroughTemporaries) {
    const struct {
        std::int32_t from;
        Bytes8 whiteBlack;
    } sources[] = {{kTypeCMYK32, {0, 0, 0, 0, 0, 0, 0, 255}},
                   {kTypeLab24, {255, 128, 128, 0, 128, 128}},
                   {kTypeGrey16, {0xFF, 0xFF, 0, 0}},
                   {kTypeRGB48, Bytes8{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0}},
                   {kTypeBilevel, {0x80}}};
    for (const auto& src : sources) {
        for (int method : {1, 2, 3}) {
            RIPImage* image = Make(src.from, 2, 1, src.whiteBlack);
            RIPImage* bits = Make(kTypeBilevel, 2, 1);
            RIPImage* std8 = Make(kTypeStandard8, 2, 1);
            EXPECT_EQ(Convert(method, bits, image)[0] & 0xC0, 0x80) << src.from << " method " << method;
            EXPECT_EQ(Convert(method, std8, image), (Bytes8{215, 0})) << src.from << " method " << method;
            for (RIPImage* i : {image, bits, std8}) RIPDestroyImage(i);
        }
    }
}

// Grey into the standard palette: nearest, diffused, or by the grey ramp's
// thresholds (its white is 235, and black turns 217 where a threshold
// exceeds 216).
TEST(Roads, GreyIntoTheStandardPaletteByMethod) {
    for (const auto& [method, out] : {std::pair<int, Bytes8>{1, {215, 0}}, {2, {215, 0}}, {3, {235, 217}}}) {
        RIPImage* grey = Make(kTypeGrey8, 2, 1, {255, 0});
        RIPImage* std8 = Make(kTypeStandard8, 2, 1);
        EXPECT_EQ(Convert(method, std8, grey), out) << method;
        RIPDestroyImage(std8);
        RIPDestroyImage(grey);
    }
}

// Paletted into bilevel: method 1 by each entry's luminance at every depth,
// the other methods through the 8-bit members.
TEST(Roads, PalettedIntoBilevel) {
    RIPPalette* four = Palette({{0, 0, 0}, {255, 255, 255}, {200, 200, 200}, {50, 50, 50}});
    RIPPalette* inverted = Palette({{255, 255, 255}, {0, 0, 0}});
    const struct {
        RIPPalette* palette;
        std::int32_t bits;
        Bytes8 pixels;
        int method;
        std::uint8_t out;
    } cases[] = {
        {four, 4, {0x01, 0x23}, 1, 0x60}, {four, 8, {0, 1, 2, 3}, 1, 0x60}, {inverted, 1, {0x40}, 1, 0x80},
        {four, 8, {0, 1, 2, 3}, 3, 0x60}, {four, 8, {1, 1, 0, 0}, 2, 0xC0},
    };
    for (const auto& c : cases) {
        const std::int32_t w = c.bits == 1 ? 2 : 4;
        RIPImage* src = MakePaletted(c.palette, c.bits, w, 1, c.pixels);
        RIPImage* bits = Make(kTypeBilevel, w, 1);
        EXPECT_EQ(Convert(c.method, bits, src), Bytes8{c.out}) << c.bits << " bits, method " << c.method;
        RIPDestroyImage(bits);
        RIPDestroyImage(src);
    }
    RIPDestroyPalette(four);
    RIPDestroyPalette(inverted);
}

// A 4-bit paletted image into Lab, which the blit does not take: through RGB.
TEST(Roads, FourBitPalettedIntoLab) {
    RIPPalette* pal = Palette({{255, 0, 0}, {0, 0, 255}});
    RIPImage* src = MakePaletted(pal, 4, 2, 1, {0x10});
    RIPImage* rgb = Make(kTypeRGB24, 2, 1, {255, 0, 0, 0, 0, 255});
    RIPImage* lab = Make(kTypeLab24, 2, 1);
    RIPImage* expected = Make(kTypeLab24, 2, 1);
    EXPECT_EQ(Convert(1, lab, src), Convert(1, expected, rgb));
    for (RIPImage* i : {src, rgb, lab, expected}) RIPDestroyImage(i);
    RIPDestroyPalette(pal);
}

TEST(Roads, PalettedGreyConvertsAsPalettedAndKeepsItsType) {
    RIPPalette* pal = Palette({{0, 0, 0}, {255, 0, 0}});
    RIPImage* src = Make(kTypeGrey8, 2, 1, {1, 0});
    src->palette = pal;  // an 8-bit grey image that carries a palette
    RIPImage* rgb = Make(kTypeRGB24, 2, 1);
    EXPECT_EQ(Convert(1, rgb, src), (Bytes8{0, 0, 255, 0, 0, 0}));
    EXPECT_EQ(src->type, kTypeGrey8);
    src->palette = nullptr;
    RIPDestroyImage(rgb);
    RIPDestroyImage(src);
    RIPDestroyPalette(pal);
}

TEST(Roads, DiffusionClipsToTheDestination) {
    RIPImage* src = Make(kTypeRGB24, 4, 2, Bytes8(24, 255));
    RIPImage* dst = Make(kTypeBilevel, 3, 2);
    State state(2);
    ASSERT_EQ(RIPConvertImageToImage(state.rs, dst, 1, 1, src, 0, 0, 4, 2), 1);
    EXPECT_EQ(Bytes(dst), (Bytes8{0x00, 0x60}));
    EXPECT_EQ(RIPConvertImageToImage(state.rs, dst, 3, 0, src, 0, 0, 1, 1), 0);
    RIPDestroyImage(dst);
    RIPDestroyImage(src);
}

struct Refuser {
    static int Callback(std::int32_t, std::int32_t, void*) { return 0; }
};

TEST(WholeReductions, ARefusedReportStopsBeforeTheRow) {
    for (const auto& [height, written] : {std::pair{45, 4}, {20, 0}, {3, 0}}) {
        RIPImage* src = Make(kTypeGrey8, 8, height, Bytes8(8 * height, 255));
        RIPImage* dst = Make(kTypeBilevel, 8, height);
        State state(2);
        state.rs->progressCallback = &Refuser::Callback;
        EXPECT_EQ(RIPConvertGray8ToBilevel(state.rs, dst, 0, 0, 8, height, src, 0, 0), 0);
        Bytes8 expected(height, 0);
        std::fill_n(expected.begin(), written, 0xFF);
        EXPECT_EQ(Bytes(dst), expected) << height;
        RIPDestroyImage(dst);
        RIPDestroyImage(src);
    }
}

// A rectangle crossing the tiles of both images converts as it does in one
// block: diffusion carries its errors over tile edges, matrices are laid from
// absolute positions. Tiled on the recording test store, and on the library's
// tile manager, where tiles are evicted, compressed and swapped as the rows go.
struct TiledCase {
    std::int32_t to;  // destination type (8 and 9: the standard palettes)
    int method;
    std::int32_t from = kTypeRGB24;  // others made from the RGB gradient, nearest colours
};

class AcrossTiles : public ::testing::TestWithParam<TiledCase> {};

Bytes8 Gradient(std::int32_t w, std::int32_t h) {
    Bytes8 rgb(static_cast<std::size_t>(3 * w * h));
    for (std::int32_t y = 0; y < h; ++y) {
        for (std::int32_t x = 0; x < w; ++x) {
            std::uint8_t* p = &rgb[3 * (y * w + x)];
            p[0] = static_cast<std::uint8_t>(x * 255 / w);
            p[1] = static_cast<std::uint8_t>(y * 255 / h);
            p[2] = static_cast<std::uint8_t>((x + y) * 3);
        }
    }
    return rgb;
}

// The converted rectangle: from (13, 17) of the source to (7, 5) of the
// destination, 40 and 50 pixels short of the source's size.
constexpr std::int32_t kSourceX = 13, kSourceY = 17, kDestX = 7, kDestY = 5;

// A source large enough that the rectangle crosses at least one tile edge of
// each image both ways (the bilevel tiles are the widest).
std::pair<std::int32_t, std::int32_t> SourceSize(std::int32_t to) {
    const RIPTileGeometry d = RIPTileGeometryFor(to);
    return {std::max(330, d.width + 60), std::max(320, d.height + 60)};
}

// True when the pixels first and last of the rectangle lie in different
// tile columns and rows of the image.
bool Crosses(const RIPImage* image, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
    return image->storageKind == kStorageTiled && x / image->tileWidth != (x + w - 1) / image->tileWidth &&
           y / image->tileHeight != (y + h - 1) / image->tileHeight;
}

Bytes8 ConvertGradient(const TiledCase& c, std::int32_t storage) {
    const auto [w, h] = SourceSize(c.to);
    RIPImage* src = Make(kTypeRGB24, w, h, Gradient(w, h), storage);
    if (c.from != kTypeRGB24) {
        RIPImage* rgb = src;
        src = Make(c.from, w, h, {}, storage);
        EXPECT_EQ(RIPConvertImageToImage(State(1).rs, src, 0, 0, rgb, 0, 0, w, h), 1);
        RIPDestroyImage(rgb);
    }
    RIPImage* dst = Make(c.to, w - 20, h - 30, {}, storage);
    if (storage == kAllowTiling) {
        EXPECT_TRUE(Crosses(src, kSourceX, kSourceY, w - 40, h - 50));
        EXPECT_TRUE(Crosses(dst, kDestX, kDestY, w - 40, h - 50));
    }
    State state(c.method);
    EXPECT_EQ(RIPConvertImageToImage(state.rs, dst, kDestX, kDestY, src, kSourceX, kSourceY, w - 40, h - 50),
              1);
    Bytes8 out = Bytes(dst);
    RIPDestroyImage(dst);
    RIPDestroyImage(src);
    return out;
}

// These tests install stores of their own: the tiled run would only repeat them.
TEST_P(AcrossTiles, MatchesOneBlockOnTheTestStore) {
    if (RIPActiveTileStore() != nullptr) GTEST_SKIP() << "a tile store is installed";
    const Bytes8 whole = ConvertGradient(GetParam(), kOneBlock);
    raster::testing::ScopedTileStore tiles(4);
    EXPECT_EQ(ConvertGradient(GetParam(), kAllowTiling), whole);
}

TEST_P(AcrossTiles, MatchesOneBlockOnTheTileManager) {
    if (RIPActiveTileStore() != nullptr) GTEST_SKIP() << "a tile store is installed";
    const Bytes8 whole = ConvertGradient(GetParam(), kOneBlock);
    // Eight memory blocks hold the tiles of one band of rows of the widest
    // case (so diffusion's rows do not evict each other's tiles on every row)
    // but not the images: tiles go out to the swap file and come back.
    raster::testing::ScopedTileManager tiles(8);
    EXPECT_EQ(ConvertGradient(GetParam(), kAllowTiling), whole);
    EXPECT_GT(tiles.manager().Swap().FileBytes(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Methods, AcrossTiles,
                         ::testing::Values(TiledCase{kTypeBilevel, 2}, TiledCase{kTypeBilevel, 3},
                                           TiledCase{kTypeBilevel, 5}, TiledCase{kTypeStandard8, 2},
                                           TiledCase{kTypeStandard8, 3}, TiledCase{kTypeStandard8, 1},
                                           TiledCase{kTypeStandard4, 6}, TiledCase{kTypeStandard4, 3},
                                           TiledCase{kTypeStandard4, 1}, TiledCase{kTypeGrey16, 1},
                                           TiledCase{kTypeCMYK32, 1},
                                           // 16-colour diffusion carries its errors over tile
                                           // edges from every source, as the others do.
                                           TiledCase{kTypeStandard4, 2},
                                           TiledCase{kTypeStandard4, 2, kTypeGrey8},
                                           TiledCase{kTypeStandard4, 2, kTypeCMYK32}));

}  // namespace
}  // namespace raster::convert
