// The gated stretch's vector operations, written once over a lane type V
// that an instruction-set unit supplies: V::kLanes single-precision lanes,
// loads of kLanes bytes widened to them, and their narrowing back to bytes.
// Every instantiation depends on the unit's own V, so nothing compiled for
// one instruction set is shared with another.
#pragma once

#include "gated_vector.h"

namespace raster::blit::detail {

template <class V>
std::uint32_t AccumulateMarked(float* sums, float* weights, const std::uint8_t* v, const std::uint8_t* marks, float w,
                               std::uint32_t n) {
    using F = typename V::F;
    const F weight = V::Splat(w);
    std::uint32_t i = 0;
    for (; n - i >= V::kLanes; i += V::kLanes) {
        const F taken = V::And(V::NonZero(V::LoadBytes(marks + i)), weight);  // w or 0
        V::Store(sums + i, V::Add(V::Load(sums + i), V::Mul(taken, V::LoadBytes(v + i))));
        V::Store(weights + i, V::Add(V::Load(weights + i), taken));
    }
    return i;
}

template <class V>
std::uint32_t Quotients(std::uint8_t* out, const float* sums, const float* weights, std::uint32_t n) {
    using F = typename V::F;
    const F zero = V::Splat(0.0f);
    std::uint32_t i = 0;
    for (; n - i >= V::kLanes; i += V::kLanes) {
        const F w = V::Load(weights + i);
        const F none = V::Equal(w, zero);
        // Where no weight arrived the quotient is NaN or infinite; the kept
        // byte takes its place before the conversion.
        const F q = V::Select(none, V::LoadBytes(out + i), V::Div(V::Load(sums + i), w));
        V::StoreBytes(out + i, q);
    }
    return i;
}

template <class V>
std::uint32_t Blend2(std::uint8_t* out, std::uint8_t* copy, const std::uint8_t* a, const std::uint8_t* b,
                     const std::uint8_t* ma, const std::uint8_t* mb, float wa, float wb, std::uint32_t n) {
    using F = typename V::F;
    const F zero = V::Splat(0.0f);
    const F weightA = V::Splat(wa), weightB = V::Splat(wb);
    std::uint32_t i = 0;
    for (; n - i >= V::kLanes; i += V::kLanes) {
        const F sa = V::And(V::NonZero(V::LoadBytes(ma + i)), weightA);
        const F sb = V::And(V::NonZero(V::LoadBytes(mb + i)), weightB);
        const F sum = V::Add(V::Mul(sa, V::LoadBytes(a + i)), V::Mul(sb, V::LoadBytes(b + i)));
        const F weight = V::Add(sa, sb);
        const F q = V::Select(V::Equal(weight, zero), V::LoadBytes(out + i), V::Div(sum, weight));
        V::StoreBytes(out + i, q);
        V::StoreBytes(copy + i, q);
    }
    return i;
}

template <class V>
std::uint32_t Interpolate(std::uint8_t* out, const std::uint8_t* a, const std::uint8_t* b, const std::uint8_t* reached,
                          const float* left, const float* right, std::uint32_t n) {
    using F = typename V::F;
    const F zero = V::Splat(0.0f);
    std::uint32_t i = 0;
    for (; n - i >= V::kLanes; i += V::kLanes) {
        const F wa = V::Load(left + i), wb = V::Load(right + i);
        const F sum = V::Add(V::Mul(wa, V::LoadBytes(a + i)), V::Mul(wb, V::LoadBytes(b + i)));
        const F none = V::Equal(V::LoadBytes(reached + i), zero);
        V::StoreBytes(out + i, V::Select(none, V::LoadBytes(out + i), V::Div(sum, V::Add(wa, wb))));
    }
    return i;
}

// The 16-bit forms: V::kWords lanes of V::I, bytes widened to them and
// narrowed back. Over a denominator of at most 256 a sample's weighted sum
// stays within 255 × 256 < 2^16 and is divided in its lane.
template <class V>
typename V::I DivideWords(typename V::I n, const RIPSmallDivisor& by) {
    const typename V::I t = V::MulHiWords(n, V::SplatWords(by.multiplier));
    return V::ShiftWords(V::AddWords(t, V::ShiftWords(V::SubWords(n, t), by.shift1)), by.shift2);
}

template <class V>
typename V::I Weigh(typename V::I va, typename V::I vb, typename V::I wa, typename V::I wb, const RIPSmallDivisor& by) {
    return DivideWords<V>(V::AddWords(V::MulWords(va, wa), V::MulWords(vb, wb)), by);
}

// Over a larger denominator each sample's a and b sit beside their weights
// and one multiply-add gives the sum in a 32-bit lane; the two halves are
// divided by the reciprocal and packed back in order.
template <class V>
typename V::I Weigh(typename V::I va, typename V::I vb, typename V::I wa, typename V::I wb,
                    const RIPReciprocalDivisor& by) {
    const typename V::F r = V::Splat(by.reciprocal);
    const typename V::I lo = V::MulAddWords(V::UnpackLoWords(va, vb), V::UnpackLoWords(wa, wb));
    const typename V::I hi = V::MulAddWords(V::UnpackHiWords(va, vb), V::UnpackHiWords(wa, wb));
    return V::PackDwords(V::Quotient(lo, r), V::Quotient(hi, r));
}

// The divisor is copied in: the byte stores could otherwise alias it, and
// its constants would be loaded again for every vector.
template <class V, class Divisor>
std::uint32_t InterpolateWords(std::uint8_t* out, const std::uint8_t* a, const std::uint8_t* b,
                               const std::uint8_t* reached, const std::uint16_t* left, const std::uint16_t* right,
                               const Divisor& divisor, std::uint32_t n) {
    using I = typename V::I;
    const Divisor by = divisor;
    const I zero = V::SplatWords(0);
    std::uint32_t i = 0;
    for (; n - i >= V::kWords; i += V::kWords) {
        const I q = Weigh<V>(V::LoadByteWords(a + i), V::LoadByteWords(b + i), V::LoadWords(left + i),
                             V::LoadWords(right + i), by);
        const I none = V::EqualWords(V::LoadByteWords(reached + i), zero);
        V::StoreWordBytes(out + i, V::SelectWords(none, V::LoadByteWords(out + i), q));
    }
    return i;
}

template <class V, class Divisor>
std::uint32_t Blend2Words(std::uint8_t* out, std::uint8_t* copy, const std::uint8_t* a, const std::uint8_t* b,
                          const std::uint8_t* ma, const std::uint8_t* mb, std::uint16_t wa, std::uint16_t wb,
                          const Divisor& divisor, std::uint32_t n) {
    using I = typename V::I;
    const Divisor by = divisor;
    const I zero = V::SplatWords(0), weightA = V::SplatWords(wa), weightB = V::SplatWords(wb);
    std::uint32_t i = 0;
    for (; n - i >= V::kWords; i += V::kWords) {
        const I va = V::LoadByteWords(a + i), vb = V::LoadByteWords(b + i);
        const I offA = V::EqualWords(V::LoadByteWords(ma + i), zero);
        const I offB = V::EqualWords(V::LoadByteWords(mb + i), zero);
        I r = V::SelectWords(offB, V::LoadByteWords(out + i), vb);
        r = V::SelectWords(offA, r, va);
        r = V::SelectWords(V::OrWords(offA, offB), r, Weigh<V>(va, vb, weightA, weightB, by));
        V::StoreWordBytes(out + i, r);
        V::StoreWordBytes(copy + i, r);
    }
    return i;
}

template <class V>
constexpr GatedVectorOps BuildGatedOps() {
    GatedVectorOps ops;
    ops.blend2 = &Blend2<V>;
    ops.interpolate = &Interpolate<V>;
    ops.accumulate = &AccumulateMarked<V>;
    ops.quotients = &Quotients<V>;
    ops.interpolateExact = &InterpolateWords<V, RIPSmallDivisor>;
    ops.blend2Exact = &Blend2Words<V, RIPSmallDivisor>;
    ops.interpolatePairs = &InterpolateWords<V, RIPReciprocalDivisor>;
    ops.blend2Pairs = &Blend2Words<V, RIPReciprocalDivisor>;
    return ops;
}

}  // namespace raster::blit::detail
