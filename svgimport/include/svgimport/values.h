// Attribute values of the import: lengths with their units, lists of four
// numbers, transform lists, opacities and colours. Numbers are read by the
// SVG number grammar itself, never through the process's locale.
#ifndef SVGIMPORT_VALUES_H
#define SVGIMPORT_VALUES_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "svgimport/matrix.h"

namespace SVG {

// Unit kinds of a length.
namespace unit {
inline constexpr int32_t kNone = -2;  // nothing could be read
inline constexpr int32_t kUser = 0;
inline constexpr int32_t kHost = 1;  // converted to host units
inline constexpr int32_t kIn = 2;
inline constexpr int32_t kPx = 3;
inline constexpr int32_t kPercent = 4;
inline constexpr int32_t kMm = 5;
inline constexpr int32_t kCm = 6;
inline constexpr int32_t kPt = 7;
inline constexpr int32_t kEm = 8;
inline constexpr int32_t kEx = 9;
inline constexpr int32_t kPc = 10;
}  // namespace unit

struct WLength {
    double value = 0;
    int32_t kind = unit::kNone;
    bool operator==(const WLength&) const = default;
};

// Blank, tab, line feed and carriage return: the white space of attribute
// values (no comma).
constexpr bool IsWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Reads an SVG number at the start of `text`: an optional sign, digits with
// an optional fraction (or a fraction alone), an optional exponent. Returns
// the characters it took, 0 when no number starts there. Values beyond the
// range of a double come back as the largest finite one of their sign, and
// values too small for it as 0.
size_t ScanNumber(std::string_view text, double* value);

// A length at the start of `text`: optional white space, a number held in
// single precision, then its unit (below). `consumed` receives the
// characters read, unit included; without a number the length is 0 with
// kind unit::kNone and nothing is consumed.
//
// The unit is read from the two characters right after the number:
// "in", "px", "pt", "pc", "%", "mm", "cm", "em", "ex". After "p", "e" a
// second character that makes no unit gives kind unit::kNone; after "i",
// "m", "c", and anything else, user units. Only the
// characters of a unit found are consumed.
WLength ScanLength(std::string_view text, size_t* consumed);

// The whole text as one length (what follows it is not looked at).
WLength ParseLength(std::string_view text);

// Four numbers separated by white space or commas (a view box). Each is read
// by ParseLength; unless all four are plain numbers (user units) all four
// come back as 0 with kind unit::kNone. Numbers past the fourth are ignored.
std::array<WLength, 4> ParseNumberList(std::string_view text);

// A transform list: keywords with their numbers, cut at white space, "(",
// ")" and ",". The result is the product of the transforms in written
// order. matrix(a b c d e f); translate(tx [ty]); scale(sx [sy]);
// rotate(angle [cx cy]) about the origin or about (cx, cy); skewX(angle),
// skewY(angle); angles in degrees. A transform lacking its numbers, and any
// token that is not a keyword, adds the identity.
WMatrix ParseTransform(std::string_view text);

// The import's degree factor, slightly below pi / 180: rotate(90) leaves
// a = d at about 2.6e-14.
inline constexpr double kRadiansPerDegree = 0.017453292519943;

// Opacities (and stop positions) are 0..255, 255 opaque (or the end of a
// gradient vector).
inline constexpr uint16_t kOpaque = 255;

// An opacity (0..kOpaque) times a colour's own alpha (0..1).
inline uint16_t WithAlpha(uint16_t opacity, double alpha) {
    if (!(alpha < 1)) return opacity;
    if (!(alpha > 0)) return 0;
    return static_cast<uint16_t>(opacity * alpha + 0.5);
}

// A fraction written as a plain number (1 is the whole) or a percentage, as
// 0..255 rounded half away from zero and clamped; false, with `out` left as
// it was, for any other unit or no number. Opacities and stop offsets.
bool OpacityFromText(std::string_view text, uint16_t* out);
bool StopOffsetFromText(std::string_view text, uint16_t* out);

// A computed style value: a double with its unit code.
namespace style_unit {
inline constexpr uint32_t kNone = 0;
inline constexpr uint32_t kPx = 1;
inline constexpr uint32_t kPercent = 2;
inline constexpr uint32_t kNumber = 3;
}  // namespace style_unit
struct WStyleNumber {
    double value = 0;
    uint32_t unit = style_unit::kNone;
    bool operator==(const WStyleNumber&) const = default;
};

// An opacity from a computed value: a number clamped to 0..1, or a percent
// clamped to 0..100, as 0..255; false, with `out` unchanged, for other units.
bool OpacityFromStyle(WStyleNumber value, uint16_t* out);

struct WColour {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    bool operator==(const WColour&) const = default;
};

// A platform colour value 0x00BBGGRR (red in the low byte).
WColour ColourFromPlatform(uint32_t value);

// A gradient stop's colour and opacity from its computed stop-color (a
// platform colour value, none when the stop has no colour) and stop-opacity
// (none when not given): a stop without a colour is opaque black; an
// opacity in another unit leaves the stop opaque.
struct WStopValue {
    WColour colour;
    uint16_t opacity = kOpaque;
    bool operator==(const WStopValue&) const = default;
};
WStopValue StopValueFromStyle(std::optional<uint32_t> stopColour, std::optional<WStyleNumber> stopOpacity);

// Rounds half away from zero.
double RoundHalfAway(double v);

}  // namespace SVG

#endif  // SVGIMPORT_VALUES_H
