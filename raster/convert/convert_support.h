// What the converters, row kernels and reductions share: the progress
// pacer, the record that describes a block of rows, addressing inside a
// locked tile slot, and reading and writing packed 1-bit and 4-bit pixels.
#pragma once

#include <cstddef>
#include <cstdint>

#include "raster/progress_countdown.h"
#include "raster/storage.h"

namespace raster {
struct RIPRasterState;
}

namespace raster::convert {

// Progress of one call: constructed with the total (its opening report
// (0, total) comes at once), then Step() once per unit of work, which answers
// false when the callback asks to stop. The countdown the blit reports with
// paces exactly as conversions must, so it serves here too.
using RIPProgressPacer = RIPProgressCountdown;

// A block of rows of raw pixel memory. The addresses point at the byte that
// holds the first pixel of the first row; the bit offsets give that pixel's
// place in it for packed rows (1 bit: 0..7 from the most significant bit;
// 4 bits: 0 for the high nibble, 4 for the low one). One record for all the
// packed-row kernels, so a source offset cannot be passed as a destination's.
struct RIPRowBlock {
    std::uint8_t* dst = nullptr;
    std::ptrdiff_t dstStride = 0;
    std::uint32_t dstBit = 0;
    const std::uint8_t* src = nullptr;
    std::ptrdiff_t srcStride = 0;
    std::uint32_t srcBit = 0;
    std::int32_t width = 0;
    std::int32_t rows = 0;
};

// Runs fn(rowIndex, dstRow, srcRow) for each row after a pacer tick; 0 when a
// tick answers that the callback asks to stop (that row and the following
// ones stay unwritten), else 1.
template <class RowFn>
int ForEachRow(RIPRasterState* state, const RIPRowBlock& b, RowFn fn) {
    RIPProgressPacer pacer(state, static_cast<std::uint32_t>(b.rows > 0 ? b.rows : 0));
    std::uint8_t* d = b.dst;
    const std::uint8_t* s = b.src;
    for (std::int32_t r = 0; r < b.rows; ++r) {
        if (!pacer.Step()) {
            return 0;
        }
        fn(r, d, s);
        d += b.dstStride;
        s += b.srcStride;
    }
    return 1;
}

// Pixel (x, y) of a locked slot, relative to its origin.
inline std::uint8_t* SlotPixel(const RIPTileSlot* slot, std::int32_t x, std::int32_t y, std::int32_t bits) {
    return slot->data + static_cast<std::ptrdiff_t>(slot->rowBytes) * y + static_cast<std::ptrdiff_t>(x) * bits / 8;
}
// The place of pixel x inside its byte for packed depths: (bits × x) & 7.
inline std::uint32_t SlotBit(std::int32_t x, std::int32_t bits) {
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(x) * bits) & 7u;
}

// Packed pixels, counted from bit position `bit` of row (bit 0 = the most
// significant bit of the first byte).
inline std::uint32_t GetBit(const std::uint8_t* row, std::uint32_t bit) {
    return (row[bit >> 3] >> (7 - (bit & 7))) & 1u;
}
inline void PutBit(std::uint8_t* row, std::uint32_t bit, std::uint32_t v) {
    const auto mask = static_cast<std::uint8_t>(0x80u >> (bit & 7));
    row[bit >> 3] = static_cast<std::uint8_t>(v != 0 ? (row[bit >> 3] | mask) : (row[bit >> 3] & ~mask));
}
// Nibble k: byte k / 2, its high nibble when k is even.
inline std::uint32_t GetNibble(const std::uint8_t* row, std::uint32_t k) {
    return (k & 1) != 0 ? row[k >> 1] & 0x0Fu : row[k >> 1] >> 4;
}
inline void PutNibble(std::uint8_t* row, std::uint32_t k, std::uint32_t v) {
    std::uint8_t& b = row[k >> 1];
    b = (k & 1) != 0 ? static_cast<std::uint8_t>((b & 0xF0) | (v & 0x0F))
                     : static_cast<std::uint8_t>((b & 0x0F) | ((v & 0x0F) << 4));
}

// Squared RGB distance between two (blue, green, red) triples.
inline std::uint32_t Distance2(const std::uint8_t* a, const std::uint8_t* b) {
    std::uint32_t d = 0;
    for (int c = 0; c < 3; ++c) {
        const int k = a[c] - b[c];
        d += static_cast<std::uint32_t>(k * k);
    }
    return d;
}

}  // namespace raster::convert
