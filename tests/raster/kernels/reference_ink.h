// A plain model of the four-channel ink tables (fill-32, blit-32), written
// from their row-by-row definitions over the 8-bit model: stored bytes, light
// values 255 − x, the whole-pixel brightness rule and the lightness operand.
#pragma once

#include <cstdint>

#include "kernels/kernel_frame.h"

namespace raster::kernels::reference {

// Brightness of an ink pixel: the largest of 255 − min(p_i + p3, 255), i = 0..2.
std::uint32_t InkBrightness(const std::uint8_t* p);

// A fill of n ink pixels with the colour c (four bytes), as fill-32 row
// `mode`, column `col` defines it.
void Fill32(std::uint32_t mode, std::uint32_t col, const std::uint8_t* c, std::uint8_t* dst, std::uint32_t n,
            const RIPKernelCoverage& cov, RIPKernelRandom& random);

// A blit of n ink pixels, as blit-32 row `mode`, column `col` defines it,
// with the rows it takes from chan-8 run four channels a step.
void Blit32(std::uint32_t mode, std::uint32_t col, std::uint8_t* dst, const std::uint8_t* src, std::uint32_t n,
            const RIPKernelCoverage& cov, RIPKernelRandom& random);

}  // namespace raster::kernels::reference
