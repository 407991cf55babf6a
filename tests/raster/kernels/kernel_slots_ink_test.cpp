// Every slot of fill-32 and blit-32 that holds a kernel, on every path this
// processor has, at many lengths and byte offsets, against the plain model of
// the ink tables: random rows leaning on the edge values, guard bytes around
// every buffer, the source left as it was, and a fill split in two.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "kernel_paths.h"
#include "kernels/kernel_tables.h"
#include "reference_ink.h"
#include "slot_fixtures.h"

namespace raster::kernels {
namespace {

using testing::AllRows;
using testing::AvailablePaths;
using testing::EdgeBiased;
using testing::Masks;
using testing::Name;
using testing::Row;
using testing::Runs;
using testing::ScopedPath;
using testing::SlotCase;

constexpr std::uint32_t kLengths[] = {0, 1, 3, 4, 5, 7, 8, 9, 15, 16, 17, 31, 33, 129, 257};

// Calls run(col, kernel, n, offset, where) for each column of the row that
// holds a kernel, on every path, length and byte offset.
template <class Kernel, class Run>
void EachCase(const std::array<Kernel, 6>& row, Kernel noOp, Kernel pending, Run run) {
    for (std::uint32_t col = 0; col < 6; ++col) {
        const Kernel kernel = row[col];
        if (!Runs(reinterpret_cast<const void*>(kernel), reinterpret_cast<const void*>(noOp),
                  reinterpret_cast<const void*>(pending))) {
            continue;
        }
        for (const auto& path : AvailablePaths()) {
            ScopedPath scope(path.features);
            for (std::uint32_t n : kLengths) {
                for (std::size_t offset = 0; offset < 8; ++offset) {
                    const std::string where = "column " + std::to_string(col) + " path " + path.name + " n " +
                                              std::to_string(n) + " offset " + std::to_string(offset);
                    run(col, kernel, n, offset, where);
                    if (::testing::Test::HasFatalFailure()) return;
                }
            }
        }
    }
}

class InkFillSlots : public ::testing::TestWithParam<SlotCase> {};

TEST_P(InkFillSlots, MatchTheModelOnEveryPath) {
    const std::uint32_t mode = GetParam().row;
    std::mt19937 rng(3000 + mode);
    EachCase(RIPFillKernels32[mode], kRIPFillNoOp, kRIPFillPending,
             [&](std::uint32_t col, RIPFillKernel kernel, std::uint32_t n, std::size_t offset, const std::string& where) {
                 Row got(4 * n, offset, rng);
                 Row want = got;
                 const Masks masks(n, rng);
                 RIPKernelParams::Fill params;
                 for (int k = 8; k < 12; ++k) params.color.At(k) = EdgeBiased(rng);
                 RIPKernelRandom kernelDraws{static_cast<std::uint32_t>(rng())};
                 RIPKernelRandom modelDraws = kernelDraws;
                 params.random = &kernelDraws;
                 kernel(&params, n, got.Run(), col == 0 ? nullptr : &masks.cov);
                 reference::Fill32(mode, col, params.color.bytes + 8, want.Run(), n, masks.cov, modelDraws);
                 ASSERT_EQ(got.bytes, want.bytes) << where;
                 ASSERT_EQ(kernelDraws.state, modelDraws.state) << where;

                 // Split in two, the second call going on from the first.
                 Row split(4 * n, offset, rng);
                 Row whole = split;
                 const std::uint32_t k = n / 3;
                 RIPKernelRandom splitDraws{77}, wholeDraws{77};
                 params.random = &splitDraws;
                 const RIPKernelCoverage first = masks.At(0), second = masks.At(k);
                 kernel(&params, k, split.Run(), col == 0 ? nullptr : &first);
                 kernel(&params, n - k, split.Run() + 4 * k, col == 0 ? nullptr : &second);
                 params.random = &wholeDraws;
                 kernel(&params, n, whole.Run(), col == 0 ? nullptr : &masks.cov);
                 ASSERT_EQ(split.bytes, whole.bytes) << where << " split at " << k;
             });
}

class InkBlitSlots : public ::testing::TestWithParam<SlotCase> {};

TEST_P(InkBlitSlots, MatchTheModelOnEveryPath) {
    const std::uint32_t mode = GetParam().row;
    std::mt19937 rng(4000 + mode);
    EachCase(RIPBlitKernels32[mode], kRIPBlitNoOp, kRIPBlitPending,
             [&](std::uint32_t col, RIPBlitKernel kernel, std::uint32_t n, std::size_t offset, const std::string& where) {
                 Row got(4 * n, offset, rng);
                 Row want = got;
                 Row src(4 * n, (offset * 5) % 8, rng);
                 const std::vector<std::uint8_t> srcBefore = src.bytes;
                 const Masks masks(n, rng);
                 // The setup runs the chan-8 rows of this table a whole pixel a step.
                 RIPKernelParams::Blit params;
                 params.srcStep = params.dstStep = 4;
                 params.channelsPerPixel = 4;
                 RIPKernelRandom kernelDraws{static_cast<std::uint32_t>(rng())};
                 RIPKernelRandom modelDraws = kernelDraws;
                 params.random = &kernelDraws;
                 kernel(&params, n, got.Run(), src.Run(), col == 0 ? nullptr : &masks.cov);
                 reference::Blit32(mode, col, want.Run(), src.Run(), n, masks.cov, modelDraws);
                 ASSERT_EQ(got.bytes, want.bytes) << where;
                 ASSERT_EQ(src.bytes, srcBefore) << where;
                 ASSERT_EQ(kernelDraws.state, modelDraws.state) << where;
             });
}

INSTANTIATE_TEST_SUITE_P(Fill32, InkFillSlots, ::testing::ValuesIn(AllRows("fill-32")), Name);
INSTANTIATE_TEST_SUITE_P(Blit32, InkBlitSlots, ::testing::ValuesIn(AllRows("blit-32")), Name);

// Every pair of destination and source byte, spread over the four byte
// lanes, through each vector path against the plain path, for each own
// blit-32 slot (chan-8's have their own test) and for fills across the
// colour range: the vector arithmetic is exact everywhere.
TEST(InkVectorPairs, EveryPairGivesThePlainBytes) {
    constexpr std::uint32_t kPixels = 256 * 256 / 4;
    std::vector<std::uint8_t> d(4 * kPixels), s(4 * kPixels), m1(kPixels), m2(kPixels);
    for (std::uint32_t i = 0; i < kPixels; ++i) {
        for (std::uint32_t k = 0; k < 4; ++k) {
            const std::uint32_t pair = i + kPixels * k;
            d[4 * i + k] = static_cast<std::uint8_t>(pair);
            s[4 * i + k] = static_cast<std::uint8_t>(pair >> 8);
        }
        m1[i] = static_cast<std::uint8_t>(i * 7 + (i >> 8));
        m2[i] = static_cast<std::uint8_t>(255 - (i >> 3));
    }
    const auto fromChannel8 = [](RIPBlitKernel kernel, std::uint32_t col) {
        for (std::uint32_t m = 0; m < 36; ++m) {
            if (RIPChannelKernels8[m][col] == kernel) return true;
        }
        return false;
    };
    const RIPKernelCoverage cov{m1.data(), m2.data(), 200};
    const auto paths = AvailablePaths();
    for (std::uint32_t mode = 0; mode < 36; ++mode) {
        for (std::uint32_t col = 0; col < 6; ++col) {
            if (mode == kModeDissolve) continue;
            const RIPBlitKernel blitKernel = RIPBlitKernels32[mode][col];
            if (blitKernel != nullptr && blitKernel != kRIPBlitNoOp && !fromChannel8(blitKernel, col)) {
                RIPKernelParams::Blit params;
                std::vector<std::uint8_t> plain = d;
                {
                    ScopedPath scope(0);
                    blitKernel(&params, kPixels, plain.data(), s.data(), &cov);
                }
                for (const auto& path : paths) {
                    ScopedPath scope(path.features);
                    std::vector<std::uint8_t> got = d;
                    blitKernel(&params, kPixels, got.data(), s.data(), &cov);
                    ASSERT_EQ(got, plain) << "blit mode " << mode << " column " << col << " path " << path.name;
                }
            }
            if (const RIPFillKernel kernel = RIPFillKernels32[mode][col]; kernel != nullptr && kernel != kRIPFillNoOp) {
                for (std::uint32_t c = 0; c < 256; c += 51) {
                    RIPKernelParams::Fill params;
                    for (int k = 0; k < 4; ++k) params.color.At(8 + k) = static_cast<std::uint8_t>(c + 17 * k);
                    constexpr std::uint32_t kRun = 1024;  // every destination byte in each lane
                    std::vector<std::uint8_t> plain(d.begin(), d.begin() + 4 * kRun);
                    {
                        ScopedPath scope(0);
                        kernel(&params, kRun, plain.data(), &cov);
                    }
                    for (const auto& path : paths) {
                        ScopedPath scope(path.features);
                        std::vector<std::uint8_t> got(d.begin(), d.begin() + 4 * kRun);
                        kernel(&params, kRun, got.data(), &cov);
                        ASSERT_EQ(got, plain) << "fill mode " << mode << " column " << col << " colour " << c
                                              << " path " << path.name;
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace raster::kernels
