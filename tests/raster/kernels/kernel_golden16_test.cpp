// Worked values of the 16-bit-sample kernels and their two divisions: the
// blend at the weights that show it is not x/255, the products at the ends,
// Divide's clamp, Dodge and Burn, the column-5 weight; q checked over its
// whole range and p at its branch point, its ends and random products.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "kernels/direct_kernels.h"
#include "kernels/kernel_tables.h"
#include "kernels/quotients16.h"
#include "reference16.h"

namespace raster::kernels {
namespace {

std::uint16_t Sample(const std::vector<std::uint8_t>& row, std::size_t i) {
    return static_cast<std::uint16_t>(row[2 * i] | (row[2 * i + 1] << 8));
}
std::vector<std::uint8_t> Samples(std::size_t n, std::uint16_t v) {
    std::vector<std::uint8_t> row(2 * n);
    for (std::size_t i = 0; i < n; ++i) {
        row[2 * i] = static_cast<std::uint8_t>(v);
        row[2 * i + 1] = static_cast<std::uint8_t>(v >> 8);
    }
    return row;
}

// Destination 0 toward 65535: every kernel that blends by the weight.
TEST(Blend16Golden, BlackTowardWhiteAtTheEdgeWeights) {
    const std::pair<std::uint8_t, std::uint16_t> cases[] = {{1, 257}, {128, 32896}, {254, 65278}, {255, 65535}, {0, 0}};
    for (const auto& [w, want] : cases) {
        std::vector<std::uint8_t> mask(3, w);
        const RIPKernelCoverage cov{mask.data(), nullptr, 255};
        RIPKernelParams::Fill fill;
        fill.color.SetU16(6, 65535);
        fill.color.SetU16(8, 65535);
        fill.color.SetU16(10, 65535);
        RIPKernelParams::Blit blit;
        blit.srcStep = blit.dstStep = 2;

        std::vector<std::uint8_t> grey = Samples(1, 0), rgb = Samples(3, 0), white = Samples(3, 65535);
        RIPFillKernels16[kModeSet][kCoverMask](&fill, 1, grey.data(), &cov);
        EXPECT_EQ(Sample(grey, 0), want) << "fill-16 weight " << int(w);
        RIPFillKernels48[kModeSet][kCoverMask](&fill, 1, rgb.data(), &cov);
        EXPECT_EQ(Sample(rgb, 2), want) << "fill-48 weight " << int(w);

        grey = Samples(1, 0), rgb = Samples(3, 0);
        RIPBlitKernels16[kModeSet][kCoverMask](&blit, 1, grey.data(), white.data(), &cov);
        EXPECT_EQ(Sample(grey, 0), want) << "blit-16 weight " << int(w);
        RIPBlitKernels48[kModeChannel1][kCoverMask](&blit, 1, rgb.data(), white.data(), &cov);
        EXPECT_EQ(Sample(rgb, 1), want) << "blit-48 channel 1 weight " << int(w);
        EXPECT_EQ(Sample(rgb, 0), 0) << "blit-48 channel 1 leaves sample 0";
        EXPECT_EQ(Sample(rgb, 2), 0) << "blit-48 channel 1 leaves sample 2";

        grey = Samples(1, 0);
        RIPChannelKernels16[kModeSet][kCoverMask](&blit, 1, grey.data(), white.data(), &cov);
        EXPECT_EQ(Sample(grey, 0), want) << "chan-16 weight " << int(w);
    }
}

struct Channel16Golden {
    const char* what;
    std::uint32_t mode, col;
    std::uint16_t d, s;
    std::uint8_t m1, m2, a;
    std::uint16_t want;
};
void PrintTo(const Channel16Golden& g, std::ostream* os) { *os << g.what; }

class Channel16Goldens : public ::testing::TestWithParam<Channel16Golden> {};

TEST_P(Channel16Goldens, GiveTheWorkedValue) {
    const Channel16Golden& g = GetParam();
    std::vector<std::uint8_t> dst = Samples(1, g.d);
    const std::vector<std::uint8_t> src = Samples(1, g.s);
    RIPKernelParams::Blit params;
    params.srcStep = params.dstStep = 2;
    const RIPKernelCoverage cov{&g.m1, &g.m2, g.a};
    RIPChannelKernels16[g.mode][g.col](&params, 1, dst.data(), src.data(), &cov);
    EXPECT_EQ(Sample(dst, 0), g.want);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, Channel16Goldens,
    ::testing::Values(
        // q(254·60000) = 59765, one above floor(254·60000 / 255).
        Channel16Golden{"blend 60000 toward 0 by 1", kModeSet, 1, 60000, 0, 1, 0, 0, 59765},
        Channel16Golden{"blend 65535 toward 0 by 1", kModeSet, 1, 65535, 0, 1, 0, 0, 65278},
        Channel16Golden{"multiply white by white", kModeMultiply, 0, 65535, 65535, 0, 0, 0, 65535},
        Channel16Golden{"multiply by white", kModeMultiply, 0, 12345, 65535, 0, 0, 0, 12345},
        Channel16Golden{"multiply 1 by 1", kModeMultiply, 0, 1, 1, 0, 0, 0, 0},
        Channel16Golden{"divide by 0", kModeDivide, 0, 40000, 0, 0, 0, 0, 65535},
        Channel16Golden{"divide clamps", kModeDivide, 0, 40000, 20000, 0, 0, 0, 65535},
        Channel16Golden{"divide under coverage blends the quotient", kModeDivide, 1, 0, 0, 128, 0, 0, 32896},
        Channel16Golden{"dodge", kModeDodge, 0, 40000, 100, 0, 0, 0, 40061},
        Channel16Golden{"burn", kModeBurn, 0, 20000, 100, 0, 0, 0, 0},
        Channel16Golden{"burn by white keeps", kModeBurn, 0, 20000, 65535, 0, 0, 0, 20000},
        Channel16Golden{"dodge by 0 keeps", kModeDodge, 0, 20000, 0, 0, 0, 0, 20000},
        Channel16Golden{"darken of equals writes", kModeDarken, 1, 777, 777, 200, 0, 0, 777},
        // Column 5 is the quotient weight in every row, Set included.
        Channel16Golden{"set column 5 at 255, 255, 1", kModeSet, 5, 0, 65535, 255, 255, 1, 257},
        Channel16Golden{"set column 5 at 254, 255, 1", kModeSet, 5, 0, 65535, 254, 255, 1, 0},
        Channel16Golden{"behind uncovered", kModeBehind, 1, 100, 900, 0, 0, 0, 900},
        Channel16Golden{"behind covered", kModeBehind, 1, 100, 900, 255, 0, 0, 100},
        Channel16Golden{"overlay does nothing", kModeOverlay, 1, 100, 900, 255, 0, 0, 100},
        Channel16Golden{"dissolve at weight 0 never takes", kModeDissolve, 1, 100, 900, 0, 0, 0, 100},
        Channel16Golden{"dissolve at weight 255 always takes", kModeDissolve, 1, 100, 900, 255, 0, 0, 900}));

TEST(Set16ByName, AreTheTablesKernels) {
    EXPECT_EQ(RIPFillKernels16[kModeSet][kCoverOpaque], &RIPFillKernelSet16);
    EXPECT_EQ(RIPFillKernels48[kModeSet][kCoverOpaque], &RIPFillKernelSet48);
    EXPECT_EQ(RIPBlitKernels16[kModeSet][kCoverOpaque], &RIPBlitKernelCopy16);
    EXPECT_EQ(RIPBlitKernels48[kModeSet][kCoverOpaque], &RIPBlitKernelCopy48);
    std::vector<std::uint8_t> row(2 * 5 + 2, 0xEE);
    RIPKernelParams::Fill params;
    params.color.SetU16(8, 0x1234);
    RIPFillKernelSet16(&params, 5, row.data(), nullptr);  // an odd count ends with one 16-bit store
    EXPECT_EQ(Sample(row, 4), 0x1234);
    EXPECT_EQ(row[10], 0xEE);
}

// q for every argument it can be given, against a running quotient and
// remainder of 65536·x by 255·65535 (no division, so the sweep stays quick).
TEST(Quotients16, BlendQuotientIsExactOverItsWholeRange) {
    constexpr std::uint32_t kLast = 255u * 65535u;
    std::uint32_t quotient = 0, remainder = 0, wrong = 0, firstWrong = 0;
    for (std::uint32_t x = 0; x <= kLast; ++x) {
        const std::uint32_t want = quotient > 65535 ? 65535 : quotient;  // only x = kLast reaches 65536
        if (RIPBlendQuotient16(x) != want && wrong++ == 0) {
            firstWrong = x;
        }
        remainder += 65536;
        if (remainder >= kLast) {
            remainder -= kLast;
            ++quotient;
        }
    }
    EXPECT_EQ(wrong, 0u) << "first at " << firstWrong;
    EXPECT_EQ(RIPBlendQuotient16(kLast), 65535u);
    EXPECT_EQ(RIPBlendQuotient16(255 * 258 - 1), 258u);  // where it first exceeds floor(x / 255)
    EXPECT_EQ(RIPBlendQuotient16(255 * 258 - 1), reference::Q16(255 * 258 - 1));
}

// p at the point where its chain changes, at the ends and at whole multiples,
// and on random products of two samples.
TEST(Quotients16, ProductQuotientAtItsBoundariesAndOnRandomProducts) {
    std::vector<std::uint32_t> xs = {0, 1, 2, 65534, 65535, 65536, 65535u * 65535u - 1, 65535u * 65535u};
    for (std::uint32_t k = 0; k < 8; ++k) {
        xs.push_back(32767u * 65536u - 4 + k);
    }
    for (std::uint32_t v = 0; v <= 65535; v += 257) {
        xs.push_back(65535u * v);
        if (v != 0) xs.push_back(65535u * v - 1);
    }
    for (std::uint32_t x : xs) {
        ASSERT_EQ(RIPProductQuotient16(x), reference::P16(x)) << x;
    }
    std::mt19937 rng(16);
    for (int i = 0; i < (1 << 18); ++i) {
        const std::uint32_t d = rng() & 0xFFFF, s = rng() & 0xFFFF;
        ASSERT_EQ(RIPProductQuotient16(d * s), reference::P16(std::uint64_t{d} * s)) << d << " · " << s;
        const std::uint32_t x = static_cast<std::uint32_t>(std::uint64_t{rng()} * (65535u * 65535u) >> 32);
        ASSERT_EQ(RIPProductQuotient16(x), reference::P16(x)) << x;
    }
}

}  // namespace
}  // namespace raster::kernels
