// Walks over the tiles a rectangle of an image touches, holding each slot
// locked while it is in use: the tile cursor visits one slot at a time, tile
// rows from the bottom up and columns left to right; the tile-row cursor
// holds every slot of one tile row at a time. Cursors live on the caller's
// stack and serve one thread.
#pragma once

#include <cstdint>

#include "raster/image.h"
#include "raster/rect.h"
#include "raster/tile_store.h"

namespace raster {

struct RIPTileSlot;

struct RIPRowIter {
    RIPImage* image = nullptr;
    RIPRect rect;  // the rectangle asked for, clipped to the image
    std::int32_t firstColumn = 0;
    std::int32_t lastRow = 0;
    std::int32_t lastColumn = 0;
    std::int32_t firstRow = 0;
    std::int32_t column = 0;
    std::int32_t row = 0;
    RIPRect piece;  // the clipped rectangle within the current slot
    RIPTileSlot* slot = nullptr;
    RIPTileLockMode lock = kTileNoLock;
    bool failed = false;  // a lock or unlock failed and the walk stopped
};

// The first slot, locked with the lock mode (an overwrite lock of a piece
// smaller than its slot becomes a write lock, so the slot's other pixels
// survive); null when the image has no tiles, the rectangle misses it, or the
// lock fails.
RIPTileSlot* RIPRowIterBegin(RIPRowIter* cursor, RIPImage* image, const RIPRect& rect, RIPTileLockMode lock);
// Unlocks the current slot and returns the next one, locked; null at the end
// or when an unlock or lock fails.
RIPTileSlot* RIPRowIterNext(RIPRowIter* cursor);
// Unlocks the current slot: 1, or 0 when the walk stopped on a failed lock or
// the unlock fails.
int RIPRowIterEnd(RIPRowIter* cursor);

struct RIPTileRowIter {
    RIPImage* image = nullptr;
    RIPRect rect;
    std::int32_t firstColumn = 0;
    std::int32_t lastRow = 0;
    std::int32_t lastColumn = 0;
    std::int32_t firstRow = 0;
    std::int32_t tileRow = -1;     // the tile row held; -1 before the first
    RIPTileSlot* slots = nullptr;  // the held row's first slot the rectangle touches
    std::int32_t count = 0;        // and how many it touches
    std::int32_t rowBottom = 0;    // the held row's slot bounds
    std::int32_t rowTop = 0;
    RIPTileLockMode lock = kTileNoLock;
    bool failed = false;
};

// Starts a cursor over the rectangle and seeks the tile row that holds image row y.
RIPTileSlot* RIPTileRowIterBegin(RIPTileRowIter* cursor, RIPImage* image, const RIPRect& rect, std::int32_t y,
                                 RIPTileLockMode lock);
// The slots (cursor->count of them) of the tile row holding image row y,
// locked; the row held before is unlocked first, and the same row returns the
// slots already held. Null for a row outside the rectangle or a failed lock.
RIPTileSlot* RIPTileRowIterSeek(RIPTileRowIter* cursor, std::int32_t y);
// Locks the held row's slots: 1, or 0 (with none left locked) when one fails.
int RIPTileRowIterLock(RIPTileRowIter* cursor);
// Unlocks the held slots: 1, or 0 when the walk failed or an unlock fails.
int RIPTileRowIterEnd(RIPTileRowIter* cursor);
// Forgets the held slots and the lock mode without unlocking them.
void RIPTileRowIterReset(RIPTileRowIter* cursor);

}  // namespace raster
