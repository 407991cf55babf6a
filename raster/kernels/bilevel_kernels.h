// Kernel templates of the 1-bit family: fills (fill-1) and blits (blit-1) of
// packed rows, most significant bit first, a run starting at a bit offset
// 0..7 of the byte that holds its first pixel. Every merge mode comes down to
// one of seven bit operations, and coverage to yes or no per pixel: a mask
// byte covers when it is non-zero, the constant opacity when it is non-zero.
#pragma once

#include <cstdint>
#include <cstring>
#include <type_traits>

#include "kernel_math.h"
#include "raster/bit_rows.h"
#include "table_rows.h"

namespace raster::kernels::detail {

// The seven operations. A fill acts only when its colour word k (zero or not)
// lets it (Acts); it then sets or clears the covered bits (Flag) or inverts
// them. Byte() is the operation on eight pixels at once, d the destination
// byte and s the source byte.
struct BitSet {
    static constexpr bool kInverts = false, kReadsSource = true;
    static bool Acts(std::uint32_t) { return true; }
    static std::uint32_t Flag(std::uint32_t k) { return k != 0; }
    static std::uint8_t Byte(std::uint8_t, std::uint8_t s) { return s; }
};
struct BitAnd {
    static constexpr bool kInverts = false, kReadsSource = true;
    static bool Acts(std::uint32_t k) { return k == 0; }  // AND with all ones changes nothing
    static std::uint32_t Flag(std::uint32_t) { return 0; }
    static std::uint8_t Byte(std::uint8_t d, std::uint8_t s) { return d & s; }
};
struct BitOr {
    static constexpr bool kInverts = false, kReadsSource = true;
    static bool Acts(std::uint32_t k) { return k != 0; }
    static std::uint32_t Flag(std::uint32_t) { return 1; }
    static std::uint8_t Byte(std::uint8_t d, std::uint8_t s) { return d | s; }
};
struct BitXor {
    static constexpr bool kInverts = true, kReadsSource = true;
    static bool Acts(std::uint32_t k) { return k != 0; }
    static std::uint32_t Flag(std::uint32_t) { return 0; }
    static std::uint8_t Byte(std::uint8_t d, std::uint8_t s) { return d ^ s; }
};
struct BitAndNot {
    static constexpr bool kInverts = false, kReadsSource = true;
    static bool Acts(std::uint32_t k) { return k != 0; }
    static std::uint32_t Flag(std::uint32_t) { return 0; }
    static std::uint8_t Byte(std::uint8_t d, std::uint8_t s) { return static_cast<std::uint8_t>(d & ~s); }
};
struct BitInvert {
    static constexpr bool kInverts = true, kReadsSource = false;
    static bool Acts(std::uint32_t) { return true; }
    static std::uint32_t Flag(std::uint32_t) { return 0; }
    static std::uint8_t Byte(std::uint8_t d, std::uint8_t) { return static_cast<std::uint8_t>(~d); }
};
struct BitSetInverse {
    static constexpr bool kInverts = false, kReadsSource = true;
    static bool Acts(std::uint32_t) { return true; }
    static std::uint32_t Flag(std::uint32_t k) { return k == 0; }
    static std::uint8_t Byte(std::uint8_t, std::uint8_t s) { return static_cast<std::uint8_t>(~s); }
};

// Inverts the n bits from bit x (0..7) of the first byte.
inline void XorBitRun(std::uint8_t* row, std::uint32_t x, std::uint32_t n) {
    if (n == 0) {
        return;
    }
    if (x != 0) {
        const std::uint32_t r = 8 - x;
        if (n <= r) {
            *row ^= static_cast<std::uint8_t>((0xFFu >> (8 - n)) << (r - n));
            return;
        }
        *row++ ^= static_cast<std::uint8_t>(0xFFu >> x);
        n -= r;
    }
    for (std::uint32_t i = n / 8; i > 0; --i) {
        *row = static_cast<std::uint8_t>(~*row);
        ++row;
    }
    if (const std::uint32_t t = n % 8) {
        *row ^= static_cast<std::uint8_t>(0xFFu << (8 - t));
    }
}

// Inverts the bits of the n pixels from bit x whose mask byte (both mask
// bytes, with a second mask) is non-zero. The masks are read, never moved.
inline void XorBitMask(std::uint8_t* row, std::uint32_t x, const std::uint8_t* mask1, const std::uint8_t* mask2,
                       std::uint32_t n) {
    unsigned bit = 0x80u >> x;
    for (std::uint32_t i = 0; i < n; ++i) {
        if (mask1[i] != 0 && (mask2 == nullptr || mask2[i] != 0)) {
            *row ^= static_cast<std::uint8_t>(bit);
        }
        bit >>= 1;
        if (bit == 0) {
            bit = 0x80u;
            ++row;
        }
    }
}

// Columns 2, 4 and 5 do nothing at a constant opacity of 0 and act fully at
// any other; columns 1, 3 and 4, 5 take their masks.
constexpr bool BitColumnHasConstant(std::uint32_t col) {
    return col == kCoverConstant || col == kCoverMaskConstant || col == kCoverMaskMaskConstant;
}
constexpr bool BitColumnHasSecondMask(std::uint32_t col) {
    return col == kCoverMaskMask || col == kCoverMaskMaskConstant;
}
constexpr bool BitColumnHasMask(std::uint32_t col) { return col != kCoverOpaque && col != kCoverConstant; }

// A fill: the colour and the constant are tested once, and the run goes to
// one bit-row operation.
template <class Op, std::uint32_t Col>
void Fill1Kernel(const RIPKernelParams::Fill* params, std::uint32_t n, std::uint8_t* dst,
                 const RIPKernelCoverage* cov) {
    const std::uint32_t k = params->color.U32(8);
    if (!Op::Acts(k)) {
        return;
    }
    if constexpr (BitColumnHasConstant(Col)) {
        if (cov->opacity == 0) {
            return;
        }
    }
    const std::uint32_t x = params->bitOffset;
    if constexpr (!BitColumnHasMask(Col)) {
        if constexpr (Op::kInverts) {
            XorBitRun(dst, x, n);
        } else {
            RIPSetBitRun(dst, x, n, Op::Flag(k));
        }
    } else if constexpr (!BitColumnHasSecondMask(Col)) {
        if constexpr (Op::kInverts) {
            XorBitMask(dst, x, cov->mask1, nullptr, n);
        } else {
            RIPByteMaskToBitsOr(dst, x, cov->mask1, n, Op::Flag(k));
        }
    } else {
        if constexpr (Op::kInverts) {
            XorBitMask(dst, x, cov->mask1, cov->mask2, n);
        } else {
            RIPByteMaskToBitsAnd2(dst, x, cov->mask1, cov->mask2, n, Op::Flag(k));
        }
    }
}

// One pixel: the destination bit dBit of *dst combined with the source bit
// sBit of *src.
template <class Op>
void ApplyBit(std::uint8_t* dst, unsigned dBit, const std::uint8_t* src, unsigned sBit) {
    const std::uint8_t d = (*dst & dBit) != 0 ? 0xFF : 0x00;
    std::uint8_t s = 0;
    if constexpr (Op::kReadsSource) {
        s = (*src & sBit) != 0 ? 0xFF : 0x00;
    }
    *dst = static_cast<std::uint8_t>((*dst & ~dBit) | (Op::Byte(d, s) & dBit));
}

// Both bit cursors of a blit, moving one pixel at a time.
struct BitCursor {
    std::uint8_t* dst;
    const std::uint8_t* src;
    unsigned dBit, sBit;
    void Step() {
        dBit >>= 1;
        sBit >>= 1;
        if (sBit == 0) {
            sBit = 0x80u;
            ++src;
        }
    }
};

// The opaque blit: pixels one at a time until the destination reaches a byte
// boundary, then whole destination bytes, each from the source byte at the
// same position (one byte when the source is aligned too, else the end of one
// and the start of the next), then the last pixels one at a time.
template <class Op>
void BitBlitOpaque(std::uint32_t n, std::uint8_t* dst, std::uint32_t dOffset, const std::uint8_t* src,
                   std::uint32_t sOffset) {
    BitCursor at{dst, src, 0x80u >> dOffset, 0x80u >> sOffset};
    if (dOffset != 0) {
        for (; at.dBit != 0 && n != 0; --n) {
            ApplyBit<Op>(at.dst, at.dBit, at.src, at.sBit);
            at.Step();
        }
        if (n == 0) {
            return;
        }
        ++at.dst;
    }
    std::uint32_t shift = 0;  // the source's bit offset, kept by whole bytes
    while ((0x80u >> shift) != at.sBit) {
        ++shift;
    }
    const std::uint32_t bytes = n / 8;
    if constexpr (!Op::kReadsSource) {
        for (std::uint32_t i = 0; i < bytes; ++i) {
            at.dst[i] = Op::Byte(at.dst[i], 0);
        }
    } else if (shift == 0) {
        if constexpr (std::is_same_v<Op, BitSet>) {
            std::memcpy(at.dst, at.src, bytes);
        } else {
            for (std::uint32_t i = 0; i < bytes; ++i) {
                at.dst[i] = Op::Byte(at.dst[i], at.src[i]);
            }
        }
    } else {
        for (std::uint32_t i = 0; i < bytes; ++i) {
            const auto s = static_cast<std::uint8_t>((at.src[i] << shift) | (at.src[i + 1] >> (8 - shift)));
            at.dst[i] = Op::Byte(at.dst[i], s);
        }
    }
    at.dst += bytes;
    at.src += bytes;
    at.dBit = 0x80u;
    for (n %= 8; n != 0; --n) {
        ApplyBit<Op>(at.dst, at.dBit, at.src, at.sBit);
        at.Step();
    }
}

// Pixel by pixel where the mask (both masks, with a second) is non-zero.
template <class Op>
void BitBlitMasked(std::uint32_t n, std::uint8_t* dst, std::uint32_t dOffset, const std::uint8_t* src,
                   std::uint32_t sOffset, const std::uint8_t* mask1, const std::uint8_t* mask2) {
    BitCursor at{dst, src, 0x80u >> dOffset, 0x80u >> sOffset};
    for (std::uint32_t i = 0; i < n; ++i) {
        if (mask1[i] != 0 && (mask2 == nullptr || mask2[i] != 0)) {
            ApplyBit<Op>(at.dst, at.dBit, at.src, at.sBit);
        }
        at.Step();
        if (at.dBit == 0) {
            at.dBit = 0x80u;
            ++at.dst;
        }
    }
}

template <class Op, std::uint32_t Col>
void Blit1Kernel(const RIPKernelParams::Blit* params, std::uint32_t n, std::uint8_t* dst, const std::uint8_t* src,
                 const RIPKernelCoverage* cov) {
    if constexpr (BitColumnHasConstant(Col)) {
        if (cov->opacity == 0) {
            return;
        }
    }
    if constexpr (!BitColumnHasMask(Col)) {
        BitBlitOpaque<Op>(n, dst, params->dstBitOffset, src, params->srcBitOffset);
    } else {
        BitBlitMasked<Op>(n, dst, params->dstBitOffset, src, params->srcBitOffset, cov->mask1,
                          BitColumnHasSecondMask(Col) ? cov->mask2 : nullptr);
    }
}

template <class Op>
constexpr RIPFillKernelRow Fill1Row() {
    return {&Fill1Kernel<Op, 0>, &Fill1Kernel<Op, 1>, &Fill1Kernel<Op, 2>,
            &Fill1Kernel<Op, 3>, &Fill1Kernel<Op, 4>, &Fill1Kernel<Op, 5>};
}
template <class Op>
constexpr RIPBlitKernelRow Blit1Row() {
    return {&Blit1Kernel<Op, 0>, &Blit1Kernel<Op, 1>, &Blit1Kernel<Op, 2>,
            &Blit1Kernel<Op, 3>, &Blit1Kernel<Op, 4>, &Blit1Kernel<Op, 5>};
}

// The layout fill-1 and blit-1 share: each mode that a bit can express holds
// the six kernels of its operation (`row(Op{})`); the blit's Brightness row
// copies where the fill's does nothing.
template <class Table, class MakeRow, class Row>
constexpr Table BuildBilevelLayout(MakeRow row, const Row& noOp, bool blit) {
    Table t{};
    t[0] = row(BitSet{});
    t[1] = row(BitAnd{});
    t[2] = row(BitOr{});
    t[3] = row(BitXor{});
    t[4] = row(BitAndNot{});
    t[5] = row(BitInvert{});
    t[6] = row(BitSetInverse{});
    Put(t, {7, 11, 28, 33}, t[2]);
    Put(t, {8, 9, 12, 34}, t[1]);
    Put(t, {18, 30, 31, 32}, t[0]);
    t[24] = t[3];
    Put(t, {25, 26}, t[4]);
    PutRange(t, 14, 16, noOp);
    t[17] = blit ? t[0] : noOp;
    PutRange(t, 19, 23, noOp);
    Put(t, {29, 35}, noOp);
    return t;
}

}  // namespace raster::kernels::detail
