// The adjustment block a raster state carries.
#include <algorithm>
#include <new>

#include "raster/raster_state.h"

namespace raster {
namespace {

colour::ColorRecord Black() {
    return colour::ColorRecord::Three(colour::kModelRGB, 0, 0, 0);
}

bool CountAllowed(std::int32_t count) {
    return count >= 0 && count <= 256;
}

void Reset(RIPAdjustParams* block) {
    *block = RIPAdjustParams{};
    block->colour1 = block->colour2 = Black();
    for (std::uint32_t i = 0; i < 256; ++i) {
        block->values[i] = i;
    }
}

}  // namespace

RIPAdjustParams* RIPAdjustParamsCreate(const RIPAdjustSettings& settings) {
    if (!CountAllowed(settings.count)) {
        return nullptr;
    }
    auto* block = new (std::nothrow) RIPAdjustParams;
    if (block == nullptr) {
        return nullptr;
    }
    RIPAdjustParamsInit(block, settings);
    return block;
}

int RIPAdjustParamsInit(RIPAdjustParams* block, const RIPAdjustSettings& settings) {
    if (block == nullptr || !CountAllowed(settings.count)) {
        return 0;
    }
    Reset(block);
    return RIPAdjustParamsSet(block, settings);
}

int RIPAdjustParamsSet(RIPAdjustParams* block, const RIPAdjustSettings& settings) {
    if (block == nullptr || !CountAllowed(settings.count)) {
        return 0;
    }
    block->mode = settings.mode;
    block->mode2 = settings.mode2;
    block->count = settings.count;
    if (settings.entries != nullptr) {
        std::copy_n(settings.entries, settings.count, block->entries);
    }
    if (settings.values != nullptr) {
        std::copy_n(settings.values, settings.count, block->values);
    }
    block->colour1 = settings.colour1 != nullptr ? *settings.colour1 : Black();
    block->colour2 = settings.colour2 != nullptr ? *settings.colour2 : Black();
    block->value = settings.value;
    block->percent1 = std::clamp(settings.percent1, -100, 100);
    block->percent2 = std::clamp(settings.percent2, -100, 100);
    block->value2 = settings.value2;
    block->level = settings.level;
    block->value3 = settings.value3;
    return 1;
}

int RIPAdjustParamsDestroy(RIPAdjustParams* block) {
    delete block;
    return 1;
}

}  // namespace raster
