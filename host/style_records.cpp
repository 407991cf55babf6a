// Building the host's style records from a drawing's short styles.
#include "host/style_records.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "host/export_geometry.h"

namespace host {

svgf::HostOutlineRecord OutlineRecord(const OutlineStyle& style) {
    svgf::HostOutlineRecord record{};
    record.kind = style.kind;
    record.cap = style.cap;
    record.join = style.join;
    record.width = style.width;
    record.value12 = 100;
    MatrixIdentity(record.transform);
    record.colour = style.colour;
    // The dash list runs from byte 102 to the end of the record.
    constexpr size_t kDashOffset = offsetof(svgf::HostOutlineRecord, dashes);
    constexpr size_t kMaxDashes = (sizeof(svgf::HostOutlineRecord) - kDashOffset) / sizeof(int16_t);
    const size_t count = std::min(style.dashes.size(), kMaxDashes);
    record.dashCount = static_cast<uint16_t>(count);
    if (count > 0) {
        std::memcpy(reinterpret_cast<uint8_t*>(&record) + kDashOffset, style.dashes.data(),
                    count * sizeof(int16_t));
    }
    return record;
}

StyleRecords::StyleRecords(const Style& style) {
    if (style.fill) {
        fill_.kind = style.fill->kind;
        if (style.fill->kind == svgf::kFillUniform)
            std::memcpy(fill_.body, &style.fill->colour, sizeof(svgf::ColorRecord));
        attributes_.fill = &fill_;
    }
    if (style.outline) {
        outline_ = OutlineRecord(*style.outline);
        attributes_.outline = &outline_;
    }
    if (style.transparency) {
        transparencyKind_.kind = style.transparency->kind;
        std::memcpy(transparencyKind_.body, &style.transparency->subKind, sizeof(uint16_t));
        transparency_.type = svgf::kTransparencyType;
        transparency_.kind = &transparencyKind_;
        transparency_.centreFromBox = 1;
        transparency_.start = style.transparency->start;
        transparency_.end = style.transparency->end;
        attributes_.transparency = &transparency_;
    }
}

void EllipseAsPath(svgf::HostPoint centre, int32_t width, int32_t height,
                   std::vector<svgf::HostPoint>& points, std::vector<uint8_t>& nodeTypes) {
    // The control distance that makes a quarter curve follow the circle.
    constexpr double kKappa = 0.5522847498;
    const double rx = width / 2.0;
    const double ry = height / 2.0;
    auto at = [&](double x, double y) {
        return svgf::HostPoint{RoundHalfAway(centre.x + x), RoundHalfAway(centre.y + y)};
    };
    points = {at(rx, 0),  at(rx, ry * kKappa),   at(rx * kKappa, ry),
              at(0, ry),  at(-rx * kKappa, ry),  at(-rx, ry * kKappa),
              at(-rx, 0), at(-rx, -ry * kKappa), at(-rx * kKappa, -ry),
              at(0, -ry), at(rx * kKappa, -ry),  at(rx, -ry * kKappa),
              at(rx, 0)};
    nodeTypes.assign(points.size(), svgf::node::kControl);
    nodeTypes[0] = svgf::node::kMove;
    for (size_t i = 3; i < nodeTypes.size(); i += 3) nodeTypes[i] = svgf::node::kCurveEnd;
    nodeTypes.back() |= svgf::node::kClose;
}

}  // namespace host
