// Integers read from text.
//
// The engine's texts carry 32-bit numbers; reading them must give the same
// answer whether long is 32 or 64 bits wide.
#pragma once

#include <cstdint>

namespace markup {

// Like atoi: leading white space, an optional sign, then decimal digits;
// anything after them is ignored and no digits give 0. Values beyond the
// signed 32-bit range are held at its ends.
std::int32_t ParseDecimal32(const char* text);

}  // namespace markup
