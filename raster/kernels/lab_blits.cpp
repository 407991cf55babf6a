// blit-Lab, the blit table of Lab images: the RGB copy, blends and one-byte
// rows, the channel kernels, and the four rows that know the Lab layout.
#include "rgb24_kernels.h"

namespace raster::kernels {
namespace {

using namespace detail;

constexpr RIPBlitKernelTable BuildBlitLab() {
    RIPBlitKernelTable t{};
    for (std::uint32_t m : {0, 18, 19, 20, 32}) {
        t[m] = kBlit24Table[m];
    }
    for (std::uint32_t m : {1, 2, 3, 4, 5, 6, 7, 24, 25}) {
        t[m][kCoverOpaque] = kBlit24Table[m][kCoverOpaque];
    }
    CoverageFromChannel8(t, {1, 2, 3, 4, 5, 6, 7, 24, 25});
    RowsFromChannel8(t, {8, 10, 26, 27, 29, 30, 31, 33, 34});
    t[9] = Blit24Row<LabMultiply>();
    t[11] = Blit24Row<LabLighten>();
    t[12] = Blit24Row<LabDarken>();
    t[17] = kBlit24Table[kModeChannel0];  // brightness is L
    t[28] = Blit24Row<LabScreen>();
    Put(t, {21, 22, 23, 35}, kBlitNoOpRow);
    return t;
}

}  // namespace

constexpr RIPBlitKernelTable RIPBlitKernelsLab = BuildBlitLab();

}  // namespace raster::kernels
