// Subpath orientation for even-odd filling: each subpath flattened to a
// polygon, its depth found by point-in-polygon tests against the others,
// and those whose turning disagrees with their depth reversed.
#include "svgimport/even_odd.h"

#include <algorithm>
#include <cstddef>

namespace SVG {
namespace {

namespace node = svgf::import_node;

constexpr uint8_t kCodeMask = 0xC0;
constexpr uint8_t kMoveCode = 0x00;
constexpr uint8_t kControlCode = 0xC0;
// Steps a cubic segment is flattened into for the tests.
constexpr int kCurveSteps = 8;
// The pairwise tests cost the subpaths times the points: past this many
// point tests the path is left as it is.
constexpr double kMaxPointTests = 5e7;

struct Point {
    double x, y;
};

struct Subpath {
    size_t first, end;  // [first, end) of the path's points
    std::vector<Point> polygon;
    double area2 = 0;  // twice the signed area, positive counter-clockwise
    Point low{0, 0}, high{0, 0};  // the polygon's bounding box
};

Point At(const svgf::HostPoint& p) {
    return {static_cast<double>(p.x), static_cast<double>(p.y)};
}

std::vector<Point> Flatten(const std::vector<svgf::HostPoint>& points, const std::vector<uint8_t>& kinds,
                           size_t first, size_t end) {
    std::vector<Point> out{At(points[first])};
    for (size_t i = first + 1; i < end; ++i) {
        if ((kinds[i] & kCodeMask) == kControlCode && i + 2 < end && (kinds[i + 1] & kCodeMask) == kControlCode) {
            const Point p0 = out.back(), c1 = At(points[i]), c2 = At(points[i + 1]), p1 = At(points[i + 2]);
            for (int s = 1; s <= kCurveSteps; ++s) {
                const double t = static_cast<double>(s) / kCurveSteps, u = 1 - t;
                const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
                out.push_back({a * p0.x + b * c1.x + c * c2.x + d * p1.x, a * p0.y + b * c1.y + c * c2.y + d * p1.y});
            }
            i += 2;
        } else {
            out.push_back(At(points[i]));
        }
    }
    return out;
}

double Area2(const std::vector<Point>& polygon) {
    double sum = 0;
    for (size_t i = 0; i < polygon.size(); ++i) {
        const Point a = polygon[i], b = polygon[(i + 1) % polygon.size()];
        sum += a.x * b.y - b.x * a.y;
    }
    return sum;
}

// Even-odd crossing test, the polygon closed from its last point to its first.
bool Inside(const std::vector<Point>& polygon, Point p) {
    bool inside = false;
    for (size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const Point a = polygon[i], b = polygon[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) inside = !inside;
    }
    return inside;
}

// The subpath run backwards: the points in reverse order, each on-curve
// point taking the code of the segment that now ends at it (the one that
// began there), the close bit on the new last point.
void Reverse(std::vector<svgf::HostPoint>& points, std::vector<uint8_t>& kinds, size_t first, size_t end) {
    const bool closed = (kinds[end - 1] & node::kClose) != 0;
    std::vector<uint8_t> reversed(end - first);
    for (size_t i = first; i < end; ++i) {
        uint8_t kind = node::kMove;
        if ((kinds[i] & kCodeMask) == kControlCode) {
            kind = node::kControl;
        } else if (i != end - 1) {
            size_t next = i + 1;
            while (next < end && (kinds[next] & kCodeMask) == kControlCode) ++next;
            kind = next < end ? static_cast<uint8_t>((kinds[next] & kCodeMask) | node::kOnCurve) : node::kLine;
        }
        reversed[end - 1 - i] = kind;
    }
    for (size_t i = first, j = end - 1; i < j; ++i, --j) std::swap(points[i], points[j]);
    for (size_t i = first; i < end; ++i) kinds[i] = reversed[i - first];
    if (closed) {
        kinds[end - 1] |= node::kClose | node::kOnCurve;
        if (points[first].x == points[end - 1].x && points[first].y == points[end - 1].y)
            kinds[first] = static_cast<uint8_t>(kinds[first] & ~node::kOnCurve);
    }
}

}  // namespace

void OrientForEvenOdd(std::vector<svgf::HostPoint>& points, std::vector<uint8_t>& kinds) {
    if (points.size() != kinds.size() || points.empty()) return;
    std::vector<Subpath> subpaths;
    for (size_t i = 0; i < points.size(); ++i) {
        if (i == 0 || (kinds[i] & kCodeMask) == kMoveCode) {
            if (!subpaths.empty()) subpaths.back().end = i;
            subpaths.push_back({i, points.size(), {}, 0});
        }
    }
    if (subpaths.size() < 2) return;
    // Curves flatten into kCurveSteps points each: at most that many times
    // the path's points.
    if (static_cast<double>(subpaths.size()) * static_cast<double>(points.size()) * kCurveSteps > kMaxPointTests)
        return;
    for (Subpath& s : subpaths) {
        s.polygon = Flatten(points, kinds, s.first, s.end);
        s.area2 = s.polygon.size() >= 3 ? Area2(s.polygon) : 0;
        s.low = s.high = s.polygon.front();
        for (const Point& p : s.polygon) {
            s.low = {std::min(s.low.x, p.x), std::min(s.low.y, p.y)};
            s.high = {std::max(s.high.x, p.x), std::max(s.high.y, p.y)};
        }
    }
    for (size_t a = 0; a < subpaths.size(); ++a) {
        if (subpaths[a].area2 == 0) continue;  // encloses nothing: any way round
        const Point probe = subpaths[a].polygon.front();
        int depth = 0;
        for (size_t b = 0; b < subpaths.size(); ++b) {
            const Subpath& other = subpaths[b];
            if (b == a || other.polygon.size() < 3 || probe.x < other.low.x || probe.x > other.high.x ||
                probe.y < other.low.y || probe.y > other.high.y)
                continue;
            if (Inside(other.polygon, probe)) ++depth;
        }
        const bool counterClockwise = subpaths[a].area2 > 0;
        if (counterClockwise != (depth % 2 == 0)) Reverse(points, kinds, subpaths[a].first, subpaths[a].end);
    }
}

}  // namespace SVG
