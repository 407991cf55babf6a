// The merge modes on four-channel ink pixels (cyan, magenta, yellow, black in
// bytes 0-3; a byte counts ink, 0 none). A pixel mode combines one 4-byte
// pixel d with a 4-byte operand s: the fill colour, or the source pixel.
//
// Most rows are an 8-bit mode of modes8.h applied to each byte. The rows that
// make a pixel lighter or darker the way they do on grey (Add, AddMinus,
// Multiply, Divide, MultiplyInverse) work on light values 255 − x and store
// the inverse; Lighten and Darken move whole pixels by a brightness taken from
// all four channels.
#pragma once

#include <cstdint>

#include "modes8.h"

namespace raster::kernels::detail {

// An 8-bit mode on light values: both operands inverted going in, the result
// inverted coming out.
template <class M>
struct Inverted : ModeTraits {
    static constexpr std::uint32_t kMode = M::kMode;
    // Adding light, 255 − min(e + x, 255) with e = 255 − d, is max(d − x, 0),
    // and x is 255 − s or T[(255 − s)·w]: AddMinus on the stored bytes.
    // Taking light away, 255 − max(e − y, 0) with y = s or T[s·w], is
    // min(d + y, 255): Add. The other inverted modes have no such twin.
    static constexpr int kStoredTwin = M::kMode == kModeAdd      ? static_cast<int>(kModeAddMinus)
                                       : M::kMode == kModeAddMinus ? static_cast<int>(kModeAdd)
                                                                   : -1;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t s) { return 255u - M::Opaque(255u - d, 255u - s); }
    static std::uint32_t Covered(std::uint32_t d, std::uint32_t s, std::uint32_t w) {
        return 255u - M::Covered(255u - d, 255u - s, w);
    }
};

// The 8-bit mode whose bytes a per-byte ink row gives on the stored bytes,
// for the vector paths (-1: none).
template <class M>
constexpr int StoredByteMode() {
    if constexpr (requires { M::kStoredTwin; }) {
        return M::kStoredTwin;
    } else {
        return static_cast<int>(M::kMode);
    }
}

struct PixelTraits {
    static constexpr bool kHasOpaque = true;
    static constexpr bool kProductCol5 = false;
    static constexpr bool kConstantResult = false;  // a fill's opaque result ignores d: a pattern store
    static constexpr bool kDissolve = false;
    static constexpr bool kOperandIsSource = true;  // false: the operand is derived from s (Operand)
    static constexpr int kByteMode = -1;            // 8-bit mode giving the same bytes, for the vector paths
    static constexpr int kLane = -1;                // the one byte a channel row writes
    static void Operand(const std::uint8_t* s, std::uint8_t* out) {
        out[0] = s[0], out[1] = s[1], out[2] = s[2], out[3] = s[3];
    }
};

// Each byte by the 8-bit mode M, one weight for the four.
template <class M>
struct PerByte : PixelTraits {
    static constexpr std::uint32_t kMode = M::kMode;
    static constexpr bool kHasOpaque = M::kHasOpaque;
    static constexpr bool kProductCol5 = M::kProductCol5;
    static constexpr bool kConstantResult = M::kConstantResult;
    static constexpr bool kReadsSource = M::kReadsSource;
    static constexpr int kByteMode = StoredByteMode<M>();
    static void Opaque(std::uint8_t* d, const std::uint8_t* s) {
        for (int k = 0; k < 4; ++k) {
            d[k] = static_cast<std::uint8_t>(M::Opaque(d[k], s[k]));
        }
    }
    static void Covered(std::uint8_t* d, const std::uint8_t* s, std::uint32_t w) {
        for (int k = 0; k < 4; ++k) {
            d[k] = static_cast<std::uint8_t>(M::Covered(d[k], s[k], w));
        }
    }
};

// Channel rows write one byte: Set on it, the other three kept. Their column 5
// is the quotient weight, unlike the Set row's.
template <int Lane>
struct ChannelOf : PixelTraits {
    static constexpr std::uint32_t kMode = kModeChannel0 + Lane;
    static constexpr int kLane = Lane;
    static void Opaque(std::uint8_t* d, const std::uint8_t* s) { d[Lane] = s[Lane]; }
    static void Covered(std::uint8_t* d, const std::uint8_t* s, std::uint32_t w) {
        d[Lane] = static_cast<std::uint8_t>(Blend(d[Lane], s[Lane], w));
    }
};

// Brightness of an ink pixel: each of red, green, blue is what its ink and the
// black leave, 255 − min(p_i + p3, 255), and V is the largest, which is
// 255 − min(min(p0, p1, p2) + p3, 255).
inline std::uint32_t InkBrightness(const std::uint8_t* p) {
    std::uint32_t m = p[0] < p[1] ? p[0] : p[1];
    m = m < p[2] ? m : p[2];
    return 255u - Min255(m + p[3]);
}

// Lighten and Darken replace whole pixels, by brightness: the operand (or,
// under coverage, the pixel blended toward it) is taken when it is brighter
// (Lighten), or when it is no brighter (Darken: ties take it).
template <bool kLighten>
struct WholePixelPick : PixelTraits {
    static constexpr std::uint32_t kMode = kLighten ? kModeLighten : kModeDarken;
    static bool Takes(const std::uint8_t* d, const std::uint8_t* candidate) {
        const std::uint32_t vd = InkBrightness(d), vc = InkBrightness(candidate);
        return kLighten ? vd < vc : vd >= vc;
    }
    static void Opaque(std::uint8_t* d, const std::uint8_t* s) {
        if (Takes(d, s)) {
            PixelTraits::Operand(s, d);
        }
    }
    static void Covered(std::uint8_t* d, const std::uint8_t* s, std::uint32_t w) {
        std::uint8_t b[4];
        for (int k = 0; k < 4; ++k) {
            b[k] = static_cast<std::uint8_t>(Blend(d[k], s[k], w));
        }
        if (Takes(d, b)) {
            PixelTraits::Operand(b, d);
        }
    }
};
using InkLighten = WholePixelPick<true>;
using InkDarken = WholePixelPick<false>;

// LightnessMultiply darkens every channel by the operand's lightness
// L = (max + min) / 2 over its four bytes, black included: the product on
// light values, 255 − T[(255 − d)·(255 − L)], is Screen of d with L, and the
// coverage blends it with the stored byte, as Screen does.
struct InkLightnessMultiply : PerByte<ModeScreen> {
    static constexpr std::uint32_t kMode = kModeLightnessMultiply;
    static constexpr bool kOperandIsSource = false;
    static void Operand(const std::uint8_t* s, std::uint8_t* out) {
        std::uint32_t hi = s[0], lo = s[0];
        for (int k = 1; k < 4; ++k) {
            hi = s[k] > hi ? s[k] : hi;
            lo = s[k] < lo ? s[k] : lo;
        }
        const auto l = static_cast<std::uint8_t>((hi + lo) / 2);
        out[0] = out[1] = out[2] = out[3] = l;
    }
};

// Dissolve takes the whole operand pixel where the pixel's draw lies below its
// weight; column 0 is the Set kernel.
struct InkDissolve : PixelTraits {
    static constexpr std::uint32_t kMode = kModeDissolve;
    static constexpr bool kHasOpaque = false;
    static constexpr bool kDissolve = true;
    static void Opaque(std::uint8_t* d, const std::uint8_t* s) { PixelTraits::Operand(s, d); }
    static void Pick(std::uint8_t* d, const std::uint8_t* s, std::uint32_t w, RIPKernelRandom& random) {
        if (random.Draw() < w) {
            PixelTraits::Operand(s, d);
        }
    }
};

using InkSet = PerByte<ModeSet>;
using InkAdd = PerByte<Inverted<ModeAdd>>;
using InkAddMinus = PerByte<Inverted<ModeAddMinus>>;
using InkMultiply = PerByte<Inverted<ModeMultiply>>;
using InkDivide = PerByte<Inverted<ModeDivide>>;
// T[e·c] of the inverted destination e is the grey MultiplyInverse of the
// light values, T[e·(255 − k)]; its blend is taken between light values too.
using InkMultiplyInverse = PerByte<Inverted<ModeMultiplyInverse>>;

}  // namespace raster::kernels::detail
