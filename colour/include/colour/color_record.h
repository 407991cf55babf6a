// ColorRecord: the 12-byte colour value shared by the colour module, the
// raster library and the compositing kernels.
//
// Its layout is fixed because rows and kernels read channel bytes by
// position: u16 model at 0, palette kind at 2, spot kind at 3, tint at 4,
// a reserved byte at 5, two extra channel bytes at 6 and four channel bytes
// at 8. Multi-byte fields are little-endian and read through accessors, never
// through unions or casts, so the record can sit at any address.
#pragma once

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

// Palette kinds: how a record relates to a palette or ink table.
inline constexpr std::uint8_t kPaletteKindInk = 3;
inline constexpr std::uint8_t kPaletteKindPlain = 5;
inline constexpr std::uint8_t kPaletteKindUserInk = 16;

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

    // Model 5: blue, green, red at 8, 9, 10 (the byte order of a 24-bit pixel).
    std::uint8_t Blue() const { return bytes[8]; }
    std::uint8_t Green() const { return bytes[9]; }
    std::uint8_t Red() const { return bytes[10]; }
    // Models 6 and 7: u16 hue at 8, then two bytes (HSB: saturation,
    // brightness; HLS: lightness, saturation).
    std::uint16_t Hue() const { return U16(8); }

    // Starts a record that a converter produces: the model, palette kind 5
    // and bytes 4..7 zero; the channel bytes are left for the caller.
    void BeginResult(std::uint16_t model) {
        SetModel(model);
        bytes[2] = kPaletteKindPlain;
        bytes[4] = bytes[5] = bytes[6] = bytes[7] = 0;
    }

    static ColorRecord RGB(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
        ColorRecord c;
        c.BeginResult(kModelRGB);
        c.bytes[8] = blue;
        c.bytes[9] = green;
        c.bytes[10] = red;
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

    friend bool operator==(const ColorRecord& a, const ColorRecord& b) {
        return std::memcmp(a.bytes, b.bytes, sizeof a.bytes) == 0;
    }
};
static_assert(sizeof(ColorRecord) == 12, "the colour record is 12 bytes wherever it is stored");

// 8-bit channels widen to 16 bits as v·256 + v; 16-bit ones narrow to their high byte.
constexpr std::uint16_t WidenChannel(std::uint8_t v) { return static_cast<std::uint16_t>(v * 257); }
constexpr std::uint8_t NarrowChannel(std::uint16_t v) { return static_cast<std::uint8_t>(v >> 8); }

}  // namespace colour
