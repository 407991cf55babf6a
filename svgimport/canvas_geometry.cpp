// Host coordinates of the canvas: rounding, colour records, the directions
// a matrix gives a shape, boxes of points.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "canvas_detail.h"

namespace SVG::detail {
namespace {

// Below this a direction's component counts as none: rotate(90) leaves a
// few 1e-14 of the other axis behind.
constexpr double kStraight = 1e-9;

int32_t HoldToHost(double v) {
    if (std::isnan(v)) return 0;
    if (v <= static_cast<double>(INT32_MIN)) return INT32_MIN;
    if (v >= static_cast<double>(INT32_MAX)) return INT32_MAX;
    return static_cast<int32_t>(v);
}

}  // namespace

int32_t RoundHost(double v) {
    return HoldToHost(v > 0 ? v + 0.5 : v - 0.5);
}

int32_t TruncateHost(double v) {
    return HoldToHost(v);
}

int32_t ClampHost(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

svgf::ColorRecord RgbRecord(const WColour& colour) {
    svgf::ColorRecord c{};
    c.model = svgf::kColorModelRgb;
    c.paletteKind = svgf::kPaletteKindImport;
    c.channels[4] = colour.blue;
    c.channels[5] = colour.green;
    c.channels[6] = colour.red;
    return c;
}

svgf::ColorRecord GreyRecord(uint16_t level) {
    svgf::ColorRecord c{};
    c.model = svgf::kColorModelGrey;
    c.paletteKind = svgf::kPaletteKindImport;
    std::memcpy(&c.channels[4], &level, sizeof level);
    return c;
}

ShapeFrame FrameOf(const WMatrix& m) {
    ShapeFrame frame;
    const double sx = std::hypot(m.a, m.b);
    const double sy = std::hypot(m.c, m.d);
    if (sx > 0 && std::isfinite(sx)) frame.u = {m.a / sx, m.b / sx};
    if (sy > 0 && std::isfinite(sy)) frame.w = {-m.c / sy, -m.d / sy};
    const auto none = [](double v) { return std::fabs(v) <= kStraight; };
    frame.straight = (none(frame.u.y) && none(frame.w.x)) || (none(frame.u.x) && none(frame.w.y));
    return frame;
}

void InitialiseTransform(const svgf::HostServiceTable* services, svgf::HostTransform* m) {
    if (const auto identity = Service<svgf::svc::MatrixIdentityFn>(services, svgf::svc::kMatrixIdentity)) {
        identity(m);
    } else {
        *m = svgf::HostTransform{{1, 0, 0, 0, 1, 0}};
    }
}

svgf::HostBox BoxOf(const std::vector<svgf::HostPoint>& points) {
    if (points.empty()) return {0, 0, 0, 0};
    svgf::HostBox box{points[0].x, points[0].y, points[0].x, points[0].y};
    for (const svgf::HostPoint& p : points) {
        box.left = std::min(box.left, p.x);
        box.top = std::max(box.top, p.y);
        box.right = std::max(box.right, p.x);
        box.bottom = std::min(box.bottom, p.y);
    }
    return box;
}

}  // namespace SVG::detail
