// Tile slot locks. A contiguous slot (no tile) is always addressable, so its
// locks succeed without touching it; a tiled slot asks the tile store and
// takes the tile it answers (a private copy replaces a shared tile on write).
#include "raster/storage.h"

namespace raster {

int RIPTileLockWith(RIPTileSlot* slot, RIPTileLockMode mode) {
    if (mode == kTileNoLock || slot == nullptr || slot->tile == nullptr) {
        return slot != nullptr || mode == kTileNoLock ? 1 : 0;
    }
    RIPTileStore* store = RIPActiveTileStore();
    if (store == nullptr) {
        return 0;
    }
    RIPTile* tile = store->LockTile(slot->tile, mode);
    if (tile == nullptr) {
        return 0;
    }
    slot->tile = tile;
    slot->data = store->TileData(tile);
    const bool writes = mode == kTileLockWrite || mode == kTileLockOverwrite;
    slot->lockDepth += writes ? -1 : 1;
    return 1;
}

int RIPTileLock(RIPTileSlot* slot) {
    return RIPTileLockWith(slot, kTileLockWrite);
}

int RIPTileLockRead(RIPTileSlot* slot) {
    return RIPTileLockWith(slot, kTileLockRead);
}

int RIPTileLockWrite(RIPTileSlot* slot) {
    return RIPTileLockWith(slot, kTileLockReadCompact);
}

int RIPTileLockOverwrite(RIPTileSlot* slot) {
    return RIPTileLockWith(slot, kTileLockOverwrite);
}

int RIPTileUnlock(RIPTileSlot* slot) {
    if (slot == nullptr) {
        return 0;
    }
    if (slot->tile == nullptr) {
        return 1;
    }
    RIPTileStore* store = RIPActiveTileStore();
    if (store == nullptr) {
        return 0;
    }
    const int result = store->UnlockTile(slot->tile);
    if (slot->lockDepth < 0) {
        ++slot->lockDepth;
    } else if (slot->lockDepth > 0) {
        --slot->lockDepth;
    }
    return result;
}

const colour::ColorRecord* RIPTileInlineData(const RIPTileSlot* slot) {
    if (slot == nullptr || slot->tile == nullptr) {
        return nullptr;
    }
    RIPTileStore* store = RIPActiveTileStore();
    return store != nullptr ? store->SolidColour(slot->tile) : nullptr;
}

}  // namespace raster
