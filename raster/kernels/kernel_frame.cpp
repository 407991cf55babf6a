// The no-op and pending kernels and the column choice of a run.
#include "kernels/kernel_frame.h"

#include <cassert>
#include <cstdio>
#include <cstdlib>

namespace raster::kernels {

void RIPKernelNoOp(const RIPKernelParams::Fill*, std::uint32_t, std::uint8_t*, const RIPKernelCoverage*) {}
void RIPKernelNoOp(const RIPKernelParams::Blit*, std::uint32_t, std::uint8_t*, const std::uint8_t*,
                   const RIPKernelCoverage*) {}

namespace {
[[noreturn]] void StopPending() {
    std::fputs("compositing kernel called before its family was built\n", stderr);
    std::abort();
}
}  // namespace

void RIPKernelPending(const RIPKernelParams::Fill*, std::uint32_t, std::uint8_t*, const RIPKernelCoverage*) {
    StopPending();
}
void RIPKernelPending(const RIPKernelParams::Blit*, std::uint32_t, std::uint8_t*, const std::uint8_t*,
                      const RIPKernelCoverage*) {
    StopPending();
}

RIPCoverageVariant RIPKernelColumnFor(const RIPKernelCoverage* cov, bool partialOpacity) {
    const bool first = cov != nullptr && cov->mask1 != nullptr;
    const bool second = cov != nullptr && cov->mask2 != nullptr;
    assert(first || !second);  // a second mask without a first
    if (!first) {
        return partialOpacity ? kCoverConstant : kCoverOpaque;
    }
    if (!second) {
        return partialOpacity ? kCoverMaskConstant : kCoverMask;
    }
    return partialOpacity ? kCoverMaskMaskConstant : kCoverMaskMask;
}

}  // namespace raster::kernels
