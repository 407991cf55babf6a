// Every slot of fill-8, chan-8, blit-8 and blit-P8 that holds a
// kernel, run on every path this processor has, at many lengths and
// destination offsets, against the plain model: random rows leaning on the
// edge values, guard bytes around every buffer, and a run split in two.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kernel_paths.h"
#include "slot_fixtures.h"
#include "kernels/kernel_tables.h"
#include "reference.h"

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

constexpr std::uint32_t kLengths[] = {0, 1, 7, 8, 9, 15, 16, 17, 23, 24, 25, 31, 33, 257};
class FillSlots : public ::testing::TestWithParam<SlotCase> {};

TEST_P(FillSlots, MatchTheModelOnEveryPath) {
    const auto& table = RIPFillKernels8;
    const std::uint32_t mode = GetParam().row;
    std::mt19937 rng(1000 + mode);
    for (std::uint32_t col = 0; col < 6; ++col) {
        const RIPFillKernel kernel = table[mode][col];
        if (!Runs(reinterpret_cast<const void*>(kernel), reinterpret_cast<const void*>(kRIPFillNoOp),
                  reinterpret_cast<const void*>(kRIPFillPending))) {
            continue;
        }
        for (const auto& path : AvailablePaths()) {
            ScopedPath scope(path.features);
            for (std::uint32_t n : kLengths) {
                for (std::size_t offset = 0; offset < 8; ++offset) {
                    const std::string where = "column " + std::to_string(col) + " path " + path.name + " n " +
                                              std::to_string(n) + " offset " + std::to_string(offset);
                    Row got(n, offset, rng);
                    Row want = got;
                    const Masks masks(n, rng);
                    RIPKernelParams::Fill params;
                    params.color.At(8) = EdgeBiased(rng);
                    RIPKernelRandom kernelDraws{static_cast<std::uint32_t>(rng())};
                    RIPKernelRandom modelDraws = kernelDraws;
                    params.random = &kernelDraws;
                    kernel(&params, n, got.Run(), col == 0 ? nullptr : &masks.cov);
                    reference::Fill8(mode, col, params.color.At(8), want.Run(), n, masks.cov, modelDraws);
                    ASSERT_EQ(got.bytes, want.bytes) << where;

                    // Split in two, the second call going on from the first.
                    Row split(n, offset, rng);
                    Row whole = split;
                    const std::uint32_t k = n / 3;
                    RIPKernelRandom splitDraws{77}, wholeDraws{77};
                    params.random = &splitDraws;
                    const RIPKernelCoverage first = masks.At(0), second = masks.At(k);
                    kernel(&params, k, split.Run(), col == 0 ? nullptr : &first);
                    kernel(&params, n - k, split.Run() + k, col == 0 ? nullptr : &second);
                    params.random = &wholeDraws;
                    kernel(&params, n, whole.Run(), col == 0 ? nullptr : &masks.cov);
                    ASSERT_EQ(split.bytes, whole.bytes) << where << " split at " << k;
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Fill8, FillSlots, ::testing::ValuesIn(AllRows("fill-8")), Name);

// Channel kernels run with whole-pixel steps and with channel-mode steps.
struct Steps {
    std::int32_t src, dst;
    std::uint32_t channels;
};
constexpr Steps kChannelSteps[] = {{1, 1, 1}, {3, 4, 1}, {4, 3, 1}, {3, 3, 3}, {4, 4, 4}, {4, 4, 3}, {3, 3, 2}};

class BlitSlots : public ::testing::TestWithParam<SlotCase> {};

TEST_P(BlitSlots, MatchTheModelOnEveryPath) {
    const std::string& name = GetParam().table;
    const auto& table = name == "chan-8" ? RIPChannelKernels8 : name == "blit-8" ? RIPBlitKernels8 : RIPBlitKernelsP8;
    const std::uint32_t mode = GetParam().row;
    std::mt19937 rng(2000 + mode);
    std::vector<Steps> steps = {{1, 1, 1}};
    if (name == "chan-8") {
        steps.assign(std::begin(kChannelSteps), std::end(kChannelSteps));
    }
    for (std::uint32_t col = 0; col < 6; ++col) {
        const RIPBlitKernel kernel = table[mode][col];
        if (!Runs(reinterpret_cast<const void*>(kernel), reinterpret_cast<const void*>(kRIPBlitNoOp),
                  reinterpret_cast<const void*>(kRIPBlitPending))) {
            continue;
        }
        for (const Steps& step : steps) {
            for (const auto& path : AvailablePaths()) {
                ScopedPath scope(path.features);
                for (std::uint32_t n : kLengths) {
                    for (std::size_t offset = 0; offset < 8; ++offset) {
                        const std::string where = "column " + std::to_string(col) + " steps " +
                                                  std::to_string(step.src) + "/" + std::to_string(step.dst) + "/" +
                                                  std::to_string(step.channels) + " path " + path.name + " n " +
                                                  std::to_string(n) + " offset " + std::to_string(offset);
                        const std::size_t dstSize = static_cast<std::size_t>(n) * step.dst + 4;
                        const std::size_t srcSize = static_cast<std::size_t>(n) * step.src + 4;
                        Row got(dstSize, offset, rng);
                        Row want = got;
                        Row src(srcSize, (offset * 5) % 8, rng);
                        const std::vector<std::uint8_t> srcBefore = src.bytes;
                        const Masks masks(n, rng);
                        RIPKernelParams::Blit params;
                        params.srcStep = step.src;
                        params.dstStep = step.dst;
                        params.channelsPerPixel = step.channels;
                        RIPKernelRandom kernelDraws{static_cast<std::uint32_t>(rng())};
                        RIPKernelRandom modelDraws = kernelDraws;
                        params.random = &kernelDraws;
                        kernel(&params, n, got.Run(), src.Run(), col == 0 ? nullptr : &masks.cov);
                        reference::Channel8(mode, col, step.src, step.dst, step.channels, want.Run(), src.Run(), n,
                                            masks.cov, modelDraws);
                        ASSERT_EQ(got.bytes, want.bytes) << where;
                        ASSERT_EQ(src.bytes, srcBefore) << where;
                    }
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Chan8, BlitSlots, ::testing::ValuesIn(AllRows("chan-8")), Name);
INSTANTIATE_TEST_SUITE_P(Blit8, BlitSlots, ::testing::ValuesIn(AllRows("blit-8")), Name);
INSTANTIATE_TEST_SUITE_P(BlitP8, BlitSlots, ::testing::Values(SlotCase{"blit-P8", 0}, SlotCase{"blit-P8", 18}), Name);

// A source that is the destination itself: the one overlap the kernels allow,
// for the blit tables of one- and three-byte pixels.
TEST(BlitInPlace, SetInverseInvertsTheRunOnEveryPath) {
    struct InPlace {
        const RIPBlitKernelTable* table;
        std::uint32_t bytesPerPixel;
    };
    for (const InPlace& t : {InPlace{&RIPBlitKernels8, 1}, InPlace{&RIPBlitKernels24, 3}}) {
        for (const auto& path : AvailablePaths()) {
            ScopedPath scope(path.features);
            std::vector<std::uint8_t> row(100 * t.bytesPerPixel);
            for (std::size_t i = 0; i < row.size(); ++i) row[i] = static_cast<std::uint8_t>(i * 7);
            RIPKernelParams::Blit params;
            (*t.table)[kModeSetInverse][kCoverOpaque](&params, 100, row.data(), row.data(), nullptr);
            for (std::size_t i = 0; i < row.size(); ++i) {
                ASSERT_EQ(row[i], 255 - static_cast<std::uint8_t>(i * 7)) << path.name << " at " << i;
            }
            (*t.table)[kModeSet][kCoverOpaque](&params, 100, row.data(), row.data(), nullptr);
            EXPECT_EQ(row[3], 255 - 21) << path.name;
        }
    }
}

}  // namespace
}  // namespace raster::kernels
