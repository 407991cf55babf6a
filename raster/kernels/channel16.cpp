// chan-16, the channel table of 16-bit samples. Overlay, SoftLight and
// HardLight leave 16-bit samples as they are.
#include "sample16_kernels.h"

namespace raster::kernels {
namespace {

using namespace detail;

constexpr RIPChannelKernelTable BuildChannel16() {
    RIPChannelKernelTable t{};
    t[0] = Channel16Row<Mode16Set>();
    t[1] = Channel16Row<Mode16And>();
    t[2] = Channel16Row<Mode16Or>();
    t[3] = Channel16Row<Mode16Xor>();
    t[4] = Channel16Row<Mode16AndNot>();
    t[5] = Channel16Row<Mode16Invert>();
    t[6] = Channel16Row<Mode16SetInverse>();
    t[7] = Channel16Row<Mode16Add>();
    t[8] = Channel16Row<Mode16AddMinus>();
    t[9] = Channel16Row<Mode16Multiply>();
    t[10] = Channel16Row<Mode16Divide>();
    t[11] = Channel16Row<Mode16Lighten>();
    t[12] = Channel16Row<Mode16Darken>();
    t[13] = t[9];  // the lightness of one sample is the sample
    PutRange(t, 14, 17, kBlitNoOpRow);
    t[18] = t[0];
    PutRange(t, 19, 23, kBlitNoOpRow);
    t[24] = Channel16Row<Mode16Difference>();
    t[25] = Channel16Row<Mode16Subtract>();
    t[26] = Channel16Row<Mode16MultiplyInverse>();
    t[27] = Channel16Row<Mode16Behind>();
    t[28] = Channel16Row<Mode16Screen>();
    PutRange(t, 29, 31, kBlitNoOpRow);
    t[32] = Channel16Row<Mode16Dissolve>();
    t[33] = Channel16Row<Mode16Dodge>();
    t[34] = Channel16Row<Mode16Burn>();
    t[35] = kBlitNoOpRow;
    return t;
}

}  // namespace

constexpr RIPChannelKernelTable RIPChannelKernels16 = BuildChannel16();

}  // namespace raster::kernels
