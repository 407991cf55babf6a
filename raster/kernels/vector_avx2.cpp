// The kernels' 32-byte vector paths (AVX2), built from the lane templates.
// The unit is compiled for AVX2; its table is used only when the processor
// reports AVX2. Widening and narrowing both work within 128-bit halves, so
// narrowing a widened pair restores the original byte order; the weights of
// the 16-bit blend are widened across the halves instead, as its samples lie.
#include "vector_lanes.h"

#if SVGFILTER_KERNELS_X86
#include <immintrin.h>

namespace raster::kernels::detail {
namespace {

struct Avx2 {
    using R = __m256i;
    static constexpr std::uint32_t kBytes = 32;

    static R Load(const std::uint8_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
    static void Store(std::uint8_t* p, R v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }
    static void StoreAligned(std::uint8_t* p, R v) { _mm256_store_si256(reinterpret_cast<__m256i*>(p), v); }
    static void Stream(std::uint8_t* p, R v) { _mm256_stream_si256(reinterpret_cast<__m256i*>(p), v); }
    static void Fence() { _mm_sfence(); }
    static R Splat8(std::uint8_t v) { return _mm256_set1_epi8(static_cast<char>(v)); }
    static R Splat16(std::uint16_t v) { return _mm256_set1_epi16(static_cast<short>(v)); }

    static R And(R a, R b) { return _mm256_and_si256(a, b); }
    static R Or(R a, R b) { return _mm256_or_si256(a, b); }
    static R Xor(R a, R b) { return _mm256_xor_si256(a, b); }
    static R AndNot(R a, R b) { return _mm256_andnot_si256(b, a); }  // a AND NOT b
    static R Not(R a) { return _mm256_xor_si256(a, _mm256_set1_epi8(-1)); }
    static R AddSat(R a, R b) { return _mm256_adds_epu8(a, b); }
    static R SubSat(R a, R b) { return _mm256_subs_epu8(a, b); }
    static R Max(R a, R b) { return _mm256_max_epu8(a, b); }
    static R Min(R a, R b) { return _mm256_min_epu8(a, b); }

    static R Lo16(R a) { return _mm256_unpacklo_epi8(a, _mm256_setzero_si256()); }
    static R Hi16(R a) { return _mm256_unpackhi_epi8(a, _mm256_setzero_si256()); }
    static R Pack16(R lo, R hi) { return _mm256_packus_epi16(lo, hi); }
    static R Add16(R a, R b) { return _mm256_add_epi16(a, b); }
    static R Sub16(R a, R b) { return _mm256_sub_epi16(a, b); }
    static R Mul16(R a, R b) { return _mm256_mullo_epi16(a, b); }
    static R Shr8x16(R a) { return _mm256_srli_epi16(a, 8); }

    static R LoadWidened8(const std::uint8_t* p) {
        return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
    }
    static R MulHiU16(R a, R b) { return _mm256_mulhi_epu16(a, b); }
    static R Unpack16Lo(R lo, R hi) { return _mm256_unpacklo_epi16(lo, hi); }
    static R Unpack16Hi(R lo, R hi) { return _mm256_unpackhi_epi16(lo, hi); }
    static R Splat32(std::uint32_t v) { return _mm256_set1_epi32(static_cast<int>(v)); }
    static R Splat64(std::uint64_t v) { return _mm256_set1_epi64x(static_cast<long long>(v)); }
    static R Add32(R a, R b) { return _mm256_add_epi32(a, b); }
    static R MulEvenU32(R a, R b) { return _mm256_mul_epu32(a, b); }
    template <int kBits>
    static R Shr64(R a) {
        return _mm256_srli_epi64(a, kBits);
    }
    static R PackSaturated32(R lo, R hi) { return _mm256_packus_epi32(lo, hi); }
};

}  // namespace

constexpr VectorKernels kAvx2VectorKernels = BuildVectorKernels<Avx2>();

}  // namespace raster::kernels::detail
#endif
