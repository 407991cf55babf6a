// The two exact divisions of 16-bit samples, by shifts and adds alone.
//
// q(x) = min(floor(65536·x / (255·65535)), 65535) blends a sample by an 8-bit
// weight: x = f·w + d·(255 − w) lies in 0..255·65535, and q(255·v) = v, so
// weight 0 keeps d and 255 gives f. p(x) = min(floor(65536·x / 65535²), 65535)
// divides the product of two samples: p(65535·v) = v. Neither is x/255 or
// x/65535: each is that quotient or one more, which keeps full white white.
#pragma once

#include <cstdint>

namespace raster::kernels {

// x in 0..255·65535. Every intermediate stays below 2^32.
constexpr std::uint32_t RIPBlendQuotient16(std::uint32_t x) {
    const std::uint32_t y = x > 8355712u ? x - 1 : x;  // 8355712 = floor(255·65535 / 2)
    const std::uint32_t v = x + ((y + (y >> 16) + 1) >> 16);
    std::uint32_t s = ((v >> 8) + v + 257) >> 8;
    s = (s + v) >> 8;
    return (s + v + 1) >> 8;
}

// x in 0..65535·65535. Every intermediate stays below 2^32.
constexpr std::uint32_t RIPProductQuotient16(std::uint32_t x) {
    const std::uint32_t y = x > 32767u * 65536u ? x - 1 : x;
    const std::uint32_t v = x + ((y + (y >> 16) + 1) >> 16);
    return (v + (v >> 16) + 1) >> 16;
}

}  // namespace raster::kernels
