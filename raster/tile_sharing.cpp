// Images that share a tiled image's tiles: each shared tile gains an owner in
// the tile store and is copied by the store on its first write.
#include <new>

#include "raster/raster_state.h"
#include "raster/storage.h"

namespace raster {
namespace {

// Drops the shares taken so far and the table; the image keeps no storage.
void DropShares(RIPImage* image, RIPTileStore* store) {
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
        delete[] row;
    }
    delete[] image->tileTable;
    image->tileTable = nullptr;
    image->tilesAcross = image->tilesDown = image->tileWidth = image->tileHeight = 0;
    image->storageKind = kStorageNone;
}

}  // namespace

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
