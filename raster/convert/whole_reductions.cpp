// Error diffusion over whole rectangles.
#include "whole_reductions.h"

namespace raster::convert {

RIPWholeConverter RIPDiffusionConverter(int, int) { return nullptr; }

}  // namespace raster::convert
