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
    // The unpacks and the pack work within 128-bit halves: lanes 0-3 and
    // 8-11 of a and b go low, 4-7 and 12-15 high, and the pack of the two
    // puts the 16 lanes back in order.
    static I UnpackLoWords(I a, I b) { return _mm256_unpacklo_epi16(a, b); }
    static I UnpackHiWords(I a, I b) { return _mm256_unpackhi_epi16(a, b); }
    static I MulAddWords(I a, I b) { return _mm256_madd_epi16(a, b); }
    // trunc((n + 0.5) × r) of each 32-bit lane (RIPReciprocalDivisor).
    static I Quotient(I n, F r) {
        return _mm256_cvttps_epi32(_mm256_mul_ps(_mm256_add_ps(_mm256_cvtepi32_ps(n), _mm256_set1_ps(0.5f)), r));
    }
    static I PackDwords(I lo, I hi) { return _mm256_packs_epi32(lo, hi); }

    // Truncates the lanes (0..255) and narrows them to bytes; the packs work
    // within 128-bit halves, so the halves are joined first.
    static void StoreBytes(std::uint8_t* p, F v) {
        const __m256i i = _mm256_cvttps_epi32(v);
        const __m128i words = _mm_packs_epi32(_mm256_castsi256_si128(i), _mm256_extracti128_si256(i, 1));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(p), _mm_packus_epi16(words, words));
    }
};

// The shuffles of RIPGatherGroup, a group of kChannels-sample outputs at a
// time, one half of it in each 128-bit half: byte shuffles of a 16-byte
// window for one and three samples, a shuffle of 32-bit words of an 8-pixel
// window for four; the alpha bytes by byte shuffles of a 16-byte window.
// The halves' bytes are then moved together. Three samples store 32 bytes
// for the group's 24, the last eight overwritten by the next group (the
// buffers have room past the last).
template <int kChannels>
std::uint32_t Gather(std::uint8_t* a, std::uint8_t* b, std::uint8_t* reachedOut, std::uint8_t* alpha,
                     const std::uint8_t* src, const std::uint8_t* srcAlpha, const RIPGatherGroup* groups,
                     std::uint32_t count, std::int64_t first, std::int64_t available) {
    constexpr std::uint32_t kOutputs = RIPGatherGroup::Outputs(kChannels);
    constexpr std::int64_t kSampleWindow = kChannels == 4 ? 32 : 16;
    const __m256i zero = _mm256_setzero_si256(), all = _mm256_set1_epi8(-1);
    // Each output's first sample, for its alpha byte (three and four samples).
    const __m256i firstSamples =
        kChannels == 3 ? _mm256_setr_epi8(0, 3, 6, 9, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 0, 3, 6, 9, -1,
                                          -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1)
                       : _mm256_setr_epi8(0, 4, 8, 12, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 0, 4, 8, 12, -1,
                                          -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1);
    // The 32-bit words that close up the halves: 3 of 4 (three samples), 2
    // of 4 (one sample), 1 of 4 (the alpha bytes of three and four).
    const __m256i close3 = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 7, 7);
    const __m256i close2 = _mm256_setr_epi32(0, 1, 4, 5, 2, 3, 6, 7);
    const __m256i close1 = _mm256_setr_epi32(0, 4, 1, 2, 3, 5, 6, 7);
    const auto load = [](const std::uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); };
    const auto load256 = [](const std::uint8_t* p) {
        return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    };
    const auto pair = [&](const std::uint8_t* p0, const std::uint8_t* p1) {
        return _mm256_inserti128_si256(_mm256_castsi128_si256(load(p0)), load(p1), 1);
    };
    const auto samples = [&](const std::uint8_t* p0, const std::uint8_t* p1, const std::uint8_t* control) {
        if constexpr (kChannels == 4) {
            const __m256i ctl = load256(control);
            return _mm256_blend_epi32(_mm256_permutevar8x32_epi32(load256(p0), ctl),
                                      _mm256_permutevar8x32_epi32(load256(p1), ctl), 0xF0);
        }
        return _mm256_shuffle_epi8(pair(p0, p1), load256(control));
    };
    // The group's bytes of a, b or reached, closed up and stored.
    const auto store = [&](std::uint8_t* p, __m256i v) {
        if constexpr (kChannels == 1) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p),
                             _mm256_castsi256_si128(_mm256_permutevar8x32_epi32(v, close2)));
        } else if constexpr (kChannels == 3) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), _mm256_permutevar8x32_epi32(v, close3));
        } else {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
        }
    };
    std::uint32_t done = 0;
    for (; count - done >= kOutputs; done += kOutputs) {
        const RIPGatherGroup& g = groups[done / kOutputs];
        // The first half's first pixels are the least, the second's right ones the most.
        const std::int64_t i0 = g.base0[0] - first, i1 = g.base1[0] - first;
        const std::int64_t j0 = g.base0[1] - first, j1 = g.base1[1] - first;
        if (i0 < 0 || kChannels * j1 + kSampleWindow > kChannels * available || j1 + 16 > available) break;
        const std::size_t at = kChannels * static_cast<std::size_t>(done);
        const __m256i va = samples(src + kChannels * i0, src + kChannels * j0, g.control[0]);
        const __m256i vb = samples(src + kChannels * i1, src + kChannels * j1, g.control[1]);
        const __m256i ma = _mm256_shuffle_epi8(pair(srcAlpha + i0, srcAlpha + j0), load256(g.control[2]));
        const __m256i mb = _mm256_shuffle_epi8(pair(srcAlpha + i1, srcAlpha + j1), load256(g.control[3]));
        const __m256i offA = _mm256_cmpeq_epi8(ma, zero), offB = _mm256_cmpeq_epi8(mb, zero);
        // An unmarked side takes the other side's sample.
        store(a + at, _mm256_blendv_epi8(va, vb, offA));
        store(b + at, _mm256_blendv_epi8(vb, va, offB));
        const __m256i reached = _mm256_andnot_si256(_mm256_and_si256(offA, offB), all);
        store(reachedOut + at, reached);
        if constexpr (kChannels == 1) {
            store(alpha + done, reached);
        } else {
            const __m256i firsts = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(reached, firstSamples), close1);
            _mm_storel_epi64(reinterpret_cast<__m128i*>(alpha + done), _mm256_castsi256_si128(firsts));
        }
    }
    return done;
}

}  // namespace

constexpr GatedVectorOps kAvx2GatedOps = [] {
    GatedVectorOps ops = BuildGatedOps<Avx2>();
    ops.gather[1] = &Gather<1>;
    ops.gather[3] = &Gather<3>;
    ops.gather[4] = &Gather<4>;
    return ops;
}();

}  // namespace raster::blit::detail
#endif
