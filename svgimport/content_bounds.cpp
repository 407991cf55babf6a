// A canvas that draws nothing and keeps the host extent of what it is
// given: the reader's measure of a root that gives no size.
#include <algorithm>
#include <cmath>

#include "reader_detail.h"

namespace SVG::detail {
namespace {

// Half an object's stroke, which a renderer's extent includes.
double HalfStroke(const WPresentation& style) {
    return style.stroke != nullptr ? std::max(style.stroke->width, 0) / 2.0 : 0.0;
}

// Whether a matrix keeps a shape on the host's axes (no turn, no skew).
bool Upright(const WMatrix& m) {
    return m.b == 0 && m.c == 0;
}

}  // namespace

void BoundsCanvas::Add(double left, double bottom, double right, double top) {
    if (!std::isfinite(left) || !std::isfinite(bottom) || !std::isfinite(right) || !std::isfinite(top)) return;
    if (!any_) {
        left_ = left;
        bottom_ = bottom;
        right_ = right;
        top_ = top;
        any_ = true;
        return;
    }
    left_ = std::min(left_, left);
    bottom_ = std::min(bottom_, bottom);
    right_ = std::max(right_, right);
    top_ = std::max(top_, top);
}

void BoundsCanvas::AddBox(double x, double y, double width, double height, const WMatrix& m, double grow) {
    const double w = std::fabs(width), h = std::fabs(height);
    const double cx = x + width / 2, cy = y + height / 2;
    // A turned box lies within the circle through its corners.
    const double hx = Upright(m) ? w / 2 : std::hypot(w, h) / 2;
    const double hy = Upright(m) ? h / 2 : hx;
    Add(cx - hx - grow, cy - hy - grow, cx + hx + grow, cy + hy + grow);
}

int32_t BoundsCanvas::DrawEllipse(const WEllipse& ellipse) {
    const double grow = HalfStroke(ellipse.presentation);
    const double rx = std::fabs(ellipse.rx), ry = std::fabs(ellipse.ry);
    const double hx = Upright(ellipse.matrix) ? rx : std::max(rx, ry);
    const double hy = Upright(ellipse.matrix) ? ry : hx;
    Add(ellipse.cx - hx - grow, ellipse.cy - hy - grow, ellipse.cx + hx + grow, ellipse.cy + hy + grow);
    return 1;
}

int32_t BoundsCanvas::DrawImage(const WImage& image) {
    AddBox(image.x, image.y, image.width, image.height, image.matrix, 0);
    return 1;
}

int32_t BoundsCanvas::DrawText(const WText& text) {
    // The size above the baseline, half the size wide per character.
    const double size = text.presentation.font != nullptr ? std::fabs(text.presentation.font->size.value) : 0;
    Add(text.x, text.y, text.x + size * 0.5 * static_cast<double>(text.text.Length()), text.y + size);
    return 1;
}

int32_t BoundsCanvas::DrawPath(const WPath& path) {
    if (path.points.empty()) return 1;
    const double grow = HalfStroke(path.presentation);
    Add(path.box.left - grow, path.box.bottom - grow, path.box.right + grow, path.box.top + grow);
    return 1;
}

int32_t BoundsCanvas::DrawRectangle(const WRectangle& rectangle) {
    AddBox(rectangle.x, rectangle.y, rectangle.width, rectangle.height, rectangle.matrix,
           HalfStroke(rectangle.presentation));
    return 1;
}

}  // namespace SVG::detail
