// Progress reported by countdown over a known number of items.
#include "raster/progress_countdown.h"

#include <algorithm>

#include "raster/progress.h"
#include "raster/raster_state.h"

namespace raster {

RIPProgressCountdown::RIPProgressCountdown(const RIPRasterState* state, std::uint32_t total) {
    if (state == nullptr || state->progressCallback == nullptr) {
        return;
    }
    state_ = state;
    total_ = total;
    std::uint32_t steps = 20;
    if (state->progressCallback == &RIPProgressForwardCallback && state->progressContext != nullptr) {
        const auto* range = static_cast<const RIPProgressRange*>(state->progressContext);
        const std::uint64_t scaled =
            range->total > 0 ? static_cast<std::uint64_t>(std::max(range->reportCount, 0)) *
                                   static_cast<std::uint64_t>(std::max<std::int64_t>(range->step, 0)) /
                                   static_cast<std::uint64_t>(range->total)
                             : 0;
        steps = static_cast<std::uint32_t>(std::clamp<std::uint64_t>(scaled, 1, 0xFFFFFFFFu));
    }
    chunk_ = std::max<std::uint32_t>(total / steps, 1);
    const std::uint64_t covered = static_cast<std::uint64_t>(chunk_) * steps;
    countdown_ = covered < total ? static_cast<std::uint32_t>(total - covered) : chunk_;
    start_ = countdown_;
    state->progressCallback(0, static_cast<std::int32_t>(total_), state->progressContext);
}

bool RIPProgressCountdown::Step() {
    if (state_ == nullptr) {
        return true;
    }
    if (--countdown_ != 0) {
        return true;
    }
    position_ += start_;
    countdown_ = start_ = chunk_;
    return state_->progressCallback(static_cast<std::int32_t>(position_), static_cast<std::int32_t>(total_),
                                    state_->progressContext) != 0;
}

}  // namespace raster
