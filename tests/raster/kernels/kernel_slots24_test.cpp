// Every slot of fill-24, fill-Lab, blit-24 and blit-Lab that holds a kernel,
// run on every path this processor has, at pixel counts around the vector
// grain and chunk and at every destination offset, against the plain model:
// random rows leaning on the edge values, guard bytes, the source left as it
// was, and a fill split in two equal to the whole.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kernel_paths.h"
#include "kernels/kernel_tables.h"
#include "reference24.h"
#include "slot_fixtures.h"

namespace raster::kernels {
namespace {

using reference::Layout24;
using testing::AllRows;
using testing::AvailablePaths;
using testing::EdgeBiased;
using testing::Masks;
using testing::Name;
using testing::Row;
using testing::Runs;
using testing::ScopedPath;
using testing::SlotCase;

// Pixels: below, at and past the 32-pixel vector grain and the 128-pixel chunk.
constexpr std::uint32_t kPixels[] = {0, 1, 2, 5, 8, 31, 32, 33, 63, 95, 127, 128, 129, 161, 257};

Layout24 LayoutOf(const std::string& table) { return table.find("Lab") != std::string::npos ? Layout24::Lab : Layout24::Rgb; }

colour::ColorRecord RandomColour(Layout24 layout, std::mt19937& rng) {
    colour::ColorRecord c;
    c.BeginResult(layout == Layout24::Lab ? colour::kModelLabOffset : colour::kModelRGB);
    for (int k = 8; k < 11; ++k) c.At(k) = EdgeBiased(rng);
    return c;
}

// Calls check(col, kernel, n, offset, where) for every column of the row
// that holds a kernel, on every path, pixel count and destination offset.
template <class Row6, class Kernel, class Check>
void ForEveryCase(const Row6& row, Kernel noOp, Kernel pending, Check check) {
    for (std::uint32_t col = 0; col < 6; ++col) {
        const Kernel kernel = row[col];
        if (!Runs(reinterpret_cast<const void*>(kernel), reinterpret_cast<const void*>(noOp),
                  reinterpret_cast<const void*>(pending))) {
            continue;
        }
        for (const auto& path : AvailablePaths()) {
            ScopedPath scope(path.features);
            for (std::uint32_t n : kPixels) {
                for (std::size_t offset = 0; offset < 8; ++offset) {
                    check(col, kernel, n, offset,
                          "column " + std::to_string(col) + " path " + path.name + " pixels " + std::to_string(n) +
                              " offset " + std::to_string(offset));
                    if (::testing::Test::HasFatalFailure()) {
                        return;
                    }
                }
            }
        }
    }
}

class FillSlots24 : public ::testing::TestWithParam<SlotCase> {};

TEST_P(FillSlots24, MatchTheModelOnEveryPath) {
    const Layout24 layout = LayoutOf(GetParam().table);
    const auto& table = layout == Layout24::Lab ? RIPFillKernelsLab : RIPFillKernels24;
    const std::uint32_t mode = GetParam().row;
    std::mt19937 rng(3000 + mode + (layout == Layout24::Lab ? 100 : 0));
    ForEveryCase(table[mode], kRIPFillNoOp, kRIPFillPending,
                 [&](std::uint32_t col, RIPFillKernel kernel, std::uint32_t n, std::size_t offset,
                     const std::string& where) {
        Row got(3 * n, offset, rng);
        Row want = got;
        const Masks masks(n, rng);
        RIPKernelParams::Fill params;
        params.color = RandomColour(layout, rng);
        params.bytesPerPixel = 3;
        RIPKernelRandom kernelDraws{static_cast<std::uint32_t>(rng())};
        RIPKernelRandom modelDraws = kernelDraws;
        params.random = &kernelDraws;
        kernel(&params, n, got.Run(), col == 0 ? nullptr : &masks.cov);
        reference::Fill24(layout, mode, col, params.color, want.Run(), n, masks.cov, modelDraws);
        ASSERT_EQ(got.bytes, want.bytes) << where;

        // Split in two, the second call going on from the first.
        Row split(3 * n, offset, rng);
        Row whole = split;
        const std::uint32_t k = n / 3;
        RIPKernelRandom splitDraws{77}, wholeDraws{77};
        params.random = &splitDraws;
        const RIPKernelCoverage first = masks.At(0), second = masks.At(k);
        kernel(&params, k, split.Run(), col == 0 ? nullptr : &first);
        kernel(&params, n - k, split.Run() + 3 * k, col == 0 ? nullptr : &second);
        params.random = &wholeDraws;
        kernel(&params, n, whole.Run(), col == 0 ? nullptr : &masks.cov);
        ASSERT_EQ(split.bytes, whole.bytes) << where << " split at " << k;
    });
}

INSTANTIATE_TEST_SUITE_P(Fill24, FillSlots24, ::testing::ValuesIn(AllRows("fill-24")), Name);
INSTANTIATE_TEST_SUITE_P(FillLab, FillSlots24, ::testing::ValuesIn(AllRows("fill-Lab")), Name);

class BlitSlots24 : public ::testing::TestWithParam<SlotCase> {};

TEST_P(BlitSlots24, MatchTheModelOnEveryPath) {
    const Layout24 layout = LayoutOf(GetParam().table);
    const auto& table = layout == Layout24::Lab ? RIPBlitKernelsLab : RIPBlitKernels24;
    const std::uint32_t mode = GetParam().row;
    std::mt19937 rng(4000 + mode + (layout == Layout24::Lab ? 100 : 0));
    ForEveryCase(table[mode], kRIPBlitNoOp, kRIPBlitPending,
                 [&](std::uint32_t col, RIPBlitKernel kernel, std::uint32_t n, std::size_t offset,
                     const std::string& where) {
        Row got(3 * n, offset, rng);
        Row want = got;
        Row src(3 * n, (offset * 5) % 8, rng);
        const std::vector<std::uint8_t> srcBefore = src.bytes;
        const Masks masks(n, rng);
        // The blit driver sets whole-pixel steps for the channel kernels among these slots.
        RIPKernelParams::Blit params;
        params.srcStep = params.dstStep = 3;
        params.channelsPerPixel = 3;
        RIPKernelRandom kernelDraws{static_cast<std::uint32_t>(rng())};
        RIPKernelRandom modelDraws = kernelDraws;
        params.random = &kernelDraws;
        kernel(&params, n, got.Run(), src.Run(), col == 0 ? nullptr : &masks.cov);
        reference::Blit24(layout, mode, col, want.Run(), src.Run(), n, masks.cov, modelDraws);
        ASSERT_EQ(got.bytes, want.bytes) << where;
        ASSERT_EQ(src.bytes, srcBefore) << where;
    });
}

INSTANTIATE_TEST_SUITE_P(Blit24, BlitSlots24, ::testing::ValuesIn(AllRows("blit-24")), Name);
INSTANTIATE_TEST_SUITE_P(BlitLab, BlitSlots24, ::testing::ValuesIn(AllRows("blit-Lab")), Name);

}  // namespace
}  // namespace raster::kernels
