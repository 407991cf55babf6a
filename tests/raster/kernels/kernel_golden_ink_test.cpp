// Worked values of the ink kernels: light-value arithmetic (adding light
// never adds ink), the brightness picks and their ties, the lightness
// operand with its black byte, the two forms of column 5, the extremes of
// the blend rows, weight 0 in every row, per-pixel Dissolve, and the one
// place fill and blit of one mode may differ.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <random>
#include <vector>

#include "kernel_paths.h"
#include "kernels/direct_kernels.h"
#include "kernels/kernel_tables.h"

namespace raster::kernels {
namespace {

using testing::AvailablePaths;
using testing::ScopedPath;
using Px = std::array<std::uint8_t, 4>;

struct InkGolden {
    const char* what;
    bool blit;
    std::uint32_t mode, col;
    Px d, s;  // s: the fill colour or the source pixel
    std::uint8_t m1, m2, a;
    Px want;
};
void PrintTo(const InkGolden& g, std::ostream* os) { *os << g.what; }

class InkGoldens : public ::testing::TestWithParam<InkGolden> {};

// A run of 40 equal pixels, so every vector path meets the case too.
TEST_P(InkGoldens, GiveTheWorkedValue) {
    const InkGolden& g = GetParam();
    constexpr std::uint32_t kN = 40;
    for (const auto& path : AvailablePaths()) {
        ScopedPath scope(path.features);
        std::vector<std::uint8_t> row, src, m1(kN, g.m1), m2(kN, g.m2), want;
        for (std::uint32_t i = 0; i < kN; ++i) {
            row.insert(row.end(), g.d.begin(), g.d.end());
            src.insert(src.end(), g.s.begin(), g.s.end());
            want.insert(want.end(), g.want.begin(), g.want.end());
        }
        const RIPKernelCoverage cov{m1.data(), m2.data(), g.a};
        if (g.blit) {
            RIPKernelParams::Blit params;
            params.srcStep = params.dstStep = 4;
            params.channelsPerPixel = 4;
            RIPBlitKernels32[g.mode][g.col](&params, kN, row.data(), src.data(), &cov);
        } else {
            RIPKernelParams::Fill params;
            for (int k = 0; k < 4; ++k) params.color.At(8 + k) = g.s[k];
            RIPFillKernels32[g.mode][g.col](&params, kN, row.data(), &cov);
        }
        EXPECT_EQ(row, want) << path.name;
    }
}

constexpr Px kInk0 = {0, 0, 0, 0};
constexpr Px kInk255 = {255, 255, 255, 255};
constexpr Px kMixed = {100, 200, 0, 255};

INSTANTIATE_TEST_SUITE_P(
    Fills, InkGoldens,
    ::testing::Values(
        // Light-value rows: a colour byte of 0 is full light.
        InkGolden{"add no ink clears", false, kModeAdd, 0, kMixed, kInk0, 0, 0, 0, kInk0},
        InkGolden{"add full ink keeps", false, kModeAdd, 0, kMixed, kInk255, 0, 0, 0, kMixed},
        InkGolden{"add-minus full ink fills", false, kModeAddMinus, 0, kMixed, kInk255, 0, 0, 0, kInk255},
        InkGolden{"add-minus no ink keeps", false, kModeAddMinus, 0, kMixed, kInk0, 0, 0, 0, kMixed},
        InkGolden{"multiply full ink fills", false, kModeMultiply, 0, kMixed, kInk255, 0, 0, 0, kInk255},
        InkGolden{"multiply no ink keeps", false, kModeMultiply, 0, kMixed, kInk0, 0, 0, 0, kMixed},
        InkGolden{"divide by full ink clears", false, kModeDivide, 0, kMixed, kInk255, 0, 0, 0, kInk0},
        // Under coverage the light value moves toward 255: 155 + floor(100·128/255) = 205.
        InkGolden{"divide by full ink at weight 128", false, kModeDivide, 1, {100, 100, 100, 100}, kInk255, 128, 0, 0,
                  {50, 50, 50, 50}},
        InkGolden{"divide by no ink keeps", false, kModeDivide, 1, kMixed, kInk0, 200, 0, 0, kMixed},
        InkGolden{"multiply-inverse no ink fills", false, kModeMultiplyInverse, 0, kMixed, kInk0, 0, 0, 0, kInk255},
        InkGolden{"multiply-inverse full ink keeps", false, kModeMultiplyInverse, 0, kMixed, kInk255, 0, 0, 0, kMixed},
        // Brightness: (0, 0, 0, 200) has V 55, (200, 0, 0, 0) has V 255.
        InkGolden{"lighten takes the brighter colour", false, kModeLighten, 0, {0, 0, 0, 200}, {200, 0, 0, 0}, 0, 0, 0,
                  {200, 0, 0, 0}},
        InkGolden{"darken keeps the darker pixel", false, kModeDarken, 0, {0, 0, 0, 200}, {200, 0, 0, 0}, 0, 0, 0,
                  {0, 0, 0, 200}},
        InkGolden{"lighten keeps on equal brightness", false, kModeLighten, 0, {10, 20, 30, 0}, {10, 50, 60, 0}, 0, 0,
                  0, {10, 20, 30, 0}},
        InkGolden{"darken takes on equal brightness", false, kModeDarken, 0, {10, 20, 30, 0}, {10, 50, 60, 0}, 0, 0, 0,
                  {10, 50, 60, 0}},
        // Lightness: the black byte takes part; (255, 255, 255, 0) gives 127.
        InkGolden{"lightness of no ink keeps", false, kModeLightnessMultiply, 0, kMixed, kInk0, 0, 0, 0, kMixed},
        InkGolden{"lightness of full ink fills", false, kModeLightnessMultiply, 0, kMixed, kInk255, 0, 0, 0, kInk255},
        InkGolden{"lightness 127", false, kModeLightnessMultiply, 0, kInk0, {255, 255, 255, 0}, 0, 0, 0,
                  {127, 127, 127, 127}},
        // Column 5, white Or black writes the weight: the quotient outside row 0.
        InkGolden{"column 5 at 255, 255, 1", false, kModeOr, 5, kInk0, kInk255, 255, 255, 1, {1, 1, 1, 1}},
        InkGolden{"column 5 at 254, 255, 1", false, kModeOr, 5, kInk0, kInk255, 254, 255, 1, kInk0},
        InkGolden{"column 5 full", false, kModeOr, 5, kInk0, kInk255, 255, 255, 255, kInk255},
        InkGolden{"set column 5 at 254, 255, 1", false, kModeSet, 5, kInk0, kInk255, 254, 255, 1, kInk0},
        InkGolden{"set column 5 at 255, 255, 1", false, kModeSet, 5, kInk0, kInk255, 255, 255, 1, {1, 1, 1, 1}},
        InkGolden{"behind fully covered keeps", false, kModeBehind, 1, kMixed, {9, 8, 7, 6}, 255, 0, 0, kMixed},
        InkGolden{"behind uncovered gives the colour", false, kModeBehind, 1, kMixed, {9, 8, 7, 6}, 0, 0, 0,
                  {9, 8, 7, 6}},
        InkGolden{"soft light at 128 keeps", false, kModeSoftLight, 0, kMixed, {128, 128, 128, 128}, 0, 0, 0, kMixed},
        InkGolden{"dodge by 0 keeps, over 0 stays, at sum 256 saturates", false, kModeDodge, 0, {100, 0, 100, 200},
                  {0, 77, 156, 100}, 0, 0, 0, {100, 0, 255, 255}},
        InkGolden{"burn by 255 keeps, over 255 stays, at sum 254 clears", false, kModeBurn, 0, {100, 255, 100, 90},
                  {255, 3, 154, 80}, 0, 0, 0, {100, 255, 0, 0}},
        InkGolden{"difference at constant 0 keeps", false, kModeDifference, 2, kMixed, {9, 8, 7, 6}, 0, 0, 0,
                  kMixed}));

INSTANTIATE_TEST_SUITE_P(
    Blits, InkGoldens,
    ::testing::Values(
        // Adding light never adds ink: e' = min(155 + 155, 255) = 255, stored 0.
        InkGolden{"add", true, kModeAdd, 0, {100, 0, 0, 0}, {100, 0, 0, 0}, 0, 0, 0, kInk0},
        // e' = max(155 + 155 − 255, 0) = 55, stored 200.
        InkGolden{"add-minus", true, kModeAddMinus, 0, {100, 0, 0, 0}, {100, 0, 0, 0}, 0, 0, 0, {200, 0, 0, 0}},
        InkGolden{"divide by full ink clears", true, kModeDivide, 0, kMixed, kInk255, 0, 0, 0, kInk0},
        InkGolden{"divide by no ink keeps", true, kModeDivide, 0, kMixed, kInk0, 0, 0, 0, kMixed},
        InkGolden{"lighten takes the brighter source", true, kModeLighten, 0, {0, 0, 0, 200}, {200, 0, 0, 0}, 0, 0, 0,
                  {200, 0, 0, 0}},
        InkGolden{"darken keeps the darker pixel", true, kModeDarken, 0, {0, 0, 0, 200}, {200, 0, 0, 0}, 0, 0, 0,
                  {0, 0, 0, 200}},
        InkGolden{"lighten keeps on equal brightness", true, kModeLighten, 0, {10, 20, 30, 0}, {10, 50, 60, 0}, 0, 0,
                  0, {10, 20, 30, 0}},
        InkGolden{"darken takes on equal brightness", true, kModeDarken, 0, {10, 20, 30, 0}, {10, 50, 60, 0}, 0, 0, 0,
                  {10, 50, 60, 0}},
        InkGolden{"lightness of pure black is 127", true, kModeLightnessMultiply, 0, kInk0, {0, 0, 0, 255}, 0, 0, 0,
                  {127, 127, 127, 127}},
        InkGolden{"lightness 0 keeps", true, kModeLightnessMultiply, 1, kMixed, kInk0, 200, 0, 0, kMixed},
        // The mask blend is exact on every path: T[255 + 254] = 1.
        InkGolden{"set mask 1 of 255 over 1", true, kModeSet, 1, {1, 1, 1, 1}, kInk255, 1, 0, 0, {1, 1, 1, 1}},
        InkGolden{"set mask 255", true, kModeSet, 1, kMixed, {9, 8, 7, 6}, 255, 0, 0, {9, 8, 7, 6}},
        InkGolden{"set mask 0", true, kModeSet, 1, kMixed, {9, 8, 7, 6}, 0, 0, 0, kMixed},
        InkGolden{"channel 2 writes byte 2 only", true, kModeChannel2, 0, kMixed, {9, 8, 7, 6}, 0, 0, 0,
                  {100, 200, 7, 255}}));

// A weight of 0 changes nothing in any row: the blend returns d, the scaled
// operand adds or takes nothing, Divide adds 0, Lighten and Darken compare
// the pixel with itself, Dissolve never draws below 0. (Behind is the one
// row whose weight belongs to the destination: there 0 gives the operand.)
TEST(InkWeightZero, LeavesEveryRowAlone) {
    constexpr std::uint32_t kN = 64;
    std::mt19937 rng(31);
    std::vector<std::uint8_t> row(4 * kN), src(4 * kN);
    for (auto& b : row) b = static_cast<std::uint8_t>(rng());
    for (auto& b : src) b = static_cast<std::uint8_t>(rng());
    const RIPKernelCoverage cov{nullptr, nullptr, 0};
    for (const auto& path : AvailablePaths()) {
        ScopedPath scope(path.features);
        for (std::uint32_t mode = 0; mode < 36; ++mode) {
            if (mode == kModeBehind) continue;
            for (std::uint32_t c = 0; c < 256; c += 85) {
                std::vector<std::uint8_t> got = row;
                RIPKernelParams::Fill fill;
                for (int k = 0; k < 4; ++k) fill.color.At(8 + k) = static_cast<std::uint8_t>(c + k);
                if (RIPFillKernel k = RIPFillKernels32[mode][kCoverConstant]) k(&fill, kN, got.data(), &cov);
                ASSERT_EQ(got, row) << "fill mode " << mode << " colour " << c << " path " << path.name;
            }
            std::vector<std::uint8_t> got = row;
            RIPKernelParams::Blit blit;
            blit.srcStep = blit.dstStep = 4;
            blit.channelsPerPixel = 4;
            if (RIPBlitKernel k = RIPBlitKernels32[mode][kCoverConstant]) k(&blit, kN, got.data(), src.data(), &cov);
            ASSERT_EQ(got, row) << "blit mode " << mode << " path " << path.name;
        }
    }
}

// Dissolve takes whole pixels, one draw each, below the pixel's weight.
TEST(InkDissolve, TakesWholePixelsWhereTheDrawsFallBelowTheWeight) {
    constexpr std::uint32_t kN = 64;
    for (const std::uint8_t w : {0, 1, 100, 254, 255}) {
        std::vector<std::uint8_t> row(4 * kN, 10), src(4 * kN), mask(kN, w);
        for (std::uint32_t i = 0; i < 4 * kN; ++i) src[i] = static_cast<std::uint8_t>(200 + i % 4);
        const RIPKernelCoverage cov{mask.data(), nullptr, 255};
        RIPKernelRandom draws{4242};
        RIPKernelRandom replay = draws;
        RIPKernelParams::Blit params;
        params.random = &draws;
        RIPBlitKernels32[kModeDissolve][kCoverMask](&params, kN, row.data(), src.data(), &cov);
        for (std::uint32_t i = 0; i < kN; ++i) {
            const bool takes = replay.Draw() < w;
            for (std::uint32_t k = 0; k < 4; ++k) {
                EXPECT_EQ(row[4 * i + k], takes ? 200 + k : 10) << "weight " << int(w) << " pixel " << i;
            }
        }
        EXPECT_EQ(draws.state, replay.state) << "one draw per pixel";
    }
}

// Opaque Multiply of ink is Screen of the stored bytes, in both tables; under
// coverage the fill blends light values and the blit (chan-8's Screen) the
// stored bytes, so their results may differ, by at most 1.
TEST(InkMultiply, FillAndBlitAgreeOpaqueAndWithinOneUnderCoverage) {
    constexpr std::uint32_t kN = 256 * 256;  // every destination byte under every weight
    std::vector<std::uint8_t> d(4 * kN), s(4 * kN), mask(kN);
    for (std::uint32_t i = 0; i < kN; ++i) {
        d[4 * i] = d[4 * i + 1] = d[4 * i + 2] = d[4 * i + 3] = static_cast<std::uint8_t>(i);
        mask[i] = static_cast<std::uint8_t>(i >> 8);
    }
    int widest = 0;
    std::uint32_t differing = 0;
    for (std::uint32_t c = 0; c < 256; c += 15) {
        std::fill(s.begin(), s.end(), static_cast<std::uint8_t>(c));
        RIPKernelParams::Fill fill;
        for (int k = 0; k < 4; ++k) fill.color.At(8 + k) = static_cast<std::uint8_t>(c);
        RIPKernelParams::Blit blit;
        blit.srcStep = blit.dstStep = 4;
        blit.channelsPerPixel = 4;
        const RIPKernelCoverage cov{mask.data(), nullptr, 255};

        std::vector<std::uint8_t> multiply = d, screen = d;
        RIPFillKernels32[kModeMultiply][kCoverOpaque](&fill, kN, multiply.data(), nullptr);
        RIPFillKernels32[kModeScreen][kCoverOpaque](&fill, kN, screen.data(), nullptr);
        EXPECT_EQ(multiply, screen) << "colour " << c;

        std::vector<std::uint8_t> filled = d, blitted = d;
        RIPFillKernels32[kModeMultiply][kCoverMask](&fill, kN, filled.data(), &cov);
        RIPBlitKernels32[kModeMultiply][kCoverMask](&blit, kN, blitted.data(), s.data(), &cov);
        for (std::uint32_t i = 0; i < 4 * kN; ++i) {
            widest = std::max(widest, std::abs(int{filled[i]} - int{blitted[i]}));
            differing += filled[i] != blitted[i];
        }
    }
    EXPECT_EQ(widest, 1);
    EXPECT_GT(differing, 0u);
}

// The kernels the raster library calls by name are the table's.
TEST(InkByName, SetAndCopyAreTheTablesKernels) {
    EXPECT_EQ(RIPFillKernels32[kModeSet][kCoverOpaque], &RIPFillKernelSet32);
    EXPECT_EQ(RIPFillKernels32[kModeDissolve][kCoverOpaque], &RIPFillKernelSet32);
    EXPECT_EQ(RIPBlitKernels32[kModeSet][kCoverOpaque], &RIPBlitKernelCopy32);
    std::uint8_t row[12] = {};
    RIPKernelParams::Fill params;
    params.color.SetU32(8, 0x04030201u);
    RIPFillKernelSet32(&params, 3, row, nullptr);
    EXPECT_EQ(row[0], 1);
    EXPECT_EQ(row[7], 4);
    EXPECT_EQ(row[11], 4);
}

}  // namespace
}  // namespace raster::kernels
