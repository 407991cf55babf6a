// The placeholder of each media code: the host's bitmap and its size.
#pragma once

#include <cstdint>

namespace imageload {

struct Placeholder {
    std::uint32_t bitmapId;
    std::int32_t width;
    std::int32_t height;
};

// Null for a code outside 0 .. 11.
const Placeholder* PlaceholderFor(std::int32_t code);

}  // namespace imageload
