// The row converters between pixel formats. Bilevel sides start at the
// context's bit offsets and leave the other bits of their bytes alone;
// paletted sides read their entries through the context's palette.
#include <algorithm>
#include <cstring>

#include "colour/rows.h"
#include "raster/pal_cache.h"
#include "raster/palette.h"
#include "raster/row_convert.h"

namespace raster {
namespace {

constexpr std::uint8_t kBlack[3] = {0, 0, 0};
// Pixels converted at a time through a stack buffer.
constexpr std::uint32_t kChunk = 256;

std::uint32_t SrcBit(const RIPConverterContext* ctx) {
    return ctx != nullptr ? ctx->srcBitOffset % 8 : 0;
}
std::uint32_t DstBit(const RIPConverterContext* ctx) {
    return ctx != nullptr ? ctx->dstBitOffset % 8 : 0;
}
RIPPalette* PaletteOf(const RIPConverterContext* ctx) {
    return ctx != nullptr ? ctx->palette : nullptr;
}

// Entry `index`, entry 0 past the entries, black without a palette.
const std::uint8_t* Entry(const RIPPalette* palette, unsigned index) {
    if (palette == nullptr || palette->count < 1) {
        return kBlack;
    }
    return palette->Entries() + 3 * (index < static_cast<unsigned>(palette->count) ? index : 0);
}

bool ReadBit(const std::uint8_t* row, std::uint32_t bit) {
    return (row[bit / 8] & (0x80u >> (bit % 8))) != 0;
}

void WriteBit(std::uint8_t* row, std::uint32_t bit, bool set) {
    const unsigned mask = 0x80u >> (bit % 8);
    row[bit / 8] = static_cast<std::uint8_t>(set ? (row[bit / 8] | mask) : (row[bit / 8] & ~mask));
}

// Writes n bits from the destination offset, each decided by test(i).
template <class Test>
void WriteBits(const RIPConverterContext* ctx, std::uint32_t n, std::uint8_t* dst, Test test) {
    const std::uint32_t offset = DstBit(ctx);
    for (std::uint32_t i = 0; i < n; ++i) {
        WriteBit(dst, offset + i, test(i));
    }
}

// The entry nearest to a colour: the standard palette by formula, a palette
// with a cache through it, any other through RIPGetNearestPalIndex (which
// attaches a cache on the way).
std::uint8_t NearestIndex(RIPPalette* palette, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    if (palette == nullptr) {
        return 0;
    }
    if (palette->kind == kPaletteStandard) {
        return RIPStdPaletteIndex(red, green, blue);
    }
    if (palette->cache != nullptr) {
        return RIPPalCacheNearestIndex(palette->cache, red, green, blue, palette->Entries());
    }
    return RIPGetNearestPalIndex(palette, red, green, blue);
}

void PutSample(std::uint8_t* p, std::uint8_t v) {
    p[0] = v;  // v × 257, little-endian
    p[1] = v;
}

// The colour module's row entries take int widths: long rows go in chunks.
template <class Convert>
int InChunks(std::uint32_t n, std::uint32_t srcBytes, std::uint32_t dstBytes, std::uint8_t* dst,
             const std::uint8_t* src, Convert convert) {
    constexpr std::uint32_t kMaxChunk = 1u << 24;
    while (n > 0) {
        const std::uint32_t k = std::min(n, kMaxChunk);
        if (convert(dst, src, static_cast<int>(k)) == 0) {
            return 0;
        }
        n -= k;
        src += static_cast<std::size_t>(k) * srcBytes;
        dst += static_cast<std::size_t>(k) * dstBytes;
    }
    return 1;
}

const colour::ClrKindsTable* KindsOf(const RIPConverterContext* ctx) {
    return ctx != nullptr ? ctx->conversionKinds : nullptr;
}
int ModeOf(const RIPConverterContext* ctx) {
    return ctx != nullptr ? ctx->cmykToRGBMode : 1;
}

}  // namespace

int RIPBitsToBytes(const RIPConverterContext* ctx, std::uint32_t n, std::uint8_t* dst,
                   const std::uint8_t* src) {
    const std::uint32_t offset = SrcBit(ctx);
    for (std::uint32_t i = 0; i < n; ++i) {
        dst[i] = ReadBit(src, offset + i) ? 255 : 0;
    }
    return 1;
}

int RIPBytesToBits(const RIPConverterContext* ctx, std::uint32_t n, std::uint8_t* dst,
                   const std::uint8_t* src) {
    WriteBits(ctx, n, dst, [src](std::uint32_t i) { return src[i] > 127; });
    return 1;
}

int RIPIndex8ToBits(const RIPConverterContext* ctx, std::uint32_t n, std::uint8_t* dst,
                    const std::uint8_t* src) {
    const RIPPalette* palette = PaletteOf(ctx);
    WriteBits(ctx, n, dst, [src, palette](std::uint32_t i) {
        const std::uint8_t* e = Entry(palette, src[i]);
        return RIPGreyOf(e[0], e[1], e[2]) >= 128;
    });
    return 1;
}

int RIPRGB24ToBits(const RIPConverterContext* ctx, std::uint32_t n, std::uint8_t* dst,
                   const std::uint8_t* src) {
    WriteBits(ctx, n, dst, [src](std::uint32_t i) {
        const std::uint8_t* p = src + 3 * static_cast<std::size_t>(i);
        return 3 * p[2] + 6 * p[1] + p[0] > 1274;
    });
    return 1;
}

int RIPBitsToRGB24(const RIPConverterContext* ctx, std::uint32_t n, std::uint8_t* dst,
                   const std::uint8_t* src) {
    const std::uint32_t offset = SrcBit(ctx);
    for (std::uint32_t i = 0; i < n; ++i, dst += 3) {
        std::memset(dst, ReadBit(src, offset + i) ? 255 : 0, 3);
    }
    return 1;
}

int RIPBitsToIndex8(const RIPConverterContext* ctx, std::uint32_t n, std::uint8_t* dst,
                    const std::uint8_t* src) {
    RIPPalette* palette = PaletteOf(ctx);
    const std::uint8_t white = NearestIndex(palette, 255, 255, 255);
    const std::uint8_t black = NearestIndex(palette, 0, 0, 0);
    const std::uint32_t offset = SrcBit(ctx);
    for (std::uint32_t i = 0; i < n; ++i) {
        dst[i] = ReadBit(src, offset + i) ? white : black;
    }
    return 1;
}

int RIPIndex8ToRGB24(const RIPConverterContext* ctx, std::uint32_t n, std::uint8_t* dst,
                     const std::uint8_t* src) {
    const RIPPalette* palette = PaletteOf(ctx);
    for (std::uint32_t i = 0; i < n; ++i, dst += 3) {
        std::memcpy(dst, Entry(palette, src[i]), 3);
    }
    return 1;
}

int RIPIndex8ToRGB48(const RIPConverterContext* ctx, std::uint32_t n, std::uint8_t* dst,
                     const std::uint8_t* src) {
    const RIPPalette* palette = PaletteOf(ctx);
    for (std::uint32_t i = 0; i < n; ++i, dst += 6) {
        const std::uint8_t* e = Entry(palette, src[i]);
        for (int c = 0; c < 3; ++c) PutSample(dst + 2 * c, e[c]);
    }
    return 1;
}

namespace {

// Index of 4-bit pixel i, counting from the context's starting nibble.
unsigned Nibble(const RIPConverterContext* ctx, const std::uint8_t* src, std::uint32_t i) {
    const std::uint32_t k = i + ((ctx != nullptr && ctx->srcBitOffset % 8 >= 4) ? 1 : 0);
    const std::uint8_t b = src[k / 2];
    return (k % 2 == 0) ? (b >> 4) : (b & 0x0F);
}

}  // namespace

int RIPIndex4ToRGB24(const RIPConverterContext* ctx, std::uint32_t n, std::uint8_t* dst,
                     const std::uint8_t* src) {
    const RIPPalette* palette = PaletteOf(ctx);
    for (std::uint32_t i = 0; i < n; ++i, dst += 3) {
        std::memcpy(dst, Entry(palette, Nibble(ctx, src, i)), 3);
    }
    return 1;
}

int RIPIndex4ToRGB48(const RIPConverterContext* ctx, std::uint32_t n, std::uint8_t* dst,
                     const std::uint8_t* src) {
    const RIPPalette* palette = PaletteOf(ctx);
    for (std::uint32_t i = 0; i < n; ++i, dst += 6) {
        const std::uint8_t* e = Entry(palette, Nibble(ctx, src, i));
        for (int c = 0; c < 3; ++c) PutSample(dst + 2 * c, e[c]);
    }
    return 1;
}

int RIPIndex8ToGrey8(const RIPConverterContext* ctx, std::uint32_t n, std::uint8_t* dst,
                     const std::uint8_t* src) {
    const RIPPalette* palette = PaletteOf(ctx);
    for (std::uint32_t i = 0; i < n; ++i) {
        const std::uint8_t* e = Entry(palette, src[i]);
        dst[i] = RIPGreyOf(e[0], e[1], e[2]);
    }
    return 1;
}

int RIPRGB24ToIndex8(const RIPConverterContext* ctx, std::uint32_t n, std::uint8_t* dst,
                     const std::uint8_t* src) {
    RIPPalette* palette = PaletteOf(ctx);
    for (std::uint32_t i = 0; i < n; ++i, src += 3) {
        dst[i] = NearestIndex(palette, src[2], src[1], src[0]);
    }
    return 1;
}

int RIPGrey8ToIndex8(const RIPConverterContext* ctx, std::uint32_t n, std::uint8_t* dst,
                     const std::uint8_t* src) {
    RIPPalette* palette = PaletteOf(ctx);
    for (std::uint32_t i = 0; i < n; ++i) {
        dst[i] = NearestIndex(palette, src[i], src[i], src[i]);
    }
    return 1;
}

int RIPRGB24ToGrey8(const RIPConverterContext*, std::uint32_t n, std::uint8_t* dst, const std::uint8_t* src) {
    for (std::uint32_t i = 0; i < n; ++i, src += 3) {
        dst[i] = RIPGreyOf(src[0], src[1], src[2]);
    }
    return 1;
}

int RIPGrey8ToRGB24(const RIPConverterContext*, std::uint32_t n, std::uint8_t* dst, const std::uint8_t* src) {
    // From the end, so a grey row may be widened in place.
    for (std::uint32_t i = n; i-- > 0;) {
        std::memset(dst + 3 * static_cast<std::size_t>(i), src[i], 3);
    }
    return 1;
}

int RIPRGB24ToRGB48(const RIPConverterContext*, std::uint32_t n, std::uint8_t* dst, const std::uint8_t* src) {
    for (std::uint32_t i = 3 * n; i-- > 0;) {
        PutSample(dst + 2 * static_cast<std::size_t>(i), src[i]);
    }
    return 1;
}

int RIPRGB48ToRGB24(const RIPConverterContext*, std::uint32_t n, std::uint8_t* dst, const std::uint8_t* src) {
    for (std::uint32_t i = 0; i < 3 * n; ++i) {
        dst[i] = src[2 * static_cast<std::size_t>(i) + 1];
    }
    return 1;
}

int RIPRGB24ToGrey16(const RIPConverterContext*, std::uint32_t n, std::uint8_t* dst,
                     const std::uint8_t* src) {
    for (std::uint32_t i = 0; i < n; ++i, src += 3) {
        PutSample(dst + 2 * static_cast<std::size_t>(i), RIPGreyOf(src[0], src[1], src[2]));
    }
    return 1;
}

int RIPGrey16ToRGB24(const RIPConverterContext*, std::uint32_t n, std::uint8_t* dst,
                     const std::uint8_t* src) {
    for (std::uint32_t i = 0; i < n; ++i, dst += 3) {
        std::memset(dst, src[2 * static_cast<std::size_t>(i) + 1], 3);
    }
    return 1;
}

int RIPCMYKToRGB24(const RIPConverterContext* ctx, std::uint32_t n, std::uint8_t* dst,
                   const std::uint8_t* src) {
    return InChunks(n, 4, 3, dst, src, [ctx](std::uint8_t* d, const std::uint8_t* s, int k) {
        return RIPCMYKRowsToRGB(d, 3 * k, s, 4 * k, k, 1, KindsOf(ctx), ModeOf(ctx));
    });
}

int RIPRGB24ToCMYK(const RIPConverterContext*, std::uint32_t n, std::uint8_t* dst, const std::uint8_t* src) {
    return InChunks(n, 3, 4, dst, src, [](std::uint8_t* d, const std::uint8_t* s, int k) {
        return colour::ClrRGBRowsToCMYK(nullptr, d, s, k, 1);
    });
}

int RIPLabToRGB24(const RIPConverterContext*, std::uint32_t n, std::uint8_t* dst, const std::uint8_t* src) {
    return InChunks(n, 3, 3, dst, src, [](std::uint8_t* d, const std::uint8_t* s, int k) {
        return colour::ClrLabRowsToRGBPacked(nullptr, d, s, k, 1);
    });
}

int RIPRGB24ToLab(const RIPConverterContext*, std::uint32_t n, std::uint8_t* dst, const std::uint8_t* src) {
    return InChunks(n, 3, 3, dst, src, [](std::uint8_t* d, const std::uint8_t* s, int k) {
        return colour::ClrRGBRowsToLabPacked(nullptr, d, s, k, 1);
    });
}

int RIPCMYKToGrey8(const RIPConverterContext* ctx, std::uint32_t n, std::uint8_t* dst,
                   const std::uint8_t* src) {
    std::uint8_t rgb[3 * kChunk];
    for (std::uint32_t done = 0; done < n;) {
        const std::uint32_t k = std::min(kChunk, n - done);
        if (RIPCMYKToRGB24(ctx, k, rgb, src + 4 * static_cast<std::size_t>(done)) == 0) {
            return 0;
        }
        RIPRGB24ToGrey8(nullptr, k, dst + done, rgb);
        done += k;
    }
    return 1;
}

int RIPGrey8ToCMYK(const RIPConverterContext* ctx, std::uint32_t n, std::uint8_t* dst,
                   const std::uint8_t* src) {
    std::uint8_t rgb[3 * kChunk];
    for (std::uint32_t done = 0; done < n;) {
        const std::uint32_t k = std::min(kChunk, n - done);
        RIPGrey8ToRGB24(nullptr, k, rgb, src + done);
        if (RIPRGB24ToCMYK(ctx, k, dst + 4 * static_cast<std::size_t>(done), rgb) == 0) {
            return 0;
        }
        done += k;
    }
    return 1;
}

int RIPCMYKRowsToRGB(std::uint8_t* dst, int dstStride, const std::uint8_t* src, int srcStride, int width,
                     int rows, const colour::ClrKindsTable* kinds, int mode) {
    switch (mode) {
        case 0: return colour::ClrCMYKToRGBPlain(src, srcStride, dst, dstStride, width, rows);
        case 1: return colour::ClrCMYKRowsToRGBStrided(kinds, dst, dstStride, src, srcStride, width, rows);
        case 2:
            if (colour::ClrCMYKRowsToRGBStrided(kinds, dst, dstStride, src, srcStride, width, rows) == 0) {
                return 0;
            }
            return colour::ClrConvertRowsToPrinter(kinds, 0, colour::kRowsRGB, dst, dstStride, dst, dstStride,
                                                   width, rows, 0);
        case 3:
            colour::ClrProofRowsToMonitor(kinds, colour::kRowsCMYK, dst, dstStride, src, srcStride, width,
                                          rows, 1);
            return 1;
        default: return 0;
    }
}

}  // namespace raster
