// The import's 2-D affine transform and the zoom manager that relates the
// SVG user space to the host page.
#ifndef SVGIMPORT_MATRIX_H
#define SVGIMPORT_MATRIX_H

#include <cstddef>
#include <cstdint>

namespace SVG {

struct WPoint {
    double x = 0;
    double y = 0;
};

// x' = a x + c y + e, y' = b x + d y + f. A plain value: six doubles, copied
// whole. A default-made matrix is the identity.
class WMatrix {
  public:
    double a = 1;
    double b = 0;
    double c = 0;
    double d = 1;
    double e = 0;
    double f = 0;

    constexpr WMatrix() = default;
    constexpr WMatrix(double a0, double b0, double c0, double d0, double e0, double f0)
        : a(a0), b(b0), c(c0), d(d0), e(e0), f(f0) {}

    void SetIdentity() { *this = WMatrix(); }
    void Copy(const WMatrix& other) { *this = other; }

    // M becomes M * N: the result maps a point first through N, then
    // through M, so a list of transforms multiplied in its written order
    // applies to points from right to left.
    void Multiply(double a2, double b2, double c2, double d2, double e2, double f2);
    void Multiply(const WMatrix& n) { Multiply(n.a, n.b, n.c, n.d, n.e, n.f); }

    WPoint Transform(WPoint p) const { return {a * p.x + c * p.y + e, b * p.x + d * p.y + f}; }
    // A displacement: the linear part alone.
    WPoint TransformVector(WPoint v) const { return {a * v.x + c * v.y, b * v.x + d * v.y}; }
    // In place; a count of 0 does nothing.
    void TransformPoints(WPoint* points, size_t count) const;

    // The matrix without its own scale, for shapes that carry their size
    // separately: the images of the unit vectors divided by the length of
    // the first, with the second mirrored and the translation dropped.
    // A matrix that collapses the x axis writes all zeros.
    void Compose(WMatrix* out) const;

    // Replaces M by its inverse and returns 1; a matrix whose determinant
    // lies within 1e-8 of zero becomes all zeros and the result is 0.
    int32_t Invert();

    double Determinant() const { return a * d - b * c; }
    bool operator==(const WMatrix&) const = default;
};

// A rectangle of doubles: left, top, right, bottom.
struct WRect {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
    bool operator==(const WRect&) const = default;
};

// User units per inch, and host units per inch.
inline constexpr int32_t kUserUnitsPerInch = 96;
inline constexpr int32_t kHostUnitsPerInch = 254000;

// A host length in whole user units at 96 to the inch, truncated towards
// zero. The product is formed in 64 bits: a 32-bit one overflows past about
// 94 inches.
int32_t UserUnitsOfHost(int32_t host);

// The two rectangles that relate the user space to the host page: the
// host rectangle in host units and the user rectangle in user units, both
// zero when made. The import sets them once; nothing of the import reads
// them afterwards.
class WZoomMgr {
  public:
    WZoomMgr() = default;
    virtual ~WZoomMgr();

    void SetRects(const WRect& host, const WRect& user);
    // The rectangles of a drawing of width x height host units: the host
    // rectangle (0, height, width, 0) and the user rectangle of the same
    // extent in whole user units.
    void SetDocumentSize(int32_t width, int32_t height);

    const WRect& HostRect() const { return host_; }
    const WRect& UserRect() const { return user_; }

  private:
    WRect host_;
    WRect user_;
};

}  // namespace SVG

#endif  // SVGIMPORT_MATRIX_H
