// Row converters: one row of n pixels from one pixel format into another, and
// the 8 × 8 route table that says, for a source and a destination format,
// which converters take a row into a working format and back. Converters are
// plain loops over bytes in memory order and allocate nothing.
#pragma once

#include <array>
#include <cstdint>

#include "colour/kinds_table.h"

namespace raster {

struct RIPPalette;

// What a converter needs besides its rows. Without a context a converter
// reads and writes from bit 0, has no palette, and converts CMYK with the
// defaults (no kinds table, mode 1).
struct RIPConverterContext {
    // The first source pixel's bit, from the top, in 1-bit rows; in 4-bit rows
    // 4 or more starts at the low nibble.
    std::uint32_t srcBitOffset = 0;
    std::uint32_t dstBitOffset = 0;  // the first destination pixel's bit in 1-bit rows
    // The palette of the paletted side; an index past its entries reads entry
    // 0, and without a palette every index reads black. Its nearest-colour
    // cache may be attached on the first look-up.
    RIPPalette* palette = nullptr;
    const colour::ClrKindsTable* conversionKinds = nullptr;
    std::int32_t cmykToRGBMode = 1;
};

// Converts n pixels of src into dst; 1, or 0 when a colour conversion fails.
using RIPRowConverter = int (*)(const RIPConverterContext* ctx, std::uint32_t n, std::uint8_t* dst,
                                const std::uint8_t* src);

// The grey of an RGB pixel from its blue, green and red bytes:
// (3r + 6g + b) / 10, computed as (3r + 6g + b) × 3277 >> 15.
constexpr std::uint8_t RIPGreyOf(std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
    return static_cast<std::uint8_t>(((3u * red + 6u * green + blue) * 3277u) >> 15);
}

// Bilevel, grey and indices.
int RIPBitsToBytes(const RIPConverterContext*, std::uint32_t, std::uint8_t*,
                   const std::uint8_t*);  // set 255, clear 0
int RIPBytesToBits(const RIPConverterContext*, std::uint32_t, std::uint8_t*,
                   const std::uint8_t*);  // > 127 sets
int RIPIndex8ToBits(const RIPConverterContext*, std::uint32_t, std::uint8_t*,
                    const std::uint8_t*);  // entry grey >= 128 sets
int RIPRGB24ToBits(const RIPConverterContext*, std::uint32_t, std::uint8_t*,
                   const std::uint8_t*);  // 3r + 6g + b > 1274 sets
int RIPBitsToRGB24(const RIPConverterContext*, std::uint32_t, std::uint8_t*,
                   const std::uint8_t*);  // white or black
int RIPBitsToIndex8(const RIPConverterContext*, std::uint32_t, std::uint8_t*,
                    const std::uint8_t*);  // nearest to white, black
int RIPIndex8ToRGB24(const RIPConverterContext*, std::uint32_t, std::uint8_t*, const std::uint8_t*);
int RIPIndex8ToRGB48(const RIPConverterContext*, std::uint32_t, std::uint8_t*,
                     const std::uint8_t*);  // bytes doubled
int RIPIndex4ToRGB24(const RIPConverterContext*, std::uint32_t, std::uint8_t*, const std::uint8_t*);
int RIPIndex4ToRGB48(const RIPConverterContext*, std::uint32_t, std::uint8_t*, const std::uint8_t*);
int RIPIndex8ToGrey8(const RIPConverterContext*, std::uint32_t, std::uint8_t*, const std::uint8_t*);
int RIPRGB24ToIndex8(const RIPConverterContext*, std::uint32_t, std::uint8_t*, const std::uint8_t*);
int RIPGrey8ToIndex8(const RIPConverterContext*, std::uint32_t, std::uint8_t*, const std::uint8_t*);
int RIPRGB24ToGrey8(const RIPConverterContext*, std::uint32_t, std::uint8_t*, const std::uint8_t*);
int RIPGrey8ToRGB24(const RIPConverterContext*, std::uint32_t, std::uint8_t*, const std::uint8_t*);
// Widths.
int RIPRGB24ToRGB48(const RIPConverterContext*, std::uint32_t, std::uint8_t*,
                    const std::uint8_t*);  // v × 257
int RIPRGB48ToRGB24(const RIPConverterContext*, std::uint32_t, std::uint8_t*,
                    const std::uint8_t*);  // high bytes
int RIPRGB24ToGrey16(const RIPConverterContext*, std::uint32_t, std::uint8_t*, const std::uint8_t*);
int RIPGrey16ToRGB24(const RIPConverterContext*, std::uint32_t, std::uint8_t*, const std::uint8_t*);
// Through the colour module's row conversions.
int RIPCMYKToGrey8(const RIPConverterContext*, std::uint32_t, std::uint8_t*, const std::uint8_t*);
int RIPGrey8ToCMYK(const RIPConverterContext*, std::uint32_t, std::uint8_t*, const std::uint8_t*);
int RIPCMYKToRGB24(const RIPConverterContext*, std::uint32_t, std::uint8_t*,
                   const std::uint8_t*);  // the context's options
int RIPRGB24ToCMYK(const RIPConverterContext*, std::uint32_t, std::uint8_t*, const std::uint8_t*);
int RIPLabToRGB24(const RIPConverterContext*, std::uint32_t, std::uint8_t*, const std::uint8_t*);
int RIPRGB24ToLab(const RIPConverterContext*, std::uint32_t, std::uint8_t*, const std::uint8_t*);

// CMYK rows to RGB rows by mode: 0 the plain formula, 1 colour-managed, 2
// colour-managed and then through the printer's RGB space, 3 the printer's
// rendering proofed on the monitor. 0 for another mode or bad rows.
int RIPCMYKRowsToRGB(std::uint8_t* dst, int dstStride, const std::uint8_t* src, int srcStride, int width,
                     int rows, const colour::ClrKindsTable* kinds, int mode);

// The format index of the route table: type 1 → 0, 5 and 99 → 1, 3 → 2, 6 → 3,
// 10 → 4, 11 → 5, 12 → 6, 14 → 7; -1 for any other type.
int RIPFormatIndex8(std::int32_t type);

struct RIPConversionRoute {
    RIPRowConverter direct = nullptr;                // source → destination in one step, when one exists
    RIPRowConverter toWorking = nullptr;             // source → working format (null: the source is it)
    RIPRowConverter destinationToWorking = nullptr;  // to read destination pixels in the working format
    RIPRowConverter workingToDestination = nullptr;
    std::uint32_t destinationBits = 0;
    std::uint32_t workingBits = 0;
    std::uint32_t workingType = 0;
};
using RIPConversionRouteTable = std::array<std::array<RIPConversionRoute, 8>, 8>;

// Rows by source format index, columns by destination. The diagonal is a
// format painted through its working format.
extern const RIPConversionRouteTable RIPConversionRoutes;
// The route from one type to another; null when either has no format index.
const RIPConversionRoute* RIPConversionRouteFor(std::int32_t sourceType, std::int32_t destinationType);

}  // namespace raster
