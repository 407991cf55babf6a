// A plain model of the bilevel tables (fill-1, blit-1) over an array of one
// value per pixel, and of the paletted fill (fill-P8) with the nearest entry
// found by searching every entry.
#pragma once

#include <cstdint>

#include "kernels/kernel_frame.h"
#include "raster/palette.h"

namespace raster::kernels::reference {

// fill-1 row `mode`, column `col`, with the colour word k, over n pixels from
// bit `offset` of dst's first byte.
void Fill1(std::uint32_t mode, std::uint32_t col, std::uint32_t k, std::uint8_t* dst, std::uint32_t offset,
           std::uint32_t n, const RIPKernelCoverage& cov);
// blit-1 row `mode`, column `col`.
void Blit1(std::uint32_t mode, std::uint32_t col, std::uint8_t* dst, std::uint32_t dstOffset, const std::uint8_t* src,
           std::uint32_t srcOffset, std::uint32_t n, const RIPKernelCoverage& cov);

// The lowest index of the entries nearest to (red, green, blue); 0 without entries.
std::uint8_t NearestEntry(const RIPPalette& palette, std::uint32_t red, std::uint32_t green, std::uint32_t blue);

// fill-P8 row 0, column `col`, with the colour index c.
void FillP8(std::uint32_t col, std::uint32_t c, const RIPPalette& palette, std::uint8_t* dst, std::uint32_t n,
            const RIPKernelCoverage& cov);

}  // namespace raster::kernels::reference
