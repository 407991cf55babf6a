// Nested progress ranges. A pushed range stands in for the state's callback
// and reports its position, scaled into the share the caller gave it, to the
// callback it replaced.
#include "raster/progress.h"

#include <algorithm>
#include <limits>

namespace raster {
namespace {

constexpr std::int64_t kUnit = 128;

// Callbacks take 32-bit values: halve both until the total fits.
int Report(RIPProgressCallback callback, std::int64_t position, std::int64_t total, void* context) {
    while (total > std::numeric_limits<std::int32_t>::max() ||
           position > std::numeric_limits<std::int32_t>::max()) {
        position >>= 1;
        total >>= 1;
    }
    return callback(static_cast<std::int32_t>(std::max<std::int64_t>(position, 0)),
                    static_cast<std::int32_t>(std::max<std::int64_t>(total, 0)), context);
}

}  // namespace

void RIPProgressPushRange(RIPProgressRange* range, RIPRasterState* state, std::int64_t step,
                          std::int64_t total) {
    *range = RIPProgressRange{};
    if (state == nullptr || state->progressCallback == nullptr) {
        return;
    }
    range->step = step * kUnit;
    range->total = total * kUnit;
    range->savedCallback = state->progressCallback;
    range->savedContext = state->progressContext;
    if (range->savedCallback != &RIPProgressForwardCallback) {
        range->reportCount = 20;
    } else {
        const auto* parent = static_cast<const RIPProgressRange*>(range->savedContext);
        const std::int64_t share = parent->total > 0 ? parent->reportCount * parent->step / parent->total : 0;
        range->reportCount = static_cast<std::int32_t>(
            std::clamp<std::int64_t>(share, 1, std::numeric_limits<std::int32_t>::max()));
    }
    range->pushed = true;
    state->progressCallback = &RIPProgressForwardCallback;
    state->progressContext = range;
}

void RIPProgressPopRange(RIPProgressRange* range, RIPRasterState* state) {
    if (range == nullptr || !range->pushed || state == nullptr || state->progressContext != range) {
        return;
    }
    state->progressCallback = range->savedCallback;
    state->progressContext = range->savedContext;
    range->pushed = false;
}

void RIPProgressStep(RIPProgressRange* range, std::int64_t n) {
    range->position += range->step;
    range->step = n * kUnit;
}

void RIPProgressAdvance(RIPProgressRange* range) {
    range->position += range->step;
    range->step = range->total - range->position;
}

int RIPProgressForwardCallback(std::int32_t value, std::int32_t total, void* context) {
    const auto* range = static_cast<const RIPProgressRange*>(context);
    if (range == nullptr || range->savedCallback == nullptr) {
        return 1;
    }
    std::int64_t position = range->position;
    if (total > 0) {
        position += range->step * value / total;
    }
    return Report(range->savedCallback, position, range->total, range->savedContext);
}

}  // namespace raster
