// Clip paths: every shape child (a use child as the shape it names, a
// text as its box) goes into one host path, each child turned to one
// orientation so that under the nonzero rule the children add up to their
// union. A clip path in objectBoundingBox units lies on the element's box;
// its own clip-path clips it in turn; one with nothing to show clips
// everything away.
#include <cmath>
#include <numbers>

#include "reader_detail.h"
#include "svgimport/even_odd.h"
#include "svgimport/path_data.h"

namespace SVG {

using markup::WDOMHandle;

namespace {

namespace node = svgf::import_node;

constexpr uint8_t kRoleMask = 0xC0;

// A shape's points as subpaths of segments, to be written again reversed.
struct Segment {
    bool curve = false;
    svgf::HostPoint c1{}, c2{}, end{};
};
struct Subpath {
    svgf::HostPoint start{};
    std::vector<Segment> segments;
    bool closed = false;
};

std::vector<Subpath> SubpathsOf(const WPath& path) {
    std::vector<Subpath> out;
    std::vector<svgf::HostPoint> controls;
    for (size_t i = 0; i < path.points.size(); ++i) {
        const uint8_t kind = path.kinds[i];
        const uint8_t role = kind & kRoleMask;
        const svgf::HostPoint p = path.points[i];
        if (role == (node::kControl & kRoleMask)) {
            controls.push_back(p);
        } else if (role == (node::kMove & kRoleMask) || out.empty()) {
            out.push_back({p, {}, false});
            controls.clear();
        } else if (role == (node::kCurveEnd & kRoleMask) && controls.size() == 2) {
            out.back().segments.push_back({true, controls[0], controls[1], p});
            controls.clear();
        } else {
            out.back().segments.push_back({false, {}, {}, p});
            controls.clear();
        }
        if ((kind & node::kClose) != 0 && !out.empty()) out.back().closed = true;
    }
    return out;
}

// Twice the signed area the points enclose (controls taken as corners):
// positive when they run counter-clockwise with y up.
double SignedArea(const std::vector<svgf::HostPoint>& points, size_t from) {
    double area = 0;
    for (size_t i = from; i < points.size(); ++i) {
        const svgf::HostPoint a = points[i];
        const svgf::HostPoint b = i + 1 < points.size() ? points[i + 1] : points[from];
        area += static_cast<double>(a.x) * b.y - static_cast<double>(b.x) * a.y;
    }
    return area;
}

void AppendSubpath(const Subpath& s, WPath& out) {
    const size_t first = out.points.size();
    out.AddPoint(s.start, segment::kMove);
    for (const Segment& g : s.segments) {
        if (g.curve) {
            out.AddPoint(g.c1, segment::kControl);
            out.AddPoint(g.c2, segment::kControl);
            out.AddPoint(g.end, segment::kCurveEnd);
        } else {
            out.AddPoint(g.end, segment::kLine);
        }
    }
    if (s.closed || !s.segments.empty()) out.CloseSubpath(first);
}

// The subpath run backwards: from its last point, each segment from its
// end to its start (a curve's controls swapped).
Subpath Reversed(const Subpath& s) {
    Subpath r;
    r.closed = s.closed;
    r.start = s.segments.empty() ? s.start : s.segments.back().end;
    for (size_t i = s.segments.size(); i-- > 0;) {
        const Segment& g = s.segments[i];
        const svgf::HostPoint to = i == 0 ? s.start : s.segments[i - 1].end;
        r.segments.push_back({g.curve, g.c2, g.c1, to});
    }
    return r;
}

// Appends a child's path to the union, reversed as a whole (its holes stay
// holes) when it runs clockwise. Every subpath is closed: a clip path
// fills its shapes.
void AppendOriented(const WPath& piece, WPath& out) {
    if (piece.points.empty() || piece.kinds.size() != piece.points.size()) return;
    const bool reverse = SignedArea(piece.points, 0) < 0;
    for (const Subpath& s : SubpathsOf(piece)) AppendSubpath(reverse ? Reversed(s) : s, out);
}

// An ellipse as four cubic quarter arcs through `m`.
void AddEllipse(WPath& path, const WMatrix& m, double cx, double cy, double rx, double ry) {
    constexpr double k = 0.5522847498307936;
    const auto at = [&](double a, double b) { return HostPointOf(m, {cx + a * rx, cy + b * ry}); };
    const size_t first = path.points.size();
    path.AddPoint(at(1, 0), segment::kMove);
    const double quarter[4][6] = {{1, k, k, 1, 0, 1}, {-k, 1, -1, k, -1, 0}, {-1, -k, -k, -1, 0, -1},
                                  {k, -1, 1, -k, 1, 0}};
    for (const auto& q : quarter) {
        path.AddPoint(at(q[0], q[1]), segment::kControl);
        path.AddPoint(at(q[2], q[3]), segment::kControl);
        path.AddPoint(at(q[4], q[5]), segment::kCurveEnd);
    }
    path.CloseSubpath(first);
}

void AddBox(WPath& path, const WMatrix& m, double x, double y, double w, double h) {
    const size_t first = path.points.size();
    path.AddPoint(HostPointOf(m, {x, y}), segment::kMove);
    path.AddPoint(HostPointOf(m, {x + w, y}), segment::kLine);
    path.AddPoint(HostPointOf(m, {x + w, y + h}), segment::kLine);
    path.AddPoint(HostPointOf(m, {x, y + h}), segment::kLine);
    path.CloseSubpath(first);
}

// How many characters a text holds, without its white space.
size_t CharacterCount(const WDOMHandle& node, int depth) {
    if (depth > WParser::kMaxDepth) return 0;
    size_t count = 0;
    for (WDOMHandle child = node.GetFirstChild(); !child.IsNull(); child = child.GetNextSibling()) {
        const uint16_t type = child.GetNodeType();
        if (type == markup::kDOMTextNode || type == markup::kDOMCDATASectionNode) {
            for (char c : child.GetData().View()) count += IsWhiteSpace(c) ? 0 : 1;
        } else if (type == markup::kDOMElementNode) {
            count += CharacterCount(child, depth + 1);
        }
    }
    return count;
}

// Lets an element's style record go when the scope ends.
class StyleRelease {
  public:
    StyleRelease(WStyleSource* styles, const WDOMHandle& element) : styles_(styles), element_(element) {}
    ~StyleRelease() {
        if (styles_ != nullptr) styles_->Release(element_);
    }
    StyleRelease(const StyleRelease&) = delete;
    StyleRelease& operator=(const StyleRelease&) = delete;

  private:
    WStyleSource* styles_;
    const WDOMHandle& element_;
};

}  // namespace

void WParser::AddClipChild(const WDOMHandle& child, WPath& out, int depth) {
    if (depth > kMaxDepth) return;
    const detail::Attributes attributes(child);
    // The child's style is asked for here only: its record goes with the
    // call, so that a clip path of many children holds none of theirs.
    const StyleRelease release(styles_, child);
    // A hidden child takes no part in the clip.
    const WComputedStyle style = StyleOf(child);
    if (style.displayNone || style.hidden) return;
    const int32_t id = detail::ElementIdOf(child);
    if (id == element::kUse) {
        const std::string* href = attributes.Href();
        const WDOMHandle target = href != nullptr ? ResolveHref(*href) : WDOMHandle();
        detail::Visit visit(building_, target);
        if (target.IsNull() || !visit.Entered()) return;
        detail::MatrixFrame frame(*this);
        frame.Compose(detail::TransformOf(attributes));
        frame.Compose(WMatrix(1, 0, 0, 1, detail::UserLength(*this, attributes.Length(attribute::kX), kHorizontal),
                              detail::UserLength(*this, attributes.Length(attribute::kY), kVertical)));
        AddClipChild(target, out, depth + 1);
        return;
    }
    detail::MatrixFrame frame(*this);
    frame.Compose(detail::TransformOf(attributes));
    const WMatrix& m = Current();
    WPath piece;
    switch (id) {
        case element::kPath:
            if (const std::string* d = attributes.Find(attribute::kD)) ReadPathData(*d, m, piece);
            break;
        case element::kRect: {
            const auto [x, y, w, h] = detail::UserRegion(*this, attributes);
            if (w > 0 && h > 0) AddBox(piece, m, x, y, w, h);
            break;
        }
        case element::kCircle:
        case element::kEllipse: {
            const double cx = detail::UserLength(*this, attributes.Length(attribute::kCx), kHorizontal);
            const double cy = detail::UserLength(*this, attributes.Length(attribute::kCy), kVertical);
            const bool circle = id == element::kCircle;
            const double rx = detail::UserLength(*this, attributes.Length(circle ? attribute::kR : attribute::kRx),
                                                 circle ? kDiagonal : kHorizontal);
            const double ry = circle ? rx : detail::UserLength(*this, attributes.Length(attribute::kRy), kVertical);
            if (rx > 0 && ry > 0) AddEllipse(piece, m, cx, cy, rx, ry);
            break;
        }
        case element::kPolygon:
        case element::kPolyline:
            // A clip path fills a polyline as if it were closed.
            if (const std::string* points = attributes.Find(attribute::kPoints)) ReadPoints(*points, m, piece, true);
            break;
        case element::kText: {
            // The box a renderer's glyphs would roughly fill.
            const size_t characters = CharacterCount(child, 0);
            const WPoint at{detail::UserLength(*this, attributes.Length(attribute::kX), kHorizontal),
                            detail::UserLength(*this, attributes.Length(attribute::kY), kVertical)};
            const double size = FontSizeOf(child);
            if (characters > 0 && size > 0)
                AddBox(piece, m, at.x, at.y - size, size * 0.5 * static_cast<double>(characters), size);
            break;
        }
        default:  // a line, or anything that is no shape, clips nothing in
            break;
    }
    // The even-odd clip rule, as the non-zero one: subpaths turned by their
    // depth of nesting, before the child as a whole is turned.
    if (style.clipEvenOdd) OrientForEvenOdd(piece.points, piece.kinds);
    AppendOriented(piece, out);
}

std::unique_ptr<WClippath> WParser::BuildClipPath(const WDOMHandle& element, const WBox* box) {
    if (!detail::SpendBuild(building_, nestedBuilds_, limits_.nestedBuilds, limitsMet_.nestedBuilds)) return nullptr;
    detail::Visit building(building_, element);
    if (!building.Entered()) return nullptr;
    auto clip = std::make_unique<WClippath>();
    // Its own clip-path clips it in turn; should it name itself, it ends here.
    ResolveStyle(element, clip->presentation, box);
    const detail::Attributes attributes(element);
    const std::string* units = attributes.FindName("clipPathUnits");
    const bool boundingBox = units != nullptr && *units == "objectBoundingBox";
    auto path = std::make_unique<WPath>();
    if (!boundingBox || (box != nullptr && box->width > 0 && box->height > 0)) {
        detail::MatrixFrame frame(*this);
        frame.Compose(detail::TransformOf(attributes));
        if (boundingBox) frame.Compose(WMatrix(box->width, 0, 0, box->height, box->x, box->y));
        path->matrix = Current();
        for (WDOMHandle child = element.GetFirstChild(); !child.IsNull(); child = child.GetNextSibling()) {
            if (child.GetNodeType() == markup::kDOMElementNode) AddClipChild(child, *path, 0);
        }
    }
    // Nothing to show through: the element is clipped away.
    clip->clipsAll = path->points.empty();
    if (!clip->clipsAll) clip->shapes.push_back(std::move(path));
    return clip;
}

}  // namespace SVG
