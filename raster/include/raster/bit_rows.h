// Bit-row helpers for 1-bit rows: most significant bit first, a position x
// naming bit x mod 8 (from the top) of byte x / 8.
#pragma once

#include <cstdint>

namespace raster {

// Sets (value non-zero) or clears the n bits from bit x; n = 0 changes nothing.
void RIPSetBitRun(std::uint8_t* row, std::uint32_t x, std::uint32_t n, std::uint32_t value);

// For each of n pixels from bit x (0..7) of row's first byte whose mask byte is
// non-zero, sets or clears its bit.
void RIPByteMaskToBitsOr(std::uint8_t* row, std::uint32_t x, const std::uint8_t* mask, std::uint32_t n,
                         std::uint32_t value);
// The same where both mask bytes are non-zero.
void RIPByteMaskToBitsAnd2(std::uint8_t* row, std::uint32_t x, const std::uint8_t* mask1,
                           const std::uint8_t* mask2, std::uint32_t n, std::uint32_t value);

}  // namespace raster
