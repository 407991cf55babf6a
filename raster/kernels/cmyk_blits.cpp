// blit-32, the blit table of four-channel ink pixels, and its Copy by name.
// Rows that work on the stored bytes with nothing of their own under coverage
// take chan-8's kernels, which the blit setup runs four channels a step.
#include "cmyk_kernels.h"

namespace raster::kernels {

void RIPBlitKernelCopy32(const RIPKernelParams::Blit* params, std::uint32_t n, std::uint8_t* dst,
                         const std::uint8_t* src, const RIPKernelCoverage* cov) {
    detail::Blit32Kernel<detail::InkSet, kCoverOpaque>(params, n, dst, src, cov);
}

namespace {

using namespace detail;

// A row of chan-8 with this family's own opaque kernel.
template <class M>
constexpr RIPBlitKernelRow OwnOpaqueOverChannel8() {
    RIPBlitKernelRow r = kChannel8Table[M::kMode];
    r[kCoverOpaque] = &Blit32Kernel<PerByte<M>, kCoverOpaque>;
    return r;
}

constexpr RIPBlitKernelTable BuildBlit32() {
    RIPBlitKernelTable t{};
    t[0] = Blit32Row<InkSet>();
    t[0][kCoverOpaque] = &RIPBlitKernelCopy32;
    t[1] = OwnOpaqueOverChannel8<ModeAnd>();
    t[2] = OwnOpaqueOverChannel8<ModeOr>();
    t[3] = OwnOpaqueOverChannel8<ModeXor>();
    t[4] = OwnOpaqueOverChannel8<ModeAndNot>();
    t[5] = OwnOpaqueOverChannel8<ModeInvert>();
    t[6] = OwnOpaqueOverChannel8<ModeSetInverse>();
    t[7] = Blit32Row<InkAdd>();
    t[8] = Blit32Row<InkAddMinus>();
    t[9] = kChannel8Table[kModeScreen];  // ink multiplies as light screens
    t[10] = Blit32Row<InkDivide>();
    t[11] = Blit32Row<InkLighten>();
    t[12] = Blit32Row<InkDarken>();
    t[13] = Blit32Row<InkLightnessMultiply>();
    t[18] = Blit32Row<ChannelOf<0>>();
    t[19] = Blit32Row<ChannelOf<1>>();
    t[20] = Blit32Row<ChannelOf<2>>();
    t[21] = Blit32Row<ChannelOf<3>>();
    t[24] = OwnOpaqueOverChannel8<ModeDifference>();
    t[25] = OwnOpaqueOverChannel8<ModeSubtract>();
    t[26] = Blit32Row<InkMultiplyInverse>();
    t[28] = kChannel8Table[kModeScreen];
    RowsFromChannel8(t, {27, 29, 30, 31, 33, 34});
    t[32] = Blit32Row<InkDissolve>();
    Put(t, {22, 23, 35}, kBlitNoOpRow);
    return t;
}

}  // namespace

constexpr RIPBlitKernelTable RIPBlitKernels32 = BuildBlit32();

}  // namespace raster::kernels
