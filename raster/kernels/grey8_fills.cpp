// fill-8, the grey 8-bit fill table.
#include "grey8_kernels.h"

namespace raster::kernels {
namespace {

using namespace detail;

constexpr RIPFillKernelTable BuildFill8() {
    return BuildGrey8Layout<RIPFillKernelTable>([](auto mode) { return Fill8Row<decltype(mode)>(); },
                                                kFillNoOpRow);
}

}  // namespace

constexpr RIPFillKernelTable RIPFillKernels8 = BuildFill8();

}  // namespace raster::kernels
