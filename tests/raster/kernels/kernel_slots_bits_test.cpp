// The bilevel tables against a model over one value per pixel: every
// operation and column at every destination and source bit offset 0..7 and
// every length 0..40, guard bytes around every row; and the paletted fill
// against a model that searches every entry, for the standard palette, a
// palette with a nearest-colour cache, one without, and a short palette
// whose pixels name no entry.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "kernels/kernel_tables.h"
#include "raster/palette.h"
#include "reference_bits.h"
#include "slot_fixtures.h"

namespace raster::kernels {
namespace {

using testing::AllRows;
using testing::Masks;
using testing::Name;
using testing::Row;
using testing::SlotCase;

constexpr std::uint32_t kMaxBits = 40;

// Rows 0-6 are the seven operations; every other row holds one of their
// kernels (the table test shows which), so a few lengths suffice for them.
std::vector<std::uint32_t> LengthsFor(std::uint32_t mode) {
    std::vector<std::uint32_t> lengths;
    if (mode <= 6) {
        for (std::uint32_t n = 0; n <= kMaxBits; ++n) lengths.push_back(n);
    } else {
        lengths = {0, 1, 9, 40};
    }
    return lengths;
}

std::string Where(std::uint32_t col, std::uint32_t n, std::uint32_t dOff, std::uint32_t sOff) {
    return "column " + std::to_string(col) + " n " + std::to_string(n) + " offsets " + std::to_string(dOff) + "/" +
           std::to_string(sOff);
}

class BitFillSlots : public ::testing::TestWithParam<SlotCase> {};

TEST_P(BitFillSlots, MatchTheModelAtEveryOffset) {
    const std::uint32_t mode = GetParam().row;
    std::mt19937 rng(8000 + mode);
    for (std::uint32_t col = 0; col < 6; ++col) {
        const RIPFillKernel kernel = RIPFillKernels1[mode][col];
        if (kernel == nullptr || kernel == kRIPFillNoOp) continue;
        for (std::uint32_t n : LengthsFor(mode)) {
            for (std::uint32_t offset = 0; offset < 8; ++offset) {
                for (const std::uint32_t k : {0u, 1u, 0x80000000u}) {
                    Row got((offset + n + 7) / 8, 0, rng);
                    Row want = got;
                    Masks masks(n, rng);
                    if (rng() % 4 == 0) masks.cov.opacity = 0;
                    const RIPKernelCoverage before = masks.cov;
                    RIPKernelParams::Fill params;
                    params.bitOffset = offset;
                    params.color.SetU32(8, k);
                    kernel(&params, n, got.Run(), col == 0 ? nullptr : &masks.cov);
                    reference::Fill1(mode, col, k, want.Run(), offset, n, masks.cov);
                    const std::string where = Where(col, n, offset, 0) + " colour " + std::to_string(k);
                    ASSERT_EQ(got.bytes, want.bytes) << where;
                    // The coverage record is read, never moved.
                    ASSERT_EQ(masks.cov.mask1, before.mask1) << where;
                    ASSERT_EQ(masks.cov.mask2, before.mask2) << where;
                }
            }
        }
    }
}

class BitBlitSlots : public ::testing::TestWithParam<SlotCase> {};

TEST_P(BitBlitSlots, MatchTheModelAtEveryOffsetPair) {
    const std::uint32_t mode = GetParam().row;
    std::mt19937 rng(9000 + mode);
    for (std::uint32_t col = 0; col < 6; ++col) {
        const RIPBlitKernel kernel = RIPBlitKernels1[mode][col];
        if (kernel == nullptr || kernel == kRIPBlitNoOp) continue;
        for (std::uint32_t n : LengthsFor(mode)) {
            for (std::uint32_t dOff = 0; dOff < 8; ++dOff) {
                for (std::uint32_t sOff = 0; sOff < 8; ++sOff) {
                    Row got((dOff + n + 7) / 8, 0, rng);
                    Row want = got;
                    Row src((sOff + n + 7) / 8, 0, rng);
                    const std::vector<std::uint8_t> srcBefore = src.bytes;
                    Masks masks(n, rng);
                    if (rng() % 4 == 0) masks.cov.opacity = 0;
                    RIPKernelParams::Blit params;
                    params.dstBitOffset = dOff;
                    params.srcBitOffset = sOff;
                    kernel(&params, n, got.Run(), src.Run(), col == 0 ? nullptr : &masks.cov);
                    reference::Blit1(mode, col, want.Run(), dOff, src.Run(), sOff, n, masks.cov);
                    ASSERT_EQ(got.bytes, want.bytes) << Where(col, n, dOff, sOff);
                    ASSERT_EQ(src.bytes, srcBefore) << Where(col, n, dOff, sOff);
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Fill1, BitFillSlots, ::testing::ValuesIn(AllRows("fill-1")), Name);
INSTANTIATE_TEST_SUITE_P(Blit1, BitBlitSlots, ::testing::ValuesIn(AllRows("blit-1")), Name);

// Long runs: whole bytes at every offset pair, for the seven operations.
TEST(BitBlitSlots, LongRunsMatchTheModel) {
    std::mt19937 rng(9500);
    for (std::uint32_t mode = 0; mode <= 6; ++mode) {
        for (std::uint32_t n : {64u, 257u, 1000u}) {
            for (std::uint32_t dOff = 0; dOff < 8; ++dOff) {
                const std::uint32_t sOff = (dOff * 3 + n) % 8;
                Row got((dOff + n + 7) / 8, 0, rng);
                Row want = got;
                Row src((sOff + n + 7) / 8, 0, rng);
                RIPKernelParams::Blit params;
                params.dstBitOffset = dOff;
                params.srcBitOffset = sOff;
                RIPBlitKernels1[mode][kCoverOpaque](&params, n, got.Run(), src.Run(), nullptr);
                reference::Blit1(mode, 0, want.Run(), dOff, src.Run(), sOff, n, RIPKernelCoverage{});
                ASSERT_EQ(got.bytes, want.bytes) << "mode " << mode << " " << Where(0, n, dOff, sOff);
            }
        }
    }
}

using PalettePtr = std::unique_ptr<RIPPalette, int (*)(RIPPalette*)>;

struct PaletteCase {
    std::string name;
    int kind, count;
    bool cache;
};
void PrintTo(const PaletteCase& c, std::ostream* os) { *os << c.name; }

PalettePtr MakePalette(const PaletteCase& c) {
    PalettePtr palette(RIPCreatePalette(c.kind, c.count), RIPDestroyPalette);
    if (c.kind == kPaletteCustom) {
        for (int i = 0; i < c.count; ++i) {
            // Repeated entries give ties, which the lowest index wins.
            const int base = i % 5 == 4 ? i - 1 : i;
            std::mt19937 entry(static_cast<std::uint32_t>(base));
            RIPSetPaletteEntry(palette.get(), i, static_cast<int>(entry() % 256), static_cast<int>(entry() % 256),
                               static_cast<int>(entry() % 256));
        }
    }
    if (c.cache) {
        EXPECT_EQ(RIPBuildInverseTable(palette.get(), kPalCacheNearest), 1);
    }
    return palette;
}

class PalettedFillSlots : public ::testing::TestWithParam<PaletteCase> {};

TEST_P(PalettedFillSlots, MatchTheModel) {
    std::mt19937 rng(10000);
    const PalettePtr palette = MakePalette(GetParam());
    for (const std::uint32_t mode : {0u, 18u}) {
        for (std::uint32_t col = 0; col < 6; ++col) {
            for (std::uint32_t n : {0u, 1u, 7u, 16u, 33u, 257u}) {
                Row got(n, 0, rng);
                Row want = got;
                const Masks masks(n, rng);
                RIPKernelParams::Fill params;
                params.palette = palette.get();
                params.color.At(8) = static_cast<std::uint8_t>(rng() % 256);
                RIPFillKernelsP8[mode][col](&params, n, got.Run(), col == 0 ? nullptr : &masks.cov);
                reference::FillP8(col, params.color.At(8), *palette, want.Run(), n, masks.cov);
                ASSERT_EQ(got.bytes, want.bytes) << "row " << mode << " column " << col << " n " << n;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(FillP8, PalettedFillSlots,
                         ::testing::Values(PaletteCase{"standard", kPaletteStandard, 0, false},
                                           PaletteCase{"cached", kPaletteCustom, 40, true},
                                           PaletteCase{"uncached", kPaletteCustom, 40, false},
                                           PaletteCase{"short", kPaletteCustom, 9, false},
                                           PaletteCase{"greys", kPaletteGreyRamp, 0, true}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace raster::kernels
