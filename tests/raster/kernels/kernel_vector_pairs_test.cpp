// Every pair of destination and colour (or source) byte through each vector
// path, against the plain path: the vector arithmetic is exact everywhere,
// not only on the random rows of the slot test.
#include <gtest/gtest.h>

#include <vector>

#include "kernel_paths.h"
#include "kernels/kernel_tables.h"

namespace raster::kernels {
namespace {

using testing::AvailablePaths;
using testing::ScopedPath;

constexpr std::uint32_t kPairs = 256 * 256;
// A fill's colour is one value per call: every destination byte, under many
// weights, for colours across the range.
constexpr std::uint32_t kFillRun = 16 * 256;

struct PairRows {
    std::vector<std::uint8_t> d, s, m1, m2;
    PairRows() : d(kPairs), s(kPairs), m1(kPairs), m2(kPairs) {
        for (std::uint32_t i = 0; i < kPairs; ++i) {
            d[i] = static_cast<std::uint8_t>(i);
            s[i] = static_cast<std::uint8_t>(i >> 8);
            m1[i] = static_cast<std::uint8_t>(i * 7 + (i >> 8));  // every weight meets every pair's neighbours
            m2[i] = static_cast<std::uint8_t>(255 - (i >> 3));
        }
    }
};

TEST(VectorPairs, BlitRowsEqualThePlainPathForEveryPair) {
    const PairRows rows;
    const auto paths = AvailablePaths();
    for (std::uint32_t mode = 0; mode < 36; ++mode) {
        for (std::uint32_t col = 0; col < 6; ++col) {
            const RIPBlitKernel kernel = RIPBlitKernels8[mode][col];
            if (kernel == nullptr || kernel == kRIPBlitNoOp || mode == kModeDissolve) {
                continue;
            }
            RIPKernelParams::Blit params;
            const RIPKernelCoverage cov{rows.m1.data(), rows.m2.data(), 200};
            std::vector<std::uint8_t> plain = rows.d;
            {
                ScopedPath scope(0);
                kernel(&params, kPairs, plain.data(), rows.s.data(), &cov);
            }
            for (const auto& path : paths) {
                ScopedPath scope(path.features);
                std::vector<std::uint8_t> got = rows.d;
                kernel(&params, kPairs, got.data(), rows.s.data(), &cov);
                ASSERT_EQ(got, plain) << "mode " << mode << " column " << col << " path " << path.name;
            }
        }
    }
}

TEST(VectorPairs, FillRowsEqualThePlainPathForEveryPair) {
    const PairRows rows;
    const auto paths = AvailablePaths();
    for (std::uint32_t mode = 0; mode < 36; ++mode) {
        for (std::uint32_t col = 0; col < 6; ++col) {
            const RIPFillKernel kernel = RIPFillKernels8[mode][col];
            if (kernel == nullptr || kernel == kRIPFillNoOp || mode == kModeDissolve) {
                continue;
            }
            const RIPKernelCoverage cov{rows.m1.data(), rows.m2.data(), 200};
            for (std::uint32_t c = 0; c < 256; c += 15) {
                RIPKernelParams::Fill params;
                params.color.At(8) = static_cast<std::uint8_t>(c);
                std::vector<std::uint8_t> plain(rows.d.begin(), rows.d.begin() + kFillRun);
                {
                    ScopedPath scope(0);
                    kernel(&params, kFillRun, plain.data(), &cov);
                }
                for (const auto& path : paths) {
                    ScopedPath scope(path.features);
                    std::vector<std::uint8_t> got(rows.d.begin(), rows.d.begin() + kFillRun);
                    kernel(&params, kFillRun, got.data(), &cov);
                    ASSERT_EQ(got, plain) << "mode " << mode << " column " << col << " colour " << c << " path "
                                          << path.name;
                }
            }
        }
    }
}

}  // namespace
}  // namespace raster::kernels
