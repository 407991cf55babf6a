// Progress by countdown: an operation that visits T items (rows, tiles)
// reports about twenty times, or as often as the progress range installed on
// the state asks for, through the state's callback.
#pragma once

#include <cstdint>

namespace raster {

struct RIPRasterState;

class RIPProgressCountdown {
  public:
    // Makes the first report (0, total), whose answer is ignored; nothing
    // without a callback on the state.
    RIPProgressCountdown(const RIPRasterState* state, std::uint32_t total);
    // One item done: false when a report was made and answered 0.
    bool Step();

  private:
    const RIPRasterState* state_ = nullptr;
    std::uint32_t total_ = 0;
    std::uint32_t chunk_ = 1;
    std::uint32_t countdown_ = 0;
    std::uint32_t start_ = 0;
    std::uint32_t position_ = 0;
};

}  // namespace raster
