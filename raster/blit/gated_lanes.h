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
constexpr GatedVectorOps BuildGatedOps() {
    GatedVectorOps ops;
    ops.accumulate = &AccumulateMarked<V>;
    ops.quotients = &Quotients<V>;
    return ops;
}

}  // namespace raster::blit::detail
