// Single colours through the row conversions: one pixel, one row, on the
// channel bytes of the records, so that single colours follow colour
// management as images do.
#pragma once

#include <cstdint>

namespace colour::detail {

// Each answers false when the row conversion failed; the output is then unwritten.
bool OnePixelRGBToCMYK(const std::uint8_t bgr[3], std::uint8_t cmyk[4]);
bool OnePixelLabToCMYK(const std::uint8_t lab[3], std::uint8_t cmyk[4]);
bool OnePixelCMYKToRGB(const std::uint8_t cmyk[4], std::uint8_t bgr[3]);
bool OnePixelCMYKToLab(const std::uint8_t cmyk[4], std::uint8_t lab[3]);
bool OnePixelLabToRGB(const std::uint8_t lab[3], std::uint8_t bgr[3]);
bool OnePixelRGBToLab(const std::uint8_t bgr[3], std::uint8_t lab[3]);

}  // namespace colour::detail
