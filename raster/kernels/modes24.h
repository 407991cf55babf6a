// The merge modes on 3-byte pixels (24-bit RGB in blue, green, red order, and
// Lab with L first and the two offset chroma bytes after it), each written
// once as a pixel mode. A pixel mode combines a destination pixel with an
// operand: a fill makes it once from its colour, a blit once per source pixel.
//
//   Operand Of(const std::uint8_t* s)           the operand of the bytes s[0..2]
//   void Opaque(std::uint8_t* d, const Operand&)            column 0
//   void Covered(std::uint8_t* d, const Operand&, std::uint32_t w)  columns 1-5
//
// The per-byte modes are the 8-bit modes of modes8.h applied to each byte
// under the pixel's one weight; the rest decide for the whole pixel.
#pragma once

#include <cstdint>

#include "colour/convert.h"
#include "colour/hsb.h"
#include "modes8.h"

namespace raster::kernels::detail {

struct PixelModeTraits {
    static constexpr bool kHasOpaque = true;     // false: column 0 is the no-op or the Set kernel
    static constexpr bool kProductCol5 = false;  // column 5 weight T[T[m1·m2]·a] instead of the quotient
    static constexpr bool kDissolve = false;     // columns 1-5 copy the operand where a draw falls below w
    static constexpr bool kConstantResult = false;  // Opaque() ignores the pixel: a fill is a store
    static constexpr int kPerByteMode = -1;      // the 8-bit mode applied to each byte, when there is one
    static constexpr int kLane = -1;             // the one byte the mode touches, when there is one
};

struct Bytes3 {
    std::uint8_t v[3];
};
inline Bytes3 BytesOf(const std::uint8_t* s) { return {{s[0], s[1], s[2]}}; }
inline void StoreBytes(std::uint8_t* d, const Bytes3& b) {
    d[0] = b.v[0];
    d[1] = b.v[1];
    d[2] = b.v[2];
}
// The pixel moved toward b by the weight w, byte by byte.
inline Bytes3 BlendPixel(const std::uint8_t* d, const Bytes3& b, std::uint32_t w) {
    return {{static_cast<std::uint8_t>(Blend(d[0], b.v[0], w)), static_cast<std::uint8_t>(Blend(d[1], b.v[1], w)),
             static_cast<std::uint8_t>(Blend(d[2], b.v[2], w))}};
}
inline std::uint32_t Max3(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    const std::uint32_t m = a > b ? a : b;
    return m > c ? m : c;
}
inline std::uint32_t Min3(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    const std::uint32_t m = a < b ? a : b;
    return m < c ? m : c;
}

// An 8-bit mode on each byte, bytes 0, 1, 2 in order, with its own operand byte.
template <class M>
struct PerByte : PixelModeTraits {
    static constexpr std::uint32_t kMode = M::kMode;
    static constexpr bool kHasOpaque = M::kHasOpaque;
    static constexpr bool kProductCol5 = M::kProductCol5;
    static constexpr bool kConstantResult = M::kConstantResult;
    static constexpr int kPerByteMode = static_cast<int>(M::kMode);
    using Operand = Bytes3;
    static Operand Of(const std::uint8_t* s) { return BytesOf(s); }
    static void Opaque(std::uint8_t* d, const Operand& s) {
        for (int k = 0; k < 3; ++k) {
            d[k] = static_cast<std::uint8_t>(M::Opaque(d[k], s.v[k]));
        }
    }
    static void Covered(std::uint8_t* d, const Operand& s, std::uint32_t w) {
        for (int k = 0; k < 3; ++k) {
            d[k] = static_cast<std::uint8_t>(M::Covered(d[k], s.v[k], w));
        }
    }
};

// Lighten and Darken of RGB decide on the pixel's brightness, its largest
// byte: the whole pixel takes the operand (or, with coverage, the pixel
// blended toward it) or stays. Lighten needs a strictly brighter candidate;
// Darken takes a candidate of equal brightness too.
template <bool kLighten>
struct PixelBrightnessPick : PixelModeTraits {
    static constexpr std::uint32_t kMode = kLighten ? kModeLighten : kModeDarken;
    struct Operand {
        Bytes3 bytes;
        std::uint32_t brightness;
    };
    static Operand Of(const std::uint8_t* s) { return {BytesOf(s), Max3(s[0], s[1], s[2])}; }
    static bool Takes(std::uint32_t own, std::uint32_t candidate) {
        return kLighten ? own < candidate : own >= candidate;
    }
    static void Opaque(std::uint8_t* d, const Operand& s) {
        if (Takes(Max3(d[0], d[1], d[2]), s.brightness)) {
            StoreBytes(d, s.bytes);
        }
    }
    static void Covered(std::uint8_t* d, const Operand& s, std::uint32_t w) {
        const Bytes3 b = BlendPixel(d, s.bytes, w);
        if (Takes(Max3(d[0], d[1], d[2]), Max3(b.v[0], b.v[1], b.v[2]))) {
            StoreBytes(d, b);
        }
    }
};
using PixelLighten = PixelBrightnessPick<true>;
using PixelDarken = PixelBrightnessPick<false>;

// Every byte multiplied by one lightness, (max + min) / 2 of the operand.
struct PixelLightnessMultiply : PixelModeTraits {
    static constexpr std::uint32_t kMode = kModeLightnessMultiply;
    struct Operand {
        std::uint32_t lightness;
    };
    static Operand Of(const std::uint8_t* s) { return {(Max3(s[0], s[1], s[2]) + Min3(s[0], s[1], s[2])) / 2}; }
    static void Opaque(std::uint8_t* d, const Operand& s) {
        for (int k = 0; k < 3; ++k) {
            d[k] = static_cast<std::uint8_t>(T(d[k] * s.lightness));
        }
    }
    static void Covered(std::uint8_t* d, const Operand& s, std::uint32_t w) {
        for (int k = 0; k < 3; ++k) {
            d[k] = static_cast<std::uint8_t>(Blend(d[k], T(d[k] * s.lightness), w));
        }
    }
};

// Byte k alone takes the operand's byte k; the other two stay.
template <int k>
struct PixelChannel : PixelModeTraits {
    static constexpr std::uint32_t kMode = kModeChannel0 + k;
    static constexpr int kLane = k;
    struct Operand {
        std::uint32_t v;
    };
    static Operand Of(const std::uint8_t* s) { return {s[k]}; }
    static void Opaque(std::uint8_t* d, const Operand& s) { d[k] = static_cast<std::uint8_t>(s.v); }
    static void Covered(std::uint8_t* d, const Operand& s, std::uint32_t w) {
        d[k] = static_cast<std::uint8_t>(Blend(d[k], s.v, w));
    }
};

// Dissolve: the whole pixel takes the operand where the pixel's one draw
// falls below its weight. Column 0 is the Set kernel.
struct PixelDissolve : PixelModeTraits {
    static constexpr std::uint32_t kMode = kModeDissolve;
    static constexpr bool kHasOpaque = false;
    static constexpr bool kDissolve = true;
    using Operand = Bytes3;
    static Operand Of(const std::uint8_t* s) { return BytesOf(s); }
    static void Pick(std::uint8_t* d, const Operand& s, std::uint32_t w, RIPKernelRandom& random) {
        if (random.Draw() < w) {
            StoreBytes(d, s);
        }
    }
};

// Hue, saturation and brightness modes. The pixel goes to HSB and back
// through the colour services' record conversions; the mode replaces some of
// its components by the operand's, or with coverage moves them toward it.
struct Hsb {
    std::uint32_t hue, saturation, brightness;
};
inline Hsb HsbOf(const colour::ColorRecord& rgb) {
    colour::ColorRecord hsb;
    colour::ClrRGBToHSB(&hsb, &rgb);
    return {hsb.Hue(), hsb.At(10), hsb.At(11)};
}
inline Hsb HsbOfPixel(const std::uint8_t* p) { return HsbOf(colour::ColorRecord::RGB(p[2], p[1], p[0])); }
inline void StoreHsb(std::uint8_t* p, const Hsb& v) {
    const colour::ColorRecord hsb = colour::ColorRecord::HSB(
        static_cast<std::uint16_t>(v.hue), static_cast<std::uint8_t>(v.saturation), static_cast<std::uint8_t>(v.brightness));
    colour::ColorRecord rgb;
    colour::ClrHSBToRGB(&rgb, &hsb);
    p[0] = rgb.At(8);
    p[1] = rgb.At(9);
    p[2] = rgb.At(10);
}

// The hue w/255 of the way from `from` toward `toward` along the shorter arc:
// past 180 degrees apart, the smaller hue is taken a turn further. The sum
// x = w·toward + (255 − w)·from stays below 255·720, and (x + x/65536)/255
// rounds the way the fixed-point division by 255 does.
inline std::uint32_t HueToward(std::uint32_t from, std::uint32_t toward, std::uint32_t w) {
    if (toward > from + 180) {
        from += 360;
    } else if (from > toward + 180) {
        toward += 360;
    }
    const std::uint32_t x = w * toward + (255u - w) * from;
    const std::uint32_t h = (x + x / 65536) / 255;
    return h >= 360 ? h - 360 : h;
}

enum HsbPart : unsigned { kHsbHue = 1, kHsbSaturation = 2, kHsbBrightness = 4 };

// With coverage, a pixel of weight 0 is left as it is: the round trip alone
// would move most colours by a step or more where nothing is painted. The
// hue of HueSaturation follows the weight along the shorter arc, like Hue's.
template <std::uint32_t Mode, unsigned kParts>
struct PixelHsbMode : PixelModeTraits {
    static constexpr std::uint32_t kMode = Mode;
    using Operand = Hsb;
    static Operand Of(const std::uint8_t* s) { return HsbOfPixel(s); }
    static void Opaque(std::uint8_t* d, const Operand& s) {
        Hsb p = HsbOfPixel(d);
        if constexpr ((kParts & kHsbHue) != 0) p.hue = s.hue;
        if constexpr ((kParts & kHsbSaturation) != 0) p.saturation = s.saturation;
        if constexpr ((kParts & kHsbBrightness) != 0) p.brightness = s.brightness;
        StoreHsb(d, p);
    }
    static void Covered(std::uint8_t* d, const Operand& s, std::uint32_t w) {
        if (w == 0) {
            return;
        }
        Hsb p = HsbOfPixel(d);
        if constexpr ((kParts & kHsbHue) != 0) p.hue = HueToward(p.hue, s.hue, w);
        if constexpr ((kParts & kHsbSaturation) != 0) p.saturation = Blend(p.saturation, s.saturation, w);
        if constexpr ((kParts & kHsbBrightness) != 0) p.brightness = Blend(p.brightness, s.brightness, w);
        StoreHsb(d, p);
    }
};

// The colour of a HueSaturation fill is the whole colour record taken to HSB
// by the colour services, whatever its model; one that does not convert (an
// ink that does not resolve) counts by its channel bytes as RGB, which is
// what the fill setup gives an RGB image.
struct PixelHueSaturation : PixelHsbMode<kModeHueSaturation, kHsbHue | kHsbSaturation> {
    static Operand OfColour(const colour::ColorRecord& c) {
        colour::ColorRecord hsb;
        if (colour::ClrConvertColor(&hsb, colour::kModelHSB, &c) && hsb.Model() == colour::kModelHSB) {
            return {hsb.Hue(), hsb.At(10), hsb.At(11)};
        }
        return HsbOfPixel(c.bytes + 8);
    }
};
using PixelHue = PixelHsbMode<kModeHue, kHsbHue>;
using PixelSaturation = PixelHsbMode<kModeSaturation, kHsbSaturation>;
using PixelBrightness = PixelHsbMode<kModeBrightness, kHsbBrightness>;

// Lab: the two chroma bytes carry a + 128 and b + 128. Multiplying them is
// centred on 128: toward 0 below it, toward 255 from it, on the side the
// destination byte lies. With k the side's mask, ((d ^ k)·(s ^ k)) >> 7 ^ k
// is floor(d·s/128) below 128 and 255 − floor((255 − d)(255 − s)/128) from it.
inline std::uint32_t CentredMultiply(std::uint32_t d, std::uint32_t s) {
    const std::uint32_t k = d > 127 ? 255u : 0u;
    return (((d ^ k) * (s ^ k)) >> 7) ^ k;
}

// Multiply and Screen of Lab work on L as light and on the chroma bytes by
// the centred multiply; coverage blends each byte toward its result.
template <std::uint32_t Mode>
struct LabProduct : PixelModeTraits {
    static constexpr std::uint32_t kMode = Mode;
    using Operand = Bytes3;
    static Operand Of(const std::uint8_t* s) { return BytesOf(s); }
    static Bytes3 Result(const std::uint8_t* d, const Operand& s) {
        const std::uint32_t l = Mode == kModeMultiply ? T(d[0] * s.v[0]) : 255u - T((255u - d[0]) * (255u - s.v[0]));
        return {{static_cast<std::uint8_t>(l), static_cast<std::uint8_t>(CentredMultiply(d[1], s.v[1])),
                 static_cast<std::uint8_t>(CentredMultiply(d[2], s.v[2]))}};
    }
    static void Opaque(std::uint8_t* d, const Operand& s) { StoreBytes(d, Result(d, s)); }
    static void Covered(std::uint8_t* d, const Operand& s, std::uint32_t w) {
        StoreBytes(d, BlendPixel(d, Result(d, s), w));
    }
};
using LabMultiply = LabProduct<kModeMultiply>;
using LabScreen = LabProduct<kModeScreen>;

// Lighten and Darken of Lab decide on L alone, strictly: equal lightness
// leaves the pixel, chroma bytes included.
template <bool kLighten>
struct LabLightnessPick : PixelModeTraits {
    static constexpr std::uint32_t kMode = kLighten ? kModeLighten : kModeDarken;
    using Operand = Bytes3;
    static Operand Of(const std::uint8_t* s) { return BytesOf(s); }
    static bool Takes(std::uint32_t own, std::uint32_t candidate) {
        return kLighten ? candidate > own : candidate < own;
    }
    static void Opaque(std::uint8_t* d, const Operand& s) {
        if (Takes(d[0], s.v[0])) {
            StoreBytes(d, s);
        }
    }
    static void Covered(std::uint8_t* d, const Operand& s, std::uint32_t w) {
        const Bytes3 b = BlendPixel(d, s, w);
        if (Takes(d[0], b.v[0])) {
            StoreBytes(d, b);
        }
    }
};
using LabLighten = LabLightnessPick<true>;
using LabDarken = LabLightnessPick<false>;

}  // namespace raster::kernels::detail
