// The long sweep of the 16-bit product division: every argument 0..65535²
// against floor(65536·x / 65535²), kept by a running quotient and remainder.
// It runs only when SVGFILTER_EXHAUSTIVE=1 is set (ctest label "exhaustive").
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "kernels/quotients16.h"

namespace raster::kernels {
namespace {

TEST(QuotientSweep, ProductQuotientIsExactForEveryArgument) {
    const char* on = std::getenv("SVGFILTER_EXHAUSTIVE");
    if (on == nullptr || std::strcmp(on, "1") != 0) {
        GTEST_SKIP() << "set SVGFILTER_EXHAUSTIVE=1 to sweep all 65535² + 1 arguments";
    }
    constexpr std::uint64_t kDivisor = 65535ull * 65535ull;
    std::uint64_t quotient = 0, remainder = 0;  // 65536·x = quotient·kDivisor + remainder
    for (std::uint64_t x = 0; x <= kDivisor; ++x) {
        const std::uint32_t want = quotient > 65535 ? 65535 : static_cast<std::uint32_t>(quotient);
        if (RIPProductQuotient16(static_cast<std::uint32_t>(x)) != want) {
            FAIL() << "p(" << x << ") = " << RIPProductQuotient16(static_cast<std::uint32_t>(x)) << ", want " << want;
        }
        remainder += 65536;
        if (remainder >= kDivisor) {
            remainder -= kDivisor;
            ++quotient;
        }
    }
}

}  // namespace
}  // namespace raster::kernels
