// The shared module's translation unit: it pulls the entry out of the core
// library so the linker keeps it; the version script exports nothing else.
#include "svgfilter/filter_abi.h"

namespace svgf::detail {
// Referenced so that the static core's entry object file is linked in.
extern const void* const kFilterEntryAnchor;
const void* const kModuleAnchor = &kFilterEntryAnchor;
}  // namespace svgf::detail
