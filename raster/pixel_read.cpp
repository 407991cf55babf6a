// Single pixels read under a read lock of their slot, and as colours.
#include <cstring>

#include "raster/mapping.h"
#include "raster/palette.h"
#include "raster/pixel_access.h"
#include "raster/storage.h"

namespace raster {
namespace {

// Copies the bytes of pixel (x, y) (for sub-byte formats its byte, with the
// pixel's bit position from the top) from the slot that holds it.
bool ReadRaw(const RIPImage* image, std::int32_t x, std::int32_t y, std::uint8_t* out, std::size_t bytes,
             std::uint32_t* bit) {
    RIPTileSlot* slot = RIPSlotAt(image, x, y);
    if (slot == nullptr || RIPTileLockRead(slot) == 0) {
        return false;
    }
    const std::int32_t cx = x - slot->left;
    const std::uint8_t* p = RIPTilePixelAddress(image, slot, cx, y - slot->bottom);
    if (p != nullptr) {
        std::memcpy(out, p, bytes);
        if (bit != nullptr) {
            *bit = static_cast<std::uint32_t>((static_cast<std::int64_t>(cx) * image->bitsPerPixel) % 8);
        }
    }
    return RIPTileUnlock(slot) != 0 && p != nullptr;
}

bool IsType(const RIPImage* image, std::int32_t type, std::int32_t bits = 0) {
    return image != nullptr && image->type == type && (bits == 0 || image->bitsPerPixel == bits);
}

int ReadBytes(const RIPImage* image, std::int32_t x, std::int32_t y, std::uint8_t* out, std::size_t bytes) {
    return ReadRaw(image, x, y, out, bytes, nullptr) ? 1 : 0;
}

int ReadSamples(const RIPImage* image, std::int32_t x, std::int32_t y, std::uint16_t* out, int count) {
    std::uint8_t raw[6];
    if (!ReadRaw(image, x, y, raw, 2 * static_cast<std::size_t>(count), nullptr)) {
        return 0;
    }
    for (int i = 0; i < count; ++i) {
        out[i] = static_cast<std::uint16_t>(raw[2 * i] | (raw[2 * i + 1] << 8));
    }
    return 1;
}

colour::ColorRecord EntryColour(const RIPPalette* palette, unsigned index) {
    colour::ColorRecord c = colour::ColorRecord::RGB(0, 0, 0);
    if (palette != nullptr && palette->count > 0) {
        const std::uint8_t* e =
            palette->Entries() + 3 * (index < static_cast<unsigned>(palette->count) ? index : 0);
        c.SetRGB(e[2], e[1], e[0]);
    }
    return c;
}

// A pixel of fewer than 8 bits, most significant bits first in its byte.
int ReadPacked(const RIPImage* image, std::int32_t x, std::int32_t y, std::uint32_t bits, std::uint8_t* out) {
    std::uint8_t byte = 0;
    std::uint32_t position = 0;
    if (!ReadRaw(image, x, y, &byte, 1, &position)) {
        return 0;
    }
    *out = static_cast<std::uint8_t>((byte >> (8 - bits - position)) & ((1u << bits) - 1));
    return 1;
}

}  // namespace

int RIPReadPixelBit(const RIPImage* image, std::int32_t x, std::int32_t y, std::uint8_t* bit) {
    if (!IsType(image, kTypeBilevel) && !IsType(image, kTypePaletted, 1)) {
        return 0;
    }
    return ReadPacked(image, x, y, 1, bit);
}

int RIPReadPixelNibble(const RIPImage* image, std::int32_t x, std::int32_t y, std::uint8_t* index) {
    return IsType(image, kTypePaletted, 4) ? ReadPacked(image, x, y, 4, index) : 0;
}

int RIPReadPixelByte(const RIPImage* image, std::int32_t x, std::int32_t y, std::uint8_t* value) {
    if (!IsType(image, kTypeGrey8) && !IsType(image, kTypeCoverage) && !IsType(image, kTypePaletted, 8)) {
        return 0;
    }
    return ReadBytes(image, x, y, value, 1);
}

int RIPReadPixel24(const RIPImage* image, std::int32_t x, std::int32_t y, std::uint8_t* bytes) {
    return IsType(image, kTypeRGB24) ? ReadBytes(image, x, y, bytes, 3) : 0;
}

int RIPReadPixelLab(const RIPImage* image, std::int32_t x, std::int32_t y, std::uint8_t* bytes) {
    return IsType(image, kTypeLab24) ? ReadBytes(image, x, y, bytes, 3) : 0;
}

int RIPReadPixelCMYK(const RIPImage* image, std::int32_t x, std::int32_t y, std::uint8_t* bytes) {
    return IsType(image, kTypeCMYK32) ? ReadBytes(image, x, y, bytes, 4) : 0;
}

int RIPReadPixel48(const RIPImage* image, std::int32_t x, std::int32_t y, std::uint16_t* samples) {
    return IsType(image, kTypeRGB48) ? ReadSamples(image, x, y, samples, 3) : 0;
}

int RIPReadPixel16(const RIPImage* image, std::int32_t x, std::int32_t y, std::uint16_t* sample) {
    return IsType(image, kTypeGrey16) ? ReadSamples(image, x, y, sample, 1) : 0;
}

int RIPGetPixelColor(colour::ColorRecord* out, const RIPImage* image, std::int32_t x, std::int32_t y) {
    if (out == nullptr) {
        return 0;
    }
    *out = colour::ColorRecord::RGB(0, 0, 0);
    if (image == nullptr) {
        return 0;
    }
    std::uint8_t b[4] = {};
    std::uint16_t s[3] = {};
    colour::ColorRecord c;
    int ok = 0;
    switch (image->type) {
        case kTypeRGB24:
            if ((ok = RIPReadPixel24(image, x, y, b)) != 0) c = colour::ColorRecord::RGB(b[2], b[1], b[0]);
            break;
        case kTypeLab24:
            if ((ok = RIPReadPixelLab(image, x, y, b)) != 0)
                c = colour::ColorRecord::LabOffset(b[0], b[1], b[2]);
            break;
        case kTypeCMYK32:
            if ((ok = RIPReadPixelCMYK(image, x, y, b)) != 0)
                c = colour::ColorRecord::CMYK(colour::kModelCMYK, b[0], b[1], b[2], b[3]);
            break;
        case kTypeRGB48:
            if ((ok = RIPReadPixel48(image, x, y, s)) != 0) c = colour::ColorRecord::RGB48(s[2], s[1], s[0]);
            break;
        case kTypeGrey16:
            if ((ok = RIPReadPixel16(image, x, y, s)) != 0) c = colour::ColorRecord::Grey16Level(s[0]);
            break;
        case kTypeGrey8:
        case kTypeCoverage:
            if ((ok = RIPReadPixelByte(image, x, y, b)) != 0) c = colour::ColorRecord::RGB(b[0], b[0], b[0]);
            break;
        case kTypeBilevel:
            if ((ok = RIPReadPixelBit(image, x, y, b)) != 0) {
                const std::uint8_t v = b[0] != 0 ? 255 : 0;
                c = colour::ColorRecord::RGB(v, v, v);
            }
            break;
        case kTypePaletted:
            if (image->bitsPerPixel == 1) {
                ok = RIPReadPixelBit(image, x, y, b);
            } else if (image->bitsPerPixel == 4) {
                ok = RIPReadPixelNibble(image, x, y, b);
            } else {
                ok = RIPReadPixelByte(image, x, y, b);
            }
            if (ok != 0) c = EntryColour(image->palette, b[0]);
            break;
        default: break;
    }
    if (ok != 0) {
        *out = c;
    }
    return ok;
}

int RIPResolveColour(colour::ColorRecord* out, RIPRasterState* state, const RIPImage* image, std::int32_t x,
                     std::int32_t y) {
    if (out == nullptr) {
        return 0;
    }
    out->SetModel(colour::kModelNone);
    RIPPoint p{x, y};
    if (state != nullptr) {
        RIPLogToDev(state, &p);
    }
    return RIPGetPixelColor(out, image, p.x, p.y);
}

}  // namespace raster
