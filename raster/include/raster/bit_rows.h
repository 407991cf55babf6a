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

// Copies n bits starting at bit `shift` (0..7) of src to bit 0 of dst,
// writing (n + 7) / 8 bytes; the bits after n in the last byte are cleared.
// Reads no source byte past the last bit copied.
void RIPAlignBitRow(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t shift, std::uint32_t n);
// Copies n bits from bit srcBit of src to bit dstBit of dst, keeping the
// destination's bits before and after the run. The two rows must not overlap.
void RIPCopyBitsAtOffset(std::uint8_t* dst, std::uint32_t dstBit, const std::uint8_t* src,
                         std::uint32_t srcBit, std::uint32_t n);

}  // namespace raster
