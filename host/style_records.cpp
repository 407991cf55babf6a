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

svgf::HostFountain FountainBlock(const FountainStyle& style) {
    svgf::HostFountain block{};
    block.subKind = style.subKind;
    block.edgePad = style.edgePad;
    block.angle = style.angle;
    block.centreX = style.centreX;
    block.centreY = style.centreY;
    block.blend = style.blend;
    block.midPoint = style.midPoint;
    const size_t count = std::min<size_t>(style.stops.size(), svgf::kFountainMaxStops);
    block.stopCount = static_cast<int16_t>(count);
    std::copy_n(style.stops.begin(), count, block.stops);
    return block;
}

svgf::HostPatternBlock PatternBlock(const PatternStyle& style) {
    svgf::HostPatternBlock block{};
    block.tile = style.tile;
    block.width = style.width;
    block.height = style.height;
    block.content = svgf::HostRect{0, style.height, style.width, 0};
    return block;
}

namespace {

// A fill record's body for the kinds that have one.
void FillBody(uint16_t kind, const svgf::ColorRecord& colour, const FountainStyle& fountain,
              const PatternStyle& pattern, svgf::HostFillRecord& record) {
    if (kind == svgf::kFillUniform) {
        std::memcpy(record.body, &colour, sizeof colour);
    } else if (kind == svgf::kFillFountain) {
        const svgf::HostFountain block = FountainBlock(fountain);
        std::memcpy(record.body, &block, sizeof block);
    } else if (kind >= svgf::kFillPatternFirst && kind <= svgf::kFillPatternLast) {
        const svgf::HostPatternBlock block = PatternBlock(pattern);
        std::memcpy(record.body, &block, sizeof block);
    }
}

}  // namespace

StyleRecords::StyleRecords(const Style& style) {
    attributes_.further[svgf::kAttributesMatrixField] = reinterpret_cast<svgf::HostWord>(&matrix_);
    if (style.fill) {
        fill_.kind = style.fill->kind;
        FillBody(style.fill->kind, style.fill->colour, style.fill->fountain, style.fill->pattern, fill_);
        attributes_.fill = &fill_;
    }
    if (style.outline) {
        outline_ = OutlineRecord(*style.outline);
        attributes_.outline = &outline_;
    }
    if (style.transparency) {
        const TransparencyStyle& t = *style.transparency;
        transparencyKind_.kind = t.kind;
        FillBody(t.kind, svgf::ColorRecord{}, t.fountain, t.pattern, transparencyKind_);
        // A sub-kind given outright (a coded transparency) stands; patterns
        // begin their block with the tile instead.
        const bool pattern = t.kind >= svgf::kFillPatternFirst && t.kind <= svgf::kFillPatternLast;
        if (!pattern && (t.subKind != 0 || t.kind != svgf::kFillFountain))
            std::memcpy(transparencyKind_.body, &t.subKind, sizeof(uint16_t));
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
