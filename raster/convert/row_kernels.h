// Rectangle kernels over raw rows (a RIPRowBlock): 1-bit rows expanded into
// wider pixels by two colours, packed palette indices remapped through small
// tables, and colour rows mapped to the nearest entries of a palette. Each
// paces progress by rows (a tick before each row) and answers 1, or 0 when
// the progress callback asks to stop.
#pragma once

#include <cstdint>

#include "convert_support.h"

namespace raster {
struct RIPPalette;
struct RIPPalCache;
}  // namespace raster

namespace raster::convert {

// Colours passed by value: byte k of the pixel in bits 8k..8k+7.
int RIPExpandBitsToRGB24(RIPRasterState* state, const RIPRowBlock& b, std::uint32_t colour0, std::uint32_t colour1);
// Each of the three bytes written twice (a 16-bit sample = byte × 257).
int RIPExpandBitsToRGB48(RIPRasterState* state, const RIPRowBlock& b, std::uint32_t colour0, std::uint32_t colour1);
int RIPExpandBitsToCMYK(RIPRasterState* state, const RIPRowBlock& b, std::uint32_t colour0, std::uint32_t colour1);
int RIPExpandBitsToGray16(RIPRasterState* state, const RIPRowBlock& b, std::uint8_t grey0, std::uint8_t grey1);

// Table of the destination index for each source index of a palette-to-
// palette remap. Two equal palettes map index for index (so widening keeps
// indices even where entries repeat); otherwise each entry goes to its
// nearest destination entry, by the 16-colour rule for a kind-6 destination
// when std16 is set. Indices at or beyond the source palette's count read
// entry 0.
void RIPBuildRemapTable(std::uint8_t table[256], RIPPalette* destination, const RIPPalette* source, bool std16);

// Packed index rows. Destination bits and nibbles outside the rectangle keep
// their values. Values and tables give the new index of each old one; for a
// 1-bit destination any nonzero value sets the bit.
int RIPRemapRow1To1(RIPRasterState* state, const RIPRowBlock& b, std::uint8_t value0, std::uint8_t value1);
int RIPRemapRow1To4(RIPRasterState* state, const RIPRowBlock& b, std::uint8_t value0, std::uint8_t value1);
int RIPRemapRow1To8(RIPRasterState* state, const RIPRowBlock& b, std::uint8_t value0, std::uint8_t value1);
int RIPRemapRow4To1(RIPRasterState* state, const RIPRowBlock& b, const std::uint8_t table[16]);
int RIPRemapRow4To8(RIPRasterState* state, const RIPRowBlock& b, const std::uint8_t table[16]);
int RIPRemapRow4To16(RIPRasterState* state, const RIPRowBlock& b, const std::uint8_t table[16]);
// Each nibble becomes the destination entry nearest to its source colour.
int RIPRemapRow4To4(RIPRasterState* state, const RIPRowBlock& b, RIPPalette* destinationPalette,
                    const RIPPalette* sourcePalette);
int RIPRemapRow8To1(RIPRasterState* state, const RIPRowBlock& b, const std::uint8_t table[256]);
int RIPRemapRow8To4(RIPRasterState* state, const RIPRowBlock& b, const std::uint8_t table[256]);
int RIPRemapRow8To8(RIPRasterState* state, const RIPRowBlock& b, const std::uint8_t table[256]);
int RIPRemapRow8To16(RIPRasterState* state, const RIPRowBlock& b, const std::uint8_t table[256]);

// Index rows expanded through the palette's entries (an index past them reads entry 0).
int RIPExpandRows8ToRGB24(RIPRasterState* state, const RIPRowBlock& b, RIPPalette* palette);
int RIPExpandRows8ToRGB48(RIPRasterState* state, const RIPRowBlock& b, RIPPalette* palette);
int RIPExpandRows4ToRGB24(RIPRasterState* state, const RIPRowBlock& b, RIPPalette* palette);
int RIPExpandRows4ToRGB48(RIPRasterState* state, const RIPRowBlock& b, RIPPalette* palette);

// 24-bit (blue, green, red) rows mapped to palette indices.
// Bit 1 when the pixel is strictly nearer entry 1 than entry 0.
int RIPMapRowsToTwoColors(RIPRasterState* state, const RIPRowBlock& b, const std::uint8_t* entry0,
                          const std::uint8_t* entry1);
int RIPMapRowsToStdPal8(RIPRasterState* state, const RIPRowBlock& b);
int RIPMapRowsToStdPal4(RIPRasterState* state, const RIPRowBlock& b);
int RIPMapRowsToPal8Cached(RIPRasterState* state, const RIPRowBlock& b, const RIPPalette* palette,
                           RIPPalCache* cache);
int RIPMapRowsToPal4Cached(RIPRasterState* state, const RIPRowBlock& b, const RIPPalette* palette,
                           RIPPalCache* cache);

}  // namespace raster::convert
