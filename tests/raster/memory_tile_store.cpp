// The tests' tile store.
#include "memory_tile_store.h"

#include <algorithm>

#include "raster/storage.h"

// The record behind this store's tile handles. The library's tile manager
// owns the name RIPTile; the handles here are this record in disguise.
struct raster::testing::MemoryTile {
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

MemoryTile* Rec(RIPTile* t) { return reinterpret_cast<MemoryTile*>(t); }
const MemoryTile* Rec(const RIPTile* t) { return reinterpret_cast<const MemoryTile*>(t); }
RIPTile* Handle(MemoryTile* t) { return reinterpret_cast<RIPTile*>(t); }

}  // namespace

MemoryTileStore::~MemoryTileStore() {
    for (MemoryTile* t : all_) delete t;
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
    auto* t = new MemoryTile;
    t->rowBytes = rowBytes;
    t->type = type;
    t->pixels.assign(kTileBytes, 0);
    all_.push_back(t);
    ++live_;
    return Handle(t);
}

RIPTile* MemoryTileStore::NewSolidTile(std::uint32_t rowBytes, std::int32_t type, const colour::ColorRecord& colour,
                                       bool lock) {
    MemoryTile* t = Rec(NewTile(rowBytes, type, lock));
    t->pixels.clear();
    t->solid = true;
    t->colour = colour;
    return Handle(t);
}

RIPTile* MemoryTileStore::NewPendingTile(std::uint32_t rowBytes, std::int32_t type, const std::int32_t descriptor[4],
                                         std::uintptr_t source, bool lock) {
    MemoryTile* t = Rec(NewTile(rowBytes, type, lock));
    t->pending = true;
    std::copy_n(descriptor, 4, t->descriptor);
    t->source = source;
    return Handle(t);
}

RIPTile* MemoryTileStore::AddRef(RIPTile* handle, bool) {
    ++Rec(handle)->shares;
    return handle;
}

int MemoryTileStore::FreeTile(RIPTile* handle, bool) {
    MemoryTile* tile = Rec(handle);
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

RIPTile* MemoryTileStore::LockTile(RIPTile* handle, RIPTileLockMode mode) {
    MemoryTile* tile = Rec(handle);
    std::lock_guard<std::recursive_mutex> hold(lock_);
    locks_.push_back(mode);
    if (failAfter_ == 0) return nullptr;
    if (failAfter_ > 0) --failAfter_;
    const bool writes = mode == kTileLockWrite || mode == kTileLockOverwrite;
    if (writes && tile->shares > 0) {
        --tile->shares;
        MemoryTile* copy = Rec(NewTile(tile->rowBytes, tile->type, true));
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
    return Handle(tile);
}

int MemoryTileStore::UnlockTile(RIPTile* handle) {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    --Rec(handle)->locks;
    return 1;
}

std::uint8_t* MemoryTileStore::TileData(const RIPTile* handle) const {
    const MemoryTile* tile = Rec(handle);
    return tile->solid ? nullptr : const_cast<std::uint8_t*>(tile->pixels.data());
}

const colour::ColorRecord* MemoryTileStore::SolidColour(const RIPTile* handle) const {
    const MemoryTile* tile = Rec(handle);
    return tile->solid ? &tile->colour : nullptr;
}

int MemoryTileStore::HeldLocks() const {
    int n = 0;
    for (const MemoryTile* t : all_) n += t->locks;
    return n;
}

bool MemoryTileStore::IsSolid(const RIPTile* tile) const {
    return Rec(tile)->solid;
}

int MemoryTileStore::ShareCount(const RIPTile* tile) const {
    return Rec(tile)->shares;
}

std::vector<std::int32_t> MemoryTileStore::Descriptor(const RIPTile* tile) const {
    return {Rec(tile)->descriptor, Rec(tile)->descriptor + 4};
}

std::uintptr_t MemoryTileStore::Source(const RIPTile* tile) const {
    return Rec(tile)->source;
}

ScopedTileStore::ScopedTileStore(std::uint64_t budget) : store_(budget), previous_(RIPInstallTileStore(&store_)) {}

ScopedTileStore::~ScopedTileStore() {
    RIPInstallTileStore(previous_);
}

}  // namespace raster::testing
