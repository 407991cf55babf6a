// Kernel templates of the 8-bit sample families: grey fills (fill-8), grey
// blits (blit-8) and the channel kernels (chan-8) that most blit tables of
// 8-bit-sample formats share. A kernel is Mode × column × layout: the mode
// structs of modes8.h give the per-sample result, CoverageWalker the weight,
// and the layout here walks the bytes. Where the vector side has the mode and
// column, the leading whole vectors of a contiguous run go there.
#pragma once

#include <cstddef>
#include <cstring>

#include "kernels/kernel_tables.h"
#include "kernel_math.h"
#include "modes8.h"
#include "vector_kernels.h"

namespace raster::kernels::detail {

// Vector work starts only once a run holds at least one whole vector.
inline constexpr std::uint32_t kVectorMinimum = 16;

template <class Mode, std::uint32_t Col>
std::uint32_t VectorPrefixFill(std::uint32_t c, std::uint32_t n, std::uint8_t* dst, const RIPKernelCoverage* cov) {
    if constexpr (HasVectorPath<Mode::kMode, Col>()) {
        if (n >= kVectorMinimum) {
            if (const VectorKernels* v = ActiveVectorKernels()) {
                return v->fill[Mode::kMode][Col](c, n, dst, cov);
            }
        }
    }
    return 0;
}

template <class Mode, std::uint32_t Col>
std::uint32_t VectorPrefixBlit(std::uint32_t n, std::uint8_t* dst, const std::uint8_t* src,
                               const RIPKernelCoverage* cov) {
    if constexpr (HasVectorPath<Mode::kMode, Col>()) {
        if (n >= kVectorMinimum) {
            if (const VectorKernels* v = ActiveVectorKernels()) {
                return v->blit[Mode::kMode][Col](n, dst, src, cov);
            }
        }
    }
    return 0;
}

inline RIPKernelRandom& RandomOf(RIPKernelRandom* random) { return random != nullptr ? *random : ThreadRandom(); }

// One byte per pixel against the constant c.
template <class Mode, std::uint32_t Col>
void Fill8Kernel(const RIPKernelParams::Fill* params, std::uint32_t n, std::uint8_t* dst,
                 const RIPKernelCoverage* cov) {
    const std::uint32_t c = params->color.At(8);
    if constexpr (Col == kCoverOpaque && Mode::kConstantResult) {
        if (n != 0) {
            std::memset(dst, static_cast<int>(Mode::Opaque(0, c)), n);
        }
    } else if constexpr (Mode::kDissolve) {
        RIPKernelRandom& random = RandomOf(params->random);
        CoverageWalker<Col, Mode::kProductCol5> weight(cov, 0);
        for (std::uint32_t i = 0; i < n; ++i) {
            dst[i] = static_cast<std::uint8_t>(Mode::Pick(dst[i], c, weight.Next(), random));
        }
    } else {
        std::uint32_t i = VectorPrefixFill<Mode, Col>(c, n, dst, cov);
        CoverageWalker<Col, Mode::kProductCol5> weight(cov, i);
        for (; i < n; ++i) {
            if constexpr (Col == kCoverOpaque) {
                dst[i] = static_cast<std::uint8_t>(Mode::Opaque(dst[i], c));
            } else {
                dst[i] = static_cast<std::uint8_t>(Mode::Covered(dst[i], c, weight.Next()));
            }
        }
    }
}

// n contiguous samples of a source run into n of a destination run, one
// weight per sample.
template <class Mode, std::uint32_t Col>
void Contiguous8(std::uint32_t n, std::uint8_t* dst, const std::uint8_t* src, const RIPKernelCoverage* cov,
                 RIPKernelRandom* random) {
    if constexpr (Col == kCoverOpaque && Mode::kMode == kModeSet) {
        if (n != 0 && dst != src) {
            std::memcpy(dst, src, n);
        }
    } else if constexpr (Mode::kDissolve) {
        RIPKernelRandom& r = RandomOf(random);
        CoverageWalker<Col, Mode::kProductCol5> weight(cov, 0);
        for (std::uint32_t i = 0; i < n; ++i) {
            dst[i] = static_cast<std::uint8_t>(Mode::Pick(dst[i], src[i], weight.Next(), r));
        }
    } else {
        std::uint32_t i = VectorPrefixBlit<Mode, Col>(n, dst, src, cov);
        CoverageWalker<Col, Mode::kProductCol5> weight(cov, i);
        for (; i < n; ++i) {
            if constexpr (Col == kCoverOpaque) {
                dst[i] = static_cast<std::uint8_t>(Mode::Opaque(dst[i], src[i]));
            } else {
                dst[i] = static_cast<std::uint8_t>(Mode::Covered(dst[i], src[i], weight.Next()));
            }
        }
    }
}

// The own kernels of blit-8: one byte per pixel in both runs.
template <class Mode, std::uint32_t Col>
void Blit8Kernel(const RIPKernelParams::Blit* params, std::uint32_t n, std::uint8_t* dst, const std::uint8_t* src,
                 const RIPKernelCoverage* cov) {
    AssertRunsApart(dst, n, src, n);
    Contiguous8<Mode, Col>(n, dst, src, cov, params->random);
}

// Channel kernels: at each step, channelsPerPixel samples (highest channel
// first) under one weight, then both runs advance by their byte steps. The
// mode-0 kernels always take one sample per step; any other mode leaves the
// destination alone unless the count is 1, 3 or 4.
template <class Mode, std::uint32_t Col>
void Channel8Kernel(const RIPKernelParams::Blit* params, std::uint32_t n, std::uint8_t* dst,
                    const std::uint8_t* src, const RIPKernelCoverage* cov) {
    constexpr bool kOneSample = Mode::kMode == kModeSet;
    const std::uint32_t k = kOneSample ? 1 : params->channelsPerPixel;
    if (!kOneSample && k != 1 && k != 3 && k != 4) {
        return;
    }
    const std::int32_t srcStep = params->srcStep;
    const std::int32_t dstStep = params->dstStep;
    if (srcStep > 0 && dstStep > 0) {
        AssertRunsApart(dst, StridedSpan(n, dstStep, k), src, StridedSpan(n, srcStep, k));
    }
    // Whole pixels laid end to end are one contiguous run of samples: opaque
    // results depend on nothing but the sample, and one weight per sample is
    // one weight per pixel when a pixel is one sample.
    const bool contiguous = srcStep == static_cast<std::int32_t>(k) && dstStep == static_cast<std::int32_t>(k);
    if constexpr (!Mode::kDissolve) {
        if (contiguous && k == 1) {
            Contiguous8<Mode, Col>(n, dst, src, cov, params->random);
            return;
        }
        if constexpr (Col == kCoverOpaque) {
            if (contiguous && n <= UINT32_MAX / k) {
                Contiguous8<Mode, Col>(n * k, dst, src, cov, params->random);
                return;
            }
        }
    }
    RIPKernelRandom* random = nullptr;
    if constexpr (Mode::kDissolve) {
        random = &RandomOf(params->random);
    }
    CoverageWalker<Col, Mode::kProductCol5> weight(cov, 0);
    for (std::uint32_t i = 0; i < n; ++i, dst += dstStep, src += srcStep) {
        const std::uint32_t w = weight.Next();
        for (std::uint32_t ch = k; ch-- > 0;) {
            if constexpr (Col == kCoverOpaque) {
                dst[ch] = static_cast<std::uint8_t>(Mode::Opaque(dst[ch], src[ch]));
            } else if constexpr (Mode::kDissolve) {
                dst[ch] = static_cast<std::uint8_t>(Mode::Pick(dst[ch], src[ch], w, *random));
            } else {
                dst[ch] = static_cast<std::uint8_t>(Mode::Covered(dst[ch], src[ch], w));
            }
        }
    }
}

inline constexpr RIPFillKernel kRIPFillKernelSet8 = &Fill8Kernel<ModeSet, kCoverOpaque>;
inline constexpr RIPBlitKernel kRIPBlitKernelCopy8 = &Blit8Kernel<ModeSet, kCoverOpaque>;
inline constexpr RIPBlitKernel kRIPChannelKernelCopy8 = &Channel8Kernel<ModeSet, kCoverOpaque>;

// Rows: the six columns of one mode. Behind has no opaque kernel; Dissolve's
// column 0 is the row-0 one (Set).
template <class Mode, class Row, class Kernel>
constexpr Row WithOpaqueSlot(Row r, Kernel set, Kernel noOp) {
    if constexpr (!Mode::kHasOpaque) {
        r[0] = Mode::kDissolve ? set : noOp;
    }
    return r;
}

template <class Mode>
constexpr RIPFillKernelRow Fill8Row() {
    return WithOpaqueSlot<Mode>(
        RIPFillKernelRow{&Fill8Kernel<Mode, 0>, &Fill8Kernel<Mode, 1>, &Fill8Kernel<Mode, 2>,
                         &Fill8Kernel<Mode, 3>, &Fill8Kernel<Mode, 4>, &Fill8Kernel<Mode, 5>},
        kRIPFillKernelSet8, kRIPFillNoOp);
}
template <class Mode>
constexpr RIPBlitKernelRow Blit8Row() {
    return WithOpaqueSlot<Mode>(
        RIPBlitKernelRow{&Blit8Kernel<Mode, 0>, &Blit8Kernel<Mode, 1>, &Blit8Kernel<Mode, 2>,
                         &Blit8Kernel<Mode, 3>, &Blit8Kernel<Mode, 4>, &Blit8Kernel<Mode, 5>},
        kRIPBlitKernelCopy8, kRIPBlitNoOp);
}
template <class Mode>
constexpr RIPBlitKernelRow Channel8Row() {
    return WithOpaqueSlot<Mode>(
        RIPBlitKernelRow{&Channel8Kernel<Mode, 0>, &Channel8Kernel<Mode, 1>, &Channel8Kernel<Mode, 2>,
                         &Channel8Kernel<Mode, 3>, &Channel8Kernel<Mode, 4>, &Channel8Kernel<Mode, 5>},
        kRIPChannelKernelCopy8, kRIPBlitNoOp);
}

template <class Row, auto kKernel>
constexpr Row RowOf() {
    Row r{};
    r.fill(kKernel);
    return r;
}
inline constexpr RIPFillKernelRow kFillNoOpRow = RowOf<RIPFillKernelRow, kRIPFillNoOp>();
inline constexpr RIPBlitKernelRow kBlitNoOpRow = RowOf<RIPBlitKernelRow, kRIPBlitNoOp>();
inline constexpr RIPFillKernelRow kFillPendingRow = RowOf<RIPFillKernelRow, kRIPFillPending>();
inline constexpr RIPBlitKernelRow kBlitPendingRow = RowOf<RIPBlitKernelRow, kRIPBlitPending>();

// The layout fill-8 and chan-8 share: `row(Mode{})` gives a mode's six kernels.
template <class Table, class MakeRow, class Row>
constexpr Table BuildGrey8Layout(MakeRow row, const Row& noOp) {
    Table t{};
    t[0] = row(ModeSet{});
    t[1] = row(ModeAnd{});
    t[2] = row(ModeOr{});
    t[3] = row(ModeXor{});
    t[4] = row(ModeAndNot{});
    t[5] = row(ModeInvert{});
    t[6] = row(ModeSetInverse{});
    t[7] = row(ModeAdd{});
    t[8] = row(ModeAddMinus{});
    t[9] = row(ModeMultiply{});
    t[10] = row(ModeDivide{});
    t[11] = row(ModeLighten{});
    t[12] = row(ModeDarken{});
    t[13] = t[9];  // the lightness of one grey sample is the sample
    for (std::uint32_t m = 14; m <= 23; ++m) {
        t[m] = noOp;
    }
    t[18] = t[0];  // channel 0 of a one-channel format is the pixel
    t[24] = row(ModeDifference{});
    t[25] = row(ModeSubtract{});
    t[26] = row(ModeMultiplyInverse{});
    t[27] = row(ModeBehind{});
    t[28] = row(ModeScreen{});
    t[29] = row(ModeOverlay{});
    t[30] = row(ModeSoftLight{});
    t[31] = row(ModeHardLight{});
    t[32] = row(ModeDissolve{});
    t[33] = row(ModeDodge{});
    t[34] = row(ModeBurn{});
    t[35] = noOp;
    return t;
}

// chan-8 as a whole, which the blit tables of 8-bit-sample formats draw rows from.
inline constexpr RIPChannelKernelTable kChannel8Table = BuildGrey8Layout<RIPChannelKernelTable>(
    [](auto mode) { return Channel8Row<decltype(mode)>(); }, kBlitNoOpRow);

}  // namespace raster::kernels::detail
