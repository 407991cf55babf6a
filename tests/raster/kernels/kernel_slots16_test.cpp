// Every slot of the 16-bit-sample tables that holds a kernel (fill-16,
// fill-48, blit-16, blit-48, chan-16), at many lengths and byte offsets (so
// samples sit at odd addresses too), against the plain model: samples leaning
// on the edge values, guard bytes around every buffer, the source left as it
// was; chan-16 with whole-pixel steps, channel-mode steps and odd steps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kernels/kernel_tables.h"
#include "reference16.h"
#include "slot_fixtures.h"

namespace raster::kernels {
namespace {

using testing::AllRows;
using testing::Masks;
using testing::Name;
using testing::Row;
using testing::Runs;
using testing::SlotCase;

constexpr std::uint32_t kLengths[] = {0, 1, 2, 3, 7, 8, 9, 17, 33, 100};

std::uint16_t Edge16(std::mt19937& rng) {
    static constexpr std::uint16_t kEdges[] = {0, 1, 2, 255, 256, 32767, 32768, 65533, 65534, 65535};
    if (rng() % 2 == 0) {
        return kEdges[rng() % std::size(kEdges)];
    }
    return static_cast<std::uint16_t>(rng());
}

// A row of `bytes` bytes whose samples, taken every two bytes from the run's
// start, lean on the edge values.
Row SampleRow(std::size_t bytes, std::size_t offset, std::mt19937& rng) {
    Row row(bytes, offset, rng);
    for (std::size_t i = 0; i + 1 < bytes; i += 2) {
        const std::uint16_t v = Edge16(rng);
        row.Run()[i] = static_cast<std::uint8_t>(v);
        row.Run()[i + 1] = static_cast<std::uint8_t>(v >> 8);
    }
    return row;
}

bool IsBlitKernel(RIPBlitKernel k) {
    return Runs(reinterpret_cast<const void*>(k), reinterpret_cast<const void*>(kRIPBlitNoOp),
                reinterpret_cast<const void*>(kRIPBlitPending));
}

TEST(Fill16Slots, MatchTheModel) {
    std::mt19937 rng(5000);
    for (const std::uint32_t k : {1u, 3u}) {
        const RIPFillKernelTable& table = k == 1 ? RIPFillKernels16 : RIPFillKernels48;
        for (std::uint32_t col = 0; col < 6; ++col) {
            for (std::uint32_t n : kLengths) {
                for (std::size_t offset = 0; offset < 4; ++offset) {
                    Row got = SampleRow(2 * k * n, offset, rng);
                    Row want = got;
                    const Masks masks(n, rng);
                    RIPKernelParams::Fill params;
                    std::uint16_t c[3];
                    for (std::uint32_t j = 0; j < k; ++j) {
                        c[j] = Edge16(rng);
                        params.color.SetU16((k == 1 ? 8 : 6) + 2 * static_cast<int>(j), c[j]);
                    }
                    table[kModeSet][col](&params, n, got.Run(), col == 0 ? nullptr : &masks.cov);
                    reference::Fill16(k, col, c, want.Run(), n, masks.cov);
                    ASSERT_EQ(got.bytes, want.bytes)
                        << k << " samples column " << col << " n " << n << " offset " << offset;
                }
            }
        }
    }
}

TEST(Blit16Slots, MatchTheModel) {
    struct Case {
        const RIPBlitKernelTable* table;
        std::uint32_t k, row;
        int lane;
    };
    const Case cases[] = {{&RIPBlitKernels16, 1, 0, -1}, {&RIPBlitKernels16, 1, 18, -1}, {&RIPBlitKernels48, 3, 0, -1},
                          {&RIPBlitKernels48, 3, 18, 0},  {&RIPBlitKernels48, 3, 19, 1},  {&RIPBlitKernels48, 3, 20, 2}};
    std::mt19937 rng(6000);
    for (const Case& c : cases) {
        for (std::uint32_t col = 0; col < 6; ++col) {
            for (std::uint32_t n : kLengths) {
                for (std::size_t offset = 0; offset < 4; ++offset) {
                    Row got = SampleRow(2 * c.k * n, offset, rng);
                    Row want = got;
                    Row src = SampleRow(2 * c.k * n, 3 - offset, rng);
                    const std::vector<std::uint8_t> srcBefore = src.bytes;
                    const Masks masks(n, rng);
                    RIPKernelParams::Blit params;
                    (*c.table)[c.row][col](&params, n, got.Run(), src.Run(), col == 0 ? nullptr : &masks.cov);
                    reference::Blit16(c.k, c.lane, col, want.Run(), src.Run(), n, masks.cov);
                    const std::string where = std::to_string(c.k) + " samples row " + std::to_string(c.row) +
                                              " column " + std::to_string(col) + " n " + std::to_string(n) +
                                              " offset " + std::to_string(offset);
                    ASSERT_EQ(got.bytes, want.bytes) << where;
                    ASSERT_EQ(src.bytes, srcBefore) << where;
                }
            }
        }
    }
}

struct Steps {
    std::int32_t src, dst;
};
// Whole pixels of 16-bit grey and 48-bit RGB, one channel between the two,
// and odd steps, which move by the even step below.
constexpr Steps kChannelSteps[] = {{2, 2}, {6, 6}, {6, 2}, {2, 6}, {3, 7}, {7, 3}};

class Channel16Slots : public ::testing::TestWithParam<SlotCase> {};

TEST_P(Channel16Slots, MatchTheModel) {
    const std::uint32_t mode = GetParam().row;
    std::mt19937 rng(7000 + mode);
    for (std::uint32_t col = 0; col < 6; ++col) {
        const RIPBlitKernel kernel = RIPChannelKernels16[mode][col];
        if (!IsBlitKernel(kernel)) {
            continue;
        }
        for (const Steps& step : kChannelSteps) {
            for (std::uint32_t n : kLengths) {
                for (std::size_t offset = 0; offset < 4; ++offset) {
                    Row got = SampleRow(static_cast<std::size_t>(n) * step.dst + 2, offset, rng);
                    Row want = got;
                    Row src = SampleRow(static_cast<std::size_t>(n) * step.src + 2, offset ^ 1, rng);
                    const std::vector<std::uint8_t> srcBefore = src.bytes;
                    const Masks masks(n, rng);
                    RIPKernelParams::Blit params;
                    params.srcStep = step.src;
                    params.dstStep = step.dst;
                    params.channelsPerPixel = 3;  // not read: one sample a step
                    RIPKernelRandom kernelDraws{static_cast<std::uint32_t>(rng())};
                    RIPKernelRandom modelDraws = kernelDraws;
                    params.random = &kernelDraws;
                    kernel(&params, n, got.Run(), src.Run(), col == 0 ? nullptr : &masks.cov);
                    reference::Channel16(mode, col, step.src, step.dst, want.Run(), src.Run(), n, masks.cov,
                                         modelDraws);
                    const std::string where = "column " + std::to_string(col) + " steps " + std::to_string(step.src) +
                                              "/" + std::to_string(step.dst) + " n " + std::to_string(n) +
                                              " offset " + std::to_string(offset);
                    ASSERT_EQ(got.bytes, want.bytes) << where;
                    ASSERT_EQ(src.bytes, srcBefore) << where;
                    ASSERT_EQ(kernelDraws.state, modelDraws.state) << where;
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Chan16, Channel16Slots, ::testing::ValuesIn(AllRows("chan-16")), Name);

}  // namespace
}  // namespace raster::kernels
