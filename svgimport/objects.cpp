// The drawing objects: path points and their kind bytes, the placement of
// boxes and ellipses in host units, presentation records and the import's
// definitions.
#include "svgimport/objects.h"

#include <algorithm>
#include <cmath>

namespace SVG {

WFill::~WFill() = default;
WDefsObject::~WDefsObject() = default;

WPresentation::WPresentation() = default;
WPresentation::WPresentation(WPresentation&&) noexcept = default;
WPresentation& WPresentation::operator=(WPresentation&&) noexcept = default;
WPresentation::~WPresentation() = default;

void WPresentation::Release() {
    fill.reset();
    stroke.reset();
    font.reset();
    clipPath.reset();
    mask = nullptr;
}

uint8_t WPath::KindOf(int32_t segmentCode) {
    const uint32_t s = static_cast<uint32_t>(segmentCode) & 3;
    return static_cast<uint8_t>((((s != 3) ? 1u : 0u) | (s << 4)) << 2);
}

void WPath::AddPoint(svgf::HostPoint p, int32_t segmentCode) {
    if (points.empty()) {
        box = {p.x, p.y, p.x, p.y};
    } else {
        box.left = std::min(box.left, p.x);
        box.top = std::max(box.top, p.y);
        box.right = std::max(box.right, p.x);
        box.bottom = std::min(box.bottom, p.y);
    }
    points.push_back(p);
    kinds.push_back(KindOf(segmentCode));
}

void WPath::CloseSubpath(size_t first) {
    if (points.empty()) return;
    const size_t last = points.size() - 1;
    kinds[last] |= svgf::import_node::kClose | svgf::import_node::kOnCurve;
    if (first < last && points[first].x == points[last].x && points[first].y == points[last].y) {
        kinds[first] = static_cast<uint8_t>(kinds[first] & ~svgf::import_node::kOnCurve);
    }
}

WPlacement PlaceBox(const WMatrix& toHost, double x, double y, double width, double height) {
    WPlacement out;
    out.centre = toHost.Transform({x + width / 2, y + height / 2});
    out.width = std::fabs(width) * std::hypot(toHost.a, toHost.b);
    out.height = std::fabs(height) * std::hypot(toHost.c, toHost.d);
    return out;
}

namespace {

// A rectangle's or image's lower-left corner and size from its placement.
template <typename Box>
void PlaceInto(Box& box, const WMatrix& toHost, double x, double y, double width, double height) {
    const WPlacement p = PlaceBox(toHost, x, y, width, height);
    box.matrix = toHost;
    box.x = p.centre.x - p.width / 2;
    box.y = p.centre.y - p.height / 2;
    box.width = p.width;
    box.height = p.height;
}

}  // namespace

void WRectangle::Place(const WMatrix& toHost, double userX, double userY, double userWidth, double userHeight) {
    PlaceInto(*this, toHost, userX, userY, userWidth, userHeight);
}

void WImage::Place(const WMatrix& toHost, double userX, double userY, double userWidth, double userHeight) {
    PlaceInto(*this, toHost, userX, userY, userWidth, userHeight);
}

void WEllipse::Place(const WMatrix& toHost, double userCx, double userCy, double userRx, double userRy) {
    matrix = toHost;
    const WPoint centre = toHost.Transform({userCx, userCy});
    cx = centre.x;
    cy = centre.y;
    rx = std::fabs(userRx) * std::hypot(toHost.a, toHost.b);
    ry = std::fabs(userRy) * std::hypot(toHost.c, toHost.d);
}

void WDefinitions::ReleaseFrom(size_t mark) {
    while (objects_.size() > mark) objects_.pop_back();
}

}  // namespace SVG
