// Raster states and their pool. Blits and conversions make and drop states
// often, so up to ten destroyed records wait under one lock, each keeping its
// adjustment block, and are handed out again with their defaults restored.
#include "raster/raster_state.h"

#include <array>
#include <mutex>
#include <new>

#include "raster/image.h"
#include "raster/region.h"

namespace raster {
namespace {

std::mutex g_poolLock;
std::array<RIPRasterState*, kRIPStatePoolSize> g_pool{};

void DestroyHolders(RIPRasterState* state) {
    if (RIPPatternHolder* h = state->patternHolder) {
        RIPDestroyImage(h->pattern);
        delete h;
    }
    if (RIPMaskHolder* h = state->maskHolder) {
        if (h->image != nullptr) {
            RIPDestroyRegion(RIPSetImageMask(h->image, nullptr));
            RIPDestroyImage(h->image);
        }
        delete h;
    }
    state->patternHolder = nullptr;
    state->maskHolder = nullptr;
}

RIPRasterState* TakePooled() {
    std::lock_guard<std::mutex> hold(g_poolLock);
    for (RIPRasterState*& slot : g_pool) {
        if (slot != nullptr) {
            RIPRasterState* s = slot;
            slot = nullptr;
            return s;
        }
    }
    return nullptr;
}

bool Pool(RIPRasterState* state) {
    std::lock_guard<std::mutex> hold(g_poolLock);
    for (RIPRasterState*& slot : g_pool) {
        if (slot == nullptr) {
            slot = state;
            return true;
        }
    }
    return false;
}

}  // namespace

RIPRasterState* RIPCreateRS() {
    RIPRasterState* state = TakePooled();
    if (state == nullptr) {
        state = new (std::nothrow) RIPRasterState;
        if (state == nullptr) {
            return nullptr;
        }
    }
    RIPAdjustParams* adjust = state->adjust;
    *state = RIPRasterState{};
    state->colourA = colour::ColorRecord::Three(colour::kModelRGB, 200, 0, 0);
    state->colourB = colour::ColorRecord::Three(colour::kModelRGB, 0, 255, 255);
    const RIPAdjustSettings defaults;
    if (adjust != nullptr) {
        RIPAdjustParamsInit(adjust, defaults);
    } else {
        adjust = RIPAdjustParamsCreate(defaults);
        if (adjust == nullptr) {
            delete state;
            return nullptr;
        }
    }
    state->adjust = adjust;
    return state;
}

int RIPDestroyRS(RIPRasterState* state) {
    if (state == nullptr) {
        return 1;
    }
    DestroyHolders(state);
    if (!Pool(state)) {
        RIPFreeRS(state);
    }
    return 1;
}

int RIPFreeRS(RIPRasterState* state) {
    if (state != nullptr) {
        DestroyHolders(state);
        RIPAdjustParamsDestroy(state->adjust);
        delete state;
    }
    return 1;
}

int RIPPooledStateCount() {
    std::lock_guard<std::mutex> hold(g_poolLock);
    int n = 0;
    for (const RIPRasterState* s : g_pool) {
        n += s != nullptr ? 1 : 0;
    }
    return n;
}

std::int32_t RIPSetMergeMode(RIPRasterState* state, std::int32_t mode) {
    if (state == nullptr) {
        return 36;
    }
    const std::int32_t previous = state->mergeMode;
    // A mode the field cannot hold is kept as 36, which every painter refuses,
    // rather than wrapped into a mode that paints.
    state->mergeMode = static_cast<std::uint16_t>(mode >= 0 && mode <= 0xFFFF ? mode : 36);
    return previous;
}

std::int32_t RIPSetRSMode(RIPRasterState* state, std::uint8_t opacity) {
    if (state == nullptr) {
        return 255;
    }
    const std::int32_t previous = state->opacity;
    state->opacity = opacity;
    return previous;
}

std::int32_t RIPSetStretchMode(RIPRasterState* state, std::int32_t mode) {
    if (state == nullptr) {
        return 0;
    }
    const std::int32_t previous = state->stretchMode;
    state->stretchMode = mode;
    return previous;
}

std::int8_t RIPGetRSMode(const RIPRasterState* state) {
    return static_cast<std::int8_t>(state != nullptr ? state->opacity : 255);
}

}  // namespace raster
