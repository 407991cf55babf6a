// The vector forms of the 8-bit merge modes, of the 16-bit blend and of runs
// of one pixel value, written once over a lane type V that an
// instruction-set unit supplies (vector_sse2.cpp, vector_avx2.cpp).
//
// V gives a register R of V::kBytes bytes with byte operations, widening of
// its low and high halves to 16-bit lanes and narrowing back, and 16-bit
// lane arithmetic. Division by 255 uses the closed form
// (t + 1 + (t >> 8)) >> 8, exact for every t up to 255·255, so each function
// gives the bytes of the plain mode in modes8.h. Every product and sum below
// stays within 255·255 and fits a 16-bit lane.
//
// Everything here is a template whose instantiations depend on the unit's own
// V, so nothing compiled for one instruction set is shared with another.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>

#include "vector_kernels.h"

namespace raster::kernels::detail {

template <class V>
struct Wide {
    typename V::R lo, hi;
};

template <class V>
Wide<V> Widen(typename V::R x) {
    return {V::Lo16(x), V::Hi16(x)};
}
template <class V>
typename V::R Narrow(Wide<V> x) {
    return V::Pack16(x.lo, x.hi);
}
template <class V>
Wide<V> Splat16(std::uint32_t v) {
    const typename V::R r = V::Splat16(static_cast<std::uint16_t>(v));
    return {r, r};
}
template <class V>
Wide<V> Mul(Wide<V> a, Wide<V> b) {
    return {V::Mul16(a.lo, b.lo), V::Mul16(a.hi, b.hi)};
}
template <class V>
Wide<V> Add(Wide<V> a, Wide<V> b) {
    return {V::Add16(a.lo, b.lo), V::Add16(a.hi, b.hi)};
}
template <class V>
Wide<V> Sub(Wide<V> a, Wide<V> b) {
    return {V::Sub16(a.lo, b.lo), V::Sub16(a.hi, b.hi)};
}
// T[t] for t in 0..65025.
template <class V>
typename V::R Div255(typename V::R t) {
    return V::Shr8x16(V::Add16(V::Add16(t, V::Splat16(1)), V::Shr8x16(t)));
}
template <class V>
Wide<V> Div255(Wide<V> t) {
    return {Div255<V>(t.lo), Div255<V>(t.hi)};
}

// T[a·b] of two byte vectors.
template <class V>
typename V::R Product(typename V::R a, typename V::R b) {
    return Narrow<V>(Div255<V>(Mul<V>(Widen<V>(a), Widen<V>(b))));
}
// T[a·w] of a byte vector and a weight in 16-bit lanes.
template <class V>
typename V::R Scale(typename V::R a, Wide<V> w) {
    return Narrow<V>(Div255<V>(Mul<V>(Widen<V>(a), w)));
}
// B(d, f, w) = T[f·w + d·(255 − w)].
template <class V>
typename V::R Blend(typename V::R d, typename V::R f, Wide<V> w) {
    const Wide<V> inv = Sub<V>(Splat16<V>(255), w);
    return Narrow<V>(Div255<V>(Add<V>(Mul<V>(Widen<V>(f), w), Mul<V>(Widen<V>(d), inv))));
}

template <class V, VecOpaque Op>
typename V::R Opaque(typename V::R d, typename V::R s) {
    if constexpr (Op == VecOpaque::Set) {
        return s;
    } else if constexpr (Op == VecOpaque::And) {
        return V::And(d, s);
    } else if constexpr (Op == VecOpaque::Or) {
        return V::Or(d, s);
    } else if constexpr (Op == VecOpaque::Xor) {
        return V::Xor(d, s);
    } else if constexpr (Op == VecOpaque::AndNot) {
        return V::AndNot(d, s);
    } else if constexpr (Op == VecOpaque::Invert) {
        return V::Not(d);
    } else if constexpr (Op == VecOpaque::SetInverse) {
        return V::Not(s);
    } else if constexpr (Op == VecOpaque::Add) {
        return V::AddSat(d, s);
    } else if constexpr (Op == VecOpaque::AddMinus) {
        return V::SubSat(d, V::Not(s));  // max(d − (255 − s), 0)
    } else if constexpr (Op == VecOpaque::Multiply) {
        return Product<V>(d, s);
    } else if constexpr (Op == VecOpaque::Lighten) {
        return V::Max(d, s);
    } else if constexpr (Op == VecOpaque::Darken) {
        return V::Min(d, s);
    } else if constexpr (Op == VecOpaque::Difference) {
        return V::Or(V::SubSat(d, s), V::SubSat(s, d));
    } else if constexpr (Op == VecOpaque::Subtract) {
        return V::SubSat(d, s);
    } else if constexpr (Op == VecOpaque::MultiplyInverse) {
        return Product<V>(d, V::Not(s));
    } else {
        static_assert(Op == VecOpaque::Screen);
        return V::Not(Product<V>(V::Not(d), V::Not(s)));
    }
}

template <class V, VecOpaque Op, VecCover Cover>
typename V::R Covered(typename V::R d, typename V::R s, Wide<V> w) {
    if constexpr (Cover == VecCover::Blend) {
        return Blend<V>(d, Opaque<V, Op>(d, s), w);
    } else if constexpr (Cover == VecCover::AddScaled) {
        return V::AddSat(d, Scale<V>(s, w));
    } else if constexpr (Cover == VecCover::SubtractScaled) {
        return V::SubSat(d, Scale<V>(V::Not(s), w));
    } else if constexpr (Cover == VecCover::LightenBlend) {
        return V::Max(d, Blend<V>(d, s, w));
    } else if constexpr (Cover == VecCover::DarkenBlend) {
        return V::Min(d, Blend<V>(d, s, w));
    } else if constexpr (Cover == VecCover::DifferenceScaled) {
        const typename V::R t = Scale<V>(s, w);
        return V::Or(V::SubSat(d, t), V::SubSat(t, d));
    } else if constexpr (Cover == VecCover::SubtractSourceScaled) {
        return V::SubSat(d, Scale<V>(s, w));
    } else {
        static_assert(Cover == VecCover::BehindBlend);
        return Blend<V>(s, d, w);
    }
}

// The weight of column Col for the pixels at offset i of the run.
template <class V, std::uint32_t Col>
Wide<V> Weight(const RIPKernelCoverage* cov, std::uint32_t i) {
    if constexpr (Col == kCoverMask) {
        return Widen<V>(V::Load(cov->mask1 + i));
    } else if constexpr (Col == kCoverConstant) {
        return Splat16<V>(cov->opacity);
    } else if constexpr (Col == kCoverMaskMask) {
        return Div255<V>(Mul<V>(Widen<V>(V::Load(cov->mask1 + i)), Widen<V>(V::Load(cov->mask2 + i))));
    } else if constexpr (Col == kCoverMaskConstant) {
        return Div255<V>(Mul<V>(Widen<V>(V::Load(cov->mask1 + i)), Splat16<V>(cov->opacity)));
    } else {
        static_assert(Col == kCoverMaskMaskConstant);
        const Wide<V> m = Div255<V>(Mul<V>(Widen<V>(V::Load(cov->mask1 + i)), Widen<V>(V::Load(cov->mask2 + i))));
        return Div255<V>(Mul<V>(m, Splat16<V>(cov->opacity)));
    }
}

template <class V, std::uint32_t Mode, std::uint32_t Col, bool kFill>
std::uint32_t Run(std::uint32_t c, std::uint32_t n, std::uint8_t* dst, const std::uint8_t* src,
                  const RIPKernelCoverage* cov) {
    constexpr VecModeSpec spec = kVecModeSpecs[Mode];
    constexpr bool kReadsSource = spec.opaque != VecOpaque::Invert || Col != kCoverOpaque;
    using R = typename V::R;
    const R splat = V::Splat8(static_cast<std::uint8_t>(c));
    std::uint32_t i = 0;
    for (; n - i >= V::kBytes; i += V::kBytes) {
        const R d = V::Load(dst + i);
        R s = splat;
        if constexpr (!kFill && kReadsSource) {
            s = V::Load(src + i);
        }
        R r;
        if constexpr (Col == kCoverOpaque) {
            r = Opaque<V, spec.opaque>(d, s);
        } else {
            r = Covered<V, spec.opaque, spec.cover>(d, s, Weight<V, Col>(cov, i));
        }
        V::Store(dst + i, r);
    }
    return i;
}

template <class V, std::uint32_t Mode, std::uint32_t Col>
std::uint32_t FillRun(std::uint32_t c, std::uint32_t n, std::uint8_t* dst, const RIPKernelCoverage* cov) {
    return Run<V, Mode, Col, true>(c, n, dst, nullptr, cov);
}
template <class V, std::uint32_t Mode, std::uint32_t Col>
std::uint32_t BlitRun(std::uint32_t n, std::uint8_t* dst, const std::uint8_t* src, const RIPKernelCoverage* cov) {
    return Run<V, Mode, Col, false>(0, n, dst, src, cov);
}

// The pattern repeats every three vectors (a multiple of every pixel size);
// one unaligned store covers the bytes before the first aligned address, and
// the three vectors are loaded at that address's phase in the pattern.
template <class V>
std::size_t PatternFill(std::uint8_t* dst, std::size_t bytes, const std::uint8_t* px, std::size_t size) {
    constexpr std::size_t kPeriod = 3 * V::kBytes;
    if (bytes < 2 * kPeriod) {
        return 0;
    }
    alignas(32) std::uint8_t pattern[2 * kPeriod];
    for (std::size_t i = 0; i < 2 * kPeriod; ++i) {
        pattern[i] = px[i % size];
    }
    V::Store(dst, V::Load(pattern));
    const std::size_t head = (V::kBytes - reinterpret_cast<std::uintptr_t>(dst) % V::kBytes) % V::kBytes;
    const std::uint8_t* phase = pattern + head % size;
    const typename V::R r0 = V::Load(phase);
    const typename V::R r1 = V::Load(phase + V::kBytes);
    const typename V::R r2 = V::Load(phase + 2 * V::kBytes);
    std::size_t at = head;
    if (bytes >= kStreamFillBytes) {
        for (; bytes - at >= kPeriod; at += kPeriod) {
            V::Stream(dst + at, r0);
            V::Stream(dst + at + V::kBytes, r1);
            V::Stream(dst + at + 2 * V::kBytes, r2);
        }
        V::Fence();  // the streamed stores are seen before anything after the fill
    } else {
        for (; bytes - at >= kPeriod; at += kPeriod) {
            V::StoreAligned(dst + at, r0);
            V::StoreAligned(dst + at + V::kBytes, r1);
            V::StoreAligned(dst + at + 2 * V::kBytes, r2);
        }
    }
    return at / size * size;
}

// The 16-bit blend quotient q(x) = min(floor(65536·x / (255·65535)), 65535)
// on 32-bit lanes, x in 0..255·65535, as a multiplication by a reciprocal
// and a shift: floor(x·1077969025 / 2^38) is the plain path's quotient for
// every such x but the last, where it is 65536, and the narrowing pack
// saturates that to 65535. The products (below 2^55) are taken two lanes at
// a time, even and odd; the odd quotients land in their high halves.
template <class V>
typename V::R BlendQuotient16(typename V::R x) {
    using R = typename V::R;
    const R m = V::Splat32(1077969025u);
    const R even = V::template Shr64<38>(V::MulEvenU32(x, m));
    const R odd = V::template Shr64<6>(V::MulEvenU32(V::template Shr64<32>(x), m));
    return V::Or(even, V::And(odd, V::Splat64(0xFFFFFFFF00000000u)));
}

// f·w + d·(255 − w) fits 24 bits: each 16×8-bit product is put together
// from its low and high 16-bit halves in 32-bit lanes.
template <class V>
std::uint32_t Blend16Run(std::uint32_t n, std::uint8_t* dst, const std::uint8_t* src, const std::uint8_t* weights) {
    using R = typename V::R;
    constexpr std::uint32_t kSamples = V::kBytes / 2;
    const R full = V::Splat16(255);
    std::uint32_t i = 0;
    for (; n - i >= kSamples; i += kSamples) {
        const R d = V::Load(dst + 2 * static_cast<std::size_t>(i));
        const R f = V::Load(src + 2 * static_cast<std::size_t>(i));
        const R w = V::LoadWidened8(weights + i);
        const R iw = V::Sub16(full, w);
        const R fwLo = V::Mul16(f, w), fwHi = V::MulHiU16(f, w);
        const R dwLo = V::Mul16(d, iw), dwHi = V::MulHiU16(d, iw);
        const R lo = V::Add32(V::Unpack16Lo(fwLo, fwHi), V::Unpack16Lo(dwLo, dwHi));
        const R hi = V::Add32(V::Unpack16Hi(fwLo, fwHi), V::Unpack16Hi(dwLo, dwHi));
        V::Store(dst + 2 * static_cast<std::size_t>(i),
                 V::PackSaturated32(BlendQuotient16<V>(lo), BlendQuotient16<V>(hi)));
    }
    return i;
}

template <class V, std::uint32_t Mode, std::uint32_t Col>
constexpr void AddVectorSlot(VectorKernels& k) {
    if constexpr (HasVectorPath<Mode, Col>()) {
        k.fill[Mode][Col] = &FillRun<V, Mode, Col>;
        k.blit[Mode][Col] = &BlitRun<V, Mode, Col>;
    }
}

template <class V, std::uint32_t Mode>
constexpr void AddVectorRow(VectorKernels& k) {
    AddVectorSlot<V, Mode, 0>(k);
    AddVectorSlot<V, Mode, 1>(k);
    AddVectorSlot<V, Mode, 2>(k);
    AddVectorSlot<V, Mode, 3>(k);
    AddVectorSlot<V, Mode, 4>(k);
    AddVectorSlot<V, Mode, 5>(k);
}

template <class V, std::uint32_t... Modes>
constexpr VectorKernels BuildVectorKernels(std::integer_sequence<std::uint32_t, Modes...>) {
    VectorKernels k;
    (AddVectorRow<V, Modes>(k), ...);
    k.patternFill = &PatternFill<V>;
    k.blend16 = &Blend16Run<V>;
    return k;
}

template <class V>
constexpr VectorKernels BuildVectorKernels() {
    return BuildVectorKernels<V>(std::make_integer_sequence<std::uint32_t, kRIPMergeModeCount>{});
}

}  // namespace raster::kernels::detail
