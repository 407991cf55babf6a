// Opacities, stop offsets and colours: fractions of 255 from attribute texts
// and computed values, and platform colour values as colour bytes.
#include <algorithm>

#include "svgimport/values.h"

namespace SVG {
namespace {

// Clamped to 0..255; a value that is not a number counts as 0.
uint16_t Fraction255(double v) {
    const double r = RoundHalfAway(v * 255);
    if (!(r > 0)) return 0;
    return r >= kOpaque ? kOpaque : static_cast<uint16_t>(r);
}

bool FractionFromText(std::string_view text, uint16_t* out) {
    const WLength length = ParseLength(text);
    if (length.kind == unit::kPercent) {
        *out = Fraction255(length.value * 0.01);
        return true;
    }
    if (length.kind == unit::kUser) {
        *out = Fraction255(length.value);
        return true;
    }
    return false;
}

}  // namespace

bool OpacityFromText(std::string_view text, uint16_t* out) {
    return out != nullptr && FractionFromText(text, out);
}

bool StopOffsetFromText(std::string_view text, uint16_t* out) {
    return out != nullptr && FractionFromText(text, out);
}

bool OpacityFromStyle(WStyleNumber value, uint16_t* out) {
    if (out == nullptr) return false;
    // The style engine gives a bare 0 as a zero length.
    if (value.unit == style_unit::kNumber || (value.unit == style_unit::kPx && value.value == 0)) {
        if (!(value.value > 0)) {
            *out = 0;
        } else if (value.value >= 1) {
            *out = kOpaque;
        } else {
            *out = static_cast<uint16_t>(value.value * 255 + 0.5);
        }
        return true;
    }
    if (value.unit == style_unit::kPercent) {
        *out = Fraction255(std::min(value.value, 100.0) * 0.01);
        return true;
    }
    return false;
}

WColour ColourFromPlatform(uint32_t value) {
    return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16)};
}

WStopValue StopValueFromStyle(std::optional<uint32_t> stopColour, std::optional<WStyleNumber> stopOpacity) {
    WStopValue stop;
    if (!stopColour) return stop;
    stop.colour = ColourFromPlatform(*stopColour);
    if (stopOpacity) OpacityFromStyle(*stopOpacity, &stop.opacity);
    return stop;
}

}  // namespace SVG
