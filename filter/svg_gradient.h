// Gradient definitions and their stops.
#ifndef SVGFILTER_SVG_GRADIENT_H
#define SVGFILTER_SVG_GRADIENT_H

#include <cstdint>
#include <string>
#include <vector>

#include "svg_object.h"

namespace svgf {

inline constexpr uint16_t kStopWithoutOpacity = 25500;

struct SVGGradientStop {
    // "<stop offset=... style=.../>" without indentation or line end.
    std::string Markup() const;

    uint16_t offset = 0;  // 0 to 255 for 0 to 1
    SVGColor colour;
    uint16_t opacity = kStopWithoutOpacity;  // 0 to 255, or kStopWithoutOpacity for a colour stop
};

class SVGGradient : public SVGObject {
  public:
    uint32_t units = 0;   // 0 user space, 1 bounding box (coordinates in 1/255 percent)
    uint32_t spread = 0;  // 1 reflect, 2 repeat (linear only)
    std::vector<SVGGradientStop> stops;
    std::string reference;  // "#id<n>" of a gradient whose stops this one shares; empty for none

  protected:
    // The indentation: under the internal style sheet gradients follow the
    // definitions depth, elsewhere the writer's depth.
    static int GradientDepth(const SVGWriteState& state);
    // id, units, transform and reference attributes, each behind a blank.
    std::string GradientAttributes() const;
    // The stops, one per line at depth + 1, in the given order.
    std::string StopLines(int depth, bool reverse) const;
};

class SVGGradient_Linear final : public SVGGradient {
  public:
    std::string Write(const SVGWriteState& state) const override;

    int32_t x1 = 0, y1 = 0, x2 = 25500, y2 = 0;
};

class SVGGradient_Radial final : public SVGGradient {
  public:
    std::string Write(const SVGWriteState& state) const override;

    int32_t cx = 12750, cy = 12750, r = 12750, fx = 12750, fy = 12750;
};

}  // namespace svgf

#endif  // SVGFILTER_SVG_GRADIENT_H
