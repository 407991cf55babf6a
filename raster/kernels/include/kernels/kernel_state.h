// Module state the kernels read: the product table, the SoftLight curves and
// the processor-feature word that picks the vector paths.
//
// The tables are constant data built at compile time; the feature word is
// detected once when the program starts and is zero (the plain path) before
// that. Tests and the benchmark change it through RIPSetProcessorFeatures.
#pragma once

#include <atomic>
#include <cstdint>

namespace raster::kernels {

// T[x] = floor(x / 255) for x in 0..65025: a·b/255 of two bytes is T[a·b].
inline constexpr std::uint32_t kRIPProductTableSize = 65026;
extern const std::uint8_t* const RIPProductTable;

// Mode 30 blends toward these per destination sample: Low[d] = T[d·d] (below
// 128), High[d] = floor(sqrt(255·d)) (from 128).
extern const std::uint8_t* const RIPSoftLightCurveLow;
extern const std::uint8_t* const RIPSoftLightCurveHigh;

// Feature bits. The vector bit keeps its historic position.
inline constexpr std::uint32_t kRIPFeatureVector = 0x00800000u;  // 16-byte vectors (SSE2)
inline constexpr std::uint32_t kRIPFeatureWide = 0x01000000u;    // 32-byte vectors (AVX2)

// Read on every call of a kernel with a vector path.
extern std::atomic<std::uint32_t> RIPProcessorFeatures;

// What the processor offers, less what SVGFILTER_KERNEL_PATH=plain|sse2 turns off.
std::uint32_t RIPDetectProcessorFeatures();

// Installs a feature word (masked to what the processor has) and returns the
// previous one; 0 forces the plain path everywhere.
std::uint32_t RIPSetProcessorFeatures(std::uint32_t features);

}  // namespace raster::kernels
