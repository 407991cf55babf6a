// The region a stroke covers, as a filled path, for strokes the host's one
// line width cannot show: under a map that scales unevenly, a stroke is
// drawn in the element's user space and then mapped, so its width changes
// with the direction of the line.
#ifndef SVGIMPORT_STROKE_OUTLINE_H
#define SVGIMPORT_STROKE_OUTLINE_H

#include <cstdint>
#include <vector>

#include "svgfilter/import_abi.h"
#include "svgimport/matrix.h"

namespace SVG {

// The stroke's geometry in the element's user units.
struct WStrokeShape {
    double width = 1;
    int32_t cap = 0;   // SVG::cap
    int32_t join = 0;  // SVG::join
    double miterLimit = 4;
};

// Whether a map scales some direction more than another (by more than a
// part in 500): only then does the host's one width fall short.
bool ScalesUnevenly(const WMatrix& m);

// The stroke region of a host path (points and kind bytes, curves
// flattened) whose user space `toHost` maps: every segment, join and cap as
// a closed polygon of its own, all turned counter-clockwise so that under
// the non-zero rule they add up to their union. Empty when the path has no
// extent or more than `mostSegments` segments once flattened.
struct WOutlinePath {
    std::vector<svgf::HostPoint> points;
    std::vector<uint8_t> kinds;
};
WOutlinePath StrokeOutline(const std::vector<svgf::HostPoint>& points, const std::vector<uint8_t>& kinds,
                           const WMatrix& toHost, const WStrokeShape& stroke, size_t mostSegments = 20000);

}  // namespace SVG

#endif  // SVGIMPORT_STROKE_OUTLINE_H
