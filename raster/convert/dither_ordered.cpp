// Reductions by position: threshold matrices to 1 bit, the cube and grey
// ramp of the standard 236-colour palette by the Bayer matrix, the Bayer
// matrix into the 16-colour palette, and nearest-or-neighbour into any
// palette. Matrix phases come from absolute destination positions.
#include <memory>
#include <new>

#include "dither_rows.h"
#include "dithering.h"
#include "raster/pal_cache.h"
#include "raster/palette.h"

namespace raster::convert {
namespace {

// The grey ramp's thresholds (indices 216..235) by matrix row and column.
constexpr std::uint8_t kGreyThresholds[8][8] = {
    {216, 225, 218, 228, 216, 226, 219, 228}, {230, 220, 232, 223, 231, 221, 233, 223},
    {219, 229, 217, 226, 220, 229, 217, 227}, {234, 224, 231, 222, 234, 225, 232, 222},
    {216, 226, 219, 228, 216, 225, 218, 228}, {231, 221, 233, 224, 230, 221, 233, 223},
    {220, 230, 218, 227, 219, 229, 217, 227}, {235, 225, 232, 222, 234, 224, 231, 222},
};

std::uint32_t Phase(std::int64_t v, std::int32_t n) {
    return static_cast<std::uint32_t>(((v % n) + n) % n);
}

int Halftone(RIPRasterState* state, const RIPReduceArgs& a, RIPSourceKind kind) {
    const RIPDitherMatrix* m = a.dither != nullptr ? RIPStateMatrix(a.dither) : nullptr;
    if (m == nullptr) return 0;
    const std::int32_t n = m->size;
    std::unique_ptr<std::int16_t[]> thresholds(new (std::nothrow)
                                                   std::int16_t[static_cast<std::size_t>(n) * n]);
    if (!thresholds) return 0;
    for (std::int32_t i = 0; i < n * n; ++i) {
        thresholds[i] = static_cast<std::int16_t>((256 / m->levels) * m->matrix[i]);
    }
    RIPSourceRows source(kind, a.srcPalette, a.rows.width);
    return ForEachRow(state, a.rows, [&](std::int32_t r, std::uint8_t* d, const std::uint8_t* s) {
        const std::int16_t* t = &thresholds[Phase(std::int64_t{a.y0} + r, n) * n];
        const std::uint8_t* grey = source.Greys(s);
        RIPBitSink bits(d, a.rows.dstBit);
        std::uint32_t column = Phase(a.x0, n);
        for (std::int32_t x = 0; x < a.rows.width; ++x) {
            bits.Put(grey[x] > t[column]);
            if (++column == static_cast<std::uint32_t>(n)) column = 0;
        }
        bits.Finish();
    });
}

// The 16-colour index of a colour at Bayer threshold t: a bright level and
// three channel levels (0..64) each compared with t.
std::uint32_t OrderedIndex(int blue, int green, int red, int t) {
    const int c[3] = {(red + 2) / 4, (green + 2) / 4, (blue + 2) / 4};
    const int max = std::max({c[0], c[1], c[2]});
    int bright = 0, level[3];
    if (max <= 32) {
        for (int k = 0; k < 3; ++k) level[k] = 2 * c[k];
    } else {
        bright = 2 * max - 64;
        for (int k = 0; k < 3; ++k)
            level[k] = c[k] == max ? 64 : c[k] + max <= 64 ? 2 * c[k] : c[k] + 64 - max;
    }
    // The largest channel keeps level 64 even when two share the maximum.
    return (level[0] > t ? 1u : 0u) | (level[1] > t ? 2u : 0u) | (level[2] > t ? 4u : 0u) |
           (bright > t ? 8u : 0u);
}

int Ordered(RIPRasterState* state, const RIPReduceArgs& a, RIPSourceKind kind, bool nibbles) {
    RIPSourceRows source(kind, a.srcPalette, a.rows.width);
    const std::uint32_t first = a.rows.dstBit >= 4 ? 1 : 0;
    return ForEachRow(state, a.rows, [&](std::int32_t r, std::uint8_t* d, const std::uint8_t* s) {
        const std::uint8_t* bgr = source.Colours(s);
        const std::uint32_t column = Phase(std::int64_t{a.y0} + r, 8);
        for (std::int32_t x = 0; x < a.rows.width; ++x, bgr += 3) {
            const int t = kRIPBayer8[Phase(std::int64_t{a.x0} + x, 8)][column];
            const std::uint32_t index = OrderedIndex(bgr[0], bgr[1], bgr[2], t);
            if (nibbles) {
                PutNibble(d, first + static_cast<std::uint32_t>(x), index);
            } else {
                d[x] = static_cast<std::uint8_t>(index);
            }
        }
    });
}

int MapToStdPal8(RIPRasterState* state, const RIPReduceArgs& a, RIPSourceKind kind) {
    if (kind != RIPSourceKind::kGray8 &&
        (a.dither == nullptr || a.dither->method != 3 || a.dstPalette == nullptr ||
         a.dstPalette->kind != kPaletteStandard)) {
        return 0;
    }
    const std::uint8_t* cube = kind == RIPSourceKind::kGray8 ? nullptr : RIPCubeThresholds(a.dither);
    RIPSourceRows source(kind, a.srcPalette, a.rows.width);
    return ForEachRow(state, a.rows, [&](std::int32_t r, std::uint8_t* d, const std::uint8_t* s) {
        const std::uint32_t row = Phase(std::int64_t{a.y0} + r, 8);
        for (std::int32_t x = 0; x < a.rows.width; ++x) {
            const std::uint32_t column = Phase(std::int64_t{a.x0} + x, 8);
            if (cube == nullptr) {
                const int base = 216 + s[x] / 13;
                d[x] = static_cast<std::uint8_t>(kGreyThresholds[row][column] > base ? base + 1 : base);
            } else {
                const std::uint8_t* t = cube + row * 2048 + column * 256;
                d[x] = static_cast<std::uint8_t>(36 * t[s[3 * x + 2]] + 6 * t[s[3 * x + 1]] + t[s[3 * x]]);
            }
        }
    });
}

// The nearest entry, or its neighbour of another colour where 63·D > M·S:
// D the squared distance to the nearest entry, M the Bayer value at the
// pixel, S the palette's worst nearest distance.
int MapToAnyPalette(RIPRasterState* state, const RIPReduceArgs& a, RIPSourceKind kind) {
    RIPPalette* palette = a.dstPalette;
    if (palette == nullptr || a.dither == nullptr || a.dither->method != 3 ||
        (palette->cache == nullptr && RIPBuildInverseTable(palette, kPalCacheNearest) == 0)) {
        return 0;
    }
    const std::uint8_t* neighbours = RIPNeighbourTable(a.dither);
    const std::uint8_t* entries = palette->Entries();
    const std::uint64_t scale = RIPPalCacheTreeValue(palette->cache, entries);
    const std::uint32_t first = a.rows.dstBit >= 4 ? 1 : 0;
    RIPSourceRows source(kind, a.srcPalette, a.rows.width);
    return ForEachRow(state, a.rows, [&](std::int32_t r, std::uint8_t* d, const std::uint8_t* s) {
        const std::uint8_t* bgr = source.Colours(s);
        const std::uint32_t row = Phase(std::int64_t{a.y0} + r, 8);
        for (std::int32_t x = 0; x < a.rows.width; ++x, bgr += 3) {
            const std::uint8_t nearest =
                RIPPalCacheNearestIndex(palette->cache, bgr[2], bgr[1], bgr[0], entries);
            const std::uint64_t distance = Distance2(bgr, PaletteEntry(palette, nearest));
            const std::uint64_t m = kRIPBayer8[row][Phase(std::int64_t{a.x0} + x, 8)];
            const std::uint8_t index = 63 * distance > m * scale ? neighbours[nearest] : nearest;
            if (a.dstBits == 8) {
                d[x] = index;
            } else if (a.dstBits == 4) {
                PutNibble(d, first + static_cast<std::uint32_t>(x), index);
            } else {
                PutBit(d, a.rows.dstBit + static_cast<std::uint32_t>(x), index);
            }
        }
    });
}

}  // namespace

std::uint8_t RIPStdPal4Nearest(int c0, int c1, int c2) {
    const bool dark = c0 <= 170 && c1 <= 170 && c2 <= 170;
    const int limit = dark ? 85 : 170;
    int index = dark ? 0 : 0x88;
    if (c0 > limit) index |= 0x11;
    if (c1 > limit) index |= 0x22;
    if (c2 > limit) index |= 0x44;
    return static_cast<std::uint8_t>(index);
}

std::uint8_t RIPStdPalIndexToGray(int i) {
    if (i < 216) {
        const int r = i / 36, g = (i % 36) / 6, b = i % 6;
        return static_cast<std::uint8_t>((3 * 51 * r + 6 * 51 * g + 51 * b) / 10);
    }
    return static_cast<std::uint8_t>((i - 216) * 255 / 19);
}

void RIPCopyBitRow(std::uint8_t* dst, std::uint32_t dstBit, const std::uint8_t* src, std::uint32_t srcBit,
                   std::uint32_t count) {
    RIPBitSink bits(dst, dstBit);
    for (std::uint32_t i = 0; i < count; ++i) bits.Put(GetBit(src, srcBit + i) == 0);
    bits.Finish();
}

int RIPHalftoneRGB24ToBilevel(RIPRasterState* state, const RIPReduceArgs& a) {
    return Halftone(state, a, RIPSourceKind::kRGB24);
}
int RIPHalftoneGray8ToBilevel(RIPRasterState* state, const RIPReduceArgs& a) {
    return Halftone(state, a, RIPSourceKind::kGray8);
}
int RIPHalftonePal8ToBilevel(RIPRasterState* state, const RIPReduceArgs& a) {
    return Halftone(state, a, RIPSourceKind::kPal8);
}
int RIPMapRGB24ToStdPal8(RIPRasterState* state, const RIPReduceArgs& a) {
    return MapToStdPal8(state, a, RIPSourceKind::kRGB24);
}
int RIPMapGray8ToStdPal8(RIPRasterState* state, const RIPReduceArgs& a) {
    return MapToStdPal8(state, a, RIPSourceKind::kGray8);
}
int RIPOrderedRGB24ToPal4(RIPRasterState* state, const RIPReduceArgs& a) {
    return Ordered(state, a, RIPSourceKind::kRGB24, true);
}
int RIPOrderedGray8ToPal4(RIPRasterState* state, const RIPReduceArgs& a) {
    return Ordered(state, a, RIPSourceKind::kGray8, true);
}
int RIPOrderedRGB24ToPal8(RIPRasterState* state, const RIPReduceArgs& a) {
    return Ordered(state, a, RIPSourceKind::kRGB24, false);
}
int RIPOrderedGray8ToPal8(RIPRasterState* state, const RIPReduceArgs& a) {
    return Ordered(state, a, RIPSourceKind::kGray8, false);
}
int RIPMapRGB24ToPal(RIPRasterState* state, const RIPReduceArgs& a) {
    return MapToAnyPalette(state, a, RIPSourceKind::kRGB24);
}
int RIPMapGray8ToPal(RIPRasterState* state, const RIPReduceArgs& a) {
    return MapToAnyPalette(state, a, RIPSourceKind::kGray8);
}

}  // namespace raster::convert
