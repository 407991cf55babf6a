// FilterEntry: the module's one entry point (placeholder until the command
// handlers land).
#include "svgfilter/filter_abi.h"

namespace svgf::detail {
extern const void* const kFilterEntryAnchor;
const void* const kFilterEntryAnchor = reinterpret_cast<const void*>(&FilterEntry);
}  // namespace svgf::detail

SVGF_EXPORT int32_t SVGF_CALL FilterEntry(uint32_t code, svgf::FilterContext* context) {
    (void)context;
    return code == 2 || code == 10 ? 1 : 0;
}
