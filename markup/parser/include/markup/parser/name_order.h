// The order in which dictionaries keep their definitions by name.
//
// Definitions of elements, attributes and CSS properties stand in a file in
// this order, and the name search bisects with the same compare, so the two
// must never differ. It is the platform's word order: hyphens and apostrophes
// count for nothing at first and case for nothing at first; names equal that
// far are ordered by their case-folded text, then lower case before upper
// case. Two names compare equal only when their bytes are equal.
#pragma once

#include "markup/string.h"

namespace markup {

// Negative, zero or positive; a null pointer compares as "".
int CompareNames(const char* a, const char* b);
inline int CompareNames(const String& a, const String& b) {
    return CompareNames(a.Text(), b.Text());
}

}  // namespace markup
