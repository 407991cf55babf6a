// The tile manager: the tile store behind tiled images. Tiles take 64 KB
// blocks of the memory store while locked or recently used; when no block is
// left the least recently unlocked tile goes to the swap store (compressed),
// or becomes a solid tile when all its pixels are equal. Tiles are shared
// between images and copied on the first write.
#pragma once

#include <cstdint>
#include <mutex>

#include "raster/store/block_store.h"
#include "raster/tile_store.h"

namespace raster {

enum RIPTileFlags : std::uint32_t {
    kTileInList = 1,   // in the eviction list
    kTileChanged = 2,  // changed since its swap copy was written
    kTilePending = 4,  // its pixels come from the load procedure on the first lock
    kTileSolid = 8,    // its pixels are all `colour`; no block needed
};

// Loads (discard = 0) or lets go of (discard = 1) a pending tile's pixels:
// fills buffer and sets *uniform nonzero when every pixel is equal, the
// buffer's first 12 bytes then holding that colour. Nonzero on success.
using RIPTileLoadProc = int (*)(std::uint8_t* buffer, std::int32_t first, std::int32_t fourth,
                                std::int32_t* uniform, std::int32_t discard, std::uintptr_t parameter);

struct RIPTile {
    std::int32_t lockCount = 0;
    std::uint8_t* data = nullptr;  // the pixels while locked
    RIPBlockNode* block = nullptr;
    RIPBlockNode* swapRecord = nullptr;
    RIPTile* previous = nullptr;  // toward the eviction list's head (least recently used)
    RIPTile* next = nullptr;
    std::uint32_t flags = 0;
    std::uint32_t rowBytes = 0;
    std::uint32_t type = 0;
    colour::ColorRecord colour;
    std::int32_t shareCount = 0;  // owners beyond the first
    std::int32_t descriptor[4] = {};
    std::uintptr_t loadParameter = 0;
    RIPTile* olderTile = nullptr;  // the manager's list of every live tile
    RIPTile* newerTile = nullptr;
};

struct RIPTileManagerConfig {
    std::uint64_t budget = 64ull << 20;         // images above a quarter of it are tiled
    std::uint32_t memoryBlocks = 0;             // pool-0 blocks at most (kMinimumBlocks at least); 0: budget / 64 KB
    std::uint64_t usageStep = kTileBlockBytes;  // untiled bytes that take one block off the limit
    bool compression = true;
    RIPSwapFileFactory swapFiles;  // default: the platform's swap files
};

class RIPTileManager final : public RIPTileStore {
  public:
    explicit RIPTileManager(RIPTileManagerConfig config);
    // Frees the tiles still alive (their images must be gone or never used again).
    ~RIPTileManager() override;

    std::uint64_t Budget() const override { return budget_; }
    void Enter() override;
    void Leave() override;
    RIPTile* NewTile(std::uint32_t rowBytes, std::int32_t type, bool lock) override;
    RIPTile* NewSolidTile(std::uint32_t rowBytes, std::int32_t type, const colour::ColorRecord& colour,
                          bool lock) override;
    RIPTile* NewPendingTile(std::uint32_t rowBytes, std::int32_t type, const std::int32_t descriptor[4],
                            std::uintptr_t parameter, bool lock) override;
    RIPTile* AddRef(RIPTile* tile, bool lock) override;
    int FreeTile(RIPTile* tile, bool lock) override;
    RIPTile* LockTile(RIPTile* tile, RIPTileLockMode mode) override;
    int UnlockTile(RIPTile* tile) override;
    std::uint8_t* TileData(const RIPTile* tile) const override { return tile->data; }
    const colour::ColorRecord* SolidColour(const RIPTile* tile) const override;
    void ChargeBudget(std::uint64_t bytes) override;
    void ReleaseBudget(std::uint64_t bytes) override;

    void SetLoadProc(RIPTileLoadProc proc) { loadProc_ = proc; }
    int LiveTiles() const { return live_; }
    const RIPTile* EvictionHead() const { return head_; }
    RIPMemoryStore& Memory() { return memory_; }
    RIPSwapStore& Swap() { return swap_; }

  private:
    void Unlink(RIPTile* tile);
    void Append(RIPTile* tile);
    // Gives the tile a block and its pixels' address; zeroFill gives a tile
    // with no copy anywhere zeroed pixels (callers that fill it pass false).
    bool MakeResident(RIPTile* tile, bool zeroFill);
    bool Evict(RIPBlockNode** block);
    bool Load(RIPTile* tile);
    bool Expand(RIPTile* tile);
    RIPTile* CopyOnWrite(RIPTile* tile);
    RIPTile* Make(std::uint32_t rowBytes, std::int32_t type);
    void Destroy(RIPTile* tile);

    std::uint64_t budget_;
    RIPMemoryStore memory_;
    RIPSwapStore swap_;
    std::recursive_mutex lock_;
    int entries_ = 0;
    RIPTile* head_ = nullptr;
    RIPTile* tail_ = nullptr;
    RIPTileLoadProc loadProc_ = nullptr;
    int live_ = 0;
    RIPTile* newest_ = nullptr;  // every live tile, so the manager frees what is left
};

}  // namespace raster
