// Error diffusion (Floyd-Steinberg in gathering form): each pixel gathers
// 1/16 of the error below-left of it in the row above, 7/16 of the error of
// the pixel before it, 5/16 from above and 3/16 from above-right:
//   v = (16·s + a(x−1) + 7·e_left + 5·a(x) + 3·a(x+1)) / 16, toward zero.
// After v is used the row entry at x − 1 takes e_left (the row above, for
// the next row), and at the row end the last column takes the last error.
#include <vector>

#include "dither_rows.h"
#include "dithering.h"
#include "raster/pal_cache.h"
#include "raster/palette.h"

namespace raster::convert {
namespace {

int Gather(int s, const std::int16_t* a, std::ptrdiff_t x, std::ptrdiff_t behind, std::ptrdiff_t ahead,
           int left) {
    return (16 * s + a[x + behind] + 7 * left + 5 * a[x] + 3 * a[x + ahead]) / 16;
}

// The bilevel members: greys from any source kind.
int DiffuseToBits(RIPRasterState* state, const RIPReduceArgs& a, RIPSourceKind kind) {
    RIPSourceRows source(kind, a.srcPalette, a.rows.width);
    return ForEachRow(state, a.rows, [&](std::int32_t, std::uint8_t* d, const std::uint8_t* s) {
        RIPDiffuseGreyRowToBits(source.Greys(s), a.rows.width, a.errors, d, a.rows.dstBit);
    });
}

// The standard 236-colour palette: red, green and blue cube offsets from the
// dither state's tables, or the nearest grey when the three levels agree.
struct StdPal8 {
    const std::uint8_t* t;
    const RIPPalette* palette;
    int Cube(int b, int g, int r) const { return t[r] + t[256 + g] + t[512 + b]; }
    int Pick(const int v[3]) const {
        return v[0] == v[1] && v[1] == v[2] ? t[768 + v[0]] : Cube(v[0], v[1], v[2]);
    }
    const std::uint8_t* Entry(int i) const { return PaletteEntry(palette, static_cast<unsigned>(i)); }
};

// One row of the 236-colour RGB member; writes indices unless out is null
// (the priming pass). The row's first pixel, mapped without diffusion,
// gives the starting e_left (the priming pass starts from 0).
void StdPal8Row(const StdPal8& p, const std::uint8_t* bgr, std::int32_t w, std::int16_t* errors,
                std::uint8_t* out) {
    std::int16_t* rows[3] = {ErrorRow(errors, w, 0), ErrorRow(errors, w, 1), ErrorRow(errors, w, 2)};
    int left[3] = {0, 0, 0};
    if (out != nullptr && w > 0) {
        const std::uint8_t* e = p.Entry(p.Cube(bgr[0], bgr[1], bgr[2]));
        for (int c = 0; c < 3; ++c) left[c] = bgr[c] - e[c];
    }
    for (std::int32_t x = 0; x < w; ++x, bgr += 3) {
        int v[3];
        for (int c = 0; c < 3; ++c) v[c] = Clamp255(Gather(bgr[c], rows[c], x, -1, 1, left[c]));
        const int index = p.Pick(v);
        const std::uint8_t* e = p.Entry(index);
        for (int c = 0; c < 3; ++c) {
            rows[c][x - 1] = static_cast<std::int16_t>(left[c]);
            left[c] = v[c] - e[c];
        }
        if (out != nullptr) out[x] = static_cast<std::uint8_t>(index);
    }
    for (int c = 0; c < 3; ++c) rows[c][w - 1] = static_cast<std::int16_t>(left[c]);
}

// The grey member's one channel: the nearest grey entry, judged by its red byte.
void StdGreyRow(const StdPal8& p, const std::uint8_t* grey, std::int32_t w, std::int16_t* errors,
                std::uint8_t* out) {
    std::int16_t* row = ErrorRow(errors, w, 0);
    int left = 0;
    if (out != nullptr && w > 0) left = grey[0] - p.Entry(p.t[768 + grey[0]])[2];
    for (std::int32_t x = 0; x < w; ++x) {
        const int v = Clamp255(Gather(grey[x], row, x, -1, 1, left));
        const int index = p.t[768 + v];
        row[x - 1] = static_cast<std::int16_t>(left);
        left = v - p.Entry(index)[2];
        if (out != nullptr) out[x] = static_cast<std::uint8_t>(index);
    }
    row[w - 1] = static_cast<std::int16_t>(left);
}

template <class Row>
int StdPal8Member(RIPRasterState* state, const RIPReduceArgs& a, RIPSourceKind kind, Row row, bool grey) {
    if (a.rows.rows < 1) return 1;
    // The tables exist only in a state made for the standard palette.
    if (a.dither == nullptr || a.dither->method > 2 || a.dstPalette == nullptr ||
        a.dstPalette->kind != kPaletteStandard) {
        return 0;
    }
    const StdPal8 p{RIPStdPaletteTables(a.dither), a.dstPalette};
    RIPSourceRows source(kind, a.srcPalette, a.rows.width);
    RIPProgressPacer pacer(state, static_cast<std::uint32_t>(a.rows.rows));
    // The priming pass leaves the first row's errors as the row above it.
    row(p, grey ? source.Greys(a.rows.src) : source.Colours(a.rows.src), a.rows.width, a.errors, nullptr);
    std::uint8_t* d = a.rows.dst;
    const std::uint8_t* s = a.rows.src;
    for (std::int32_t r = 0; r < a.rows.rows; ++r, d += a.rows.dstStride, s += a.rows.srcStride) {
        if (!pacer.Step()) return 0;
        row(p, grey ? source.Greys(s) : source.Colours(s), a.rows.width, a.errors, d);
    }
    return 1;
}

// The 16-colour palette, each piece's rows through the shared row step.
int StdPal4Member(RIPRasterState* state, const RIPReduceArgs& a, RIPSourceKind kind) {
    RIPSourceRows source(kind, a.srcPalette, a.rows.width);
    const std::int32_t w = a.rows.width;
    const std::uint32_t first = a.rows.dstBit >= 4 ? 1 : 0;
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(w));
    return ForEachRow(state, a.rows, [&](std::int32_t, std::uint8_t* d, const std::uint8_t* s) {
        RIPDiffuseRowToStdPal4(source.Colours(s), w, a.errors, indices.data(), a.dstPalette);
        for (std::int32_t x = 0; x < w; ++x) {
            PutNibble(d, first + static_cast<std::uint32_t>(x), indices[static_cast<std::size_t>(x)]);
        }
    });
}

// Any palette: serpentine rows through the palette's cache, made when missing.
int AnyPaletteMember(RIPRasterState* state, const RIPReduceArgs& a, RIPSourceKind kind) {
    RIPPalette* palette = a.dstPalette;
    if (palette == nullptr ||
        (palette->cache == nullptr && RIPBuildInverseTable(palette, kPalCacheNearest) == 0)) {
        return 0;
    }
    RIPSourceRows source(kind, a.srcPalette, a.rows.width);
    return ForEachRow(state, a.rows, [&](std::int32_t r, std::uint8_t* d, const std::uint8_t* s) {
        RIPDiffuseRowToPalette(source.Colours(s), a.rows.width, a.errors, d, (r & 1) != 0, palette,
                               palette->cache);
    });
}

}  // namespace

void RIPDiffuseRowToStdPal4(const std::uint8_t* bgr, std::int32_t width, std::int16_t* errors,
                            std::uint8_t* indices, const RIPPalette* palette) {
    std::int16_t* rows[3] = {ErrorRow(errors, width, 0), ErrorRow(errors, width, 1),
                             ErrorRow(errors, width, 2)};
    int left[3] = {0, 0, 0};
    for (std::int32_t x = 0; x < width; ++x, bgr += 3) {
        int v[3];
        for (int c = 0; c < 3; ++c) v[c] = Gather(bgr[c], rows[c], x, -1, 1, left[c]);
        const int index = RIPStdPal4Nearest(Clamp255(v[2]), Clamp255(v[1]), Clamp255(v[0])) & 0x0F;
        const std::uint8_t* e = PaletteEntry(palette, static_cast<unsigned>(index));
        for (int c = 0; c < 3; ++c) {
            rows[c][x - 1] = static_cast<std::int16_t>(left[c]);
            left[c] = v[c] - e[c];
        }
        indices[x] = static_cast<std::uint8_t>(index);
    }
    if (width > 0) {
        for (int c = 0; c < 3; ++c) rows[c][width - 1] = static_cast<std::int16_t>(left[c]);
    }
}

void RIPDiffuseGreyRowToBits(const std::uint8_t* grey, std::int32_t width, std::int16_t* errors,
                             std::uint8_t* dst, std::uint32_t dstBit) {
    std::int16_t* row = ErrorRow(errors, width, 0);
    RIPBitSink bits(dst, dstBit);
    int left = 0;
    for (std::int32_t x = 0; x < width; ++x) {
        const int v = Gather(grey[x], row, x, -1, 1, left);
        row[x - 1] = static_cast<std::int16_t>(left);
        bits.Put(v >= 128);
        left = v >= 128 ? v - 255 : v;
    }
    bits.Finish();
    if (width > 0) row[width - 1] = static_cast<std::int16_t>(left);
}

// The first row reads zeros as the row above and takes 7/16 of the left
// neighbour's error, as every later row does; no rule of its own.
void RIPDiffuseRowToPalette(const std::uint8_t* bgr, std::int32_t width, std::int16_t* errors,
                            std::uint8_t* indices, bool reverse, const RIPPalette* palette,
                            RIPPalCache* cache) {
    std::int16_t* rows[3] = {ErrorRow(errors, width, 0), ErrorRow(errors, width, 1),
                             ErrorRow(errors, width, 2)};
    const std::uint8_t* entries = palette->Entries();
    const std::ptrdiff_t step = reverse ? -1 : 1;
    std::int16_t left[3] = {0, 0, 0};
    std::ptrdiff_t x = reverse ? width - 1 : 0;
    for (std::int32_t i = 0; i < width; ++i, x += step) {
        int v[3];
        for (int c = 0; c < 3; ++c) v[c] = Clamp255(Gather(bgr[3 * x + c], rows[c], x, -step, step, left[c]));
        const std::uint8_t index =
            RIPPalCacheNearestIndex(cache, static_cast<std::uint8_t>(v[2]), static_cast<std::uint8_t>(v[1]),
                                    static_cast<std::uint8_t>(v[0]), entries);
        const std::uint8_t* e = PaletteEntry(palette, index);
        for (int c = 0; c < 3; ++c) {
            rows[c][x - step] = left[c];
            left[c] = static_cast<std::int16_t>(v[c] - e[c]);
        }
        indices[x] = index;
    }
    if (width > 0) {
        for (int c = 0; c < 3; ++c) rows[c][x - step] = left[c];
    }
}

int RIPDiffuseRGB24ToBilevel(RIPRasterState* state, const RIPReduceArgs& a) {
    return DiffuseToBits(state, a, RIPSourceKind::kRGB24);
}
int RIPDiffuseGray8ToBilevel(RIPRasterState* state, const RIPReduceArgs& a) {
    return DiffuseToBits(state, a, RIPSourceKind::kGray8);
}
int RIPDiffusePal8ToBilevel(RIPRasterState* state, const RIPReduceArgs& a) {
    return DiffuseToBits(state, a, RIPSourceKind::kPal8);
}
int RIPDiffuseRGB24ToStdPal8(RIPRasterState* state, const RIPReduceArgs& a) {
    return StdPal8Member(state, a, RIPSourceKind::kRGB24, &StdPal8Row, false);
}
int RIPDiffuseGray8ToStdPal8(RIPRasterState* state, const RIPReduceArgs& a) {
    return StdPal8Member(state, a, RIPSourceKind::kGray8, &StdGreyRow, true);
}
int RIPDiffuseRGB24ToStdPal4(RIPRasterState* state, const RIPReduceArgs& a) {
    return StdPal4Member(state, a, RIPSourceKind::kRGB24);
}
int RIPDiffuseGray8ToStdPal4(RIPRasterState* state, const RIPReduceArgs& a) {
    return StdPal4Member(state, a, RIPSourceKind::kGray8);
}
int RIPDiffuseRGB24ToPal8(RIPRasterState* state, const RIPReduceArgs& a) {
    return AnyPaletteMember(state, a, RIPSourceKind::kRGB24);
}
int RIPDiffuseGray8ToPal8(RIPRasterState* state, const RIPReduceArgs& a) {
    return AnyPaletteMember(state, a, RIPSourceKind::kGray8);
}

}  // namespace raster::convert
