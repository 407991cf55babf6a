// Nested progress: an operation that reports through a raster state's
// callback pushes a range, so the operations it calls report into its share
// of the whole. Positions are in 1/128 units.
#pragma once

#include <cstdint>

#include "raster/raster_state.h"

namespace raster {

// Lives on the stack of the operation that pushes it and is popped before it returns.
struct RIPProgressRange {
    std::int64_t position = 0;
    std::int64_t step = 0;
    std::int64_t total = 0;
    std::int32_t reportCount = 0;  // reports the callback should see over the range
    void* savedContext = nullptr;
    RIPProgressCallback savedCallback = nullptr;
    bool pushed = false;
};

// With a callback on the state: the range covers total units, its first step
// step units, and the state reports through it. Without one, nothing changes.
void RIPProgressPushRange(RIPProgressRange* range, RIPRasterState* state, std::int64_t step,
                          std::int64_t total);
// Restores the callback the push replaced, when the state still reports through this range.
void RIPProgressPopRange(RIPProgressRange* range, RIPRasterState* state);
// Moves past the current step and makes the next one n units long.
void RIPProgressStep(RIPProgressRange* range, std::int64_t n);
// Moves past the current step; the next one runs to the range's end.
void RIPProgressAdvance(RIPProgressRange* range);
// The callback a pushed range installs: reports position + step × value / total
// of the range to the callback it replaced (1 when there is none).
int RIPProgressForwardCallback(std::int32_t value, std::int32_t total, void* range);

}  // namespace raster
