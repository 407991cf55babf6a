// The plain model of the bilevel and paletted tables (see reference_bits.h).
#include "reference_bits.h"

#include <vector>

#include "reference.h"

namespace raster::kernels::reference {
namespace {

std::vector<int> Unpack(const std::uint8_t* bytes, std::uint32_t offset, std::uint32_t n) {
    std::vector<int> bits(n);
    for (std::uint32_t i = 0; i < n; ++i) {
        const std::uint32_t at = offset + i;
        bits[i] = (bytes[at / 8] >> (7 - at % 8)) & 1;
    }
    return bits;
}

void Pack(const std::vector<int>& bits, std::uint8_t* bytes, std::uint32_t offset) {
    for (std::uint32_t i = 0; i < bits.size(); ++i) {
        const std::uint32_t at = offset + i;
        const auto mask = static_cast<std::uint8_t>(0x80 >> (at % 8));
        bytes[at / 8] = static_cast<std::uint8_t>(bits[i] ? bytes[at / 8] | mask : bytes[at / 8] & ~mask);
    }
}

// The operation a merge row comes down to (0 Set .. 6 SetInverse), -1 for
// none. The blit's Brightness row copies; the fill's does nothing.
int BitOperation(std::uint32_t mode, bool blit) {
    switch (mode) {
        case 0: case 18: case 30: case 31: case 32: return 0;
        case 1: case 8: case 9: case 12: case 34: return 1;
        case 2: case 7: case 11: case 28: case 33: return 2;
        case 3: case 24: return 3;
        case 4: case 25: case 26: return 4;
        case 5: return 5;
        case 6: return 6;
        case 17: return blit ? 0 : -1;
        default: return -1;
    }
}

bool Covers(std::uint32_t col, const RIPKernelCoverage& cov, std::uint32_t i) {
    const bool m1 = cov.mask1 && cov.mask1[i] != 0, m2 = cov.mask2 && cov.mask2[i] != 0, a = cov.opacity != 0;
    switch (col) {
        case 0: return true;
        case 1: return m1;
        case 2: return a;
        case 3: return m1 && m2;
        case 4: return a && m1;
        default: return a && m1 && m2;
    }
}

const std::uint8_t kBlack[3] = {0, 0, 0};
const std::uint8_t* Entry(const RIPPalette& palette, std::uint32_t index) {
    return static_cast<int>(index) < palette.count ? palette.Entries() + 3 * index : kBlack;
}

}  // namespace

void Fill1(std::uint32_t mode, std::uint32_t col, std::uint32_t k, std::uint8_t* dst, std::uint32_t offset,
           std::uint32_t n, const RIPKernelCoverage& cov) {
    const int op = BitOperation(mode, false);
    std::vector<int> bits = Unpack(dst, offset, n);
    for (std::uint32_t i = 0; i < n; ++i) {
        if (!Covers(col, cov, i)) continue;
        int& b = bits[i];
        switch (op) {
            case 0: b = k != 0; break;
            case 1: if (k == 0) b = 0; break;
            case 2: if (k != 0) b = 1; break;
            case 3: if (k != 0) b ^= 1; break;
            case 4: if (k != 0) b = 0; break;
            case 5: b ^= 1; break;
            case 6: b = k == 0; break;
            default: break;
        }
    }
    Pack(bits, dst, offset);
}

void Blit1(std::uint32_t mode, std::uint32_t col, std::uint8_t* dst, std::uint32_t dstOffset, const std::uint8_t* src,
           std::uint32_t srcOffset, std::uint32_t n, const RIPKernelCoverage& cov) {
    const int op = BitOperation(mode, true);
    std::vector<int> d = Unpack(dst, dstOffset, n);
    const std::vector<int> s = Unpack(src, srcOffset, n);
    for (std::uint32_t i = 0; i < n; ++i) {
        if (!Covers(col, cov, i)) continue;
        switch (op) {
            case 0: d[i] = s[i]; break;
            case 1: d[i] = d[i] & s[i]; break;
            case 2: d[i] = d[i] | s[i]; break;
            case 3: d[i] = d[i] ^ s[i]; break;
            case 4: d[i] = d[i] & !s[i]; break;
            case 5: d[i] = !d[i]; break;
            case 6: d[i] = !s[i]; break;
            default: break;
        }
    }
    Pack(d, dst, dstOffset);
}

std::uint8_t NearestEntry(const RIPPalette& palette, std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    std::uint64_t best = UINT64_MAX;
    std::uint8_t bestIndex = 0;
    for (int i = 0; i < palette.count && i < 256; ++i) {
        const std::uint8_t* e = palette.Entries() + 3 * i;
        const auto sq = [](std::int64_t v) { return static_cast<std::uint64_t>(v * v); };
        const std::uint64_t dist = sq(std::int64_t{e[2]} - red) + sq(std::int64_t{e[1]} - green) + sq(std::int64_t{e[0]} - blue);
        if (dist < best) {
            best = dist;
            bestIndex = static_cast<std::uint8_t>(i);
        }
    }
    return bestIndex;
}

void FillP8(std::uint32_t col, std::uint32_t c, const RIPPalette& palette, std::uint8_t* dst, std::uint32_t n,
            const RIPKernelCoverage& cov) {
    const std::uint8_t* p = Entry(palette, c);
    for (std::uint32_t i = 0; i < n; ++i) {
        if (col == 0) {
            dst[i] = static_cast<std::uint8_t>(c);
            continue;
        }
        const std::uint32_t m1 = cov.mask1 ? cov.mask1[i] : 0, m2 = cov.mask2 ? cov.mask2[i] : 0;
        const std::uint32_t w = Weight(col, false, m1, m2, cov.opacity);
        const std::uint8_t* e = Entry(palette, dst[i]);
        std::uint32_t v[3];
        for (int j = 0; j < 3; ++j) {
            v[j] = T(p[j] * w + e[j] * (255 - w));
        }
        dst[i] = palette.kind == kPaletteStandard ? RIPStdPaletteIndex(static_cast<int>(v[2]), static_cast<int>(v[1]), static_cast<int>(v[0]))
                                                  : NearestEntry(palette, v[2], v[1], v[0]);
    }
}

}  // namespace raster::kernels::reference
