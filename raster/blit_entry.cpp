// The installed blit entry.
#include "raster/blit_entry.h"

#include <atomic>

namespace raster {
namespace {

std::atomic<RIPStretchBlitEntry> g_entry{nullptr};

}  // namespace

int RIPStretchBlitInContext(RIPRasterState* state, RIPImage* dst, std::int32_t dx, std::int32_t dy,
                            std::int32_t dw, std::int32_t dh, const RIPRect* dstRect, RIPImage* src,
                            std::int32_t sx, std::int32_t sy, std::int32_t sw, std::int32_t sh,
                            const RIPRect* srcRect, std::uint32_t flags) {
    const RIPStretchBlitEntry entry = g_entry.load(std::memory_order_acquire);
    if (entry == nullptr) {
        return 0;
    }
    return entry(state, dst, dx, dy, dw, dh, dstRect, src, sx, sy, sw, sh, srcRect, flags);
}

RIPStretchBlitEntry RIPSetStretchBlitEntry(RIPStretchBlitEntry entry) {
    return g_entry.exchange(entry, std::memory_order_acq_rel);
}

}  // namespace raster
