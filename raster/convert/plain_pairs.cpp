// The pairs among 24-bit RGB, 48-bit RGB, 8-bit grey and 16-bit grey: bytes
// widened to samples as b × 257, samples narrowed to their high byte, greys
// weighted 3 : 6 : 1 (red, green, blue).
#include <algorithm>

#include "pair_converters.h"
#include "pair_pixels.h"

namespace raster::convert {

int RIPWidenRGB24To48(std::uint8_t* dst, const std::uint8_t* src, std::ptrdiff_t dstStride,
                      std::ptrdiff_t srcStride, std::int32_t width, std::int32_t rows) {
    ForEachPixel<3, 6>(dst, src, dstStride, srcStride, width, rows,
                       [](std::uint8_t* d, const std::uint8_t* s) {
                           for (int c = 0; c < 3; ++c) PutSample16(d + 2 * c, RIPWiden(s[c]));
                       });
    return 1;
}

int RIPNarrowRGB48To24(std::uint8_t* dst, const std::uint8_t* src, std::ptrdiff_t dstStride,
                       std::ptrdiff_t srcStride, std::int32_t width, std::int32_t rows) {
    ForEachPixel<6, 3>(dst, src, dstStride, srcStride, width, rows,
                       [](std::uint8_t* d, const std::uint8_t* s) {
                           for (int c = 0; c < 3; ++c) d[c] = s[2 * c + 1];
                       });
    return 1;
}

int RIPRGB24ToGray16Block(std::uint8_t* dst, const std::uint8_t* src, std::ptrdiff_t dstStride,
                          std::ptrdiff_t srcStride, std::int32_t width, std::int32_t rows) {
    ForEachPixel<3, 2>(dst, src, dstStride, srcStride, width, rows,
                       [](std::uint8_t* d, const std::uint8_t* s) {
                           PutSample16(d, RIPWiden(RIPGreyOf(s[0], s[1], s[2])));
                       });
    return 1;
}

int RIPWidenGray8To16(std::uint8_t* dst, const std::uint8_t* src, std::ptrdiff_t dstStride,
                      std::ptrdiff_t srcStride, std::int32_t width, std::int32_t rows) {
    ForEachPixel<1, 2>(dst, src, dstStride, srcStride, width, rows,
                       [](std::uint8_t* d, const std::uint8_t* s) { PutSample16(d, RIPWiden(*s)); });
    return 1;
}

int RIPCopyHighBytes16(std::uint8_t* dst, const std::uint8_t* src, std::ptrdiff_t dstStride,
                       std::ptrdiff_t srcStride, std::int32_t width, std::int32_t rows) {
    ForEachPixel<2, 1>(dst, src, dstStride, srcStride, width, rows,
                       [](std::uint8_t* d, const std::uint8_t* s) { *d = s[1]; });
    return 1;
}

namespace {

using Block = int (*)(std::uint8_t*, const std::uint8_t*, std::ptrdiff_t, std::ptrdiff_t, std::int32_t,
                      std::int32_t);

int ThroughBlock(Block block, std::int32_t dstBits, std::int32_t srcBits, RIPRasterState* state,
                 RIPTileSlot* d, std::int32_t x, std::int32_t y, RIPTileSlot* s, std::int32_t sx,
                 std::int32_t sy, std::int32_t w, std::int32_t h) {
    return OneUnit(
        state, d, x, y, dstBits, s, sx, sy, srcBits,
        [&](std::uint8_t* dst, const std::uint8_t* src) { block(dst, src, d->rowBytes, s->rowBytes, w, h); });
}

template <std::size_t SrcBytes, std::size_t DstBytes, class Rule>
int ByRule(Rule rule, RIPRasterState* state, RIPTileSlot* d, std::int32_t x, std::int32_t y, RIPTileSlot* s,
           std::int32_t sx, std::int32_t sy, std::int32_t w, std::int32_t h) {
    return OneUnit(state, d, x, y, DstBytes * 8, s, sx, sy, SrcBytes * 8,
                   [&](std::uint8_t* dst, const std::uint8_t* src) {
                       ForEachPixel<SrcBytes, DstBytes>(dst, src, d->rowBytes, s->rowBytes, w, h, rule);
                   });
}

}  // namespace

int RIPConvertRGB24ToRGB48(RIPRasterState* rs, RIPTileSlot* d, std::int32_t x, std::int32_t y, RIPTileSlot* s,
                           std::int32_t sx, std::int32_t sy, std::int32_t w, std::int32_t h) {
    return ThroughBlock(&RIPWidenRGB24To48, 48, 24, rs, d, x, y, s, sx, sy, w, h);
}

int RIPConvertRGB48ToRGB24(RIPRasterState* rs, RIPTileSlot* d, std::int32_t x, std::int32_t y, RIPTileSlot* s,
                           std::int32_t sx, std::int32_t sy, std::int32_t w, std::int32_t h) {
    return ThroughBlock(&RIPNarrowRGB48To24, 24, 48, rs, d, x, y, s, sx, sy, w, h);
}

int RIPConvertRGB24ToGray16(RIPRasterState* rs, RIPTileSlot* d, std::int32_t x, std::int32_t y,
                            RIPTileSlot* s, std::int32_t sx, std::int32_t sy, std::int32_t w,
                            std::int32_t h) {
    return ThroughBlock(&RIPRGB24ToGray16Block, 16, 24, rs, d, x, y, s, sx, sy, w, h);
}

int RIPConvertGray8ToGray16(RIPRasterState* rs, RIPTileSlot* d, std::int32_t x, std::int32_t y,
                            RIPTileSlot* s, std::int32_t sx, std::int32_t sy, std::int32_t w,
                            std::int32_t h) {
    return ThroughBlock(&RIPWidenGray8To16, 16, 8, rs, d, x, y, s, sx, sy, w, h);
}

int RIPConvertGray16ToGray8(RIPRasterState* rs, RIPTileSlot* d, std::int32_t x, std::int32_t y,
                            RIPTileSlot* s, std::int32_t sx, std::int32_t sy, std::int32_t w,
                            std::int32_t h) {
    return ThroughBlock(&RIPCopyHighBytes16, 8, 16, rs, d, x, y, s, sx, sy, w, h);
}

int RIPConvertGray16ToRGB24(RIPRasterState* rs, RIPTileSlot* d, std::int32_t x, std::int32_t y,
                            RIPTileSlot* s, std::int32_t sx, std::int32_t sy, std::int32_t w,
                            std::int32_t h) {
    return ByRule<2, 3>([](std::uint8_t* p, const std::uint8_t* q) { p[0] = p[1] = p[2] = q[1]; }, rs, d, x,
                        y, s, sx, sy, w, h);
}

int RIPConvertRGB48ToGray16(RIPRasterState* rs, RIPTileSlot* d, std::int32_t x, std::int32_t y,
                            RIPTileSlot* s, std::int32_t sx, std::int32_t sy, std::int32_t w,
                            std::int32_t h) {
    return ByRule<6, 2>(
        [](std::uint8_t* p, const std::uint8_t* q) {
            PutSample16(p, RIPGrey16Of(Sample(q), Sample(q + 2), Sample(q + 4)));
        },
        rs, d, x, y, s, sx, sy, w, h);
}

int RIPConvertGray16ToRGB48(RIPRasterState* rs, RIPTileSlot* d, std::int32_t x, std::int32_t y,
                            RIPTileSlot* s, std::int32_t sx, std::int32_t sy, std::int32_t w,
                            std::int32_t h) {
    return ByRule<2, 6>(
        [](std::uint8_t* p, const std::uint8_t* q) {
            for (int c = 0; c < 3; ++c) p[2 * c] = q[0], p[2 * c + 1] = q[1];
        },
        rs, d, x, y, s, sx, sy, w, h);
}

int RIPConvertRGB48ToGray8(RIPRasterState* rs, RIPTileSlot* d, std::int32_t x, std::int32_t y, RIPTileSlot* s,
                           std::int32_t sx, std::int32_t sy, std::int32_t w, std::int32_t h) {
    return ByRule<6, 1>([](std::uint8_t* p, const std::uint8_t* q) { *p = RIPGreyOf(q[1], q[3], q[5]); }, rs,
                        d, x, y, s, sx, sy, w, h);
}

int RIPConvertGray8ToRGB48(RIPRasterState* rs, RIPTileSlot* d, std::int32_t x, std::int32_t y, RIPTileSlot* s,
                           std::int32_t sx, std::int32_t sy, std::int32_t w, std::int32_t h) {
    return ByRule<1, 6>([](std::uint8_t* p, const std::uint8_t* q) { std::fill_n(p, 6, *q); }, rs, d, x, y, s,
                        sx, sy, w, h);
}

}  // namespace raster::convert
