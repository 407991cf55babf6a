// The shading of table and button borders: a colour made lighter or darker
// in a floating-point hue-lightness-saturation model, keeping its hue and
// saturation.
#pragma once

#include <cstdint>

namespace markup::style {

// Factors of the light and the dark edge of a raised border.
inline constexpr double kLightShade = 1.65;
inline constexpr double kDarkShade = 0.85;

// `colour` (0x00BBGGRR) with its lightness times `factor` (capped at 1);
// the top byte of the answer is 0.
std::uint32_t ShadeColour(std::uint32_t colour, double factor);

}  // namespace markup::style
