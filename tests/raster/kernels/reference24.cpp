// The plain model of the 3-byte-pixel tables (see reference24.h).
#include "reference24.h"

#include <algorithm>
#include <cstdlib>

#include "colour/hsb.h"
#include "reference.h"

namespace raster::kernels::reference {
namespace {

struct HsbValue {
    std::uint32_t h, s, b;
};

// Bytes 0, 1, 2 are blue, green, red.
HsbValue ToHsb(const std::uint8_t* p) {
    std::uint16_t h, s, b;
    colour::ClrRGBValuesToHSB(&h, &s, &b, p[2], p[1], p[0]);
    return {h, s, b};
}
void FromHsb(const HsbValue& v, std::uint8_t* p) {
    std::uint16_t r, g, b;
    colour::ClrHSBValuesToRGB(&r, &g, &b, static_cast<int>(v.h), static_cast<int>(v.s), static_cast<int>(v.b));
    p[0] = static_cast<std::uint8_t>(b);
    p[1] = static_cast<std::uint8_t>(g);
    p[2] = static_cast<std::uint8_t>(r);
}

std::uint32_t Mix(std::uint32_t d, std::uint32_t f, std::uint32_t w) { return T(f * w + d * (255 - w)); }

std::uint32_t CentredMultiply(std::uint32_t d, std::uint32_t s) {
    if (d < 128) {
        return d * s / 128;
    }
    return 255 - (255 - d) * (255 - s) / 128;
}

// The operand of one pixel: its bytes, and for the HSB rows its HSB (a fill's
// HueSaturation takes it from the whole colour record).
struct Operand {
    const std::uint8_t* s;
    HsbValue hsb;
};

// One pixel of row `mode`, column `col` (col 0: opaque; w unused).
void Pixel(Layout24 layout, std::uint32_t mode, std::uint32_t col, std::uint8_t* d, const Operand& op,
           std::uint32_t w, RIPKernelRandom& random) {
    const std::uint8_t* s = op.s;
    const bool lab = layout == Layout24::Lab;
    if (lab && mode == 17) {
        mode = 18;  // brightness is L
    }
    if ((mode >= 21 && mode <= 23) || mode == 35 || (mode == 27 && col == 0)) {
        return;
    }
    if (mode == 32) {
        if (col == 0 || random.Draw() < w) {
            std::copy(s, s + 3, d);
        }
        return;
    }
    if (mode == 11 || mode == 12) {
        std::uint8_t b[3] = {s[0], s[1], s[2]};
        if (col != 0) {
            for (int k = 0; k < 3; ++k) b[k] = static_cast<std::uint8_t>(Mix(d[k], s[k], w));
        }
        bool take;
        if (lab) {
            take = mode == 11 ? b[0] > d[0] : b[0] < d[0];
        } else {
            const std::uint32_t vd = *std::max_element(d, d + 3), vb = *std::max_element(b, b + 3);
            take = mode == 11 ? vd < vb : vd >= vb;
        }
        if (take) std::copy(b, b + 3, d);
        return;
    }
    if (lab && (mode == 9 || mode == 28)) {
        std::uint32_t r[3];
        r[0] = mode == 9 ? T(d[0] * s[0]) : 255 - T((255 - d[0]) * (255 - s[0]));
        r[1] = CentredMultiply(d[1], s[1]);
        r[2] = CentredMultiply(d[2], s[2]);
        for (int k = 0; k < 3; ++k) d[k] = static_cast<std::uint8_t>(col == 0 ? r[k] : Mix(d[k], r[k], w));
        return;
    }
    if (mode == 13) {
        const std::uint32_t l = (*std::max_element(s, s + 3) + *std::min_element(s, s + 3)) / 2;
        for (int k = 0; k < 3; ++k) {
            const std::uint32_t r = T(d[k] * l);
            d[k] = static_cast<std::uint8_t>(col == 0 ? r : Mix(d[k], r, w));
        }
        return;
    }
    if (mode >= 14 && mode <= 17) {
        if (col != 0 && w == 0) {
            return;  // nothing painted: no round trip
        }
        HsbValue p = ToHsb(d);
        const HsbValue& c = op.hsb;
        const std::uint32_t ww = col == 0 ? 255 : w;
        if (mode == 14 || mode == 15) p.h = HueStep(p.h, c.h, ww);
        if (mode == 14 || mode == 16) p.s = Mix(p.s, c.s, ww);
        if (mode == 17) p.b = Mix(p.b, c.b, ww);
        FromHsb(p, d);
        return;
    }
    if (mode >= 18 && mode <= 20) {
        const int k = static_cast<int>(mode) - 18;
        d[k] = static_cast<std::uint8_t>(col == 0 ? s[k] : Mix(d[k], s[k], w));
        return;
    }
    for (int k = 0; k < 3; ++k) {
        d[k] = static_cast<std::uint8_t>(col == 0 ? Opaque(mode, d[k], s[k]) : Covered(mode, d[k], s[k], w));
    }
}

std::uint32_t PixelWeight(std::uint32_t mode, std::uint32_t col, const RIPKernelCoverage& cov, std::uint32_t i) {
    const std::uint32_t m1 = cov.mask1 ? cov.mask1[i] : 0, m2 = cov.mask2 ? cov.mask2[i] : 0;
    return Weight(col, mode == 0, m1, m2, cov.opacity);
}

}  // namespace

std::uint32_t HueStep(std::uint32_t from, std::uint32_t toward, std::uint32_t w) {
    int a = static_cast<int>(toward), b = static_cast<int>(from);
    if (std::abs(a - b) > 180) {
        (a < b ? a : b) += 360;
    }
    const int x = static_cast<int>(w) * a + (255 - static_cast<int>(w)) * b;
    int h = (x + x / 65536) / 255;
    if (h >= 360) h -= 360;
    return static_cast<std::uint32_t>(h);
}

void Fill24(Layout24 layout, std::uint32_t mode, std::uint32_t col, const colour::ColorRecord& colour,
            std::uint8_t* dst, std::uint32_t n, const RIPKernelCoverage& cov, RIPKernelRandom& random) {
    Operand op{colour.bytes + 8, ToHsb(colour.bytes + 8)};
    if (mode == 14 && colour.Model() == colour::kModelHSB) {
        op.hsb = {colour.Hue(), colour.At(10), colour.At(11)};
    }
    for (std::uint32_t i = 0; i < n; ++i) {
        Pixel(layout, mode, col, dst + 3 * i, op, col == 0 ? 255 : PixelWeight(mode, col, cov, i), random);
    }
}

void Blit24(Layout24 layout, std::uint32_t mode, std::uint32_t col, std::uint8_t* dst, const std::uint8_t* src,
            std::uint32_t n, const RIPKernelCoverage& cov, RIPKernelRandom& random) {
    for (std::uint32_t i = 0; i < n; ++i) {
        const Operand op{src + 3 * i, ToHsb(src + 3 * i)};
        Pixel(layout, mode, col, dst + 3 * i, op, col == 0 ? 255 : PixelWeight(mode, col, cov, i), random);
    }
}

}  // namespace raster::kernels::reference
