// The gated stretch's 8-lane vector path (AVX2), used only when the
// processor has it.
#include "gated_lanes.h"

#if SVGFILTER_GATED_X86
#include <immintrin.h>

namespace raster::blit::detail {
namespace {

struct Avx2 {
    using F = __m256;
    static constexpr std::uint32_t kLanes = 8;

    static F Load(const float* p) { return _mm256_loadu_ps(p); }
    static void Store(float* p, F v) { _mm256_storeu_ps(p, v); }
    static F Splat(float v) { return _mm256_set1_ps(v); }
    static F Add(F a, F b) { return _mm256_add_ps(a, b); }
    static F Mul(F a, F b) { return _mm256_mul_ps(a, b); }
    static F Div(F a, F b) { return _mm256_div_ps(a, b); }
    static F And(F a, F b) { return _mm256_and_ps(a, b); }
    static F Or(F a, F b) { return _mm256_or_ps(a, b); }
    static F Equal(F a, F b) { return _mm256_cmp_ps(a, b, _CMP_EQ_OQ); }
    static F Select(F mask, F a, F b) { return _mm256_blendv_ps(b, a, mask); }
    static F NonZero(F a) { return _mm256_cmp_ps(a, _mm256_setzero_ps(), _CMP_NEQ_OQ); }

    static F LoadBytes(const std::uint8_t* p) {
        return _mm256_cvtepi32_ps(_mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p))));
    }
    // Truncates the lanes (0..255) and narrows them to bytes; the packs work
    // within 128-bit halves, so the halves are joined first.
    static void StoreBytes(std::uint8_t* p, F v) {
        const __m256i i = _mm256_cvttps_epi32(v);
        const __m128i words = _mm_packs_epi32(_mm256_castsi256_si128(i), _mm256_extracti128_si256(i, 1));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(p), _mm_packus_epi16(words, words));
    }
};

}  // namespace

constexpr GatedVectorOps kAvx2GatedOps = BuildGatedOps<Avx2>();

}  // namespace raster::blit::detail
#endif
