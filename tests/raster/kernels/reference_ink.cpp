// The plain model of the ink tables (see reference_ink.h).
#include "reference_ink.h"

#include <algorithm>

#include "reference.h"

namespace raster::kernels::reference {
namespace {

bool IsLightRow(std::uint32_t mode) {
    return mode == 7 || mode == 8 || mode == 9 || mode == 10 || mode == 26;
}

// One pixel d against the operand s (the colour, or the source pixel) with
// the weight w, for the rows fills and blits define alike.
void Pixel(std::uint32_t mode, std::uint32_t col, std::uint8_t* d, const std::uint8_t* s, std::uint32_t w,
           RIPKernelRandom& random) {
    if (mode == 32) {
        if (col == 0 || random.Draw() < w) {
            std::copy(s, s + 4, d);
        }
        return;
    }
    if (mode == 11 || mode == 12) {
        std::uint8_t candidate[4];
        for (int k = 0; k < 4; ++k) {
            candidate[k] = static_cast<std::uint8_t>(col == 0 ? s[k] : T(s[k] * w + d[k] * (255 - w)));
        }
        const std::uint32_t vd = InkBrightness(d), vc = InkBrightness(candidate);
        if (mode == 11 ? vd < vc : vd >= vc) {
            std::copy(candidate, candidate + 4, d);
        }
        return;
    }
    if (mode >= 18 && mode <= 21) {
        const std::uint32_t k = mode - 18;
        d[k] = static_cast<std::uint8_t>(col == 0 ? s[k] : T(s[k] * w + d[k] * (255 - w)));
        return;
    }
    std::uint32_t l = 0;
    if (mode == 13) {
        const auto [lo, hi] = std::minmax({s[0], s[1], s[2], s[3]});
        l = (std::uint32_t{lo} + hi) / 2;
    }
    for (int k = 0; k < 4; ++k) {
        const std::uint32_t dk = d[k], sk = s[k];
        std::uint32_t out;
        if (mode == 13) {
            const std::uint32_t f = 255 - T((255 - dk) * (255 - l));
            out = col == 0 ? f : T(f * w + dk * (255 - w));
        } else if (IsLightRow(mode)) {
            const std::uint32_t e = 255 - dk, light = 255 - sk;
            out = 255 - (col == 0 ? Opaque(mode, e, light) : Covered(mode, e, light, w));
        } else {
            out = col == 0 ? Opaque(mode, dk, sk) : Covered(mode, dk, sk, w);
        }
        d[k] = static_cast<std::uint8_t>(out);
    }
}

bool DoesNothing(std::uint32_t mode) { return (mode >= 14 && mode <= 17) || mode == 22 || mode == 23 || mode == 35; }

}  // namespace

std::uint32_t InkBrightness(const std::uint8_t* p) {
    std::uint32_t v = 0;
    for (int k = 0; k < 3; ++k) {
        v = std::max(v, 255 - std::min<std::uint32_t>(p[k] + p[3], 255));
    }
    return v;
}

void Fill32(std::uint32_t mode, std::uint32_t col, const std::uint8_t* c, std::uint8_t* dst, std::uint32_t n,
            const RIPKernelCoverage& cov, RIPKernelRandom& random) {
    if (DoesNothing(mode) || (mode == 27 && col == 0)) {
        return;
    }
    for (std::uint32_t i = 0; i < n; ++i) {
        const std::uint32_t m1 = cov.mask1 ? cov.mask1[i] : 0, m2 = cov.mask2 ? cov.mask2[i] : 0;
        Pixel(mode, col, dst + 4 * i, c, Weight(col, mode == 0, m1, m2, cov.opacity), random);
    }
}

void Blit32(std::uint32_t mode, std::uint32_t col, std::uint8_t* dst, const std::uint8_t* src, std::uint32_t n,
            const RIPKernelCoverage& cov, RIPKernelRandom& random) {
    if (DoesNothing(mode) || (mode == 27 && col == 0)) {
        return;
    }
    // Rows with no kernels of their own under coverage (or at all) are chan-8's
    // on the stored bytes; Multiply of ink is Screen of light.
    const bool fromChannel8 = mode == 9 || mode == 28 || mode == 27 || (mode >= 29 && mode <= 31) ||
                              mode == 33 || mode == 34 ||
                              (col != 0 && ((mode >= 1 && mode <= 6) || mode == 24 || mode == 25));
    if (fromChannel8) {
        Channel8(mode == 9 ? 28 : mode, col, 4, 4, 4, dst, src, n, cov, random);
        return;
    }
    for (std::uint32_t i = 0; i < n; ++i) {
        const std::uint32_t m1 = cov.mask1 ? cov.mask1[i] : 0, m2 = cov.mask2 ? cov.mask2[i] : 0;
        Pixel(mode, col, dst + 4 * i, src + 4 * i, Weight(col, mode == 0, m1, m2, cov.opacity), random);
    }
}

}  // namespace raster::kernels::reference
