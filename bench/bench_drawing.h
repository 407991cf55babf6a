// The benchmark's drawing: N shapes (paths, rectangles and ellipses in
// turn) over a pool of a few hundred styles. Shapes are made on the fly from
// their number, so the drawing itself takes no memory per shape and the
// export's own memory shows in the process's peak.
#ifndef SVGFILTER_BENCH_DRAWING_H
#define SVGFILTER_BENCH_DRAWING_H

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "host/drawing.h"
#include "host/style_records.h"
#include "svgfilter/filter_abi.h"

namespace bench {

// The page: 10 by 10 inches.
inline constexpr int32_t kPageSize = 10 * 254000;
inline constexpr int kStyleCount = 300;

enum class ShapeKind { kPath, kRectangle, kEllipse };

// One shape in host units; a path has 8 nodes: move, two lines, a curve, a
// line closing the subpath.
struct Shape {
    ShapeKind kind;
    int style;
    svgf::HostRect box;
    svgf::HostPoint centre;
    int32_t width;
    int32_t height;
    std::array<svgf::HostPoint, 7> points;
    std::array<uint8_t, 7> nodeTypes;
    int pointCount;
};

// Shape number i (the same for every run).
Shape MakeShape(uint64_t i);

// The style pool: the host's style records, and the same styles in short for
// the peer.
class StylePool {
  public:
    StylePool();
    const host::Style& Style(int i) const { return styles_[static_cast<size_t>(i)]; }
    const svgf::HostAttributes* Attributes(int i) const {
        return records_[static_cast<size_t>(i)]->Attributes();
    }

  private:
    std::vector<host::Style> styles_;
    std::vector<std::unique_ptr<host::StyleRecords>> records_;
};

}  // namespace bench

#endif  // SVGFILTER_BENCH_DRAWING_H
