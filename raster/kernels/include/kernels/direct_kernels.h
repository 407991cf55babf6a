// The opaque kernels the raster library also calls by name, outside the
// tables: the whole-image fill and the tiled-row copier fill rows with one
// colour (Lab images through the 24-bit kernel). They take no coverage
// record. Each is the very kernel its table holds in row 0, column 0.
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

// n pixels of four bytes, each the colour's channel bytes 8 to 11.
void RIPFillKernelSet32(const RIPKernelParams::Fill* params, std::uint32_t n, std::uint8_t* dst,
                        const RIPKernelCoverage* cov);
// n pixels of four bytes copied from the source run.
void RIPBlitKernelCopy32(const RIPKernelParams::Blit* params, std::uint32_t n, std::uint8_t* dst,
                         const std::uint8_t* src, const RIPKernelCoverage* cov);

// n 16-bit grey samples, each the colour's value at byte 8 (model 24).
void RIPFillKernelSet16(const RIPKernelParams::Fill* params, std::uint32_t n, std::uint8_t* dst,
                        const RIPKernelCoverage* cov);
// n pixels of three 16-bit samples, the colour's values at bytes 6, 8 and 10 (model 23).
void RIPFillKernelSet48(const RIPKernelParams::Fill* params, std::uint32_t n, std::uint8_t* dst,
                        const RIPKernelCoverage* cov);
// n pixels of 2 and of 6 bytes copied from the source run.
void RIPBlitKernelCopy16(const RIPKernelParams::Blit* params, std::uint32_t n, std::uint8_t* dst,
                         const std::uint8_t* src, const RIPKernelCoverage* cov);
void RIPBlitKernelCopy48(const RIPKernelParams::Blit* params, std::uint32_t n, std::uint8_t* dst,
                         const std::uint8_t* src, const RIPKernelCoverage* cov);

}  // namespace raster::kernels
