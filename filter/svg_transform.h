// Transform lists of elements, gradients and patterns, and their
// "transform" attribute text.
#ifndef SVGFILTER_SVG_TRANSFORM_H
#define SVGFILTER_SVG_TRANSFORM_H

#include <cstdint>
#include <string>
#include <vector>

namespace svgf {

struct SVGXformNode {
    enum Kind : int32_t {
        kMatrix = 0,
        kTranslate = 1,
        kScale = 2,
        kRotate = 3,
        kSkewX = 4,
        kSkewY = 5,
        kRotateAbout = 6,  // degrees (double) about a whole point of user space
    };

    static SVGXformNode Matrix(double a, double b, double c, double d, double e, double f);
    static SVGXformNode Translate(double x, double y);
    static SVGXformNode Scale(double x, double y);
    // Angles in millionths of a degree.
    static SVGXformNode Rotate(int32_t angle);
    static SVGXformNode SkewX(int32_t angle);
    static SVGXformNode SkewY(int32_t angle);
    // A turn by `degrees` (positive turns x towards y) about (cx, cy).
    static SVGXformNode RotateAbout(double degrees, int32_t cx, int32_t cy);

    // The node's text, e.g. "translate(1 2)"; nothing for an unknown kind.
    std::string Text() const;

    int32_t kind = kMatrix;
    double values[6] = {};  // matrix a..f; translate and scale use the first two
    int32_t angle = 0;      // rotate and skews
};

using SVGXformList = std::vector<SVGXformNode>;

// transform="<node> <node> ...", or nothing for an empty list.
std::string TransformAttribute(const SVGXformList& list);

// The list's node texts separated by blanks, without the attribute name.
std::string TransformText(const SVGXformList& list);

}  // namespace svgf

#endif  // SVGFILTER_SVG_TRANSFORM_H
