// Loops shared by the format-pair converters: a pixel rule applied over a
// rectangle of raw rows, and over a rectangle of two locked slots counted as
// one unit of progress.
#pragma once

#include <cstddef>
#include <cstdint>

#include "convert_support.h"
#include "raster/row_convert.h"

namespace raster::convert {

inline std::uint16_t Sample(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline void PutSample16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

// rule(dstPixel, srcPixel) over width × rows pixels of the given sizes.
template <std::size_t SrcBytes, std::size_t DstBytes, class Rule>
void ForEachPixel(std::uint8_t* dst, const std::uint8_t* src, std::ptrdiff_t dstStride,
                  std::ptrdiff_t srcStride, std::int32_t width, std::int32_t rows, Rule rule) {
    for (std::int32_t r = 0; r < rows; ++r, dst += dstStride, src += srcStride) {
        std::uint8_t* d = dst;
        const std::uint8_t* s = src;
        for (std::int32_t i = 0; i < width; ++i, d += DstBytes, s += SrcBytes) {
            rule(d, s);
        }
    }
}

// The whole rectangle as one unit of progress: the report (0, 1) before the
// work, the tick after it. work(dst, src) converts the rows.
template <class Work>
int OneUnit(RIPRasterState* state, RIPTileSlot* dslot, std::int32_t x, std::int32_t y, std::int32_t dstBits,
            RIPTileSlot* sslot, std::int32_t sx, std::int32_t sy, std::int32_t srcBits, Work work) {
    RIPProgressPacer pacer(state, 1);
    work(SlotPixel(dslot, x, y, dstBits), SlotPixel(sslot, sx, sy, srcBits));
    return pacer.Step() ? 1 : 0;
}

}  // namespace raster::convert
