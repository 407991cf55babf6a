// The module state: the product table and its closed form, the column-5
// quotient, the SoftLight curves and the switch that forces the plain path.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "kernel_paths.h"
#include "kernels/kernel_state.h"
#include "kernels/kernel_tables.h"

namespace raster::kernels {
namespace {

TEST(ProductTable, IsTruncatingDivisionBy255AndItsClosedForm) {
    for (std::uint32_t t = 0; t < kRIPProductTableSize; ++t) {
        ASSERT_EQ(RIPProductTable[t], t / 255) << t;
        // The vector paths divide by 255 this way, in 16-bit lanes.
        const std::uint32_t sum = t + 1 + (t >> 8);
        ASSERT_LT(sum, 65536u) << t;
        ASSERT_EQ(sum >> 8, t / 255) << t;
    }
}

// Column 5 outside mode 0: floor(m1·m2·a / 64771), seen through the kernels
// themselves (mode 2, Or, of white onto black writes exactly the weight).
TEST(ColumnFiveWeight, IsTheExactQuotientForEveryTriple) {
    testing::ScopedPath plain(0);
    std::vector<std::uint8_t> m1(256 * 256), m2(256 * 256), row(256 * 256);
    for (std::uint32_t i = 0; i < 256 * 256; ++i) {
        m1[i] = static_cast<std::uint8_t>(i >> 8);
        m2[i] = static_cast<std::uint8_t>(i);
    }
    RIPKernelParams::Fill params;
    params.color.At(8) = 255;
    for (std::uint32_t a = 0; a < 256; ++a) {
        std::fill(row.begin(), row.end(), 0);
        const RIPKernelCoverage cov{m1.data(), m2.data(), static_cast<std::uint8_t>(a)};
        RIPFillKernels8[kModeOr][kCoverMaskMaskConstant](&params, 256 * 256, row.data(), &cov);
        for (std::uint32_t i = 0; i < 256 * 256; ++i) {
            const std::uint32_t x = std::uint32_t{m1[i]} * m2[i] * a;
            // B(0, 255, w) = T[255·w] = w
            ASSERT_EQ(row[i], x / 64771) << "m1 " << int(m1[i]) << " m2 " << int(m2[i]) << " a " << a;
        }
    }
}

TEST(SoftLightCurves, FollowTheirDefinitions) {
    for (std::uint32_t d = 0; d < 256; ++d) {
        EXPECT_EQ(RIPSoftLightCurveLow[d], d * d / 255) << d;
        EXPECT_EQ(RIPSoftLightCurveHigh[d], static_cast<std::uint32_t>(std::floor(std::sqrt(255.0 * d)))) << d;
    }
    EXPECT_EQ(RIPSoftLightCurveHigh[255], 255);
}

TEST(ProcessorFeatures, SwitchForcesThePlainPathAndKeepsToTheHardware) {
    const std::uint32_t saved = RIPSetProcessorFeatures(0);
    EXPECT_EQ(RIPProcessorFeatures.load(), 0u);
    RIPSetProcessorFeatures(kRIPFeatureWide);  // the wide path needs the narrow one
    EXPECT_EQ(RIPProcessorFeatures.load(), 0u);
    RIPSetProcessorFeatures(0xFFFFFFFFu);
    EXPECT_EQ(RIPProcessorFeatures.load() & ~(kRIPFeatureVector | kRIPFeatureWide), 0u);
    RIPSetProcessorFeatures(saved);
}

TEST(ProcessorFeatures, EnvironmentNamesThePathAtStartUp) {
    const char* before = std::getenv("SVGFILTER_KERNEL_PATH");
    const std::string kept = before ? before : "";
    setenv("SVGFILTER_KERNEL_PATH", "plain", 1);
    EXPECT_EQ(RIPDetectProcessorFeatures(), 0u);
    setenv("SVGFILTER_KERNEL_PATH", "sse2", 1);
    EXPECT_EQ(RIPDetectProcessorFeatures() & kRIPFeatureWide, 0u);
    if (before) {
        setenv("SVGFILTER_KERNEL_PATH", kept.c_str(), 1);
    } else {
        unsetenv("SVGFILTER_KERNEL_PATH");
    }
}

}  // namespace
}  // namespace raster::kernels
