// The scalar ends of the gated stretch's vector runs: the same
// single-precision steps as the lanes of gated_lanes.h, one sample at a
// time, so a run gives the same bytes wherever its vectors stop.
#pragma once

#include <cstdint>

#include "blit/resample.h"

namespace raster::blit::detail {

inline void AccumulateMarkedTail(float* sums, float* weights, const std::uint8_t* v, const std::uint8_t* marks,
                                 float w, std::uint32_t from, std::uint32_t n) {
    for (std::uint32_t j = from; j < n; ++j) {
        if (marks[j] == 0) continue;
        sums[j] += w * static_cast<float>(v[j]);
        weights[j] += w;
    }
}

inline void QuotientsTail(std::uint8_t* out, const float* sums, const float* weights, std::uint32_t from,
                          std::uint32_t n) {
    for (std::uint32_t j = from; j < n; ++j) {
        if (weights[j] != 0.0f) out[j] = static_cast<std::uint8_t>(static_cast<std::int32_t>(sums[j] / weights[j]));
    }
}

inline void Blend2Tail(std::uint8_t* out, std::uint8_t* copy, const std::uint8_t* a, const std::uint8_t* b,
                       const std::uint8_t* ma, const std::uint8_t* mb, float wa, float wb, std::uint32_t from,
                       std::uint32_t n) {
    for (std::uint32_t j = from; j < n; ++j) {
        const float sa = ma[j] != 0 ? wa : 0.0f;
        const float sb = mb[j] != 0 ? wb : 0.0f;
        const float sum = sa * static_cast<float>(a[j]) + sb * static_cast<float>(b[j]);
        const float weight = sa + sb;
        if (weight != 0.0f) out[j] = static_cast<std::uint8_t>(static_cast<std::int32_t>(sum / weight));
        copy[j] = out[j];
    }
}

inline void InterpolateTail(std::uint8_t* out, const std::uint8_t* a, const std::uint8_t* b, const std::uint8_t* reached,
                            const float* left, const float* right, std::uint32_t from, std::uint32_t n) {
    for (std::uint32_t j = from; j < n; ++j) {
        if (reached[j] == 0) continue;
        const float sum = left[j] * static_cast<float>(a[j]) + right[j] * static_cast<float>(b[j]);
        out[j] = static_cast<std::uint8_t>(static_cast<std::int32_t>(sum / (left[j] + right[j])));
    }
}

// The 16-bit forms' ends: each divisor divides exactly, as its lanes do.
template <class Divisor>
void InterpolateWordsTail(std::uint8_t* out, const std::uint8_t* a, const std::uint8_t* b, const std::uint8_t* reached,
                          const std::uint16_t* left, const std::uint16_t* right, const Divisor& by,
                          std::uint32_t from, std::uint32_t n) {
    for (std::uint32_t j = from; j < n; ++j) {
        if (reached[j] != 0) out[j] = static_cast<std::uint8_t>(by.Divide(a[j] * std::uint32_t{left[j]} + b[j] * std::uint32_t{right[j]}));
    }
}

template <class Divisor>
void Blend2WordsTail(std::uint8_t* out, std::uint8_t* copy, const std::uint8_t* a, const std::uint8_t* b,
                     const std::uint8_t* ma, const std::uint8_t* mb, std::uint16_t wa, std::uint16_t wb,
                     const Divisor& by, std::uint32_t from, std::uint32_t n) {
    for (std::uint32_t j = from; j < n; ++j) {
        if (ma[j] != 0 && mb[j] != 0) {
            out[j] = static_cast<std::uint8_t>(by.Divide(a[j] * std::uint32_t{wa} + b[j] * std::uint32_t{wb}));
        } else if (ma[j] != 0) {
            out[j] = a[j];
        } else if (mb[j] != 0) {
            out[j] = b[j];
        }
        copy[j] = out[j];
    }
}

}  // namespace raster::blit::detail
