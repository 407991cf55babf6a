// Conversion of a rectangle of one raster image into another image of any
// pixel type, reducing colour with the raster state's dither method. This is
// the library's one entry for type conversion.
#pragma once

#include <cstdint>

namespace raster {
struct RIPImage;
struct RIPRasterState;
struct RIPTileSlot;
}  // namespace raster

namespace raster::convert {

// Copies the width × height rectangle at (sourceX, sourceY) of source to
// (x, y) of destination, converting pixels. The state may be null (a
// temporary one with the defaults is used where one is needed); the caller's
// state keeps its opacity, and only a palette-to-palette remap changes its
// dither method (to 1). Row y counts from the bottom as the image store does.
// 1 success, 0 failure (bad arguments, no memory, a failed lock, or the
// progress callback asking to stop).
int RIPConvertImageToImage(RIPRasterState* state, RIPImage* destination, std::int32_t x, std::int32_t y,
                           RIPImage* source, std::int32_t sourceX, std::int32_t sourceY, std::int32_t width,
                           std::int32_t height);

// One piece of a conversion: both slots locked by the caller, positions
// relative to the slots' origins, the rectangle inside both slots. 1 or 0.
int RIPConvertPair(RIPRasterState* state, RIPImage* destination, RIPTileSlot* destinationSlot, std::int32_t x,
                   std::int32_t y, RIPImage* source, RIPTileSlot* sourceSlot, std::int32_t sourceX,
                   std::int32_t sourceY, std::int32_t width, std::int32_t height);

// The conversion's format index: type 1 → 0, 3 → 1, 5 and 99 → 2, 6 → 3,
// 10 with 8 bits → 4, 11 → 5, 10 with 1 or 4 bits → 6, 12 → 7, 14 → 8;
// -1 for anything else.
int RIPFormatIndex10(std::int32_t type, std::int32_t bitsPerPixel);

// 1 when the six positions and sizes are non-negative and both rectangles lie
// inside their images.
int RIPCheckConvertRects(const RIPImage* destination, std::int32_t x, std::int32_t y, const RIPImage* source,
                         std::int32_t sourceX, std::int32_t sourceY, std::int32_t width, std::int32_t height);

}  // namespace raster::convert
