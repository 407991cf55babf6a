// The seam between the alpha-gated smooth stretch and its vector paths.
//
// The gated stretch divides each output sample by the weight it received,
// which differs from sample to sample. On 8-bit samples whose weights total
// at most 65536 the vector paths hold each sum and weight in single-precision
// lanes, where every such integer is exact (a sum stays within 255·65536 <
// 2^24), and divide in them: the rounded quotient of two such integers lies
// strictly between q and q + 1 unless it is q itself (its error is at most
// 2^-17, half the least distance 1/65536 to an integer), so truncating it
// gives floor(sum / weight), the plain path's integer quotient. Wider
// intermediates (the x87 unit of the 32-bit build) only shrink the error.
// Where the weights of a pass share a denominator, the quotient's divisor is
// one for the pass and integer lanes serve: 16-bit lanes up to 256
// (RIPSmallDivisor), 32-bit sums of 16-bit pairs up to 16383
// (RIPReciprocalDivisor).
//
// Each instruction set has one unit compiled for it (gated_sse2.cpp,
// gated_avx2.cpp); the functions do the run's leading whole vectors and
// return how many samples they did, the caller finishes the tail with the
// same single-precision steps, or the exact integer quotients the integer
// lanes give. Declarations only, as in the kernels' seam.
#pragma once

#include <cstdint>

#include "blit/resample.h"

namespace raster::blit::detail {

// The largest total weight the single-precision paths divide exactly.
inline constexpr std::int64_t kGatedMaxWeight = 65536;

struct GatedVectorOps {
    // sums[j] += w·v[j] and weights[j] += w for the samples whose mark is non-zero.
    std::uint32_t (*accumulate)(float* sums, float* weights, const std::uint8_t* v, const std::uint8_t* marks,
                                float w, std::uint32_t n) = nullptr;
    // out[j] = floor(sums[j] / weights[j]) where weights[j] is non-zero; out[j] kept elsewhere.
    std::uint32_t (*quotients)(std::uint8_t* out, const float* sums, const float* weights, std::uint32_t n) = nullptr;
    // Two rows at once, a and b weighing wa and wb where their marks are
    // non-zero: the two accumulations and the quotients above in one pass,
    // with the same single-precision steps; each result also goes to copy.
    std::uint32_t (*blend2)(std::uint8_t* out, std::uint8_t* copy, const std::uint8_t* a, const std::uint8_t* b,
                            const std::uint8_t* ma, const std::uint8_t* mb, float wa, float wb,
                            std::uint32_t n) = nullptr;
    // The gated resampling between two source samples a and b: where reached
    // is non-zero, out = floor((left·a + right·b) / (left + right)) as above,
    // out kept elsewhere. Where one of the two is unmarked the layout has put
    // the other's sample on both sides, which the weighing gives back exactly.
    std::uint32_t (*interpolate)(std::uint8_t* out, const std::uint8_t* a, const std::uint8_t* b,
                                 const std::uint8_t* reached, const float* left, const float* right,
                                 std::uint32_t n) = nullptr;
    // The two above where the weights have a common denominator (by), in
    // integer lanes (left + right = by.divisor): blend2 forms weigh a by wa
    // and b by wb over wa + wb = by.divisor (wb is 0 only where b is a); a
    // sample with one mark takes that sample, as the single-precision steps
    // give it.
    template <class Divisor>
    using InterpolateWords = std::uint32_t (*)(std::uint8_t* out, const std::uint8_t* a, const std::uint8_t* b,
                                               const std::uint8_t* reached, const std::uint16_t* left,
                                               const std::uint16_t* right, const Divisor& by, std::uint32_t n);
    template <class Divisor>
    using Blend2Words = std::uint32_t (*)(std::uint8_t* out, std::uint8_t* copy, const std::uint8_t* a,
                                          const std::uint8_t* b, const std::uint8_t* ma, const std::uint8_t* mb,
                                          std::uint16_t wa, std::uint16_t wb, const Divisor& by, std::uint32_t n);
    // Up to 256: the weighted sums fit 16-bit lanes and are divided exactly
    // there, twice as many samples to a vector.
    InterpolateWords<RIPSmallDivisor> interpolateExact = nullptr;
    Blend2Words<RIPSmallDivisor> blend2Exact = nullptr;
    // Up to 16383: each sample's pair (a, b) is weighed by one 16-bit
    // multiply-add into a 32-bit lane and divided by the reciprocal.
    InterpolateWords<RIPReciprocalDivisor> interpolatePairs = nullptr;
    Blend2Words<RIPReciprocalDivisor> blend2Pairs = nullptr;
    // Lays out the sources of whole groups of outputs (RIPGatherGroup) of
    // one, three or four samples, indexed by the samples a pixel has: a, b
    // and reached as the loop of the plain layout does, and the outputs'
    // alpha bytes, as long as the groups' windows lie inside the run of
    // `available` pixels; returns the outputs done. Null where the
    // instruction set has no byte shuffle.
    using Gather = std::uint32_t (*)(std::uint8_t* a, std::uint8_t* b, std::uint8_t* reached, std::uint8_t* alpha,
                                     const std::uint8_t* src, const std::uint8_t* srcAlpha,
                                     const RIPGatherGroup* groups, std::uint32_t count, std::int64_t first,
                                     std::int64_t available);
    Gather gather[5] = {};
};

#if defined(__x86_64__) || defined(__i386__)
#define SVGFILTER_GATED_X86 1
extern const GatedVectorOps kSse2GatedOps;
extern const GatedVectorOps kAvx2GatedOps;
#endif

// The operations of the kernels' features in force, or null for the plain path.
const GatedVectorOps* ActiveGatedOps();

}  // namespace raster::blit::detail
