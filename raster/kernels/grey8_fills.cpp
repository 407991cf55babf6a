// fill-8, the grey 8-bit fill table, and fill-P8, whose opaque Set writes a
// palette index with the grey Set kernel.
#include "grey8_kernels.h"

namespace raster::kernels {
namespace {

using namespace detail;

constexpr RIPFillKernelTable BuildFill8() {
    return BuildGrey8Layout<RIPFillKernelTable>([](auto mode) { return Fill8Row<decltype(mode)>(); },
                                                kFillNoOpRow);
}

// Everything but Set and the no-op rows goes through a working format; the
// coverage kernels of Set blend through the palette.
constexpr RIPFillKernelTable BuildFillP8() {
    RIPFillKernelTable t{};
    t[0] = kFillPendingRow;
    t[0][kCoverOpaque] = kRIPFillKernelSet8;
    t[18] = t[0];
    for (std::uint32_t m = 19; m <= 23; ++m) {
        t[m] = kFillNoOpRow;
    }
    t[35] = kFillNoOpRow;
    return t;
}

}  // namespace

constexpr RIPFillKernelTable RIPFillKernels8 = BuildFill8();
constexpr RIPFillKernelTable RIPFillKernelsP8 = BuildFillP8();

}  // namespace raster::kernels
