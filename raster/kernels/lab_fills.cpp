// fill-Lab, the fill table of Lab images. Only Multiply, Screen, Lighten and
// Darken know the layout; every other mode treats the chroma bytes like L,
// with the RGB kernels, and the hue and lightness modes have no kernel here.
#include "rgb24_kernels.h"

namespace raster::kernels {
namespace {

using namespace detail;

constexpr RIPFillKernelTable BuildFillLab() {
    RIPFillKernelTable t{};
    for (std::uint32_t m : {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 18, 19, 20, 24, 25, 26, 27, 29, 30, 31, 32, 33, 34}) {
        t[m] = kFill24Table[m];
    }
    t[9] = Fill24Row<LabMultiply>();
    t[11] = Fill24Row<LabLighten>();
    t[12] = Fill24Row<LabDarken>();
    t[17] = kFill24Table[kModeChannel0];  // brightness is L
    t[28] = Fill24Row<LabScreen>();
    Put(t, {21, 22, 23, 35}, kFillNoOpRow);
    return t;
}

}  // namespace

constexpr RIPFillKernelTable RIPFillKernelsLab = BuildFillLab();

}  // namespace raster::kernels
