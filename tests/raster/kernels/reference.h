// A plain model of the 8-bit merge modes, written straight from their
// definitions with no table and no speed tricks: every kernel's bytes are
// checked against it.
#pragma once

#include <cstdint>

#include "kernels/kernel_frame.h"

namespace raster::kernels::reference {

// a·b/255 and every other division by 255 of the modes, truncating.
std::uint32_t T(std::uint32_t x);

// The weight of column col for the bytes m1, m2 and opacity a; mode0 selects
// the product form of column 5 that the Set kernels use.
std::uint32_t Weight(std::uint32_t col, bool mode0, std::uint32_t m1, std::uint32_t m2, std::uint32_t a);

// Column 0 of a merge mode: d combined with the colour or source sample s.
// Modes without an opaque kernel (27, and the no-op rows) give d.
std::uint32_t Opaque(std::uint32_t mode, std::uint32_t d, std::uint32_t s);
// Columns 1-5 of a merge mode other than Dissolve, with the pixel's weight.
std::uint32_t Covered(std::uint32_t mode, std::uint32_t d, std::uint32_t s, std::uint32_t w);

// A grey fill of n pixels with colour c, as the fill-8 row `mode`, column `col` defines it.
void Fill8(std::uint32_t mode, std::uint32_t col, std::uint32_t c, std::uint8_t* dst, std::uint32_t n,
           const RIPKernelCoverage& cov, RIPKernelRandom& random);

// A channel-kernel run (chan-8 row `mode`, column `col`); blit-8 is the same
// with steps 1 and one channel.
void Channel8(std::uint32_t mode, std::uint32_t col, std::int32_t srcStep, std::int32_t dstStep,
              std::uint32_t channels, std::uint8_t* dst, const std::uint8_t* src, std::uint32_t n,
              const RIPKernelCoverage& cov, RIPKernelRandom& random);

}  // namespace raster::kernels::reference
