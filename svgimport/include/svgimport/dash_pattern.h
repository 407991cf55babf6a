// A stroke's dash list as the host's outline record carries it: whole line
// widths, at most the record's room, starting with a dash, with no offset
// of its own (the pattern is turned to start where the offset says).
#ifndef SVGIMPORT_DASH_PATTERN_H
#define SVGIMPORT_DASH_PATTERN_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace SVG {

struct WDashInput {
    std::vector<double> lengths;  // dashes and gaps in turn, in one unit
    double offset = 0;            // how far into the pattern the line starts
    double width = 1;             // the line width, in the same unit
    // A dash of no length shows (round and square caps draw a dot).
    bool zeroDashShows = false;
    size_t room = 11;  // entries the record holds
};

// The entries in line widths (0..32767; where each ends along the pattern
// is rounded half away from zero, so that the rounding does not add up):
// empty for a solid line (no dashes, a negative or non-finite
// one, or all of them zero). An odd list counts twice, as SVG repeats it.
// The pattern starts `offset` into itself: a dash cut by the start becomes
// its two parts joined by a gap of no length; a start inside a gap becomes
// a dash of no length and the gap's rest, unless such a dash shows, when
// the line starts with the next dash instead. When that turned list does
// not fit the room, the list is sent as written (without its offset), and
// when that does not fit either, its first entries, an even number of them.
std::vector<int16_t> HostDashes(const WDashInput& input);

}  // namespace SVG

#endif  // SVGIMPORT_DASH_PATTERN_H
