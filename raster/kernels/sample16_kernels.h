// Kernel templates of the 16-bit-sample family: fills and blits of 16-bit
// grey (one sample a pixel) and 48-bit RGB (three), and the 16-bit channel
// kernels (chan-16). Samples are native little-endian words at any byte
// address, so they are read and written through memcpy.
#pragma once

#include <bit>
#include <cstring>

#include "kernels/direct_kernels.h"
#include "modes16.h"
#include "pixel_runs.h"
#include "table_rows.h"
#include "vector_kernels.h"

namespace raster::kernels::detail {

inline std::uint32_t Load16(const std::uint8_t* p) {
    std::uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
}
inline void Store16(std::uint8_t* p, std::uint32_t v) {
    const auto w = static_cast<std::uint16_t>(v);
    std::memcpy(p, &w, 2);
}

// Vector blends go in grains of 16 pixels (whole vectors of samples for
// every K) and at most a chunk at a time through the buffers below.
inline constexpr std::uint32_t kBlend16Grain = 16;
inline constexpr std::uint32_t kBlend16Chunk = 128;

// One pixel's weight w for its K samples, or on a channel row (Lane 0..2)
// for that sample only and 0 for the others. On a little-endian machine one
// 4-byte store does three samples, the fourth byte overwritten by the next
// pixel (the buffer has one byte to spare).
template <std::uint32_t K, int Lane>
void SpreadWeight16(std::uint8_t* out, std::uint32_t w) {
    if constexpr (K == 1) {
        *out = static_cast<std::uint8_t>(w);
    } else if constexpr (std::endian::native == std::endian::little) {
        const std::uint32_t v = Lane < 0 ? w * 0x010101u : w << (8 * Lane);
        std::memcpy(out, &v, 4);
    } else {
        for (std::uint32_t j = 0; j < K; ++j) {
            out[j] = Lane < 0 || j == static_cast<std::uint32_t>(Lane) ? static_cast<std::uint8_t>(w) : std::uint8_t{0};
        }
    }
}

// Hands the run's leading whole grains to the vector blend of the features in
// force, each pixel's weight worked out as the plain path does and spread
// over its samples; a sample weighing 0 is kept (q(255·d) = d). The operands
// are the source run, or for a fill (src null) the colour c repeated.
// Returns the pixels done.
template <std::uint32_t K, int Lane, std::uint32_t Col>
std::uint32_t Vector16Prefix(std::uint32_t n, std::uint8_t* dst, const std::uint8_t* src, const std::uint32_t* c,
                             const RIPKernelCoverage* cov) {
    const std::uint32_t whole = n / kBlend16Grain * kBlend16Grain;
    if (whole == 0) {
        return 0;
    }
    const VectorKernels* v = ActiveVectorKernels();
    if (v == nullptr || v->blend16 == nullptr) {
        return 0;
    }
    constexpr std::uint32_t kChunkSamples = K * kBlend16Chunk;
    // A one-sample pixel under the mask weighs its mask byte as it is.
    constexpr bool kMaskAsIs = K == 1 && Col == kCoverMask;
    constexpr bool kWalk = !kMaskAsIs && Col != kCoverOpaque && Col != kCoverConstant;
    std::uint8_t weights[kChunkSamples + 1];
    std::uint8_t pattern[2 * kChunkSamples];  // a fill's operands
    const std::uint32_t first = whole < kBlend16Chunk ? whole : kBlend16Chunk;
    if constexpr (!kWalk && !kMaskAsIs) {
        const std::uint32_t w = Col == kCoverConstant ? cov->opacity : 255u;
        for (std::uint32_t p = 0; p < first; ++p) {
            SpreadWeight16<K, Lane>(weights + K * p, w);
        }
    }
    if (src == nullptr) {
        for (std::uint32_t i = 0; i < K * first; ++i) {
            Store16(pattern + 2 * i, c[i % K]);
        }
    }
    CoverageWalker<Col, false> weight(cov, 0);
    for (std::uint32_t done = 0; done < whole;) {
        const std::uint32_t k = whole - done < kBlend16Chunk ? whole - done : kBlend16Chunk;
        const std::uint8_t* w = weights;
        if constexpr (kMaskAsIs) {
            w = cov->mask1 + done;
        } else if constexpr (kWalk) {
            for (std::uint32_t p = 0; p < k; ++p) {
                SpreadWeight16<K, Lane>(weights + K * p, weight.Next());
            }
        }
        const std::size_t at = 2 * K * static_cast<std::size_t>(done);
        v->blend16(K * k, dst + at, src != nullptr ? src + at : pattern, w);
        done += k;
    }
    return whole;
}

// Fills of K samples a pixel (1: grey from the colour's value at byte 8,
// 3: RGB from its values at bytes 6, 8 and 10); only Set has kernels.
template <std::uint32_t K, std::uint32_t Col>
void Fill16Kernel(const RIPKernelParams::Fill* params, std::uint32_t n, std::uint8_t* dst,
                  const RIPKernelCoverage* cov) {
    constexpr int kFirst = K == 1 ? 8 : 6;
    std::uint32_t c[K];
    for (std::uint32_t k = 0; k < K; ++k) {
        c[k] = params->color.U16(kFirst + 2 * static_cast<int>(k));
    }
    if constexpr (Col == kCoverOpaque) {
        std::uint8_t px[2 * K];
        for (std::uint32_t k = 0; k < K; ++k) {
            Store16(px + 2 * k, c[k]);
        }
        FillPixels(dst, n, px, 2 * K);
    } else {
        const std::uint32_t done = Vector16Prefix<K, -1, Col>(n, dst, nullptr, c, cov);
        dst += 2 * K * static_cast<std::size_t>(done);
        CoverageWalker<Col, false> weight(cov, done);
        for (std::uint32_t i = done; i < n; ++i, dst += 2 * K) {
            const std::uint32_t w = weight.Next();
            for (std::uint32_t k = 0; k < K; ++k) {
                Store16(dst + 2 * k, Blend16(Load16(dst + 2 * k), c[k], w));
            }
        }
    }
}

// Blits of pixels of K samples: Set on all of them, or (Lane 0..2) on the one
// sample of a channel row, the others kept.
template <std::uint32_t K, int Lane, std::uint32_t Col>
void Blit16Kernel(const RIPKernelParams::Blit*, std::uint32_t n, std::uint8_t* dst, const std::uint8_t* src,
                  const RIPKernelCoverage* cov) {
    constexpr std::size_t kPixel = 2 * K;
    const std::size_t bytes = kPixel * n;
    AssertRunsApart(dst, bytes, src, bytes);
    constexpr std::uint32_t kFirst = Lane < 0 ? 0 : static_cast<std::uint32_t>(Lane);
    constexpr std::uint32_t kLast = Lane < 0 ? K : kFirst + 1;
    if constexpr (Col == kCoverOpaque && Lane < 0) {
        if (n != 0 && dst != src) {
            std::memcpy(dst, src, bytes);
        }
    } else {
        const std::uint32_t done = Vector16Prefix<K, Lane, Col>(n, dst, src, nullptr, cov);
        dst += kPixel * done;
        src += kPixel * done;
        CoverageWalker<Col, false> weight(cov, done);
        for (std::uint32_t i = done; i < n; ++i, dst += kPixel, src += kPixel) {
            const std::uint32_t w = weight.Next();
            for (std::uint32_t k = kFirst; k < kLast; ++k) {
                if constexpr (Col == kCoverOpaque) {
                    std::memcpy(dst + 2 * k, src + 2 * k, 2);
                } else {
                    Store16(dst + 2 * k, Blend16(Load16(dst + 2 * k), Load16(src + 2 * k), w));
                }
            }
        }
    }
}

// Channel kernels: one sample a step, both runs advancing by their byte
// steps halved toward zero (whole samples); channelsPerPixel is not read.
template <class Mode, std::uint32_t Col>
void Channel16Kernel(const RIPKernelParams::Blit* params, std::uint32_t n, std::uint8_t* dst,
                     const std::uint8_t* src, const RIPKernelCoverage* cov) {
    const std::ptrdiff_t srcStep = 2 * static_cast<std::ptrdiff_t>(params->srcStep / 2);
    const std::ptrdiff_t dstStep = 2 * static_cast<std::ptrdiff_t>(params->dstStep / 2);
    if (srcStep > 0 && dstStep > 0) {
        AssertRunsApart(dst, StridedSpan(n, static_cast<std::int32_t>(dstStep), 2), src,
                        StridedSpan(n, static_cast<std::int32_t>(srcStep), 2));
    }
    RIPKernelRandom* random = nullptr;
    if constexpr (Mode::kDissolve) {
        random = &RandomOf(params->random);
    }
    CoverageWalker<Col, false> weight(cov, 0);
    for (std::uint32_t i = 0; i < n; ++i, dst += dstStep, src += srcStep) {
        const std::uint32_t d = Load16(dst);
        const std::uint32_t s = Mode::kReadsSource ? Load16(src) : 0;
        std::uint32_t out;
        if constexpr (Col == kCoverOpaque) {
            out = Mode::Opaque(d, s);
        } else if constexpr (Mode::kDissolve) {
            out = Mode::Pick(d, s, weight.Next(), *random);
        } else {
            out = Mode::Covered(d, s, weight.Next());
        }
        Store16(dst, out);
    }
}

template <std::uint32_t K>
constexpr RIPFillKernelRow Fill16Row() {
    return {&Fill16Kernel<K, 0>, &Fill16Kernel<K, 1>, &Fill16Kernel<K, 2>,
            &Fill16Kernel<K, 3>, &Fill16Kernel<K, 4>, &Fill16Kernel<K, 5>};
}
template <std::uint32_t K, int Lane>
constexpr RIPBlitKernelRow Blit16Row() {
    return {&Blit16Kernel<K, Lane, 0>, &Blit16Kernel<K, Lane, 1>, &Blit16Kernel<K, Lane, 2>,
            &Blit16Kernel<K, Lane, 3>, &Blit16Kernel<K, Lane, 4>, &Blit16Kernel<K, Lane, 5>};
}
template <class Mode>
constexpr RIPBlitKernelRow Channel16Row() {
    return WithOpaqueSlot<Mode>(
        RIPBlitKernelRow{&Channel16Kernel<Mode, 0>, &Channel16Kernel<Mode, 1>, &Channel16Kernel<Mode, 2>,
                         &Channel16Kernel<Mode, 3>, &Channel16Kernel<Mode, 4>, &Channel16Kernel<Mode, 5>},
        &Channel16Kernel<Mode16Set, 0>, kRIPBlitNoOp);
}

}  // namespace raster::kernels::detail
