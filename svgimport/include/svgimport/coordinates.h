// The reader's coordinate state and the conversions of lengths and
// coordinate pairs from the document's units into host units (1/254000
// inch, y up) and back into user units.
//
// Every unit is first taken to user units of the current space, which
// count as CSS pixels (96 to the inch: a point is 4/3, a pica 16; em is the
// element's font size and ex half of it; a percentage is a share of the
// viewport's user width, height or normalised diagonal), and user units
// then go through the current matrix, so that a length or coordinate in
// any unit lands where the transforms around it put it.
#ifndef SVGIMPORT_COORDINATES_H
#define SVGIMPORT_COORDINATES_H

#include <cstdint>

#include "svgimport/matrix.h"
#include "svgimport/values.h"

namespace SVG {

// Axis flags of the single-length conversions.
inline constexpr int32_t kVertical = 0;
inline constexpr int32_t kHorizontal = 1;
// A length along no axis (a radius, a stroke width): a percentage of it
// takes the viewport's normalised diagonal, sqrt((w*w + h*h) / 2).
inline constexpr int32_t kDiagonal = 2;

class WCoordinates {
  public:
    // The identity matrix, no document size.
    WCoordinates() = default;

    // The current matrix: user units of the current space to host units.
    // Builders that change it restore it; UpdateInverse refreshes the
    // inverse after a change.
    WMatrix& Current() { return current_; }
    const WMatrix& Current() const { return current_; }
    const WMatrix& Inverse() const { return inverse_; }
    // Copies the current matrix into the inverse and inverts it there; a
    // singular matrix leaves an all-zero inverse.
    void UpdateInverse();

    // Takes the root's coordinate system: the root matrix, the drawing's
    // width and height in host units (kept as W and H, rounded half away
    // from zero) and, through the root's inverse, the viewport's size in
    // user units, which percentages refer to.
    void SetRoot(const WMatrix& root, double widthHost, double heightHost);
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    double ViewportWidth() const { return viewportWidth_; }
    double ViewportHeight() const { return viewportHeight_; }
    // A nested viewport (a nested svg, a symbol instance): its size in user
    // units of its content, which percentages refer to from now on.
    void SetViewport(double width, double height) {
        viewportWidth_ = width;
        viewportHeight_ = height;
    }
    // The font size of the element being read, in its user units: em and
    // ex count from it (16, CSS's medium, until an element gives one).
    double FontSize() const { return fontSize_; }
    void SetFontSize(double size) { fontSize_ = size; }

    // A length to host units: the length of the vector (v, 0) (horizontal)
    // or (0, v) (vertical) through the current matrix, or v times the square
    // root of its determinant's magnitude (kDiagonal); its sign is lost.
    // Host lengths stay as they are; a length of no unit keeps its value.
    // Afterwards the kind is unit::kHost.
    void LengthToHost(WLength& length, int32_t horizontal) const;

    // A coordinate pair to host units, as a point through the current matrix;
    // with `relative` set, as a displacement (without the translation). A
    // host-unit coordinate beside a user one fixes the host coordinate of
    // the point on its axis. A pair with a coordinate of no unit is left as
    // it is; otherwise both kinds become unit::kHost.
    void PointToHost(WLength& x, WLength& y, int32_t relative) const;

    // A length to user units of the current space, keeping its sign; a host
    // length goes back through the inverse. Afterwards the kind is
    // unit::kUser.
    void LengthToUser(WLength& length, int32_t horizontal) const;

    // A host point back in user units of the current space (through the
    // inverse, translation included), for coordinates that continue from a
    // point already converted (a path's current point).
    WPoint HostToUser(WPoint host) const { return inverse_.Transform(host); }

  private:
    // A length of any unit but host and none in user units, sign kept.
    double UserValue(const WLength& length, int32_t horizontal) const;

    WMatrix current_;
    WMatrix inverse_;
    int32_t width_ = 0;
    int32_t height_ = 0;
    double viewportWidth_ = 0;
    double viewportHeight_ = 0;
    double fontSize_ = 16;
};

}  // namespace SVG

#endif  // SVGIMPORT_COORDINATES_H
