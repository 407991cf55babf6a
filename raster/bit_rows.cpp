// Runs of bits set or cleared in 1-bit rows, whole or through byte masks.
#include "raster/bit_rows.h"

#include <cstring>

namespace raster {
namespace {

void Apply(std::uint8_t* byte, unsigned mask, bool set) {
    *byte = static_cast<std::uint8_t>(set ? (*byte | mask) : (*byte & ~mask));
}

}  // namespace

void RIPSetBitRun(std::uint8_t* row, std::uint32_t x, std::uint32_t n, std::uint32_t value) {
    if (n == 0) {
        return;
    }
    const bool set = value != 0;
    std::uint8_t* p = row + x / 8;
    const std::uint32_t bit = x % 8;
    if (bit + n <= 8) {
        Apply(p, ((0xFFu >> (8 - n)) << (8 - bit - n)) & 0xFFu, set);
        return;
    }
    if (bit != 0) {
        Apply(p++, 0xFFu >> bit, set);
        n -= 8 - bit;
    }
    std::memset(p, set ? 0xFF : 0x00, n / 8);
    p += n / 8;
    if (const std::uint32_t tail = n % 8) {
        Apply(p, (0xFFu << (8 - tail)) & 0xFFu, set);
    }
}

void RIPByteMaskToBitsOr(std::uint8_t* row, std::uint32_t x, const std::uint8_t* mask, std::uint32_t n,
                         std::uint32_t value) {
    const bool set = value != 0;
    unsigned bit = 0x80u >> (x % 8);
    for (std::uint32_t i = 0; i < n; ++i) {
        if (mask[i] != 0) {
            Apply(row, bit, set);
        }
        bit >>= 1;
        if (bit == 0) {
            bit = 0x80u;
            ++row;
        }
    }
}

void RIPByteMaskToBitsAnd2(std::uint8_t* row, std::uint32_t x, const std::uint8_t* mask1,
                           const std::uint8_t* mask2, std::uint32_t n, std::uint32_t value) {
    const bool set = value != 0;
    unsigned bit = 0x80u >> (x % 8);
    for (std::uint32_t i = 0; i < n; ++i) {
        if (mask1[i] != 0 && mask2[i] != 0) {
            Apply(row, bit, set);
        }
        bit >>= 1;
        if (bit == 0) {
            bit = 0x80u;
            ++row;
        }
    }
}

}  // namespace raster
