// Format-pair converters: a rectangle of one pixel format turned into
// another inside two locked tile slots, positions relative to the slots.
// Each answers 1, or 0 when the progress callback asks to stop (or a
// temporary buffer cannot be had). The plain pairs count the whole rectangle
// as one unit of progress: (0, 1) before the work, (1, 1) after it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "convert_support.h"

namespace raster {
struct RIPImage;
}

namespace raster::convert {

using RIPPairConverter = int (*)(RIPRasterState* state, RIPTileSlot* destination, std::int32_t x,
                                 std::int32_t y, RIPTileSlot* source, std::int32_t sourceX,
                                 std::int32_t sourceY, std::int32_t width, std::int32_t height);

// Sample arithmetic shared by every converter.
constexpr std::uint16_t RIPWiden(std::uint8_t b) {
    return static_cast<std::uint16_t>(b * 257u);
}
constexpr std::uint8_t RIPNarrow(std::uint16_t s) {
    return static_cast<std::uint8_t>(s >> 8);
}
// The 16-bit grey of 16-bit (blue, green, red) samples: (3r + 6g + b) / 10.
constexpr std::uint16_t RIPGrey16Of(std::uint32_t blue, std::uint32_t green, std::uint32_t red) {
    return static_cast<std::uint16_t>((3u * red + 6u * green + blue) / 10u);
}

// Block routines over rows (destination, source, strides, width, rows): always 1, no progress.
int RIPWidenRGB24To48(std::uint8_t* dst, const std::uint8_t* src, std::ptrdiff_t dstStride,
                      std::ptrdiff_t srcStride, std::int32_t width, std::int32_t rows);
int RIPNarrowRGB48To24(std::uint8_t* dst, const std::uint8_t* src, std::ptrdiff_t dstStride,
                       std::ptrdiff_t srcStride, std::int32_t width, std::int32_t rows);
int RIPRGB24ToGray16Block(std::uint8_t* dst, const std::uint8_t* src, std::ptrdiff_t dstStride,
                          std::ptrdiff_t srcStride, std::int32_t width, std::int32_t rows);
int RIPWidenGray8To16(std::uint8_t* dst, const std::uint8_t* src, std::ptrdiff_t dstStride,
                      std::ptrdiff_t srcStride, std::int32_t width, std::int32_t rows);
int RIPCopyHighBytes16(std::uint8_t* dst, const std::uint8_t* src, std::ptrdiff_t dstStride,
                       std::ptrdiff_t srcStride, std::int32_t width, std::int32_t rows);

// Among 24-bit RGB, 48-bit RGB, 8-bit grey and 16-bit grey.
int RIPConvertRGB24ToRGB48(RIPRasterState*, RIPTileSlot*, std::int32_t, std::int32_t, RIPTileSlot*,
                           std::int32_t, std::int32_t, std::int32_t, std::int32_t);
int RIPConvertRGB48ToRGB24(RIPRasterState*, RIPTileSlot*, std::int32_t, std::int32_t, RIPTileSlot*,
                           std::int32_t, std::int32_t, std::int32_t, std::int32_t);
int RIPConvertRGB24ToGray16(RIPRasterState*, RIPTileSlot*, std::int32_t, std::int32_t, RIPTileSlot*,
                            std::int32_t, std::int32_t, std::int32_t, std::int32_t);
int RIPConvertGray16ToRGB24(RIPRasterState*, RIPTileSlot*, std::int32_t, std::int32_t, RIPTileSlot*,
                            std::int32_t, std::int32_t, std::int32_t, std::int32_t);
int RIPConvertGray8ToGray16(RIPRasterState*, RIPTileSlot*, std::int32_t, std::int32_t, RIPTileSlot*,
                            std::int32_t, std::int32_t, std::int32_t, std::int32_t);
int RIPConvertGray16ToGray8(RIPRasterState*, RIPTileSlot*, std::int32_t, std::int32_t, RIPTileSlot*,
                            std::int32_t, std::int32_t, std::int32_t, std::int32_t);
int RIPConvertRGB48ToGray16(RIPRasterState*, RIPTileSlot*, std::int32_t, std::int32_t, RIPTileSlot*,
                            std::int32_t, std::int32_t, std::int32_t, std::int32_t);
int RIPConvertGray16ToRGB48(RIPRasterState*, RIPTileSlot*, std::int32_t, std::int32_t, RIPTileSlot*,
                            std::int32_t, std::int32_t, std::int32_t, std::int32_t);
int RIPConvertRGB48ToGray8(RIPRasterState*, RIPTileSlot*, std::int32_t, std::int32_t, RIPTileSlot*,
                           std::int32_t, std::int32_t, std::int32_t, std::int32_t);
int RIPConvertGray8ToRGB48(RIPRasterState*, RIPTileSlot*, std::int32_t, std::int32_t, RIPTileSlot*,
                           std::int32_t, std::int32_t, std::int32_t, std::int32_t);

// CMYK (type 3) and Lab (type 11) with the RGB and grey formats, through the
// colour module's row conversions.
int RIPConvertCMYKToRGB24(RIPRasterState*, RIPTileSlot*, std::int32_t, std::int32_t, RIPTileSlot*,
                          std::int32_t, std::int32_t, std::int32_t, std::int32_t);
int RIPConvertCMYKToGray8(RIPRasterState*, RIPTileSlot*, std::int32_t, std::int32_t, RIPTileSlot*,
                          std::int32_t, std::int32_t, std::int32_t, std::int32_t);
int RIPConvertCMYKToRGB48(RIPRasterState*, RIPTileSlot*, std::int32_t, std::int32_t, RIPTileSlot*,
                          std::int32_t, std::int32_t, std::int32_t, std::int32_t);
int RIPConvertCMYKToGray16(RIPRasterState*, RIPTileSlot*, std::int32_t, std::int32_t, RIPTileSlot*,
                           std::int32_t, std::int32_t, std::int32_t, std::int32_t);
int RIPConvertCMYKToLab(RIPRasterState*, RIPTileSlot*, std::int32_t, std::int32_t, RIPTileSlot*, std::int32_t,
                        std::int32_t, std::int32_t, std::int32_t);
int RIPConvertRGB24ToCMYK(RIPRasterState*, RIPTileSlot*, std::int32_t, std::int32_t, RIPTileSlot*,
                          std::int32_t, std::int32_t, std::int32_t, std::int32_t);
int RIPConvertGray8ToCMYK(RIPRasterState*, RIPTileSlot*, std::int32_t, std::int32_t, RIPTileSlot*,
                          std::int32_t, std::int32_t, std::int32_t, std::int32_t);
int RIPConvertGray16ToCMYK(RIPRasterState*, RIPTileSlot*, std::int32_t, std::int32_t, RIPTileSlot*,
                           std::int32_t, std::int32_t, std::int32_t, std::int32_t);
int RIPConvertRGB48ToCMYK(RIPRasterState*, RIPTileSlot*, std::int32_t, std::int32_t, RIPTileSlot*,
                          std::int32_t, std::int32_t, std::int32_t, std::int32_t);
// Paces by rows (it expands through RIPExpandBitsToCMYK).
int RIPConvertBilevelToCMYK(RIPRasterState*, RIPTileSlot*, std::int32_t, std::int32_t, RIPTileSlot*,
                            std::int32_t, std::int32_t, std::int32_t, std::int32_t);
int RIPConvertLabToRGB24(RIPRasterState*, RIPTileSlot*, std::int32_t, std::int32_t, RIPTileSlot*,
                         std::int32_t, std::int32_t, std::int32_t, std::int32_t);
int RIPConvertLabToGray8(RIPRasterState*, RIPTileSlot*, std::int32_t, std::int32_t, RIPTileSlot*,
                         std::int32_t, std::int32_t, std::int32_t, std::int32_t);
int RIPConvertLabToCMYK(RIPRasterState*, RIPTileSlot*, std::int32_t, std::int32_t, RIPTileSlot*, std::int32_t,
                        std::int32_t, std::int32_t, std::int32_t);
int RIPConvertLabToRGB48(RIPRasterState*, RIPTileSlot*, std::int32_t, std::int32_t, RIPTileSlot*,
                         std::int32_t, std::int32_t, std::int32_t, std::int32_t);
int RIPConvertLabToGray16(RIPRasterState*, RIPTileSlot*, std::int32_t, std::int32_t, RIPTileSlot*,
                          std::int32_t, std::int32_t, std::int32_t, std::int32_t);
int RIPConvertRGB24ToLab(RIPRasterState*, RIPTileSlot*, std::int32_t, std::int32_t, RIPTileSlot*,
                         std::int32_t, std::int32_t, std::int32_t, std::int32_t);
int RIPConvertGray8ToLab(RIPRasterState*, RIPTileSlot*, std::int32_t, std::int32_t, RIPTileSlot*,
                         std::int32_t, std::int32_t, std::int32_t, std::int32_t);
int RIPConvertRGB48ToLab(RIPRasterState*, RIPTileSlot*, std::int32_t, std::int32_t, RIPTileSlot*,
                         std::int32_t, std::int32_t, std::int32_t, std::int32_t);
int RIPConvertGray16ToLab(RIPRasterState*, RIPTileSlot*, std::int32_t, std::int32_t, RIPTileSlot*,
                          std::int32_t, std::int32_t, std::int32_t, std::int32_t);

// From a paletted source (the image gives the palette and the depth), paced by rows.
using RIPFromPaletteConverter = int (*)(RIPRasterState* state, RIPTileSlot* destination, std::int32_t x,
                                        std::int32_t y, RIPImage* source, RIPTileSlot* sourceSlot,
                                        std::int32_t sourceX, std::int32_t sourceY, std::int32_t width,
                                        std::int32_t height);
int RIPConvertPalToRGB24(RIPRasterState*, RIPTileSlot*, std::int32_t, std::int32_t, RIPImage*, RIPTileSlot*,
                         std::int32_t, std::int32_t, std::int32_t, std::int32_t);
int RIPConvertPalToRGB48(RIPRasterState*, RIPTileSlot*, std::int32_t, std::int32_t, RIPImage*, RIPTileSlot*,
                         std::int32_t, std::int32_t, std::int32_t, std::int32_t);
int RIPConvertPalToGray8(RIPRasterState*, RIPTileSlot*, std::int32_t, std::int32_t, RIPImage*, RIPTileSlot*,
                         std::int32_t, std::int32_t, std::int32_t, std::int32_t);
int RIPConvertPalToGray16(RIPRasterState*, RIPTileSlot*, std::int32_t, std::int32_t, RIPImage*, RIPTileSlot*,
                          std::int32_t, std::int32_t, std::int32_t, std::int32_t);
int RIPConvertPalToCMYK(RIPRasterState*, RIPTileSlot*, std::int32_t, std::int32_t, RIPImage*, RIPTileSlot*,
                        std::int32_t, std::int32_t, std::int32_t, std::int32_t);

// To a paletted destination (the image gives the palette and the depth), paced by rows.
using RIPToPaletteConverter = int (*)(RIPRasterState* state, RIPImage* destination,
                                      RIPTileSlot* destinationSlot, std::int32_t x, std::int32_t y,
                                      RIPTileSlot* source, std::int32_t sourceX, std::int32_t sourceY,
                                      std::int32_t width, std::int32_t height);
int RIPConvertRGB24ToPal8Rows(RIPRasterState*, RIPImage*, RIPTileSlot*, std::int32_t, std::int32_t,
                              RIPTileSlot*, std::int32_t, std::int32_t, std::int32_t, std::int32_t);
int RIPConvert48ToPal8(RIPRasterState*, RIPImage*, RIPTileSlot*, std::int32_t, std::int32_t, RIPTileSlot*,
                       std::int32_t, std::int32_t, std::int32_t, std::int32_t);
int RIPConvertGray8ToPal8Rows(RIPRasterState*, RIPImage*, RIPTileSlot*, std::int32_t, std::int32_t,
                              RIPTileSlot*, std::int32_t, std::int32_t, std::int32_t, std::int32_t);
int RIPConvert16GrayToPal8(RIPRasterState*, RIPImage*, RIPTileSlot*, std::int32_t, std::int32_t, RIPTileSlot*,
                           std::int32_t, std::int32_t, std::int32_t, std::int32_t);

// Colour rows mapped to any palette at 1, 4 or 8 bits (the block's
// destination bit offset places a packed first pixel). 1, or 0 when stopped
// or for a depth or palette size the mapping cannot serve.
int RIPMapRGBRowsToPalette(RIPRasterState* state, const RIPRowBlock& b, RIPPalette* palette,
                           std::int32_t bits);
int RIPMapGrayRowsToPalette(RIPRasterState* state, const RIPRowBlock& b, RIPPalette* palette,
                            std::int32_t bits);

}  // namespace raster::convert
