// blit-8, the grey 8-bit blit table, and blit-P8 for paletted images with
// identical palettes. Most of blit-8 is chan-8 run one byte per step.
#include "grey8_kernels.h"

namespace raster::kernels {
namespace {

using namespace detail;

// Rows whose column 0 is this family's own (with a vector path) and whose
// coverage columns are the channel kernels of the same mode.
template <class Mode>
constexpr RIPBlitKernelRow OwnOpaqueRow() {
    RIPBlitKernelRow r = kChannel8Table[Mode::kMode];
    r[kCoverOpaque] = &Blit8Kernel<Mode, kCoverOpaque>;
    return r;
}

constexpr RIPBlitKernelTable BuildBlit8() {
    RIPBlitKernelTable t = kChannel8Table;  // 8-12, 13 (= 9), 26-34 and the no-op rows
    t[0] = Blit8Row<ModeSet>();
    t[1] = OwnOpaqueRow<ModeAnd>();
    t[2] = OwnOpaqueRow<ModeOr>();
    t[3] = OwnOpaqueRow<ModeXor>();
    t[4] = OwnOpaqueRow<ModeAndNot>();
    t[5] = OwnOpaqueRow<ModeInvert>();
    t[6] = OwnOpaqueRow<ModeSetInverse>();
    t[7] = OwnOpaqueRow<ModeAdd>();
    t[18] = t[0];
    t[24] = OwnOpaqueRow<ModeDifference>();
    t[25] = OwnOpaqueRow<ModeSubtract>();
    t[32][kCoverOpaque] = t[0][kCoverOpaque];
    return t;
}

// Only the copy works on indices directly; the no-op rows do nothing and the
// rest goes through a working format.
constexpr RIPBlitKernelTable BuildBlitP8() {
    RIPBlitKernelTable t{};
    t[0][kCoverOpaque] = kRIPBlitKernelCopy8;
    t[18][kCoverOpaque] = kRIPBlitKernelCopy8;
    for (std::uint32_t m = 19; m <= 23; ++m) {
        t[m] = kBlitNoOpRow;
    }
    return t;
}

}  // namespace

constexpr RIPBlitKernelTable RIPBlitKernels8 = BuildBlit8();
constexpr RIPBlitKernelTable RIPBlitKernelsP8 = BuildBlitP8();

}  // namespace raster::kernels
