// The memory-handle unlock service that import set-up and end import answer
// with. Nothing on this platform is locked, so it only succeeds.
#ifndef SVGFILTER_MEM_HANDLE_UNLOCK_H
#define SVGFILTER_MEM_HANDLE_UNLOCK_H

#include <cstdint>

#include "svgfilter/filter_abi.h"

namespace svgf {

int32_t MemHandleUnlock(FilterContext* context);

}  // namespace svgf

#endif  // SVGFILTER_MEM_HANDLE_UNLOCK_H
