// Error diffusion over whole rectangles into bilevel and 8-bit paletted
// images, and into 4-bit images of the standard 16-colour palette. Rows are read from the source's tiles into a row buffer, turned
// into greys (bilevel targets) or colour triples (paletted targets),
// diffused, and written into the destination's tiles: each tile is locked
// once per run of a row that lies in it, and the error rows carry across
// tile edges as they do inside one tile.
#include "whole_reductions.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "colour/rows.h"
#include "convert/convert_image.h"
#include "dither_rows.h"
#include "dither_state.h"
#include "dithering.h"
#include "raster/bit_rows.h"
#include "raster/image.h"
#include "raster/palette.h"
#include "raster/storage.h"

namespace raster::convert {
namespace {

// Visits the runs of row y from x over n pixels that lie in one slot each:
// fn(slot, slot-relative x, slot-relative y, offset of the run, count), the
// slot locked around the call. false for a position outside the tiles or a
// failed lock.
template <class Fn>
bool ForEachRun(RIPImage* image, std::int32_t x, std::int32_t y, std::int32_t n, bool write, Fn fn) {
    for (std::int32_t done = 0; done < n;) {
        RIPTileSlot* slot = RIPSlotAt(image, x + done, y);
        if (slot == nullptr) return false;
        const std::int32_t count = std::min<std::int32_t>(n - done, slot->right - (x + done) + 1);
        if ((write ? RIPTileLock(slot) : RIPTileLockRead(slot)) == 0) return false;
        if (slot->data != nullptr) fn(slot, x + done - slot->left, y - slot->bottom, done, count);
        const bool ok = slot->data != nullptr;
        if (RIPTileUnlock(slot) == 0 || !ok) return false;
        done += count;
    }
    return true;
}

// Row y's bytes (whole-byte pixels) into out.
bool ReadRow(RIPImage* image, std::int32_t x, std::int32_t y, std::int32_t n, std::uint8_t* out) {
    const std::size_t size = static_cast<std::size_t>(image->bitsPerPixel / 8);
    return ForEachRun(
        image, x, y, n, false,
        [&](RIPTileSlot* s, std::int32_t sx, std::int32_t sy, std::int32_t at, std::int32_t count) {
            std::memcpy(out + at * size, SlotPixel(s, sx, sy, image->bitsPerPixel), count * size);
        });
}

// Bits from bit 0 of `bits`, or index bytes, into row y (packed into
// nibbles for a 4-bit image).
bool WriteRow(RIPImage* image, std::int32_t x, std::int32_t y, std::int32_t n, const std::uint8_t* in) {
    const std::int32_t bits = image->bitsPerPixel;
    return ForEachRun(
        image, x, y, n, true,
        [&](RIPTileSlot* s, std::int32_t sx, std::int32_t sy, std::int32_t at, std::int32_t count) {
            std::uint8_t* row = s->data + static_cast<std::ptrdiff_t>(s->rowBytes) * sy;
            if (bits == 1) {
                RIPCopyBitsAtOffset(row, static_cast<std::uint32_t>(sx), in, static_cast<std::uint32_t>(at),
                                    static_cast<std::uint32_t>(count));
            } else if (bits == 4) {
                for (std::int32_t i = 0; i < count; ++i) {
                    PutNibble(row, static_cast<std::uint32_t>(sx + i), in[at + i]);
                }
            } else {
                std::memcpy(row + sx, in + at, static_cast<std::size_t>(count));
            }
        });
}

enum class Source { kRGB24, kCMYK, kGray8, kPal8 };

// The common frame: the pacer's opening report, the error rows, then each
// row after a tick: read, reduce with step(row index, source bytes, out),
// write.
template <class Step>
int Frame(RIPRasterState* state, RIPImage* dst, std::int32_t x, std::int32_t y, std::int32_t w,
          std::int32_t h, RIPImage* src, std::int32_t sx, std::int32_t sy, std::size_t outBytes, Step step) {
    if (dst == nullptr || src == nullptr || w < 1 || h < 1 || x < 0 || y < 0 || sx < 0 || sy < 0) return 0;
    RIPProgressPacer pacer(state, static_cast<std::uint32_t>(h));
    std::int16_t* errors = RIPAllocErrorRows(w);
    if (errors == nullptr) return 0;
    std::vector<std::uint8_t> in(static_cast<std::size_t>(w) *
                                 static_cast<std::size_t>(src->bitsPerPixel / 8));
    std::vector<std::uint8_t> out(outBytes);
    int result = 1;
    for (std::int32_t r = 0; r < h && result != 0; ++r) {
        if (!pacer.Step() || !ReadRow(src, sx, sy + r, w, in.data())) {
            result = 0;
            break;
        }
        if (!step(r, in.data(), errors, out.data()) || !WriteRow(dst, x, y + r, w, out.data())) result = 0;
    }
    RIPFreeErrorRows(errors);
    return result;
}

int ToBilevel(RIPRasterState* state, RIPImage* dst, std::int32_t x, std::int32_t y, std::int32_t w,
              std::int32_t h, RIPImage* src, std::int32_t sx, std::int32_t sy, Source kind) {
    const RIPSourceKind rows = kind == Source::kGray8  ? RIPSourceKind::kGray8
                               : kind == Source::kPal8 ? RIPSourceKind::kPal8
                                                       : RIPSourceKind::kRGB24;
    RIPSourceRows source(rows, src != nullptr ? src->palette : nullptr, w);
    std::vector<std::uint8_t> rgb(kind == Source::kCMYK ? 3 * static_cast<std::size_t>(w) : 0);
    return Frame(state, dst, x, y, w, h, src, sx, sy, (static_cast<std::size_t>(w) + 7) / 8,
                 [&](std::int32_t, const std::uint8_t* in, std::int16_t* errors, std::uint8_t* out) {
                     if (kind == Source::kCMYK) {
                         colour::ClrCMYKRowsToRGBStrided(nullptr, rgb.data(), 3 * w, in, 4 * w, w, 1);
                         in = rgb.data();
                     }
                     RIPDiffuseGreyRowToBits(source.Greys(in), w, errors, out, 0);
                     return true;
                 });
}

int ToPal8(RIPRasterState* state, RIPImage* dst, std::int32_t x, std::int32_t y, std::int32_t w,
           std::int32_t h, RIPImage* src, std::int32_t sx, std::int32_t sy, RIPSourceKind kind) {
    RIPPalette* palette = dst != nullptr ? dst->palette : nullptr;
    if (palette == nullptr ||
        (palette->cache == nullptr && RIPBuildInverseTable(palette, kPalCacheNearest) == 0)) {
        return 0;
    }
    RIPSourceRows source(kind, src != nullptr ? src->palette : nullptr, w);
    return Frame(state, dst, x, y, w, h, src, sx, sy, static_cast<std::size_t>(w),
                 [&](std::int32_t r, const std::uint8_t* in, std::int16_t* errors, std::uint8_t* out) {
                     RIPDiffuseRowToPalette(source.Colours(in), w, errors, out, (r & 1) != 0, palette,
                                            palette->cache);
                     return true;
                 });
}

int ToStdPal4(RIPRasterState* state, RIPImage* dst, std::int32_t x, std::int32_t y, std::int32_t w,
              std::int32_t h, RIPImage* src, std::int32_t sx, std::int32_t sy, RIPSourceKind kind) {
    RIPPalette* palette = dst != nullptr ? dst->palette : nullptr;
    if (palette == nullptr || dst->bitsPerPixel != 4) return 0;
    RIPSourceRows source(kind, src != nullptr ? src->palette : nullptr, w);
    return Frame(state, dst, x, y, w, h, src, sx, sy, static_cast<std::size_t>(w),
                 [&](std::int32_t, const std::uint8_t* in, std::int16_t* errors, std::uint8_t* out) {
                     RIPDiffuseRowToStdPal4(source.Colours(in), w, errors, out, palette);
                     return true;
                 });
}

// Through a temporary image of `type`, converted into with the same state.
int ThroughTemporary(RIPRasterState* state, std::int32_t type, RIPWholeConverter then, RIPImage* dst,
                     std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, RIPImage* src,
                     std::int32_t sx, std::int32_t sy) {
    RIPImage* temporary = RIPCreateImageEx(type, w, h, 0, 0, kAllowTiling, nullptr, 0);
    if (temporary == nullptr) return 0;
    const int result = RIPConvertImageToImage(state, temporary, 0, 0, src, sx, sy, w, h) != 0 &&
                               then(state, dst, x, y, w, h, temporary, 0, 0) != 0
                           ? 1
                           : 0;
    RIPDestroyImage(temporary);
    return result;
}

}  // namespace

int RIPConvertRGB24ToBilevel(RIPRasterState* rs, RIPImage* d, std::int32_t x, std::int32_t y, std::int32_t w,
                             std::int32_t h, RIPImage* s, std::int32_t sx, std::int32_t sy) {
    return ToBilevel(rs, d, x, y, w, h, s, sx, sy, Source::kRGB24);
}
int RIPConvertCMYKToBilevel(RIPRasterState* rs, RIPImage* d, std::int32_t x, std::int32_t y, std::int32_t w,
                            std::int32_t h, RIPImage* s, std::int32_t sx, std::int32_t sy) {
    return ToBilevel(rs, d, x, y, w, h, s, sx, sy, Source::kCMYK);
}
int RIPConvertPal8ToBilevel(RIPRasterState* rs, RIPImage* d, std::int32_t x, std::int32_t y, std::int32_t w,
                            std::int32_t h, RIPImage* s, std::int32_t sx, std::int32_t sy) {
    return ToBilevel(rs, d, x, y, w, h, s, sx, sy, Source::kPal8);
}
int RIPConvertGray8ToBilevel(RIPRasterState* rs, RIPImage* d, std::int32_t x, std::int32_t y, std::int32_t w,
                             std::int32_t h, RIPImage* s, std::int32_t sx, std::int32_t sy) {
    return ToBilevel(rs, d, x, y, w, h, s, sx, sy, Source::kGray8);
}
int RIPConvertAnyToBilevel(RIPRasterState* rs, RIPImage* d, std::int32_t x, std::int32_t y, std::int32_t w,
                           std::int32_t h, RIPImage* s, std::int32_t sx, std::int32_t sy) {
    return ThroughTemporary(rs, kTypeGrey8, &RIPConvertGray8ToBilevel, d, x, y, w, h, s, sx, sy);
}
int RIPConvertRGB24ToPal8(RIPRasterState* rs, RIPImage* d, std::int32_t x, std::int32_t y, std::int32_t w,
                          std::int32_t h, RIPImage* s, std::int32_t sx, std::int32_t sy) {
    return ToPal8(rs, d, x, y, w, h, s, sx, sy, RIPSourceKind::kRGB24);
}
int RIPConvertPal8ToPal8(RIPRasterState* rs, RIPImage* d, std::int32_t x, std::int32_t y, std::int32_t w,
                         std::int32_t h, RIPImage* s, std::int32_t sx, std::int32_t sy) {
    return ToPal8(rs, d, x, y, w, h, s, sx, sy, RIPSourceKind::kPal8);
}
int RIPConvertGray8ToPal8(RIPRasterState* rs, RIPImage* d, std::int32_t x, std::int32_t y, std::int32_t w,
                          std::int32_t h, RIPImage* s, std::int32_t sx, std::int32_t sy) {
    return ToPal8(rs, d, x, y, w, h, s, sx, sy, RIPSourceKind::kGray8);
}
int RIPConvertAnyToPal8(RIPRasterState* rs, RIPImage* d, std::int32_t x, std::int32_t y, std::int32_t w,
                        std::int32_t h, RIPImage* s, std::int32_t sx, std::int32_t sy) {
    return ThroughTemporary(rs, kTypeRGB24, &RIPConvertRGB24ToPal8, d, x, y, w, h, s, sx, sy);
}

int RIPConvertRGB24ToStdPal4(RIPRasterState* rs, RIPImage* d, std::int32_t x, std::int32_t y, std::int32_t w,
                             std::int32_t h, RIPImage* s, std::int32_t sx, std::int32_t sy) {
    return ToStdPal4(rs, d, x, y, w, h, s, sx, sy, RIPSourceKind::kRGB24);
}
int RIPConvertGray8ToStdPal4(RIPRasterState* rs, RIPImage* d, std::int32_t x, std::int32_t y, std::int32_t w,
                             std::int32_t h, RIPImage* s, std::int32_t sx, std::int32_t sy) {
    return ToStdPal4(rs, d, x, y, w, h, s, sx, sy, RIPSourceKind::kGray8);
}

int RIPConvertAnyToStdPal4(RIPRasterState* rs, RIPImage* d, std::int32_t x, std::int32_t y, std::int32_t w,
                           std::int32_t h, RIPImage* s, std::int32_t sx, std::int32_t sy) {
    return ThroughTemporary(rs, kTypeRGB24, &RIPConvertRGB24ToStdPal4, d, x, y, w, h, s, sx, sy);
}

RIPWholeConverter RIPStdPal4DiffusionConverter(int sourceIndex) {
    switch (sourceIndex) {
        case 0: return &RIPConvertRGB24ToStdPal4;
        case 2: return &RIPConvertGray8ToStdPal4;
        case 1:  // CMYK
        case 5:  // Lab
            return &RIPConvertAnyToStdPal4;
        default: return nullptr;
    }
}

RIPWholeConverter RIPDiffusionConverter(int sourceIndex, int destinationIndex) {
    static constexpr RIPWholeConverter kTable[9][2] = {
        {&RIPConvertRGB24ToBilevel, &RIPConvertRGB24ToPal8},  // 1
        {&RIPConvertCMYKToBilevel, &RIPConvertAnyToPal8},     // 3
        {&RIPConvertGray8ToBilevel, &RIPConvertGray8ToPal8},  // 5, 99
        {nullptr, nullptr},                                   // 6
        {&RIPConvertPal8ToBilevel, &RIPConvertPal8ToPal8},    // 10 with 8 bits
        {&RIPConvertAnyToBilevel, &RIPConvertAnyToPal8},      // 11
        {nullptr, nullptr},                                   // 10 with 1 or 4 bits
        {&RIPConvertAnyToBilevel, &RIPConvertAnyToPal8},      // 12
        {&RIPConvertAnyToBilevel, &RIPConvertAnyToPal8},      // 14
    };
    if (sourceIndex < 0 || sourceIndex > 8) return nullptr;
    if (destinationIndex == 3) return kTable[sourceIndex][0];
    if (destinationIndex == 4) return kTable[sourceIndex][1];
    return nullptr;
}

}  // namespace raster::convert
