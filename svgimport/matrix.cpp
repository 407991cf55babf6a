// The affine matrix: products, point transforms, the scale-free part and
// the inverse.
#include "svgimport/matrix.h"

#include <cmath>

namespace SVG {

void WMatrix::Multiply(double a2, double b2, double c2, double d2, double e2, double f2) {
    const WMatrix m = *this;
    a = m.a * a2 + m.c * b2;
    b = m.b * a2 + m.d * b2;
    c = m.a * c2 + m.c * d2;
    d = m.b * c2 + m.d * d2;
    e = m.a * e2 + m.c * f2 + m.e;
    f = m.b * e2 + m.d * f2 + m.f;
}

void WMatrix::TransformPoints(WPoint* points, size_t count) const {
    for (size_t i = 0; i < count; ++i) points[i] = Transform(points[i]);
}

void WMatrix::Compose(WMatrix* out) const {
    if (out == nullptr) return;
    const WPoint origin = Transform({0, 0});
    const WPoint u = Transform({1, 0});
    const double length = std::hypot(u.x - origin.x, u.y - origin.y);
    if (!(length > 0) || !std::isfinite(length)) {
        *out = WMatrix(0, 0, 0, 0, 0, 0);
        return;
    }
    WMatrix result(1 / length, 0, 0, 1 / length, 0, 0);
    result.Multiply(*this);
    result.c = -result.c;
    result.d = -result.d;
    result.e = 0;
    result.f = 0;
    *out = result;
}

int32_t WMatrix::Invert() {
    const double det = Determinant();
    if (!(std::fabs(det) > 1e-8)) {
        *this = WMatrix(0, 0, 0, 0, 0, 0);
        return 0;
    }
    const WMatrix m = *this;
    a = m.d / det;
    b = -m.b / det;
    c = -m.c / det;
    d = m.a / det;
    e = (m.c * m.f - m.d * m.e) / det;
    f = (m.b * m.e - m.a * m.f) / det;
    return 1;
}

}  // namespace SVG
