// An image's pixels: one contiguous block, or a grid of tiles made by the
// tile store, whose tiles other images may share (the store copies a shared
// tile on its first write); the tile geometry of each format; slot and pixel
// addressing.
#include "raster/storage.h"

#include <algorithm>
#include <cstdlib>
#include <new>

#include "raster/raster_state.h"

namespace raster {
namespace {

// Frees a grid's slot rows and table; the tiles must already be released.
void FreeTable(RIPImage* image) {
    if (image->tileTable != nullptr) {
        for (std::int32_t r = 0; r < image->tilesDown; ++r) {
            delete[] image->tileTable[r];
        }
        delete[] image->tileTable;
    }
    image->tileTable = nullptr;
}

void ForgetGeometry(RIPImage* image) {
    image->tileTable = nullptr;
    image->blockBase = nullptr;
    image->tilesAcross = image->tilesDown = image->tileWidth = image->tileHeight = 0;
}

// One slot over the whole image: a table of one row of one slot.
bool MakeSingleSlot(RIPImage* image, std::uint8_t* data) {
    auto* row = new (std::nothrow) RIPTileSlot[1];
    auto* table = new (std::nothrow) RIPTileSlot*[1];
    if (row == nullptr || table == nullptr) {
        delete[] row;
        delete[] table;
        return false;
    }
    row[0] = RIPTileSlot{};
    row[0].data = data;
    row[0].top = image->height - 1;
    row[0].right = image->width - 1;
    row[0].rowBytes = image->stride;
    row[0].type = image->type;
    table[0] = row;
    image->tileTable = table;
    image->tilesAcross = image->tilesDown = 1;
    image->tileWidth = image->width;
    image->tileHeight = image->height;
    image->blockBase = nullptr;
    return true;
}

// Releases the tiles made so far (under the store's held lock) and the table.
void FreeTiles(RIPImage* image, RIPTileStore* store) {
    if (image->tileTable == nullptr) {
        return;
    }
    for (std::int32_t r = 0; r < image->tilesDown; ++r) {
        RIPTileSlot* row = image->tileTable[r];
        if (row == nullptr) {
            continue;
        }
        for (std::int32_t c = 0; c < image->tilesAcross; ++c) {
            if (row[c].tile != nullptr) {
                store->FreeTile(row[c].tile, false);
            }
        }
    }
    FreeTable(image);
}

// Drops the tiles shared so far and the table; the image keeps no storage.
void DropShares(RIPImage* image, RIPTileStore* store) {
    FreeTiles(image, store);
    ForgetGeometry(image);
    image->storageKind = kStorageNone;
}

int AllocTiled(RIPImage* image, RIPTileStore* store, const colour::ColorRecord* colour,
               RIPTileSource source) {
    const RIPTileGeometry g = RIPTileGeometryFor(image->type);
    image->tileWidth = g.width;
    image->tileHeight = g.height;
    image->tilesAcross =
        static_cast<std::int32_t>((static_cast<std::int64_t>(image->width) + g.width - 1) / g.width);
    image->tilesDown =
        static_cast<std::int32_t>((static_cast<std::int64_t>(image->height) + g.height - 1) / g.height);
    image->tileTable = new (std::nothrow) RIPTileSlot*[static_cast<std::size_t>(image->tilesDown)]();
    if (image->tileTable == nullptr) {
        ForgetGeometry(image);
        return 0;
    }
    RIPTileStoreHold hold(store);
    for (std::int32_t r = 0; r < image->tilesDown; ++r) {
        RIPTileSlot* row = new (std::nothrow) RIPTileSlot[static_cast<std::size_t>(image->tilesAcross)]();
        image->tileTable[r] = row;
        if (row == nullptr) {
            FreeTiles(image, store);
            ForgetGeometry(image);
            return 0;
        }
        for (std::int32_t c = 0; c < image->tilesAcross; ++c) {
            RIPTileSlot& s = row[c];
            s.left = c * g.width;
            s.bottom = r * g.height;
            s.right = std::min(s.left + g.width - 1, image->width - 1);
            s.top = std::min(s.bottom + g.height - 1, image->height - 1);
            s.rowBytes = g.rowBytes;
            s.type = image->type;
            const auto rowBytes = static_cast<std::uint32_t>(g.rowBytes);
            if (source != 0) {
                const std::int32_t descriptor[4] = {s.left, s.top, s.right, s.bottom};
                s.tile = store->NewPendingTile(rowBytes, image->type, descriptor, source, false);
            } else if (colour != nullptr) {
                s.tile = store->NewSolidTile(rowBytes, image->type, *colour, false);
            } else {
                s.tile = store->NewTile(rowBytes, image->type, false);
            }
            if (s.tile == nullptr) {
                FreeTiles(image, store);
                ForgetGeometry(image);
                return 0;
            }
        }
    }
    image->storageKind = kStorageTiled;
    return 1;
}

}  // namespace

RIPTileGeometry RIPTileGeometryFor(std::int32_t type) {
    switch (type) {
        case kTypeRGB24:
        case kTypeLab24: return {144, 151, 432};
        case kTypeGrey8:
        case kTypePaletted:
        case kTypeCoverage: return {256, 256, 256};
        case kTypeBilevel: return {768, 682, 96};
        case kTypeRGB48:
        case 13: return {104, 105, 624};
        case kTypeGrey16: return {180, 182, 360};
        default: return {128, 128, 512};
    }
}

std::uint8_t* RIPHeapAlloc(std::size_t size) {
    // Zeroed, so a new image's pixels are defined before anything writes them.
    return size == 0 ? nullptr : static_cast<std::uint8_t*>(std::calloc(size, 1));
}

void RIPHeapFree(void* block) {
    std::free(block);
}

int RIPAllocStorage(RIPImage* image, std::int32_t storage, const colour::ColorRecord* colour,
                    RIPTileSource tileSource) {
    if (image == nullptr || image->tileTable != nullptr) {
        return 0;
    }
    RIPTileStore* store = RIPActiveTileStore();
    if (store != nullptr && (storage & kAllowTiling) != 0 && image->imageSize > store->Budget() / 4) {
        if (colour == nullptr || RIPSolidTilesHold(image->type, image->bitsPerPixel)) {
            return AllocTiled(image, store, colour, tileSource);
        }
        // Tiles that cannot be solid are filled pixel by pixel.
        if (AllocTiled(image, store, nullptr, tileSource) == 0) return 0;
        if (RIPFillImage(image, colour) == 0) {
            RIPFreeStorage(image);
            return 0;
        }
        return 1;
    }
    if (tileSource != 0) {
        return 0;  // a tile source needs tiles to load into
    }
    std::uint8_t* block = RIPHeapAlloc(image->imageSize);
    if (block == nullptr || !MakeSingleSlot(image, block)) {
        RIPHeapFree(block);
        ForgetGeometry(image);
        return 0;
    }
    image->storageKind = kStorageBlock;
    if (store != nullptr) {
        store->ChargeBudget(image->imageSize);
    }
    if (colour != nullptr && RIPFillImage(image, colour) == 0) {
        RIPFreeStorage(image);
        return 0;
    }
    return 1;
}

int RIPFreeStorage(RIPImage* image) {
    if (image == nullptr || image->tileTable == nullptr) {
        return 1;
    }
    switch (image->storageKind) {
        case kStorageTiled: {
            RIPTileStore* store = RIPActiveTileStore();
            RIPTileStoreHold hold(store);
            if (store != nullptr) {
                FreeTiles(image, store);
            } else {
                FreeTable(image);
            }
            break;
        }
        case kStorageBlock: {
            RIPHeapFree(image->blockBase != nullptr ? image->blockBase : image->tileTable[0][0].data);
            if (RIPTileStore* store = RIPActiveTileStore()) {
                store->ReleaseBudget(image->imageSize);
            }
            FreeTable(image);
            break;
        }
        case kStorageBorrowed: FreeTable(image); break;
        case kStorageForeign:
        case kStorageForeignBlock: break;
        default: return 1;  // not a kind this library made: left alone
    }
    ForgetGeometry(image);
    return 1;
}

int RIPSetImageBuffer(RIPImage* image, std::uint8_t* buffer, int owned) {
    if (image == nullptr || image->tileTable != nullptr || !MakeSingleSlot(image, buffer)) {
        return 0;
    }
    image->storageKind = owned != 0 ? kStorageBlock : kStorageBorrowed;
    if (owned != 0) {
        if (RIPTileStore* store = RIPActiveTileStore()) {
            store->ChargeBudget(image->imageSize);
        }
    }
    return 1;
}

RIPTileSlot* RIPSlotAt(const RIPImage* image, std::int32_t x, std::int32_t y) {
    if (image == nullptr || image->tileTable == nullptr || x < 0 || y < 0 || x >= image->width ||
        y >= image->height || image->tileWidth < 1 || image->tileHeight < 1) {
        return nullptr;
    }
    const std::int32_t column = x / image->tileWidth;
    const std::int32_t row = y / image->tileHeight;
    if (column >= image->tilesAcross || row >= image->tilesDown) {
        return nullptr;
    }
    return &image->tileTable[row][column];
}

std::uint8_t* RIPTilePixelAddress(const RIPImage* image, const RIPTileSlot* slot, std::int32_t x,
                                  std::int32_t y) {
    if (image == nullptr || slot == nullptr || slot->data == nullptr || x < 0 || y < 0 ||
        x >= image->tileWidth || y >= image->tileHeight ||
        static_cast<std::int64_t>(slot->left) + x >= image->width ||
        static_cast<std::int64_t>(slot->bottom) + y >= image->height) {
        return nullptr;
    }
    return slot->data + static_cast<std::ptrdiff_t>(slot->rowBytes) * y +
           static_cast<std::ptrdiff_t>((static_cast<std::int64_t>(image->bitsPerPixel) * x) / 8);
}

int RIPShareTileSlot(RIPTileSlot* destination, const RIPTileSlot* source) {
    RIPTileStore* store = RIPActiveTileStore();
    if (destination == nullptr || source == nullptr || source->tile == nullptr || store == nullptr) {
        return 0;
    }
    if (destination == source) {
        return 1;
    }
    RIPTileStoreHold hold(store);
    RIPTile* shared = store->AddRef(source->tile, false);
    if (shared == nullptr) {
        return 0;
    }
    if (destination->tile != nullptr) {
        store->FreeTile(destination->tile, false);
    }
    destination->tile = shared;
    destination->data = nullptr;
    destination->lockDepth = 0;
    return 1;
}

int RIPShareTiles(RIPRasterState* state, RIPImage* destination, const RIPImage* source) {
    RIPTileStore* store = RIPActiveTileStore();
    if (destination == nullptr || source == nullptr || destination == source || store == nullptr ||
        source->storageKind != kStorageTiled || source->tileTable == nullptr) {
        return 0;
    }
    // The slots' tiles hold pixels of the source's format and size only.
    if (destination->type != source->type || destination->bitsPerPixel != source->bitsPerPixel ||
        destination->width != source->width || destination->height != source->height) {
        return 0;
    }
    RIPProgressCallback report = state != nullptr ? state->progressCallback : nullptr;
    void* context = state != nullptr ? state->progressContext : nullptr;
    if (report != nullptr) {
        report(0, source->tilesDown, context);
    }
    RIPFreeStorage(destination);
    auto* table = new (std::nothrow) RIPTileSlot*[static_cast<std::size_t>(source->tilesDown)]();
    if (table == nullptr) {
        destination->storageKind = kStorageNone;
        return 0;
    }
    destination->tileTable = table;
    destination->tilesAcross = source->tilesAcross;
    destination->tilesDown = source->tilesDown;
    destination->tileWidth = source->tileWidth;
    destination->tileHeight = source->tileHeight;
    destination->blockBase = nullptr;
    destination->storageKind = kStorageTiled;
    RIPTileStoreHold hold(store);
    for (std::int32_t r = 0; r < source->tilesDown; ++r) {
        auto* row = new (std::nothrow) RIPTileSlot[static_cast<std::size_t>(source->tilesAcross)]();
        table[r] = row;
        if (row == nullptr) {
            DropShares(destination, store);
            return 0;
        }
        for (std::int32_t c = 0; c < source->tilesAcross; ++c) {
            const RIPTileSlot& from = source->tileTable[r][c];
            RIPTileSlot& to = row[c];
            to = from;
            to.data = nullptr;
            to.lockDepth = 0;
            to.tile = store->AddRef(from.tile, false);
            if (to.tile == nullptr) {
                DropShares(destination, store);
                return 0;
            }
        }
        if (report != nullptr && report(r + 1, source->tilesDown, context) == 0) {
            DropShares(destination, store);
            return 0;
        }
    }
    return 1;
}

}  // namespace raster
