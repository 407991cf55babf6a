// Even-odd filling within a host that fills by the non-zero rule: each
// subpath of a path runs the way that makes non-zero filling give the
// even-odd result, counter-clockwise at an even depth of nesting inside the
// path's other subpaths and clockwise at an odd one. Subpaths that cross
// themselves or each other keep what non-zero filling makes of them.
#ifndef SVGIMPORT_EVEN_ODD_H
#define SVGIMPORT_EVEN_ODD_H

#include <cstdint>
#include <vector>

#include "svgfilter/import_abi.h"

namespace SVG {

// Points and their kind bytes (svgf::import_node), as a path carries them;
// reverses the subpaths that run the wrong way, in place. A path of one
// subpath is left as it is.
void OrientForEvenOdd(std::vector<svgf::HostPoint>& points, std::vector<uint8_t>& kinds);

}  // namespace SVG

#endif  // SVGIMPORT_EVEN_ODD_H
