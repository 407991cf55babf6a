// Every slot of fill-8, chan-8, blit-8 and the paletted tables that holds a
// kernel, run on every path this processor has, at many lengths and
// destination offsets, against the plain model: random rows leaning on the
// edge values, guard bytes around every buffer, and a run split in two.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "kernel_paths.h"
#include "kernels/kernel_tables.h"
#include "reference.h"

namespace raster::kernels {
namespace {

using testing::AvailablePaths;
using testing::ScopedPath;

constexpr std::uint32_t kLengths[] = {0, 1, 7, 8, 9, 15, 16, 17, 23, 24, 25, 31, 33, 257};
constexpr std::size_t kGuard = 16;
constexpr std::uint8_t kGuardByte = 0xA5;

std::uint8_t EdgeBiased(std::mt19937& rng) {
    static constexpr std::uint8_t kEdges[] = {0, 1, 2, 127, 128, 129, 253, 254, 255};
    if (rng() % 2 == 0) {
        return kEdges[rng() % std::size(kEdges)];
    }
    return static_cast<std::uint8_t>(rng());
}

// A buffer with guard bytes on both sides and `offset` spare bytes before the run.
struct Row {
    std::vector<std::uint8_t> bytes;
    std::size_t offset;
    Row(std::size_t size, std::size_t offset, std::mt19937& rng) : bytes(2 * kGuard + offset + size, kGuardByte), offset(offset) {
        for (std::size_t i = 0; i < size; ++i) {
            bytes[kGuard + offset + i] = EdgeBiased(rng);
        }
    }
    std::uint8_t* Run() { return bytes.data() + kGuard + offset; }
};

// The coverage of one case: both masks random, opacity from the edges.
struct Masks {
    std::vector<std::uint8_t> m1, m2;
    RIPKernelCoverage cov;
    Masks(std::uint32_t n, std::mt19937& rng) : m1(n + 1), m2(n + 1) {
        for (auto& b : m1) b = EdgeBiased(rng);
        for (auto& b : m2) b = EdgeBiased(rng);
        cov = {m1.data(), m2.data(), EdgeBiased(rng)};
    }
    RIPKernelCoverage At(std::uint32_t start) const {
        return {cov.mask1 + start, cov.mask2 + start, cov.opacity};
    }
};

struct SlotCase {
    std::string table;
    std::uint32_t row;
};
void PrintTo(const SlotCase& c, std::ostream* os) { *os << c.table << " row " << c.row; }

std::string Name(const ::testing::TestParamInfo<SlotCase>& info) {
    std::string t = info.param.table;
    for (char& ch : t) {
        if (ch == '-') ch = '_';
    }
    return t + "_row" + std::to_string(info.param.row);
}

bool Runs(const void* slot, const void* noOp, const void* pending) {
    return slot != nullptr && slot != noOp && slot != pending;
}

class FillSlots : public ::testing::TestWithParam<SlotCase> {};

TEST_P(FillSlots, MatchTheModelOnEveryPath) {
    const auto& table = GetParam().table == "fill-8" ? RIPFillKernels8 : RIPFillKernelsP8;
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

std::vector<SlotCase> Rows(const std::string& table) {
    std::vector<SlotCase> rows;
    for (std::uint32_t r = 0; r < 36; ++r) rows.push_back({table, r});
    return rows;
}

INSTANTIATE_TEST_SUITE_P(Fill8, FillSlots, ::testing::ValuesIn(Rows("fill-8")), Name);
INSTANTIATE_TEST_SUITE_P(FillP8, FillSlots, ::testing::Values(SlotCase{"fill-P8", 0}, SlotCase{"fill-P8", 18}), Name);

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

INSTANTIATE_TEST_SUITE_P(Chan8, BlitSlots, ::testing::ValuesIn(Rows("chan-8")), Name);
INSTANTIATE_TEST_SUITE_P(Blit8, BlitSlots, ::testing::ValuesIn(Rows("blit-8")), Name);
INSTANTIATE_TEST_SUITE_P(BlitP8, BlitSlots, ::testing::Values(SlotCase{"blit-P8", 0}, SlotCase{"blit-P8", 18}), Name);

// A source that is the destination itself: the one overlap the kernels allow.
TEST(BlitInPlace, SetInverseInvertsTheRunOnEveryPath) {
    for (const auto& path : AvailablePaths()) {
        ScopedPath scope(path.features);
        std::vector<std::uint8_t> row(100);
        for (std::size_t i = 0; i < row.size(); ++i) row[i] = static_cast<std::uint8_t>(i * 7);
        RIPKernelParams::Blit params;
        RIPBlitKernels8[kModeSetInverse][kCoverOpaque](&params, 100, row.data(), row.data(), nullptr);
        for (std::size_t i = 0; i < row.size(); ++i) {
            ASSERT_EQ(row[i], 255 - static_cast<std::uint8_t>(i * 7)) << path.name << " at " << i;
        }
        RIPBlitKernels8[kModeSet][kCoverOpaque](&params, 100, row.data(), row.data(), nullptr);
        EXPECT_EQ(row[3], 255 - 21) << path.name;
    }
}

}  // namespace
}  // namespace raster::kernels
