// The band runner: drives one band (a rectangle inside one destination tile)
// through a painter's callbacks, splitting each row into runs by up to four
// coverage sources (two regions, two mask images) so the painter gets, per
// run, whether it is fully covered or covered through one or two masks.
// The rectangle fill and every blit path paint through it.
#pragma once

#include <cstdint>

#include "kernels/kernel_frame.h"
#include "raster/rect.h"

namespace raster {

struct RIPImage;
struct RIPRasterState;
struct RIPRegion;

// What a painter gives the runner. begin (optional) is called once with the
// band, paint once per run (x, y, n pixels, coverage: null masks mean fully
// covered), next (optional) after each row, end (optional) on every exit
// after begin was called. Without next and without coverage sources one
// paint call (x 0, y 0, the band width, null coverage) covers the whole band.
struct RIPBandCallbacks {
    void* context = nullptr;
    int (*begin)(void* context, const RIPRect& band) = nullptr;
    int (*next)(void* context) = nullptr;
    int (*paint)(void* context, std::int32_t x, std::int32_t y, std::uint32_t n,
                 const kernels::RIPKernelCoverage* coverage) = nullptr;
    void (*end)(void* context) = nullptr;
};

// One coverage source: a region or an 8-bit mask image (type 5 or 99), and
// the rectangle where it lies (its left and bottom edges are subtracted from
// band coordinates to address it). A source in source coordinates is moved
// by the offset from the source band to the band first.
struct RIPCoverageSource {
    const RIPRegion* region = nullptr;
    RIPImage* image = nullptr;
    RIPRect rect;
    bool inSource = false;
};
inline constexpr int kRIPMaxCoverageSources = 4;

// Paints band, which sourceBand (null: the band itself) must match in size,
// under up to four coverage sources; where more than two weigh a run through
// their bytes, the ones after the first are multiplied into the second mask.
// The state gives the opacity, the scan option and the progress callback
// (per row; a 0 answer after the first report stops the band). 1 done (also
// for an empty band), 0 failed or stopped.
int RIPRunBand(RIPRasterState* state, const RIPBandCallbacks* callbacks, const RIPRect& band,
               const RIPRect* sourceBand, const RIPCoverageSource* sources, int count);

}  // namespace raster
