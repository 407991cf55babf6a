// The scalar ends of the gated stretch's vector runs: the same
// single-precision steps as the lanes of gated_lanes.h, one sample at a
// time, so a run gives the same bytes wherever its vectors stop.
#pragma once

#include <cstdint>

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

}  // namespace raster::blit::detail
