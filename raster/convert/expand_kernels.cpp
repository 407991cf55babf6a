// Kernels that widen pixels: 1-bit rows into two colours, and palette
// indices into the colours of their entries.
#include <cstring>

#include "raster/row_convert.h"
#include "row_kernels.h"

namespace raster::convert {
namespace {

// Each set or clear bit becomes one of two ready-made pixels of `size` bytes.
int ExpandBits(RIPRasterState* state, const RIPRowBlock& b, const std::uint8_t* pixel0, const std::uint8_t* pixel1,
               std::size_t size) {
    const auto width = static_cast<std::uint32_t>(b.width);
    return ForEachRow(state, b, [&](std::int32_t, std::uint8_t* d, const std::uint8_t* s) {
        for (std::uint32_t i = 0; i < width; ++i, d += size) {
            std::memcpy(d, GetBit(s, b.srcBit + i) != 0 ? pixel1 : pixel0, size);
        }
    });
}

void Unpack(std::uint8_t* out, std::uint32_t colour, int bytes, int repeat) {
    for (int k = 0; k < bytes; ++k) {
        for (int r = 0; r < repeat; ++r) {
            out[k * repeat + r] = static_cast<std::uint8_t>(colour >> (8 * k));
        }
    }
}

int ExpandPacked(RIPRasterState* state, const RIPRowBlock& b, std::uint32_t colour0, std::uint32_t colour1,
                 int bytes, int repeat) {
    std::uint8_t p0[8], p1[8];
    Unpack(p0, colour0, bytes, repeat);
    Unpack(p1, colour1, bytes, repeat);
    return ExpandBits(state, b, p0, p1, static_cast<std::size_t>(bytes * repeat));
}

// One row converter of the row-converter family per row.
int ExpandIndices(RIPRasterState* state, const RIPRowBlock& b, RIPPalette* palette, RIPRowConverter convert) {
    RIPConverterContext ctx;
    ctx.palette = palette;
    ctx.srcBitOffset = b.srcBit;
    return ForEachRow(state, b, [&](std::int32_t, std::uint8_t* d, const std::uint8_t* s) {
        convert(&ctx, static_cast<std::uint32_t>(b.width), d, s);
    });
}

}  // namespace

int RIPExpandBitsToRGB24(RIPRasterState* state, const RIPRowBlock& b, std::uint32_t colour0, std::uint32_t colour1) {
    return ExpandPacked(state, b, colour0, colour1, 3, 1);
}
int RIPExpandBitsToRGB48(RIPRasterState* state, const RIPRowBlock& b, std::uint32_t colour0, std::uint32_t colour1) {
    return ExpandPacked(state, b, colour0, colour1, 3, 2);
}
int RIPExpandBitsToCMYK(RIPRasterState* state, const RIPRowBlock& b, std::uint32_t colour0, std::uint32_t colour1) {
    return ExpandPacked(state, b, colour0, colour1, 4, 1);
}
int RIPExpandBitsToGray16(RIPRasterState* state, const RIPRowBlock& b, std::uint8_t grey0, std::uint8_t grey1) {
    return ExpandPacked(state, b, grey0, grey1, 1, 2);
}

int RIPExpandRows8ToRGB24(RIPRasterState* state, const RIPRowBlock& b, RIPPalette* palette) {
    return ExpandIndices(state, b, palette, &RIPIndex8ToRGB24);
}
int RIPExpandRows8ToRGB48(RIPRasterState* state, const RIPRowBlock& b, RIPPalette* palette) {
    return ExpandIndices(state, b, palette, &RIPIndex8ToRGB48);
}
int RIPExpandRows4ToRGB24(RIPRasterState* state, const RIPRowBlock& b, RIPPalette* palette) {
    return ExpandIndices(state, b, palette, &RIPIndex4ToRGB24);
}
int RIPExpandRows4ToRGB48(RIPRasterState* state, const RIPRowBlock& b, RIPPalette* palette) {
    return ExpandIndices(state, b, palette, &RIPIndex4ToRGB48);
}

}  // namespace raster::convert
