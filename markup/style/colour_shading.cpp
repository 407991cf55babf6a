// Colour shading through hue, lightness and saturation in doubles.
//
// Channels are read as byte / 256 and written back as value * 256 truncated
// and capped at 255, so that a colour shaded by 1.0 comes back unchanged.
#include "markup/style/colour_shading.h"

#include <algorithm>

namespace markup::style {

namespace {

struct Hls {
    double hue;  // degrees, 0 to under 360; -1 when there is none
    double lightness;
    double saturation;
};

Hls ToHls(double red, double green, double blue) {
    const double high = std::max({red, green, blue});
    const double low = std::min({red, green, blue});
    Hls hls{-1.0, (high + low) * 0.5, 0.0};
    if (high == low) return hls;
    const double delta = high - low;
    hls.saturation = hls.lightness <= 0.5 ? delta / (high + low) : delta / (2.0 - high - low);
    double hue;
    if (high == red) {
        hue = (green - blue) / delta;
    } else if (high == green) {
        hue = 2.0 + (blue - red) / delta;
    } else {
        hue = 4.0 + (red - green) / delta;
    }
    hue *= 60.0;
    if (hue < 0.0) hue += 360.0;
    hls.hue = hue;
    return hls;
}

double HueValue(double m1, double m2, double hue) {
    if (hue > 360.0) {
        hue -= 360.0;
    } else if (hue < 0.0) {
        hue += 360.0;
    }
    if (hue < 60.0) return m1 + (m2 - m1) * hue * 0.016666666666666666;
    if (hue < 180.0) return m2;
    if (hue < 240.0) return m1 + (m2 - m1) * (240.0 - hue) * 0.016666666666666666;
    return m1;
}

std::uint32_t ToByte(double channel) {
    const double scaled = channel * 256.0;
    if (scaled <= 0.0) return 0;
    return std::min<std::uint32_t>(static_cast<std::uint32_t>(scaled), 255);
}

}  // namespace

std::uint32_t ShadeColour(std::uint32_t colour, double factor) {
    const double red = static_cast<double>(colour & 0xFF) * 0.00390625;
    const double green = static_cast<double>((colour >> 8) & 0xFF) * 0.00390625;
    const double blue = static_cast<double>((colour >> 16) & 0xFF) * 0.00390625;
    Hls hls = ToHls(red, green, blue);
    hls.lightness = std::min(hls.lightness * factor, 1.0);
    double r, g, b;
    if (hls.saturation == 0.0) {
        r = g = b = hls.lightness;
    } else {
        const double l = hls.lightness;
        const double m2 = l < 0.5 ? l * (1.0 + hls.saturation) : l + hls.saturation - l * hls.saturation;
        const double m1 = 2.0 * l - m2;
        r = HueValue(m1, m2, hls.hue + 120.0);
        g = HueValue(m1, m2, hls.hue);
        b = HueValue(m1, m2, hls.hue - 120.0);
    }
    return ToByte(r) | (ToByte(g) << 8) | (ToByte(b) << 16);
}

}  // namespace markup::style
