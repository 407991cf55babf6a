// A stroke as the union of its pieces: each straight segment a
// parallelogram, each join a wedge (miter, bevel) or the pen's ellipse
// (round), each cap a box or the pen's ellipse. Offsets are taken in the
// element's user space, where the pen is round, and mapped to host units
// by the map's linear part; curves are flattened in host units first.
#include "stroke_outline.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace SVG {

namespace {

namespace node = svgf::import_node;

constexpr uint8_t kRoleMask = 0xC0;
// Flattening tolerance: a tenth of a CSS pixel in host units.
constexpr double kTolerance = 254000.0 / 96 / 10;
// Sides of the pen's ellipse at round joins and caps.
constexpr int kPenSides = 24;

struct Polyline {
    std::vector<WPoint> points;
    std::vector<bool> smooth;  // a vertex inside a flattened curve
    bool closed = false;
};

void FlattenCubic(Polyline& line, WPoint p0, WPoint c1, WPoint c2, WPoint p3) {
    const double ddx = std::max(std::fabs(p0.x - 2 * c1.x + c2.x), std::fabs(c1.x - 2 * c2.x + p3.x));
    const double ddy = std::max(std::fabs(p0.y - 2 * c1.y + c2.y), std::fabs(c1.y - 2 * c2.y + p3.y));
    const double dd = std::hypot(ddx, ddy);
    const int n = std::clamp(static_cast<int>(std::ceil(std::sqrt(0.75 * dd / kTolerance))), 1, 64);
    for (int i = 1; i <= n; ++i) {
        const double t = static_cast<double>(i) / n, s = 1 - t;
        const double a = s * s * s, b = 3 * s * s * t, c = 3 * s * t * t, d = t * t * t;
        line.points.push_back({a * p0.x + b * c1.x + c * c2.x + d * p3.x, a * p0.y + b * c1.y + c * c2.y + d * p3.y});
        line.smooth.push_back(i < n);
    }
}

std::vector<Polyline> Flatten(const std::vector<svgf::HostPoint>& points, const std::vector<uint8_t>& kinds) {
    std::vector<Polyline> out;
    std::vector<WPoint> controls;
    const size_t count = std::min(points.size(), kinds.size());
    for (size_t i = 0; i < count; ++i) {
        const WPoint p{static_cast<double>(points[i].x), static_cast<double>(points[i].y)};
        const uint8_t role = kinds[i] & kRoleMask;
        if (role == (node::kControl & kRoleMask)) {
            controls.push_back(p);
        } else if (role == (node::kMove & kRoleMask) || out.empty()) {
            out.push_back({{p}, {false}, false});
            controls.clear();
        } else {
            Polyline& line = out.back();
            if (role == (node::kCurveEnd & kRoleMask) && controls.size() == 2) {
                FlattenCubic(line, line.points.back(), controls[0], controls[1], p);
            } else {
                line.points.push_back(p);
                line.smooth.push_back(false);
            }
            controls.clear();
        }
        if ((kinds[i] & node::kClose) != 0 && !out.empty()) out.back().closed = true;
    }
    // Repeated points give no direction.
    for (Polyline& line : out) {
        std::vector<WPoint> kept;
        std::vector<bool> smooth;
        for (size_t i = 0; i < line.points.size(); ++i) {
            if (!kept.empty() && kept.back().x == line.points[i].x && kept.back().y == line.points[i].y) continue;
            kept.push_back(line.points[i]);
            smooth.push_back(line.smooth[i]);
        }
        if (line.closed && kept.size() > 1 && kept.front().x == kept.back().x && kept.front().y == kept.back().y) {
            kept.pop_back();
            smooth.pop_back();
        }
        line.points = std::move(kept);
        line.smooth = std::move(smooth);
    }
    return out;
}

class Builder {
  public:
    Builder(const WMatrix& toHost, const WStrokeShape& stroke) : stroke_(stroke), half_(stroke.width / 2) {
        map_ = WMatrix(toHost.a, toHost.b, toHost.c, toHost.d, 0, 0);
        inverse_ = map_;
        valid_ = inverse_.Invert() != 0;
    }
    bool Valid() const { return valid_ && half_ > 0; }

    void Add(const Polyline& line) {
        const size_t n = line.points.size();
        if (n == 0) return;
        if (n == 1) {
            // A subpath of no length shows its caps only.
            if (stroke_.cap == 1) Pen(line.points[0]);
            if (stroke_.cap == 2) Square(line.points[0]);
            return;
        }
        const size_t segments = line.closed ? n : n - 1;
        for (size_t i = 0; i < segments; ++i) Segment(line.points[i], line.points[(i + 1) % n]);
        for (size_t i = line.closed ? 0 : 1; i < (line.closed ? n : n - 1); ++i) {
            const WPoint& before = line.points[(i + n - 1) % n];
            const WPoint& after = line.points[(i + 1) % n];
            Join(before, line.points[i], after, line.smooth[i]);
        }
        if (!line.closed) {
            Cap(line.points[0], line.points[1]);
            Cap(line.points[n - 1], line.points[n - 2]);
        }
    }

    WOutlinePath Take() { return std::move(out_); }

  private:
    // A user-space direction of a host vector, of unit length.
    WPoint UserDirection(WPoint from, WPoint to) const {
        const WPoint v = inverse_.TransformVector({to.x - from.x, to.y - from.y});
        const double length = std::hypot(v.x, v.y);
        return length > 0 ? WPoint{v.x / length, v.y / length} : WPoint{1, 0};
    }
    // A user-space offset as a host vector.
    WPoint Host(WPoint user) const { return map_.TransformVector(user); }

    void Polygon(std::vector<WPoint> p) {
        double area = 0;
        for (size_t i = 0; i < p.size(); ++i) {
            const WPoint& a = p[i];
            const WPoint& b = p[(i + 1) % p.size()];
            area += a.x * b.y - b.x * a.y;
        }
        if (area == 0) return;
        if (area < 0) std::reverse(p.begin(), p.end());
        for (size_t i = 0; i < p.size(); ++i) {
            out_.points.push_back({static_cast<int32_t>(std::lround(p[i].x)), static_cast<int32_t>(std::lround(p[i].y))});
            out_.kinds.push_back(i == 0 ? node::kMove : node::kLine);
        }
        out_.points.push_back(out_.points[out_.points.size() - p.size()]);
        out_.kinds.push_back(node::kLine | node::kClose);
        // The closing point lies on the first.
        out_.kinds[out_.kinds.size() - p.size() - 1] = 0x00;
    }

    void Segment(WPoint a, WPoint b) {
        const WPoint d = UserDirection(a, b);
        const WPoint o = Host({-d.y * half_, d.x * half_});
        Polygon({{a.x + o.x, a.y + o.y}, {b.x + o.x, b.y + o.y}, {b.x - o.x, b.y - o.y}, {a.x - o.x, a.y - o.y}});
    }

    void Pen(WPoint c) {
        std::vector<WPoint> p;
        for (int i = 0; i < kPenSides; ++i) {
            const double t = 2 * std::numbers::pi * i / kPenSides;
            const WPoint o = Host({half_ * std::cos(t), half_ * std::sin(t)});
            p.push_back({c.x + o.x, c.y + o.y});
        }
        Polygon(std::move(p));
    }

    void Square(WPoint c) {
        const WPoint u = Host({half_, 0}), w = Host({0, half_});
        Polygon({{c.x - u.x - w.x, c.y - u.y - w.y},
                 {c.x + u.x - w.x, c.y + u.y - w.y},
                 {c.x + u.x + w.x, c.y + u.y + w.y},
                 {c.x - u.x + w.x, c.y - u.y + w.y}});
    }

    // The cap at `end` of the segment coming from `inner`.
    void Cap(WPoint end, WPoint inner) {
        if (stroke_.cap == 1) {
            Pen(end);
        } else if (stroke_.cap == 2) {
            const WPoint d = UserDirection(inner, end);
            const WPoint o = Host({-d.y * half_, d.x * half_});
            const WPoint e = Host({d.x * half_, d.y * half_});
            Polygon({{end.x + o.x, end.y + o.y},
                     {end.x + o.x + e.x, end.y + o.y + e.y},
                     {end.x - o.x + e.x, end.y - o.y + e.y},
                     {end.x - o.x, end.y - o.y}});
        }
    }

    void Join(WPoint before, WPoint at, WPoint after, bool smooth) {
        const WPoint d0 = UserDirection(before, at), d1 = UserDirection(at, after);
        const double cross = d0.x * d1.y - d0.y * d1.x;
        const double dot = d0.x * d1.x + d0.y * d1.y;
        if (std::fabs(cross) < 1e-12 && dot > 0) return;  // straight on
        if (!smooth && stroke_.join == 1) {
            Pen(at);
            return;
        }
        // The outer side of the turn.
        const double side = cross > 0 ? -1 : 1;
        const WPoint n0{-d0.y * half_ * side, d0.x * half_ * side};
        const WPoint n1{-d1.y * half_ * side, d1.x * half_ * side};
        const WPoint a = Host(n0), b = Host(n1);
        // The miter's length over the width is 1 / sin(theta / 2), theta
        // the angle between the segments.
        const double sinHalf = std::sqrt(std::max(0.0, (1 + dot) / 2));
        if (!smooth && stroke_.join == 0 && sinHalf > 0 && 1 / sinHalf <= stroke_.miterLimit) {
            const WPoint tip = Host({(n0.x + n1.x) / (1 + dot), (n0.y + n1.y) / (1 + dot)});
            Polygon({at, {at.x + a.x, at.y + a.y}, {at.x + tip.x, at.y + tip.y}, {at.x + b.x, at.y + b.y}});
            return;
        }
        Polygon({at, {at.x + a.x, at.y + a.y}, {at.x + b.x, at.y + b.y}});
    }

    WStrokeShape stroke_;
    double half_;
    WMatrix map_;
    WMatrix inverse_;
    bool valid_ = false;
    WOutlinePath out_;
};

}  // namespace

bool ScalesUnevenly(const WMatrix& m) {
    // The singular values of the linear part, from its invariants.
    const double p = m.a * m.a + m.b * m.b + m.c * m.c + m.d * m.d;
    const double det = m.a * m.d - m.b * m.c;
    const double root = std::sqrt(std::max(0.0, p * p - 4 * det * det));
    const double high = std::sqrt((p + root) / 2), low = std::sqrt(std::max(0.0, (p - root) / 2));
    if (!std::isfinite(high) || !(high > 0)) return false;
    return low < high * (1 - 1.0 / 500);
}

WOutlinePath StrokeOutline(const std::vector<svgf::HostPoint>& points, const std::vector<uint8_t>& kinds,
                           const WMatrix& toHost, const WStrokeShape& stroke, size_t mostSegments) {
    Builder builder(toHost, stroke);
    if (!builder.Valid()) return {};
    const std::vector<Polyline> lines = Flatten(points, kinds);
    size_t segments = 0;
    for (const Polyline& line : lines) segments += line.points.size();
    if (segments > mostSegments) return {};
    for (const Polyline& line : lines) builder.Add(line);
    return builder.Take();
}

}  // namespace SVG
