// A plain model of the 3-byte-pixel tables (fill-24, fill-Lab, blit-24,
// blit-Lab), written from their definitions: the per-byte modes through the
// 8-bit model, and the whole-pixel rules (brightness and lightness picks,
// lightness multiply, hue, saturation and brightness, one-byte rows, Lab's
// centred chroma multiply, per-pixel Dissolve) on their own.
#pragma once

#include <cstdint>

#include "colour/color_record.h"
#include "kernels/kernel_frame.h"

namespace raster::kernels::reference {

enum class Layout24 { Rgb, Lab };

// A fill of n pixels with the colour record as row `mode`, column `col` of
// fill-24 (Rgb) or fill-Lab (Lab) defines it.
void Fill24(Layout24 layout, std::uint32_t mode, std::uint32_t col, const colour::ColorRecord& colour,
            std::uint8_t* dst, std::uint32_t n, const RIPKernelCoverage& cov, RIPKernelRandom& random);

// A blit of n pixels as row `mode`, column `col` of blit-24 or blit-Lab defines it.
void Blit24(Layout24 layout, std::uint32_t mode, std::uint32_t col, std::uint8_t* dst, const std::uint8_t* src,
            std::uint32_t n, const RIPKernelCoverage& cov, RIPKernelRandom& random);

// The hue w/255 of the way from `from` to `toward` the shorter way round.
std::uint32_t HueStep(std::uint32_t from, std::uint32_t toward, std::uint32_t w);

}  // namespace raster::kernels::reference
