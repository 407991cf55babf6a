// blit-24, the RGB blit table, and the 24-bit copy.
#include "rgb24_kernels.h"

namespace raster::kernels {

void RIPBlitKernelCopy24(const RIPKernelParams::Blit* params, std::uint32_t n, std::uint8_t* dst,
                         const std::uint8_t* src, const RIPKernelCoverage* cov) {
    detail::Blit24Kernel<detail::Set24, kCoverOpaque>(params, n, dst, src, cov);
}

constexpr RIPBlitKernelTable RIPBlitKernels24 = detail::kBlit24Table;

}  // namespace raster::kernels
