// Kernel templates of the 16-bit-sample family: fills and blits of 16-bit
// grey (one sample a pixel) and 48-bit RGB (three), and the 16-bit channel
// kernels (chan-16). Samples are native little-endian words at any byte
// address, so they are read and written through memcpy.
#pragma once

#include <cstring>

#include "kernels/direct_kernels.h"
#include "modes16.h"
#include "pixel_runs.h"
#include "table_rows.h"

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
        CoverageWalker<Col, false> weight(cov, 0);
        for (std::uint32_t i = 0; i < n; ++i, dst += 2 * K) {
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
        CoverageWalker<Col, false> weight(cov, 0);
        for (std::uint32_t i = 0; i < n; ++i, dst += kPixel, src += kPixel) {
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
