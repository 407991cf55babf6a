// Lengths and coordinate pairs in document units to host units and back.
#include "svgimport/coordinates.h"

#include <cmath>
#include <cstdint>

namespace SVG {
namespace {

// User units (CSS pixels, 96 to the inch) of one unit.
constexpr double kUserPerInch = kUserUnitsPerInch;
constexpr double kUserPerPx = kUserPerInch / 96.0;
constexpr double kUserPerMm = kUserPerInch / 25.4;
constexpr double kUserPerCm = kUserPerInch / 2.54;
constexpr double kUserPerPt = kUserPerInch / 72.0;
constexpr double kUserPerPc = kUserPerInch / 6.0;

// Below this a matrix term counts as zero when a host coordinate is solved
// for its user coordinate.
constexpr double kTiny = 1e-12;

WPoint Axis(double v, int32_t horizontal) {
    return horizontal != 0 ? WPoint{v, 0} : WPoint{0, v};
}

double Length(WPoint v) {
    return std::hypot(v.x, v.y);
}

// How a matrix scales a length of no axis: the square root of its area
// scale, which a uniform scale and a turn keep as they are.
double DiagonalScale(const WMatrix& m) {
    return std::sqrt(std::fabs(m.a * m.d - m.b * m.c));
}

// The length of `v` along `horizontal`'s axis through `m`.
double Through(const WMatrix& m, double v, int32_t horizontal) {
    if (horizontal == kDiagonal) return std::fabs(v) * DiagonalScale(m);
    return Length(m.TransformVector(Axis(v, horizontal)));
}

// A size in whole host units, held to the 32-bit range.
int32_t HostInteger(double v) {
    const double r = RoundHalfAway(v);
    if (std::isnan(r)) return 0;
    if (r <= INT32_MIN) return INT32_MIN;
    return r >= INT32_MAX ? INT32_MAX : static_cast<int32_t>(r);
}

bool IsUserLike(int32_t kind) {
    return kind != unit::kHost && kind != unit::kNone;
}

}  // namespace

void WCoordinates::UpdateInverse() {
    inverse_ = current_;
    inverse_.Invert();
}

void WCoordinates::SetRoot(const WMatrix& root, double widthHost, double heightHost) {
    current_ = root;
    UpdateInverse();
    width_ = HostInteger(widthHost);
    height_ = HostInteger(heightHost);
    viewportWidth_ = Length(inverse_.TransformVector({widthHost, 0}));
    viewportHeight_ = Length(inverse_.TransformVector({0, heightHost}));
}

double WCoordinates::UserValue(const WLength& length, int32_t horizontal) const {
    const double v = length.value;
    switch (length.kind) {
        case unit::kIn:
            return v * kUserPerInch;
        case unit::kPx:
            return v * kUserPerPx;
        case unit::kMm:
            return v * kUserPerMm;
        case unit::kCm:
            return v * kUserPerCm;
        case unit::kPt:
            return v * kUserPerPt;
        case unit::kPc:
            return v * kUserPerPc;
        case unit::kEm:
            return v * fontSize_;
        case unit::kEx:
            return v * fontSize_ * 0.5;
        case unit::kPercent:
            if (horizontal == kDiagonal)
                return v * 0.01 *
                       std::sqrt((viewportWidth_ * viewportWidth_ + viewportHeight_ * viewportHeight_) / 2);
            return v * 0.01 * (horizontal != 0 ? viewportWidth_ : viewportHeight_);
        default:  // user units
            return v;
    }
}

void WCoordinates::LengthToHost(WLength& length, int32_t horizontal) const {
    if (IsUserLike(length.kind)) {
        length.value = Through(current_, UserValue(length, horizontal), horizontal);
    }
    length.kind = unit::kHost;
}

void WCoordinates::LengthToUser(WLength& length, int32_t horizontal) const {
    if (length.kind == unit::kHost || length.kind == unit::kNone) {
        const double v = Through(inverse_, length.value, horizontal);
        length.value = std::signbit(length.value) ? -v : v;
    } else {
        length.value = UserValue(length, horizontal);
    }
    length.kind = unit::kUser;
}

void WCoordinates::PointToHost(WLength& x, WLength& y, int32_t relative) const {
    if (x.kind == unit::kNone || y.kind == unit::kNone) return;
    const bool xUser = IsUserLike(x.kind);
    const bool yUser = IsUserLike(y.kind);
    if (!xUser && !yUser) return;  // both already host units
    const WMatrix& m = current_;
    const double e = relative != 0 ? 0 : m.e;
    const double f = relative != 0 ? 0 : m.f;
    double ux = xUser ? UserValue(x, kHorizontal) : 0;
    double uy = yUser ? UserValue(y, kVertical) : 0;
    if (!yUser) {
        // The user y that puts the point at host y, given its user x; when
        // user y does not move the host y, the host length goes back through
        // the inverse instead.
        if (std::fabs(m.d) > kTiny) {
            uy = (y.value - f - m.b * ux) / m.d;
        } else {
            WLength back = y;
            LengthToUser(back, kVertical);
            uy = back.value;
        }
    } else if (!xUser) {
        if (std::fabs(m.a) > kTiny) {
            ux = (x.value - e - m.c * uy) / m.a;
        } else {
            WLength back = x;
            LengthToUser(back, kHorizontal);
            ux = back.value;
        }
    }
    const WPoint host = relative != 0 ? m.TransformVector({ux, uy}) : m.Transform({ux, uy});
    // A host coordinate given stays exactly as it was.
    x.value = xUser ? host.x : x.value;
    y.value = yUser ? host.y : y.value;
    x.kind = unit::kHost;
    y.kind = unit::kHost;
}

}  // namespace SVG
