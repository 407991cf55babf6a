// blit-16 and blit-48, the blit tables of 16-bit grey and 48-bit RGB, and
// their Copy kernels by name: Set on whole pixels, and on one sample of a
// 48-bit pixel in the channel rows.
#include "sample16_kernels.h"

namespace raster::kernels {

void RIPBlitKernelCopy16(const RIPKernelParams::Blit* params, std::uint32_t n, std::uint8_t* dst,
                         const std::uint8_t* src, const RIPKernelCoverage* cov) {
    detail::Blit16Kernel<1, -1, kCoverOpaque>(params, n, dst, src, cov);
}
void RIPBlitKernelCopy48(const RIPKernelParams::Blit* params, std::uint32_t n, std::uint8_t* dst,
                         const std::uint8_t* src, const RIPKernelCoverage* cov) {
    detail::Blit16Kernel<3, -1, kCoverOpaque>(params, n, dst, src, cov);
}

namespace {

using namespace detail;

constexpr RIPBlitKernelTable BuildBlit16() {
    RIPBlitKernelTable t{};
    t[0] = Blit16Row<1, -1>();
    t[0][kCoverOpaque] = &RIPBlitKernelCopy16;
    t[18] = t[0];  // channel 0 of a one-sample pixel is the pixel
    PutRange(t, 19, 23, kBlitNoOpRow);
    t[35] = kBlitNoOpRow;
    return t;
}

constexpr RIPBlitKernelTable BuildBlit48() {
    RIPBlitKernelTable t{};
    t[0] = Blit16Row<3, -1>();
    t[0][kCoverOpaque] = &RIPBlitKernelCopy48;
    t[18] = Blit16Row<3, 0>();
    t[19] = Blit16Row<3, 1>();
    t[20] = Blit16Row<3, 2>();
    Put(t, {21, 22, 23, 35}, kBlitNoOpRow);
    return t;
}

}  // namespace

constexpr RIPBlitKernelTable RIPBlitKernels16 = BuildBlit16();
constexpr RIPBlitKernelTable RIPBlitKernels48 = BuildBlit48();

}  // namespace raster::kernels
