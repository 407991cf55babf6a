// fill-1, the fill table of 1-bit rows.
#include "bilevel_kernels.h"

namespace raster::kernels {

constexpr RIPFillKernelTable RIPFillKernels1 = detail::BuildBilevelLayout<RIPFillKernelTable>(
    [](auto op) { return detail::Fill1Row<decltype(op)>(); }, detail::kFillNoOpRow, false);

}  // namespace raster::kernels
