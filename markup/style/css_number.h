// Decimal numbers of CSS values, read the same whatever locale the process
// runs in.
#pragma once

#include <cstdint>

#include "markup/string.h"

namespace markup::style::detail {

// The number at the start of the text: white space, an optional sign
// (blanks and line breaks may follow it, as the scanner allows), digits
// with an optional fraction and exponent. 0 when no digits come; `used` is
// then 0, else the count of characters read. The result is always finite:
// a number beyond the double range is held at its largest value.
double ReadDecimal(const String& text, std::uint32_t& used);

}  // namespace markup::style::detail
