// chan-8, the 8-bit channel table (its rows are built in grey8_kernels.h,
// where the blit tables of the 8-bit-sample formats take them from).
#include "grey8_kernels.h"

namespace raster::kernels {

constexpr RIPChannelKernelTable RIPChannelKernels8 = detail::kChannel8Table;

}  // namespace raster::kernels
