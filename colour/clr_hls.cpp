// RGB <-> hue, lightness, saturation on 8-bit and 16-bit channels, in integer
// arithmetic.
#include <algorithm>

#include "colour/convert.h"
#include "converter_support.h"

namespace colour {
namespace {

using detail::Accept;

// The hue of a colour whose channels are not all equal; ties for the maximum
// go to red first, then green.
int HueDegrees(int red, int green, int blue, int max, int delta) {
    int hue;
    if (red == max) {
        hue = (green - blue) * 60 / delta;
    } else if (green == max) {
        hue = (blue - red) * 60 / delta + 120;
    } else {
        hue = (red - green) * 60 / delta + 240;
    }
    return hue < 0 ? hue + 360 : hue;
}

// A channel at hue h between the two levels m1 and m2.
int HlsChannel(int m1, int m2, int h) {
    if (h < 0) {
        h += 360;
    } else if (h >= 360) {
        h -= 360;
    }
    if (h < 60) return m1 + (m2 - m1) * h / 60;
    if (h < 180) return m2;
    if (h < 240) return m1 + (m2 - m1) * (240 - h) / 60;
    return m1;
}

// The HLS record of channels that run to `full`; the lightness is their
// midpoint shifted down to a byte.
ColorRecord HlsOf(int red, int green, int blue, int lightnessShift, int full) {
    const int max = std::max({red, green, blue});
    const int min = std::min({red, green, blue});
    const int lightness = (max + min) >> lightnessShift;
    if (max == min) return ColorRecord::HLS(0, static_cast<std::uint8_t>(lightness), 0);
    const int delta = max - min;
    const int saturation =
        lightness <= 127 ? delta * 255 / (max + min) : delta * 255 / (2 * full - max - min);
    return ColorRecord::HLS(static_cast<std::uint16_t>(HueDegrees(red, green, blue, max, delta)),
                            static_cast<std::uint8_t>(lightness), static_cast<std::uint8_t>(saturation));
}

}  // namespace

void ClrRGBToHLS(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelRGB)) return;
    *out = HlsOf(in->Red(), in->Green(), in->Blue(), 1, 255);
}

void ClrHLSToRGB(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelHLS)) return;
    const int hue = in->Hue();
    const int l = in->HlsLightness();
    const int s = in->HlsSaturation();
    if (s == 0) {
        *out = ColorRecord::RGB(static_cast<std::uint8_t>(l), static_cast<std::uint8_t>(l),
                                static_cast<std::uint8_t>(l));
        return;
    }
    const int m2 = l > 127 ? l + s - l * s / 255 : (s + 255) * l / 255;
    const int m1 = 2 * l - m2;
    *out = ColorRecord::RGB(detail::ClampByte(HlsChannel(m1, m2, hue + 120)),
                            detail::ClampByte(HlsChannel(m1, m2, hue)),
                            detail::ClampByte(HlsChannel(m1, m2, hue - 120)));
}

void ClrRGB48ToHLS(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelRGB48)) return;
    *out = HlsOf(in->Red16(), in->Green16(), in->Blue16(), 9, 65535);
}

void ClrHLSToRGB48(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelHLS)) return;
    const int hue = in->Hue();
    const int lightness = in->HlsLightness();
    const int saturation = in->HlsSaturation();
    if (saturation == 0) {
        const std::uint16_t v = WidenChannel(static_cast<std::uint8_t>(lightness));
        *out = ColorRecord::RGB48(v, v, v);
        return;
    }
    // Lightness and saturation on 0..8191, the results widened from 13 bits.
    const int l = lightness * 32 + lightness / 8;
    const int s = saturation * 32 + saturation / 8;
    const int m2 = l > 4095 ? l + s - l * s / 8191 : l * (s + 8191) / 8191;
    const int m1 = 2 * l - m2;
    const auto widen = [](int x) {
        x = std::clamp(x, 0, 8191);
        return static_cast<std::uint16_t>(x * 8 + ((x * 8) >> 13));
    };
    *out = ColorRecord::RGB48(widen(HlsChannel(m1, m2, hue + 120)), widen(HlsChannel(m1, m2, hue)),
                              widen(HlsChannel(m1, m2, hue - 120)));
}

}  // namespace colour
