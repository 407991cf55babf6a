// fill-24, the RGB fill table, and the 24-bit Set kernel that whole-image
// fills call by name.
#include "rgb24_kernels.h"

namespace raster::kernels {

void RIPFillKernelSet24(const RIPKernelParams::Fill* params, std::uint32_t n, std::uint8_t* dst,
                        const RIPKernelCoverage* cov) {
    detail::Fill24Kernel<detail::Set24, kCoverOpaque>(params, n, dst, cov);
}

constexpr RIPFillKernelTable RIPFillKernels24 = detail::kFill24Table;

}  // namespace raster::kernels
