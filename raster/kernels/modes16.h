// The merge modes on 16-bit samples, each written once: d is the destination
// sample, s the source sample (or the colour), w the pixel's 8-bit weight.
// They are the 8-bit modes with 65535 for full intensity: a weighted value
// divides by q (weight times sample), a product of two samples by p. No
// table is used; the column-5 weight is the quotient form in every mode.
#pragma once

#include <cstdint>

#include "kernels/quotients16.h"
#include "modes8.h"

namespace raster::kernels::detail {

inline constexpr std::uint32_t kFull16 = 65535;

inline std::uint32_t Q(std::uint32_t x) { return RIPBlendQuotient16(x); }
inline std::uint32_t P(std::uint32_t x) { return RIPProductQuotient16(x); }

// B16(d, f, w): d moved toward f by the weight w.
inline std::uint32_t Blend16(std::uint32_t d, std::uint32_t f, std::uint32_t w) {
    return Q(f * w + d * (255u - w));
}

inline std::uint32_t Min16(std::uint32_t v) { return v > kFull16 ? kFull16 : v; }

struct Mode16Traits {
    static constexpr bool kHasOpaque = true;
    static constexpr bool kDissolve = false;
    static constexpr bool kReadsSource = true;
};

template <class M>
struct Blend16Cover : Mode16Traits {
    static std::uint32_t Covered(std::uint32_t d, std::uint32_t s, std::uint32_t w) {
        return Blend16(d, M::Opaque(d, s), w);
    }
};

struct Mode16Set : Blend16Cover<Mode16Set> {
    static constexpr std::uint32_t kMode = kModeSet;
    static std::uint32_t Opaque(std::uint32_t, std::uint32_t s) { return s; }
};
struct Mode16And : Blend16Cover<Mode16And> {
    static constexpr std::uint32_t kMode = kModeAnd;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t s) { return d & s; }
};
struct Mode16Or : Blend16Cover<Mode16Or> {
    static constexpr std::uint32_t kMode = kModeOr;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t s) { return d | s; }
};
struct Mode16Xor : Blend16Cover<Mode16Xor> {
    static constexpr std::uint32_t kMode = kModeXor;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t s) { return d ^ s; }
};
struct Mode16AndNot : Blend16Cover<Mode16AndNot> {
    static constexpr std::uint32_t kMode = kModeAndNot;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t s) { return d & (kFull16 - s); }
};
struct Mode16Invert : Blend16Cover<Mode16Invert> {
    static constexpr std::uint32_t kMode = kModeInvert;
    static constexpr bool kReadsSource = false;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t) { return kFull16 - d; }
};
struct Mode16SetInverse : Blend16Cover<Mode16SetInverse> {
    static constexpr std::uint32_t kMode = kModeSetInverse;
    static std::uint32_t Opaque(std::uint32_t, std::uint32_t s) { return kFull16 - s; }
};

// Add, AddMinus, Difference and Subtract weight the operand first.
struct Mode16Add : Mode16Traits {
    static constexpr std::uint32_t kMode = kModeAdd;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t s) { return Min16(d + s); }
    static std::uint32_t Covered(std::uint32_t d, std::uint32_t s, std::uint32_t w) { return Min16(d + Q(s * w)); }
};
// d + s − 65535 removes the complement of s, so coverage scales the complement.
struct Mode16AddMinus : Mode16Traits {
    static constexpr std::uint32_t kMode = kModeAddMinus;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t s) { return SubFloor(d, kFull16 - s); }
    static std::uint32_t Covered(std::uint32_t d, std::uint32_t s, std::uint32_t w) {
        return SubFloor(d, Q((kFull16 - s) * w));
    }
};
struct Mode16Multiply : Blend16Cover<Mode16Multiply> {
    static constexpr std::uint32_t kMode = kModeMultiply;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t s) { return P(d * s); }
};
// Under coverage Divide blends toward its clamped quotient (65535·d fits 32 bits).
struct Mode16Divide : Blend16Cover<Mode16Divide> {
    static constexpr std::uint32_t kMode = kModeDivide;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t s) {
        return s == 0 ? kFull16 : Min16(kFull16 * d / s);
    }
};
// Lighten and Darken blend toward s but never past d.
struct Mode16Lighten : Mode16Traits {
    static constexpr std::uint32_t kMode = kModeLighten;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t s) { return d < s ? s : d; }
    static std::uint32_t Covered(std::uint32_t d, std::uint32_t s, std::uint32_t w) {
        const std::uint32_t t = Blend16(d, s, w);
        return d < t ? t : d;
    }
};
struct Mode16Darken : Mode16Traits {
    static constexpr std::uint32_t kMode = kModeDarken;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t s) { return d >= s ? s : d; }
    static std::uint32_t Covered(std::uint32_t d, std::uint32_t s, std::uint32_t w) {
        const std::uint32_t t = Blend16(d, s, w);
        return d >= t ? t : d;
    }
};
struct Mode16Difference : Mode16Traits {
    static constexpr std::uint32_t kMode = kModeDifference;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t s) { return AbsDiff(d, s); }
    static std::uint32_t Covered(std::uint32_t d, std::uint32_t s, std::uint32_t w) { return AbsDiff(d, Q(s * w)); }
};
struct Mode16Subtract : Mode16Traits {
    static constexpr std::uint32_t kMode = kModeSubtract;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t s) { return SubFloor(d, s); }
    static std::uint32_t Covered(std::uint32_t d, std::uint32_t s, std::uint32_t w) { return SubFloor(d, Q(s * w)); }
};
struct Mode16MultiplyInverse : Blend16Cover<Mode16MultiplyInverse> {
    static constexpr std::uint32_t kMode = kModeMultiplyInverse;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t s) { return P(d * (kFull16 - s)); }
};
// Behind: the weight keeps d; full coverage has no kernel (nothing changes).
struct Mode16Behind : Mode16Traits {
    static constexpr std::uint32_t kMode = kModeBehind;
    static constexpr bool kHasOpaque = false;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t) { return d; }
    static std::uint32_t Covered(std::uint32_t d, std::uint32_t s, std::uint32_t w) { return Blend16(s, d, w); }
};
struct Mode16Screen : Blend16Cover<Mode16Screen> {
    static constexpr std::uint32_t kMode = kModeScreen;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t s) { return kFull16 - P((kFull16 - d) * (kFull16 - s)); }
};

// Dodge brightens d by 65536/(65536 − s); a sum past 65535 saturates, and a
// zero on either side leaves d. Below saturation 65536·d < 2^32.
inline std::uint32_t Dodge16(std::uint32_t d, std::uint32_t s) {
    if (d + s >= 65536u) {
        return kFull16;
    }
    if (s == 0 || d == 0) {
        return d;
    }
    return 65536u * d / (65536u - s);
}
struct Mode16Dodge : Blend16Cover<Mode16Dodge> {
    static constexpr std::uint32_t kMode = kModeDodge;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t s) { return Dodge16(d, s); }
};
// Burn is Dodge on the complements.
struct Mode16Burn : Blend16Cover<Mode16Burn> {
    static constexpr std::uint32_t kMode = kModeBurn;
    static std::uint32_t Opaque(std::uint32_t d, std::uint32_t s) { return kFull16 - Dodge16(kFull16 - d, kFull16 - s); }
};

// Dissolve's column 0 is the copy; with coverage a sample takes s where its
// draw lies below the weight.
struct Mode16Dissolve : Mode16Traits {
    static constexpr std::uint32_t kMode = kModeDissolve;
    static constexpr bool kHasOpaque = false;
    static constexpr bool kDissolve = true;
    static std::uint32_t Opaque(std::uint32_t, std::uint32_t s) { return s; }
    static std::uint32_t Pick(std::uint32_t d, std::uint32_t s, std::uint32_t w, RIPKernelRandom& random) {
        return random.Draw() < w ? s : d;
    }
};

}  // namespace raster::kernels::detail
