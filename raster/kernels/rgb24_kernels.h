// Kernel templates of the 3-byte-pixel families: RGB and Lab fills
// (fill-24, fill-Lab) and blits (blit-24, blit-Lab). A kernel is pixel mode ×
// column × layout: the pixel modes of modes24.h give the result, the
// CoverageWalker one weight per pixel, and the layout here walks the pixels,
// three bytes each. The tables of RGB are built here, so the Lab units can
// take their shared rows from them.
#pragma once

#include <bit>
#include <cstddef>
#include <cstring>

#include "kernels/direct_kernels.h"
#include "modes24.h"
#include "pixel_runs.h"
#include "table_rows.h"

namespace raster::kernels::detail {

// Vector work goes in grains of 32 pixels (96 bytes, whole 16- and 32-byte
// vectors) and at most a chunk at a time through the buffers below.
inline constexpr std::uint32_t kPixelGrain = 32;
inline constexpr std::uint32_t kPixelChunk = 128;
inline constexpr std::size_t kChunkBytes = 3 * kPixelChunk;

// Which run of the 8-bit vector side serves column Col: the mask columns
// all go through column 1, with the pixel's weight as its mask byte.
inline constexpr std::uint32_t VectorColumn(std::uint32_t col) {
    return col == kCoverOpaque || col == kCoverConstant ? col : kCoverMask;
}

template <class PM, std::uint32_t Col>
constexpr bool HasVector24() {
    if constexpr (PM::kPerByteMode >= 0) {
        return HasVectorPath<static_cast<std::uint32_t>(PM::kPerByteMode), VectorColumn(Col)>();
    } else if constexpr (PM::kLane >= 0) {
        return Col == kCoverOpaque;
    } else {
        return false;
    }
}

// Three bytes repeated over n pixels.
inline void Repeat3(const std::uint8_t* px, std::uint32_t n, std::uint8_t* out) {
    for (std::size_t i = 0; i < 3 * static_cast<std::size_t>(n); i += 3) {
        out[i] = px[0];
        out[i + 1] = px[1];
        out[i + 2] = px[2];
    }
}

// Each pixel's weight once for every byte of the pixel. On a little-endian
// machine one 4-byte store a pixel does it, the fourth byte overwritten by
// the next pixel (the buffer has one byte to spare).
template <class Walker>
void SpreadWeights(Walker& weight, std::uint32_t n, std::uint8_t* out) {
    for (std::uint32_t i = 0; i < n; ++i, out += 3) {
        const std::uint32_t w = weight.Next();
        if constexpr (std::endian::native == std::endian::little) {
            const std::uint32_t v = w * 0x010101u;
            std::memcpy(out, &v, 4);
        } else {
            out[0] = out[1] = out[2] = static_cast<std::uint8_t>(w);
        }
    }
}

// Hands the run's leading whole grains to the 8-bit vector run of the same
// mode, which sees the pixels as bytes: its operand bytes are the source run
// (or, for a fill, the colour repeated), and in the mask columns each
// pixel's weight, worked out here as the plain path does, is spread over its
// three bytes as the mask of column 1. A one-byte mode is the Set blend with
// weight 255 on its byte and 0 on the others, which gives exactly the
// operand's byte and the pixel's own (T[255·v] = v). Returns the pixels done.
template <class PM, std::uint32_t Col>
std::uint32_t Vector24Prefix(std::uint32_t n, std::uint8_t* dst, const std::uint8_t* src,
                             const std::uint8_t* colour, const RIPKernelCoverage* cov) {
    if constexpr (!HasVector24<PM, Col>()) {
        return 0;
    } else {
        const std::uint32_t whole = n / kPixelGrain * kPixelGrain;
        if (whole == 0) {
            return 0;
        }
        const VectorKernels* v = ActiveVectorKernels();
        if (v == nullptr) {
            return 0;
        }
        constexpr bool kLane = PM::kLane >= 0;
        constexpr bool kWeighted = VectorColumn(Col) == kCoverMask;
        VecBlitRun run;
        if constexpr (kLane) {
            run = v->blit[kModeSet][kCoverMask];
        } else {
            run = v->blit[PM::kPerByteMode][VectorColumn(Col)];
        }
        if constexpr (!kLane && !kWeighted) {
            if (colour == nullptr) {  // nothing to spread or repeat: one pass
                run(3 * whole, dst, src, cov);
                return whole;
            }
        }
        const std::uint32_t first = whole < kPixelChunk ? whole : kPixelChunk;  // the longest chunk
        alignas(32) std::uint8_t weights[kChunkBytes + 1];
        alignas(32) std::uint8_t pattern[kChunkBytes];
        const RIPKernelCoverage spread{weights, nullptr, Col == kCoverConstant ? cov->opacity : std::uint8_t{255}};
        if constexpr (kLane) {
            const std::uint8_t lane[3] = {PM::kLane == 0 ? std::uint8_t{255} : std::uint8_t{0},
                                          PM::kLane == 1 ? std::uint8_t{255} : std::uint8_t{0},
                                          PM::kLane == 2 ? std::uint8_t{255} : std::uint8_t{0}};
            Repeat3(lane, first, weights);
        }
        if (colour != nullptr) {
            Repeat3(colour, first, pattern);
        }
        CoverageWalker<Col, PM::kProductCol5> weight(cov, 0);
        for (std::uint32_t done = 0; done < whole;) {
            const std::uint32_t k = whole - done < kPixelChunk ? whole - done : kPixelChunk;
            if constexpr (kWeighted) {
                SpreadWeights(weight, k, weights);
            }
            const std::size_t at = 3 * static_cast<std::size_t>(done);
            run(3 * k, dst + at, colour != nullptr ? pattern : src + at, &spread);
            done += k;
        }
        return whole;
    }
}

// n pixels of one value: the vector path's whole vectors when it has one;
// otherwise sixteen pixels at a time from a pattern, then, past
// a few kilobytes, copies of what is written, doubling but no larger than
// those kilobytes so the source stays in cache; the tail from the pattern.
inline void Fill3(std::uint8_t* dst, std::uint32_t n, const Bytes3& px) {
    {
        std::uint8_t one[3];
        StoreBytes(one, px);
        const std::size_t done = VectorFillPrefix(dst, 3 * static_cast<std::size_t>(n), one, 3);
        dst += done;
        n -= static_cast<std::uint32_t>(done / 3);
    }
    constexpr std::size_t kPattern = 48;
    constexpr std::size_t kMaxCopy = 3 * 1024;
    std::uint8_t pattern[kPattern];
    for (std::size_t i = 0; i < kPattern; i += 3) {
        StoreBytes(pattern + i, px);
    }
    const std::size_t total = 3 * static_cast<std::size_t>(n);
    std::size_t written = 0;
    for (; total - written >= kPattern && written < kMaxCopy; written += kPattern) {
        std::memcpy(dst + written, pattern, kPattern);
    }
    while (total - written >= kPattern) {
        std::size_t k = written < kMaxCopy ? written : kMaxCopy;
        if (k > total - written) {
            k = (total - written) / kPattern * kPattern;
        }
        std::memcpy(dst + written, dst, k);
        written += k;
    }
    if (total != written) {
        std::memcpy(dst + written, pattern, total - written);
    }
}

template <class PM>
typename PM::Operand FillOperand(const colour::ColorRecord& c) {
    if constexpr (requires { PM::OfColour(c); }) {
        return PM::OfColour(c);
    } else {
        return PM::Of(c.bytes + 8);
    }
}

// n pixels against the fill colour, its channel bytes 8, 9 and 10 in pixel order.
template <class PM, std::uint32_t Col>
void Fill24Kernel(const RIPKernelParams::Fill* params, std::uint32_t n, std::uint8_t* dst,
                  const RIPKernelCoverage* cov) {
    const typename PM::Operand op = FillOperand<PM>(params->color);
    if constexpr (Col == kCoverOpaque && PM::kConstantResult) {
        std::uint8_t px[3] = {};
        PM::Opaque(px, op);
        Fill3(dst, n, BytesOf(px));
    } else if constexpr (PM::kDissolve) {
        RIPKernelRandom& random = RandomOf(params->random);
        CoverageWalker<Col, PM::kProductCol5> weight(cov, 0);
        for (std::uint32_t i = 0; i < n; ++i, dst += 3) {
            PM::Pick(dst, op, weight.Next(), random);
        }
    } else {
        std::uint32_t i = Vector24Prefix<PM, Col>(n, dst, nullptr, params->color.bytes + 8, cov);
        CoverageWalker<Col, PM::kProductCol5> weight(cov, i);
        for (std::uint8_t* p = dst + 3 * static_cast<std::size_t>(i); i < n; ++i, p += 3) {
            if constexpr (Col == kCoverOpaque) {
                PM::Opaque(p, op);
            } else {
                PM::Covered(p, op, weight.Next());
            }
        }
    }
}

// n pixels against n source pixels of the same layout.
template <class PM, std::uint32_t Col>
void Blit24Kernel(const RIPKernelParams::Blit* params, std::uint32_t n, std::uint8_t* dst, const std::uint8_t* src,
                  const RIPKernelCoverage* cov) {
    const std::size_t bytes = 3 * static_cast<std::size_t>(n);
    AssertRunsApart(dst, bytes, src, bytes);
    if constexpr (Col == kCoverOpaque && PM::kPerByteMode == static_cast<int>(kModeSet)) {
        if (n != 0 && dst != src) {
            std::memcpy(dst, src, bytes);
        }
    } else if constexpr (PM::kDissolve) {
        RIPKernelRandom& random = RandomOf(params->random);
        CoverageWalker<Col, PM::kProductCol5> weight(cov, 0);
        for (std::uint32_t i = 0; i < n; ++i, dst += 3, src += 3) {
            PM::Pick(dst, PM::Of(src), weight.Next(), random);
        }
    } else {
        std::uint32_t i = Vector24Prefix<PM, Col>(n, dst, src, nullptr, cov);
        CoverageWalker<Col, PM::kProductCol5> weight(cov, i);
        for (; i < n; ++i) {
            const std::size_t at = 3 * static_cast<std::size_t>(i);
            if constexpr (Col == kCoverOpaque) {
                PM::Opaque(dst + at, PM::Of(src + at));
            } else {
                PM::Covered(dst + at, PM::Of(src + at), weight.Next());
            }
        }
    }
}

template <class PM>
constexpr RIPFillKernelRow Fill24Row() {
    return WithOpaqueSlot<PM>(RIPFillKernelRow{&Fill24Kernel<PM, 0>, &Fill24Kernel<PM, 1>, &Fill24Kernel<PM, 2>,
                                               &Fill24Kernel<PM, 3>, &Fill24Kernel<PM, 4>, &Fill24Kernel<PM, 5>},
                              &RIPFillKernelSet24, kRIPFillNoOp);
}
template <class PM>
constexpr RIPBlitKernelRow Blit24Row() {
    return WithOpaqueSlot<PM>(RIPBlitKernelRow{&Blit24Kernel<PM, 0>, &Blit24Kernel<PM, 1>, &Blit24Kernel<PM, 2>,
                                               &Blit24Kernel<PM, 3>, &Blit24Kernel<PM, 4>, &Blit24Kernel<PM, 5>},
                              &RIPBlitKernelCopy24, kRIPBlitNoOp);
}
template <class M>
constexpr RIPFillKernelRow PerByteFillRow() {
    return Fill24Row<PerByte<M>>();
}

using Set24 = PerByte<ModeSet>;

constexpr RIPFillKernelTable BuildFill24() {
    RIPFillKernelTable t{};
    t[0] = PerByteFillRow<ModeSet>();
    t[0][kCoverOpaque] = &RIPFillKernelSet24;
    t[1] = PerByteFillRow<ModeAnd>();
    t[2] = PerByteFillRow<ModeOr>();
    t[3] = PerByteFillRow<ModeXor>();
    t[4] = PerByteFillRow<ModeAndNot>();
    t[5] = PerByteFillRow<ModeInvert>();
    t[6] = PerByteFillRow<ModeSetInverse>();
    t[7] = PerByteFillRow<ModeAdd>();
    t[8] = PerByteFillRow<ModeAddMinus>();
    t[9] = PerByteFillRow<ModeMultiply>();
    t[10] = PerByteFillRow<ModeDivide>();
    t[11] = Fill24Row<PixelLighten>();
    t[12] = Fill24Row<PixelDarken>();
    t[13] = Fill24Row<PixelLightnessMultiply>();
    t[14] = Fill24Row<PixelHueSaturation>();
    t[15] = Fill24Row<PixelHue>();
    t[16] = Fill24Row<PixelSaturation>();
    t[17] = Fill24Row<PixelBrightness>();
    t[18] = Fill24Row<PixelChannel<0>>();
    t[19] = Fill24Row<PixelChannel<1>>();
    t[20] = Fill24Row<PixelChannel<2>>();
    Put(t, {21, 22, 23, 35}, kFillNoOpRow);  // a 3-byte pixel has no byte 3
    t[24] = PerByteFillRow<ModeDifference>();
    t[25] = PerByteFillRow<ModeSubtract>();
    t[26] = PerByteFillRow<ModeMultiplyInverse>();
    t[27] = PerByteFillRow<ModeBehind>();
    t[28] = PerByteFillRow<ModeScreen>();
    t[29] = PerByteFillRow<ModeOverlay>();
    t[30] = PerByteFillRow<ModeSoftLight>();
    t[31] = PerByteFillRow<ModeHardLight>();
    t[32] = Fill24Row<PixelDissolve>();
    t[33] = PerByteFillRow<ModeDodge>();
    t[34] = PerByteFillRow<ModeBurn>();
    return t;
}
inline constexpr RIPFillKernelTable kFill24Table = BuildFill24();

// Column 0 this family's own (with the vector path of its bytes), columns
// 1-5 the channel kernels of the same mode, run three samples a step.
template <class M>
constexpr void OwnOpaque24(RIPBlitKernelTable& t) {
    t[M::kMode][kCoverOpaque] = &Blit24Kernel<PerByte<M>, kCoverOpaque>;
}

constexpr RIPBlitKernelTable BuildBlit24() {
    RIPBlitKernelTable t{};
    t[0] = Blit24Row<Set24>();
    t[0][kCoverOpaque] = &RIPBlitKernelCopy24;
    OwnOpaque24<ModeAnd>(t);
    OwnOpaque24<ModeOr>(t);
    OwnOpaque24<ModeXor>(t);
    OwnOpaque24<ModeAndNot>(t);
    OwnOpaque24<ModeInvert>(t);
    OwnOpaque24<ModeSetInverse>(t);
    OwnOpaque24<ModeAdd>(t);
    OwnOpaque24<ModeDifference>(t);
    OwnOpaque24<ModeSubtract>(t);
    CoverageFromChannel8(t, {1, 2, 3, 4, 5, 6, 7, 24, 25});
    RowsFromChannel8(t, {8, 9, 10, 26, 27, 28, 29, 30, 31, 33, 34});
    t[11] = Blit24Row<PixelLighten>();
    t[12] = Blit24Row<PixelDarken>();
    t[13] = Blit24Row<PixelLightnessMultiply>();
    t[14] = Blit24Row<PixelHueSaturation>();
    t[15] = Blit24Row<PixelHue>();
    t[16] = Blit24Row<PixelSaturation>();
    t[17] = Blit24Row<PixelBrightness>();
    t[18] = Blit24Row<PixelChannel<0>>();
    t[19] = Blit24Row<PixelChannel<1>>();
    t[20] = Blit24Row<PixelChannel<2>>();
    t[32] = Blit24Row<PixelDissolve>();
    Put(t, {21, 22, 23, 35}, kBlitNoOpRow);
    return t;
}
inline constexpr RIPBlitKernelTable kBlit24Table = BuildBlit24();

}  // namespace raster::kernels::detail
