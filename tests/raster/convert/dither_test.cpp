// Dither states and their tables, and the dithering reductions' rules.
#include <gtest/gtest.h>

#include <vector>

#include "convert/convert_image.h"
#include "convert_fixtures.h"
#include "dither_rows.h"
#include "dither_state.h"
#include "dithering.h"

namespace raster::convert {
namespace {

using namespace testing;
using Bytes8 = std::vector<std::uint8_t>;

struct DitherHolder {
    explicit DitherHolder(RIPDitherState* s) : state(s) {}
    ~DitherHolder() { RIPDestroyDitherState(state); }
    RIPDitherState* state;
};

TEST(DitherState, StandardPaletteTables) {
    RIPPalette* std8 = RIPCreatePalette(kPaletteStandard, 0);
    DitherHolder d(RIPCreateDitherState(2, std8, kDitherPaletted));
    ASSERT_NE(d.state, nullptr);
    const std::uint8_t* t = RIPStdPaletteTables(d.state);
    EXPECT_EQ(t[255], 180);
    EXPECT_EQ(t[256 + 255], 30);
    EXPECT_EQ(t[512 + 255], 5);
    EXPECT_EQ(t[42], 0);
    EXPECT_EQ(t[43], 36);
    EXPECT_EQ(t[768 + 0], 0);      // black is entry 0, before the ramp's 216
    EXPECT_EQ(t[768 + 128], 226);  // 134, the ramp's nearest
    EXPECT_EQ(t[768 + 255], 215);
    RIPDestroyPalette(std8);
}

TEST(DitherState, CubeThresholds) {
    RIPPalette* std8 = RIPCreatePalette(kPaletteStandard, 0);
    DitherHolder d(RIPCreateDitherState(3, std8, kDitherPaletted));
    ASSERT_NE(d.state, nullptr);
    const std::uint8_t* t = RIPCubeThresholds(d.state);
    for (int pos = 0; pos < 64; ++pos) {
        EXPECT_EQ(t[pos * 256 + 0], 0);
        EXPECT_EQ(t[pos * 256 + 51], 1);
        EXPECT_EQ(t[pos * 256 + 255], 5);
    }
    // Level 25 (half a step) rounds up where the Bayer value is below 25·63/51.
    EXPECT_EQ(t[0 * 256 + 25], 1);  // B[0][0] = 0
    EXPECT_EQ(t[1 * 256 + 25], 0);  // B[0][1] = 32
    RIPDestroyPalette(std8);
}

TEST(DitherState, MethodsAndTargets) {
    DitherHolder bayer(RIPCreateDitherState(3, nullptr, kDitherBilevel));
    ASSERT_NE(bayer.state, nullptr);
    EXPECT_EQ(RIPStateMatrix(bayer.state), RIPDitherMatrixFor(6));
    EXPECT_EQ(RIPStateMatrix(bayer.state)->levels, 63);
    RIPPalette* pal = Palette({{0, 0, 0}, {9, 9, 9}});
    for (int method : {4, 5})
        EXPECT_EQ(RIPCreateDitherState(method, pal, kDitherPaletted), nullptr) << method;
    EXPECT_EQ(RIPCreateDitherState(3, nullptr, kDitherPaletted), nullptr);
    EXPECT_EQ(RIPCreateDitherState(0, nullptr, kDitherBilevel), nullptr);
    EXPECT_EQ(RIPCreateDitherState(7, nullptr, kDitherBilevel), nullptr);
    EXPECT_EQ(RIPCreateDitherState(1, nullptr, 2), nullptr);
    EXPECT_EQ(RIPDestroyDitherState(nullptr), 0);
    DitherHolder six(RIPCreateDitherState(6, pal, kDitherPaletted));
    EXPECT_EQ(RIPStateMatrix(six.state), RIPDitherMatrixFor(6));
    RIPDestroyPalette(pal);
}

TEST(DitherState, Matrices) {
    const std::uint8_t* bayer = RIPDitherMatrixFor(6)->matrix;
    EXPECT_EQ(Bytes8(bayer, bayer + 8), (Bytes8{0, 32, 8, 40, 2, 34, 10, 42}));
    EXPECT_EQ(Bytes8(bayer + 56, bayer + 64), (Bytes8{63, 31, 55, 23, 61, 29, 53, 21}));
    const RIPDitherMatrix* m4 = RIPDitherMatrixFor(4);
    EXPECT_EQ(Bytes8(m4->matrix, m4->matrix + 8), (Bytes8{15, 4, 8, 13, 15, 4, 8, 13}));
    EXPECT_EQ(Bytes8(m4->matrix + 32, m4->matrix + 40), (Bytes8{8, 13, 15, 4, 8, 13, 15, 4}));
    const RIPDitherMatrix* m5 = RIPDitherMatrixFor(5);
    EXPECT_EQ(m5->matrix[8 * 16 + 0], 41);  // row 8 is row 0 turned left by 4
    EXPECT_EQ(m5->matrix[15 * 16 + 15], 37);
}

TEST(DitherState, NeighbourTable) {
    RIPPalette* pal = Palette({{0, 0, 0}, {0, 0, 0}, {10, 0, 0}, {50, 0, 0}});
    DitherHolder d(RIPCreateDitherState(3, pal, kDitherPaletted));
    const std::uint8_t* n = RIPNeighbourTable(d.state);
    EXPECT_EQ(Bytes8(n, n + 4), (Bytes8{2, 2, 0, 2}));
    // Entries whose colour all the others share are their own neighbours.
    RIPPalette* same = Palette({{5, 5, 5}, {5, 5, 5}});
    DitherHolder s(RIPCreateDitherState(3, same, kDitherPaletted));
    EXPECT_EQ(Bytes8(RIPNeighbourTable(s.state), RIPNeighbourTable(s.state) + 2), (Bytes8{0, 1}));
    RIPDestroyPalette(pal);
    RIPDestroyPalette(same);
}

TEST(DitherRules, SixteenColourNearestAndStandardGreys) {
    EXPECT_EQ(RIPStdPal4Nearest(200, 0, 0), 0x99);
    EXPECT_EQ(RIPStdPal4Nearest(100, 0, 0), 0x11);
    EXPECT_EQ(RIPStdPal4Nearest(128, 128, 128), 0x77);
    EXPECT_EQ(RIPStdPal4Nearest(171, 171, 171), 0xFF);
    for (const auto& [index, grey] : {std::pair{215, 255}, {235, 255}, {0, 0}, {216, 0}, {36, 15}}) {
        EXPECT_EQ(RIPStdPalIndexToGray(index), grey) << index;
    }
    Bytes8 dst = {0xFF, 0x00};
    const Bytes8 src = {0x0F};
    RIPCopyBitRow(dst.data(), 3, src.data(), 2, 6);  // 0 0 1 1 1 1 inverted
    EXPECT_EQ(dst, (Bytes8{0xF8, 0x00}));
}

// A member run over rows of bytes; the destination starts as `fill`.
struct Reduced {
    Bytes8 dst;
    std::vector<std::int16_t> keptErrors;
    int result = 0;
    Reduced(RIPReduction member, const Bytes8& src, std::int32_t srcBytes, std::int32_t width,
            std::int32_t rows, std::int32_t dstRowBytes, std::uint32_t dstBit, RIPPalette* palette,
            int method, int target, Bytes8 fill) {
        dst = fill.empty() ? Bytes8(static_cast<std::size_t>(dstRowBytes) * rows, 0) : fill;
        RIPReduceArgs a;
        a.dither = RIPCreateDitherState(method, palette, target);
        a.errors = RIPAllocErrorRows(width);
        a.rows.dst = dst.data();
        a.rows.dstStride = dstRowBytes;
        a.rows.dstBit = dstBit;
        a.rows.src = src.data();
        a.rows.srcStride = srcBytes * width;
        a.rows.width = width;
        a.rows.rows = rows;
        a.dstPalette = palette;
        result = member(nullptr, a);
        keptErrors.assign(a.errors, a.errors + 3 * width + 12);
        RIPFreeErrorRows(a.errors);
        RIPDestroyDitherState(a.dither);
    }
};

TEST(Diffusion, BilevelUniformLevelsAndTheRunsEdges) {
    EXPECT_EQ(Reduced(&RIPDiffuseGray8ToBilevel, Bytes8(20, 0), 1, 10, 2, 2, 0, nullptr, 2, 0, {}).dst,
              Bytes8(4, 0));
    EXPECT_EQ(Reduced(&RIPDiffuseGray8ToBilevel, Bytes8(16, 255), 1, 8, 2, 1, 0, nullptr, 2, 0, {}).dst,
              Bytes8(2, 0xFF));
    // Mid grey: the first pixel set, about half the bits.
    const Reduced mid(&RIPDiffuseRGB24ToBilevel, Bytes8(3 * 64 * 4, 128), 3, 64, 4, 8, 0, nullptr, 2, 0, {});
    EXPECT_EQ(mid.dst[0] & 0x80, 0x80);
    int set = 0;
    for (std::uint8_t b : mid.dst) set += __builtin_popcount(b);
    EXPECT_NEAR(set, 128, 8);
    // From bit 3: bits 0-2 and those after the run keep their values.
    EXPECT_EQ(Reduced(&RIPDiffuseGray8ToBilevel, Bytes8(2, 255), 1, 2, 1, 1, 3, nullptr, 2, 0, {0xA5}).dst,
              Bytes8{0xBD});
}

TEST(Diffusion, SixteenColourGreys) {
    RIPPalette* pal16 = RIPCreatePalette(kPaletteStandard16, 0);
    const Reduced pair(&RIPDiffuseGray8ToStdPal4, {170, 255}, 1, 2, 1, 1, 0, pal16, 2, 1, {});
    EXPECT_EQ(pair.dst, Bytes8{0x7F});
    EXPECT_EQ(pair.keptErrors[1], 42);  // channel 0's entries, from its second
    EXPECT_EQ(pair.keptErrors[2], 18);
    EXPECT_EQ(Reduced(&RIPDiffuseGray8ToStdPal4, Bytes8(8, 128), 1, 4, 2, 2, 0, pal16, 2, 1, {}).dst,
              Bytes8(4, 0x77));
    EXPECT_EQ(Reduced(&RIPDiffuseRGB24ToStdPal4, Bytes8(24, 128), 3, 4, 2, 2, 0, pal16, 2, 1, {}).dst,
              Bytes8(4, 0x77));
    EXPECT_EQ(Reduced(&RIPDiffuseGray8ToStdPal4, Bytes8(4, 255), 1, 4, 1, 2, 0, pal16, 2, 1, {}).dst,
              Bytes8(2, 0xFF));
    // An odd start fills from the low nibble of the first byte.
    EXPECT_EQ(
        Reduced(&RIPDiffuseGray8ToStdPal4, Bytes8(2, 255), 1, 2, 1, 2, 4, pal16, 2, 1, {0x00, 0x00}).dst,
        (Bytes8{0x0F, 0xF0}));
    RIPDestroyPalette(pal16);
}

TEST(Diffusion, StandardPaletteRowsStartFromTheFirstPixelsError) {
    RIPPalette* std8 = RIPCreatePalette(kPaletteStandard, 0);
    // One grey pixel: the priming pass leaves −6 above it (entry 226, 134),
    // e_left starts at 128 − 102 = 26 (cube entry 86), so v = (2048 + 7·26 −
    // 5·6) / 16 = 137, again entry 226, leaving 3.
    const Reduced one(&RIPDiffuseRGB24ToStdPal8, {128, 128, 128}, 3, 1, 1, 1, 0, std8, 2, 1, {});
    EXPECT_EQ(one.dst, Bytes8{226});
    for (int c = 0; c < 3; ++c) EXPECT_EQ(one.keptErrors[c * 3 + 1], 3) << c;
    const Reduced grey(&RIPDiffuseGray8ToStdPal8, {0, 255}, 1, 2, 1, 2, 0, std8, 2, 1, {});
    EXPECT_EQ(grey.dst, (Bytes8{0, 215}));
    RIPDestroyPalette(std8);
}

TEST(Ordered, SixteenColourLevels) {
    RIPPalette* pal16 = RIPCreatePalette(kPaletteStandard16, 0);
    EXPECT_EQ(Reduced(&RIPOrderedGray8ToPal8, Bytes8(64, 128), 1, 8, 8, 8, 0, pal16, 6, 1, {}).dst,
              Bytes8(64, 7));
    EXPECT_EQ(Reduced(&RIPOrderedRGB24ToPal4, Bytes8(48, 255), 3, 8, 2, 4, 0, pal16, 6, 1, {}).dst,
              Bytes8(8, 0xFF));
    // Pure red at full level: the red level and the bright level are 64 everywhere.
    EXPECT_EQ(Reduced(&RIPOrderedRGB24ToPal8, {0, 0, 255}, 3, 1, 1, 1, 0, pal16, 6, 1, {}).dst, Bytes8{9});
    RIPDestroyPalette(pal16);
}

TEST(Ordered, StandardPaletteMapsAndAnyPalette) {
    RIPPalette* std8 = RIPCreatePalette(kPaletteStandard, 0);
    EXPECT_EQ(Reduced(&RIPMapGray8ToStdPal8, Bytes8(16, 255), 1, 8, 2, 8, 0, std8, 3, 1, {}).dst,
              Bytes8(16, 235));
    const Reduced black(&RIPMapGray8ToStdPal8, Bytes8(8, 0), 1, 8, 1, 8, 0, std8, 3, 1, {});
    EXPECT_EQ(black.dst, (Bytes8{216, 217, 217, 217, 216, 217, 217, 217}));  // 216 225 218 228 216 …
    EXPECT_EQ(Reduced(&RIPMapRGB24ToStdPal8, {0, 0, 255, 255, 255, 255}, 3, 2, 1, 2, 0, std8, 3, 1, {}).dst,
              (Bytes8{180, 215}));
    RIPPalette* bw = Palette({{0, 0, 0}, {255, 255, 255}});
    EXPECT_EQ(Reduced(&RIPMapGray8ToPal, Bytes8(8, 0), 1, 8, 1, 8, 0, bw, 3, 1, {}).dst, Bytes8(8, 0));
    const Reduced mid(&RIPMapGray8ToPal, Bytes8(64, 128), 1, 8, 8, 8, 0, bw, 3, 1, {});
    int ones = 0;
    for (std::uint8_t v : mid.dst) ones += v;
    EXPECT_GT(ones, 0);
    EXPECT_LT(ones, 64);
    RIPDestroyPalette(bw);
    RIPDestroyPalette(std8);
}

}  // namespace
}  // namespace raster::convert
