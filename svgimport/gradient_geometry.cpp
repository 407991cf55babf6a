// The geometry of gradients under the map to host units: where a linear
// ramp ends once its lines of equal colour are mapped.
#include <algorithm>
#include <cmath>

#include "reader_detail.h"

namespace SVG::detail {

WPoint RampEnd(const WMatrix& toHost, WPoint p1, WPoint p2) {
    const WPoint v{p2.x - p1.x, p2.y - p1.y};
    const double length2 = v.x * v.x + v.y * v.y;
    const double det = toHost.a * toHost.d - toHost.b * toHost.c;
    if (!(length2 > 0) || !(std::fabs(det) > 0) || !std::isfinite(det)) return toHost.Transform(p2);
    // A map that keeps right angles (a turn, a uniform scale, a mirror)
    // keeps the ramp's end where it is.
    const double scale = std::fabs(toHost.a) + std::fabs(toHost.b) + std::fabs(toHost.c) + std::fabs(toHost.d);
    const double tolerance = 1e-12 * scale;
    const bool turned = std::fabs(toHost.a - toHost.d) <= tolerance && std::fabs(toHost.b + toHost.c) <= tolerance;
    const bool mirrored = std::fabs(toHost.a + toHost.d) <= tolerance && std::fabs(toHost.b - toHost.c) <= tolerance;
    if (turned || mirrored) return toHost.Transform(p2);
    // The ramp's value at a host point h is (h - h1) . g with g the inverse
    // transpose of the map applied to v / |v|^2; it reaches 1 at h1 + g / |g|^2.
    const WPoint g{(toHost.d * v.x - toHost.b * v.y) / (det * length2),
                   (-toHost.c * v.x + toHost.a * v.y) / (det * length2)};
    const double g2 = g.x * g.x + g.y * g.y;
    const WPoint h1 = toHost.Transform(p1);
    if (!(g2 > 0) || !std::isfinite(g2)) return toHost.Transform(p2);
    // To a millionth of a host unit: the rounding of the division stays
    // out of the whole units the end is truncated to.
    const auto settled = [](double v) { return std::round(v * 1e6) / 1e6; };
    return {settled(h1.x + g.x / g2), settled(h1.y + g.y / g2)};
}

}  // namespace SVG::detail

namespace SVG::detail {
namespace {

// The host's fountain holds at most this many stops.
constexpr size_t kMostStops = 101;

int32_t HostCoordinate(double v) {
    if (!(v > INT32_MIN)) return std::isnan(v) ? 0 : INT32_MIN;
    return v >= INT32_MAX ? INT32_MAX : static_cast<int32_t>(v);
}

// The stops of periods first..last-1 of the ramp on one ramp of them all.
WStopMap Periods(const WStopMap& stops, int first, int last, bool reflect) {
    WStopMap out;
    const double count = last - first;
    for (int k = first; k < last; ++k) {
        const bool mirrored = reflect && (k % 2 != 0);
        for (size_t i = 0; i < stops.size(); ++i) {
            const WStop& s = mirrored ? stops[stops.size() - 1 - i] : stops[i];
            const double p = mirrored ? kOpaque - s.position : s.position;
            const double at = ((k - first) * static_cast<double>(kOpaque) + p) / count;
            const auto position = static_cast<uint16_t>(std::clamp(std::lround(at), 0L, long{kOpaque}));
            const uint16_t kept = out.empty() ? position : std::max(position, out.back().position);
            out.push_back({kept, s.value});
        }
    }
    return out;
}

// The whole periods around [0, 1] that reach from `low` to `high`, as many
// as the stops allow (the ones nearest the ramp first).
void Cover(double low, double high, size_t stopsPerPeriod, int& first, int& last) {
    first = static_cast<int>(std::clamp(std::floor(low), -1e6, 0.0));
    last = static_cast<int>(std::clamp(std::ceil(high), 1.0, 1e6));
    const int most = static_cast<int>(std::max<size_t>(kMostStops / stopsPerPeriod, 1));
    while (last - first > most) {
        if (-first > last - 1) {
            ++first;
        } else {
            --last;
        }
    }
}

}  // namespace

void SpreadOverBox(WGradient& gradient, const WPoint corners[4], bool reflect) {
    if (gradient.stops.size() < 2) return;
    int first = 0, last = 1;
    if (gradient.kind() == kind::kLinearGradient) {
        auto& g = static_cast<WLinearGradient&>(gradient);
        const WPoint a{static_cast<double>(g.x1), static_cast<double>(g.y1)};
        const WPoint v{g.x2 - a.x, g.y2 - a.y};
        const double length2 = v.x * v.x + v.y * v.y;
        if (!(length2 > 0)) return;
        double low = 0, high = 1;
        for (int i = 0; i < 4; ++i) {
            const double t = ((corners[i].x - a.x) * v.x + (corners[i].y - a.y) * v.y) / length2;
            low = std::min(low, t);
            high = std::max(high, t);
        }
        Cover(low, high, gradient.stops.size(), first, last);
        if (first == 0 && last == 1) return;
        g.x1 = HostCoordinate(a.x + first * v.x);
        g.y1 = HostCoordinate(a.y + first * v.y);
        g.x2 = HostCoordinate(a.x + last * v.x);
        g.y2 = HostCoordinate(a.y + last * v.y);
    } else if (gradient.kind() == kind::kRadialGradient) {
        auto& g = static_cast<WRadialGradient&>(gradient);
        if (!(g.r > 0)) return;
        double high = 1;
        for (int i = 0; i < 4; ++i)
            high = std::max(high, std::hypot(corners[i].x - g.cx, corners[i].y - g.cy) / g.r);
        Cover(0, high, gradient.stops.size(), first, last);
        if (last == 1) return;
        g.r = HostCoordinate(static_cast<double>(g.r) * last);
    } else {
        return;
    }
    gradient.stops = Periods(gradient.stops, first, last, reflect);
}

}  // namespace SVG::detail
