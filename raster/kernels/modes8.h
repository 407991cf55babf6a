// The merge modes on 8-bit samples, each written once: d is the destination
// sample, s the fill colour or source sample, w the pixel's coverage weight.
// Opaque() is the column-0 result; Covered() is how columns 1-5 apply w. Every
// family with 8-bit samples builds its kernels from these.
#pragma once

#include <cstdint>

#include "kernel_math.h"

namespace raster::kernels::detail {

struct ModeTraits {
    static constexpr bool kHasOpaque = true;       // false: column 0 is the no-op kernel
    static constexpr bool kProductCol5 = false;    // column 5 weight T[T[m1·m2]·a] instead of the quotient
    static constexpr bool kConstantResult = false;  // Opaque() ignores d: a fill is a store
    static constexpr bool kReadsSource = true;      // false: s is never read
    static constexpr bool kDissolve = false;        // columns 1-5 draw from the random source
};

// Most modes blend toward their opaque result.
template <class M>
struct BlendCover : ModeTraits {
    static std::uint32_t Covered(std::uint32_t d, std::uint32_t s, std::uint32_t w) {
        return Blend(d, M::Opaque(d, s), w);
    }
};

inline std::uint32_t Min255(std::uint32_t v) { return v > 255 ? 255 : v; }
inline std::uint32_t SubFloor(std::uint32_t a, std::uint32_t b) { return a > b ? a - b : 0; }
inline std::uint32_t AbsDiff(std::uint32_t a, std::uint32_t b) { return a > b ? a - b : b - a; }

struct ModeSet : BlendCover<ModeSet> {
    static constexpr std::uint32_t kMode = kModeSet;
    static constexpr bool kProductCol5 = true;
    static constexpr bool kConstantResult = true;
    static std::uint32_t Opaque(std::uint32_t, std::uint32_t s) { return s; }
};

struct ModeAnd : BlendCover<ModeAnd> {
    static constexpr std::uint32_t kMode = kModeAnd;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t s) { return d & s; }
};

struct ModeOr : BlendCover<ModeOr> {
    static constexpr std::uint32_t kMode = kModeOr;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t s) { return d | s; }
};

struct ModeXor : BlendCover<ModeXor> {
    static constexpr std::uint32_t kMode = kModeXor;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t s) { return d ^ s; }
};

struct ModeAndNot : BlendCover<ModeAndNot> {
    static constexpr std::uint32_t kMode = kModeAndNot;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t s) { return d & (255u - s); }
};

struct ModeInvert : BlendCover<ModeInvert> {
    static constexpr std::uint32_t kMode = kModeInvert;
    static constexpr bool kReadsSource = false;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t) { return 255u - d; }
};

struct ModeSetInverse : BlendCover<ModeSetInverse> {
    static constexpr std::uint32_t kMode = kModeSetInverse;
    static constexpr bool kConstantResult = true;
    static std::uint32_t Opaque(std::uint32_t, std::uint32_t s) { return 255u - s; }
};

// Add, AddMinus, Difference and Subtract weight the operand, then apply the
// opaque operation: they never blend toward the opaque result.
struct ModeAdd : ModeTraits {
    static constexpr std::uint32_t kMode = kModeAdd;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t s) { return Min255(d + s); }
    static std::uint32_t Covered(std::uint32_t d, std::uint32_t s, std::uint32_t w) {
        return Min255(d + T(s * w));
    }
};

// d + s − 255 removes the complement of s, so coverage scales the complement.
struct ModeAddMinus : ModeTraits {
    static constexpr std::uint32_t kMode = kModeAddMinus;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t s) { return SubFloor(d, 255u - s); }
    static std::uint32_t Covered(std::uint32_t d, std::uint32_t s, std::uint32_t w) {
        return SubFloor(d, T((255u - s) * w));
    }
};

struct ModeMultiply : BlendCover<ModeMultiply> {
    static constexpr std::uint32_t kMode = kModeMultiply;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t s) { return T(d * s); }
};

// Divide adds to d the weighted gap between the unclamped quotient 255·d/s
// and d, by exact truncating division, and clamps only the sum:
// d + w·(255·d/s − d)/255 = d + d·w·(255 − s)/(255·s). With s = 0 the
// quotient is taken as 255. Products stay below 2^32.
struct ModeDivide : ModeTraits {
    static constexpr std::uint32_t kMode = kModeDivide;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t s) {
        return s == 0 ? 255u : Min255(255u * d / s);
    }
    static std::uint32_t Covered(std::uint32_t d, std::uint32_t s, std::uint32_t w) {
        if (s == 0) {
            return d + (255u - d) * w / 255u;
        }
        return Min255(d + d * w * (255u - s) / (255u * s));
    }
};

// Lighten and Darken blend toward s but never past d, so a source on the
// other side of d leaves it exactly.
struct ModeLighten : ModeTraits {
    static constexpr std::uint32_t kMode = kModeLighten;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t s) { return d < s ? s : d; }
    static std::uint32_t Covered(std::uint32_t d, std::uint32_t s, std::uint32_t w) {
        const std::uint32_t t = Blend(d, s, w);
        return t > d ? t : d;
    }
};

struct ModeDarken : ModeTraits {
    static constexpr std::uint32_t kMode = kModeDarken;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t s) { return d < s ? d : s; }
    static std::uint32_t Covered(std::uint32_t d, std::uint32_t s, std::uint32_t w) {
        const std::uint32_t t = Blend(d, s, w);
        return t < d ? t : d;
    }
};

struct ModeDifference : ModeTraits {
    static constexpr std::uint32_t kMode = kModeDifference;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t s) { return AbsDiff(d, s); }
    static std::uint32_t Covered(std::uint32_t d, std::uint32_t s, std::uint32_t w) {
        return AbsDiff(d, T(s * w));
    }
};

struct ModeSubtract : ModeTraits {
    static constexpr std::uint32_t kMode = kModeSubtract;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t s) { return SubFloor(d, s); }
    static std::uint32_t Covered(std::uint32_t d, std::uint32_t s, std::uint32_t w) {
        return SubFloor(d, T(s * w));
    }
};

struct ModeMultiplyInverse : BlendCover<ModeMultiplyInverse> {
    static constexpr std::uint32_t kMode = kModeMultiplyInverse;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t s) { return T(d * (255u - s)); }
};

// Behind paints under the destination: the weight keeps d, so full coverage
// changes nothing (there is no opaque kernel) and none writes s.
struct ModeBehind : ModeTraits {
    static constexpr std::uint32_t kMode = kModeBehind;
    static constexpr bool kHasOpaque = false;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t) { return d; }
    static std::uint32_t Covered(std::uint32_t d, std::uint32_t s, std::uint32_t w) { return Blend(s, d, w); }
};

struct ModeScreen : BlendCover<ModeScreen> {
    static constexpr std::uint32_t kMode = kModeScreen;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t s) { return 255u - T((255u - d) * (255u - s)); }
};

// Overlay and HardLight double the operand on the side of 128 it lies on,
// so the doubled value never passes 254. Overlay tests d, HardLight s.
struct ModeOverlay : BlendCover<ModeOverlay> {
    static constexpr std::uint32_t kMode = kModeOverlay;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t s) {
        return d < 128 ? T(2 * d * s) : 255u - T(2 * (255u - d) * (255u - s));
    }
};

struct ModeHardLight : BlendCover<ModeHardLight> {
    static constexpr std::uint32_t kMode = kModeHardLight;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t s) {
        return s < 128 ? T(2 * s * d) : 255u - T(2 * (255u - s) * (255u - d));
    }
};

// Below 128, s moves from the low curve's value (s = 0) toward d (s = 128) by
// the weight 2s; from 128, it moves from d (s = 128) toward the high curve's
// value (s = 255) by k = (s − 128)·129/64, which runs 0..255.
struct ModeSoftLight : BlendCover<ModeSoftLight> {
    static constexpr std::uint32_t kMode = kModeSoftLight;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t s) {
        if (s < 128) {
            const std::uint32_t low = RIPSoftLightCurveLow[d];
            return Blend(low, d, 2 * s);
        }
        const std::uint32_t high = RIPSoftLightCurveHigh[d];
        return Blend(d, high, (s - 128) * 129 / 64);
    }
};

// Dodge brightens d by 256/(256 − s); a sum of 256 or more saturates, and a
// zero on either side leaves d.
inline std::uint32_t Dodge(std::uint32_t d, std::uint32_t s) {
    if (d + s >= 256) {
        return 255;
    }
    if (s == 0 || d == 0) {
        return d;
    }
    return 256 * d / (256 - s);
}

struct ModeDodge : BlendCover<ModeDodge> {
    static constexpr std::uint32_t kMode = kModeDodge;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t s) { return Dodge(d, s); }
};

// Burn is Dodge on the complements.
struct ModeBurn : BlendCover<ModeBurn> {
    static constexpr std::uint32_t kMode = kModeBurn;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t s) { return 255u - Dodge(255u - d, 255u - s); }
};

// Dissolve's column 0 is the Set kernel; with coverage each sample takes s
// where a draw lands below the weight.
struct ModeDissolve : ModeTraits {
    static constexpr std::uint32_t kMode = kModeDissolve;
    static constexpr bool kHasOpaque = false;  // the table gives column 0 the Set kernel
    static constexpr bool kDissolve = true;
    static std::uint32_t Opaque(std::uint32_t, std::uint32_t s) { return s; }
    static std::uint32_t Pick(std::uint32_t d, std::uint32_t s, std::uint32_t w, RIPKernelRandom& random) {
        return random.Draw() < w ? s : d;
    }
};

}  // namespace raster::kernels::detail
