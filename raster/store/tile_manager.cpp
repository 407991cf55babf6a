// The tile manager's locks, residence, eviction, solid tiles and
// copy-on-write. Every operation runs under one recursive lock; storage holds
// it across a whole grid and passes lock = false.
#include "raster/store/tile_manager.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace raster {

namespace {

// Blocks for the budget, or as configured, but never fewer than a blit locks
// at once: with fewer, a blit would fail half drawn.
std::uint32_t BlocksFor(const RIPTileManagerConfig& c) {
    if (c.memoryBlocks != 0) return std::max(c.memoryBlocks, kMinimumBlocks);
    const std::uint64_t n = std::max<std::uint64_t>(c.budget / kTileBlockBytes, kMinimumBlocks);
    return n > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(n);
}

RIPSwapFileFactory FilesFor(RIPSwapFileFactory files) {
    if (files) return files;
    return [] { return platform::CreateSwapFile("ripswap"); };
}

bool Writes(RIPTileLockMode mode) {
    return mode == kTileLockWrite || mode == kTileLockOverwrite;
}

bool Expands(RIPTileLockMode mode) {
    return mode == kTileLockWrite || mode == kTileLockRead;
}

}  // namespace

RIPTileManager::RIPTileManager(RIPTileManagerConfig config)
    : budget_(config.budget),
      memory_(BlocksFor(config), config.usageStep),
      swap_(config.compression, FilesFor(std::move(config.swapFiles))) {}

RIPTileManager::~RIPTileManager() {
    while (newest_ != nullptr) {
        RIPTile* t = newest_;
        newest_ = t->olderTile;
        delete t;
    }
}

void RIPTileManager::Enter() {
    lock_.lock();
    ++entries_;
}

void RIPTileManager::Leave() {
    --entries_;
    lock_.unlock();
}

RIPTile* RIPTileManager::Make(std::uint32_t rowBytes, std::int32_t type) {
    auto* t = new (std::nothrow) RIPTile{};
    if (t == nullptr) return nullptr;
    t->rowBytes = rowBytes;
    t->type = static_cast<std::uint32_t>(type);
    t->olderTile = newest_;
    if (newest_ != nullptr) newest_->newerTile = t;
    newest_ = t;
    ++live_;
    return t;
}

RIPTile* RIPTileManager::NewTile(std::uint32_t rowBytes, std::int32_t type, bool lock) {
    RIPTileStoreHold hold(lock ? this : nullptr);
    return Make(rowBytes, type);
}

RIPTile* RIPTileManager::NewSolidTile(std::uint32_t rowBytes, std::int32_t type,
                                      const colour::ColorRecord& colour, bool lock) {
    RIPTileStoreHold hold(lock ? this : nullptr);
    RIPTile* t = Make(rowBytes, type);
    if (t != nullptr) {
        t->colour = colour;
        t->flags |= kTileSolid;
    }
    return t;
}

RIPTile* RIPTileManager::NewPendingTile(std::uint32_t rowBytes, std::int32_t type,
                                        const std::int32_t descriptor[4], std::uintptr_t parameter,
                                        bool lock) {
    RIPTileStoreHold hold(lock ? this : nullptr);
    RIPTile* t = Make(rowBytes, type);
    if (t != nullptr) {
        std::memcpy(t->descriptor, descriptor, sizeof t->descriptor);
        t->loadParameter = parameter;
        t->flags |= kTilePending;
    }
    return t;
}

RIPTile* RIPTileManager::AddRef(RIPTile* tile, bool lock) {
    RIPTileStoreHold hold(lock ? this : nullptr);
    ++tile->shareCount;
    return tile;
}

void RIPTileManager::Destroy(RIPTile* tile) {
    swap_.ReleaseBlock(tile->swapRecord);
    memory_.ReleaseBlock(tile->block);
    if ((tile->flags & kTileInList) != 0) Unlink(tile);
    (tile->newerTile != nullptr ? tile->newerTile->olderTile : newest_) = tile->olderTile;
    if (tile->olderTile != nullptr) tile->olderTile->newerTile = tile->newerTile;
    delete tile;
    --live_;
}

int RIPTileManager::FreeTile(RIPTile* tile, bool lock) {
    RIPTileStoreHold hold(lock ? this : nullptr);
    if (tile->shareCount >= 1) {
        --tile->shareCount;
        return 1;
    }
    if ((tile->flags & kTilePending) != 0 && loadProc_ != nullptr &&
        loadProc_(nullptr, tile->descriptor[0], tile->descriptor[3], nullptr, 1, tile->loadParameter) == 0) {
        return 0;
    }
    Destroy(tile);
    return 1;
}

void RIPTileManager::Unlink(RIPTile* t) {
    (t->previous != nullptr ? t->previous->next : head_) = t->next;
    (t->next != nullptr ? t->next->previous : tail_) = t->previous;
    t->previous = t->next = nullptr;
    t->flags &= ~kTileInList;
}

void RIPTileManager::Append(RIPTile* t) {
    t->previous = tail_;
    t->next = nullptr;
    (tail_ != nullptr ? tail_->next : head_) = t;
    tail_ = t;
    t->flags |= kTileInList;
}

// Takes the block of the least recently used unlocked tile, writing its
// pixels out first unless its swap copy is current.
bool RIPTileManager::Evict(RIPBlockNode** block) {
    RIPTile* v = head_;
    if (v == nullptr) return false;
    Unlink(v);
    std::uint8_t* pixels = memory_.Address(v->block);
    if (v->swapRecord == nullptr || (v->flags & kTileChanged) != 0) {
        std::int32_t uniform = 0;
        RIPBlockNode* record = swap_.SwapOut(v->swapRecord, pixels, static_cast<std::int32_t>(v->rowBytes),
                                             static_cast<std::int32_t>(v->type), &uniform);
        if (record == nullptr && uniform == 0) {
            // The store released any old record; the pixels are still in the
            // block, so the tile stays evictable.
            v->swapRecord = nullptr;
            Append(v);
            return false;
        }
        if (uniform != 0) {
            if (!RIPTileSolidColour(static_cast<std::int32_t>(v->type), pixels, &v->colour)) {
                // No colour record for the format: the differenced pixels are
                // restored and the tile stays where it was.
                RIPPredictorDecode(pixels, static_cast<std::int32_t>(v->rowBytes),
                                   static_cast<std::int32_t>(v->type), kTileBlockBytes, nullptr,
                                   kPredictCombined);
                Append(v);
                return false;
            }
            v->flags |= kTileSolid;
            swap_.ReleaseBlock(record);
            record = nullptr;
        }
        v->swapRecord = record;
        if (record != nullptr) record->owner = v;
        v->flags &= ~kTileChanged;
    }
    *block = v->block;
    v->block = nullptr;
    v->data = nullptr;
    if (v->swapRecord != nullptr) v->swapRecord->flags |= kBlockInUse;
    return true;
}

bool RIPTileManager::MakeResident(RIPTile* t, bool zeroFill) {
    if (t->block != nullptr) {
        t->data = memory_.Address(t->block);
        return true;
    }
    RIPBlockNode* block = memory_.TakeBlock(0);
    if (block == nullptr && !Evict(&block)) return false;
    block->owner = t;
    block->flags = kBlockInUse;
    t->block = block;
    t->data = memory_.Address(block);
    if (t->swapRecord != nullptr && (t->swapRecord->flags & kBlockInUse) != 0) {
        if (swap_.SwapIn(t->swapRecord, t->data, static_cast<std::int32_t>(t->rowBytes),
                         static_cast<std::int32_t>(t->type)) == 0) {
            // Unreadable: the record stays the tile's only copy; the block goes back.
            memory_.ReleaseBlock(block);
            t->block = nullptr;
            t->data = nullptr;
            return false;
        }
        t->swapRecord->flags &= ~kBlockInUse;
    } else if (zeroFill) {
        // A tile never written anywhere reads as zeros, as a new contiguous image does.
        std::memset(t->data, 0, kTileBlockBytes);
    }
    return true;
}

bool RIPTileManager::Load(RIPTile* t) {
    if (t->swapRecord != nullptr) t->swapRecord->flags &= ~kBlockInUse;
    if (!MakeResident(t, loadProc_ == nullptr)) return false;
    if (loadProc_ != nullptr) {
        std::int32_t uniform = 0;
        if (loadProc_(t->data, t->descriptor[0], t->descriptor[3], &uniform, 0, t->loadParameter) == 0)
            return false;
        if (uniform != 0) {
            std::memcpy(t->colour.bytes, t->data, sizeof t->colour.bytes);
            t->flags |= kTileSolid;
            swap_.ReleaseBlock(t->swapRecord);
            t->swapRecord = nullptr;
            memory_.ReleaseBlock(t->block);
            t->block = nullptr;
            t->data = nullptr;
            if ((t->flags & kTileInList) != 0) Unlink(t);
        }
    }
    t->loadParameter = 0;
    t->flags = (t->flags & ~kTilePending) | kTileChanged;
    return true;
}

bool RIPTileManager::Expand(RIPTile* t) {
    if (t->swapRecord != nullptr) t->swapRecord->flags &= ~kBlockInUse;
    if (!MakeResident(t, false)) return false;
    if (RIPTileFillSolid(static_cast<std::int32_t>(t->type), t->data, static_cast<std::int32_t>(t->rowBytes),
                         kTileBlockBytes, t->colour) != 0) {
        return false;
    }
    t->flags &= ~kTileSolid;
    return true;
}

RIPTile* RIPTileManager::CopyOnWrite(RIPTile* source) {
    if ((source->flags & kTilePending) != 0) {
        if (!Load(source)) return nullptr;
        if ((source->flags & kTileSolid) == 0 && source->lockCount <= 0 &&
            (source->flags & kTileInList) == 0) {
            source->data = nullptr;  // loaded, but nobody holds it
            Append(source);
        }
    }
    RIPTile* copy =
        (source->flags & kTileSolid) != 0
            ? NewSolidTile(source->rowBytes, static_cast<std::int32_t>(source->type), source->colour, false)
            : NewTile(source->rowBytes, static_cast<std::int32_t>(source->type), false);
    if (copy == nullptr) return nullptr;
    if (source->block == nullptr) {
        if (source->swapRecord != nullptr &&
            (!MakeResident(copy, false) ||
             swap_.SwapIn(source->swapRecord, copy->data, static_cast<std::int32_t>(copy->rowBytes),
                          static_cast<std::int32_t>(copy->type)) == 0)) {
            FreeTile(copy, true);
            return nullptr;
        }
    } else {
        // Out of the list while the copy finds a block, so it cannot be the victim.
        const bool listed = (source->flags & kTileInList) != 0;
        if (listed) Unlink(source);
        const bool ok = MakeResident(copy, false);
        if (listed) Append(source);
        if (!ok) {
            FreeTile(copy, true);
            return nullptr;
        }
        std::memcpy(copy->data, memory_.Address(source->block), kTileBlockBytes);
    }
    copy->data = nullptr;
    --source->shareCount;
    return copy;
}

RIPTile* RIPTileManager::LockTile(RIPTile* tile, RIPTileLockMode mode) {
    RIPTileStoreHold hold(this);
    RIPTile* shared = nullptr;
    if (tile->shareCount > 0 && Writes(mode)) {
        RIPTile* copy = CopyOnWrite(tile);
        if (copy == nullptr) return nullptr;
        shared = tile;
        tile = copy;
        tile->flags |= kTileChanged;
    }
    // A lock that fails after the copy drops it and gives the shared tile its
    // owner back: the caller's slot still names the shared tile.
    const auto fail = [&]() -> RIPTile* {
        if (shared != nullptr) {
            Destroy(tile);
            ++shared->shareCount;
        }
        return nullptr;
    };
    if (tile->lockCount <= 0) {
        if ((tile->flags & kTilePending) != 0 && !Load(tile)) return fail();
        if ((tile->flags & kTileSolid) != 0) {
            if (Expands(mode) && !Expand(tile)) return fail();
        } else if (!MakeResident(tile, true)) {
            return fail();
        }
        if ((tile->flags & kTileInList) != 0) Unlink(tile);
    } else if ((tile->flags & kTileSolid) != 0 && Expands(mode) && !Expand(tile)) {
        return fail();
    }
    if (tile->block != nullptr) tile->block->flags |= kBlockLocked;
    // Every write marks the tile changed, also under a read lock already held:
    // otherwise a tile with a swap copy would lose the write at its eviction.
    if (Writes(mode)) tile->flags |= kTileChanged;
    ++tile->lockCount;
    return tile;
}

int RIPTileManager::UnlockTile(RIPTile* tile) {
    RIPTileStoreHold hold(this);
    if (--tile->lockCount <= 0) {
        tile->lockCount = 0;
        tile->data = nullptr;
        if ((tile->flags & kTileSolid) == 0 && tile->block != nullptr && (tile->flags & kTileInList) == 0) {
            Append(tile);
        }
        if (tile->block != nullptr) tile->block->flags &= ~kBlockLocked;
    }
    return 1;
}

const colour::ColorRecord* RIPTileManager::SolidColour(const RIPTile* tile) const {
    return (tile->flags & kTileSolid) != 0 ? &tile->colour : nullptr;
}

void RIPTileManager::ChargeBudget(std::uint64_t bytes) {
    RIPTileStoreHold hold(this);
    memory_.AddUsage(bytes);
}

void RIPTileManager::ReleaseBudget(std::uint64_t bytes) {
    RIPTileStoreHold hold(this);
    memory_.SubUsage(bytes);
}

}  // namespace raster
