// The dithering reductions: a block of 24-bit RGB, 8-bit grey or 8-bit
// paletted rows reduced to 1-bit rows or to palette indices by error
// diffusion, threshold matrices or ordered mapping. Each paces progress by
// rows and answers 1, or 0 when the progress callback asks to stop (or a
// member cannot get what it needs: a threshold table, a palette cache).
#pragma once

#include <cstdint>

#include "convert_support.h"
#include "dither_state.h"

namespace raster {
struct RIPPalette;
struct RIPPalCache;
}  // namespace raster

namespace raster::convert {

// What a member is given. rows.dstBit places the first destination pixel in
// its byte (1-bit rows; 4 for a 4-bit row starting on a low nibble). x0, y0
// are the absolute destination position of the first pixel: threshold
// matrices are laid from them, so a rectangle converted in pieces gets the
// same pattern as one converted whole.
struct RIPReduceArgs {
    RIPDitherState* dither = nullptr;
    std::int16_t* errors = nullptr;  // RIPAllocErrorRows(width), for the error-diffusion members
    RIPRowBlock rows;
    RIPPalette* dstPalette = nullptr;
    const RIPPalette* srcPalette = nullptr;  // the paletted sources' palette
    std::int32_t x0 = 0;
    std::int32_t y0 = 0;
    std::int32_t dstBits = 8;  // the depth RIPMapRGB24ToPal and RIPMapGray8ToPal write
};

using RIPReduction = int (*)(RIPRasterState* state, const RIPReduceArgs& args);

// Error diffusion (method 2).
int RIPDiffuseRGB24ToBilevel(RIPRasterState* state, const RIPReduceArgs& args);
int RIPDiffuseGray8ToBilevel(RIPRasterState* state, const RIPReduceArgs& args);
int RIPDiffusePal8ToBilevel(RIPRasterState* state, const RIPReduceArgs& args);
int RIPDiffuseRGB24ToStdPal8(RIPRasterState* state, const RIPReduceArgs& args);
int RIPDiffuseGray8ToStdPal8(RIPRasterState* state, const RIPReduceArgs& args);
int RIPDiffuseRGB24ToStdPal4(RIPRasterState* state, const RIPReduceArgs& args);
int RIPDiffuseGray8ToStdPal4(RIPRasterState* state, const RIPReduceArgs& args);
int RIPDiffuseRGB24ToPal8(RIPRasterState* state, const RIPReduceArgs& args);
int RIPDiffuseGray8ToPal8(RIPRasterState* state, const RIPReduceArgs& args);
// Threshold matrices to 1 bit (methods 3 to 6, the state's descriptor).
int RIPHalftoneRGB24ToBilevel(RIPRasterState* state, const RIPReduceArgs& args);
int RIPHalftoneGray8ToBilevel(RIPRasterState* state, const RIPReduceArgs& args);
int RIPHalftonePal8ToBilevel(RIPRasterState* state, const RIPReduceArgs& args);
// Method 3 into the standard 236-colour palette.
int RIPMapRGB24ToStdPal8(RIPRasterState* state, const RIPReduceArgs& args);
int RIPMapGray8ToStdPal8(RIPRasterState* state, const RIPReduceArgs& args);
// The Bayer matrix into the 16-colour palette, as nibbles or bytes.
int RIPOrderedRGB24ToPal4(RIPRasterState* state, const RIPReduceArgs& args);
int RIPOrderedGray8ToPal4(RIPRasterState* state, const RIPReduceArgs& args);
int RIPOrderedRGB24ToPal8(RIPRasterState* state, const RIPReduceArgs& args);
int RIPOrderedGray8ToPal8(RIPRasterState* state, const RIPReduceArgs& args);
// Method 3 into any palette at 1, 4 or 8 bits: the nearest entry, or its neighbour
// where the Bayer threshold says the nearest is too far.
int RIPMapRGB24ToPal(RIPRasterState* state, const RIPReduceArgs& args);
int RIPMapGray8ToPal(RIPRasterState* state, const RIPReduceArgs& args);

// The 16-colour index of (red, green, blue) repeated in both nibbles.
std::uint8_t RIPStdPal4Nearest(int c0, int c1, int c2);
// The grey of entry i of the standard 236-colour palette.
std::uint8_t RIPStdPalIndexToGray(int index);
// Copies count bits, each inverted, between bit positions (counted from the
// most significant bit of each row's first byte); other bits stay.
void RIPCopyBitRow(std::uint8_t* dst, std::uint32_t dstBit, const std::uint8_t* src, std::uint32_t srcBit,
                   std::uint32_t count);

// Row steps shared with the whole-rectangle converters. errors is the
// RIPAllocErrorRows buffer of the width.
//
// One row of greys diffused to bits at dstBit of dst (left to right, the
// 1-bit rule: set at 128 and above, no clamp).
void RIPDiffuseGreyRowToBits(const std::uint8_t* grey, std::int32_t width, std::int16_t* errors,
                             std::uint8_t* dst, std::uint32_t dstBit);
// One row of (blue, green, red) pixels diffused to indices (a byte each) of
// the standard 16-colour palette: the index chosen from the clamped levels,
// the error kept from the unclamped ones, left to right.
void RIPDiffuseRowToStdPal4(const std::uint8_t* bgr, std::int32_t width, std::int16_t* errors,
                            std::uint8_t* indices, const RIPPalette* palette);
// One row of (blue, green, red) pixels diffused to indices of the palette
// through its cache; odd rows run right to left.
void RIPDiffuseRowToPalette(const std::uint8_t* bgr, std::int32_t width, std::int16_t* errors,
                            std::uint8_t* indices, bool reverse, const RIPPalette* palette,
                            RIPPalCache* cache);

}  // namespace raster::convert
