// The entry through which the library copies, merges and scales between
// images. Writing rows under a merge mode, a mask or a linked plane and
// scaling regions go through it. The blit pipeline installs itself here;
// until an entry is installed every call fails with 0.
#pragma once

#include <cstdint>

#include "raster/rect.h"

namespace raster {

struct RIPImage;
struct RIPRasterState;

using RIPStretchBlitEntry = int (*)(RIPRasterState* state, RIPImage* dst, std::int32_t dx, std::int32_t dy,
                                    std::int32_t dw, std::int32_t dh, const RIPRect* dstRect, RIPImage* src,
                                    std::int32_t sx, std::int32_t sy, std::int32_t sw, std::int32_t sh,
                                    const RIPRect* srcRect, std::uint32_t flags);

// Copies, merges or scales the source rectangle (sx, sy, sw, sh) onto the
// destination rectangle (dx, dy, dw, dh), or between the two rectangles when
// both are given; src null means the destination itself. flags: a merge mode
// in the low 16 bits and the mask, linked-plane and channel fields. 1 done, 0
// failed part-way (or no entry installed).
int RIPStretchBlitInContext(RIPRasterState* state, RIPImage* dst, std::int32_t dx, std::int32_t dy,
                            std::int32_t dw, std::int32_t dh, const RIPRect* dstRect, RIPImage* src,
                            std::int32_t sx, std::int32_t sy, std::int32_t sw, std::int32_t sh,
                            const RIPRect* srcRect, std::uint32_t flags);

// Installs the entry (null: none) and returns the one installed before.
RIPStretchBlitEntry RIPSetStretchBlitEntry(RIPStretchBlitEntry entry);

}  // namespace raster
