// The shape handlers: host paths, rectangles and ellipses become path, rect
// and ellipse elements. Each converts host units into user units, checks
// that plain SVG can express the object's style (or hands the object back to
// the host), resolves the style and writes the element.
#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>
#include <new>

#include "svg_elements.h"
#include "svg_exp.h"
#include "svg_writer.h"

namespace svgf {
namespace {

int32_t Saturate(int64_t v) {
    if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

void AppendInt(std::string& out, int64_t v) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, v).ptr;
    out.append(digits, end);
}

// "x y" or "x,y" of the offset from the current point.
void AppendOffset(std::string& out, HostPoint p, HostPoint from, char separator) {
    AppendInt(out, int64_t{p.x} - from.x);
    out += separator;
    AppendInt(out, int64_t{p.y} - from.y);
}

}  // namespace

HostPoint SVGExp::ConvertPoint(HostPoint host) const {
    return HostPoint{ToUserLength(host.x), Saturate(int64_t{yOrigin_} - ToUserLength(host.y))};
}

const HostPoint* SVGExp::ConvertPoints(const HostPoint* points, int32_t count) {
    if (count > kMaxPathPoints) return nullptr;
    if (points == nullptr && count >= 1) return nullptr;
    try {
        if (workBuffer_.size() < static_cast<size_t>(std::max(count, 1))) workBuffer_.resize(std::max(count, 1));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    HostPoint* out = workBuffer_.data();
    for (int32_t i = 0; i < count; ++i) out[i] = ConvertPoint(points[i]);
    return out;
}

void SVGExp::ConvertPointsInPlace(HostPoint* points, int32_t count) const {
    if (points == nullptr) return;
    for (int32_t i = 0; i < count; ++i) points[i] = ConvertPoint(points[i]);
}

int32_t SVGExp::FormatPathData(std::string& out, const PathRecord& path) {
    const int32_t n = static_cast<int32_t>(path.nodeCount & 0xFFFF);
    if (n == 0) return kDone;
    if (path.nodeTypes == nullptr) return kFailed;
    // More nodes than the point buffer holds are refused, never written past it.
    const HostPoint* p = ConvertPoints(path.points, n);
    if (p == nullptr) return kFailed;
    AppendPathData(out, p, path.nodeTypes, n);
    return kDone;
}

void SVGExp::AppendPathData(std::string& out, const HostPoint* p, const uint8_t* t, int32_t n) {
    if (n <= 0) return;
    enum class Command { kMove, kLine, kCurve, kClose };
    out += 'M';
    AppendInt(out, p[0].x);
    out += ' ';
    AppendInt(out, p[0].y);
    HostPoint current = p[0];
    // SVG puts the current point back at the subpath's start after "z", so
    // the next relative move is measured from there.
    HostPoint subpathStart = p[0];
    Command previous = Command::kMove;
    for (int32_t i = 1; i < n; ++i) {
        uint8_t role = t[i] & node::kRoleMask;
        // A curve needs the two nodes before its end as controls; without
        // them the end is reached by a line.
        if (role == node::kCurveEnd && i < 2) role = node::kLine;
        // The subpath closes where its close bit stands, whatever follows:
        // a line or curve after it starts again from the subpath's start.
        if ((t[i - 1] & node::kClose) != 0) {
            out += 'z';
            current = subpathStart;
            previous = Command::kClose;
        }
        switch (role) {
            case node::kMove:
                out += 'm';
                AppendOffset(out, p[i], current, ' ');
                previous = Command::kMove;
                current = p[i];
                subpathStart = p[i];
                break;
            case node::kLine:
                out += previous == Command::kLine ? ' ' : 'l';
                AppendOffset(out, p[i], current, ' ');
                previous = Command::kLine;
                current = p[i];
                break;
            case node::kCurveEnd:
                out += previous == Command::kCurve ? ' ' : 'c';
                AppendOffset(out, p[i - 2], current, ',');
                out += ' ';
                AppendOffset(out, p[i - 1], current, ',');
                out += ' ';
                AppendOffset(out, p[i], current, ',');
                previous = Command::kCurve;
                current = p[i];
                break;
            default:  // a control point writes nothing by itself
                break;
        }
    }
    if ((t[n - 1] & node::kClose) != 0) out += 'z';
}

namespace {

// Whether plain SVG can show a transparency of this kind record.
bool PlainTransparency(const HostTransparency& transparency) {
    const uint16_t kind = transparency.kind->kind;
    uint16_t subKind;
    std::memcpy(&subKind, transparency.kind->body, sizeof subKind);
    switch (kind) {
        case 1:
            return true;
        case 2:
            return subKind != 3 && subKind != 4;
        case 9:
        case 10:
        case 11:
            return transparency.start == 0.0 && transparency.end == 100.0;
        default:
            return false;
    }
}

}  // namespace

int32_t SVGExp::CheckPlainStyle(ShapeKind kind, const void* record, const HostAttributes* attributes) {
    // No attributes record: no style, which plain SVG can always write.
    if (attributes == nullptr) return kPlainStyle;
    bool handed = false;
    const HostFillRecord* fill = attributes->fill;
    if (fill != nullptr && fill->kind >= 6 && fill->kind <= 8 && kind != ShapeKind::kEllipse) {
        HandToHost(kind, record, attributes);
        handed = true;
    }
    const HostTransparency* transparency = attributes->transparency;
    if (transparency == nullptr || transparency->kind == nullptr) return kPlainStyle;
    if (PlainTransparency(*transparency)) return kPlainStyle;
    // The host draws it; an object already handed over is not handed twice.
    if (kind != ShapeKind::kEllipse && !handed) HandToHost(kind, record, attributes);
    return 0;
}

void SVGExp::HandToHost(ShapeKind kind, const void* record, const HostAttributes* attributes) {
    hostDrawn_ = 0;
    const HostHandle handle = context_ != nullptr ? context_->hostHandle : 0;
    if (kind == ShapeKind::kPath) {
        const auto* path = static_cast<const PathRecord*>(record);
        if (const auto handOver = Service<svc::HandOverPathFn>(svc::kHandOverPath)) {
            handOver(handle, attributes, static_cast<int32_t>(path->nodeCount & 0xFFFF), path->points,
                     path->nodeTypes, path->boundingBox, path->boundingBox);
            hostDrawn_ = 1;
        }
    } else if (kind == ShapeKind::kRectangle) {
        const auto* r = static_cast<const RectangleRecord*>(record);
        if (const auto handOver = Service<svc::HandOverRectangleFn>(svc::kHandOverRectangle)) {
            handOver(handle, attributes, r->centreX, r->centreY, r->width, r->height, r->corner, r->further,
                     r->boundingBox, r->boundingBox);
            hostDrawn_ = 1;
        }
    }
}

int32_t SVGExp::DrawPath(const PathRecord* path) {
    if (path == nullptr || writer_ == nullptr) return kFailed;
    SVGPath element;
    if (CheckPlainStyle(ShapeKind::kPath, path, path->attributes) == 0) return kDone;
    const int32_t count = static_cast<int32_t>(path->nodeCount & 0xFFFF);
    if (count > kMaxPathPoints) return kFailed;
    if (count == 0) return kDone;
    if (FormatPathData(element.pathData, *path) != kDone) return kFailed;
    if (path->attributes != nullptr) ResolveStyle(element, path->attributes, path->boundingBox);
    writer_->WriteElement(element);
    return kDone;
}

int32_t SVGExp::DrawRectangle(const RectangleRecord* rectangle) {
    if (rectangle == nullptr || writer_ == nullptr) return kFailed;
    const RectangleRecord& r = *rectangle;
    SVGRectangle element;
    if (CheckPlainStyle(ShapeKind::kRectangle, rectangle, r.attributes) == 0) return kDone;
    // The top-left corner; halves truncate toward zero in host units.
    const HostPoint corner{Saturate(int64_t{r.centreX} - r.width / 2),
                           Saturate(int64_t{r.centreY} + r.height / 2)};
    const HostPoint at = ConvertPoint(corner);
    element.x = at.x;
    element.y = at.y;
    element.width = ToUserLength(r.width);
    element.height = ToUserLength(r.height);
    // The corner radius is a host length like the sizes.
    element.rx = element.ry = ToUserLength(r.corner);
    const SVGUserBox drawn{element.x, element.y, element.width, element.height};
    if (r.attributes != nullptr) ResolveStyle(element, r.attributes, r.boundingBox, &drawn);
    writer_->WriteElement(element);
    return kDone;
}

int32_t SVGExp::DrawEllipse(const EllipseRecord* ellipse) {
    if (ellipse == nullptr || writer_ == nullptr) return kFailed;
    const EllipseRecord& e = *ellipse;
    SVGEllipse element;
    if (CheckPlainStyle(ShapeKind::kEllipse, ellipse, e.attributes) == 0) return kNotHandled;
    const HostPoint centre = ConvertPoint({e.centreX, e.centreY});
    element.cx = centre.x;
    element.cy = centre.y;
    // The half diameter is rounded in host units first.
    element.rx = ToUserLength(RoundHalfAway(e.width * 0.5));
    element.ry = ToUserLength(RoundHalfAway(e.height * 0.5));
    const SVGUserBox drawn{Saturate(int64_t{element.cx} - element.rx), Saturate(int64_t{element.cy} - element.ry),
                           Saturate(2 * int64_t{element.rx}), Saturate(2 * int64_t{element.ry})};
    if (e.attributes != nullptr) ResolveStyle(element, e.attributes, e.boundingBox, &drawn);
    writer_->WriteElement(element);
    return kDone;
}

}  // namespace svgf
