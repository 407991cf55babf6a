// Worked values of the bilevel and paletted kernels: the bits a run touches
// at its offsets, the colour and constant tests of the bit operations, the
// coverage record left as it was, the Brightness row of fill and blit; and
// the paletted blend's way back to an index: the standard palette's values,
// a palette without a cache still painted, pixels that name no entry.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "kernels/kernel_tables.h"
#include "raster/palette.h"

namespace raster::kernels {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct BitFillGolden {
    const char* what;
    std::uint32_t mode, col, offset, n, colour;
    std::uint8_t mask, opacity;
    Bytes before, after;
};
void PrintTo(const BitFillGolden& g, std::ostream* os) { *os << g.what; }

class BitFillGoldens : public ::testing::TestWithParam<BitFillGolden> {};

TEST_P(BitFillGoldens, TouchExactlyTheBitsOfTheRun) {
    const BitFillGolden& g = GetParam();
    Bytes row = g.before, masks(g.n, g.mask);
    RIPKernelParams::Fill params;
    params.bitOffset = g.offset;
    params.color.SetU32(8, g.colour);
    const RIPKernelCoverage cov{masks.data(), masks.data(), g.opacity};
    RIPFillKernels1[g.mode][g.col](&params, g.n, row.data(), &cov);
    EXPECT_EQ(row, g.after);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, BitFillGoldens,
    ::testing::Values(
        BitFillGolden{"set 2 at offset 3", kModeSet, 0, 3, 2, 1, 0, 0, {0x00, 0x00}, {0x18, 0x00}},
        BitFillGolden{"invert 2 at offset 3", kModeInvert, 0, 3, 2, 0, 0, 0, {0xFF, 0xFF}, {0xE7, 0xFF}},
        BitFillGolden{"set 13 at offset 0", kModeSet, 0, 0, 13, 1, 0, 0, {0x00, 0x00, 0x00}, {0xFF, 0xF8, 0x00}},
        BitFillGolden{"xor 13 at offset 6", kModeXor, 0, 6, 13, 9, 0, 0, {0x00, 0x00, 0x00}, {0x03, 0xFF, 0xE0}},
        BitFillGolden{"set-inverse of 0 sets", kModeSetInverse, 0, 0, 8, 0, 0, 0, {0x00}, {0xFF}},
        BitFillGolden{"and with a colour changes nothing", kModeAnd, 0, 0, 8, 1, 0, 0, {0x5A}, {0x5A}},
        BitFillGolden{"and with 0 clears", kModeAnd, 0, 0, 8, 0, 0, 0, {0x5A}, {0x00}},
        BitFillGolden{"or with 0 changes nothing", kModeOr, 1, 0, 8, 0, 255, 0, {0x5A}, {0x5A}},
        BitFillGolden{"xor with 0 changes nothing", kModeXor, 3, 0, 8, 0, 255, 0, {0x5A}, {0x5A}},
        BitFillGolden{"and-not with 0 changes nothing", kModeAndNot, 0, 0, 8, 0, 0, 0, {0x5A}, {0x5A}},
        BitFillGolden{"constant 0 changes nothing", kModeSet, 2, 0, 8, 1, 0, 0, {0x00}, {0x00}},
        BitFillGolden{"constant 1 acts fully", kModeSet, 2, 0, 8, 1, 0, 1, {0x00}, {0xFF}},
        BitFillGolden{"mask 1 acts fully", kModeSet, 1, 0, 8, 1, 1, 0, {0x00}, {0xFF}},
        BitFillGolden{"invert under mask constant 0", kModeInvert, 4, 0, 8, 0, 255, 0, {0x0F}, {0x0F}},
        BitFillGolden{"brightness fill does nothing", kModeBrightness, 0, 0, 8, 1, 0, 0, {0x00}, {0x00}}));

struct BitBlitGolden {
    const char* what;
    std::uint32_t mode, col, dstOffset, srcOffset, n;
    std::uint8_t opacity;
    Bytes before, src, after;
};
void PrintTo(const BitBlitGolden& g, std::ostream* os) { *os << g.what; }

class BitBlitGoldens : public ::testing::TestWithParam<BitBlitGolden> {};

TEST_P(BitBlitGoldens, CombineTheBitsAtTheirOffsets) {
    const BitBlitGolden& g = GetParam();
    Bytes row = g.before;
    RIPKernelParams::Blit params;
    params.dstBitOffset = g.dstOffset;
    params.srcBitOffset = g.srcOffset;
    const RIPKernelCoverage cov{nullptr, nullptr, g.opacity};
    RIPBlitKernels1[g.mode][g.col](&params, g.n, row.data(), g.src.data(), &cov);
    EXPECT_EQ(row, g.after);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, BitBlitGoldens,
    ::testing::Values(
        BitBlitGolden{"aligned 32", kModeSet, 0, 0, 0, 32, 0, {0, 0, 0, 0, 0x55}, {1, 2, 3, 4, 0xFF},
                      {1, 2, 3, 4, 0x55}},
        BitBlitGolden{"2 at destination offset 5", kModeSet, 0, 5, 0, 2, 0, {0x00, 0x00}, {0xC0, 0xFF},
                      {0x06, 0x00}},
        // Each destination byte from the end of one source byte and the start of the next.
        BitBlitGolden{"16 from source offset 3", kModeSet, 0, 0, 3, 16, 0, {0x00, 0x00, 0x00}, {0x1F, 0x0F, 0xE0},
                      {0xF8, 0x7F, 0x00}},
        // Two pixels to align (the source moves on after the first), one whole byte, one last pixel.
        BitBlitGolden{"11 from offset 7 to offset 6", kModeSet, 0, 6, 7, 11, 0, {0x00, 0x00, 0xFF},
                      {0x01, 0xA5, 0x80}, {0x03, 0x4B, 0x7F}},
        BitBlitGolden{"invert ignores the source", kModeInvert, 0, 2, 5, 12, 0, {0x0F, 0xF0}, {0xFF, 0x00},
                      {0x30, 0x0C}},
        BitBlitGolden{"and-not at offsets 1 and 4", kModeAndNot, 0, 1, 4, 9, 0, {0xFF, 0xFF}, {0x0A, 0x50},
                      {0xAD, 0x7F}},
        BitBlitGolden{"constant 0 changes nothing", kModeSet, 2, 0, 0, 8, 0, {0x00}, {0xFF}, {0x00}},
        BitBlitGolden{"constant 1 copies", kModeSet, 2, 0, 0, 8, 1, {0x00}, {0xFF}, {0xFF}},
        BitBlitGolden{"brightness blit copies", kModeBrightness, 0, 0, 0, 8, 0, {0x00}, {0x81}, {0x81}}));

// The inverting kernels read the coverage record and leave it as it was, so
// one record serves consecutive runs.
TEST(BitCoverage, RecordStaysAsItWas) {
    Bytes row = {0x00, 0x00}, mask(16, 1);
    RIPKernelParams::Fill params;
    params.color.SetU32(8, 1);
    const RIPKernelCoverage cov{mask.data(), mask.data(), 255};
    for (std::uint32_t col : {1u, 3u}) {
        RIPKernelCoverage record = cov;
        RIPFillKernels1[kModeInvert][col](&params, 16, row.data(), &record);
        EXPECT_EQ(record.mask1, cov.mask1);
        EXPECT_EQ(record.mask2, cov.mask2);
    }
    EXPECT_EQ(row, (Bytes{0x00, 0x00}));  // inverted twice
}

using PalettePtr = std::unique_ptr<RIPPalette, int (*)(RIPPalette*)>;

PalettePtr Palette(int kind, int count) { return PalettePtr(RIPCreatePalette(kind, count), RIPDestroyPalette); }

// n pixels of index `pixel` after column `col` of fill-P8 with the colour
// index `colour` at weight w (the mask; the constant for column 2).
Bytes PaletteFill(RIPPalette* palette, std::uint32_t col, std::uint8_t pixel, std::uint8_t colour, std::uint8_t w) {
    constexpr std::uint32_t kN = 8;
    Bytes row(kN, pixel), mask(kN, w), full(kN, 255);
    RIPKernelParams::Fill params;
    params.palette = palette;
    params.color.At(8) = colour;
    const RIPKernelCoverage cov{mask.data(), full.data(), col == 2 ? w : std::uint8_t{255}};
    RIPFillKernelsP8[kModeSet][col](&params, kN, row.data(), &cov);
    return row;
}

TEST(PaletteGolden, StandardPaletteIndices) {
    const PalettePtr palette = Palette(kPaletteStandard, 0);
    EXPECT_EQ(PaletteFill(palette.get(), 1, 0, 215, 255), Bytes(8, 215)) << "white";
    EXPECT_EQ(PaletteFill(palette.get(), 1, 0, 215, 128), Bytes(8, 226)) << "grey 128 from black and white";
    EXPECT_EQ(PaletteFill(palette.get(), 2, 0, 180, 255), Bytes(8, 180)) << "red";
    EXPECT_EQ(PaletteFill(palette.get(), 3, 7, 51, 255), Bytes(8, 51)) << "a cube colour of three levels";
    EXPECT_EQ(PaletteFill(palette.get(), 1, 51, 180, 0), Bytes(8, 51)) << "weight 0 maps the pixel's own entry";
    EXPECT_EQ(PaletteFill(palette.get(), 0, 9, 180, 0), Bytes(8, 180)) << "column 0 writes the index";
}

// Black, white and mid grey: half way from black to white is grey.
PalettePtr ThreeEntries(bool cached) {
    PalettePtr palette = Palette(kPaletteCustom, 3);
    RIPSetPaletteEntry(palette.get(), 0, 0, 0, 0);
    RIPSetPaletteEntry(palette.get(), 1, 255, 255, 255);
    RIPSetPaletteEntry(palette.get(), 2, 128, 128, 128);
    if (cached) {
        EXPECT_EQ(RIPBuildInverseTable(palette.get(), kPalCacheNearest), 1);
    }
    return palette;
}

TEST(PaletteGolden, EveryPaletteIsPaintedUnderCoverage) {
    for (const bool cached : {true, false}) {
        const PalettePtr palette = ThreeEntries(cached);
        // Column 5 too: floor(128·255·255 / 64771) = 128.
        for (std::uint32_t col = 1; col < 6; ++col) {
            EXPECT_EQ(PaletteFill(palette.get(), col, 0, 1, 128), Bytes(8, 2))
                << (cached ? "cached" : "uncached") << " column " << col;
        }
    }
}

// An index past the entries names no colour and reads as black.
TEST(PaletteGolden, IndicesPastTheEntriesReadAsBlack) {
    const PalettePtr palette = ThreeEntries(false);
    EXPECT_EQ(PaletteFill(palette.get(), 1, 200, 1, 0), Bytes(8, 0)) << "pixel past the entries";
    EXPECT_EQ(PaletteFill(palette.get(), 1, 1, 250, 255), Bytes(8, 0)) << "colour past the entries";
    EXPECT_EQ(PaletteFill(palette.get(), 1, 200, 1, 128), Bytes(8, 2));
}

}  // namespace
}  // namespace raster::kernels
