// The truncation of doubles into 32 bits that the style engine's
// conversions share.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace markup::style::detail {

// Truncated toward zero; values past the range stop at its ends and a NaN
// gives 0.
inline std::int32_t TruncateToInt32(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
    if (value <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

}  // namespace markup::style::detail
