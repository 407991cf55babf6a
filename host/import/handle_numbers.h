// Numbers for the handles the import side hands out under one tag
// (tag | number, number 1..0xFFFF). They go round in turn and skip any still
// in use, so a handle never names two live things however many were made.
#ifndef HOST_IMPORT_HANDLE_NUMBERS_H
#define HOST_IMPORT_HANDLE_NUMBERS_H

#include <cstdint>

namespace host::import {

inline constexpr uint32_t kHandleNumbers = 0xFFFF;

// The next free number after `last` (which it updates), or 0 when every
// number is in use. `inUse(n)` says whether number n is taken.
template <typename InUse>
uint32_t NextHandleNumber(uint32_t& last, InUse inUse) {
    for (uint32_t tried = 0; tried < kHandleNumbers; ++tried) {
        last = last % kHandleNumbers + 1;
        if (!inUse(last)) return last;
    }
    return 0;
}

}  // namespace host::import

#endif  // HOST_IMPORT_HANDLE_NUMBERS_H
