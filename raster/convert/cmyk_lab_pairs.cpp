// The pairs with CMYK and Lab on one side. Colours are converted by the
// colour module's row conversions; these converters only repack around
// them (grey to RGB and back, 16-bit samples to bytes and back), through a
// temporary 24-bit block where the colour module cannot read or write the
// pixels directly.
#include <algorithm>

#include "colour/rows.h"
#include "pair_converters.h"
#include "pair_pixels.h"
#include "raster/raster_state.h"
#include "row_kernels.h"
#include "temp_rows.h"

namespace raster::convert {
namespace {

using ClrRows = int (*)(const colour::ClrKindsTable*, std::uint8_t*, int, const std::uint8_t*, int, int, int);

// The colour module straight between the slots.
int Direct(ClrRows rows, std::int32_t dstBits, std::int32_t srcBits, RIPRasterState* rs, RIPTileSlot* d,
           std::int32_t x, std::int32_t y, RIPTileSlot* s, std::int32_t sx, std::int32_t sy, std::int32_t w,
           std::int32_t h) {
    return OneUnit(rs, d, x, y, dstBits, s, sx, sy, srcBits, [&](std::uint8_t* dst, const std::uint8_t* src) {
        rows(nullptr, dst, d->rowBytes, src, s->rowBytes, w, h);
    });
}

// Through a temporary 24-bit block: fill(tmp, stride, src) makes it from the
// source rows, empty(dst, tmp, stride) writes the destination from it. With
// tickBetween the progress tick comes between the two steps.
template <class Fill, class Empty>
int ThroughBlock(std::int32_t dstBits, std::int32_t srcBits, RIPRasterState* rs, RIPTileSlot* d,
                 std::int32_t x, std::int32_t y, RIPTileSlot* s, std::int32_t sx, std::int32_t sy,
                 std::int32_t w, std::int32_t h, Fill fill, Empty empty, bool tickBetween = false) {
    RIPTempRows tmp(3 * static_cast<std::int64_t>(w), h);
    if (!tmp) return 0;
    RIPProgressPacer pacer(rs, 1);
    fill(tmp.data(), tmp.stride(), SlotPixel(s, sx, sy, srcBits));
    if (tickBetween && !pacer.Step()) return 0;
    empty(SlotPixel(d, x, y, dstBits), tmp.data(), tmp.stride());
    return tickBetween || pacer.Step() ? 1 : 0;
}

// Fills of the temporary block.
auto FromColour(ClrRows rows, const RIPTileSlot* s, std::int32_t w, std::int32_t h) {
    return [=](std::uint8_t* tmp, std::ptrdiff_t stride, const std::uint8_t* src) {
        rows(nullptr, tmp, static_cast<int>(stride), src, s->rowBytes, w, h);
    };
}
template <std::size_t SrcBytes, std::size_t HighByte>
auto GreyIntoRGB(const RIPTileSlot* s, std::int32_t w, std::int32_t h) {
    return [=](std::uint8_t* tmp, std::ptrdiff_t stride, const std::uint8_t* src) {
        ForEachPixel<SrcBytes, 3>(
            tmp, src, stride, s->rowBytes, w, h,
            [](std::uint8_t* p, const std::uint8_t* q) { p[0] = p[1] = p[2] = q[HighByte]; });
    };
}
auto Narrowed(const RIPTileSlot* s, std::int32_t w, std::int32_t h) {
    return [=](std::uint8_t* tmp, std::ptrdiff_t stride, const std::uint8_t* src) {
        RIPNarrowRGB48To24(tmp, src, stride, s->rowBytes, w, h);
    };
}

// Empties of the temporary block.
auto IntoColour(ClrRows rows, const RIPTileSlot* d, std::int32_t w, std::int32_t h) {
    return [=](std::uint8_t* dst, const std::uint8_t* tmp, std::ptrdiff_t stride) {
        rows(nullptr, dst, d->rowBytes, tmp, static_cast<int>(stride), w, h);
    };
}
auto IntoGrey8(const RIPTileSlot* d, std::int32_t w, std::int32_t h) {
    return [=](std::uint8_t* dst, const std::uint8_t* tmp, std::ptrdiff_t stride) {
        ForEachPixel<3, 1>(dst, tmp, d->rowBytes, stride, w, h,
                           [](std::uint8_t* p, const std::uint8_t* q) { *p = RIPGreyOf(q[0], q[1], q[2]); });
    };
}
auto IntoBlock(int (*block)(std::uint8_t*, const std::uint8_t*, std::ptrdiff_t, std::ptrdiff_t, std::int32_t,
                            std::int32_t),
               const RIPTileSlot* d, std::int32_t w, std::int32_t h) {
    return [=](std::uint8_t* dst, const std::uint8_t* tmp, std::ptrdiff_t stride) {
        block(dst, tmp, d->rowBytes, stride, w, h);
    };
}

// Lab rows one at a time through a one-row RGB buffer, then repacked.
template <class Repack>
int LabByRow(std::int32_t dstBits, RIPRasterState* rs, RIPTileSlot* d, std::int32_t x, std::int32_t y,
             RIPTileSlot* s, std::int32_t sx, std::int32_t sy, std::int32_t w, std::int32_t h,
             Repack repack) {
    RIPTempRows row(3 * static_cast<std::int64_t>(w), 1);
    if (!row) return 0;
    return OneUnit(rs, d, x, y, dstBits, s, sx, sy, 24, [&](std::uint8_t* dst, const std::uint8_t* src) {
        for (std::int32_t r = 0; r < h; ++r, dst += d->rowBytes, src += s->rowBytes) {
            colour::ClrLabRowsToRGBStrided(nullptr, row.data(), static_cast<int>(row.stride()), src,
                                           s->rowBytes, w, 1);
            repack(dst, row.data());
        }
    });
}

}  // namespace

int RIPConvertCMYKToRGB24(RIPRasterState* rs, RIPTileSlot* d, std::int32_t x, std::int32_t y, RIPTileSlot* s,
                          std::int32_t sx, std::int32_t sy, std::int32_t w, std::int32_t h) {
    const colour::ClrKindsTable* kinds = rs != nullptr ? rs->conversionKinds : nullptr;
    const int mode = rs != nullptr ? rs->cmykToRGBMode : 1;
    return OneUnit(rs, d, x, y, 24, s, sx, sy, 32, [&](std::uint8_t* dst, const std::uint8_t* src) {
        RIPCMYKRowsToRGB(dst, d->rowBytes, src, s->rowBytes, w, h, kinds, mode);
    });
}

int RIPConvertCMYKToGray8(RIPRasterState* rs, RIPTileSlot* d, std::int32_t x, std::int32_t y, RIPTileSlot* s,
                          std::int32_t sx, std::int32_t sy, std::int32_t w, std::int32_t h) {
    return ThroughBlock(8, 32, rs, d, x, y, s, sx, sy, w, h,
                        FromColour(&colour::ClrCMYKRowsToRGBStrided, s, w, h), IntoGrey8(d, w, h));
}

int RIPConvertCMYKToRGB48(RIPRasterState* rs, RIPTileSlot* d, std::int32_t x, std::int32_t y, RIPTileSlot* s,
                          std::int32_t sx, std::int32_t sy, std::int32_t w, std::int32_t h) {
    return ThroughBlock(48, 32, rs, d, x, y, s, sx, sy, w, h,
                        FromColour(&colour::ClrCMYKRowsToRGBStrided, s, w, h),
                        IntoBlock(&RIPWidenRGB24To48, d, w, h));
}

int RIPConvertCMYKToGray16(RIPRasterState* rs, RIPTileSlot* d, std::int32_t x, std::int32_t y, RIPTileSlot* s,
                           std::int32_t sx, std::int32_t sy, std::int32_t w, std::int32_t h) {
    return ThroughBlock(16, 32, rs, d, x, y, s, sx, sy, w, h,
                        FromColour(&colour::ClrCMYKRowsToRGBStrided, s, w, h),
                        IntoBlock(&RIPRGB24ToGray16Block, d, w, h));
}

int RIPConvertCMYKToLab(RIPRasterState* rs, RIPTileSlot* d, std::int32_t x, std::int32_t y, RIPTileSlot* s,
                        std::int32_t sx, std::int32_t sy, std::int32_t w, std::int32_t h) {
    return Direct(&colour::ClrCMYKRowsToLabStrided, 24, 32, rs, d, x, y, s, sx, sy, w, h);
}

int RIPConvertRGB24ToCMYK(RIPRasterState* rs, RIPTileSlot* d, std::int32_t x, std::int32_t y, RIPTileSlot* s,
                          std::int32_t sx, std::int32_t sy, std::int32_t w, std::int32_t h) {
    return Direct(&colour::ClrRGBRowsToCMYKStrided, 32, 24, rs, d, x, y, s, sx, sy, w, h);
}

int RIPConvertGray8ToCMYK(RIPRasterState* rs, RIPTileSlot* d, std::int32_t x, std::int32_t y, RIPTileSlot* s,
                          std::int32_t sx, std::int32_t sy, std::int32_t w, std::int32_t h) {
    return ThroughBlock(32, 8, rs, d, x, y, s, sx, sy, w, h, GreyIntoRGB<1, 0>(s, w, h),
                        IntoColour(&colour::ClrRGBRowsToCMYKStrided, d, w, h));
}

int RIPConvertGray16ToCMYK(RIPRasterState* rs, RIPTileSlot* d, std::int32_t x, std::int32_t y, RIPTileSlot* s,
                           std::int32_t sx, std::int32_t sy, std::int32_t w, std::int32_t h) {
    return ThroughBlock(32, 16, rs, d, x, y, s, sx, sy, w, h, GreyIntoRGB<2, 1>(s, w, h),
                        IntoColour(&colour::ClrRGBRowsToCMYKStrided, d, w, h));
}

int RIPConvertRGB48ToCMYK(RIPRasterState* rs, RIPTileSlot* d, std::int32_t x, std::int32_t y, RIPTileSlot* s,
                          std::int32_t sx, std::int32_t sy, std::int32_t w, std::int32_t h) {
    return ThroughBlock(32, 48, rs, d, x, y, s, sx, sy, w, h, Narrowed(s, w, h),
                        IntoColour(&colour::ClrRGBRowsToCMYKStrided, d, w, h));
}

int RIPConvertBilevelToCMYK(RIPRasterState* rs, RIPTileSlot* d, std::int32_t x, std::int32_t y,
                            RIPTileSlot* s, std::int32_t sx, std::int32_t sy, std::int32_t w,
                            std::int32_t h) {
    const std::uint8_t blackWhite[6] = {0, 0, 0, 255, 255, 255};
    std::uint8_t inks[8];
    if (colour::ClrRGBRowsToCMYK(nullptr, inks, blackWhite, 2, 1) == 0) return 0;
    const auto packed = [](const std::uint8_t* p) {
        return static_cast<std::uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16)) |
               (static_cast<std::uint32_t>(p[3]) << 24);
    };
    return RIPExpandBitsToCMYK(rs, SlotRows(d, x, y, 32, s, sx, sy, 1, w, h), packed(inks), packed(inks + 4));
}

int RIPConvertLabToRGB24(RIPRasterState* rs, RIPTileSlot* d, std::int32_t x, std::int32_t y, RIPTileSlot* s,
                         std::int32_t sx, std::int32_t sy, std::int32_t w, std::int32_t h) {
    return Direct(&colour::ClrLabRowsToRGBStrided, 24, 24, rs, d, x, y, s, sx, sy, w, h);
}

int RIPConvertLabToGray8(RIPRasterState* rs, RIPTileSlot* d, std::int32_t x, std::int32_t y, RIPTileSlot* s,
                         std::int32_t sx, std::int32_t sy, std::int32_t w, std::int32_t h) {
    return ThroughBlock(8, 24, rs, d, x, y, s, sx, sy, w, h,
                        FromColour(&colour::ClrLabRowsToRGBStrided, s, w, h), IntoGrey8(d, w, h), true);
}

int RIPConvertLabToCMYK(RIPRasterState* rs, RIPTileSlot* d, std::int32_t x, std::int32_t y, RIPTileSlot* s,
                        std::int32_t sx, std::int32_t sy, std::int32_t w, std::int32_t h) {
    return Direct(&colour::ClrLabRowsToCMYKStrided, 32, 24, rs, d, x, y, s, sx, sy, w, h);
}

int RIPConvertLabToRGB48(RIPRasterState* rs, RIPTileSlot* d, std::int32_t x, std::int32_t y, RIPTileSlot* s,
                         std::int32_t sx, std::int32_t sy, std::int32_t w, std::int32_t h) {
    return LabByRow(48, rs, d, x, y, s, sx, sy, w, h, [w](std::uint8_t* dst, const std::uint8_t* rgb) {
        RIPWidenRGB24To48(dst, rgb, 0, 0, w, 1);
    });
}

int RIPConvertLabToGray16(RIPRasterState* rs, RIPTileSlot* d, std::int32_t x, std::int32_t y, RIPTileSlot* s,
                          std::int32_t sx, std::int32_t sy, std::int32_t w, std::int32_t h) {
    return LabByRow(16, rs, d, x, y, s, sx, sy, w, h, [w](std::uint8_t* dst, const std::uint8_t* rgb) {
        RIPRGB24ToGray16Block(dst, rgb, 0, 0, w, 1);
    });
}

int RIPConvertRGB24ToLab(RIPRasterState* rs, RIPTileSlot* d, std::int32_t x, std::int32_t y, RIPTileSlot* s,
                         std::int32_t sx, std::int32_t sy, std::int32_t w, std::int32_t h) {
    return Direct(&colour::ClrRGBRowsToLabStrided, 24, 24, rs, d, x, y, s, sx, sy, w, h);
}

int RIPConvertGray8ToLab(RIPRasterState* rs, RIPTileSlot* d, std::int32_t x, std::int32_t y, RIPTileSlot* s,
                         std::int32_t sx, std::int32_t sy, std::int32_t w, std::int32_t h) {
    return ThroughBlock(24, 8, rs, d, x, y, s, sx, sy, w, h, GreyIntoRGB<1, 0>(s, w, h),
                        IntoColour(&colour::ClrRGBRowsToLabStrided, d, w, h));
}

int RIPConvertRGB48ToLab(RIPRasterState* rs, RIPTileSlot* d, std::int32_t x, std::int32_t y, RIPTileSlot* s,
                         std::int32_t sx, std::int32_t sy, std::int32_t w, std::int32_t h) {
    return ThroughBlock(24, 48, rs, d, x, y, s, sx, sy, w, h, Narrowed(s, w, h),
                        IntoColour(&colour::ClrRGBRowsToLabStrided, d, w, h));
}

int RIPConvertGray16ToLab(RIPRasterState* rs, RIPTileSlot* d, std::int32_t x, std::int32_t y, RIPTileSlot* s,
                          std::int32_t sx, std::int32_t sy, std::int32_t w, std::int32_t h) {
    return ThroughBlock(24, 16, rs, d, x, y, s, sx, sy, w, h, GreyIntoRGB<2, 1>(s, w, h),
                        IntoColour(&colour::ClrRGBRowsToLabStrided, d, w, h));
}

}  // namespace raster::convert
