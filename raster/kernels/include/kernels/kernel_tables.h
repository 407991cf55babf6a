// The eighteen kernel tables: 36 merge-mode rows of six coverage columns per
// pixel format and kernel kind. A slot holds a kernel, the no-op kernel (the
// operation does nothing in this format) or null (paint through a working
// format instead).
#pragma once

#include <array>

#include "kernels/kernel_frame.h"

namespace raster::kernels {

using RIPFillKernelRow = std::array<RIPFillKernel, kRIPCoverageVariantCount>;
using RIPBlitKernelRow = std::array<RIPBlitKernel, kRIPCoverageVariantCount>;
using RIPFillKernelTable = std::array<RIPFillKernelRow, kRIPMergeModeCount>;
using RIPBlitKernelTable = std::array<RIPBlitKernelRow, kRIPMergeModeCount>;
using RIPChannelKernelTable = RIPBlitKernelTable;

// Fill tables, by pixel format code.
extern const RIPFillKernelTable RIPFillKernels16;   // 14: 16-bit grey
extern const RIPFillKernelTable RIPFillKernels48;   // 12: 48-bit RGB
extern const RIPFillKernelTable RIPFillKernels32;   // 3: four ink channels
extern const RIPFillKernelTable RIPFillKernels24;   // 1: blue, green, red
extern const RIPFillKernelTable RIPFillKernelsLab;  // 11: Lab
extern const RIPFillKernelTable RIPFillKernels8;    // 5 and 99: 8-bit grey
extern const RIPFillKernelTable RIPFillKernelsP8;   // 10 at 8 bits: palette indices
extern const RIPFillKernelTable RIPFillKernels1;    // 6: bilevel

// Blit tables, by pixel format code of source and destination alike.
extern const RIPBlitKernelTable RIPBlitKernels16;
extern const RIPBlitKernelTable RIPBlitKernels48;
extern const RIPBlitKernelTable RIPBlitKernels32;
extern const RIPBlitKernelTable RIPBlitKernels24;
extern const RIPBlitKernelTable RIPBlitKernelsLab;
extern const RIPBlitKernelTable RIPBlitKernels8;
extern const RIPBlitKernelTable RIPBlitKernelsP8;  // identical palettes only
extern const RIPBlitKernelTable RIPBlitKernels1;

// Channel tables: one sample (or one pixel's samples) per step, with byte
// steps from the parameter record. chan-16 serves 16-bit sample sources.
extern const RIPChannelKernelTable RIPChannelKernels16;
extern const RIPChannelKernelTable RIPChannelKernels8;

}  // namespace raster::kernels
