// blit-1, the blit table of 1-bit rows, at any source and destination bit offset.
#include "bilevel_kernels.h"

namespace raster::kernels {

constexpr RIPBlitKernelTable RIPBlitKernels1 = detail::BuildBilevelLayout<RIPBlitKernelTable>(
    [](auto op) { return detail::Blit1Row<decltype(op)>(); }, detail::kBlitNoOpRow, true);

}  // namespace raster::kernels
