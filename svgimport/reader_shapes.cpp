// The builders of drawable elements: paths, rectangles (rounded ones as
// the host's corner or as paths), circles and ellipses, lines, polylines
// and polygons, and images. Each reads its attributes, composes its
// transform into the current matrix for its geometry and its style, hands
// its object to the canvas and gives back everything it built.
#include <cmath>
#include <numbers>

#include "reader_detail.h"
#include "svgimport/path_data.h"

namespace SVG {

using markup::WDOMHandle;

namespace {

// The corner radii of a rectangle as SVG settles them: one given counts
// for both, each at most half its side.
struct Corners {
    double rx = 0;
    double ry = 0;
};

}  // namespace

void WParser::DrawPathObject(const WDOMHandle& element, WPath& path, const WBox& box) {
    ResolveStyle(element, path.presentation, &box);
    if (canvas_ != nullptr) canvas_->DrawPath(path);
    path.ReleasePresentation();
}

std::unique_ptr<WPath> WParser::BuildPath(const WDOMHandle& element) {
    auto path = std::make_unique<WPath>();
    const detail::ElementFrame frame(*this, element);
    const detail::Attributes& attributes = frame.attributes;
    path->matrix = Current();
    WUserBounds bounds;
    if (const std::string* d = attributes.Find(attribute::kD)) ReadPathData(*d, Current(), *path, &bounds);
    const WBox box = detail::BoxOf(bounds);
    ResolveStyle(element, path->presentation, &box);
    return path;
}

int32_t WParser::DoPath(const WDOMHandle& element) {
    detail::DefinitionScope scope(definitions_);
    std::unique_ptr<WPath> path = BuildPath(element);
    if (path == nullptr) return 0;
    if (canvas_ != nullptr) canvas_->DrawPath(*path);
    path->ReleasePresentation();
    return 1;
}

namespace {

Corners CornersOf(const detail::Attributes& attributes, const WCoordinates& coordinates, double width,
                  double height) {
    const WLength rxText = attributes.Length(attribute::kRx);
    const WLength ryText = attributes.Length(attribute::kRy);
    double rx = detail::UserLength(coordinates, rxText, kHorizontal, -1);
    double ry = detail::UserLength(coordinates, ryText, kVertical, -1);
    if (rx < 0) rx = ry;
    if (ry < 0) ry = rx;
    if (rx <= 0 || ry <= 0) return {};
    return {std::min(rx, width / 2), std::min(ry, height / 2)};
}

}  // namespace

std::unique_ptr<WRectangle> WParser::BuildRectangle(const WDOMHandle& element) {
    const detail::ElementFrame frame(*this, element);
    const detail::Attributes& attributes = frame.attributes;
    const auto [x, y, w, h] = detail::UserRegion(*this, attributes);
    auto rectangle = std::make_unique<WRectangle>();
    rectangle->Place(Current(), x, y, std::max(w, 0.0), std::max(h, 0.0));
    const WBox box{x, y, w, h};
    ResolveStyle(element, rectangle->presentation, &box);
    return rectangle;
}

std::unique_ptr<WPath> WParser::RoundedRectPath(double x, double y, double w, double h, double rx,
                                                double ry) const {
    // Each corner a quarter ellipse, as one cubic (kappa of a circle).
    constexpr double k = 0.5522847498307936;
    auto path = std::make_unique<WPath>();
    path->matrix = Current();
    const WMatrix& m = Current();
    const auto add = [&](double px, double py, int32_t code) {
        const svgf::HostPoint p = HostPointOf(m, {px, py});
        // A side that the corners take whole has no line.
        if (code == segment::kLine && !path->points.empty() && path->points.back().x == p.x &&
            path->points.back().y == p.y) {
            return;
        }
        path->AddPoint(p, code);
    };
    const auto corner = [&](double c1x, double c1y, double c2x, double c2y, double ex, double ey) {
        add(c1x, c1y, segment::kControl);
        add(c2x, c2y, segment::kControl);
        add(ex, ey, segment::kCurveEnd);
    };
    const double r = x + w, b = y + h;
    add(x + rx, y, segment::kMove);
    add(r - rx, y, segment::kLine);
    corner(r - rx + k * rx, y, r, y + ry - k * ry, r, y + ry);
    add(r, b - ry, segment::kLine);
    corner(r, b - ry + k * ry, r - rx + k * rx, b, r - rx, b);
    add(x + rx, b, segment::kLine);
    corner(x + rx - k * rx, b, x, b - ry + k * ry, x, b - ry);
    add(x, y + ry, segment::kLine);
    corner(x, y + ry - k * ry, x + rx - k * rx, y, x + rx, y);
    path->CloseSubpath(0);
    return path;
}

int32_t WParser::DoRect(const WDOMHandle& element) {
    detail::DefinitionScope scope(definitions_);
    const detail::ElementFrame frame(*this, element);
    const detail::Attributes& attributes = frame.attributes;
    const auto [x, y, w, h] = detail::UserRegion(*this, attributes);
    if (!(w > 0 && h > 0)) return 1;  // SVG draws nothing
    const WBox box{x, y, w, h};
    const Corners corners = CornersOf(attributes, *this, w, h);
    const WMatrix& m = Current();
    if (corners.rx > 0) {
        // The host's rectangle rounds its corners by one radius on its own
        // axes; other rounded rectangles go as paths.
        const bool straight =
            m.b == 0 && m.c == 0 && std::fabs(std::fabs(m.a) - std::fabs(m.d)) < 1e-9 * std::fabs(m.a);
        const double radius = corners.rx * std::fabs(m.a);
        const bool even = std::fabs(corners.rx - corners.ry) < 1e-9 * std::max(corners.rx, corners.ry);
        WRectangle rectangle;
        rectangle.Place(m, x, y, w, h);
        ResolveStyle(element, rectangle.presentation, &box);
        const WFill* fill = rectangle.presentation.fill.get();
        const bool linear = fill != nullptr && fill->kind() == paint::kUri &&
                            static_cast<const WFill_URI*>(fill)->definition != nullptr &&
                            static_cast<const WFill_URI*>(fill)->definition->kind() == kind::kLinearGradient;
        if (straight && even && !linear) {
            rectangle.corner = radius;
            if (canvas_ != nullptr) canvas_->DrawRectangle(rectangle);
            rectangle.ReleasePresentation();
            return 1;
        }
        std::unique_ptr<WPath> path = RoundedRectPath(x, y, w, h, corners.rx, corners.ry);
        path->presentation = std::move(rectangle.presentation);
        if (canvas_ != nullptr) canvas_->DrawPath(*path);
        path->ReleasePresentation();
        return 1;
    }
    WRectangle rectangle;
    rectangle.Place(m, x, y, w, h);
    ResolveStyle(element, rectangle.presentation, &box);
    if (canvas_ != nullptr) canvas_->DrawRectangle(rectangle);
    rectangle.ReleasePresentation();
    return 1;
}

int32_t WParser::DoEllipse(const WDOMHandle& element, bool circle) {
    detail::DefinitionScope scope(definitions_);
    const detail::ElementFrame frame(*this, element);
    const detail::Attributes& attributes = frame.attributes;
    const double cx = detail::UserLength(*this, attributes.Length(attribute::kCx), kHorizontal);
    const double cy = detail::UserLength(*this, attributes.Length(attribute::kCy), kVertical);
    double rx, ry;
    if (circle) {
        rx = ry = detail::UserLength(*this, attributes.Length(attribute::kR), kDiagonal);
    } else {
        rx = detail::UserLength(*this, attributes.Length(attribute::kRx), kHorizontal);
        ry = detail::UserLength(*this, attributes.Length(attribute::kRy), kVertical);
    }
    if (!(rx > 0 && ry > 0)) return 1;  // SVG draws nothing
    WEllipse ellipse;
    ellipse.Place(Current(), cx, cy, rx, ry);
    const WBox box{cx - rx, cy - ry, 2 * rx, 2 * ry};
    ResolveStyle(element, ellipse.presentation, &box);
    if (canvas_ != nullptr) canvas_->DrawEllipse(ellipse);
    ellipse.ReleasePresentation();
    return 1;
}

int32_t WParser::DoLine(const WDOMHandle& element) {
    detail::DefinitionScope scope(definitions_);
    const detail::ElementFrame frame(*this, element);
    const detail::Attributes& attributes = frame.attributes;
    const WPoint a{detail::UserLength(*this, attributes.Length(attribute::kX1), kHorizontal),
                   detail::UserLength(*this, attributes.Length(attribute::kY1), kVertical)};
    const WPoint b{detail::UserLength(*this, attributes.Length(attribute::kX2), kHorizontal),
                   detail::UserLength(*this, attributes.Length(attribute::kY2), kVertical)};
    WPath path;
    path.matrix = Current();
    path.AddPoint(HostPointOf(Current(), a), segment::kMove);
    path.AddPoint(HostPointOf(Current(), b), segment::kLine);
    WUserBounds bounds;
    bounds.Add(a);
    bounds.Add(b);
    DrawPathObject(element, path, detail::BoxOf(bounds));
    return 1;
}

int32_t WParser::DoPoly(const WDOMHandle& element, bool closed) {
    detail::DefinitionScope scope(definitions_);
    const detail::ElementFrame frame(*this, element);
    const detail::Attributes& attributes = frame.attributes;
    WPath path;
    path.matrix = Current();
    WUserBounds bounds;
    if (const std::string* points = attributes.Find(attribute::kPoints)) {
        ReadPoints(*points, Current(), path, closed, &bounds);
    }
    DrawPathObject(element, path, detail::BoxOf(bounds));
    return 1;
}

int32_t WParser::DoImage(const WDOMHandle& element) {
    detail::DefinitionScope scope(definitions_);
    const detail::Attributes attributes(element);
    const std::string* href = attributes.Href();
    if (href == nullptr) return 0;
    const std::string_view link(*href);
    if (link.starts_with("#") || link.starts_with("url") || link.starts_with("URL")) {
        // A reference to a definition draws no picture.
        return ResolveHref(link).IsNull() ? 0 : 1;
    }
    detail::MatrixFrame frame(*this);
    frame.Compose(detail::TransformOf(attributes));
    const auto [x, y, w, h] = detail::UserRegion(*this, attributes);
    if (!(w > 0 && h > 0)) return 1;
    WImage image;
    image.Place(Current(), x, y, w, h);
    // preserveAspectRatio fits the picture's own size into the box, as a
    // view box of its pixels; a sliced picture shows only the box, unless
    // its overflow is visible.
    const detail::AspectRatio ratio = detail::AspectRatioOf(attributes);
    if (const auto size = ratio.none || canvas_ == nullptr ? std::nullopt : canvas_->PictureSize(link)) {
        const double pw = size->width, ph = size->height;
        const WMatrix fit = detail::ViewBoxMatrix({0, 0, pw, ph}, ratio, {x, y, w, h});
        const WPoint a = fit.Transform({0, 0}), b = fit.Transform({pw, ph});
        WImage viewport;
        viewport.Place(Current(), x, y, w, h);
        image.Place(Current(), a.x, a.y, b.x - a.x, b.y - a.y);
        if (ratio.slice && !detail::OverflowShown(attributes))
            image.visible = WImage::Visible{viewport.x, viewport.y, viewport.width, viewport.height};
    }
    image.href.Assign(link);
    const WBox box{x, y, w, h};
    ResolveStyle(element, image.presentation, &box);
    if (canvas_ != nullptr) canvas_->DrawImage(image);
    image.ReleasePresentation();
    return 1;
}

}  // namespace SVG
