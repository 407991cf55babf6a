// A plain model of the 16-bit-sample tables (fill-16, fill-48, blit-16,
// blit-48, chan-16): the two divisions written as 64-bit quotients, the
// modes straight from their definitions.
#pragma once

#include <cstdint>

#include "kernels/kernel_frame.h"

namespace raster::kernels::reference {

// min(floor(65536·x / (255·65535)), 65535): a sample blended by an 8-bit weight.
std::uint32_t Q16(std::uint64_t x);
// min(floor(65536·x / 65535²), 65535): the product of two samples.
std::uint32_t P16(std::uint64_t x);

// Column 0 and columns 1-5 of chan-16 row `mode` on one sample.
std::uint32_t Opaque16(std::uint32_t mode, std::uint32_t d, std::uint32_t s);
std::uint32_t Covered16(std::uint32_t mode, std::uint32_t d, std::uint32_t s, std::uint32_t w);

// Set of n pixels of k samples (1 or 3) with the colour values c.
void Fill16(std::uint32_t k, std::uint32_t col, const std::uint16_t* c, std::uint8_t* dst, std::uint32_t n,
            const RIPKernelCoverage& cov);
// Set of n pixels of k samples from a source run, on all samples (lane -1)
// or on one.
void Blit16(std::uint32_t k, int lane, std::uint32_t col, std::uint8_t* dst, const std::uint8_t* src,
            std::uint32_t n, const RIPKernelCoverage& cov);
// A chan-16 run with byte steps.
void Channel16(std::uint32_t mode, std::uint32_t col, std::int32_t srcStep, std::int32_t dstStep, std::uint8_t* dst,
               const std::uint8_t* src, std::uint32_t n, const RIPKernelCoverage& cov, RIPKernelRandom& random);

}  // namespace raster::kernels::reference
