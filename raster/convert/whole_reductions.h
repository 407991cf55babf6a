// Error diffusion over a whole rectangle into bilevel and 8-bit paletted
// images, walking the rows of both images through their tiles. Each takes
// (state, destination, x, y, width, height, source, source x, source y):
// row j reads source row sourceY + j and writes destination row y + j.
// 1 success; 0 for no memory, a failed lock, a rectangle outside the tiles
// or a stop asked by the progress callback (rows written stay written).
#pragma once

#include <cstdint>

namespace raster {
struct RIPImage;
struct RIPRasterState;
}  // namespace raster

namespace raster::convert {

using RIPWholeConverter = int (*)(RIPRasterState* state, RIPImage* destination, std::int32_t x, std::int32_t y,
                                  std::int32_t width, std::int32_t height, RIPImage* source, std::int32_t sourceX,
                                  std::int32_t sourceY);

// The converter for a pair of format indexes (RIPFormatIndex10), null when
// the pair has none: only bilevel and 8-bit paletted destinations do.
RIPWholeConverter RIPDiffusionConverter(int sourceIndex, int destinationIndex);

}  // namespace raster::convert
