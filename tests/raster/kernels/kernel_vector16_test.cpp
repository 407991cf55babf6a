// The 16-bit blends (blit-16, blit-48 with its channel rows, and the covered
// fills of fill-16 and fill-48) through each vector path against the plain
// path: every destination sample under every weight for edge operands, every
// dividend of the exact division once, and random rows at many lengths and byte offsets with guard bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "kernel_paths.h"
#include "kernels/kernel_tables.h"

namespace raster::kernels {
namespace {

using testing::AvailablePaths;
using testing::ScopedPath;

constexpr std::size_t kGuard = 32;
constexpr std::uint8_t kGuardByte = 0xA5;

void Put16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

std::uint16_t Edge16(std::mt19937& rng) {
    static constexpr std::uint16_t kEdges[] = {0, 1, 2, 255, 256, 32767, 32768, 32769, 65533, 65534, 65535};
    return rng() % 2 == 0 ? kEdges[rng() % std::size(kEdges)] : static_cast<std::uint16_t>(rng());
}

// One kernel run on a copy of the destination row under the given features.
struct KernelRun {
    std::vector<std::uint8_t> dst, src, m1, m2;
    std::uint8_t opacity = 255;
    std::size_t offset = 0;
    RIPKernelParams::Fill fill;

    std::vector<std::uint8_t> Blit(RIPBlitKernel kernel, std::uint32_t n, std::uint32_t features) const {
        ScopedPath scope(features);
        std::vector<std::uint8_t> out = dst;
        RIPKernelParams::Blit params;
        const RIPKernelCoverage cov{m1.data(), m2.data(), opacity};
        kernel(&params, n, out.data() + kGuard + offset, src.data() + kGuard + offset, &cov);
        return out;
    }
    std::vector<std::uint8_t> Fill(RIPFillKernel kernel, std::uint32_t n, std::uint32_t features) const {
        ScopedPath scope(features);
        std::vector<std::uint8_t> out = dst;
        const RIPKernelCoverage cov{m1.data(), m2.data(), opacity};
        kernel(&fill, n, out.data() + kGuard + offset, &cov);
        return out;
    }
};

#ifndef SVGFILTER_EMULATED_TESTS
// The vector quotient is the plain one for every destination sample and
// weight; the operands sit at the ends and the middle of the range, where
// the quotient's correction steps act, and one row is random.
TEST(Vector16, BlendEqualsThePlainPathForEverySampleAndWeight) {
    constexpr std::uint32_t kSamples = 65536;
    KernelRun run;
    run.dst.assign(2 * kGuard + 2 * kSamples, kGuardByte);
    run.src = run.dst;
    run.m1.resize(kSamples);
    run.m2.assign(kSamples, 255);
    for (std::uint32_t i = 0; i < kSamples; ++i) {
        Put16(run.dst.data() + kGuard + 2 * i, i);
    }
    std::mt19937 rng(4916);
    const auto paths = AvailablePaths();
    for (const std::int64_t s : {0, 1, 256, 32767, 32768, 65534, 65535, -1}) {
        for (std::uint32_t i = 0; i < kSamples; ++i) {
            Put16(run.src.data() + kGuard + 2 * i, s < 0 ? rng() : static_cast<std::uint32_t>(s));
        }
        for (std::uint32_t w = 0; w < 256; ++w) {
            std::fill(run.m1.begin(), run.m1.end(), static_cast<std::uint8_t>(w));
            const RIPBlitKernel kernel = RIPBlitKernels16[kModeSet][kCoverMask];
            const std::vector<std::uint8_t> plain = run.Blit(kernel, kSamples, 0);
            for (const auto& path : paths) {
                ASSERT_EQ(run.Blit(kernel, kSamples, path.features), plain)
                    << "source " << s << " weight " << w << " path " << path.name;
            }
        }
    }
}

// Under weight 1 the blend's dividend is s + 254·d, so one row can give every
// dividend 0..255·65535 once: d = x / 254 and s the rest (d at most 65535).
TEST(Vector16, BlendEqualsThePlainPathForEveryDividend) {
    constexpr std::uint32_t kLast = 255u * 65535u;
    constexpr std::uint32_t kSamples = kLast + 1;
    KernelRun run;
    run.dst.assign(2 * kGuard + 2 * std::size_t{kSamples}, kGuardByte);
    run.src = run.dst;
    run.m1.assign(kSamples, 1);
    run.m2.assign(kSamples, 255);
    for (std::uint32_t x = 0; x <= kLast; ++x) {
        const std::uint32_t d = std::min(x / 254, 65535u);
        Put16(run.dst.data() + kGuard + 2 * std::size_t{x}, d);
        Put16(run.src.data() + kGuard + 2 * std::size_t{x}, x - 254 * d);
    }
    const RIPBlitKernel kernel = RIPBlitKernels16[kModeSet][kCoverMask];
    const std::vector<std::uint8_t> plain = run.Blit(kernel, kSamples, 0);
    for (const auto& path : AvailablePaths()) {
        const std::vector<std::uint8_t> got = run.Blit(kernel, kSamples, path.features);
        ASSERT_TRUE(got == plain) << "path " << path.name;
    }
}
#endif

struct Table16 {
    const char* name;
    std::uint32_t samples;  // a pixel's
    const RIPBlitKernelTable* blits;
    const RIPFillKernelTable* fills;
};
constexpr Table16 kTables[] = {
    {"16", 1, &RIPBlitKernels16, &RIPFillKernels16},
    {"48", 3, &RIPBlitKernels48, &RIPFillKernels48},
};

KernelRun RandomRun(std::uint32_t samples, std::uint32_t n, std::size_t offset, std::mt19937& rng) {
    KernelRun run;
    run.offset = offset;
    const std::size_t bytes = 2 * static_cast<std::size_t>(samples) * n;
    run.dst.assign(2 * kGuard + offset + bytes, kGuardByte);
    run.src = run.dst;
    for (std::size_t i = 0; i + 1 < bytes; i += 2) {
        Put16(run.dst.data() + kGuard + offset + i, Edge16(rng));
        Put16(run.src.data() + kGuard + offset + i, Edge16(rng));
    }
    run.m1.resize(n + 1);
    run.m2.resize(n + 1);
    for (auto& b : run.m1) b = rng() % 4 == 0 ? static_cast<std::uint8_t>(rng() % 2 * 255) : static_cast<std::uint8_t>(rng());
    for (auto& b : run.m2) b = static_cast<std::uint8_t>(rng());
    run.opacity = static_cast<std::uint8_t>(rng());
    for (int at : {6, 8, 10}) run.fill.color.SetU16(at, Edge16(rng));
    return run;
}

TEST(Vector16, KernelsEqualThePlainPathOnRandomRows) {
    std::mt19937 rng(4917);
    const auto paths = AvailablePaths();
    std::vector<std::uint32_t> lengths;
    for (std::uint32_t n = 0; n <= 70; ++n) lengths.push_back(n);
    for (std::uint32_t n : {127u, 128u, 129u, 255u, 1000u, 4099u}) lengths.push_back(n);
    for (const Table16& t : kTables) {
        for (std::uint32_t n : lengths) {
            for (std::size_t offset = 0; offset < 4; ++offset) {
                const KernelRun run = RandomRun(t.samples, n, offset, rng);
                for (std::uint32_t row : {0u, 18u, 19u, 20u}) {
                    for (std::uint32_t col = 0; col < 6; ++col) {
                        const RIPBlitKernel kernel = (*t.blits)[row][col];
                        if (kernel == nullptr || kernel == kRIPBlitNoOp || kernel == kRIPBlitPending) continue;
                        const std::vector<std::uint8_t> plain = run.Blit(kernel, n, 0);
                        for (const auto& path : paths) {
                            ASSERT_EQ(run.Blit(kernel, n, path.features), plain)
                                << "blit" << t.name << " row " << row << " column " << col << " n " << n
                                << " offset " << offset << " path " << path.name;
                        }
                    }
                }
                for (std::uint32_t col = 1; col < 6; ++col) {
                    const RIPFillKernel kernel = (*t.fills)[kModeSet][col];
                    const std::vector<std::uint8_t> plain = run.Fill(kernel, n, 0);
                    for (const auto& path : paths) {
                        ASSERT_EQ(run.Fill(kernel, n, path.features), plain)
                            << "fill" << t.name << " column " << col << " n " << n << " offset " << offset
                            << " path " << path.name;
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace raster::kernels
