// One colour painted into a rectangle of an image under a merge mode, up to
// two caller coverage masks, the image's mask and linked plane, and the
// raster state's opacity.
#pragma once

#include <cstdint>

#include "colour/color_record.h"
#include "raster/fill_context.h"
#include "raster/image.h"

namespace raster {

struct RIPRasterState;

// RIPFillRect flags, beside the merge mode in the low 16 bits and
// kIgnoreMask (which also lifts the clip to the image bounds) and
// kIgnoreLinkedImage.
inline constexpr std::uint32_t kFillUseMask1 = 0x10000;
inline constexpr std::uint32_t kFillUseMask2 = 0x20000;

// Paints the colour into (x, y, width, height). Each mask, when its flag is
// set, holds one coverage byte a pixel for the rectangle, rows stride bytes
// apart, its first row being row y. Nothing to paint (a null image or colour,
// a mask without its stride, an empty rectangle, a paletted image of under 8
// bits, merge mode 35, an operation that changes nothing) is 1; 0 for a
// refused merge mode, a format without kernels or converters, exhausted
// memory, a failed lock or a stop asked by the progress callback.
int RIPFillRect(RIPRasterState* state, RIPImage* image, std::int32_t x, std::int32_t y, std::int32_t width,
                std::int32_t height, const std::uint8_t* mask1, std::int32_t mask1Stride,
                const std::uint8_t* mask2, std::int32_t mask2Stride, const colour::ColorRecord* colour,
                std::uint32_t flags);

// The contiguous painter: count pixels from the row address, over every row
// of the piece, in one kernel call when the piece spans whole rows of whole
// pixels, else a call per row. 1.
int RIPFillContextPaintRows(RIPFillContext* context, std::uint32_t count);

}  // namespace raster
