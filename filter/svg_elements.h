// The element objects of the export model and their markup.
#ifndef SVGFILTER_SVG_ELEMENTS_H
#define SVGFILTER_SVG_ELEMENTS_H

#include <cstdint>
#include <memory>
#include <string>

#include "svg_object.h"

namespace svgf {

// Coordinates below are user units unless said otherwise.

class SVGPath : public SVGObject {
  public:
    std::string Write(const SVGWriteState& state) const override;
    // "<path .../>" alone: no indentation and no line end (glyph bodies).
    std::string Markup() const;

    std::string pathData;  // the d attribute; none when empty
};

class SVGRectangle : public SVGObject {
  public:
    std::string Write(const SVGWriteState& state) const override;

    int32_t x = 0, y = 0, width = 0, height = 0;
    int32_t rx = 0, ry = 0;  // written only when both are non-zero
};

class SVGEllipse : public SVGObject {
  public:
    std::string Write(const SVGWriteState& state) const override;

    int32_t cx = 0, cy = 0;
    int32_t rx = 0, ry = 0;  // written only when both are non-zero
};

// The start tag of a group; the writer closes it.
class SVGGroup : public SVGObject {
  public:
    std::string Write(const SVGWriteState& state) const override;
};

// The start tag of a pattern; the writer closes it.
class SVGPattern : public SVGObject {
  public:
    std::string Write(const SVGWriteState& state) const override;

    uint32_t units = 0;  // 1: patternUnits="objectBoundingBox"
    int32_t x = 0, y = 0, width = 0, height = 0;
    // The content's view box, corners in user units; written when it has an area.
    int32_t viewLeft = 0, viewTop = 0, viewRight = 0, viewBottom = 0;
};

// The start tag of a mask; the writer closes it.
// An element's extent in user units, as it is written.
struct SVGUserBox {
    int32_t x = 0, y = 0, width = 0, height = 0;
};

class SVGMask : public SVGObject {
  public:
    std::string Write(const SVGWriteState& state) const override;

    uint32_t units = 0;  // 1: maskUnits="objectBoundingBox", region in 1/255 percent
    bool hasRegion = false;
    int32_t x = 0, y = 0, width = 0, height = 0;
};

// A clip path with its one shape.
class SVGClipPath : public SVGObject {
  public:
    std::string Write(const SVGWriteState& state) const override;

    std::unique_ptr<SVGObject> shape;
};

class SVGImage : public SVGObject {
  public:
    std::string Write(const SVGWriteState& state) const override;

    int32_t x = 0, y = 0, width = 0, height = 0;
    std::string href;  // host text, escaped when written
};

class SVGText : public SVGObject {
  public:
    std::string Write(const SVGWriteState& state) const override;

    int32_t x = 0, y = 0;
    std::string markup;    // the characters, already escaped for the document
    int32_t rotation = 0;  // millionths of a degree; non-zero gives a tspan with rotate
};

// The start tag of a link; the writer closes it.
class SVGAnchor : public SVGObject {
  public:
    std::string Write(const SVGWriteState& state) const override;

    std::string href;  // host text, escaped when written
};

}  // namespace svgf

#endif  // SVGFILTER_SVG_ELEMENTS_H
