// Kernels that map 24-bit colour rows (blue, green, red) to palette indices.
#include "raster/pal_cache.h"
#include "raster/palette.h"
#include "raster/pixel_access.h"
#include "row_kernels.h"

namespace raster::convert {
namespace {

std::uint32_t DstNibble(const RIPRowBlock& b, std::uint32_t i) { return (b.dstBit >= 4 ? 1u : 0u) + i; }

// index(pixel) for each pixel, written with `write`.
template <class Index, class Write>
int Map(RIPRasterState* state, const RIPRowBlock& b, Index index, Write write) {
    const auto width = static_cast<std::uint32_t>(b.width);
    return ForEachRow(state, b, [&](std::int32_t, std::uint8_t* d, const std::uint8_t* s) {
        for (std::uint32_t i = 0; i < width; ++i, s += 3) {
            write(d, i, index(s));
        }
    });
}

void WriteByte(std::uint8_t* d, std::uint32_t i, std::uint32_t v) { d[i] = static_cast<std::uint8_t>(v); }

}  // namespace

int RIPMapRowsToTwoColors(RIPRasterState* state, const RIPRowBlock& b, const std::uint8_t* entry0,
                          const std::uint8_t* entry1) {
    return Map(
        state, b, [&](const std::uint8_t* p) { return Distance2(p, entry1) < Distance2(p, entry0) ? 1u : 0u; },
        [&](std::uint8_t* d, std::uint32_t i, std::uint32_t v) { PutBit(d, b.dstBit + i, v); });
}

int RIPMapRowsToStdPal8(RIPRasterState* state, const RIPRowBlock& b) {
    return Map(
        state, b, [](const std::uint8_t* p) { return std::uint32_t{RIPStdPaletteIndex(p[2], p[1], p[0])}; },
        &WriteByte);
}

int RIPMapRowsToStdPal4(RIPRasterState* state, const RIPRowBlock& b) {
    std::uint32_t squares[511];
    RIPInitSquareTable(squares);
    return Map(
        state, b, [&](const std::uint8_t* p) { return std::uint32_t{RIPBuildColorLookup(squares, p[2], p[1], p[0])}; },
        [&](std::uint8_t* d, std::uint32_t i, std::uint32_t v) { PutNibble(d, DstNibble(b, i), v); });
}

int RIPMapRowsToPal8Cached(RIPRasterState* state, const RIPRowBlock& b, const RIPPalette* palette,
                           RIPPalCache* cache) {
    const std::uint8_t* entries = palette->Entries();
    return Map(
        state, b,
        [&](const std::uint8_t* p) { return std::uint32_t{RIPPalCacheNearestIndex(cache, p[2], p[1], p[0], entries)}; },
        &WriteByte);
}

int RIPMapRowsToPal4Cached(RIPRasterState* state, const RIPRowBlock& b, const RIPPalette* palette,
                           RIPPalCache* cache) {
    const std::uint8_t* entries = palette->Entries();
    return Map(
        state, b,
        [&](const std::uint8_t* p) { return std::uint32_t{RIPPalCacheNearestIndex(cache, p[2], p[1], p[0], entries)}; },
        [&](std::uint8_t* d, std::uint32_t i, std::uint32_t v) { PutNibble(d, DstNibble(b, i), v); });
}

}  // namespace raster::convert
