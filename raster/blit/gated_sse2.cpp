// The gated stretch's 4-lane vector path (SSE2). The unit is compiled for
// SSE2 also in the 32-bit build; it is used only when the processor has it.
#include "gated_lanes.h"

#if SVGFILTER_GATED_X86
#include <emmintrin.h>

#include <cstring>

namespace raster::blit::detail {
namespace {

struct Sse2 {
    using F = __m128;
    static constexpr std::uint32_t kLanes = 4;

    static F Load(const float* p) { return _mm_loadu_ps(p); }
    static void Store(float* p, F v) { _mm_storeu_ps(p, v); }
    static F Splat(float v) { return _mm_set1_ps(v); }
    static F Add(F a, F b) { return _mm_add_ps(a, b); }
    static F Mul(F a, F b) { return _mm_mul_ps(a, b); }
    static F Div(F a, F b) { return _mm_div_ps(a, b); }
    static F And(F a, F b) { return _mm_and_ps(a, b); }
    static F Or(F a, F b) { return _mm_or_ps(a, b); }
    static F Equal(F a, F b) { return _mm_cmpeq_ps(a, b); }
    static F Select(F mask, F a, F b) { return _mm_or_ps(_mm_and_ps(mask, a), _mm_andnot_ps(mask, b)); }
    static F NonZero(F a) { return _mm_cmpneq_ps(a, _mm_setzero_ps()); }

    static F LoadBytes(const std::uint8_t* p) {
        std::int32_t word;
        std::memcpy(&word, p, 4);
        const __m128i z = _mm_setzero_si128();
        const __m128i b = _mm_cvtsi32_si128(word);
        return _mm_cvtepi32_ps(_mm_unpacklo_epi16(_mm_unpacklo_epi8(b, z), z));
    }
    using I = __m128i;
    static constexpr std::uint32_t kWords = 8;
    static I LoadWords(const std::uint16_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
    static I LoadByteWords(const std::uint8_t* p) {
        return _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)), _mm_setzero_si128());
    }
    static void StoreWordBytes(std::uint8_t* p, I v) {
        _mm_storel_epi64(reinterpret_cast<__m128i*>(p), _mm_packus_epi16(v, v));
    }
    static I SplatWords(std::uint16_t v) { return _mm_set1_epi16(static_cast<short>(v)); }
    static I AddWords(I a, I b) { return _mm_add_epi16(a, b); }
    static I SubWords(I a, I b) { return _mm_sub_epi16(a, b); }
    static I MulWords(I a, I b) { return _mm_mullo_epi16(a, b); }
    static I MulHiWords(I a, I b) { return _mm_mulhi_epu16(a, b); }
    static I ShiftWords(I a, int s) { return _mm_srl_epi16(a, _mm_cvtsi32_si128(s)); }
    static I EqualWords(I a, I b) { return _mm_cmpeq_epi16(a, b); }
    static I OrWords(I a, I b) { return _mm_or_si128(a, b); }
    static I SelectWords(I mask, I a, I b) { return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b)); }
    static I UnpackLoWords(I a, I b) { return _mm_unpacklo_epi16(a, b); }
    static I UnpackHiWords(I a, I b) { return _mm_unpackhi_epi16(a, b); }
    static I MulAddWords(I a, I b) { return _mm_madd_epi16(a, b); }
    // trunc((n + 0.5) × r) of each 32-bit lane (RIPReciprocalDivisor).
    static I Quotient(I n, F r) { return _mm_cvttps_epi32(_mm_mul_ps(_mm_add_ps(_mm_cvtepi32_ps(n), _mm_set1_ps(0.5f)), r)); }
    static I PackDwords(I lo, I hi) { return _mm_packs_epi32(lo, hi); }

    // Truncates the lanes (0..255) and narrows them to bytes.
    static void StoreBytes(std::uint8_t* p, F v) {
        const __m128i i = _mm_cvttps_epi32(v);
        const __m128i b = _mm_packus_epi16(_mm_packs_epi32(i, i), _mm_setzero_si128());
        const std::int32_t word = _mm_cvtsi128_si32(b);
        std::memcpy(p, &word, 4);
    }
};

}  // namespace

constexpr GatedVectorOps kSse2GatedOps = BuildGatedOps<Sse2>();

}  // namespace raster::blit::detail
#endif
