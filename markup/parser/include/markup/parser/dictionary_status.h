// The status words of dictionary look-ups and value conversions.
//
// Each is a single bit so that callers may test them as flags; 0 is success.
// They are distinct from the stream status codes (ReturnCodeEnum), which
// report file and stream failures.
#pragma once

#include <cstdint>

namespace markup {

enum DictStatus : std::uint16_t {
    kDict_Ok = 0,
    kDict_Unknown = 1,     // no such definition, or no dictionary content at all
    kDict_NotFound = 2,    // a name the dictionary does not define
    kDict_OutOfRange = 4,  // an index outside a group or list
    kDict_Reserved8 = 8,
    kDict_Duplicate = 16,  // a name the table already holds
    kDict_Missing = 32,    // no group of that class, no digits, no default
    kDict_WrongKind = 64,  // the value type is not of the kind asked for
    kDict_NoMatch = 128,   // the text matches no value, the number no format
    kDict_Overflow = 256,  // a number at the 32-bit bounds
    kDict_Reserved512 = 512,
};

}  // namespace markup
