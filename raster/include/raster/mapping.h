// The raster state's mapping between logical and device coordinates: per
// axis an extent on each side and an origin, from which an axis mode and the
// scales follow. Points map through doubles; rectangle edges and stepped
// coordinates through integer floor and ceiling divisions whose remainders
// let a caller step without drift.
#pragma once

#include <cstdint>

#include "raster/raster_state.h"
#include "raster/rect.h"

namespace raster {

// Division with the quotient rounded down (remainder in 0..n-1) or up
// (remainder in -(n-1)..0), for n > 0.
std::int64_t RIPFloorDiv(std::int64_t v, std::int64_t n, std::int64_t* remainder);
std::int64_t RIPCeilDiv(std::int64_t v, std::int64_t n, std::int64_t* remainder);

// The axis mode of logical extent a against device extent b.
RIPAxisMode RIPAxisModeOf(std::int32_t a, std::int32_t b);

// Stores the extents and recomputes axis modes and scales: 1 when neither
// axis is collapsed, else 0 (the extents are stored either way).
int RIPSetExtents(RIPRasterState* state, std::int32_t logicalX, std::int32_t logicalY, std::int32_t deviceX,
                  std::int32_t deviceY);
// Extents from the two rectangles' sizes (each difference widened by one away
// from zero; with flag set, a logical height difference of 0 counts as
// negative) and origins at their left-bottom corners. 1, or 0 for a null
// state, a size beyond 32 bits or a collapsed axis.
int RIPSetRectMapping(RIPRasterState* state, const RIPRect& deviceRect, const RIPRect& logicalRect, int flag);
// Store an origin, writing the old one to previous when given: 1, 0 for null.
int RIPSetLogOrigin(RIPPoint* previous, RIPRasterState* state, const RIPPoint& point);
int RIPSetDevOrigin(RIPPoint* previous, RIPRasterState* state, const RIPPoint& point);

// Maps a logical point to device space in place and keeps it as the current
// point: 1, or 0 for a null argument. Results beyond 32 bits stop at the range.
int RIPLogToDev(RIPRasterState* state, RIPPoint* point);

// Remainders of the four edge divisions, in rectangle order.
struct RIPMapRemainders {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

// A logical rectangle's edges in device space, each high edge mapping the far
// side of its pixel less one; edges are mapped one by one, so a flipped axis
// gives a flipped rectangle. 0 for a null argument, a collapsed logical
// extent, edges in the wrong order for a scaled axis, or a result beyond 32
// bits.
int RIPMapRect(RIPRect* out, RIPMapRemainders* remainders, const RIPRasterState* state, const RIPRect& rect);
// The same from device to logical space.
int RIPMapRectInverse(RIPRect* out, RIPMapRemainders* remainders, const RIPRasterState* state,
                      const RIPRect& rect);
// RIPMapRectInverse with each edge moved by its remainder so the rectangle
// holds only pixels whose device samples lie inside the device rectangle.
int RIPMapRectInverseCorrected(RIPRect* out, const RIPRasterState* state, const RIPRect& rect);

enum RIPAxis : int { kAxisX = 0, kAxisY = 1 };
// One logical coordinate of an axis in device space by the low-edge rule of
// RIPMapRect, with the division's remainder (0 for unscaled axes).
std::int32_t RIPMapPoint(const RIPRasterState* state, RIPAxis axis, std::int32_t p, std::int32_t* remainder);

}  // namespace raster
