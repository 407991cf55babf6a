// Bits of 1-bit rows: runs set or cleared, whole or through byte masks, and
// rows copied from one bit offset to another.
#include "raster/bit_rows.h"

#include <algorithm>
#include <cstring>

namespace raster {
namespace {

void Apply(std::uint8_t* byte, unsigned mask, bool set) {
    *byte = static_cast<std::uint8_t>(set ? (*byte | mask) : (*byte & ~mask));
}

// Writes n bits (at most 8) held in the top of `bits` at bit `shift` of *dst.
void PutBits(std::uint8_t* dst, unsigned shift, unsigned bits, unsigned n) {
    const unsigned mask = (0xFFu << (8 - n)) & 0xFFu;
    bits &= mask;
    dst[0] = static_cast<std::uint8_t>((dst[0] & ~(mask >> shift)) | (bits >> shift));
    if (shift + n > 8) {
        const unsigned spill = (mask << (8 - shift)) & 0xFFu;
        dst[1] = static_cast<std::uint8_t>((dst[1] & ~spill) | ((bits << (8 - shift)) & 0xFFu));
    }
}

// Writes n bits of a row that starts at bit 0 of `aligned` to bit dstBit of dst.
void WriteAligned(std::uint8_t* dst, std::uint32_t dstBit, const std::uint8_t* aligned, std::uint32_t n) {
    dst += dstBit / 8;
    const unsigned shift = dstBit % 8;
    std::uint32_t k = 0;
    if (shift == 0) {
        std::memcpy(dst, aligned, n / 8);
        k = n / 8;
    }
    for (; 8 * k < n; ++k) {
        PutBits(dst + k, shift, aligned[k], std::min<std::uint32_t>(8, n - 8 * k));
    }
}

}  // namespace

void RIPAlignBitRow(std::uint8_t* dst, const std::uint8_t* src, std::uint32_t shift, std::uint32_t n) {
    if (n == 0) {
        return;
    }
    shift %= 8;
    const std::uint32_t bytes = (n + 7) / 8;
    const std::uint32_t lastSource = (shift + n - 1) / 8;
    for (std::uint32_t i = 0; i < bytes; ++i) {
        unsigned v = static_cast<unsigned>(src[i]) << shift;
        if (shift != 0 && i + 1 <= lastSource) {
            v |= src[i + 1] >> (8 - shift);
        }
        dst[i] = static_cast<std::uint8_t>(v);
    }
    if (const std::uint32_t tail = n % 8) {
        dst[bytes - 1] = static_cast<std::uint8_t>(dst[bytes - 1] & (0xFFu << (8 - tail)));
    }
}

void RIPCopyBitsAtOffset(std::uint8_t* dst, std::uint32_t dstBit, const std::uint8_t* src,
                         std::uint32_t srcBit, std::uint32_t n) {
    src += srcBit / 8;
    srcBit %= 8;
    if (srcBit == 0) {
        WriteAligned(dst, dstBit, src, n);
        return;
    }
    // An unaligned source is aligned into a stack buffer a chunk at a time.
    constexpr std::uint32_t kBits = 2048;
    std::uint8_t aligned[kBits / 8];
    for (std::uint32_t done = 0; done < n;) {
        const std::uint32_t k = std::min(kBits, n - done);
        RIPAlignBitRow(aligned, src + done / 8, srcBit, k);
        WriteAligned(dst, dstBit + done, aligned, k);
        done += k;
    }
}

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
