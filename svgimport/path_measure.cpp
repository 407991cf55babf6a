// Measuring a path along its length. The path data are read as for any
// path (into integer points, here at a fine scale), each cubic curve cut
// into straight pieces no longer than about a user unit (at most 64 a
// curve), and the lengths summed along the pieces.
#include "path_measure.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "svgimport/path_data.h"
#include "svgimport/style_source.h"

namespace SVG::detail {

namespace {

// Points per user unit in the integer points the path is read into.
constexpr double kScale = 64;
constexpr int kMaxPieces = 64;

WPoint Cubic(WPoint p0, WPoint p1, WPoint p2, WPoint p3, double t) {
    const double u = 1 - t;
    const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
    return {a * p0.x + b * p1.x + c * p2.x + d * p3.x, a * p0.y + b * p1.y + c * p2.y + d * p3.y};
}

double Distance(WPoint a, WPoint b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}

}  // namespace

PathMeasure::PathMeasure(std::string_view data, const WMatrix& transform) {
    WMatrix toPoints(kScale, 0, 0, kScale, 0, 0);
    toPoints.Multiply(transform);
    WPath path;
    ReadPathData(data, toPoints, path);
    const auto user = [&](size_t i) { return WPoint{path.points[i].x / kScale, path.points[i].y / kScale}; };
    const auto add = [&](WPoint p, bool start) {
        const double before = lengths_.empty() ? 0 : lengths_.back();
        lengths_.push_back(start || points_.empty() ? before : before + Distance(points_.back(), p));
        points_.push_back(p);
        starts_.push_back(start || starts_.empty());
    };
    size_t subpath = 0;
    for (size_t i = 0; i < path.points.size(); ++i) {
        const uint8_t kind = path.kinds[i];
        const int32_t code = (kind >> 6) & 3;
        if (code == segment::kMove) {
            subpath = points_.size();
            add(user(i), true);
        } else if (code == segment::kControl && i + 2 < path.points.size() && !points_.empty()) {
            const WPoint p0 = points_.back(), p1 = user(i), p2 = user(i + 1), p3 = user(i + 2);
            const double hull = Distance(p0, p1) + Distance(p1, p2) + Distance(p2, p3);
            const int pieces = std::clamp(static_cast<int>(std::ceil(hull)), 1, kMaxPieces);
            for (int k = 1; k <= pieces; ++k) add(Cubic(p0, p1, p2, p3, static_cast<double>(k) / pieces), false);
            i += 2;
            if ((path.kinds[i] & svgf::import_node::kClose) != 0 && subpath < points_.size())
                add(points_[subpath], false);
        } else if (code == segment::kLine || code == segment::kCurveEnd) {
            add(user(i), false);
            if ((kind & svgf::import_node::kClose) != 0 && subpath < points_.size()) add(points_[subpath], false);
        }
    }
}

bool PathMeasure::At(double distance, WPoint* point, double* angle) const {
    if (points_.size() < 2 || !(distance >= 0) || distance > Length()) return false;
    // The first piece that reaches the distance, drawn and not empty.
    size_t i = static_cast<size_t>(std::lower_bound(lengths_.begin(), lengths_.end(), distance) - lengths_.begin());
    i = std::clamp<size_t>(i, 1, points_.size() - 1);
    while (i + 1 < points_.size() && (starts_[i] || lengths_[i] == lengths_[i - 1])) ++i;
    while (i > 1 && (starts_[i] || lengths_[i] == lengths_[i - 1])) --i;
    if (starts_[i] || lengths_[i] == lengths_[i - 1]) return false;
    const WPoint a = points_[i - 1], b = points_[i];
    const double piece = lengths_[i] - lengths_[i - 1];
    const double t = std::clamp((distance - lengths_[i - 1]) / piece, 0.0, 1.0);
    *point = {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
    *angle = std::atan2(b.y - a.y, b.x - a.x);
    return true;
}

std::vector<PlacedGlyph> PlaceAlongPath(const PathMeasure& path, double startOffset, int32_t anchor,
                                        const std::vector<PathGlyph>& glyphs, WPoint* end) {
    double total = 0;
    for (const PathGlyph& g : glyphs) total += g.dx + g.advance;
    double along = startOffset;
    if (anchor == text_anchor::kMiddle) along -= total / 2;
    if (anchor == text_anchor::kEnd) along -= total;
    double across = 0;
    std::vector<PlacedGlyph> placed(glyphs.size());
    for (size_t i = 0; i < glyphs.size(); ++i) {
        const PathGlyph& g = glyphs[i];
        along += g.dx;
        across += g.dy;
        WPoint middle;
        double angle = 0;
        if (path.At(along + g.advance / 2, &middle, &angle)) {
            const double cs = std::cos(angle), sn = std::sin(angle);
            placed[i].drawn = true;
            placed[i].origin = {middle.x - cs * g.advance / 2 - sn * across, middle.y - sn * g.advance / 2 + cs * across};
            placed[i].angle = angle * 180 / std::numbers::pi + g.rotate;
        }
        along += g.advance;
    }
    if (end != nullptr) {
        WPoint point;
        double angle = 0;
        if (path.At(std::clamp(along, 0.0, path.Length()), &point, &angle))
            *end = {point.x - std::sin(angle) * across, point.y + std::cos(angle) * across};
    }
    return placed;
}

}  // namespace SVG::detail
