// The kernels' 16-byte vector paths (SSE2), built from the lane templates.
// The unit is compiled for SSE2 also in the 32-bit build; its table is used
// only when the processor reports SSE2.
#include "vector_lanes.h"

#if SVGFILTER_KERNELS_X86
#include <emmintrin.h>

namespace raster::kernels::detail {
namespace {

struct Sse2 {
    using R = __m128i;
    static constexpr std::uint32_t kBytes = 16;

    static R Load(const std::uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
    static void Store(std::uint8_t* p, R v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
    static void StoreAligned(std::uint8_t* p, R v) { _mm_store_si128(reinterpret_cast<__m128i*>(p), v); }
    static void Stream(std::uint8_t* p, R v) { _mm_stream_si128(reinterpret_cast<__m128i*>(p), v); }
    static void Fence() { _mm_sfence(); }
    static R Splat8(std::uint8_t v) { return _mm_set1_epi8(static_cast<char>(v)); }
    static R Splat16(std::uint16_t v) { return _mm_set1_epi16(static_cast<short>(v)); }

    static R And(R a, R b) { return _mm_and_si128(a, b); }
    static R Or(R a, R b) { return _mm_or_si128(a, b); }
    static R Xor(R a, R b) { return _mm_xor_si128(a, b); }
    static R AndNot(R a, R b) { return _mm_andnot_si128(b, a); }  // a AND NOT b
    static R Not(R a) { return _mm_xor_si128(a, _mm_set1_epi8(-1)); }
    static R AddSat(R a, R b) { return _mm_adds_epu8(a, b); }
    static R SubSat(R a, R b) { return _mm_subs_epu8(a, b); }
    static R Max(R a, R b) { return _mm_max_epu8(a, b); }
    static R Min(R a, R b) { return _mm_min_epu8(a, b); }

    static R Lo16(R a) { return _mm_unpacklo_epi8(a, _mm_setzero_si128()); }
    static R Hi16(R a) { return _mm_unpackhi_epi8(a, _mm_setzero_si128()); }
    static R Pack16(R lo, R hi) { return _mm_packus_epi16(lo, hi); }
    static R Add16(R a, R b) { return _mm_add_epi16(a, b); }
    static R Sub16(R a, R b) { return _mm_sub_epi16(a, b); }
    static R Mul16(R a, R b) { return _mm_mullo_epi16(a, b); }
    static R Shr8x16(R a) { return _mm_srli_epi16(a, 8); }

    static R LoadWidened8(const std::uint8_t* p) {
        return _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)), _mm_setzero_si128());
    }
    static R MulHiU16(R a, R b) { return _mm_mulhi_epu16(a, b); }
    static R Unpack16Lo(R lo, R hi) { return _mm_unpacklo_epi16(lo, hi); }
    static R Unpack16Hi(R lo, R hi) { return _mm_unpackhi_epi16(lo, hi); }
    static R Splat32(std::uint32_t v) { return _mm_set1_epi32(static_cast<int>(v)); }
    static R Splat64(std::uint64_t v) { return _mm_set1_epi64x(static_cast<long long>(v)); }
    static R Add32(R a, R b) { return _mm_add_epi32(a, b); }
    static R MulEvenU32(R a, R b) { return _mm_mul_epu32(a, b); }
    template <int kBits>
    static R Shr64(R a) {
        return _mm_srli_epi64(a, kBits);
    }
    // 32-bit lanes to 16-bit, saturating at 0 and 65535: SSE2 packs signed
    // only, so the range is moved down by 32768 and back.
    static R PackSaturated32(R lo, R hi) {
        const R bias = _mm_set1_epi32(32768);
        return _mm_xor_si128(_mm_packs_epi32(_mm_sub_epi32(lo, bias), _mm_sub_epi32(hi, bias)),
                             _mm_set1_epi16(static_cast<short>(0x8000)));
    }
};

}  // namespace

constexpr VectorKernels kSse2VectorKernels = BuildVectorKernels<Sse2>();

}  // namespace raster::kernels::detail
#endif
