// The pairs with a paletted side and no dithering: indices expanded through
// the palette (by tables made once per call), and colours or greys mapped to
// the nearest entries of any palette.
#include <algorithm>

#include "colour/rows.h"
#include "pair_converters.h"
#include "raster/bit_rows.h"
#include "raster/image.h"
#include "raster/pal_cache.h"
#include "raster/palette.h"
#include "raster/row_convert.h"
#include "row_kernels.h"
#include "temp_rows.h"

namespace raster::convert {
namespace {

constexpr std::uint8_t kBlack[3] = {0, 0, 0};

// Entry i; indices at or beyond the count read entry 0, and a palette
// without entries reads black.
const std::uint8_t* EntryOf(const RIPPalette* palette, int i) {
    if (palette == nullptr || palette->count < 1) return kBlack;
    return palette->Entries() + 3 * (i < palette->count ? i : 0);
}
std::uint32_t Packed(const std::uint8_t* e) {
    return static_cast<std::uint32_t>(e[0] | (e[1] << 8) | (e[2] << 16));
}

// The 8-bit grey of every index.
void GreyTable(std::uint8_t table[256], const RIPPalette* palette) {
    for (int i = 0; i < 256; ++i) {
        const std::uint8_t* e = EntryOf(palette, i);
        table[i] = RIPGreyOf(e[0], e[1], e[2]);
    }
}

RIPRowBlock FromPaletteRows(RIPTileSlot* d, std::int32_t x, std::int32_t y, std::int32_t dstBits,
                            const RIPImage* source, RIPTileSlot* s, std::int32_t sx, std::int32_t sy,
                            std::int32_t w, std::int32_t h) {
    return SlotRows(d, x, y, dstBits, s, sx, sy, source->bitsPerPixel, w, h);
}

RIPRowBlock ToPaletteRows(const RIPImage* destination, RIPTileSlot* d, std::int32_t x, std::int32_t y,
                          const std::uint8_t* src, std::ptrdiff_t srcStride, std::int32_t w, std::int32_t h) {
    RIPRowBlock b;
    b.dst = SlotPixel(d, x, y, destination->bitsPerPixel);
    b.dstStride = d->rowBytes;
    b.dstBit = SlotBit(x, destination->bitsPerPixel);
    b.src = src;
    b.srcStride = srcStride;
    b.width = w;
    b.rows = h;
    return b;
}

// Every row's run of bits cleared: the one entry of a one-entry palette.
int ClearRuns(RIPRasterState* state, const RIPRowBlock& b) {
    return ForEachRow(state, b, [&](std::int32_t, std::uint8_t* d, const std::uint8_t*) {
        RIPSetBitRun(d, b.dstBit, static_cast<std::uint32_t>(b.width), 0);
    });
}

// Through the palette's cache, made for the call when it has none (and
// removed again after). null from `cached` when no cache can be had.
template <class Cached, class PerPixel>
int ThroughCache(RIPRasterState* state, const RIPRowBlock& b, RIPPalette* palette, Cached cached,
                 PerPixel perPixel) {
    if (palette->cacheKind == kPalCacheNearest && palette->cache != nullptr) {
        return cached(state, b, palette, palette->cache);
    }
    if (RIPBuildInverseTable(palette, kPalCacheNearest) != 0) {
        const int result = cached(state, b, palette, palette->cache);
        RIPFreeInverseTable(palette);
        return result;
    }
    const auto width = static_cast<std::uint32_t>(b.width);
    return ForEachRow(state, b, [&](std::int32_t, std::uint8_t* d, const std::uint8_t* s) {
        for (std::uint32_t i = 0; i < width; ++i, s += 3) {
            perPixel(d, i, RIPGetNearestPalIndex(palette, s[2], s[1], s[0]));
        }
    });
}

}  // namespace

int RIPMapRGBRowsToPalette(RIPRasterState* state, const RIPRowBlock& b, RIPPalette* palette,
                           std::int32_t bits) {
    if (palette == nullptr) return 0;
    switch (bits) {
        case 8:
            if (palette->kind == kPaletteStandard) return RIPMapRowsToStdPal8(state, b);
            return ThroughCache(state, b, palette, &RIPMapRowsToPal8Cached,
                                [](std::uint8_t* d, std::uint32_t i, std::uint8_t v) { d[i] = v; });
        case 4:
            if (palette->kind == kPaletteStandard16) return RIPMapRowsToStdPal4(state, b);
            return ThroughCache(state, b, palette, &RIPMapRowsToPal4Cached,
                                [&b](std::uint8_t* d, std::uint32_t i, std::uint8_t v) {
                                    PutNibble(d, (b.dstBit >= 4 ? 1u : 0u) + i, v);
                                });
        case 1:
            if (palette->count == 0) return 1;
            if (palette->count == 1) return ClearRuns(state, b);
            if (palette->count == 2)
                return RIPMapRowsToTwoColors(state, b, EntryOf(palette, 0), EntryOf(palette, 1));
            return 0;
        default:
            return 0;
    }
}

int RIPMapGrayRowsToPalette(RIPRasterState* state, const RIPRowBlock& b, RIPPalette* palette,
                            std::int32_t bits) {
    if (palette == nullptr) return 0;
    std::uint8_t table[256];
    for (int v = 0; v < 256; ++v) table[v] = RIPGetNearestPalIndex(palette, v, v, v);
    switch (bits) {
        case 8:
            return RIPRemapRow8To8(state, b, table);
        case 4:
            return RIPRemapRow8To4(state, b, table);
        case 1:
            if (palette->count == 0) return 1;
            if (palette->count == 1) return ClearRuns(state, b);
            if (palette->count == 2) return RIPRemapRow8To1(state, b, table);
            return 0;
        default:
            return 0;
    }
}

int RIPConvertPalToRGB24(RIPRasterState* rs, RIPTileSlot* d, std::int32_t x, std::int32_t y, RIPImage* source,
                         RIPTileSlot* s, std::int32_t sx, std::int32_t sy, std::int32_t w, std::int32_t h) {
    const RIPRowBlock b = FromPaletteRows(d, x, y, 24, source, s, sx, sy, w, h);
    switch (source->bitsPerPixel) {
        case 1:
            return RIPExpandBitsToRGB24(rs, b, Packed(EntryOf(source->palette, 0)),
                                        Packed(EntryOf(source->palette, 1)));
        case 4:
            return RIPExpandRows4ToRGB24(rs, b, source->palette);
        case 8:
            return RIPExpandRows8ToRGB24(rs, b, source->palette);
        default:
            return 0;
    }
}

int RIPConvertPalToRGB48(RIPRasterState* rs, RIPTileSlot* d, std::int32_t x, std::int32_t y, RIPImage* source,
                         RIPTileSlot* s, std::int32_t sx, std::int32_t sy, std::int32_t w, std::int32_t h) {
    const RIPRowBlock b = FromPaletteRows(d, x, y, 48, source, s, sx, sy, w, h);
    switch (source->bitsPerPixel) {
        case 1:
            return RIPExpandBitsToRGB48(rs, b, Packed(EntryOf(source->palette, 0)),
                                        Packed(EntryOf(source->palette, 1)));
        case 4:
            return RIPExpandRows4ToRGB48(rs, b, source->palette);
        case 8:
            return RIPExpandRows8ToRGB48(rs, b, source->palette);
        default:
            return 0;
    }
}

int RIPConvertPalToGray8(RIPRasterState* rs, RIPTileSlot* d, std::int32_t x, std::int32_t y, RIPImage* source,
                         RIPTileSlot* s, std::int32_t sx, std::int32_t sy, std::int32_t w, std::int32_t h) {
    std::uint8_t table[256];
    GreyTable(table, source->palette);
    const RIPRowBlock b = FromPaletteRows(d, x, y, 8, source, s, sx, sy, w, h);
    switch (source->bitsPerPixel) {
        case 1:
            return RIPRemapRow1To8(rs, b, table[0], table[1]);
        case 4:
            return RIPRemapRow4To8(rs, b, table);
        case 8:
            return RIPRemapRow8To8(rs, b, table);
        default:
            return 0;
    }
}

int RIPConvertPalToGray16(RIPRasterState* rs, RIPTileSlot* d, std::int32_t x, std::int32_t y,
                          RIPImage* source, RIPTileSlot* s, std::int32_t sx, std::int32_t sy, std::int32_t w,
                          std::int32_t h) {
    std::uint8_t table[256];
    GreyTable(table, source->palette);
    const RIPRowBlock b = FromPaletteRows(d, x, y, 16, source, s, sx, sy, w, h);
    switch (source->bitsPerPixel) {
        case 1:
            return RIPExpandBitsToGray16(rs, b, table[0], table[1]);
        case 4:
            return RIPRemapRow4To16(rs, b, table);
        case 8:
            return RIPRemapRow8To16(rs, b, table);
        default:
            return 0;
    }
}

int RIPConvertPalToCMYK(RIPRasterState* rs, RIPTileSlot* d, std::int32_t x, std::int32_t y, RIPImage* source,
                        RIPTileSlot* s, std::int32_t sx, std::int32_t sy, std::int32_t w, std::int32_t h) {
    const std::int32_t bits = source->bitsPerPixel;
    if (bits != 1 && bits != 4 && bits != 8) return 0;
    // Every index's colour, converted as one row.
    std::uint8_t rgb[3 * 256], inks[4 * 256];
    for (int i = 0; i < 256; ++i) std::copy_n(EntryOf(source->palette, i), 3, rgb + 3 * i);
    if (colour::ClrRGBRowsToCMYK(nullptr, inks, rgb, 256, 1) == 0) return 0;
    const RIPRowBlock b = FromPaletteRows(d, x, y, 32, source, s, sx, sy, w, h);
    if (bits == 1) {
        const auto packed = [&inks](int i) {
            const std::uint8_t* p = inks + 4 * i;
            return static_cast<std::uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16)) |
                   (std::uint32_t{p[3]} << 24);
        };
        return RIPExpandBitsToCMYK(rs, b, packed(0), packed(1));
    }
    return ForEachRow(rs, b, [&](std::int32_t, std::uint8_t* dst, const std::uint8_t* src) {
        for (std::int32_t i = 0; i < w; ++i, dst += 4) {
            const std::uint32_t index = bits == 8 ? src[i] : GetNibble(src, (b.srcBit >= 4 ? 1u : 0u) + i);
            std::copy_n(inks + 4 * index, 4, dst);
        }
    });
}

int RIPConvertRGB24ToPal8Rows(RIPRasterState* rs, RIPImage* destination, RIPTileSlot* d, std::int32_t x,
                              std::int32_t y, RIPTileSlot* s, std::int32_t sx, std::int32_t sy,
                              std::int32_t w, std::int32_t h) {
    return RIPMapRGBRowsToPalette(
        rs, ToPaletteRows(destination, d, x, y, SlotPixel(s, sx, sy, 24), s->rowBytes, w, h),
        destination->palette, destination->bitsPerPixel);
}

int RIPConvert48ToPal8(RIPRasterState* rs, RIPImage* destination, RIPTileSlot* d, std::int32_t x,
                       std::int32_t y, RIPTileSlot* s, std::int32_t sx, std::int32_t sy, std::int32_t w,
                       std::int32_t h) {
    RIPTempRows tmp(3 * static_cast<std::int64_t>(w), h);
    if (!tmp) return 0;
    RIPNarrowRGB48To24(tmp.data(), SlotPixel(s, sx, sy, 48), tmp.stride(), s->rowBytes, w, h);
    return RIPMapRGBRowsToPalette(rs, ToPaletteRows(destination, d, x, y, tmp.data(), tmp.stride(), w, h),
                                  destination->palette, destination->bitsPerPixel);
}

int RIPConvertGray8ToPal8Rows(RIPRasterState* rs, RIPImage* destination, RIPTileSlot* d, std::int32_t x,
                              std::int32_t y, RIPTileSlot* s, std::int32_t sx, std::int32_t sy,
                              std::int32_t w, std::int32_t h) {
    return RIPMapGrayRowsToPalette(
        rs, ToPaletteRows(destination, d, x, y, SlotPixel(s, sx, sy, 8), s->rowBytes, w, h),
        destination->palette, destination->bitsPerPixel);
}

int RIPConvert16GrayToPal8(RIPRasterState* rs, RIPImage* destination, RIPTileSlot* d, std::int32_t x,
                           std::int32_t y, RIPTileSlot* s, std::int32_t sx, std::int32_t sy, std::int32_t w,
                           std::int32_t h) {
    RIPTempRows tmp(w, h);
    if (!tmp) return 0;
    RIPCopyHighBytes16(tmp.data(), SlotPixel(s, sx, sy, 16), tmp.stride(), s->rowBytes, w, h);
    return RIPMapGrayRowsToPalette(rs, ToPaletteRows(destination, d, x, y, tmp.data(), tmp.stride(), w, h),
                                   destination->palette, destination->bitsPerPixel);
}

}  // namespace raster::convert
