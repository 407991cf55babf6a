// The opaque kernels the raster library also calls by name, outside the
// tables: the whole-image fill and the tiled-row copier fill rows with one
// colour (Lab images through the 24-bit kernel). They take no coverage record.
#pragma once

#include <cstdint>

#include "kernels/kernel_frame.h"

namespace raster::kernels {

// n pixels of three bytes, each the colour's channel bytes 8, 9 and 10.
void RIPFillKernelSet24(const RIPKernelParams::Fill* params, std::uint32_t n, std::uint8_t* dst,
                        const RIPKernelCoverage* cov);
// n pixels of three bytes copied from the source run.
void RIPBlitKernelCopy24(const RIPKernelParams::Blit* params, std::uint32_t n, std::uint8_t* dst,
                         const std::uint8_t* src, const RIPKernelCoverage* cov);

}  // namespace raster::kernels
