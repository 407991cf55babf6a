// Tiled mode of the raster test programs: with SVGFILTER_TILED_STORE set to a
// number of memory blocks, every test runs with the library's tile manager
// installed at a budget of 0, so every image is tiled, and with that few
// blocks, so tiles are evicted, compressed, swapped and made solid as the
// tests go. Their pixel expectations are the same as in the contiguous run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "scoped_tile_manager.h"

namespace raster::testing {
namespace {

class TiledStoreEnvironment : public ::testing::Environment {
  public:
    explicit TiledStoreEnvironment(std::uint32_t blocks) : blocks_(blocks) {}

    void SetUp() override { manager_ = std::make_unique<ScopedTileManager>(blocks_); }
    void TearDown() override { manager_.reset(); }

  private:
    std::uint32_t blocks_;
    std::unique_ptr<ScopedTileManager> manager_;
};

const bool kRegistered = [] {
    const char* blocks = std::getenv("SVGFILTER_TILED_STORE");
    if (blocks != nullptr && std::atoi(blocks) > 0) {
        ::testing::AddGlobalTestEnvironment(
            new TiledStoreEnvironment(static_cast<std::uint32_t>(std::atoi(blocks))));
    }
    return true;
}();

}  // namespace
}  // namespace raster::testing
