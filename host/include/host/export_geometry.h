// The stand-in host's geometry and colour arithmetic behind the services the
// export calls: matrices, point transformation, bounding boxes and colour
// model conversion. Pure functions; the service entries wrap them.
#ifndef SVGFILTER_HOST_EXPORT_GEOMETRY_H
#define SVGFILTER_HOST_EXPORT_GEOMETRY_H

#include <cstdint>

#include "svgfilter/filter_abi.h"

namespace host {

// Rounds half away from zero, clamped to the 32-bit range.
int32_t RoundHalfAway(double value);

// The host matrix is row-major [m0 m1 m2; m3 m4 m5] with m2, m5 the
// translation. Every operation applies after what the matrix already does:
// the point goes through the old matrix first, then through the operation.
void MatrixIdentity(svgf::HostMatrix& m);
void MatrixCombine(svgf::HostMatrix& m, const svgf::HostMatrix& after);
void MatrixTranslate(svgf::HostMatrix& m, int32_t x, int32_t y);
void MatrixScale(svgf::HostMatrix& m, double sx, double sy);
// Counter-clockwise (y up) by angle / kAngleUnitsPerDegree degrees about (cx, cy).
void MatrixRotate(svgf::HostMatrix& m, int32_t angle, int32_t cx, int32_t cy);
bool MatrixIsIdentity(const svgf::HostMatrix& m);

svgf::HostPoint TransformPoint(const svgf::HostMatrix& m, svgf::HostPoint p);

// Left, top, right, bottom with top the larger y; all 0 for no points.
svgf::HostRect BoundingBox(const svgf::HostPoint* points, int32_t count);

// Colour records of the two models the export asks for:
//  RGB (5): bytes 8, 9, 10 blue, green, red;
//  HSB (6): hue 0-359 as the 16-bit value at byte 8, saturation and
//           brightness 0-255 in bytes 10 and 11.
svgf::ColorRecord RgbColour(uint8_t red, uint8_t green, uint8_t blue);
svgf::ColorRecord HsbColour(uint16_t hue, uint8_t saturation, uint8_t brightness);
// Converts `in` (RGB or HSB) into `model`; false, with `out` untouched, for
// a model either side that the host does not know.
bool ConvertColour(const svgf::ColorRecord& in, uint16_t model, svgf::ColorRecord& out);

}  // namespace host

#endif  // SVGFILTER_HOST_EXPORT_GEOMETRY_H
