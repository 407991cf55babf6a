// What the canvas's files share: the records of one primitive, the clip
// frames, the rounding of host coordinates, colour records, shape frames and
// typed access to the host's services.
#ifndef SVGIMPORT_CANVAS_DETAIL_H
#define SVGIMPORT_CANVAS_DETAIL_H

#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "svgimport/canvas.h"

namespace SVG {

// The host records of one primitive, all released together once its
// drawing call has returned (pattern tiles included: the host draws them
// while the call runs).
struct WCanvas_UDI::Records {
    svgf::HostAttributeRecord attributes{};
    WFillRecord fill;
    std::unique_ptr<svgf::HostOutlineRecord> outline;
    std::unique_ptr<svgf::HostTransparencyRecord> transparency;
    WFillRecord transparencyFill;
    std::unique_ptr<svgf::HostHyperlinkRecord> link;
    std::u16string linkText;
};

// The clip records of one PushClipPaths, and the corner points of clip
// rectangles sent as paths, kept until the matching pop.
struct WCanvas_UDI::ClipFrame {
    const WClippath* clip = nullptr;
    std::vector<svgf::HostClipRecord> records;
    std::vector<std::vector<svgf::HostPoint>> points;
    std::vector<std::vector<uint8_t>> kinds;
};

template <typename Fn>
Fn WCanvas_UDI::Drawing(size_t index) const {
    if (context_ == nullptr) return nullptr;
    return svgf::drawing<Fn>(static_cast<const svgf::HostDrawingTable*>(context_->callbackRecord), index);
}

namespace detail {

// The kind bytes of a closed four-sided path of five points, the last on
// the first: a move (which loses bit 0x04, the last point lying on it),
// three lines and the closing line.
inline constexpr std::array<uint8_t, 5> kClosedQuad = {0x00, svgf::import_node::kLine, svgf::import_node::kLine,
                                                       svgf::import_node::kLine,
                                                       svgf::import_node::kLine | svgf::import_node::kClose};

// Allocation that answers null instead of throwing: the canvas draws
// without a record it could not get.
template <typename T>
std::unique_ptr<T> NewRecord() {
    return std::unique_ptr<T>(new (std::nothrow) T{});
}

// Host integers: half away from zero (or towards zero), held to the 32-bit
// range; not-a-number is 0.
int32_t RoundHost(double v);
int32_t TruncateHost(double v);
int32_t ClampHost(int64_t v);

svgf::ColorRecord RgbRecord(const WColour& colour);
svgf::ColorRecord GreyRecord(uint16_t level);

// The directions a matrix gives a shape in host units: `u` where its x
// axis runs, `w` where its y axis runs once turned upwards (the root
// matrix's mirror undone), both of unit length; `straight` when each lies
// along a host axis (a quarter turn included), so the shape stays a host
// rectangle or ellipse.
struct ShapeFrame {
    WPoint u{1, 0};
    WPoint w{0, 1};
    bool straight = true;
};
ShapeFrame FrameOf(const WMatrix& m);

// Typed service entries of the context's service table; null when unset.
template <typename Fn>
Fn Service(const svgf::HostServiceTable* table, size_t index) {
    return svgf::service<Fn>(table, index);
}

// A transform record set to the identity by the host (service 0x104),
// else here.
void InitialiseTransform(const svgf::HostServiceTable* services, svgf::HostTransform* m);

// A box of doubles with its lower left corner first and its size not
// negative, whichever way round the object gave it.
struct Extent {
    double x, y, width, height;
};
inline Extent Upright(double x, double y, double width, double height) {
    if (width < 0) {
        x += width;
        width = -width;
    }
    if (height < 0) {
        y += height;
        height = -height;
    }
    return {x, y, width, height};
}

// The box of points (all 0 without points).
svgf::HostBox BoxOf(const std::vector<svgf::HostPoint>& points);

}  // namespace detail
}  // namespace SVG

#endif  // SVGIMPORT_CANVAS_DETAIL_H
