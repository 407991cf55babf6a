// Small images for the blit tests: made, written and read pixel by pixel.
#pragma once

#include <cstring>
#include <vector>

#include "blit/stretch_blit.h"
#include "raster/blit_entry.h"
#include "raster/image.h"
#include "raster/storage.h"

namespace raster::blit::testing {

inline RIPImage* Grey(std::int32_t w, std::int32_t h, const std::vector<std::uint8_t>& pixels,
                      std::int32_t storage = kOneBlock) {
    RIPImage* image = RIPCreateImageEx(kTypeGrey8, w, h, 0, 0, storage, nullptr, 0);
    RIPInstallBlitPipeline();
    if (!pixels.empty()) {
        RIPSetImageData(image, 0, 0, w, h, w, pixels.data(), 0);
    }
    return image;
}

inline std::uint8_t At(const RIPImage* image, std::int32_t x, std::int32_t y, std::int32_t byte = 0) {
    RIPTileSlot* slot = RIPSlotAt(image, x, y);
    RIPTileLockRead(slot);
    const std::uint8_t v = *(RIPTilePixelAddress(image, slot, x - slot->left, y - slot->bottom) + byte);
    RIPTileUnlock(slot);
    return v;
}

inline std::vector<std::uint8_t> Row(const RIPImage* image, std::int32_t y) {
    std::vector<std::uint8_t> row;
    for (std::int32_t x = 0; x < image->width; ++x) row.push_back(At(image, x, y));
    return row;
}

}  // namespace raster::blit::testing
