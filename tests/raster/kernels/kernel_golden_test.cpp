// Worked values of the merge modes: the branch points, the extremes of Dodge
// and Burn, Divide's unclamped quotient, the two forms of column 5, Behind,
// and Dissolve against a replayed sequence of draws.
#include <gtest/gtest.h>

#include <vector>

#include "kernel_paths.h"
#include "kernels/kernel_tables.h"

namespace raster::kernels {
namespace {

using testing::AvailablePaths;
using testing::ScopedPath;

struct Golden {
    const char* what;
    std::uint32_t mode, col;
    std::uint8_t d, c, m1, m2, a;
    std::uint8_t want;
};

void PrintTo(const Golden& g, std::ostream* os) { *os << g.what; }

class GreyFillGolden : public ::testing::TestWithParam<Golden> {};

// A run of 40 equal pixels, so the vector paths meet the case too.
TEST_P(GreyFillGolden, GivesTheWorkedValue) {
    const Golden& g = GetParam();
    constexpr std::uint32_t kN = 40;
    for (const auto& path : AvailablePaths()) {
        ScopedPath scope(path.features);
        std::vector<std::uint8_t> row(kN, g.d), m1(kN, g.m1), m2(kN, g.m2);
        RIPKernelParams::Fill params;
        params.color.At(8) = g.c;
        const RIPKernelCoverage cov{m1.data(), m2.data(), g.a};
        RIPFillKernels8[g.mode][g.col](&params, kN, row.data(), &cov);
        EXPECT_EQ(row, std::vector<std::uint8_t>(kN, g.want)) << path.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, GreyFillGolden,
    ::testing::Values(
        // Divide adds the weighted gap to the unclamped quotient: 200 + 411, clamped.
        Golden{"divide 200 by 50 at weight 128", kModeDivide, 1, 200, 50, 128, 0, 0, 255},
        Golden{"divide by 0 at weight 128", kModeDivide, 1, 100, 0, 128, 0, 0, 177},
        Golden{"divide by 0 opaque", kModeDivide, 0, 100, 0, 0, 0, 0, 255},
        Golden{"divide by 255 opaque", kModeDivide, 0, 100, 255, 0, 0, 0, 100},
        Golden{"divide 0 opaque", kModeDivide, 0, 0, 7, 0, 0, 0, 0},
        Golden{"divide with no weight", kModeDivide, 1, 90, 0, 0, 0, 0, 90},
        // Column 5: T[T[2·200]·162] = 0 for Set, floor(64800 / 64771) = 1 elsewhere.
        Golden{"set column 5 at 2, 200, 162", kModeSet, 5, 0, 255, 2, 200, 162, 0},
        Golden{"or column 5 at 2, 200, 162", kModeOr, 5, 0, 255, 2, 200, 162, 1},
        Golden{"or column 5 at 254, 255, 1", kModeOr, 5, 0, 255, 254, 255, 1, 0},
        Golden{"or column 5 full", kModeOr, 5, 0, 255, 255, 255, 255, 255},
        // Overlay tests d, HardLight the colour, both against 128.
        Golden{"overlay at d 127", kModeOverlay, 0, 127, 200, 0, 0, 0, 199},
        Golden{"overlay at d 128", kModeOverlay, 0, 128, 200, 0, 0, 0, 201},
        Golden{"hard light at c 127", kModeHardLight, 0, 200, 127, 0, 0, 0, 199},
        Golden{"hard light at c 128", kModeHardLight, 0, 200, 128, 0, 0, 0, 201},
        // SoftLight: c = 127 blends the low curve toward d by 254, c = 128 is d.
        Golden{"soft light at c 127", kModeSoftLight, 0, 100, 127, 0, 0, 0, 99},
        Golden{"soft light at c 128", kModeSoftLight, 0, 100, 128, 0, 0, 0, 100},
        Golden{"soft light at c 0", kModeSoftLight, 0, 100, 0, 0, 0, 0, 39},
        Golden{"soft light at c 255", kModeSoftLight, 0, 100, 255, 0, 0, 0, 159},
        Golden{"dodge white over 1", kModeDodge, 0, 1, 255, 0, 0, 0, 255},
        Golden{"dodge white over 0", kModeDodge, 0, 0, 255, 0, 0, 0, 0},
        Golden{"dodge at sum 255", kModeDodge, 0, 100, 155, 0, 0, 0, 253},
        Golden{"dodge at sum 256", kModeDodge, 0, 100, 156, 0, 0, 0, 255},
        Golden{"burn black over 254", kModeBurn, 0, 254, 0, 0, 0, 0, 0},
        Golden{"burn black over 255", kModeBurn, 0, 255, 0, 0, 0, 0, 255},
        Golden{"burn at sum 254", kModeBurn, 0, 100, 154, 0, 0, 0, 0},
        // Behind: the weight keeps the destination.
        Golden{"behind fully covered", kModeBehind, 1, 10, 200, 255, 0, 0, 10},
        Golden{"behind uncovered", kModeBehind, 1, 10, 200, 0, 0, 0, 200},
        Golden{"add with no weight", kModeAdd, 1, 10, 200, 0, 0, 0, 10},
        Golden{"add-minus with no weight", kModeAddMinus, 2, 10, 200, 0, 0, 0, 10},
        Golden{"lighten never darkens", kModeLighten, 4, 150, 20, 200, 0, 90, 150},
        Golden{"darken never lightens", kModeDarken, 3, 20, 150, 200, 255, 0, 20}));

// Dodge in a channel kernel decides per sample, across three channels.
TEST(ChannelGolden, DodgeDecidesPerSample) {
    std::uint8_t dst[3] = {100, 100, 0};
    const std::uint8_t src[3] = {155, 156, 200};
    RIPKernelParams::Blit params;
    params.srcStep = params.dstStep = 3;
    params.channelsPerPixel = 3;
    RIPChannelKernels8[kModeDodge][kCoverOpaque](&params, 1, dst, src, nullptr);
    EXPECT_EQ(dst[0], 253);
    EXPECT_EQ(dst[1], 255);
    EXPECT_EQ(dst[2], 0);
}

// In channel mode only the selected byte of each pixel changes.
TEST(ChannelGolden, ChannelModeTouchesOneBytePerPixel) {
    std::vector<std::uint8_t> dst(4 * 5, 7);
    const std::vector<std::uint8_t> src = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    RIPKernelParams::Blit params;
    params.srcStep = 3;
    params.dstStep = 4;
    params.channelsPerPixel = 1;
    RIPChannelKernels8[kModeAdd][kCoverOpaque](&params, 5, dst.data() + 2, src.data() + 1, nullptr);
    for (std::size_t i = 0; i < dst.size(); ++i) {
        EXPECT_EQ(dst[i], i % 4 == 2 ? 7 + src[(i / 4) * 3 + 1] : 7) << i;
    }
}

// Dissolve paints where the pixel's draw lies below its weight: one draw per
// pixel in a grey fill, one per sample in a channel kernel.
TEST(DissolveGolden, PaintsExactlyWhereTheDrawsFallBelowTheWeight) {
    constexpr std::uint32_t kN = 64;
    const std::uint8_t weights[] = {0, 1, 100, 254, 255};
    for (std::uint8_t w : weights) {
        std::vector<std::uint8_t> row(kN, 10), mask(kN, w);
        RIPKernelRandom draws{12345};
        RIPKernelRandom replay = draws;
        RIPKernelParams::Fill params;
        params.color.At(8) = 200;
        params.random = &draws;
        const RIPKernelCoverage cov{mask.data(), nullptr, 255};
        RIPFillKernels8[kModeDissolve][kCoverMask](&params, kN, row.data(), &cov);
        for (std::uint32_t i = 0; i < kN; ++i) {
            EXPECT_EQ(row[i], replay.Draw() < w ? 200 : 10) << "weight " << int(w) << " pixel " << i;
        }
        EXPECT_EQ(draws.state, replay.state) << "one draw per pixel";
    }

    std::vector<std::uint8_t> dst(3 * kN, 10), src(3 * kN, 200), mask(kN, 128);
    RIPKernelRandom draws{999};
    RIPKernelRandom replay = draws;
    RIPKernelParams::Blit params;
    params.srcStep = params.dstStep = 3;
    params.channelsPerPixel = 3;
    params.random = &draws;
    const RIPKernelCoverage cov{mask.data(), nullptr, 255};
    RIPChannelKernels8[kModeDissolve][kCoverMask](&params, kN, dst.data(), src.data(), &cov);
    for (std::uint32_t i = 0; i < kN; ++i) {
        for (int ch = 2; ch >= 0; --ch) {  // highest channel draws first
            EXPECT_EQ(dst[3 * i + ch], replay.Draw() < 128 ? 200 : 10) << "pixel " << i << " channel " << ch;
        }
    }
}

TEST(DissolveGolden, ContextWithoutSourceDrawsFromTheThreadsOwn) {
    std::vector<std::uint8_t> row(16, 10), mask(16, 255);
    RIPKernelParams::Fill params;
    params.color.At(8) = 200;
    const RIPKernelCoverage cov{mask.data(), nullptr, 255};
    RIPFillKernels8[kModeDissolve][kCoverMask](&params, 16, row.data(), &cov);
    EXPECT_EQ(row, std::vector<std::uint8_t>(16, 200));
}

// Whole-pixel blit rows of 8-bit grey give the channel kernels' results.
TEST(BlitGolden, ModeZeroColumnsBlendTowardTheSource) {
    for (const auto& path : AvailablePaths()) {
        ScopedPath scope(path.features);
        std::vector<std::uint8_t> dst(48, 0), src(48, 255), m1(48, 128), m2(48, 255);
        RIPKernelParams::Blit params;
        const RIPKernelCoverage cov{m1.data(), m2.data(), 255};
        RIPBlitKernels8[kModeSet][kCoverMaskMask](&params, 48, dst.data(), src.data(), &cov);
        EXPECT_EQ(dst, std::vector<std::uint8_t>(48, 128)) << path.name;
    }
}

}  // namespace
}  // namespace raster::kernels
