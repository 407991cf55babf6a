// The one installed tile store, or none.
#include "raster/tile_store.h"

#include <atomic>

namespace raster {
namespace {

std::atomic<RIPTileStore*> g_store{nullptr};

}  // namespace

RIPTileStore* RIPInstallTileStore(RIPTileStore* store) {
    return g_store.exchange(store, std::memory_order_acq_rel);
}

RIPTileStore* RIPActiveTileStore() {
    return g_store.load(std::memory_order_acquire);
}

}  // namespace raster
