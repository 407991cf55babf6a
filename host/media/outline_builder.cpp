// The host path form builder: scaling, quadratic-to-cubic raising and the
// packing of nodes into one HostOutline block.
#include "host/media/outline_builder.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <new>

namespace host::media {

void OutlineFree::operator()(svgf::HostOutline* outline) const {
    ::operator delete(outline);
}

bool RoundToHost(double value, int32_t* out) {
    if (!std::isfinite(value)) return false;
    const double r = std::round(value);  // half away from zero
    if (r < std::numeric_limits<int32_t>::min() || r > std::numeric_limits<int32_t>::max()) return false;
    *out = static_cast<int32_t>(r);
    return true;
}

void OutlineBuilder::Add(double x, double y, uint8_t type) {
    nodes_.push_back({x, y, type});
    curX_ = x;
    curY_ = y;
}

void OutlineBuilder::EnsureSubpath() {
    if (!open_) MoveTo(curX_, curY_);
}

void OutlineBuilder::MoveTo(double x, double y) {
    subpathStart_ = nodes_.size();
    open_ = true;
    Add(x, y, svgf::node::kMove);
}

void OutlineBuilder::LineTo(double x, double y) {
    EnsureSubpath();
    Add(x, y, svgf::node::kLine);
}

void OutlineBuilder::QuadTo(double cx, double cy, double x, double y) {
    EnsureSubpath();
    // The cubic with controls two thirds of the way from each end point
    // towards the quadratic control traces exactly the same curve.
    const double x0 = curX_, y0 = curY_;
    Add(x0 + 2.0 / 3.0 * (cx - x0), y0 + 2.0 / 3.0 * (cy - y0), svgf::node::kControl);
    Add(x + 2.0 / 3.0 * (cx - x), y + 2.0 / 3.0 * (cy - y), svgf::node::kControl);
    Add(x, y, svgf::node::kCurveEnd);
}

void OutlineBuilder::CubicTo(double c1x, double c1y, double c2x, double c2y, double x, double y) {
    EnsureSubpath();
    Add(c1x, c1y, svgf::node::kControl);
    Add(c2x, c2y, svgf::node::kControl);
    Add(x, y, svgf::node::kCurveEnd);
}

void OutlineBuilder::Close() {
    if (!open_) return;
    open_ = false;
    const Node start = nodes_[subpathStart_];
    const Node& last = nodes_.back();
    if (nodes_.size() - subpathStart_ > 1 && (last.type & svgf::node::kRoleMask) == svgf::node::kLine &&
        last.x == start.x && last.y == start.y) {
        nodes_.pop_back();
    }
    nodes_.back().type |= svgf::node::kClose;
    // A new segment without a move starts at the subpath's first point.
    curX_ = start.x;
    curY_ = start.y;
}

OutlinePtr OutlineBuilder::Finish() const {
    if (nodes_.size() > kMaxOutlineNodes) return nullptr;
    const size_t n = nodes_.size();
    OutlinePtr block(
        static_cast<svgf::HostOutline*>(::operator new(svgf::HostOutlineBytes(n), std::nothrow)));
    if (!block) return nullptr;
    block->nodeCount = static_cast<uint16_t>(n);
    block->reserved = 0;
    svgf::HostPoint* points = svgf::OutlinePoints(block.get());
    uint8_t* types = svgf::OutlineTypes(block.get());
    for (size_t i = 0; i < n; ++i) {
        svgf::HostPoint p;
        if (!RoundToHost(nodes_[i].x * scale_, &p.x) || !RoundToHost(nodes_[i].y * scale_, &p.y))
            return nullptr;
        std::memcpy(points + i, &p, sizeof p);
        types[i] = nodes_[i].type;
    }
    return block;
}

}  // namespace host::media
