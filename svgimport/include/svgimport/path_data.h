// Path data and point lists read into a path's host points: every segment
// in user units of the current space, converted through the current matrix
// point by point. Quadratic curves and elliptical arcs become cubic
// curves (quadratics exactly, arcs within a small tolerance).
#ifndef SVGIMPORT_PATH_DATA_H
#define SVGIMPORT_PATH_DATA_H

#include <string_view>
#include <vector>

#include "svgimport/matrix.h"
#include "svgimport/objects.h"

namespace SVG {

// The host point of a user point under `toHost`, rounded half away from
// zero and held to the 32-bit range.
svgf::HostPoint HostPointOf(const WMatrix& toHost, WPoint user);

// The extent of the user points a reader appended (controls included).
struct WUserBounds {
    bool any = false;
    WPoint low;
    WPoint high;
    void Add(WPoint p);
};

// Reads SVG path data into `path` (appending). Reading ends at the end of
// the text or at the first thing that is not path data (an unknown
// command, a missing or bad number); what was read before stays. After a
// close the current point is the subpath's start, and a drawing command
// that follows starts a new subpath there.
void ReadPathData(std::string_view data, const WMatrix& toHost, WPath& path, WUserBounds* bounds = nullptr);

// Reads a `points` list: pairs of numbers separated by white space and
// commas, up to the first character that is neither (an incomplete last
// pair is dropped). A polygon's list is closed.
void ReadPoints(std::string_view text, const WMatrix& toHost, WPath& path, bool closed,
                WUserBounds* bounds = nullptr);

// One cubic segment after the current point.
struct WCubic {
    WPoint control1;
    WPoint control2;
    WPoint end;
};

// The elliptical arc from `from` to `to` (radii, x-axis rotation in
// degrees, the two flags) as cubic segments of at most a quarter turn
// each, radii enlarged as SVG asks when they cannot reach. Empty when the
// ends coincide; one straight segment (controls on the chord) when a
// radius is 0.
std::vector<WCubic> ArcToCubics(WPoint from, double rx, double ry, double rotation, bool largeArc, bool sweep,
                                WPoint to);

}  // namespace SVG

#endif  // SVGIMPORT_PATH_DATA_H
