// The packed-row kernels and the mapping of colour rows to palettes.
#include "row_kernels.h"

#include <gtest/gtest.h>

#include <vector>

#include "convert/convert_image.h"
#include "convert_fixtures.h"
#include "pair_converters.h"
#include "raster/palette.h"

namespace raster::convert {
namespace {

using namespace testing;
using Bytes8 = std::vector<std::uint8_t>;

RIPRowBlock Block(Bytes8& dst, std::uint32_t dstBit, const Bytes8& src, std::uint32_t srcBit,
                  std::int32_t width, std::int32_t rows = 1) {
    RIPRowBlock b;
    b.dst = dst.data();
    b.dstStride = static_cast<std::ptrdiff_t>(dst.size()) / (rows > 0 ? rows : 1);
    b.dstBit = dstBit;
    b.src = src.data();
    b.srcStride = static_cast<std::ptrdiff_t>(src.size()) / (rows > 0 ? rows : 1);
    b.srcBit = srcBit;
    b.width = width;
    b.rows = rows;
    return b;
}

TEST(ExpandBits, StartsAtTheBitOffset) {
    const Bytes8 src = {0x04};  // bit offset 5 is bit 2 of the byte
    Bytes8 rgb(9), cmyk(12), grey(6);
    ASSERT_EQ(RIPExpandBitsToRGB24(nullptr, Block(rgb, 0, src, 5, 3), 0x030201, 0x070809), 1);
    EXPECT_EQ(rgb, (Bytes8{9, 8, 7, 1, 2, 3, 1, 2, 3}));
    ASSERT_EQ(RIPExpandBitsToCMYK(nullptr, Block(cmyk, 0, src, 5, 3), 0x04030201, 0x0C0B0A09), 1);
    EXPECT_EQ(cmyk, (Bytes8{9, 10, 11, 12, 1, 2, 3, 4, 1, 2, 3, 4}));
    ASSERT_EQ(RIPExpandBitsToGray16(nullptr, Block(grey, 0, src, 5, 3), 0x11, 0xEE), 1);
    EXPECT_EQ(grey, (Bytes8{0xEE, 0xEE, 0x11, 0x11, 0x11, 0x11}));
}

TEST(RemapOneToOne, EachValuePairAndTheNeighbouringBits) {
    const Bytes8 src = {0xAA};  // 1 0 1 0 1 0 1 0
    const struct {
        std::uint8_t v0, v1;
        Bytes8 out;
    } cases[] = {
        {1, 0, {0xEA, 0xFF}},  // inverted: 0 1 0 1 0 1 from bit 3
        {0, 1, {0xF5, 0x7F}},  // copied:   1 0 1 0 1 0
        {0, 0, {0xE0, 0x7F}},
        {1, 1, {0xFF, 0xFF}},
    };
    for (const auto& c : cases) {
        Bytes8 dst = {0xFF, 0xFF};
        if (c.v0 == 1 && c.v1 == 1) dst = {0xE0, 0x7F};
        ASSERT_EQ(RIPRemapRow1To1(nullptr, Block(dst, 3, src, 0, 6), c.v0, c.v1), 1);
        EXPECT_EQ(dst, c.out) << int(c.v0) << int(c.v1);
    }
}

TEST(RemapNibbles, KeepTheOtherNibbleAtBothEnds) {
    std::uint8_t identity[256];
    for (int i = 0; i < 256; ++i) identity[i] = static_cast<std::uint8_t>(i);
    const Bytes8 bytes = {1, 2, 3};
    Bytes8 even = {0xFF, 0xFF}, odd = {0xFF, 0xFF};
    ASSERT_EQ(RIPRemapRow8To4(nullptr, Block(even, 0, bytes, 0, 3), identity), 1);
    ASSERT_EQ(RIPRemapRow8To4(nullptr, Block(odd, 4, bytes, 0, 3), identity), 1);
    EXPECT_EQ(even, (Bytes8{0x12, 0x3F}));  // odd width ending in a high nibble
    EXPECT_EQ(odd, (Bytes8{0xF1, 0x23}));
    // 4 → 1 and 4 → 8 from the low nibble of the first byte.
    const Bytes8 nibbles = {0x05, 0x0F};
    Bytes8 bits = {0x00}, wide(3);
    const std::uint8_t table[16] = {0, 0, 0, 0, 0, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 9};
    ASSERT_EQ(RIPRemapRow4To1(nullptr, Block(bits, 6, nibbles, 4, 2), table), 1);
    EXPECT_EQ(bits, (Bytes8{0x02}));  // 5 → set, 0 → clear
    ASSERT_EQ(RIPRemapRow4To8(nullptr, Block(wide, 0, nibbles, 4, 3), table), 1);
    EXPECT_EQ(wide, (Bytes8{7, 0, 9}));
}

TEST(RowKernels, HeightZeroWritesNothing) {
    const Bytes8 src = {0xFF};
    Bytes8 dst = {0x5A};
    std::uint8_t table[256] = {};
    EXPECT_EQ(RIPRemapRow8To8(nullptr, Block(dst, 0, src, 0, 1, 0), table), 1);
    EXPECT_EQ(RIPRemapRow1To1(nullptr, Block(dst, 0, src, 0, 8, 0), 0, 0), 1);
    EXPECT_EQ(dst, Bytes8{0x5A});
}

TEST(MapToPalette, TwoEntriesChooseTheStrictlyNearerAndTiesGoToZero) {
    RIPPalette* bw = Palette({{0, 0, 0}, {255, 255, 255}});
    const Bytes8 rgb = {200, 200, 200, 100, 100, 100};
    Bytes8 bits = {0x00};
    ASSERT_EQ(RIPMapRGBRowsToPalette(nullptr, Block(bits, 0, rgb, 0, 2), bw, 1), 1);
    EXPECT_EQ(bits, Bytes8{0x80});
    RIPPalette* near = Palette({{0, 0, 0}, {2, 0, 0}});
    const Bytes8 between = {0, 0, 1};  // (red 1): one away from both
    bits = {0xFF};
    ASSERT_EQ(RIPMapRGBRowsToPalette(nullptr, Block(bits, 0, between, 0, 1), near, 1), 1);
    EXPECT_EQ(bits, Bytes8{0x7F});
    RIPDestroyPalette(bw);
    RIPDestroyPalette(near);
}

TEST(MapToPalette, OneBitDepthByPaletteSize) {
    const Bytes8 rgb(3 * 5, 200);
    RIPPalette* one = Palette({{9, 9, 9}});
    Bytes8 row = {0xFF, 0xFF};
    ASSERT_EQ(RIPMapRGBRowsToPalette(nullptr, Block(row, 2, rgb, 0, 5), one, 1), 1);
    EXPECT_EQ(row, (Bytes8{0xC1, 0xFF}));  // exactly five bits cleared
    RIPPalette* three = Palette({{0, 0, 0}, {1, 1, 1}, {2, 2, 2}});
    row = {0xFF, 0xFF};
    EXPECT_EQ(RIPMapRGBRowsToPalette(nullptr, Block(row, 2, rgb, 0, 5), three, 1), 0);
    EXPECT_EQ(row, (Bytes8{0xFF, 0xFF}));
    EXPECT_EQ(RIPMapGrayRowsToPalette(nullptr, Block(row, 2, rgb, 0, 5), three, 1), 0);
    EXPECT_EQ(row, (Bytes8{0xFF, 0xFF}));
    RIPDestroyPalette(one);
    RIPDestroyPalette(three);
}

TEST(MapToPalette, ACacheMadeForTheCallGoesAgainAndAnOldOneStays) {
    std::vector<std::vector<int>> entries;
    for (int i = 0; i < 20; ++i) entries.push_back({i * 13, 255 - i * 11, (i * 71) % 256});
    RIPPalette* pal = Palette(entries);
    const Bytes8 rgb = {10, 200, 30, 250, 0, 90};
    Bytes8 out(2), nibbles = {0, 0};
    ASSERT_EQ(RIPMapRGBRowsToPalette(nullptr, Block(out, 0, rgb, 0, 2), pal, 8), 1);
    EXPECT_EQ(pal->cache, nullptr);
    EXPECT_EQ(out[0], RIPGetNearestPalIndex(pal, 30, 200, 10));  // this attaches a cache
    EXPECT_EQ(out[1], RIPGetNearestPalIndex(pal, 90, 0, 250));
    RIPPalCache* kept = pal->cache;
    ASSERT_EQ(RIPMapRGBRowsToPalette(nullptr, Block(nibbles, 4, rgb, 0, 2), pal, 4), 1);
    EXPECT_EQ(pal->cache, kept);
    EXPECT_EQ(nibbles, (Bytes8{out[0], static_cast<std::uint8_t>(out[1] << 4)}));
    RIPFreeInverseTable(pal);
    Bytes8 grey(1);
    const Bytes8 level = {128};
    ASSERT_EQ(RIPMapGrayRowsToPalette(nullptr, Block(grey, 0, level, 0, 1), pal, 8), 1);
    EXPECT_NE(pal->cache, nullptr);
    RIPDestroyPalette(pal);
}

TEST(MapToPalette, FortyEightBitSourcesMapByTheirHighBytes) {
    RIPPalette* pal = Palette({{0, 0, 0}, {255, 0, 0}, {0, 0, 255}});
    RIPImage* src = Make(kTypeRGB48, 2, 1, {0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, 0xFF, 0, 0, 0xFF, 0});
    RIPImage* dst = MakePaletted(pal, 8, 2, 1);
    State state(1);
    ASSERT_EQ(RIPConvertImageToImage(state.rs, dst, 0, 0, src, 0, 0, 2, 1), 1);
    EXPECT_EQ(Bytes(dst), (Bytes8{1, 2}));
    RIPDestroyImage(dst);
    RIPDestroyImage(src);
    RIPDestroyPalette(pal);
}

}  // namespace
}  // namespace raster::convert
