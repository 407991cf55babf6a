#include "mem_handle_unlock.h"

namespace svgf {

int32_t MemHandleUnlock(FilterContext*) {
    return 1;
}

}  // namespace svgf
