// Rings of a radial gradient. The circles of equal value are drawn as four
// cubic quarter arcs in the gradient's space and mapped whole (a cubic maps
// to the cubic of its mapped points); a ring is its outer circle turned
// counter-clockwise and its inner one clockwise, so that the host's
// non-zero rule cuts the hole. Opaque rings go as whole discs, each
// painted over the one around it: neighbouring rings then leave no seam
// where their smoothed edges meet.
#include "radial_bands.h"

#include <algorithm>
#include <cmath>

namespace SVG {

namespace {

namespace node = svgf::import_node;

// The control distance of a quarter circle as one cubic.
constexpr double kArc = 0.5522847498307936;
// Rings a period of the ramp gets at most, and at least.
constexpr size_t kMostPerPeriod = 32;
constexpr size_t kLeastPerPeriod = 4;

svgf::HostPoint HostOf(const WMatrix& m, WPoint p) {
    const WPoint h = m.Transform(p);
    const auto held = [](double v) {
        if (!(v > INT32_MIN)) return std::isnan(v) ? 0 : INT32_MIN;
        return v >= INT32_MAX ? INT32_MAX : static_cast<int32_t>(std::lround(v));
    };
    return {held(h.x), held(h.y)};
}

// The circle of value t, appended as a closed subpath running
// counter-clockwise on the host's page when `outer`, else clockwise.
void AddCircle(const WRadialGradient::Banded& g, double t, bool outer, WBand& band) {
    const WPoint c{g.focus.x + t * (g.centre.x - g.focus.x), g.focus.y + t * (g.centre.y - g.focus.y)};
    const double r = t * g.radius;
    const double det = g.space.a * g.space.d - g.space.b * g.space.c;
    // Counter-clockwise in the gradient's space stays so on the page when
    // the map keeps orientation.
    const double turn = (det > 0) == outer ? 1 : -1;
    const auto at = [&](double cosine, double sine) {
        return HostOf(g.space, {c.x + r * cosine, c.y + r * turn * sine});
    };
    const WPoint arcs[12] = {{1, kArc}, {kArc, 1}, {0, 1},     {-kArc, 1}, {-1, kArc}, {-1, 0},
                             {-1, -kArc}, {-kArc, -1}, {0, -1}, {kArc, -1}, {1, -kArc}, {1, 0}};
    const size_t first = band.points.size();
    band.points.push_back(at(1, 0));
    band.kinds.push_back(0x00);  // the closing point lies on it
    for (int i = 0; i < 12; ++i) {
        band.points.push_back(at(arcs[i].x, arcs[i].y));
        band.kinds.push_back(i % 3 == 2 ? node::kCurveEnd : node::kControl);
    }
    band.kinds.back() = node::kCurveEnd | node::kClose;
    band.points.back() = band.points[first];
}

// The value a ring's colour is taken at, within one period.
double Spread(int spread, double t) {
    if (spread == 0) return std::clamp(t, 0.0, 1.0);
    const double whole = std::floor(t);
    const double part = t - whole;
    if (spread == 2) return part;
    return static_cast<long long>(whole) % 2 == 0 ? part : 1 - part;
}

}  // namespace

double RadialValue(const WRadialGradient::Banded& g, WPoint p) {
    const WPoint q{p.x - g.focus.x, p.y - g.focus.y};
    const WPoint e{g.centre.x - g.focus.x, g.centre.y - g.focus.y};
    const double a = e.x * e.x + e.y * e.y - g.radius * g.radius;  // below 0: the focus is inside
    const double b = -2 * (q.x * e.x + q.y * e.y);
    const double c = q.x * q.x + q.y * q.y;
    if (!(a < 0)) return std::sqrt(c) / g.radius;
    return (-b - std::sqrt(std::max(0.0, b * b - 4 * a * c))) / (2 * a);
}

WStopValue StopValueAt(const WStopMap& stops, int spread, double t) {
    if (stops.empty()) return {};
    const double at = Spread(spread, t) * kOpaque;
    if (at <= stops.front().position) return stops.front().value;
    for (size_t i = 1; i < stops.size(); ++i) {
        const WStop& a = stops[i - 1];
        const WStop& b = stops[i];
        if (at > b.position) continue;
        if (b.position == a.position) return b.value;
        const double k = (at - a.position) / (b.position - a.position);
        const auto mix = [k](double x, double y) { return static_cast<uint16_t>(std::lround(x + (y - x) * k)); };
        WStopValue v;
        v.colour = {static_cast<uint8_t>(mix(a.value.colour.red, b.value.colour.red)),
                    static_cast<uint8_t>(mix(a.value.colour.green, b.value.colour.green)),
                    static_cast<uint8_t>(mix(a.value.colour.blue, b.value.colour.blue))};
        v.opacity = mix(a.value.opacity, b.value.opacity);
        return v;
    }
    return stops.back().value;
}

std::vector<WBand> RadialBands(const WRadialGradient::Banded& g, const WStopMap& stops, const svgf::HostBox& box,
                               bool discs, size_t mostBands) {
    std::vector<WBand> out;
    WMatrix inverse = g.space;
    if (stops.empty() || !(g.radius > 0) || inverse.Invert() == 0) return out;
    // The greatest value over the box: the discs of lower values are convex,
    // so it is reached at a corner.
    double high = 0;
    const WPoint corners[4] = {{static_cast<double>(box.left), static_cast<double>(box.top)},
                               {static_cast<double>(box.right), static_cast<double>(box.top)},
                               {static_cast<double>(box.right), static_cast<double>(box.bottom)},
                               {static_cast<double>(box.left), static_cast<double>(box.bottom)}};
    for (const WPoint& corner : corners) high = std::max(high, RadialValue(g, inverse.Transform(corner)));
    if (!std::isfinite(high) || !(high > 0)) return out;

    const double reach = g.spread == 0 ? std::min(high, 1.0) : high;
    const size_t periods = static_cast<size_t>(std::ceil(reach));
    const size_t perPeriod =
        std::clamp<size_t>(mostBands / std::max<size_t>(periods, 1), kLeastPerPeriod, kMostPerPeriod);
    // Ring edges within a period: even steps and every stop.
    std::vector<double> edges;
    for (size_t i = 0; i <= perPeriod; ++i) edges.push_back(static_cast<double>(i) / perPeriod);
    for (const WStop& stop : stops) edges.push_back(stop.position / static_cast<double>(kOpaque));
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());

    std::vector<double> values;  // every edge from the centre out
    for (size_t k = 0; k < periods && values.size() < mostBands; ++k) {
        const bool mirrored = g.spread == 1 && k % 2 == 1;
        std::vector<double> period;
        for (double e : edges) period.push_back(k + (mirrored ? 1 - e : e));
        std::sort(period.begin(), period.end());
        for (double v : period) {
            if (values.empty() || v > values.back()) values.push_back(v);
        }
    }
    if (values.empty() || values.front() > 0) values.insert(values.begin(), 0.0);

    // Beyond the last circle, up to the box's corners: one region of the
    // colour found there.
    const double last = values.back();
    if (high > last) {
        WBand outside;
        const svgf::HostPoint c[4] = {{box.left, box.bottom}, {box.right, box.bottom}, {box.right, box.top},
                                      {box.left, box.top}};
        for (int i = 0; i < 4; ++i) {
            outside.points.push_back(c[i]);
            outside.kinds.push_back(i == 0 ? 0x00 : node::kLine);
        }
        outside.points.push_back(c[0]);
        outside.kinds.push_back(node::kLine | node::kClose);
        if (!discs) AddCircle(g, last, false, outside);
        outside.value = StopValueAt(stops, g.spread, g.spread == 0 ? 1.0 : (last + high) / 2);
        out.push_back(std::move(outside));
        // The outermost disc often has the shape's own edge (a circle
        // filled by its default gradient): painted over the region there,
        // its smoothed edge would darken the shape's. The region takes the
        // ring instead, a colour apart by half a ring.
        if (discs && values.size() > 1) values.pop_back();
    }
    for (size_t i = values.size() - 1; i > 0; --i) {
        const double inner = values[i - 1], outer = values[i];
        WBand band;
        AddCircle(g, outer, true, band);
        if (inner > 0 && !discs) AddCircle(g, inner, false, band);
        band.value = StopValueAt(stops, g.spread, (inner + outer) / 2);
        out.push_back(std::move(band));
    }
    return out;
}

}  // namespace SVG
