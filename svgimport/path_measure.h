// A path measured along its length: the point and direction at a distance
// from its start, for characters set along it.
#ifndef SVGIMPORT_PATH_MEASURE_H
#define SVGIMPORT_PATH_MEASURE_H

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "svgimport/matrix.h"

namespace SVG::detail {

class PathMeasure {
  public:
    // Path data read under `transform` (into the space the measures are
    // in), its curves flattened. The moves between subpaths add no length.
    PathMeasure(std::string_view data, const WMatrix& transform);

    double Length() const { return lengths_.empty() ? 0 : lengths_.back(); }
    // The point at `distance` along the path and the direction of the
    // path there (radians, from the x axis toward the y axis); false when
    // the distance lies before the start or past the end.
    bool At(double distance, WPoint* point, double* angle) const;

  private:
    // A straight piece from points_[i] to points_[i + 1] is drawn unless
    // the later one starts a subpath.
    std::vector<WPoint> points_;
    std::vector<bool> starts_;
    std::vector<double> lengths_;  // along the path up to each point
};

// One character to set along a path: its advance and the shifts and turn
// its lists give it (user units, degrees).
struct PathGlyph {
    double advance = 0;
    double dx = 0, dy = 0;
    double rotate = 0;
};

struct PlacedGlyph {
    bool drawn = false;  // its middle lies on the path
    WPoint origin;
    double angle = 0;  // degrees, the path's direction and its own turn
};

// Each character's middle at its distance along the path (from
// `startOffset`, moved back by the whole advance or half of it for an end
// or middle anchor), turned with the path there, shifted across it by its
// dy; `end` receives where the last character ends.
std::vector<PlacedGlyph> PlaceAlongPath(const PathMeasure& path, double startOffset, int32_t anchor,
                                        const std::vector<PathGlyph>& glyphs, WPoint* end);

}  // namespace SVG::detail

#endif  // SVGIMPORT_PATH_MEASURE_H
