// Error diffusion over a whole rectangle into bilevel and paletted images,
// walking the rows of both images through their tiles. Each takes
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

using RIPWholeConverter = int (*)(RIPRasterState* state, RIPImage* destination, std::int32_t x,
                                  std::int32_t y, std::int32_t width, std::int32_t height, RIPImage* source,
                                  std::int32_t sourceX, std::int32_t sourceY);

int RIPConvertRGB24ToBilevel(RIPRasterState*, RIPImage*, std::int32_t, std::int32_t, std::int32_t,
                             std::int32_t, RIPImage*, std::int32_t, std::int32_t);
int RIPConvertCMYKToBilevel(RIPRasterState*, RIPImage*, std::int32_t, std::int32_t, std::int32_t,
                            std::int32_t, RIPImage*, std::int32_t, std::int32_t);
int RIPConvertPal8ToBilevel(RIPRasterState*, RIPImage*, std::int32_t, std::int32_t, std::int32_t,
                            std::int32_t, RIPImage*, std::int32_t, std::int32_t);
int RIPConvertGray8ToBilevel(RIPRasterState*, RIPImage*, std::int32_t, std::int32_t, std::int32_t,
                             std::int32_t, RIPImage*, std::int32_t, std::int32_t);
// Lab, 48-bit RGB and 16-bit grey: through a temporary 8-bit grey image.
int RIPConvertAnyToBilevel(RIPRasterState*, RIPImage*, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                           RIPImage*, std::int32_t, std::int32_t);
// Serpentine rows (even rows left to right) through the destination
// palette's cache, which is made when missing and stays attached.
int RIPConvertRGB24ToPal8(RIPRasterState*, RIPImage*, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                          RIPImage*, std::int32_t, std::int32_t);
int RIPConvertPal8ToPal8(RIPRasterState*, RIPImage*, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                         RIPImage*, std::int32_t, std::int32_t);
int RIPConvertGray8ToPal8(RIPRasterState*, RIPImage*, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                          RIPImage*, std::int32_t, std::int32_t);
// CMYK, Lab, 48-bit RGB and 16-bit grey: through a temporary 24-bit RGB image.
int RIPConvertAnyToPal8(RIPRasterState*, RIPImage*, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                        RIPImage*, std::int32_t, std::int32_t);

// The converter for a pair of format indexes (RIPFormatIndex10), null when
// the pair has none: only bilevel and 8-bit paletted destinations do.
RIPWholeConverter RIPDiffusionConverter(int sourceIndex, int destinationIndex);
// Into 4-bit images of the standard 16-colour palette, from 24-bit RGB and
// 8-bit grey: the row step of the per-piece members, with the error rows
// carried over tile edges; CMYK and Lab through a temporary 24-bit RGB
// image. By source format index; null for other sources (they reach these
// converters through a whole conversion of their own).
int RIPConvertRGB24ToStdPal4(RIPRasterState*, RIPImage*, std::int32_t, std::int32_t, std::int32_t,
                             std::int32_t, RIPImage*, std::int32_t, std::int32_t);
int RIPConvertGray8ToStdPal4(RIPRasterState*, RIPImage*, std::int32_t, std::int32_t, std::int32_t,
                             std::int32_t, RIPImage*, std::int32_t, std::int32_t);
int RIPConvertAnyToStdPal4(RIPRasterState*, RIPImage*, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                           RIPImage*, std::int32_t, std::int32_t);
RIPWholeConverter RIPStdPal4DiffusionConverter(int sourceIndex);

}  // namespace raster::convert
