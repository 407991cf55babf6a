// The seam between image storage and the tiled store (the tile manager).
//
// Storage reaches tiles only through this interface: it creates a grid's
// tiles, locks and unlocks them around pixel access and frees them. With no
// store installed the library keeps every image as one contiguous block. The
// store is installed once, before the first image, and stays while tiled
// images live: an image's tiles go back to the store that made them.
#pragma once

#include <cstdint>

#include "colour/color_record.h"

namespace raster {

// The store's record of one tile; only the store looks inside.
struct RIPTile;

// How a tile is locked. Write locks copy a shared tile first and mark it
// changed; the compact modes leave a solid (one-colour) tile without pixels.
enum RIPTileLockMode : std::int32_t {
    kTileNoLock = -1,
    kTileLockWrite = 0,        // for writing; a solid tile is expanded
    kTileLockRead = 1,         // for reading; a solid tile is expanded
    kTileLockReadCompact = 2,  // for reading; a solid tile keeps only its colour
    kTileLockOverwrite = 3,    // for writing every pixel; a solid tile is not expanded
};

class RIPTileStore {
  public:
    virtual ~RIPTileStore() = default;

    // Bytes the store keeps in memory; an image above a quarter of it is tiled.
    virtual std::uint64_t Budget() const = 0;
    // The store's lock, which a thread may enter again while holding it. Storage
    // holds it around building or freeing a whole grid and then passes
    // lock = false to the calls below.
    virtual void Enter() = 0;
    virtual void Leave() = 0;

    // A tile without pixels yet, of rowBytes bytes a row; null without memory.
    virtual RIPTile* NewTile(std::uint32_t rowBytes, std::int32_t type, bool lock) = 0;
    // A solid tile of one colour (in the image's model).
    virtual RIPTile* NewSolidTile(std::uint32_t rowBytes, std::int32_t type,
                                  const colour::ColorRecord& colour, bool lock) = 0;
    // A tile loaded on its first lock from source; descriptor holds the tile's
    // bounds {left, top, right, bottom} in the image.
    virtual RIPTile* NewPendingTile(std::uint32_t rowBytes, std::int32_t type,
                                    const std::int32_t descriptor[4], std::uintptr_t source, bool lock) = 0;
    // One more owner for a tile (shared until the first write).
    virtual RIPTile* AddRef(RIPTile* tile, bool lock) = 0;
    // Drops one owner, releasing the tile with the last: 1, or 0 when it stays.
    virtual int FreeTile(RIPTile* tile, bool lock) = 0;

    // The tile to use from now on (the same, or a private copy of a shared one),
    // or null when it cannot be locked.
    virtual RIPTile* LockTile(RIPTile* tile, RIPTileLockMode mode) = 0;
    virtual int UnlockTile(RIPTile* tile) = 0;
    // The pixel rows of a locked tile; null for a solid tile locked compactly.
    virtual std::uint8_t* TileData(const RIPTile* tile) const = 0;
    // The colour of a solid tile, null for a tile with pixels.
    virtual const colour::ColorRecord* SolidColour(const RIPTile* tile) const = 0;

    // The blocks of untiled images count against the budget too.
    virtual void ChargeBudget(std::uint64_t bytes) = 0;
    virtual void ReleaseBudget(std::uint64_t bytes) = 0;
};

// Installs the store (null: none) and returns the one installed before.
RIPTileStore* RIPInstallTileStore(RIPTileStore* store);
RIPTileStore* RIPActiveTileStore();

// Holds a store's lock for a scope; does nothing without a store.
class RIPTileStoreHold {
  public:
    explicit RIPTileStoreHold(RIPTileStore* store) : store_(store) {
        if (store_ != nullptr) store_->Enter();
    }
    ~RIPTileStoreHold() {
        if (store_ != nullptr) store_->Leave();
    }
    RIPTileStoreHold(const RIPTileStoreHold&) = delete;
    RIPTileStoreHold& operator=(const RIPTileStoreHold&) = delete;

  private:
    RIPTileStore* store_;
};

}  // namespace raster
