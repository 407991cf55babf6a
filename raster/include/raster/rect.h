// Rectangles and points of the raster library. Rows count from the bottom, so
// a rectangle is {left, top, right, bottom}, every edge inclusive, with
// top >= bottom; an image of height h runs from row 0 to row h - 1.
#pragma once

#include <cstdint>

namespace raster {

struct RIPImage;

struct RIPRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    // Width and height in 64 bits: an edge pair far apart does not overflow.
    std::int64_t Width() const { return static_cast<std::int64_t>(right) - left + 1; }
    std::int64_t Height() const { return static_cast<std::int64_t>(top) - bottom + 1; }
    bool Contains(std::int32_t x, std::int32_t y) const {
        return x >= left && x <= right && y >= bottom && y <= top;
    }
    friend bool operator==(const RIPRect&, const RIPRect&) = default;
};
static_assert(sizeof(RIPRect) == 16, "four signed 32-bit edges");

struct RIPPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const RIPPoint&, const RIPPoint&) = default;
};

// 1 when right < left or bottom > top.
int RIPRectIsEmpty(const RIPRect& r);
int RIPRectEqual(const RIPRect& a, const RIPRect& b);
// Moves the rectangle; an edge that would leave the 32-bit range stops at it. 1.
int RIPRectOffset(RIPRect* r, std::int32_t dx, std::int32_t dy);
// {max left, min top, min right, max bottom} into out (when given), also when
// empty; 1 when it is not empty.
int RIPRectIntersect(RIPRect* out, const RIPRect& a, const RIPRect& b);
void RIPRectSet(RIPRect* r, std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);
// {0, height - 1, width - 1, 0}.
void RIPRectFromImage(RIPRect* r, const RIPImage& image);

}  // namespace raster
