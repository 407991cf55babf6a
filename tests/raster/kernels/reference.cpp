// The plain model of the 8-bit merge modes (see reference.h).
#include "reference.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace raster::kernels::reference {
namespace {

std::uint32_t Lerp(std::uint32_t d, std::uint32_t f, std::uint32_t w) {
    // B(d, f, w) = T[f·w + d·(255 − w)]
    return T(f * w + d * (255 - w));
}

std::uint32_t SoftLightLow(std::uint32_t d) { return T(d * d); }
std::uint32_t SoftLightHigh(std::uint32_t d) {
    return static_cast<std::uint32_t>(std::floor(std::sqrt(255.0 * d)));
}

// Rows that hold another row's kernels.
std::uint32_t Row(std::uint32_t mode) {
    if (mode == 13) {
        return 9;
    }
    if (mode == 18) {
        return 0;
    }
    return mode;
}

bool DoesNothing(std::uint32_t mode) { return (mode >= 14 && mode <= 23 && mode != 18) || mode == 35; }

}  // namespace

std::uint32_t T(std::uint32_t x) { return x / 255; }

std::uint32_t Weight(std::uint32_t col, bool mode0, std::uint32_t m1, std::uint32_t m2, std::uint32_t a) {
    switch (col) {
        case 1: return m1;
        case 2: return a;
        case 3: return T(m1 * m2);
        case 4: return T(m1 * a);
        case 5: return mode0 ? T(T(m1 * m2) * a) : m1 * m2 * a / (255 * 254 + 1);
        default: return 255;
    }
}

std::uint32_t Opaque(std::uint32_t mode, std::uint32_t d, std::uint32_t c) {
    const int di = static_cast<int>(d), ci = static_cast<int>(c);
    switch (Row(mode)) {
        case 0: return c;
        case 1: return d & c;
        case 2: return d | c;
        case 3: return d ^ c;
        case 4: return d & (~c & 255);
        case 5: return 255 - d;
        case 6: return 255 - c;
        case 7: return std::min(di + ci, 255);
        case 8: return std::max(di + ci - 255, 0);
        case 9: return T(d * c);
        case 10: return c == 0 ? 255 : std::min(255 * d / c, 255u);
        case 11: return d < c ? c : d;
        case 12: return d >= c ? c : d;
        case 24: return std::abs(di - ci);
        case 25: return std::max(di - ci, 0);
        case 26: return T(d * (255 - c));
        case 28: return 255 - T((255 - d) * (255 - c));
        case 29: return d < 128 ? T(2 * d * c) : 255 - T(2 * (255 - d) * (255 - c));
        case 30:
            if (c < 128) {
                const std::uint32_t low = SoftLightLow(d);
                return T(255 * low + (d - low) * 2 * c);  // unsigned wrap cancels: the sum is in range
            } else {
                const std::uint32_t high = SoftLightHigh(d);
                const std::uint32_t k = (c - 128) * 129 / 64;
                return T(255 * d + (high - d) * k);
            }
        case 31: return c < 128 ? T(2 * c * d) : 255 - T(2 * (255 - c) * (255 - d));
        case 32: return c;
        case 33:
            if (c + d >= 256) return 255;
            if (c == 0 || d == 0) return d;
            return 256 * d / (256 - c);
        case 34: {
            const std::uint32_t e = 255 - d, k = 255 - c;
            std::uint32_t g;
            if (e + k >= 256) {
                g = 255;
            } else if (k == 0 || e == 0) {
                g = e;
            } else {
                g = 256 * e / (256 - k);
            }
            return 255 - g;
        }
        default: return d;  // 27 and the rows that do nothing
    }
}

std::uint32_t Covered(std::uint32_t mode, std::uint32_t d, std::uint32_t c, std::uint32_t w) {
    const int di = static_cast<int>(d);
    switch (Row(mode)) {
        case 7: return std::min(d + T(c * w), 255u);
        case 8: return std::max(di - static_cast<int>(T((255 - c) * w)), 0);
        case 10:
            if (c == 0) return d + (255 - d) * w / 255;
            return std::min(d + d * w * (255 - c) / (255 * c), 255u);
        case 11: return std::max(d, Lerp(d, c, w));
        case 12: return std::min(d, Lerp(d, c, w));
        case 24: return static_cast<std::uint32_t>(std::abs(di - static_cast<int>(T(c * w))));
        case 25: return std::max(di - static_cast<int>(T(c * w)), 0);
        case 27: return T(d * w + c * (255 - w));
        default:
            if (DoesNothing(mode)) return d;
            return Lerp(d, Opaque(mode, d, c), w);
    }
}

void Fill8(std::uint32_t mode, std::uint32_t col, std::uint32_t c, std::uint8_t* dst, std::uint32_t n,
           const RIPKernelCoverage& cov, RIPKernelRandom& random) {
    const bool mode0 = Row(mode) == 0;
    for (std::uint32_t i = 0; i < n; ++i) {
        const std::uint32_t d = dst[i];
        const std::uint32_t m1 = cov.mask1 ? cov.mask1[i] : 0, m2 = cov.mask2 ? cov.mask2[i] : 0;
        const std::uint32_t w = Weight(col, mode0, m1, m2, cov.opacity);
        std::uint32_t out;
        if (col == 0) {
            out = Opaque(mode, d, c);
        } else if (mode == 32) {
            out = random.Draw() < w ? c : d;
        } else {
            out = Covered(mode, d, c, w);
        }
        dst[i] = static_cast<std::uint8_t>(out);
    }
}

void Channel8(std::uint32_t mode, std::uint32_t col, std::int32_t srcStep, std::int32_t dstStep,
              std::uint32_t channels, std::uint8_t* dst, const std::uint8_t* src, std::uint32_t n,
              const RIPKernelCoverage& cov, RIPKernelRandom& random) {
    // The Set kernels (and Dissolve's column 0, which is Set) take one sample per step.
    const bool oneSample = Row(mode) == 0 || (mode == 32 && col == 0);
    const std::uint32_t k = oneSample ? 1 : channels;
    if (!oneSample && k != 1 && k != 3 && k != 4) {
        return;
    }
    for (std::uint32_t i = 0; i < n; ++i) {
        std::uint8_t* dp = dst + static_cast<std::ptrdiff_t>(i) * dstStep;
        const std::uint8_t* sp = src + static_cast<std::ptrdiff_t>(i) * srcStep;
        const std::uint32_t m1 = cov.mask1 ? cov.mask1[i] : 0, m2 = cov.mask2 ? cov.mask2[i] : 0;
        const std::uint32_t w = Weight(col, Row(mode) == 0, m1, m2, cov.opacity);
        for (int ch = static_cast<int>(k) - 1; ch >= 0; --ch) {
            const std::uint32_t d = dp[ch], s = sp[ch];
            std::uint32_t out;
            if (col == 0) {
                out = Opaque(mode, d, s);
            } else if (mode == 32) {
                out = random.Draw() < w ? s : d;
            } else {
                out = Covered(mode, d, s, w);
            }
            dp[ch] = static_cast<std::uint8_t>(out);
        }
    }
}

}  // namespace raster::kernels::reference
