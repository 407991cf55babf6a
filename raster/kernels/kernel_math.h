// Arithmetic every kernel family shares: the product table, the generic blend
// and the coverage weight of each column, walked pixel by pixel.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>

#include "kernels/kernel_frame.h"
#include "kernels/kernel_state.h"

namespace raster::kernels::detail {

// a·b/255 of two bytes, and division by 255 of any index up to 255·255.
inline std::uint32_t T(std::uint32_t x) { return RIPProductTable[x]; }

// B(d, f, w): d moved toward f by the weight w. The index 255·d + (f − d)·w
// equals f·w + d·(255 − w), which lies in 0..65025, and w = 0 gives T[255·d] = d.
inline std::uint32_t Blend(std::uint32_t d, std::uint32_t f, std::uint32_t w) {
    return T(f * w + d * (255u - w));
}

// Column 5 outside the mode-0 kernels: the exact quotient of the three bytes'
// product by 255·254 + 1, which reaches 255 only for 255·255·255.
inline constexpr std::uint32_t kQuotientWeightDivisor = 255u * 254u + 1u;
inline std::uint32_t QuotientWeight(std::uint32_t m1, std::uint32_t m2, std::uint32_t a) {
    return m1 * m2 * a / kQuotientWeightDivisor;
}

// Walks the coverage of one column along a run and gives each pixel's weight.
// kProductCol5 selects the mode-0 form of column 5, T[T[m1·m2]·a]. The walker
// advances its own copies of the mask pointers; the record stays as it was.
template <std::uint32_t Col, bool kProductCol5>
class CoverageWalker {
public:
    CoverageWalker(const RIPKernelCoverage* cov, std::uint32_t start) {
        if constexpr (Col != kCoverOpaque) {
            assert(cov != nullptr);
            a_ = cov->opacity;
            if constexpr (Col == kCoverMask || Col == kCoverMaskConstant || Col == kCoverMaskMask ||
                          Col == kCoverMaskMaskConstant) {
                assert(cov->mask1 != nullptr);
                m1_ = cov->mask1 + start;
            }
            if constexpr (Col == kCoverMaskMask || Col == kCoverMaskMaskConstant) {
                assert(cov->mask2 != nullptr);
                m2_ = cov->mask2 + start;
            }
        }
    }

    std::uint32_t Next() {
        if constexpr (Col == kCoverMask) {
            return *m1_++;
        } else if constexpr (Col == kCoverConstant) {
            return a_;
        } else if constexpr (Col == kCoverMaskMask) {
            return T(std::uint32_t{*m1_++} * *m2_++);
        } else if constexpr (Col == kCoverMaskConstant) {
            return T(std::uint32_t{*m1_++} * a_);
        } else if constexpr (Col == kCoverMaskMaskConstant) {
            const std::uint32_t m1 = *m1_++;
            const std::uint32_t m2 = *m2_++;
            if constexpr (kProductCol5) {
                return T(T(m1 * m2) * a_);
            } else {
                return QuotientWeight(m1, m2, a_);
            }
        } else {
            return 255;
        }
    }

private:
    const std::uint8_t* m1_ = nullptr;
    const std::uint8_t* m2_ = nullptr;
    std::uint32_t a_ = 255;
};

// Dissolve's draws when the caller's context brings no source of its own.
RIPKernelRandom& ThreadRandom();

// Source and destination runs are the same run or do not meet.
inline void AssertRunsApart(const std::uint8_t* dst, std::size_t dstBytes, const std::uint8_t* src,
                            std::size_t srcBytes) {
#ifndef NDEBUG
    const auto d = reinterpret_cast<std::uintptr_t>(dst);
    const auto s = reinterpret_cast<std::uintptr_t>(src);
    assert(d == s || d + dstBytes <= s || s + srcBytes <= d);
#else
    (void)dst, (void)dstBytes, (void)src, (void)srcBytes;
#endif
}

// Bytes a run of n steps of k samples spans, for a positive step.
inline std::size_t StridedSpan(std::uint32_t n, std::int32_t step, std::uint32_t k) {
    return n == 0 ? 0 : (static_cast<std::size_t>(n) - 1) * static_cast<std::size_t>(step) + k;
}

}  // namespace raster::kernels::detail
