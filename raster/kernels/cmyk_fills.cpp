// fill-32, the fill table of four-channel ink pixels, and its Set kernel by name.
#include "cmyk_kernels.h"

namespace raster::kernels {

void RIPFillKernelSet32(const RIPKernelParams::Fill* params, std::uint32_t n, std::uint8_t* dst,
                        const RIPKernelCoverage* cov) {
    detail::Fill32Kernel<detail::InkSet, kCoverOpaque>(params, n, dst, cov);
}

namespace {

using namespace detail;

constexpr RIPFillKernelTable BuildFill32() {
    RIPFillKernelTable t{};
    t[0] = Fill32Row<InkSet>();
    t[0][kCoverOpaque] = &RIPFillKernelSet32;
    t[1] = Fill32Row<PerByte<ModeAnd>>();
    t[2] = Fill32Row<PerByte<ModeOr>>();
    t[3] = Fill32Row<PerByte<ModeXor>>();
    t[4] = Fill32Row<PerByte<ModeAndNot>>();
    t[5] = Fill32Row<PerByte<ModeInvert>>();
    t[6] = Fill32Row<PerByte<ModeSetInverse>>();
    t[7] = Fill32Row<InkAdd>();
    t[8] = Fill32Row<InkAddMinus>();
    t[9] = Fill32Row<InkMultiply>();
    t[10] = Fill32Row<InkDivide>();
    t[11] = Fill32Row<InkLighten>();
    t[12] = Fill32Row<InkDarken>();
    t[13] = Fill32Row<InkLightnessMultiply>();
    t[18] = Fill32Row<ChannelOf<0>>();
    t[19] = Fill32Row<ChannelOf<1>>();
    t[20] = Fill32Row<ChannelOf<2>>();
    t[21] = Fill32Row<ChannelOf<3>>();
    t[24] = Fill32Row<PerByte<ModeDifference>>();
    t[25] = Fill32Row<PerByte<ModeSubtract>>();
    t[26] = Fill32Row<InkMultiplyInverse>();
    t[27] = Fill32Row<PerByte<ModeBehind>>();
    t[28] = Fill32Row<PerByte<ModeScreen>>();
    t[29] = Fill32Row<PerByte<ModeOverlay>>();
    t[30] = Fill32Row<PerByte<ModeSoftLight>>();
    t[31] = Fill32Row<PerByte<ModeHardLight>>();
    t[32] = Fill32Row<InkDissolve>();
    t[33] = Fill32Row<PerByte<ModeDodge>>();
    t[34] = Fill32Row<PerByte<ModeBurn>>();
    Put(t, {22, 23, 35}, kFillNoOpRow);
    return t;
}

}  // namespace

constexpr RIPFillKernelTable RIPFillKernels32 = BuildFill32();

}  // namespace raster::kernels
