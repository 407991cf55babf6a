// 4-bit paletted rows: pixels two a byte, high nibble first. A nibble
// position k names byte k / 2, its high nibble when k is even.
#pragma once

#include <cstdint>

namespace raster {

struct RIPPalette;

// For each index 0..15 of the source palette (an index past its entries reads
// entry 0), the nearest entry of the target: low[i] holds it, high[i] the
// same shifted into the high nibble.
void RIPBuildNibbleMap(std::uint8_t low[16], std::uint8_t high[16], RIPPalette* target,
                       const RIPPalette* source);
// Writes n pixels from nibble srcNibble of src, each mapped through the
// tables, to nibble dstNibble of dst; the neighbouring nibbles stay.
void RIPRemapNibbleRow(std::uint8_t* dst, std::uint32_t dstNibble, const std::uint8_t* src,
                       std::uint32_t srcNibble, std::uint32_t n, const std::uint8_t low[16],
                       const std::uint8_t high[16]);
// Copies n pixels between nibble positions; pixels of another palette are
// mapped to the target's nearest entries. The neighbouring nibbles stay.
void RIPCopyNibbleRow(std::uint8_t* dst, std::uint32_t dstNibble, RIPPalette* target, const std::uint8_t* src,
                      std::uint32_t srcNibble, const RIPPalette* source, std::uint32_t n);

}  // namespace raster
