// Rectangles, ellipses and paths to the host. A rectangle or ellipse that
// its matrix leaves on the host's axes goes through the host's rectangle or
// ellipse entry; one turned or skewed goes as a path (four lines, or four
// cubic arcs), as does a rectangle with a linear fountain, whose box the
// fountain may widen.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "canvas_detail.h"
#include "svgimport/even_odd.h"

namespace SVG {

using detail::RoundHost;

namespace {

// The control distance of a quarter ellipse as one cubic segment.
constexpr double kArc = 0.5522847498307936;

struct Corners {
    WPoint p[4];
};

// A rectangle's corners, counter-clockwise from the corner before its
// orientation's lower left.
Corners CornersOf(WPoint m, WPoint u, WPoint w) {
    return {{{m.x - u.x - w.x, m.y - u.y - w.y},
             {m.x + u.x - w.x, m.y + u.y - w.y},
             {m.x + u.x + w.x, m.y + u.y + w.y},
             {m.x - u.x + w.x, m.y - u.y + w.y}}};
}

svgf::HostPoint Rounded(WPoint p) {
    return {RoundHost(p.x), RoundHost(p.y)};
}

bool IsLinearFountain(const svgf::HostFillRecord* fill) {
    if (fill == nullptr || fill->kind != svgf::kFillFountain) return false;
    svgf::HostFountain f;
    std::memcpy(&f, fill->body, sizeof f);
    return f.subKind == 1;
}

namespace node = svgf::import_node;

// An ellipse about m with half-axes u and w as four quarter arcs from the
// end of u, counter-clockwise.
void EllipseOutline(WPoint m, WPoint u, WPoint w, std::vector<svgf::HostPoint>& points,
                    std::vector<uint8_t>& kinds) {
    const auto at = [&](double a, double b) { return Rounded({m.x + a * u.x + b * w.x, m.y + a * u.y + b * w.y}); };
    points = {at(1, 0),      at(1, kArc),    at(kArc, 1),  at(0, 1),   at(-kArc, 1),  at(-1, kArc), at(-1, 0),
              at(-1, -kArc), at(-kArc, -1),  at(0, -1),    at(kArc, -1), at(1, -kArc)};
    points.push_back(points.front());
    kinds = {0x00};
    for (int arc = 0; arc < 4; ++arc) kinds.insert(kinds.end(), {node::kControl, node::kControl, node::kCurveEnd});
    kinds.back() |= node::kClose;
}

// A rectangle about m with half-sides u and w; an upright one may round
// its corners by `corner`.
void RectangleOutline(WPoint m, WPoint u, WPoint w, double corner, std::vector<svgf::HostPoint>& points,
                      std::vector<uint8_t>& kinds) {
    const Corners c = CornersOf(m, u, w);
    const double hx = std::fabs(u.x) + std::fabs(w.x), hy = std::fabs(u.y) + std::fabs(w.y);
    const double r = std::min({corner, hx, hy});
    if (!(r > 0)) {
        points = {Rounded(c.p[0]), Rounded(c.p[1]), Rounded(c.p[2]), Rounded(c.p[3]), Rounded(c.p[0])};
        kinds.assign(detail::kClosedQuad.begin(), detail::kClosedQuad.end());
        return;
    }
    // Counter-clockwise from the lower side, each corner a quarter arc.
    const double l = m.x - hx, b = m.y - hy, rt = m.x + hx, t = m.y + hy, k = r * (1 - kArc);
    points.clear();
    kinds.clear();
    const auto add = [&](double x, double y, uint8_t kind) {
        points.push_back(Rounded({x, y}));
        kinds.push_back(kind);
    };
    add(l + r, b, 0x00);
    add(rt - r, b, node::kLine);
    add(rt - k, b, node::kControl), add(rt, b + k, node::kControl), add(rt, b + r, node::kCurveEnd);
    add(rt, t - r, node::kLine);
    add(rt, t - k, node::kControl), add(rt - k, t, node::kControl), add(rt - r, t, node::kCurveEnd);
    add(l + r, t, node::kLine);
    add(l + k, t, node::kControl), add(l, t - k, node::kControl), add(l, t - r, node::kCurveEnd);
    add(l, b + r, node::kLine);
    add(l, b + k, node::kControl), add(l + k, b, node::kControl), add(l + r, b, node::kCurveEnd | node::kClose);
}

}  // namespace

int32_t WCanvas_UDI::DrawRectangle(const WRectangle& rectangle) {
    if (!Continue()) return 0;
    const auto [x, y, width, height] = detail::Upright(rectangle.x, rectangle.y, rectangle.width, rectangle.height);
    const detail::ShapeFrame frame = detail::FrameOf(rectangle.matrix);
    const WPoint m{x + width / 2, y + height / 2};
    const WPresentation& style = rectangle.presentation;
    {
        const WPoint u{frame.u.x * width / 2, frame.u.y * width / 2};
        const WPoint w{frame.w.x * height / 2, frame.w.y * height / 2};
        const WPoint h{std::fabs(u.x) + std::fabs(w.x), std::fabs(u.y) + std::fabs(w.y)};
        const svgf::HostBox extent{RoundHost(m.x - h.x), RoundHost(m.y + h.y), RoundHost(m.x + h.x),
                                   RoundHost(m.y - h.y)};
        const auto outline = [&](std::vector<svgf::HostPoint>& points, std::vector<uint8_t>& kinds) {
            RectangleOutline(m, u, w, frame.straight ? rectangle.corner : 0, points, kinds);
        };
        if (DrawSubstituted(rectangle, extent, outline, [&] { DrawRectangle(rectangle); })) return 1;
    }

    if (!frame.straight) {
        const WPoint u{frame.u.x * width / 2, frame.u.y * width / 2};
        const WPoint w{frame.w.x * height / 2, frame.w.y * height / 2};
        const Corners c = CornersOf(m, u, w);
        std::vector<svgf::HostPoint> points{Rounded(c.p[0]), Rounded(c.p[1]), Rounded(c.p[2]), Rounded(c.p[3])};
        points.push_back(points.front());
        SendPath(style, points, {detail::kClosedQuad.begin(), detail::kClosedQuad.end()}, detail::BoxOf(points));
        return 1;
    }

    // On the host's axes (a quarter turn swaps the sides).
    const WPoint e{width * std::fabs(frame.u.x) + height * std::fabs(frame.w.x),
                   width * std::fabs(frame.u.y) + height * std::fabs(frame.w.y)};
    const WPoint p{m.x - e.x / 2, m.y - e.y / 2};
    const svgf::HostBox box{RoundHost(p.x), RoundHost(p.y + e.y), RoundHost(p.x + e.x), RoundHost(p.y)};
    for (const Pass& pass : PassesOf(style)) {
        svgf::HostBox second = box;
        Records records;
        ApplyStyle(style, pass, box, &second, records);
        if (IsLinearFountain(records.fill.record.get())) {
            const Corners c = CornersOf(m, {e.x / 2, 0}, {0, e.y / 2});
            const svgf::HostPoint points[5] = {Rounded(c.p[0]), Rounded(c.p[1]), Rounded(c.p[2]),
                                               Rounded(c.p[3]), Rounded(c.p[0])};
            SendPathWith(style, records, 5, points, detail::kClosedQuad.data(), second);
            continue;
        }
        PushClipPaths(style.clipPath.get());
        if (const auto draw = Drawing<svgf::draw::RectangleFn>(svgf::draw::kRectangle)) {
            draw(current_, &records.attributes, RoundHost(m.x), RoundHost(m.y), RoundHost(e.x), RoundHost(e.y),
                 RoundHost(std::max(rectangle.corner, 0.0)), 0, &second, 0);
        }
        PopClipPaths(style.clipPath.get());
    }
    return 1;
}

int32_t WCanvas_UDI::DrawEllipse(const WEllipse& ellipse) {
    if (!Continue()) return 0;
    const double rx = std::fabs(ellipse.rx), ry = std::fabs(ellipse.ry);
    const detail::ShapeFrame frame = detail::FrameOf(ellipse.matrix);
    const WPoint m{ellipse.cx, ellipse.cy};
    const WPresentation& style = ellipse.presentation;
    const WPoint u{frame.u.x * rx, frame.u.y * rx};
    const WPoint w{frame.w.x * ry, frame.w.y * ry};
    // The ellipse's own extent, not its control points'.
    const double hx = std::hypot(u.x, w.x), hy = std::hypot(u.y, w.y);
    const svgf::HostBox extent{RoundHost(m.x - hx), RoundHost(m.y + hy), RoundHost(m.x + hx), RoundHost(m.y - hy)};
    const auto outline = [&](std::vector<svgf::HostPoint>& points, std::vector<uint8_t>& kinds) {
        EllipseOutline(m, u, w, points, kinds);
    };
    if (DrawSubstituted(ellipse, extent, outline, [&] { DrawEllipse(ellipse); })) return 1;

    if (!frame.straight) {
        std::vector<svgf::HostPoint> points;
        std::vector<uint8_t> kinds;
        outline(points, kinds);
        SendPath(style, points, kinds, extent);
        return 1;
    }

    const WPoint r{rx * std::fabs(frame.u.x) + ry * std::fabs(frame.w.x),
                   rx * std::fabs(frame.u.y) + ry * std::fabs(frame.w.y)};
    const svgf::HostBox box{RoundHost(m.x - r.x), RoundHost(m.y + r.y), RoundHost(m.x + r.x), RoundHost(m.y - r.y)};
    for (const Pass& pass : PassesOf(style)) {
        svgf::HostBox second = box;
        Records records;
        ApplyStyle(style, pass, box, &second, records);
        PushClipPaths(style.clipPath.get());
        if (const auto draw = Drawing<svgf::draw::EllipseFn>(svgf::draw::kEllipse)) {
            draw(current_, &records.attributes, RoundHost(m.x), RoundHost(m.y), RoundHost(2 * r.x),
                 RoundHost(2 * r.y), 0, 0, 0, 0, &second, 0);
        }
        PopClipPaths(style.clipPath.get());
    }
    return 1;
}

int32_t WCanvas_UDI::DrawPath(const WPath& path) {
    if (!Continue()) return 0;
    // A path without points has nothing to show, nor a box.
    if (path.points.empty() || path.kinds.size() != path.points.size()) return 1;
    const auto outline = [&](std::vector<svgf::HostPoint>& points, std::vector<uint8_t>& kinds) {
        points = path.points;
        kinds = path.kinds;
    };
    if (DrawSubstituted(path, path.box, outline, [&] { DrawPath(path); })) return 1;
    SendPath(path.presentation, path.points, path.kinds, path.box);
    return 1;
}

void WCanvas_UDI::SendPath(const WPresentation& style, const std::vector<svgf::HostPoint>& points,
                           const std::vector<uint8_t>& kinds, const svgf::HostBox& box) {
    // Even-odd filling goes to the host as subpaths turned for its
    // non-zero rule.
    std::vector<svgf::HostPoint> oriented;
    std::vector<uint8_t> orientedKinds;
    const std::vector<svgf::HostPoint>* sent = &points;
    const std::vector<uint8_t>* sentKinds = &kinds;
    if (style.evenOdd && style.fill != nullptr) {
        oriented = points;
        orientedKinds = kinds;
        OrientForEvenOdd(oriented, orientedKinds);
        sent = &oriented;
        sentKinds = &orientedKinds;
    }
    for (const Pass& pass : PassesOf(style)) {
        svgf::HostBox second = box;
        Records records;
        ApplyStyle(style, pass, box, &second, records);
        SendPathWith(style, records, static_cast<uint32_t>(sent->size()), sent->data(), sentKinds->data(), second);
    }
}

void WCanvas_UDI::SendPathWith(const WPresentation& style, const Records& records, uint32_t count,
                               const svgf::HostPoint* points, const uint8_t* kinds, const svgf::HostBox& box) {
    PushClipPaths(style.clipPath.get());
    if (const auto draw = Drawing<svgf::draw::PathFn>(svgf::draw::kPath)) {
        draw(current_, &records.attributes, count, points, kinds, &box, 0);
    }
    PopClipPaths(style.clipPath.get());
}

}  // namespace SVG
