// RGB <-> hue, saturation, brightness in integer and 16.16 fixed-point
// arithmetic. The compositing kernels call these per pixel for the hue,
// saturation, colour and brightness merge modes, so they allocate nothing.
#pragma once

#include <cstdint>

#include "colour/color_record.h"

namespace colour {

// Channels 0..255; hue in degrees 0..359.
void ClrRGBValuesToHSB(std::uint16_t* hue, std::uint16_t* saturation, std::uint16_t* brightness,
                       int red, int green, int blue);
void ClrHSBValuesToRGB(std::uint16_t* red, std::uint16_t* green, std::uint16_t* blue,
                       int hue, int saturation, int brightness);

// Record forms: a model-5 input gives a model-6 output and back; an input of
// any other model gives model 0 with the channel bytes of `out` untouched.
void ClrRGBToHSB(ColorRecord* out, const ColorRecord* in);
void ClrHSBToRGB(ColorRecord* out, const ColorRecord* in);

}  // namespace colour
