// fill-16 and fill-48, the fill tables of 16-bit grey and 48-bit RGB, and
// their Set kernels by name. Only Set is a kernel of its own; the channel and
// no-op rows do nothing and every other mode goes through a working format.
#include "sample16_kernels.h"

namespace raster::kernels {

void RIPFillKernelSet16(const RIPKernelParams::Fill* params, std::uint32_t n, std::uint8_t* dst,
                        const RIPKernelCoverage* cov) {
    detail::Fill16Kernel<1, kCoverOpaque>(params, n, dst, cov);
}
void RIPFillKernelSet48(const RIPKernelParams::Fill* params, std::uint32_t n, std::uint8_t* dst,
                        const RIPKernelCoverage* cov) {
    detail::Fill16Kernel<3, kCoverOpaque>(params, n, dst, cov);
}

namespace {

using namespace detail;

constexpr RIPFillKernelTable BuildFill16Or48(const RIPFillKernelRow& set) {
    RIPFillKernelTable t{};
    t[0] = set;
    PutRange(t, 18, 23, kFillNoOpRow);
    t[35] = kFillNoOpRow;
    return t;
}

template <std::uint32_t K>
constexpr RIPFillKernelRow SetRow(RIPFillKernel named) {
    RIPFillKernelRow r = Fill16Row<K>();
    r[kCoverOpaque] = named;
    return r;
}

}  // namespace

constexpr RIPFillKernelTable RIPFillKernels16 = BuildFill16Or48(SetRow<1>(&RIPFillKernelSet16));
constexpr RIPFillKernelTable RIPFillKernels48 = BuildFill16Or48(SetRow<3>(&RIPFillKernelSet48));

}  // namespace raster::kernels
