// Logical-to-device mapping: extents, axis modes and scales, points through
// doubles, rectangle edges through integer floor and ceiling divisions.
#include "raster/mapping.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace raster {
namespace {

constexpr std::int64_t kMin32 = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kMax32 = std::numeric_limits<std::int32_t>::max();

bool Fits32(std::int64_t v) {
    return v >= kMin32 && v <= kMax32;
}

std::int32_t Saturate32(double v) {
    if (!(v > static_cast<double>(kMin32))) return static_cast<std::int32_t>(kMin32);
    if (v >= static_cast<double>(kMax32)) return static_cast<std::int32_t>(kMax32);
    return static_cast<std::int32_t>(v);
}

// One axis of the mapping, seen from the side being mapped.
struct Axis {
    RIPAxisMode mode;
    std::int64_t from;  // |extent| on the side mapped from (B)
    std::int64_t to;    // |extent| on the side mapped to (A)
    std::int64_t fromOrigin;
    std::int64_t toOrigin;
};

Axis ForwardAxis(const RIPRasterState& s, RIPAxis axis) {
    const bool x = axis == kAxisX;
    return Axis{static_cast<RIPAxisMode>(x ? s.axisModeX : s.axisModeY),
                std::llabs(static_cast<std::int64_t>(x ? s.logicalExtentX : s.logicalExtentY)),
                std::llabs(static_cast<std::int64_t>(x ? s.deviceExtentX : s.deviceExtentY)),
                x ? s.logicalOrigin.x : s.logicalOrigin.y, x ? s.deviceOrigin.x : s.deviceOrigin.y};
}

// Device to logical: the extents and origins change places, and so do the
// two modes whose sides differ in sign.
Axis InverseAxis(const RIPRasterState& s, RIPAxis axis) {
    const Axis f = ForwardAxis(s, axis);
    RIPAxisMode mode = f.mode;
    if (mode == kAxisScaledFlipDevice) {
        mode = kAxisScaledFlipLogical;
    } else if (mode == kAxisScaledFlipLogical) {
        mode = kAxisScaledFlipDevice;
    }
    return Axis{mode, f.to, f.from, f.toOrigin, f.fromOrigin};
}

// a·b + c without overflow; false when it would leave 64 bits.
bool MulAdd(std::int64_t a, std::int64_t b, std::int64_t c, std::int64_t* out) {
    std::int64_t p = 0;
    return !__builtin_mul_overflow(a, b, &p) && !__builtin_add_overflow(p, c, out);
}

// The low edge (high = false) or high edge of one axis. The high edge maps the
// far side of its pixel, minus one, so adjacent rectangles meet without overlap.
bool MapEdge(const Axis& a, std::int64_t edge, bool high, std::int64_t* out, std::int64_t* remainder) {
    const std::int64_t d = edge - a.fromOrigin;
    *remainder = 0;
    std::int64_t v = 0;
    switch (a.mode) {
        case kAxisCollapsed: *out = a.toOrigin; return true;
        case kAxisIdentity: *out = d + a.toOrigin; return Fits32(*out);
        case kAxisMirror: *out = a.toOrigin - d; return Fits32(*out);
        case kAxisScaled:  // floor(d·A / B), high floor(((d + 1)·A - 1) / B)
            if (!(high ? MulAdd(d + 1, a.to, -1, &v) : MulAdd(d, a.to, 0, &v))) return false;
            v = RIPFloorDiv(v, a.from, remainder);
            break;
        case kAxisScaledFlipDevice:  // ceil(-d·A / B), high ceil(-((d + 1)·A - 1) / B)
            if (!(high ? MulAdd(d + 1, a.to, -1, &v) : MulAdd(d, a.to, 0, &v))) return false;
            v = RIPCeilDiv(-v, a.from, remainder);
            break;
        case kAxisScaledFlipLogical:  // floor(-d·A / B), high floor(((1 - d)·A - 1) / B)
            if (!(high ? MulAdd(1 - d, a.to, -1, &v) : MulAdd(-d, a.to, 0, &v))) return false;
            v = RIPFloorDiv(v, a.from, remainder);
            break;
        case kAxisScaledFlipBoth:  // ceil(d·A / B), high ceil(-((1 - d)·A - 1) / B)
            if (!(high ? MulAdd(1 - d, a.to, -1, &v) : MulAdd(d, a.to, 0, &v))) return false;
            v = RIPCeilDiv(high ? -v : v, a.from, remainder);
            break;
    }
    *out = v + a.toOrigin;
    return Fits32(*out);
}

bool MapAxisEdges(const Axis& a, std::int32_t lo, std::int32_t hi, std::int32_t* outLo, std::int32_t* outHi,
                  std::int32_t* remLo, std::int32_t* remHi) {
    if (a.from == 0) {
        return false;
    }
    const bool increasing = a.mode == kAxisScaled || a.mode == kAxisScaledFlipDevice;
    const bool decreasing = a.mode == kAxisScaledFlipLogical || a.mode == kAxisScaledFlipBoth;
    if ((increasing && hi < lo) || (decreasing && hi > lo)) {
        return false;
    }
    std::int64_t l = 0, h = 0, rl = 0, rh = 0;
    if (!MapEdge(a, lo, false, &l, &rl) || !MapEdge(a, hi, true, &h, &rh)) {
        return false;
    }
    *outLo = static_cast<std::int32_t>(l);
    *outHi = static_cast<std::int32_t>(h);
    *remLo = static_cast<std::int32_t>(rl);
    *remHi = static_cast<std::int32_t>(rh);
    return true;
}

int MapRectThrough(Axis x, Axis y, RIPRect* out, RIPMapRemainders* remainders, const RIPRect& rect) {
    RIPRect r;
    RIPMapRemainders rem;
    if (!MapAxisEdges(x, rect.left, rect.right, &r.left, &r.right, &rem.left, &rem.right) ||
        !MapAxisEdges(y, rect.bottom, rect.top, &r.bottom, &r.top, &rem.bottom, &rem.top)) {
        return 0;
    }
    *out = r;
    if (remainders != nullptr) {
        *remainders = rem;
    }
    return 1;
}

std::int32_t MapPointAxis(RIPAxisMode mode, std::int32_t p, std::int32_t logicalOrigin,
                          std::int32_t deviceOrigin, double s) {
    const double d = static_cast<double>(p) - logicalOrigin;
    double v = 0.0;
    switch (mode) {
        case kAxisCollapsed: v = 0.0; break;
        case kAxisIdentity: v = d; break;
        case kAxisMirror: v = -d; break;
        case kAxisScaled: v = std::floor((d + 0.5) * s); break;
        case kAxisScaledFlipDevice: v = -std::floor((d + 0.5) * s); break;
        case kAxisScaledFlipLogical: v = std::floor((0.5 - d) * s); break;
        case kAxisScaledFlipBoth: v = -std::floor((0.5 - d) * s); break;
    }
    return Saturate32(deviceOrigin + v);
}

std::int32_t MoveEdge(std::int32_t edge, int by) {
    const std::int64_t v = static_cast<std::int64_t>(edge) + by;
    return static_cast<std::int32_t>(Fits32(v) ? v : edge);
}

// The right (or top) edge's correction: only for remainders clear of the
// divisor's last value, inward for positive remainders and increasing axes.
int HighEdgeMove(std::int32_t r, std::int32_t deviceExtent, std::int32_t mode) {
    if (std::llabs(r) >= std::llabs(static_cast<std::int64_t>(deviceExtent)) - 1) {
        return 0;
    }
    if (r >= 1 || mode == kAxisScaled || mode == kAxisScaledFlipDevice) {
        return -1;
    }
    if (r < 0 || mode == kAxisScaledFlipLogical || mode == kAxisScaledFlipBoth) {
        return 1;
    }
    return 0;
}

}  // namespace

std::int64_t RIPFloorDiv(std::int64_t v, std::int64_t n, std::int64_t* remainder) {
    std::int64_t q = v / n;
    std::int64_t r = v % n;
    if (r < 0) {
        --q;
        r += n;
    }
    if (remainder != nullptr) *remainder = r;
    return q;
}

std::int64_t RIPCeilDiv(std::int64_t v, std::int64_t n, std::int64_t* remainder) {
    std::int64_t q = v / n;
    std::int64_t r = v % n;
    if (r > 0) {
        ++q;
        r -= n;
    }
    if (remainder != nullptr) *remainder = r;
    return q;
}

RIPAxisMode RIPAxisModeOf(std::int32_t a, std::int32_t b) {
    if (a == 0 || b == 0) return kAxisCollapsed;
    if (a == b) return kAxisIdentity;
    if (static_cast<std::int64_t>(a) == -static_cast<std::int64_t>(b)) return kAxisMirror;
    if (a > 0) return b > 0 ? kAxisScaled : kAxisScaledFlipDevice;
    return b > 0 ? kAxisScaledFlipLogical : kAxisScaledFlipBoth;
}

int RIPSetExtents(RIPRasterState* state, std::int32_t logicalX, std::int32_t logicalY, std::int32_t deviceX,
                  std::int32_t deviceY) {
    if (state == nullptr) {
        return 0;
    }
    state->logicalExtentX = logicalX;
    state->logicalExtentY = logicalY;
    state->deviceExtentX = deviceX;
    state->deviceExtentY = deviceY;
    state->axisModeX = RIPAxisModeOf(logicalX, deviceX);
    state->axisModeY = RIPAxisModeOf(logicalY, deviceY);
    const auto scales = [](std::int32_t mode, std::int32_t a, std::int32_t b, double* scale,
                           double* inverse) {
        if (mode <= kAxisMirror) {
            *scale = *inverse = 1.0;
        } else {
            *scale = std::fabs(static_cast<double>(a) / b);
            *inverse = std::fabs(static_cast<double>(b) / a);
        }
    };
    scales(state->axisModeX, logicalX, deviceX, &state->scaleX, &state->inverseScaleX);
    scales(state->axisModeY, logicalY, deviceY, &state->scaleY, &state->inverseScaleY);
    return state->axisModeX != kAxisCollapsed && state->axisModeY != kAxisCollapsed ? 1 : 0;
}

int RIPSetRectMapping(RIPRasterState* state, const RIPRect& deviceRect, const RIPRect& logicalRect,
                      int flag) {
    if (state == nullptr) {
        return 0;
    }
    // Each difference widened by one away from zero: the extents count pixels.
    const auto extent = [](std::int32_t high, std::int32_t low, bool zeroIsNegative, std::int32_t* out) {
        const std::int64_t d = static_cast<std::int64_t>(high) - low;
        const std::int64_t e = d < 0 || (d == 0 && zeroIsNegative) ? d - 1 : d + 1;
        *out = static_cast<std::int32_t>(e);
        return Fits32(e);
    };
    std::int32_t dx = 0, dy = 0, lx = 0, ly = 0;
    if (!extent(deviceRect.right, deviceRect.left, false, &dx) ||
        !extent(deviceRect.top, deviceRect.bottom, false, &dy) ||
        !extent(logicalRect.right, logicalRect.left, false, &lx) ||
        !extent(logicalRect.top, logicalRect.bottom, flag != 0, &ly)) {
        return 0;
    }
    state->deviceOrigin = RIPPoint{deviceRect.left, deviceRect.bottom};
    state->logicalOrigin = RIPPoint{logicalRect.left, logicalRect.bottom};
    return RIPSetExtents(state, lx, ly, dx, dy);
}

int RIPSetLogOrigin(RIPPoint* previous, RIPRasterState* state, const RIPPoint& point) {
    if (state == nullptr) {
        return 0;
    }
    if (previous != nullptr) *previous = state->logicalOrigin;
    state->logicalOrigin = point;
    return 1;
}

int RIPSetDevOrigin(RIPPoint* previous, RIPRasterState* state, const RIPPoint& point) {
    if (state == nullptr) {
        return 0;
    }
    if (previous != nullptr) *previous = state->deviceOrigin;
    state->deviceOrigin = point;
    return 1;
}

int RIPLogToDev(RIPRasterState* state, RIPPoint* point) {
    if (state == nullptr || point == nullptr) {
        return 0;
    }
    point->x = MapPointAxis(static_cast<RIPAxisMode>(state->axisModeX), point->x, state->logicalOrigin.x,
                            state->deviceOrigin.x, state->inverseScaleX);
    point->y = MapPointAxis(static_cast<RIPAxisMode>(state->axisModeY), point->y, state->logicalOrigin.y,
                            state->deviceOrigin.y, state->inverseScaleY);
    state->currentPoint = *point;
    return 1;
}

int RIPMapRect(RIPRect* out, RIPMapRemainders* remainders, const RIPRasterState* state, const RIPRect& rect) {
    if (out == nullptr || state == nullptr) {
        return 0;
    }
    return MapRectThrough(ForwardAxis(*state, kAxisX), ForwardAxis(*state, kAxisY), out, remainders, rect);
}

int RIPMapRectInverse(RIPRect* out, RIPMapRemainders* remainders, const RIPRasterState* state,
                      const RIPRect& rect) {
    if (out == nullptr || state == nullptr) {
        return 0;
    }
    return MapRectThrough(InverseAxis(*state, kAxisX), InverseAxis(*state, kAxisY), out, remainders, rect);
}

int RIPMapRectInverseCorrected(RIPRect* out, const RIPRasterState* state, const RIPRect& rect) {
    RIPMapRemainders r;
    if (RIPMapRectInverse(out, &r, state, rect) == 0) {
        return 0;
    }
    const auto lowMove = [](std::int32_t rem) { return rem < 0 ? -1 : rem > 0 ? 1 : 0; };
    out->left = MoveEdge(out->left, lowMove(r.left));
    out->bottom = MoveEdge(out->bottom, lowMove(r.bottom));
    out->right = MoveEdge(out->right, HighEdgeMove(r.right, state->deviceExtentX, state->axisModeX));
    out->top = MoveEdge(out->top, HighEdgeMove(r.top, state->deviceExtentY, state->axisModeY));
    return 1;
}

std::int32_t RIPMapPoint(const RIPRasterState* state, RIPAxis axis, std::int32_t p, std::int32_t* remainder) {
    if (remainder != nullptr) *remainder = 0;
    if (state == nullptr) {
        return p;
    }
    const Axis a = ForwardAxis(*state, axis);
    std::int64_t v = 0, r = 0;
    if (a.from == 0 || !MapEdge(a, p, false, &v, &r)) {
        return static_cast<std::int32_t>(a.toOrigin);
    }
    if (remainder != nullptr) *remainder = static_cast<std::int32_t>(r);
    return static_cast<std::int32_t>(v);
}

}  // namespace raster
