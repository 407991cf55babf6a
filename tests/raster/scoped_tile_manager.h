// The library's tile manager installed for a scope at a budget of 0, so every
// tileable image is tiled, and with `blocks` memory blocks, so that tiles are
// evicted, compressed, swapped to the platform's swap file and made solid as
// the code under test goes. The store installed before comes back after.
#pragma once

#include <cstdint>

#include "raster/store/tile_manager.h"

namespace raster::testing {

class ScopedTileManager {
  public:
    explicit ScopedTileManager(std::uint32_t blocks) : manager_(Config(blocks)) {
        previous_ = RIPInstallTileStore(&manager_);
    }
    ~ScopedTileManager() { RIPInstallTileStore(previous_); }
    ScopedTileManager(const ScopedTileManager&) = delete;
    ScopedTileManager& operator=(const ScopedTileManager&) = delete;
    RIPTileManager& manager() { return manager_; }

  private:
    static RIPTileManagerConfig Config(std::uint32_t blocks) {
        RIPTileManagerConfig config;
        config.budget = 0;
        config.memoryBlocks = blocks;
        return config;
    }

    RIPTileManager manager_;
    RIPTileStore* previous_ = nullptr;
};

}  // namespace raster::testing
