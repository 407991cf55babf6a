// The plain model of the 16-bit-sample tables (see reference16.h).
#include "reference16.h"

#include <algorithm>
#include <cstring>

#include "reference.h"

namespace raster::kernels::reference {
namespace {

constexpr std::uint32_t kMax = 65535;

std::uint32_t Get(const std::uint8_t* p) { return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8); }
void Put(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

std::uint32_t Mix(std::uint32_t d, std::uint32_t f, std::uint32_t w) {
    return Q16(std::uint64_t{f} * w + std::uint64_t{d} * (255 - w));
}

std::uint32_t Row16(std::uint32_t mode) { return mode == 13 ? 9 : mode == 18 ? 0 : mode; }

bool DoesNothing16(std::uint32_t mode) {
    return (mode >= 14 && mode <= 23 && mode != 18) || (mode >= 29 && mode <= 31) || mode == 35;
}

}  // namespace

std::uint32_t Q16(std::uint64_t x) { return static_cast<std::uint32_t>(std::min<std::uint64_t>(65536 * x / (255ull * 65535), 65535)); }
std::uint32_t P16(std::uint64_t x) { return static_cast<std::uint32_t>(std::min<std::uint64_t>(65536 * x / (65535ull * 65535), 65535)); }

std::uint32_t Opaque16(std::uint32_t mode, std::uint32_t d, std::uint32_t s) {
    const std::int64_t di = d, si = s;
    switch (Row16(mode)) {
        case 0: case 32: return s;
        case 1: return d & s;
        case 2: return d | s;
        case 3: return d ^ s;
        case 4: return d & ~s & kMax;
        case 5: return kMax - d;
        case 6: return kMax - s;
        case 7: return static_cast<std::uint32_t>(std::min<std::int64_t>(di + si, kMax));
        case 8: return static_cast<std::uint32_t>(std::max<std::int64_t>(di + si - kMax, 0));
        case 9: return P16(std::uint64_t{d} * s);
        case 10: return s == 0 ? kMax : static_cast<std::uint32_t>(std::min<std::uint64_t>(std::uint64_t{kMax} * d / s, kMax));
        case 11: return d < s ? s : d;
        case 12: return d >= s ? s : d;
        case 24: return static_cast<std::uint32_t>(di > si ? di - si : si - di);
        case 25: return static_cast<std::uint32_t>(std::max<std::int64_t>(di - si, 0));
        case 26: return P16(std::uint64_t{d} * (kMax - s));
        case 28: return kMax - P16(std::uint64_t{kMax - d} * (kMax - s));
        case 33:
            if (d + s >= 65536) return kMax;
            if (s == 0 || d == 0) return d;
            return static_cast<std::uint32_t>(65536ull * d / (65536 - s));
        case 34: {
            const std::uint32_t e = kMax - d, u = kMax - s;
            if (e + u >= 65536) return 0;
            if (u == 0 || e == 0) return d;
            return kMax - static_cast<std::uint32_t>(65536ull * e / (65536 - u));
        }
        default: return d;  // 27 and the rows that do nothing
    }
}

std::uint32_t Covered16(std::uint32_t mode, std::uint32_t d, std::uint32_t s, std::uint32_t w) {
    const std::int64_t di = d;
    switch (Row16(mode)) {
        case 7: return std::min(d + Q16(std::uint64_t{s} * w), kMax);
        case 8: return static_cast<std::uint32_t>(std::max<std::int64_t>(di - Q16(std::uint64_t{kMax - s} * w), 0));
        case 11: { const std::uint32_t t = Mix(d, s, w); return d < t ? t : d; }
        case 12: { const std::uint32_t t = Mix(d, s, w); return d >= t ? t : d; }
        case 24: { const std::int64_t t = Q16(std::uint64_t{s} * w); return static_cast<std::uint32_t>(di > t ? di - t : t - di); }
        case 25: return static_cast<std::uint32_t>(std::max<std::int64_t>(di - Q16(std::uint64_t{s} * w), 0));
        case 27: return Q16(std::uint64_t{d} * w + std::uint64_t{s} * (255 - w));
        default:
            if (DoesNothing16(mode)) return d;
            return Mix(d, Opaque16(mode, d, s), w);
    }
}

void Fill16(std::uint32_t k, std::uint32_t col, const std::uint16_t* c, std::uint8_t* dst, std::uint32_t n,
            const RIPKernelCoverage& cov) {
    for (std::uint32_t i = 0; i < n; ++i) {
        const std::uint32_t m1 = cov.mask1 ? cov.mask1[i] : 0, m2 = cov.mask2 ? cov.mask2[i] : 0;
        const std::uint32_t w = Weight(col, false, m1, m2, cov.opacity);
        for (std::uint32_t j = 0; j < k; ++j) {
            std::uint8_t* p = dst + 2 * (k * i + j);
            Put(p, col == 0 ? c[j] : Mix(Get(p), c[j], w));
        }
    }
}

void Blit16(std::uint32_t k, int lane, std::uint32_t col, std::uint8_t* dst, const std::uint8_t* src,
            std::uint32_t n, const RIPKernelCoverage& cov) {
    for (std::uint32_t i = 0; i < n; ++i) {
        const std::uint32_t m1 = cov.mask1 ? cov.mask1[i] : 0, m2 = cov.mask2 ? cov.mask2[i] : 0;
        const std::uint32_t w = Weight(col, false, m1, m2, cov.opacity);
        for (std::uint32_t j = 0; j < k; ++j) {
            if (lane >= 0 && j != static_cast<std::uint32_t>(lane)) continue;
            std::uint8_t* p = dst + 2 * (k * i + j);
            const std::uint32_t s = Get(src + 2 * (k * i + j));
            Put(p, col == 0 ? s : Mix(Get(p), s, w));
        }
    }
}

void Channel16(std::uint32_t mode, std::uint32_t col, std::int32_t srcStep, std::int32_t dstStep, std::uint8_t* dst,
               const std::uint8_t* src, std::uint32_t n, const RIPKernelCoverage& cov, RIPKernelRandom& random) {
    if (DoesNothing16(mode) || (mode == 27 && col == 0)) {
        return;
    }
    // Steps are halved toward zero: whole samples.
    const std::ptrdiff_t ds = 2 * (dstStep / 2), ss = 2 * (srcStep / 2);
    for (std::uint32_t i = 0; i < n; ++i) {
        std::uint8_t* dp = dst + static_cast<std::ptrdiff_t>(i) * ds;
        const std::uint8_t* sp = src + static_cast<std::ptrdiff_t>(i) * ss;
        const std::uint32_t m1 = cov.mask1 ? cov.mask1[i] : 0, m2 = cov.mask2 ? cov.mask2[i] : 0;
        const std::uint32_t w = Weight(col, false, m1, m2, cov.opacity);
        const std::uint32_t d = Get(dp), s = Get(sp);
        std::uint32_t out;
        if (col == 0) {
            out = Opaque16(mode, d, s);
        } else if (mode == 32) {
            out = random.Draw() < w ? s : d;
        } else {
            out = Covered16(mode, d, s, w);
        }
        Put(dp, out);
    }
}

}  // namespace raster::kernels::reference
