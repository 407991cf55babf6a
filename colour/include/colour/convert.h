// Conversion of single colours between the colour models.
//
// ClrConvertColor resolves references (catalogue inks, Hexachrome entries,
// user inks, tinted spot colours) into plain colours and converts to the
// target model, going through RGB where no direct converter exists. Colours
// that involve CMYK or Lab go through one-pixel row conversions (rows.h), so
// they follow colour management when it is on.
//
// Each one-step converter takes (output, input): an input of the wrong model
// gives a record of model 0 (palette kind 5, bytes 4..7 zero, channels left
// as they were); otherwise it writes the model, palette kind 5, bytes 4..7
// zero and the channels. Output and input may be the same record.
#pragma once

#include "colour/color_record.h"
#include "colour/hsb.h"

namespace colour {

// Converts `in` to model `target` (1..24). Answers true when `out` received a
// colour; false when the target or the pair is one that leaves `out` as it
// was, or when a step failed (a reference that does not resolve, a pair with
// no rule): `out` is then a model-0 record or untouched.
bool ClrConvertColor(ColorRecord* out, int target, const ColorRecord* in);

// Rounds a·b/c to the nearest integer, halves away from zero; -1 when c is 0.
int ClrMulDiv(int a, int b, int c);

// CMYK percent, CMYK, CMY.
void ClrCMYKPercentToCMYK(ColorRecord* out, const ColorRecord* in);  // 2 -> 3
void ClrCMYKToCMYKPercent(ColorRecord* out, const ColorRecord* in);  // 3, 17 -> 2
void ClrCMYToRGB(ColorRecord* out, const ColorRecord* in);           // 4 -> 5
void ClrRGBToCMY(ColorRecord* out, const ColorRecord* in);           // 5 -> 4
void ClrCMYToRGB48(ColorRecord* out, const ColorRecord* in);         // 4 -> 23
void ClrRGB48ToCMY(ColorRecord* out, const ColorRecord* in);         // 23 -> 4
void ClrCMYKToRGB48(ColorRecord* out, const ColorRecord* in);        // 3, 17 -> 23
void ClrRGB48ToCMYK(ColorRecord* out, const ColorRecord* in);        // 23 -> 3

// Widths.
void ClrRGBToRGB48(ColorRecord* out, const ColorRecord* in);    // 5 -> 23
void ClrRGB48ToRGB(ColorRecord* out, const ColorRecord* in);    // 23 -> 5
void ClrGreyToGrey16(ColorRecord* out, const ColorRecord* in);  // 9 -> 24
void ClrGrey16ToGrey(ColorRecord* out, const ColorRecord* in);  // 24 -> 9

// Grey, black and white.
void ClrRGBToGrey(ColorRecord* out, const ColorRecord* in);      // 5 -> 9
void ClrRGBToGrey16(ColorRecord* out, const ColorRecord* in);    // 5 -> 24
void ClrRGB48ToGrey(ColorRecord* out, const ColorRecord* in);    // 23 -> 9
void ClrRGB48ToGrey16(ColorRecord* out, const ColorRecord* in);  // 23 -> 24
void ClrGreyToBW(ColorRecord* out, const ColorRecord* in);       // 9 -> 8
void ClrBWToGrey(ColorRecord* out, const ColorRecord* in);       // 8 -> 9
void ClrBWToRGB(ColorRecord* out, const ColorRecord* in);        // 8 -> 5
void ClrBWToRGB48(ColorRecord* out, const ColorRecord* in);      // 8 -> 23
void ClrGreyToRGB(ColorRecord* out, const ColorRecord* in);      // 9 -> 5
void ClrGreyToRGB48(ColorRecord* out, const ColorRecord* in);    // 9 -> 23
void ClrGrey16ToRGB(ColorRecord* out, const ColorRecord* in);    // 24 -> 5
void ClrGrey16ToRGB48(ColorRecord* out, const ColorRecord* in);  // 24 -> 23
void ClrHSBToGrey(ColorRecord* out, const ColorRecord* in);      // 6 -> 9

// HSB and HLS on 16-bit channels, and HLS.
void ClrRGB48ToHSB(ColorRecord* out, const ColorRecord* in);  // 23 -> 6
void ClrHSBToRGB48(ColorRecord* out, const ColorRecord* in);  // 6 -> 23
void ClrRGBToHLS(ColorRecord* out, const ColorRecord* in);    // 5 -> 7
void ClrHLSToRGB(ColorRecord* out, const ColorRecord* in);    // 7 -> 5
void ClrRGB48ToHLS(ColorRecord* out, const ColorRecord* in);  // 23 -> 7
void ClrHLSToRGB48(ColorRecord* out, const ColorRecord* in);  // 7 -> 23

// YIQ.
void ClrRGBToYIQ(ColorRecord* out, const ColorRecord* in);    // 5 -> 11
void ClrRGB48ToYIQ(ColorRecord* out, const ColorRecord* in);  // 23 -> 11
void ClrYIQToRGB(ColorRecord* out, const ColorRecord* in);    // 11 -> 5
void ClrYIQToRGB48(ColorRecord* out, const ColorRecord* in);  // 11 -> 23

// Lab and XYZ.
void ClrLabToLabOffset(ColorRecord* out, const ColorRecord* in);    // 12 -> 18
void ClrLabOffsetToLab(ColorRecord* out, const ColorRecord* in);    // 18 -> 12
void ClrRGBToLabOffset(ColorRecord* out, const ColorRecord* in);    // 5 -> 18
void ClrRGB48ToLabOffset(ColorRecord* out, const ColorRecord* in);  // 23 -> 18
void ClrRGBToLab(ColorRecord* out, const ColorRecord* in);          // 5 -> 12
void ClrRGB48ToLab(ColorRecord* out, const ColorRecord* in);        // 23 -> 12
void ClrLabOffsetToRGB(ColorRecord* out, const ColorRecord* in);    // 18 -> 5
void ClrLabOffsetToRGB48(ColorRecord* out, const ColorRecord* in);  // 18 -> 23
void ClrLabToRGB(ColorRecord* out, const ColorRecord* in);          // 12 -> 5
// X, Y and Z scaled by 100 and truncated into bytes 8, 9, 10 (clamped to 0..255).
void ClrLabToXYZ(ColorRecord* out, const ColorRecord* in);  // 12 -> 19

}  // namespace colour
