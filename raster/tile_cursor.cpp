// Tile cursors over a rectangle of an image.
#include "raster/tile_cursor.h"

#include <algorithm>

#include "raster/storage.h"

namespace raster {
namespace {

// Clips the rectangle to the image and finds its tile range; false when the
// image has no tiles or the rectangle misses it.
template <class Cursor>
bool Place(Cursor* c, RIPImage* image, const RIPRect& rect) {
    if (image == nullptr || image->tileTable == nullptr || image->tileWidth < 1 || image->tileHeight < 1 ||
        RIPRectIntersect(&c->rect, rect, image->bounds) == 0) {
        return false;
    }
    c->image = image;
    c->firstColumn = c->rect.left / image->tileWidth;
    c->lastColumn = c->rect.right / image->tileWidth;
    c->firstRow = c->rect.bottom / image->tileHeight;
    c->lastRow = c->rect.top / image->tileHeight;
    return true;
}

// A piece smaller than its slot keeps the slot's other pixels: no overwrite lock.
RIPTileLockMode LockFor(RIPTileLockMode lock, const RIPTileSlot& slot, const RIPRect& piece) {
    return lock == kTileLockOverwrite && !(piece == slot.Bounds()) ? kTileLockWrite : lock;
}

RIPTileSlot* Enter(RIPRowIter* c) {
    RIPTileSlot* slot = &c->image->tileTable[c->row][c->column];
    RIPRectIntersect(&c->piece, c->rect, slot->Bounds());
    if (RIPTileLockWith(slot, LockFor(c->lock, *slot, c->piece)) == 0) {
        c->failed = true;
        c->slot = nullptr;
        return nullptr;
    }
    c->slot = slot;
    return slot;
}

// Unlocks the held slot; false when the unlock fails.
bool Leave(RIPRowIter* c) {
    RIPTileSlot* slot = c->slot;
    c->slot = nullptr;
    if (slot != nullptr && c->lock != kTileNoLock && RIPTileUnlock(slot) == 0) {
        c->failed = true;
        return false;
    }
    return true;
}

bool UnlockHeld(RIPTileRowIter* c, std::int32_t count) {
    bool ok = true;
    if (c->lock != kTileNoLock) {
        for (std::int32_t i = 0; i < count; ++i) {
            ok = RIPTileUnlock(&c->slots[i]) != 0 && ok;
        }
    }
    return ok;
}

}  // namespace

RIPTileSlot* RIPRowIterBegin(RIPRowIter* cursor, RIPImage* image, const RIPRect& rect, RIPTileLockMode lock) {
    *cursor = RIPRowIter{};
    if (!Place(cursor, image, rect)) {
        return nullptr;
    }
    cursor->lock = lock;
    cursor->column = cursor->firstColumn;
    cursor->row = cursor->firstRow;
    return Enter(cursor);
}

RIPTileSlot* RIPRowIterNext(RIPRowIter* cursor) {
    if (cursor->slot == nullptr || !Leave(cursor)) {
        return nullptr;
    }
    if (++cursor->column > cursor->lastColumn) {
        cursor->column = cursor->firstColumn;
        if (++cursor->row > cursor->lastRow) {
            return nullptr;
        }
    }
    return Enter(cursor);
}

int RIPRowIterEnd(RIPRowIter* cursor) {
    const bool unlocked = Leave(cursor);
    return unlocked && !cursor->failed ? 1 : 0;
}

RIPTileSlot* RIPTileRowIterBegin(RIPTileRowIter* cursor, RIPImage* image, const RIPRect& rect, std::int32_t y,
                                 RIPTileLockMode lock) {
    *cursor = RIPTileRowIter{};
    if (!Place(cursor, image, rect)) {
        return nullptr;
    }
    cursor->lock = lock;
    return RIPTileRowIterSeek(cursor, y);
}

RIPTileSlot* RIPTileRowIterSeek(RIPTileRowIter* cursor, std::int32_t y) {
    if (cursor->image == nullptr || cursor->failed || y < cursor->rect.bottom || y > cursor->rect.top) {
        return nullptr;
    }
    const std::int32_t tileRow = y / cursor->image->tileHeight;
    if (tileRow == cursor->tileRow) {
        return cursor->slots;
    }
    if (cursor->tileRow >= 0 && !UnlockHeld(cursor, cursor->count)) {
        cursor->failed = true;
        cursor->tileRow = -1;
        cursor->slots = nullptr;
        return nullptr;
    }
    RIPTileSlot* row = cursor->image->tileTable[tileRow];
    cursor->tileRow = tileRow;
    cursor->slots = row + cursor->firstColumn;
    cursor->count = cursor->lastColumn - cursor->firstColumn + 1;
    cursor->rowBottom = row[0].bottom;
    cursor->rowTop = row[0].top;
    if (RIPTileRowIterLock(cursor) == 0) {
        return nullptr;
    }
    return cursor->slots;
}

int RIPTileRowIterLock(RIPTileRowIter* cursor) {
    if (cursor->slots == nullptr) {
        return 0;
    }
    for (std::int32_t i = 0; i < cursor->count; ++i) {
        RIPTileSlot& slot = cursor->slots[i];
        RIPRect piece;
        RIPRectIntersect(&piece, cursor->rect, slot.Bounds());
        if (RIPTileLockWith(&slot, LockFor(cursor->lock, slot, piece)) == 0) {
            UnlockHeld(cursor, i);
            cursor->failed = true;
            cursor->tileRow = -1;
            cursor->slots = nullptr;
            cursor->count = 0;
            return 0;
        }
    }
    return 1;
}

int RIPTileRowIterEnd(RIPTileRowIter* cursor) {
    bool ok = !cursor->failed;
    if (cursor->tileRow >= 0 && cursor->slots != nullptr) {
        ok = UnlockHeld(cursor, cursor->count) && ok;
    }
    RIPTileRowIterReset(cursor);
    return ok ? 1 : 0;
}

void RIPTileRowIterReset(RIPTileRowIter* cursor) {
    cursor->tileRow = -1;
    cursor->slots = nullptr;
    cursor->count = 0;
    cursor->lock = kTileNoLock;
}

}  // namespace raster
