// Runs of one pixel value, for the opaque Set kernels of the multi-byte formats.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "vector_kernels.h"

namespace raster::kernels::detail {

// The leading bytes of a run of one pixel value that the vector path of the
// features in force writes (whole pixels), or 0 on the plain path.
inline std::size_t VectorFillPrefix(std::uint8_t* dst, std::size_t bytes, const std::uint8_t* px, std::size_t size) {
    const VectorKernels* v = ActiveVectorKernels();
    return v != nullptr && v->patternFill != nullptr ? v->patternFill(dst, bytes, px, size) : 0;
}

// n pixels of `size` bytes (2, 4 or 6), each a copy of px: a block of whole
// pixels is built once and stored over and over, which the compiler turns
// into wide stores.
inline void FillPixels(std::uint8_t* dst, std::uint32_t n, const std::uint8_t* px, std::size_t size) {
    constexpr std::size_t kBlock = 96;  // a multiple of 2, 4 and 6
    alignas(32) std::uint8_t block[kBlock];
    for (std::size_t i = 0; i < kBlock; i += size) {
        std::memcpy(block + i, px, size);
    }
    const std::size_t total = size * n;
    std::size_t i = VectorFillPrefix(dst, total, px, size);
    for (; total - i >= kBlock; i += kBlock) {
        std::memcpy(dst + i, block, kBlock);
    }
    if (i < total) {
        std::memcpy(dst + i, block, total - i);
    }
}

}  // namespace raster::kernels::detail
