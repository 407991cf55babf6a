// A tile store for tests: every tile a heap block, solid tiles kept as their
// colour until asked for pixels, shared tiles copied on the first write. It
// records what storage asks of it and can be told to refuse locks.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "raster/tile_store.h"

namespace raster::testing {

struct MemoryTile;

class MemoryTileStore : public RIPTileStore {
public:
    explicit MemoryTileStore(std::uint64_t budget) : budget_(budget) {}
    ~MemoryTileStore() override;

    std::uint64_t Budget() const override { return budget_; }
    void Enter() override;
    void Leave() override;
    RIPTile* NewTile(std::uint32_t rowBytes, std::int32_t type, bool lock) override;
    RIPTile* NewSolidTile(std::uint32_t rowBytes, std::int32_t type, const colour::ColorRecord& colour,
                          bool lock) override;
    RIPTile* NewPendingTile(std::uint32_t rowBytes, std::int32_t type, const std::int32_t descriptor[4],
                            std::uintptr_t source, bool lock) override;
    RIPTile* AddRef(RIPTile* tile, bool lock) override;
    int FreeTile(RIPTile* tile, bool lock) override;
    RIPTile* LockTile(RIPTile* tile, RIPTileLockMode mode) override;
    int UnlockTile(RIPTile* tile) override;
    std::uint8_t* TileData(const RIPTile* tile) const override;
    const colour::ColorRecord* SolidColour(const RIPTile* tile) const override;
    void ChargeBudget(std::uint64_t bytes) override { charged_ += bytes; }
    void ReleaseBudget(std::uint64_t bytes) override { charged_ -= bytes; }

    int LiveTiles() const { return live_; }
    int HeldLocks() const;  // locks taken and not yet released, over every tile
    std::uint64_t Charged() const { return charged_; }
    // Modes of every lock asked for, in order.
    const std::vector<RIPTileLockMode>& Locks() const { return locks_; }
    // Tiles made while storage held the store's lock with lock = false.
    int MadeUnderHold() const { return madeUnderHold_; }
    // The next `n` locks succeed, the ones after fail (-1: never fail).
    void FailLocksAfter(int n) { failAfter_ = n; }
    bool IsSolid(const RIPTile* tile) const;
    int ShareCount(const RIPTile* tile) const;
    // The pending-load descriptor and source a tile was made with.
    std::vector<std::int32_t> Descriptor(const RIPTile* tile) const;
    std::uintptr_t Source(const RIPTile* tile) const;

private:
    std::uint64_t budget_;
    std::uint64_t charged_ = 0;
    std::recursive_mutex lock_;
    int depth_ = 0;
    int live_ = 0;
    int madeUnderHold_ = 0;
    int failAfter_ = -1;
    std::vector<RIPTileLockMode> locks_;
    std::vector<MemoryTile*> all_;
};

// Installs a store for the scope (and puts back the one before).
class ScopedTileStore {
public:
    explicit ScopedTileStore(std::uint64_t budget);
    ~ScopedTileStore();
    MemoryTileStore& store() { return store_; }

private:
    MemoryTileStore store_;
    RIPTileStore* previous_;
};

}  // namespace raster::testing
