// Between colours and pixels: a colour in an image's model or as a palette
// index, one pixel read back as a colour, and one pixel painted with a merge
// mode and an opacity.
#pragma once

#include <cstdint>

#include "colour/color_record.h"
#include "raster/image.h"

namespace raster {

struct RIPPalette;
struct RIPRasterState;

// The colour in the model of the image's pixels (RGB for paletted images):
// copied when it already is, else converted. An image without a model leaves
// out as it was. 1 when out holds a colour of that model, else 0.
int RIPColorToImageModel(colour::ColorRecord* out, const RIPImage* image, const colour::ColorRecord* colour);
// The colour as an index of the palette (model 13, palette kind 5, the index
// as a u16 at byte 8): a model-13 colour keeps its index, any other is taken
// to RGB and its nearest entry found. 1, or 0 when it has no RGB value.
int RIPColorToPaletteIndex(colour::ColorRecord* out, RIPPalette* palette, const colour::ColorRecord* colour);
// A model-13 colour becomes the RGB colour of its entry (an index past the
// entries reads entry 0); any other colour is converted to RGB. 1 or 0.
// The value an image stores for a colour: a palette index for paletted
// images, else the colour in the image's model. 1 or 0 as above.
int RIPColorToImageValue(colour::ColorRecord* out, const RIPImage* image, const colour::ColorRecord* colour);
int RIPPaletteIndexToColor(colour::ColorRecord* out, const RIPPalette* palette,
                           const colour::ColorRecord* colour);

// The index into the 16-colour palette nearest to a colour among its dark
// entry, its bright entry and silver (8).
std::uint8_t RIPStd16PaletteIndex(int red, int green, int blue);
// 511 squares v·v for v = -255..255; the table is read from its middle.
void RIPInitSquareTable(std::uint32_t* table);
// RIPStd16PaletteIndex with its squares read from a table RIPInitSquareTable filled.
std::uint8_t RIPBuildColorLookup(const std::uint32_t* squareTable, int red, int green, int blue);

// Pixel (x, y) as a colour: RGB, Lab, 16-bit RGB, 16-bit grey and CMYK pixels
// in their own models; grey, coverage, bilevel and paletted pixels as RGB.
// Outside the image, or when a lock fails, 0 and RGB black.
int RIPGetPixelColor(colour::ColorRecord* out, const RIPImage* image, std::int32_t x, std::int32_t y);

// One pixel read under a read lock of its slot: 1, or 0 outside the image,
// for a type the reader does not serve, or when the lock fails.
int RIPReadPixelBit(const RIPImage* image, std::int32_t x, std::int32_t y,
                    std::uint8_t* bit);  // types 6, 10 at 1 bit
int RIPReadPixelNibble(const RIPImage* image, std::int32_t x, std::int32_t y,
                       std::uint8_t* index);  // 10 at 4 bits
int RIPReadPixelByte(const RIPImage* image, std::int32_t x, std::int32_t y,
                     std::uint8_t* value);  // 5, 99, 10 at 8 bits
int RIPReadPixel24(const RIPImage* image, std::int32_t x, std::int32_t y, std::uint8_t* bytes);  // 1: b, g, r
int RIPReadPixelLab(const RIPImage* image, std::int32_t x, std::int32_t y,
                    std::uint8_t* bytes);  // 11: L, a, b
int RIPReadPixelCMYK(const RIPImage* image, std::int32_t x, std::int32_t y, std::uint8_t* bytes);  // 3
int RIPReadPixel48(const RIPImage* image, std::int32_t x, std::int32_t y,
                   std::uint16_t* samples);  // 12: b, g, r
int RIPReadPixel16(const RIPImage* image, std::int32_t x, std::int32_t y, std::uint16_t* sample);  // 14

// RIPSetPixel flags, beside a merge mode in the low 16 bits (as RIPSetImageData's).
// Paints pixel (x, y) with the merge mode and opacity. Points outside the
// image, or (unless kIgnoreMask) inside the mask's bounds but outside its
// opaque runs, or (unless kIgnoreLinkedImage) where the linked plane holds 0,
// are left alone with result 1; elsewhere the linked plane's byte is the
// pixel's coverage. 0 when the pixel cannot be painted (a refused mode or
// format, a colour without a value in the image's model, a failed lock).
int RIPSetPixel(RIPImage* image, std::int32_t x, std::int32_t y, const colour::ColorRecord* colour,
                std::uint8_t opacity, std::uint32_t flags);
// Maps (x, y) through the state, takes the colour to the image's model and
// paints it with the state's opacity and merge mode; 0 for a null argument.
int RIPSetSolidColour(RIPRasterState* state, RIPImage* image, const colour::ColorRecord* colour,
                      std::int32_t x, std::int32_t y);
// The colour at (x, y), mapped through the state when one is given.
int RIPResolveColour(colour::ColorRecord* out, RIPRasterState* state, const RIPImage* image, std::int32_t x,
                     std::int32_t y);

}  // namespace raster
