// The tests' tile store.
#include "memory_tile_store.h"

#include <algorithm>

#include "raster/storage.h"

struct raster::RIPTile {
    std::uint32_t rowBytes = 0;
    std::int32_t type = 0;
    int shares = 0;
    int locks = 0;
    bool solid = false;
    bool pending = false;
    colour::ColorRecord colour;
    std::vector<std::uint8_t> pixels;
    std::int32_t descriptor[4] = {};
    std::uintptr_t source = 0;
};

namespace raster::testing {
namespace {

constexpr std::size_t kTileBytes = 65536;

}  // namespace

MemoryTileStore::~MemoryTileStore() {
    for (RIPTile* t : all_) delete t;
}

void MemoryTileStore::Enter() {
    lock_.lock();
    ++depth_;
}

void MemoryTileStore::Leave() {
    --depth_;
    lock_.unlock();
}

RIPTile* MemoryTileStore::NewTile(std::uint32_t rowBytes, std::int32_t type, bool lock) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    if (!lock && depth_ > 0) ++madeUnderHold_;
    auto* t = new RIPTile;
    t->rowBytes = rowBytes;
    t->type = type;
    t->pixels.assign(kTileBytes, 0);
    all_.push_back(t);
    ++live_;
    return t;
}

RIPTile* MemoryTileStore::NewSolidTile(std::uint32_t rowBytes, std::int32_t type, const colour::ColorRecord& colour,
                                       bool lock) {
    RIPTile* t = NewTile(rowBytes, type, lock);
    t->pixels.clear();
    t->solid = true;
    t->colour = colour;
    return t;
}

RIPTile* MemoryTileStore::NewPendingTile(std::uint32_t rowBytes, std::int32_t type, const std::int32_t descriptor[4],
                                         std::uintptr_t source, bool lock) {
    RIPTile* t = NewTile(rowBytes, type, lock);
    t->pending = true;
    std::copy_n(descriptor, 4, t->descriptor);
    t->source = source;
    return t;
}

RIPTile* MemoryTileStore::AddRef(RIPTile* tile, bool) {
    ++tile->shares;
    return tile;
}

int MemoryTileStore::FreeTile(RIPTile* tile, bool) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    if (tile->shares > 0) {
        --tile->shares;
        return 1;
    }
    all_.erase(std::find(all_.begin(), all_.end(), tile));
    delete tile;
    --live_;
    return 1;
}

RIPTile* MemoryTileStore::LockTile(RIPTile* tile, RIPTileLockMode mode) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    locks_.push_back(mode);
    if (failAfter_ == 0) return nullptr;
    if (failAfter_ > 0) --failAfter_;
    const bool writes = mode == kTileLockWrite || mode == kTileLockOverwrite;
    if (writes && tile->shares > 0) {
        --tile->shares;
        RIPTile* copy = NewTile(tile->rowBytes, tile->type, true);
        copy->solid = tile->solid;
        copy->colour = tile->colour;
        copy->pixels = tile->pixels;
        tile = copy;
    }
    tile->pending = false;  // nothing to load: a pending tile starts empty
    if (tile->solid && (mode == kTileLockWrite || mode == kTileLockRead)) {
        const RIPTileGeometry g = RIPTileGeometryFor(tile->type);
        const std::int32_t bits = tile->type == 10 ? 8 : RIPTypeBits(tile->type);
        tile->pixels.assign(kTileBytes, 0);
        RIPFillPixelRows(tile->pixels.data(), tile->rowBytes, g.height, g.width, tile->type, bits, tile->colour);
        tile->solid = false;
    } else if (tile->solid && mode == kTileLockOverwrite) {
        // Every pixel is to be written: the tile gets pixels without its colour.
        tile->pixels.assign(kTileBytes, 0);
        tile->solid = false;
    }
    ++tile->locks;
    return tile;
}

int MemoryTileStore::UnlockTile(RIPTile* tile) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    --tile->locks;
    return 1;
}

std::uint8_t* MemoryTileStore::TileData(const RIPTile* tile) const {
    return tile->solid ? nullptr : const_cast<std::uint8_t*>(tile->pixels.data());
}

const colour::ColorRecord* MemoryTileStore::SolidColour(const RIPTile* tile) const {
    return tile->solid ? &tile->colour : nullptr;
}

int MemoryTileStore::HeldLocks() const {
    int n = 0;
    for (const RIPTile* t : all_) n += t->locks;
    return n;
}

bool MemoryTileStore::IsSolid(const RIPTile* tile) const {
    return tile->solid;
}

int MemoryTileStore::ShareCount(const RIPTile* tile) const {
    return tile->shares;
}

std::vector<std::int32_t> MemoryTileStore::Descriptor(const RIPTile* tile) const {
    return {tile->descriptor, tile->descriptor + 4};
}

std::uintptr_t MemoryTileStore::Source(const RIPTile* tile) const {
    return tile->source;
}

ScopedTileStore::ScopedTileStore(std::uint64_t budget) : store_(budget), previous_(RIPInstallTileStore(&store_)) {}

ScopedTileStore::~ScopedTileStore() {
    RIPInstallTileStore(previous_);
}

}  // namespace raster::testing
