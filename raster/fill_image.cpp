// One colour over whole rows: the rows of a contiguous slot, a tiled slot
// made solid, and every pixel of an image.
#include <cstring>

#include "kernels/direct_kernels.h"
#include "raster/palette.h"
#include "raster/pixel_access.h"
#include "raster/storage.h"

namespace raster {
namespace {

// The model of a type's stored pixel values: palette indices for type 10.
std::uint16_t PixelModel(std::int32_t type) {
    return type == kTypePaletted ? std::uint16_t{colour::kModelPaletteIndex} : RIPTypeColourModel(type);
}

// The byte that repeats across a row of a sub-byte or one-byte format.
std::uint8_t RepeatedByte(std::int32_t type, std::int32_t bits, const colour::ColorRecord& value) {
    switch (type) {
        case kTypeBilevel: return value.BlackWhite() != 0 ? 0xFF : 0x00;
        case kTypePaletted: {
            const std::uint8_t index = value.bytes[8];
            if (bits == 1) return (index & 1) != 0 ? 0xFF : 0x00;
            if (bits == 4) return static_cast<std::uint8_t>((index & 0x0F) * 0x11);
            return index;
        }
        default: return value.bytes[8];
    }
}

}  // namespace

int RIPFillPixelRows(std::uint8_t* rows, std::ptrdiff_t rowBytes, std::int32_t rowCount, std::int32_t pixels,
                     std::int32_t type, std::int32_t bitsPerPixel, const colour::ColorRecord& value) {
    if (rows == nullptr || rowCount < 0 || pixels < 0 || value.Model() != PixelModel(type) ||
        PixelModel(type) == 0) {
        return 0;
    }
    kernels::RIPKernelParams::Fill params;
    params.color = value;
    using Kernel = decltype(&kernels::RIPFillKernelSet24);
    Kernel kernel = nullptr;
    switch (type) {
        case kTypeRGB24:
        case kTypeLab24: kernel = &kernels::RIPFillKernelSet24; break;
        case kTypeCMYK32: kernel = &kernels::RIPFillKernelSet32; break;
        case kTypeRGB48: kernel = &kernels::RIPFillKernelSet48; break;
        case kTypeGrey16: kernel = &kernels::RIPFillKernelSet16; break;
        default: break;
    }
    const auto used = static_cast<std::size_t>((static_cast<std::int64_t>(pixels) * bitsPerPixel + 7) / 8);
    const std::uint8_t byte = RepeatedByte(type, bitsPerPixel, value);
    for (std::int32_t r = 0; r < rowCount; ++r) {
        std::uint8_t* row = rows + rowBytes * r;
        if (kernel != nullptr) {
            kernel(&params, static_cast<std::uint32_t>(pixels), row, nullptr);
        } else {
            std::memset(row, byte, used);
        }
    }
    return 1;
}

bool RIPSolidTilesHold(std::int32_t type, std::int32_t bitsPerPixel) {
    // A solid tile's expansion repeats the index byte, which is one pixel
    // only at 8 bits.
    return type != kTypePaletted || bitsPerPixel >= 8;
}

int RIPFillTileSlot(RIPTileSlot* slot, std::int32_t bitsPerPixel, const colour::ColorRecord& value) {
    if (slot == nullptr || value.Model() != PixelModel(slot->type)) {
        return 0;
    }
    if (slot->tile != nullptr && RIPSolidTilesHold(slot->type, bitsPerPixel)) {
        RIPTileStore* store = RIPActiveTileStore();
        if (store == nullptr) {
            return 0;
        }
        // The new tile comes first, so a failure leaves the slot as it was.
        RIPTile* solid =
            store->NewSolidTile(static_cast<std::uint32_t>(slot->rowBytes), slot->type, value, true);
        if (solid == nullptr) {
            return 0;
        }
        store->FreeTile(slot->tile, true);
        slot->tile = solid;
        slot->data = nullptr;
        return 1;
    }
    if (RIPTileLock(slot) == 0) {
        return 0;
    }
    const int filled = RIPFillPixelRows(slot->data, slot->rowBytes, slot->top - slot->bottom + 1,
                                        slot->right - slot->left + 1, slot->type, bitsPerPixel, value);
    return RIPTileUnlock(slot) != 0 ? filled : 0;
}

int RIPFillImage(RIPImage* image, const colour::ColorRecord* colour) {
    if (image == nullptr || colour == nullptr || image->tileTable == nullptr) {
        return 0;
    }
    colour::ColorRecord value;
    if (RIPColorToImageValue(&value, image, colour) == 0) {
        return 0;
    }
    for (std::int32_t r = 0; r < image->tilesDown; ++r) {
        for (std::int32_t c = 0; c < image->tilesAcross; ++c) {
            if (RIPFillTileSlot(&image->tileTable[r][c], image->bitsPerPixel, value) == 0) {
                return 0;
            }
        }
    }
    return 1;
}

}  // namespace raster
