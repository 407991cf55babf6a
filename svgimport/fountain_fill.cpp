// Fills of reference paints: gradients as the host's fountains (their
// angle, edge pad, centre offsets and up to 101 stops, or in mask mode the
// stops' grey levels), patterns as a tile the host has the canvas draw.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "canvas_detail.h"

namespace SVG {

using detail::ClampHost;
using detail::NewRecord;
using detail::RoundHost;
using detail::TruncateHost;
namespace svc = svgf::svc;

namespace {

// Host units of the horizontal ray the gradient's angle is measured from.
constexpr int32_t kAngleRay = 254000;

// The fountain header shared by both kinds, and the stop's colour: an RGB
// colour, or in mask mode the grey level of its transparency.
svgf::HostFountain Header(uint16_t type, size_t stopCount) {
    svgf::HostFountain f{};
    f.subKind = type;
    f.value36 = 256;
    f.blend = stopCount > 2 ? 3 : 0;
    f.value40 = 0;
    f.midPoint = 50;
    f.edgePad = 0;
    return f;
}

svgf::ColorRecord StopColour(const WStopValue& stop, bool mask, double levelScale) {
    if (mask) {
        const double opacity = std::min<uint16_t>(stop.opacity, kOpaque) * std::clamp(levelScale, 0.0, 1.0);
        return detail::GreyRecord(static_cast<uint16_t>(kOpaque - RoundHost(opacity)));
    }
    return detail::RgbRecord(stop.colour);
}

// A stop position 0..255 in percent.
uint16_t Percent(uint16_t position) {
    return static_cast<uint16_t>(RoundHost(std::min<uint16_t>(position, kOpaque) * (100.0 / 255)));
}

std::unique_ptr<svgf::HostFillRecord> FountainRecord(const svgf::HostFountain& fountain) {
    auto record = NewRecord<svgf::HostFillRecord>();
    if (record == nullptr) return record;
    record->kind = svgf::kFillFountain;
    std::memcpy(record->body, &fountain, sizeof fountain);
    return record;
}

int32_t Negated(int32_t angle) {
    return ClampHost(-int64_t{angle});
}

}  // namespace

WFillRecord WCanvas_UDI::BuildFountainFill(const WFill_URI& paint, const svgf::HostBox& first,
                                           svgf::HostBox* second, int32_t mask, double levelScale) {
    const WDefsObject* definition = paint.definition;
    if (definition == nullptr) return {};
    const bool greys = mask != 0;
    switch (definition->kind()) {
        case kind::kLinearGradient: {
            const auto& g = static_cast<const WLinearGradient&>(*definition);
            const auto angleOf = detail::Service<svc::AngleOfPointsFn>(Services(), svc::kAngleOfPoints);
            if (angleOf == nullptr) return {};
            svgf::HostFountain f = Header(1, g.stops.size());
            f.angle = angleOf(g.x1, g.y1, ClampHost(int64_t{g.x1} + kAngleRay), g.y1, g.x2, g.y2);
            int16_t count = 0;
            for (const auto& [position, stop] : g.stops) {
                if (count == svgf::kFountainMaxStops) break;
                f.stops[count] = {StopColour(stop, greys, levelScale), Percent(position), 0};
                ++count;
            }
            f.stopCount = count;
            if (second != nullptr) SetLinearPad(g, f.angle, second, f);
            return {FountainRecord(f), nullptr};
        }
        case kind::kRadialGradient: {
            const auto& g = static_cast<const WRadialGradient&>(*definition);
            svgf::HostFountain f = Header(2, g.stops.size());
            // Outermost first: the host counts positions from the edge.
            const size_t m = std::min<size_t>(g.stops.size(), svgf::kFountainMaxStops);
            size_t i = 0;
            for (const auto& [position, stop] : g.stops) {
                if (i == m) break;
                f.stops[m - 1 - i] = {StopColour(stop, greys, levelScale), static_cast<uint16_t>(100 - Percent(position)), 0};
                ++i;
            }
            f.stopCount = static_cast<int16_t>(m);
            SetRadialGeometry(g, first, f);
            return {FountainRecord(f), nullptr};
        }
        case kind::kPattern:
            return BuildPatternFill(static_cast<const WPattern&>(*definition));
        default:
            return {};
    }
}

// The linear fountain's edge pad, or the host's box widened to the
// gradient's extent: in the gradient's own frame (turned back by its angle
// about its midpoint) the box's span is made symmetric about the midpoint;
// end points inside it pad the fountain, end points outside it widen the
// box to them.
void WCanvas_UDI::SetLinearPad(const WLinearGradient& g, int32_t angle, svgf::HostBox* second,
                               svgf::HostFountain& f) const {
    const svgf::HostServiceTable* services = Services();
    const auto rotate = detail::Service<svc::MatrixRotateFn>(services, svc::kMatrixRotate);
    const auto transform = detail::Service<svc::TransformPointsFn>(services, svc::kTransformPoints);
    const auto bounds = detail::Service<svc::BoundingBoxFn>(services, svc::kBoundingBox);
    if (rotate == nullptr || transform == nullptr || bounds == nullptr) return;

    const int64_t mx = (int64_t{g.x1} + g.x2) / 2;
    const int64_t my = (int64_t{g.y1} + g.y2) / 2;
    const svgf::HostBox box = *second;
    svgf::HostPoint corners[4] = {
        {box.left, box.top}, {box.right, box.top}, {box.right, box.bottom}, {box.left, box.bottom}};
    svgf::HostPoint ends[2] = {{g.x1, g.y1}, {g.x2, g.y2}};
    svgf::HostTransform turn{};
    detail::InitialiseTransform(services, &turn);
    rotate(&turn, Negated(angle), static_cast<int32_t>(mx), static_cast<int32_t>(my));
    transform(corners, &turn, 4);
    transform(ends, &turn, 2);
    svgf::HostBox turned{};
    bounds(corners, 4, &turned);

    int64_t l = turned.left;
    int64_t r = turned.right;
    if (mx - l < r - mx) {
        l = 2 * mx - r;
    } else {
        r = 2 * mx - l;
    }
    if (ends[0].x >= l && ends[1].x <= r) {
        if (mx != l) {
            const double share = static_cast<double>(mx - ends[0].x) / static_cast<double>(mx - l);
            f.edgePad = static_cast<int16_t>(std::clamp(RoundHost((1 - share) * 49), -32768, 32767));
        }
        // The host centres the ramp on its box: a ramp off the box's
        // centre (by more than the midpoint's rounding) needs the box made
        // symmetric about the ramp's midpoint.
        constexpr int64_t kRounding = 2;
        if (l >= turned.left - kRounding && r <= turned.right + kRounding) return;
    }
    // The corner with the least x (the earliest on a tie) and the one
    // diagonally opposite give the widened box its heights.
    int k = 0;
    for (int i = 1; i < 4; ++i) {
        if (corners[i].x < corners[k].x) k = i;
    }
    svgf::HostPoint widened[2] = {{ClampHost(std::min<int64_t>(ends[0].x, l)), corners[k].y},
                                  {ClampHost(std::max<int64_t>(ends[1].x, r)), corners[(k + 2) % 4].y}};
    svgf::HostTransform back{};
    detail::InitialiseTransform(services, &back);
    rotate(&back, angle, static_cast<int32_t>(mx), static_cast<int32_t>(my));
    transform(widened, &back, 2);
    *second = {std::min(widened[0].x, widened[1].x), std::max(widened[0].y, widened[1].y),
               std::max(widened[0].x, widened[1].x), std::min(widened[0].y, widened[1].y)};
}

// The radial fountain's centre offsets (percent of the box's width and
// height from its centre, held to +-100) and its edge pad (the share of
// the box's upper half-height or right half-width the circle does not
// reach).
void WCanvas_UDI::SetRadialGeometry(const WRadialGradient& g, const svgf::HostBox& box,
                                    svgf::HostFountain& f) const {
    const double width = static_cast<double>(int64_t{box.right} - box.left);
    const double height = static_cast<double>(int64_t{box.top} - box.bottom);
    const int64_t bx = (int64_t{box.left} + box.right) / 2;
    const int64_t by = (int64_t{box.top} + box.bottom) / 2;
    const auto offset = [](int64_t centre, int64_t middle, double extent) {
        if (centre == middle || extent == 0) return 0;
        const double percent = static_cast<double>(centre - middle) / extent * 100;
        return std::clamp(TruncateHost(percent), -100, 100);
    };
    f.centreX = offset(g.cx, bx, width);
    f.centreY = offset(g.cy, by, height);

    const int64_t r = std::max<int32_t>(g.r, 0);
    const int64_t d = std::max<int64_t>({int64_t{box.top} - (by + r), int64_t{box.right} - (bx + r), 0});
    if (d > 0) {
        f.edgePad = static_cast<int16_t>(RoundHost(static_cast<double>(d) / (2.0 * static_cast<double>(d + r)) * 100));
    }
}

WFillRecord WCanvas_UDI::BuildPatternFill(const WPattern& pattern) {
    const void* element = pattern.element != nullptr ? pattern.element : static_cast<const void*>(&pattern);
    if (std::find(drawingTiles_.begin(), drawingTiles_.end(), element) != drawingTiles_.end()) {
        // Inside its own tile the pattern is not drawn again.
        auto none = NewRecord<svgf::HostFillRecord>();
        if (none != nullptr) none->kind = svgf::kFillNone;
        return {std::move(none), nullptr};
    }
    auto tile = std::unique_ptr<WPatternTile>(new (std::nothrow) WPatternTile{this, &pattern, reader_, pattern.matrix});
    if (tile == nullptr) return {};
    auto record = NewRecord<svgf::HostFillRecord>();
    if (record == nullptr) return {};
    record->kind = svgf::kFillPatternTile;
    svgf::HostPatternTileBlock block{};
    block.tile = reinterpret_cast<svgf::HostWord>(tile.get());
    block.width = RoundHost(pattern.width);
    block.height = RoundHost(pattern.height);
    block.box = {TruncateHost(pattern.x), TruncateHost(pattern.y), TruncateHost(pattern.x + pattern.width),
                 TruncateHost(pattern.y - pattern.height)};
    std::memcpy(record->body, &block, sizeof block);
    return {std::move(record), std::move(tile)};
}

}  // namespace SVG
