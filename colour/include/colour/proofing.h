// Row operations of colour management: a conversion kind evaluated on rows
// into RGB or Lab or from CMYK, with an optional gamut warning that paints
// the pixels the printer cannot reproduce; the gamut check; rows through a
// kind's lookup table; rows shown on the monitor as the printer renders
// them; and rows proofed through the printer back into the working space.
//
// Layout codes of the evaluations (not those of rows.h): 0 RGB (blue, green,
// red), 1 Lab, 3 CMYK, 4 48-bit RGB. ClrEvalRowsToRGB also reads 5 as RGB
// and every other code as Lab; ClrEvalRowsToLab reads 2 as RGB.
//
// A gamut mask is one byte a pixel, rows of width bytes; a nonzero byte
// marks a pixel outside the printer's gamut. With colour management off,
// or without the kind's transform, an evaluation answers 0 and leaves the
// destination as it was.
#pragma once

#include <cstdint>

#include "colour/kinds_table.h"
#include "colour/managed_rows.h"

namespace colour {

inline constexpr int kEvalLayoutRGB = 0;
inline constexpr int kEvalLayoutLab = 1;
inline constexpr int kEvalLayoutCMYK = 3;
inline constexpr int kEvalLayoutRGB48 = 4;

int ClrEvalRowsToRGB(std::uint8_t* dst, int dstStride, const std::uint8_t* src, int srcStride, int layout,
                     int width, int rows, int kind, int gamut);
int ClrEvalRowsToLab(std::uint8_t* dst, int dstStride, const std::uint8_t* src, int srcStride, int layout,
                     int width, int rows, int kind, int gamut);
// From CMYK rows into output 0 RGB, 1 Lab, any other 48-bit RGB.
int ClrEvalCMYKRows(std::uint8_t* dst, int dstStride, const std::uint8_t* src, int srcStride, int output,
                    int width, int rows, int kind, int gamut);
// RGB or Lab rows (any layout other than 0; 48-bit rows are narrowed
// first) evaluated into CMYK rows: the printer's CMYK kinds.
int ClrEvalRowsToCMYK(std::uint8_t* dst, int dstStride, const std::uint8_t* src, int srcStride, int layout,
                      int width, int rows, int kind);

// Fills the mask from RGB rows (layout 0) or Lab rows (any other): 1 when
// the library filled it; 0 with an all-zero mask otherwise. It does not
// initialise the library.
int ClrGamutMask(std::uint8_t* mask, const std::uint8_t* src, int layout, int width, int rows, int srcStride);

// Paints the pixels of RGB rows whose mask byte is nonzero in the gamut
// colour of the settings, shaded by the pixel's brightness as far as the
// gamut blend says.
void ClrGamutOverlay(std::uint8_t* dst, int dstStride, const std::uint8_t* mask, int width, int rows);

// RGB rows through the kind's RGB lookup table (built when missing): 1, or
// 0 when there is no table.
int ClrLookupRGBRows(std::uint8_t* dst, int dstStride, const std::uint8_t* src, int srcStride, int width,
                     int rows, int kind, int gamut);
// CMYK rows to RGB through the kind's CMYK lookup table: 1, or 0 when there
// is no table.
int ClrLookupCMYKRows(std::uint8_t* dst, int dstStride, const std::uint8_t* src, int srcStride, int width,
                      int rows, int kind, int gamut);

// Evaluates a lookup table's sample grid through the kind's transform:
// RGB points for kinds 1, 4, 5, 11, 12; CMYK points for 7, 8, 14, 15, and
// for 6, 13, 21, 22 when the printer is a CMYK device.
int ClrEvaluateGrid(std::uint8_t* output, int kind, const std::uint8_t* grid, int width, int rows);
// Builds the kind's lookup table when its devices are on: 1 when it exists
// or the kind needs none.
int ClrEnsureLookupTable(int kind);

// Rows shown on the monitor as the printer renders them: mode 0 or 1,
// source layout 0 RGB, 1 Lab, 2 48-bit RGB (the layout codes of rows.h).
int ClrDisplayRowsWithProof(const ClrKindsTable* kinds, int mode, int sourceLayout, const RowBlock& rows,
                            int proof);
// Rows proofed through the printer back into the working space (RGB and
// 48-bit sources, into RGB) or Lab (Lab sources).
int ClrProofRowsInWorkingSpace(const ClrKindsTable* kinds, int mode, int sourceLayout, const RowBlock& rows,
                               int proof);

}  // namespace colour
