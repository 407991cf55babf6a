// ColorRecord: the 12-byte colour value shared by the colour module, the
// raster library and the compositing kernels.
//
// Its layout is fixed because rows and kernels read channel bytes by
// position: u16 model at 0, palette kind at 2, spot kind at 3, tint at 4,
// a reserved byte at 5, two extra channel bytes at 6 and four channel bytes
// at 8. Multi-byte fields are little-endian and read through accessors, never
// through unions or casts, so the record can sit at any address.
//
// The accessors are named after the model whose layout they read; they do not
// check the model, because converters test it once and then read freely.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace colour {

enum ColorModel : std::uint16_t {
    kModelNone = 0,
    kModelInk = 1,
    kModelCMYKPercent = 2,
    kModelCMYK = 3,
    kModelCMY = 4,
    kModelRGB = 5,
    kModelHSB = 6,
    kModelHLS = 7,
    kModelBlackWhite = 8,
    kModelGrey = 9,
    kModelYIQ = 11,
    kModelLab = 12,
    kModelPaletteIndex = 13,
    kModelHexachromeRef = 14,
    kModelHexachrome = 15,
    kModelCMYK2 = 17,
    kModelLabOffset = 18,
    kModelXYZ = 19,
    kModelRegistration = 20,
    kModelUserInkByColour = 21,
    kModelUserInkByName = 22,
    kModelRGB48 = 23,
    kModelGrey16 = 24,
};

// The highest model code a conversion may be asked for.
inline constexpr int kLastModel = 24;

// Palette kinds: how a record relates to a palette or ink table.
inline constexpr std::uint8_t kPaletteKindInk = 3;
inline constexpr std::uint8_t kPaletteKindPlain = 5;
inline constexpr std::uint8_t kPaletteKindUserInk = 16;

// Byte 11 of a model-21 record when it carries its colour in bytes 8..10.
inline constexpr std::uint8_t kUserInkOwnColour = 100;

struct ColorRecord {
    std::uint8_t bytes[12] = {};

    std::uint16_t Model() const { return U16(0); }
    void SetModel(std::uint16_t model) { SetU16(0, model); }
    std::uint8_t PaletteKind() const { return bytes[2]; }
    void SetPaletteKind(std::uint8_t kind) { bytes[2] = kind; }
    std::uint8_t SpotKind() const { return bytes[3]; }
    void SetSpotKind(std::uint8_t kind) { bytes[3] = kind; }
    std::uint8_t Tint() const { return bytes[4]; }
    void SetTint(std::uint8_t tint) { bytes[4] = tint; }

    std::uint8_t& At(int index) { return bytes[index]; }
    std::uint8_t At(int index) const { return bytes[index]; }
    std::uint16_t U16(int offset) const {
        return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
    }
    void SetU16(int offset, std::uint16_t value) {
        bytes[offset] = static_cast<std::uint8_t>(value);
        bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
    }
    std::uint32_t U32(int offset) const {
        return static_cast<std::uint32_t>(U16(offset)) | (static_cast<std::uint32_t>(U16(offset + 2)) << 16);
    }
    void SetU32(int offset, std::uint32_t value) {
        SetU16(offset, static_cast<std::uint16_t>(value));
        SetU16(offset + 2, static_cast<std::uint16_t>(value >> 16));
    }
    // The channel bytes from 8, where row conversions read and write a pixel.
    std::uint8_t* Channels() { return bytes + 8; }
    const std::uint8_t* Channels() const { return bytes + 8; }

    // Models 1 and 14: u16 index at 8 (ink number or Hexachrome entry), u16
    // tint percent at 10.
    std::uint16_t RefIndex() const { return U16(8); }
    std::uint16_t RefTint() const { return U16(10); }

    // Models 2, 3, 17, 20 (and 4 without black): C, M, Y, K at 8..11.
    std::uint8_t Cyan() const { return bytes[8]; }
    std::uint8_t Magenta() const { return bytes[9]; }
    std::uint8_t Yellow() const { return bytes[10]; }
    std::uint8_t Black() const { return bytes[11]; }
    void SetCMYK(std::uint8_t c, std::uint8_t m, std::uint8_t y, std::uint8_t k) {
        bytes[8] = c;
        bytes[9] = m;
        bytes[10] = y;
        bytes[11] = k;
    }

    // Models 5 and 21: blue, green, red at 8, 9, 10 (the byte order of a
    // 24-bit pixel); byte 11 is the tint of a model-21 record.
    std::uint8_t Blue() const { return bytes[8]; }
    std::uint8_t Green() const { return bytes[9]; }
    std::uint8_t Red() const { return bytes[10]; }
    void SetRGB(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
        bytes[8] = blue;
        bytes[9] = green;
        bytes[10] = red;
    }
    std::uint8_t UserInkTint() const { return bytes[11]; }

    // Model 6: u16 hue at 8, saturation at 10, brightness at 11.
    // Model 7: u16 hue at 8, lightness at 10, saturation at 11.
    std::uint16_t Hue() const { return U16(8); }
    std::uint8_t HsbSaturation() const { return bytes[10]; }
    std::uint8_t HsbBrightness() const { return bytes[11]; }
    std::uint8_t HlsLightness() const { return bytes[10]; }
    std::uint8_t HlsSaturation() const { return bytes[11]; }

    // Model 8: u32 at 8, zero black and anything else white.
    std::uint32_t BlackWhite() const { return U32(8); }
    // Model 9: the level at 8.
    std::uint8_t GreyLevel() const { return bytes[8]; }

    // Model 11: Y at 8; I and Q at 9 and 10, each stored as (value + 200) / 2.
    std::uint8_t YiqY() const { return bytes[8]; }
    std::uint8_t YiqI() const { return bytes[9]; }
    std::uint8_t YiqQ() const { return bytes[10]; }

    // Models 12 and 18: L at 8 (0..255 for 0..100). Model 12 holds a and b
    // as signed bytes at 9 and 10; model 18 holds them offset by 128.
    std::uint8_t LabL() const { return bytes[8]; }
    std::int8_t LabA() const { return static_cast<std::int8_t>(bytes[9]); }
    std::int8_t LabB() const { return static_cast<std::int8_t>(bytes[10]); }
    std::uint8_t LabOffsetA() const { return bytes[9]; }
    std::uint8_t LabOffsetB() const { return bytes[10]; }

    // Model 15: six channels at 6..11.
    std::uint8_t HexachromeChannel(int index) const { return bytes[6 + index]; }

    // Model 19: X, Y, Z at 8, 9, 10.
    std::uint8_t XyzX() const { return bytes[8]; }
    std::uint8_t XyzY() const { return bytes[9]; }
    std::uint8_t XyzZ() const { return bytes[10]; }

    // Model 22: u16 position in the user-ink table at 8, tint at 10.
    std::uint16_t UserInkPosition() const { return U16(8); }

    // Model 23: u16 blue at 6, green at 8, red at 10.
    std::uint16_t Blue16() const { return U16(6); }
    std::uint16_t Green16() const { return U16(8); }
    std::uint16_t Red16() const { return U16(10); }
    void SetRGB48(std::uint16_t red, std::uint16_t green, std::uint16_t blue) {
        SetU16(6, blue);
        SetU16(8, green);
        SetU16(10, red);
    }
    // Model 24: u16 level at 8.
    std::uint16_t Grey16() const { return U16(8); }

    // Starts a record that a converter produces: the model, palette kind 5
    // and bytes 4..7 zero; the channel bytes are left for the caller.
    void BeginResult(std::uint16_t model) {
        SetModel(model);
        bytes[2] = kPaletteKindPlain;
        bytes[4] = bytes[5] = bytes[6] = bytes[7] = 0;
    }
    // A converter's result: as BeginResult, with the spot kind and the
    // channel bytes 8..11 cleared too, so nothing of what the record held
    // before (a spot kind above all) outlives the conversion.
    void BeginClearResult(std::uint16_t model) {
        BeginResult(model);
        bytes[3] = 0;
        bytes[8] = bytes[9] = bytes[10] = bytes[11] = 0;
    }

    static ColorRecord RGB(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
        ColorRecord c;
        c.BeginResult(kModelRGB);
        c.SetRGB(red, green, blue);
        return c;
    }
    static ColorRecord HSB(std::uint16_t hue, std::uint8_t saturation, std::uint8_t brightness) {
        ColorRecord c;
        c.BeginResult(kModelHSB);
        c.SetU16(8, hue);
        c.bytes[10] = saturation;
        c.bytes[11] = brightness;
        return c;
    }
    static ColorRecord HLS(std::uint16_t hue, std::uint8_t lightness, std::uint8_t saturation) {
        ColorRecord c;
        c.BeginResult(kModelHLS);
        c.SetU16(8, hue);
        c.bytes[10] = lightness;
        c.bytes[11] = saturation;
        return c;
    }
    // Models 2, 3, 4, 17 and 20 (model 4 leaves K at 0).
    static ColorRecord CMYK(std::uint16_t model, std::uint8_t c, std::uint8_t m, std::uint8_t y,
                            std::uint8_t k) {
        ColorRecord r;
        r.BeginResult(model);
        r.SetCMYK(c, m, y, k);
        return r;
    }
    static ColorRecord Grey(std::uint8_t level) {
        ColorRecord c;
        c.BeginResult(kModelGrey);
        c.bytes[8] = level;
        return c;
    }
    static ColorRecord BW(std::uint32_t value) {
        ColorRecord c;
        c.BeginResult(kModelBlackWhite);
        c.SetU32(8, value);
        return c;
    }
    static ColorRecord YIQ(std::uint8_t y, std::uint8_t i, std::uint8_t q) {
        return Three(kModelYIQ, y, i, q);
    }
    static ColorRecord Lab(std::uint8_t l, std::int8_t a, std::int8_t b) {
        return Three(kModelLab, l, static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b));
    }
    static ColorRecord LabOffset(std::uint8_t l, std::uint8_t a, std::uint8_t b) {
        return Three(kModelLabOffset, l, a, b);
    }
    static ColorRecord RGB48(std::uint16_t red, std::uint16_t green, std::uint16_t blue) {
        ColorRecord c;
        c.BeginResult(kModelRGB48);
        c.SetRGB48(red, green, blue);
        return c;
    }
    static ColorRecord Grey16Level(std::uint16_t level) {
        ColorRecord c;
        c.BeginResult(kModelGrey16);
        c.SetU16(8, level);
        return c;
    }
    // Model 1 (palette kind 3) or model 14: a reference with its tint percent.
    static ColorRecord Reference(std::uint16_t model, std::uint16_t index, std::uint16_t tint) {
        ColorRecord c;
        c.BeginResult(model);
        if (model == kModelInk) c.bytes[2] = kPaletteKindInk;
        c.SetU16(8, index);
        c.SetU16(10, tint);
        return c;
    }
    static ColorRecord Hexachrome(const std::uint8_t (&channels)[6]) {
        ColorRecord c;
        c.BeginResult(kModelHexachrome);
        std::memcpy(c.bytes + 6, channels, 6);
        return c;
    }

    // A result whose channels are bytes 8, 9 and 10.
    static ColorRecord Three(std::uint16_t model, std::uint8_t c8, std::uint8_t c9, std::uint8_t c10) {
        ColorRecord c;
        c.BeginResult(model);
        c.bytes[8] = c8;
        c.bytes[9] = c9;
        c.bytes[10] = c10;
        return c;
    }

    friend bool operator==(const ColorRecord& a, const ColorRecord& b) {
        return std::memcmp(a.bytes, b.bytes, sizeof a.bytes) == 0;
    }
};
static_assert(sizeof(ColorRecord) == 12, "the colour record is 12 bytes wherever it is stored");
static_assert(alignof(ColorRecord) == 1, "the colour record may sit at any address");

// 8-bit channels widen to 16 bits as v·256 + v; 16-bit ones narrow to their high byte.
constexpr std::uint16_t WidenChannel(std::uint8_t v) {
    return static_cast<std::uint16_t>(v * 257);
}
constexpr std::uint8_t NarrowChannel(std::uint16_t v) {
    return static_cast<std::uint8_t>(v >> 8);
}

}  // namespace colour
