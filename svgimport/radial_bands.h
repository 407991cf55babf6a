// A radial gradient the host's circular fountain cannot show (an ellipse
// once mapped, a focus off the centre) as rings of uniform colour: each
// ring lies between two circles of equal gradient value, mapped to host
// units, and takes the colour the gradient has halfway across it.
#ifndef SVGIMPORT_RADIAL_BANDS_H
#define SVGIMPORT_RADIAL_BANDS_H

#include <cstdint>
#include <vector>

#include "svgfilter/import_abi.h"
#include "svgimport/objects.h"

namespace SVG {

struct WBand {
    std::vector<svgf::HostPoint> points;
    std::vector<uint8_t> kinds;
    WStopValue value;
};

// The gradient's value (before its spread) at a point of its own space:
// the t at which the circle of centre focus + t (centre - focus) and
// radius t r passes through the point.
double RadialValue(const WRadialGradient::Banded& g, WPoint p);

// The colour and opacity of the stops at value t (spread applied).
WStopValue StopValueAt(const WStopMap& stops, int spread, double t);

// The rings that cover `box` (host units), outermost first; the last one
// the disc about the focus. Past value 1 a padded gradient is one region,
// the box less the unit circle. With `discs` each ring is its whole outer
// disc (and the region the whole box), to be painted in order. At most
// `mostBands` rings.
std::vector<WBand> RadialBands(const WRadialGradient::Banded& g, const WStopMap& stops, const svgf::HostBox& box,
                               bool discs, size_t mostBands = 512);

}  // namespace SVG

#endif  // SVGIMPORT_RADIAL_BANDS_H
