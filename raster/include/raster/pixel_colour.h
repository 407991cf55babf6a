// A colour record written as the bytes of one pixel of the matching format,
// and read back from them.
#pragma once

#include <cstdint>

#include "colour/color_record.h"

namespace raster {

// Writes the record's channels in its model's pixel layout and returns 1:
// model 3 four bytes, models 5 and 18 three, model 8 one (255 when its 32-bit
// value is non-zero), model 9 one, model 23 three 16-bit samples, model 24
// one (16-bit samples in memory order, low byte first). Other models write
// nothing and return 0.
int RIPColorToPixel(std::uint8_t* pixel, const colour::ColorRecord& colour);
// The reverse: fills the record's channels from the pixel in the record's
// model and returns 1. Model 8 (whose pixel byte cannot say the value) and
// other models change nothing and return 0.
int RIPPixelToColor(colour::ColorRecord* colour, const std::uint8_t* pixel);

}  // namespace raster
