// Builds paths in the host path form (the block a glyph outline is handed
// over in) from segments in any source unit, scaling each node into host
// units on the way.
#ifndef HOST_MEDIA_OUTLINE_BUILDER_H
#define HOST_MEDIA_OUTLINE_BUILDER_H

#include <svgfilter/filter_abi.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace host::media {

struct OutlineFree {
    void operator()(svgf::HostOutline* outline) const;
};
using OutlinePtr = std::unique_ptr<svgf::HostOutline, OutlineFree>;

// The largest path the u16 node count can describe.
inline constexpr size_t kMaxOutlineNodes = 0xFFFF;

// Segments are given in source units with y up; every node is multiplied by
// the scale and rounded half away from zero only when it is stored, so the
// rounding of one node never shifts the next. Quadratic segments are raised
// to cubic ones, the only curve the host path form knows.
class OutlineBuilder {
  public:
    explicit OutlineBuilder(double scale) : scale_(scale) {}

    void MoveTo(double x, double y);
    void LineTo(double x, double y);
    void QuadTo(double cx, double cy, double x, double y);
    void CubicTo(double c1x, double c1y, double c2x, double c2y, double x, double y);
    // Marks the open subpath's last node as closing it. A final line back to
    // the subpath's start is dropped: the close draws it.
    void Close();

    size_t NodeCount() const { return nodes_.size(); }

    // The finished block, or null when the path has more nodes than the
    // count can hold or a node falls outside the 32-bit range.
    OutlinePtr Finish() const;

  private:
    struct Node {
        double x;
        double y;
        uint8_t type;
    };
    void Add(double x, double y, uint8_t type);
    void EnsureSubpath();

    double scale_;
    std::vector<Node> nodes_;
    size_t subpathStart_ = 0;
    bool open_ = false;
    double curX_ = 0.0;
    double curY_ = 0.0;
};

// Rounds half away from zero, the host's rounding for every coordinate.
bool RoundToHost(double value, int32_t* out);

}  // namespace host::media

#endif  // HOST_MEDIA_OUTLINE_BUILDER_H
