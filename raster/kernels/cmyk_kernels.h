// Kernel templates of the four-channel ink family: fills (fill-32) and blits
// (blit-32) over pixels of four bytes. A kernel is pixel mode × column ×
// layout: the pixel modes of cmyk_modes.h give the result, CoverageWalker one
// weight per pixel, and the layout here walks the pixels.
//
// The rows that work byte by byte on the stored bytes run their leading
// whole vectors on the 8-bit vector side, which sees the run as bytes: the
// operand bytes are the source run (or, for a fill, the colour repeated), and
// in the mask columns each pixel's weight, worked out here as the plain path
// does, is spread over its four bytes as the mask of column 1. A channel row
// is the Set blend with weight 255 on its byte and 0 on the others, which
// gives exactly the operand's byte and the pixel's own (T[255·v] = v).
#pragma once

#include <cassert>
#include <cstddef>
#include <cstring>

#include "cmyk_modes.h"
#include "kernels/direct_kernels.h"
#include "pixel_runs.h"
#include "table_rows.h"

namespace raster::kernels::detail {

inline constexpr std::uint32_t kInkGrain = 8;    // pixels in one 32-byte vector
inline constexpr std::uint32_t kInkChunk = 128;  // pixels per pass through the buffers below
inline constexpr std::size_t kInkChunkBytes = 4 * kInkChunk;

// The column of the 8-bit vector side that serves column Col of an ink row:
// every mask column goes through column 1, with the pixel's weight as its mask.
constexpr std::uint32_t InkVectorColumn(std::uint32_t col) {
    return col == kCoverOpaque || col == kCoverConstant ? col : kCoverMask;
}

template <class PM, std::uint32_t Col, bool kFill>
constexpr bool HasInkVector() {
    if constexpr (PM::kDissolve || (!kFill && !PM::kOperandIsSource)) {
        return false;
    } else if constexpr (PM::kLane >= 0) {
        return Col == kCoverOpaque;
    } else if constexpr (PM::kByteMode >= 0) {
        return HasVectorPath<static_cast<std::uint32_t>(PM::kByteMode), InkVectorColumn(Col)>();
    } else {
        return false;
    }
}

// Four bytes repeated over `bytes` bytes (a multiple of 4).
inline void Repeat4(const std::uint8_t* px, std::uint8_t* out, std::size_t bytes) {
    for (std::size_t i = 0; i < bytes; i += 4) {
        std::memcpy(out + i, px, 4);
    }
}

// The run's leading whole vectors through the 8-bit vector side; returns the
// pixels done (a multiple of kInkGrain, or 0 on the plain path).
template <class PM, std::uint32_t Col, bool kFill>
std::uint32_t InkVectorPrefix(std::uint32_t n, std::uint8_t* dst, const std::uint8_t* src,
                              const std::uint8_t* operand, const RIPKernelCoverage* cov) {
    if constexpr (!HasInkVector<PM, Col, kFill>()) {
        return 0;
    } else {
        const std::uint32_t whole = n / kInkGrain * kInkGrain;
        if (whole == 0) {
            return 0;
        }
        const VectorKernels* v = ActiveVectorKernels();
        if (v == nullptr) {
            return 0;
        }
        constexpr bool kLaneRow = PM::kLane >= 0;
        constexpr std::uint32_t kCol = kLaneRow ? kCoverMask : InkVectorColumn(Col);
        constexpr std::uint32_t kMode = kLaneRow ? kModeSet : static_cast<std::uint32_t>(PM::kByteMode);
        const VecBlitRun run = v->blit[kMode][kCol];
        // A blit whose weights need no spreading goes straight through, in
        // pieces whose byte count fits the run's 32-bit length.
        constexpr bool kBuffered = kFill || kLaneRow || kCol == kCoverMask;
        constexpr std::uint32_t kChunk = kBuffered ? kInkChunk : (1u << 24);
        alignas(32) std::uint8_t weights[kBuffered ? kInkChunkBytes : 4];
        alignas(32) std::uint8_t pattern[kFill ? kInkChunkBytes : 4];
        if constexpr (kLaneRow) {
            std::uint8_t lane[4] = {0, 0, 0, 0};
            lane[PM::kLane] = 255;
            Repeat4(lane, weights, kInkChunkBytes);
        }
        if constexpr (kFill) {
            Repeat4(operand, pattern, kInkChunkBytes);
        }
        const RIPKernelCoverage spread{weights, nullptr, 255};
        const RIPKernelCoverage* runCov = kCol == kCoverOpaque ? nullptr : kCol == kCoverConstant ? cov : &spread;
        CoverageWalker<Col, PM::kProductCol5> weight(cov, 0);
        for (std::uint32_t done = 0; done < whole;) {
            const std::uint32_t k = whole - done < kChunk ? whole - done : kChunk;
            if constexpr (kCol == kCoverMask && !kLaneRow) {
                for (std::uint32_t i = 0; i < k; ++i) {
                    const std::uint32_t spreadWeight = weight.Next() * 0x01010101u;
                    std::memcpy(weights + 4 * static_cast<std::size_t>(i), &spreadWeight, 4);
                }
            }
            const std::size_t at = 4 * static_cast<std::size_t>(done);
            const std::uint32_t did = run(4 * k, dst + at, kFill ? pattern : src + at, runCov);
            assert(did == 4 * k);
            (void)did;
            done += k;
        }
        return whole;
    }
}

// One constant 4-byte colour, channel 0 in the colour's first channel byte.
template <class PM, std::uint32_t Col>
void Fill32Kernel(const RIPKernelParams::Fill* params, std::uint32_t n, std::uint8_t* dst,
                  const RIPKernelCoverage* cov) {
    std::uint8_t c[4];
    PM::Operand(params->color.bytes + 8, c);
    if constexpr (Col == kCoverOpaque && PM::kConstantResult) {
        std::uint8_t px[4] = {};
        PM::Opaque(px, c);
        FillPixels(dst, n, px, 4);
    } else if constexpr (PM::kDissolve) {
        RIPKernelRandom& random = RandomOf(params->random);
        CoverageWalker<Col, PM::kProductCol5> weight(cov, 0);
        for (std::uint32_t i = 0; i < n; ++i) {
            PM::Pick(dst + 4 * static_cast<std::size_t>(i), c, weight.Next(), random);
        }
    } else {
        std::uint32_t i = InkVectorPrefix<PM, Col, true>(n, dst, nullptr, c, cov);
        CoverageWalker<Col, PM::kProductCol5> weight(cov, i);
        for (; i < n; ++i) {
            std::uint8_t* d = dst + 4 * static_cast<std::size_t>(i);
            if constexpr (Col == kCoverOpaque) {
                PM::Opaque(d, c);
            } else {
                PM::Covered(d, c, weight.Next());
            }
        }
    }
}

// A source run of the same layout; the operand is taken from each source pixel.
template <class PM, std::uint32_t Col>
void Blit32Kernel(const RIPKernelParams::Blit* params, std::uint32_t n, std::uint8_t* dst, const std::uint8_t* src,
                  const RIPKernelCoverage* cov) {
    const std::size_t bytes = 4 * static_cast<std::size_t>(n);
    AssertRunsApart(dst, bytes, src, bytes);
    if constexpr (Col == kCoverOpaque && PM::kMode == kModeSet) {
        if (n != 0 && dst != src) {
            std::memcpy(dst, src, bytes);
        }
    } else if constexpr (PM::kDissolve) {
        RIPKernelRandom& random = RandomOf(params->random);
        CoverageWalker<Col, PM::kProductCol5> weight(cov, 0);
        for (std::uint32_t i = 0; i < n; ++i) {
            const std::size_t at = 4 * static_cast<std::size_t>(i);
            PM::Pick(dst + at, src + at, weight.Next(), random);
        }
    } else {
        std::uint32_t i = InkVectorPrefix<PM, Col, false>(n, dst, src, nullptr, cov);
        CoverageWalker<Col, PM::kProductCol5> weight(cov, i);
        for (; i < n; ++i) {
            const std::size_t at = 4 * static_cast<std::size_t>(i);
            std::uint8_t s[4];
            PM::Operand(src + at, s);
            if constexpr (Col == kCoverOpaque) {
                PM::Opaque(dst + at, s);
            } else {
                PM::Covered(dst + at, s, weight.Next());
            }
        }
    }
}

template <class PM>
constexpr RIPFillKernelRow Fill32Row() {
    return WithOpaqueSlot<PM>(
        RIPFillKernelRow{&Fill32Kernel<PM, 0>, &Fill32Kernel<PM, 1>, &Fill32Kernel<PM, 2>, &Fill32Kernel<PM, 3>,
                         &Fill32Kernel<PM, 4>, &Fill32Kernel<PM, 5>},
        &RIPFillKernelSet32, kRIPFillNoOp);
}
template <class PM>
constexpr RIPBlitKernelRow Blit32Row() {
    return WithOpaqueSlot<PM>(
        RIPBlitKernelRow{&Blit32Kernel<PM, 0>, &Blit32Kernel<PM, 1>, &Blit32Kernel<PM, 2>, &Blit32Kernel<PM, 3>,
                         &Blit32Kernel<PM, 4>, &Blit32Kernel<PM, 5>},
        &RIPBlitKernelCopy32, kRIPBlitNoOp);
}

}  // namespace raster::kernels::detail
