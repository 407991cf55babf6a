// Matrix, point and colour arithmetic of the stand-in host.
#include "host/export_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>

namespace host {

int32_t RoundHalfAway(double value) {
    if (std::isnan(value)) return 0;
    const double r = value > 0 ? std::trunc(value + 0.5) : std::trunc(value - 0.5);
    constexpr double lo = std::numeric_limits<int32_t>::min();
    constexpr double hi = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::clamp(r, lo, hi));
}

void MatrixIdentity(svgf::HostMatrix& m) {
    m = svgf::HostMatrix{{1, 0, 0, 0, 1, 0}};
}

void MatrixCombine(svgf::HostMatrix& m, const svgf::HostMatrix& after) {
    const double* a = after.m;
    const svgf::HostMatrix old = m;
    const double* o = old.m;
    m.m[0] = a[0] * o[0] + a[1] * o[3];
    m.m[1] = a[0] * o[1] + a[1] * o[4];
    m.m[2] = a[0] * o[2] + a[1] * o[5] + a[2];
    m.m[3] = a[3] * o[0] + a[4] * o[3];
    m.m[4] = a[3] * o[1] + a[4] * o[4];
    m.m[5] = a[3] * o[2] + a[4] * o[5] + a[5];
}

void MatrixTranslate(svgf::HostMatrix& m, int32_t x, int32_t y) {
    MatrixCombine(m, svgf::HostMatrix{{1, 0, double(x), 0, 1, double(y)}});
}

void MatrixScale(svgf::HostMatrix& m, double sx, double sy) {
    MatrixCombine(m, svgf::HostMatrix{{sx, 0, 0, 0, sy, 0}});
}

void MatrixRotate(svgf::HostMatrix& m, int32_t angle, int32_t cx, int32_t cy) {
    const double radians = angle / double(svgf::svc::kAngleUnitsPerDegree) * std::numbers::pi / 180.0;
    const double c = std::cos(radians);
    const double s = std::sin(radians);
    MatrixCombine(m, svgf::HostMatrix{{c, -s, cx - c * cx + s * cy, s, c, cy - s * cx - c * cy}});
}

bool MatrixIsIdentity(const svgf::HostMatrix& m) {
    return m.m[0] == 1 && m.m[1] == 0 && m.m[2] == 0 && m.m[3] == 0 && m.m[4] == 1 && m.m[5] == 0;
}

svgf::HostPoint TransformPoint(const svgf::HostMatrix& m, svgf::HostPoint p) {
    return svgf::HostPoint{RoundHalfAway(m.m[0] * p.x + m.m[1] * p.y + m.m[2]),
                           RoundHalfAway(m.m[3] * p.x + m.m[4] * p.y + m.m[5])};
}

svgf::HostRect BoundingBox(const svgf::HostPoint* points, int32_t count) {
    if (points == nullptr || count <= 0) return svgf::HostRect{0, 0, 0, 0};
    svgf::HostRect box{points[0].x, points[0].y, points[0].x, points[0].y};
    for (int32_t i = 1; i < count; ++i) {
        box.left = std::min(box.left, points[i].x);
        box.right = std::max(box.right, points[i].x);
        box.top = std::max(box.top, points[i].y);
        box.bottom = std::min(box.bottom, points[i].y);
    }
    return box;
}

svgf::ColorRecord RgbColour(uint8_t red, uint8_t green, uint8_t blue) {
    svgf::ColorRecord c{};
    c.model = svgf::kColorModelRgb;
    c.channels[4] = blue;
    c.channels[5] = green;
    c.channels[6] = red;
    return c;
}

svgf::ColorRecord HsbColour(uint16_t hue, uint8_t saturation, uint8_t brightness) {
    svgf::ColorRecord c{};
    c.model = svgf::kColorModelHsb;
    hue %= 360;
    c.channels[4] = static_cast<uint8_t>(hue & 0xFF);
    c.channels[5] = static_cast<uint8_t>(hue >> 8);
    c.channels[6] = saturation;
    c.channels[7] = brightness;
    return c;
}

namespace {

struct Rgb {
    double r, g, b;  // 0 to 255
};

Rgb FromHsb(const svgf::ColorRecord& c) {
    const double hue = (c.channels[4] | (c.channels[5] << 8)) % 360;
    const double s = c.channels[6] / 255.0;
    const double v = c.channels[7];
    const double sector = hue / 60.0;
    const int i = static_cast<int>(sector);
    const double f = sector - i;
    const double p = v * (1 - s);
    const double q = v * (1 - s * f);
    const double t = v * (1 - s * (1 - f));
    switch (i) {
        case 0:
            return {v, t, p};
        case 1:
            return {q, v, p};
        case 2:
            return {p, v, t};
        case 3:
            return {p, q, v};
        case 4:
            return {t, p, v};
        default:
            return {v, p, q};
    }
}

svgf::ColorRecord ToHsb(const Rgb& c) {
    const double max = std::max({c.r, c.g, c.b});
    const double min = std::min({c.r, c.g, c.b});
    const double d = max - min;
    double hue = 0;
    if (d > 0) {
        if (max == c.r) {
            hue = 60 * std::fmod((c.g - c.b) / d + 6, 6.0);
        } else if (max == c.g) {
            hue = 60 * ((c.b - c.r) / d + 2);
        } else {
            hue = 60 * ((c.r - c.g) / d + 4);
        }
    }
    const double saturation = max > 0 ? d / max * 255 : 0;
    return HsbColour(static_cast<uint16_t>(RoundHalfAway(hue) % 360),
                     static_cast<uint8_t>(RoundHalfAway(saturation)),
                     static_cast<uint8_t>(RoundHalfAway(max)));
}

}  // namespace

bool ConvertColour(const svgf::ColorRecord& in, uint16_t model, svgf::ColorRecord& out) {
    Rgb rgb{};
    if (in.model == svgf::kColorModelRgb) {
        rgb = Rgb{double(in.channels[6]), double(in.channels[5]), double(in.channels[4])};
    } else if (in.model == svgf::kColorModelHsb) {
        rgb = FromHsb(in);
    } else {
        return false;
    }
    if (model == svgf::kColorModelRgb) {
        out =
            RgbColour(static_cast<uint8_t>(RoundHalfAway(rgb.r)), static_cast<uint8_t>(RoundHalfAway(rgb.g)),
                      static_cast<uint8_t>(RoundHalfAway(rgb.b)));
        return true;
    }
    if (model == svgf::kColorModelHsb) {
        out = ToHsb(rgb);
        return true;
    }
    return false;
}

}  // namespace host
