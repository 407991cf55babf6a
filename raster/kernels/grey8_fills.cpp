// fill-8, the grey 8-bit fill table, and fill-P8, whose opaque Set writes a
// palette index with the grey Set kernel.
#include "grey8_kernels.h"

namespace raster::kernels {
namespace {

using namespace detail;

constexpr RIPFillKernelTable BuildFill8() {
    RIPFillKernelTable t{};
    t[0] = Fill8Row<ModeSet>();
    t[1] = Fill8Row<ModeAnd>();
    t[2] = Fill8Row<ModeOr>();
    t[3] = Fill8Row<ModeXor>();
    t[4] = Fill8Row<ModeAndNot>();
    t[5] = Fill8Row<ModeInvert>();
    t[6] = Fill8Row<ModeSetInverse>();
    t[7] = Fill8Row<ModeAdd>();
    t[8] = Fill8Row<ModeAddMinus>();
    t[9] = Fill8Row<ModeMultiply>();
    t[10] = Fill8Row<ModeDivide>();
    t[11] = Fill8Row<ModeLighten>();
    t[12] = Fill8Row<ModeDarken>();
    t[13] = t[9];  // lightness of one grey sample is the sample
    for (std::uint32_t m = 14; m <= 23; ++m) {
        t[m] = kFillNoOpRow;
    }
    t[18] = t[0];  // channel 0 of a one-channel format is the pixel
    t[24] = Fill8Row<ModeDifference>();
    t[25] = Fill8Row<ModeSubtract>();
    t[26] = Fill8Row<ModeMultiplyInverse>();
    t[27] = Fill8Row<ModeBehind>();
    t[28] = Fill8Row<ModeScreen>();
    t[29] = Fill8Row<ModeOverlay>();
    t[30] = Fill8Row<ModeSoftLight>();
    t[31] = Fill8Row<ModeHardLight>();
    t[32] = Fill8Row<ModeDissolve>();
    t[33] = Fill8Row<ModeDodge>();
    t[34] = Fill8Row<ModeBurn>();
    t[35] = kFillNoOpRow;
    return t;
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
