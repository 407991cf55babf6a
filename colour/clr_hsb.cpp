// RGB <-> HSB by the engine's fixed-point rules (see hsb.h), on 8-bit and
// 16-bit channels.
#include "colour/convert.h"
#include "colour/hsb.h"

#include <algorithm>

namespace colour {

void ClrRGBValuesToHSB(std::uint16_t* hue, std::uint16_t* saturation, std::uint16_t* brightness,
                       int red, int green, int blue) {
    const int max = std::max({red, green, blue});
    const int min = std::min({red, green, blue});
    *brightness = static_cast<std::uint16_t>(max);
    const int s = max == 0 ? 0 : (max - min) * 255 / max;
    *saturation = static_cast<std::uint16_t>(s);
    if (s == 0) {
        *hue = 0;
        return;
    }
    const int delta = max - min;
    const int rc = (max - red) * 65536 / delta;
    const int gc = (max - green) * 65536 / delta;
    const int bc = (max - blue) * 65536 / delta;
    // Ties for the maximum go to red first, then green.
    int h6;
    if (red == max) {
        h6 = bc - gc;
    } else if (green == max) {
        h6 = 2 * 65536 + rc - bc;
    } else {
        h6 = 4 * 65536 + gc - rc;
    }
    // The rounded sextant position is taken as a signed 16-bit value.
    int h = static_cast<std::int16_t>(static_cast<std::uint16_t>((h6 * 60 + 32768) >> 16));
    if (h < 0) {
        h += 360;
    }
    *hue = static_cast<std::uint16_t>(h);
}

void ClrHSBValuesToRGB(std::uint16_t* red, std::uint16_t* green, std::uint16_t* blue,
                       int hue, int saturation, int brightness) {
    const int v = brightness;
    if (saturation == 0) {
        *red = *green = *blue = static_cast<std::uint16_t>(v);
        return;
    }
    const int s = saturation * 65536 / 255;
    const int f = (hue % 60) * 65536 / 60;
    const int sector = (hue / 60) % 6;
    const int p = ((65536 - s) * v + 32768) >> 16;
    const int q = ((65536 - (((f / 2) * (s / 2)) >> 14)) * v + 32768) >> 16;
    const int t = ((65536 - ((((65536 - f) / 2) * (s / 2)) >> 14)) * v + 32768) >> 16;
    int r = v, g = v, b = v;
    switch (sector) {
        case 0: r = v; g = t; b = p; break;
        case 1: r = q; g = v; b = p; break;
        case 2: r = p; g = v; b = t; break;
        case 3: r = p; g = q; b = v; break;
        case 4: r = t; g = p; b = v; break;
        default: r = v; g = p; b = q; break;
    }
    *red = static_cast<std::uint16_t>(r);
    *green = static_cast<std::uint16_t>(g);
    *blue = static_cast<std::uint16_t>(b);
}

void ClrRGBToHSB(ColorRecord* out, const ColorRecord* in) {
    if (in->Model() != kModelRGB) {
        out->BeginResult(kModelNone);
        return;
    }
    std::uint16_t h, s, b;
    ClrRGBValuesToHSB(&h, &s, &b, in->Red(), in->Green(), in->Blue());
    *out = ColorRecord::HSB(h, static_cast<std::uint8_t>(s), static_cast<std::uint8_t>(b));
}

void ClrHSBToRGB(ColorRecord* out, const ColorRecord* in) {
    if (in->Model() != kModelHSB) {
        out->BeginResult(kModelNone);
        return;
    }
    std::uint16_t r, g, b;
    ClrHSBValuesToRGB(&r, &g, &b, in->Hue(), in->At(10), in->At(11));
    *out = ColorRecord::RGB(static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                            static_cast<std::uint8_t>(b));
}

}  // namespace colour

// The 16-bit forms work on the same rules in 64-bit arithmetic, where the
// 16.16 products of 16-bit channels no longer fit 32 bits.
namespace colour {

void ClrRGB48ToHSB(ColorRecord* out, const ColorRecord* in) {
    if (in->Model() != kModelRGB48) {
        out->BeginResult(kModelNone);
        return;
    }
    const std::int64_t red = in->Red16(), green = in->Green16(), blue = in->Blue16();
    const std::int64_t max = std::max({red, green, blue});
    const std::int64_t min = std::min({red, green, blue});
    const std::int64_t s = max == 0 ? 0 : (max - min) * 255 / max;
    int hue = 0;
    if (s != 0) {
        const std::int64_t delta = max - min;
        const std::int64_t rc = (max - red) * 65536 / delta;
        const std::int64_t gc = (max - green) * 65536 / delta;
        const std::int64_t bc = (max - blue) * 65536 / delta;
        std::int64_t h6;
        if (red == max) {
            h6 = bc - gc;
        } else if (green == max) {
            h6 = 2 * 65536 + rc - bc;
        } else {
            h6 = 4 * 65536 + gc - rc;
        }
        hue = static_cast<std::int16_t>(static_cast<std::uint16_t>((h6 * 60 + 32768) >> 16));
        if (hue < 0) hue += 360;
    }
    *out = ColorRecord::HSB(static_cast<std::uint16_t>(hue), static_cast<std::uint8_t>(s),
                            static_cast<std::uint8_t>(max >> 8));
}

void ClrHSBToRGB48(ColorRecord* out, const ColorRecord* in) {
    if (in->Model() != kModelHSB) {
        out->BeginResult(kModelNone);
        return;
    }
    const int hue = in->Hue();
    const int saturation = in->HsbSaturation();
    const std::int64_t v = WidenChannel(in->HsbBrightness());
    if (saturation == 0) {
        *out = ColorRecord::RGB48(static_cast<std::uint16_t>(v), static_cast<std::uint16_t>(v),
                                  static_cast<std::uint16_t>(v));
        return;
    }
    const std::int64_t s = saturation * 65536 / 255;
    const std::int64_t f = (hue % 60) * 65536 / 60;
    const int sector = (hue / 60) % 6;
    const std::int64_t p = ((65536 - s) * v + 32768) >> 16;
    const std::int64_t q = ((65536 - (((f / 2) * (s / 2)) >> 14)) * v + 32768) >> 16;
    const std::int64_t t = ((65536 - ((((65536 - f) / 2) * (s / 2)) >> 14)) * v + 32768) >> 16;
    std::int64_t r, g, b;
    switch (sector) {
        case 0: r = v; g = t; b = p; break;
        case 1: r = q; g = v; b = p; break;
        case 2: r = p; g = v; b = t; break;
        case 3: r = p; g = q; b = v; break;
        case 4: r = t; g = p; b = v; break;
        default: r = v; g = p; b = q; break;
    }
    *out = ColorRecord::RGB48(static_cast<std::uint16_t>(r), static_cast<std::uint16_t>(g),
                              static_cast<std::uint16_t>(b));
}

}  // namespace colour
