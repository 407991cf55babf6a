// RGB <-> HSB by the engine's fixed-point rules (see hsb.h), on 8-bit and
// 16-bit channels. The 16-bit forms run the same rules in 64-bit arithmetic,
// where the 16.16 products of 16-bit channels no longer fit 32 bits.
#include <algorithm>

#include "colour/convert.h"
#include "colour/hsb.h"

namespace colour {
namespace {

// The hue in degrees of a colour with max > min, in 16.16 fixed point. Ties
// for the maximum go to red first, then green.
template <typename Int>
int FixedPointHue(Int red, Int green, Int blue, Int max, Int min) {
    const Int delta = max - min;
    const Int rc = (max - red) * 65536 / delta;
    const Int gc = (max - green) * 65536 / delta;
    const Int bc = (max - blue) * 65536 / delta;
    Int h6;
    if (red == max) {
        h6 = bc - gc;
    } else if (green == max) {
        h6 = 2 * 65536 + rc - bc;
    } else {
        h6 = 4 * 65536 + gc - rc;
    }
    // The rounded sextant position is taken as a signed 16-bit value.
    int h = static_cast<std::int16_t>(static_cast<std::uint16_t>((h6 * 60 + 32768) >> 16));
    return h < 0 ? h + 360 : h;
}

// The channels of a saturated colour at brightness v (in the channels' own width).
template <typename Int>
void FixedPointChannels(int hue, int saturation, Int v, Int* r, Int* g, Int* b) {
    const Int s = static_cast<Int>(saturation) * 65536 / 255;
    const Int f = static_cast<Int>(hue % 60) * 65536 / 60;
    const int sector = (hue / 60) % 6;
    const Int p = ((65536 - s) * v + 32768) >> 16;
    const Int q = ((65536 - (((f / 2) * (s / 2)) >> 14)) * v + 32768) >> 16;
    const Int t = ((65536 - ((((65536 - f) / 2) * (s / 2)) >> 14)) * v + 32768) >> 16;
    // clang-format off
    switch (sector) {
        case 0: *r = v; *g = t; *b = p; break;
        case 1: *r = q; *g = v; *b = p; break;
        case 2: *r = p; *g = v; *b = t; break;
        case 3: *r = p; *g = q; *b = v; break;
        case 4: *r = t; *g = p; *b = v; break;
        default: *r = v; *g = p; *b = q; break;
    }
    // clang-format on
}

}  // namespace

void ClrRGBValuesToHSB(std::uint16_t* hue, std::uint16_t* saturation, std::uint16_t* brightness, int red,
                       int green, int blue) {
    const int max = std::max({red, green, blue});
    const int min = std::min({red, green, blue});
    *brightness = static_cast<std::uint16_t>(max);
    const int s = max == 0 ? 0 : (max - min) * 255 / max;
    *saturation = static_cast<std::uint16_t>(s);
    *hue = s == 0 ? 0 : static_cast<std::uint16_t>(FixedPointHue(red, green, blue, max, min));
}

void ClrHSBValuesToRGB(std::uint16_t* red, std::uint16_t* green, std::uint16_t* blue, int hue, int saturation,
                       int brightness) {
    int r = brightness, g = brightness, b = brightness;
    if (saturation != 0) FixedPointChannels(hue, saturation, brightness, &r, &g, &b);
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

void ClrRGB48ToHSB(ColorRecord* out, const ColorRecord* in) {
    if (in->Model() != kModelRGB48) {
        out->BeginResult(kModelNone);
        return;
    }
    const std::int64_t red = in->Red16(), green = in->Green16(), blue = in->Blue16();
    const std::int64_t max = std::max({red, green, blue});
    const std::int64_t min = std::min({red, green, blue});
    const std::int64_t s = max == 0 ? 0 : (max - min) * 255 / max;
    const int hue = s == 0 ? 0 : FixedPointHue(red, green, blue, max, min);
    *out = ColorRecord::HSB(static_cast<std::uint16_t>(hue), static_cast<std::uint8_t>(s),
                            static_cast<std::uint8_t>(max >> 8));
}

void ClrHSBToRGB48(ColorRecord* out, const ColorRecord* in) {
    if (in->Model() != kModelHSB) {
        out->BeginResult(kModelNone);
        return;
    }
    const std::int64_t v = WidenChannel(in->HsbBrightness());
    std::int64_t r = v, g = v, b = v;
    if (in->HsbSaturation() != 0) FixedPointChannels(in->Hue(), in->HsbSaturation(), v, &r, &g, &b);
    *out = ColorRecord::RGB48(static_cast<std::uint16_t>(r), static_cast<std::uint16_t>(g),
                              static_cast<std::uint16_t>(b));
}

}  // namespace colour
