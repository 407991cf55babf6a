// Which kernel table row serves a pixel format and merge mode.
#pragma once

#include <cstdint>

#include "kernels/kernel_tables.h"

namespace raster {

// The fill row for an image type (1, 3, 5, 6, 10 at 8 bits, 11, 12, 14, 99);
// null for any other type, for type 10 at another depth, and for a mode above 35.
const kernels::RIPFillKernelRow* RIPSpanKernelTableSelect(std::uint32_t type, std::int32_t bitsPerPixel,
                                                          std::uint32_t mode);
// The blit row for a type, by the same rules.
const kernels::RIPBlitKernelRow* RIPBlitKernelTableSelect(std::uint32_t type, std::int32_t bitsPerPixel,
                                                          std::uint32_t mode);

}  // namespace raster
