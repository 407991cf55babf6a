// What the cascade reads of a typed value, and the truncation of doubles
// into 32 bits that the style engine's conversions share.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#include "markup/style/css_attribute.h"

namespace markup::style::detail {

// Truncated toward zero; values past the range stop at its ends and a NaN
// gives 0.
inline std::int32_t TruncateToInt32(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
    if (value <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

// A numeric value (length, zero, percent or number); null for the rest.
inline const CSSNumericalAttribute* Numerical(const CSSAttribute& value) {
    if (value.TypeCode() == kCSSGroupValue || !value.IsNumerical()) return nullptr;
    return static_cast<const CSSNumericalAttribute*>(&value);
}

inline bool IsKeyword(const CSSAttribute& value) {
    return value.TypeCode() == kCSSGroupValue;
}

// The keyword id and its dictionary number; 0 for a value that is no keyword.
inline std::uint32_t KeywordOf(const CSSAttribute& value) {
    return IsKeyword(value) ? static_cast<const CSSGroupAttribute&>(value).KeywordId() : 0;
}

inline double KeywordNumberOf(const CSSAttribute& value) {
    return IsKeyword(value) ? static_cast<const CSSGroupAttribute&>(value).KeywordNumber() : 0.0;
}

inline const CSSColorAttribute* ColourOf(const CSSAttribute& value) {
    return value.TypeCode() == kCSSColourValue ? static_cast<const CSSColorAttribute*>(&value) : nullptr;
}

}  // namespace markup::style::detail
