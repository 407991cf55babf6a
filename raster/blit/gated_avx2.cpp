// The gated stretch's 8-lane vector path (AVX2), used only when the
// processor has it.
#include "gated_lanes.h"

#if SVGFILTER_GATED_X86
#include <immintrin.h>

#include <cstring>

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
    using I = __m256i;
    static constexpr std::uint32_t kWords = 16;
    static I LoadWords(const std::uint16_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
    static I LoadByteWords(const std::uint8_t* p) {
        return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
    }
    // The pack works within 128-bit halves, so the halves are joined first.
    static void StoreWordBytes(std::uint8_t* p, I v) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p),
                         _mm_packus_epi16(_mm256_castsi256_si128(v), _mm256_extracti128_si256(v, 1)));
    }
    static I SplatWords(std::uint16_t v) { return _mm256_set1_epi16(static_cast<short>(v)); }
    static I AddWords(I a, I b) { return _mm256_add_epi16(a, b); }
    static I SubWords(I a, I b) { return _mm256_sub_epi16(a, b); }
    static I MulWords(I a, I b) { return _mm256_mullo_epi16(a, b); }
    static I MulHiWords(I a, I b) { return _mm256_mulhi_epu16(a, b); }
    static I ShiftWords(I a, int s) { return _mm256_srl_epi16(a, _mm_cvtsi32_si128(s)); }
    static I EqualWords(I a, I b) { return _mm256_cmpeq_epi16(a, b); }
    static I OrWords(I a, I b) { return _mm256_or_si256(a, b); }
    static I SelectWords(I mask, I a, I b) { return _mm256_blendv_epi8(b, a, mask); }

    // Truncates the lanes (0..255) and narrows them to bytes; the packs work
    // within 128-bit halves, so the halves are joined first.
    static void StoreBytes(std::uint8_t* p, F v) {
        const __m256i i = _mm256_cvttps_epi32(v);
        const __m128i words = _mm_packs_epi32(_mm256_castsi256_si128(i), _mm256_extracti128_si256(i, 1));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(p), _mm_packus_epi16(words, words));
    }
};

// The byte shuffles of RIPGatherGroup: each group's 12 bytes of a, b and
// codes are stored as 16, the last four overwritten by the next group (the
// buffers have room past the last).
std::uint32_t Gather3(std::uint8_t* a, std::uint8_t* b, std::uint8_t* codes, std::uint8_t* alpha,
                      const std::uint8_t* src, const std::uint8_t* srcAlpha, const RIPGatherGroup* groups,
                      std::uint32_t count, std::int64_t first, std::int64_t available) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i ones = _mm_set1_epi8(1), twos = _mm_set1_epi8(2);
    const __m128i firstSamples = _mm_setr_epi8(0, 3, 6, 9, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1);
    const auto load = [](const std::uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); };
    const auto load8 = [](const std::uint8_t* p) { return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)); };
    std::uint32_t done = 0;
    for (; count - done >= 4; done += 4) {
        const RIPGatherGroup& g = groups[done / 4];
        const std::int64_t i0 = g.base0 - first, i1 = g.base1 - first;
        if (i0 < 0 || 3 * i1 + 16 > 3 * available || i1 + 8 > available) break;  // base0 <= base1
        const std::size_t at = 3 * static_cast<std::size_t>(done);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(a + at), _mm_shuffle_epi8(load(src + 3 * i0), load(g.control[0])));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(b + at), _mm_shuffle_epi8(load(src + 3 * i1), load(g.control[1])));
        const __m128i ma = _mm_shuffle_epi8(load8(srcAlpha + i0), load(g.control[2]));
        const __m128i mb = _mm_shuffle_epi8(load8(srcAlpha + i1), load(g.control[3]));
        const __m128i code = _mm_or_si128(_mm_andnot_si128(_mm_cmpeq_epi8(ma, zero), ones),
                                          _mm_andnot_si128(_mm_cmpeq_epi8(mb, zero), twos));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(codes + at), code);
        const __m128i reached = _mm_andnot_si128(_mm_cmpeq_epi8(code, zero), _mm_set1_epi8(-1));
        const int four = _mm_cvtsi128_si32(_mm_shuffle_epi8(reached, firstSamples));
        std::memcpy(alpha + done, &four, 4);
    }
    return done;
}

}  // namespace

constexpr GatedVectorOps kAvx2GatedOps = [] {
    GatedVectorOps ops = BuildGatedOps<Avx2>();
    ops.gather3 = &Gather3;
    return ops;
}();

}  // namespace raster::blit::detail
#endif
