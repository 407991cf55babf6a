// Small images for the conversion tests: made from rows of bytes, read back
// as rows of bytes, whatever their storage.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "blit/stretch_blit.h"
#include "raster/image.h"
#include "raster/palette.h"
#include "raster/raster_state.h"
#include "raster/storage.h"

namespace raster::convert::testing {

// The bytes of one row of `width` pixels of `bits` bits.
inline std::int32_t RowBytes(std::int32_t width, std::int32_t bits) {
    return (width * bits + 7) / 8;
}

// Images are made tileable: one block unless a tile store is installed, as in
// the tiled run, where every image is tiled.

// An image of the type with the rows given bottom row first (each RowBytes long).
inline RIPImage* Make(std::int32_t type, std::int32_t w, std::int32_t h,
                      const std::vector<std::uint8_t>& rows = {}, std::int32_t storage = kAllowTiling) {
    blit::RIPInstallBlitPipeline();
    RIPImage* image = RIPCreateImageEx(type, w, h, 0, 0, storage, nullptr, 0);
    if (image != nullptr && !rows.empty()) {
        RIPSetImageData(image, 0, 0, w, h, RowBytes(w, image->bitsPerPixel), rows.data(), 0);
    }
    return image;
}

inline RIPImage* MakePaletted(RIPPalette* palette, std::int32_t bits, std::int32_t w, std::int32_t h,
                              const std::vector<std::uint8_t>& rows = {}, std::int32_t storage = kAllowTiling) {
    blit::RIPInstallBlitPipeline();
    RIPImage* image = RIPCreatePalettedImageEx(palette, w, h, bits, 1, 0, 0, storage, nullptr, 0);
    if (image != nullptr && !rows.empty()) {
        RIPSetImageData(image, 0, 0, w, h, RowBytes(w, bits), rows.data(), 0);
    }
    return image;
}

// Every row's bytes, bottom row first, read through the slots (each locked
// once for its piece of a row).
inline std::vector<std::uint8_t> Bytes(const RIPImage* image) {
    const std::int32_t bits = image->bitsPerPixel;
    const std::size_t rowBytes = static_cast<std::size_t>(RowBytes(image->width, bits));
    std::vector<std::uint8_t> out(rowBytes * image->height, 0);
    for (std::int32_t y = 0; y < image->height; ++y) {
        std::uint8_t* o = out.data() + rowBytes * y;
        for (std::int32_t x = 0; x < image->width;) {
            RIPTileSlot* slot = RIPSlotAt(image, x, y);
            RIPTileLockRead(slot);
            const std::uint8_t* row =
                slot->data + static_cast<std::ptrdiff_t>(slot->rowBytes) * (y - slot->bottom);
            const std::int32_t end = std::min(slot->right + 1, image->width);
            for (; x < end; ++x) {
                const std::int32_t rx = x - slot->left;
                if (bits >= 8) {
                    std::memcpy(o + x * bits / 8, row + rx * bits / 8, static_cast<std::size_t>(bits / 8));
                } else {
                    const std::int32_t at = rx * bits, to = x * bits;
                    const unsigned v = (row[at / 8] >> (8 - bits - at % 8)) & ((1u << bits) - 1);
                    o[to / 8] = static_cast<std::uint8_t>(o[to / 8] | (v << (8 - bits - to % 8)));
                }
            }
            RIPTileUnlock(slot);
        }
    }
    return out;
}

// A custom palette of (red, green, blue) entries.
inline RIPPalette* Palette(const std::vector<std::vector<int>>& rgb) {
    RIPPalette* p = RIPCreatePalette(kPaletteCustom, static_cast<int>(rgb.size()));
    for (std::size_t i = 0; i < rgb.size(); ++i) {
        RIPSetPaletteEntry(p, static_cast<int>(i), rgb[i][0], rgb[i][1], rgb[i][2]);
    }
    return p;
}

// A state with the dither method, destroyed with the holder.
struct State {
    explicit State(std::int32_t method) : rs(RIPCreateRS()) { rs->ditherMethod = method; }
    ~State() { RIPDestroyRS(rs); }
    RIPRasterState* rs;
};

}  // namespace raster::convert::testing
