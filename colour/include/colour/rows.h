// Row conversions between RGB, CMYK and Lab pixel rows: the entries the
// raster library and single-colour conversion call, and the plain formulas
// they fall back to when colour management is off or has no transform.
//
// Layouts in memory order: RGB 3 bytes (blue, green, red); CMYK 4 bytes;
// Lab 3 bytes (L 0..255 for 0..100, a + 128, b + 128); 48-bit RGB three
// little-endian u16 channels, blue first. A packed RGB or Lab row is
// (3·width + 3) & ~3 bytes, a packed CMYK row 4·width bytes.
//
// Every entry answers nonzero on success and 0 for bad arguments (a negative
// width or row count, a null buffer with pixels to convert, rows too large to
// address) or an unsupported layout pair; a width or row count of 0 converts
// nothing and succeeds. Source and destination may be the same buffer.
#pragma once

#include <cstdint>

#include "colour/kinds_table.h"

namespace colour {

// Layout codes of the printer and monitor conversions.
inline constexpr int kRowsRGB = 0;    // source: RGB; output of the printer conversion: printer RGB
inline constexpr int kRowsLab = 1;    // source: Lab; output of the printer conversion: CMYK
inline constexpr int kRowsRGB48 = 2;  // source: 48-bit RGB; output of the printer conversion: Hexachrome
inline constexpr int kRowsCMYK = 1;   // the one source layout of the conversions from the printer

// Packed row sizes.
std::int32_t ClrPackedRowBytes3(std::int32_t width);  // (3·width + 3) & ~3; -1 when too large
std::int32_t ClrPackedRowBytes4(std::int32_t width);  // 4·width; -1 when too large

// Packed entries: (kinds, destination, source, width, rows).
int ClrRGBRowsToCMYK(const ClrKindsTable* kinds, std::uint8_t* dst, const std::uint8_t* src, int width,
                     int rows);
int ClrLabRowsToCMYK(const ClrKindsTable* kinds, std::uint8_t* dst, const std::uint8_t* src, int width,
                     int rows);
int ClrCMYKRowsToRGB(const ClrKindsTable* kinds, std::uint8_t* dst, const std::uint8_t* src, int width,
                     int rows);
int ClrCMYKRowsToLab(const ClrKindsTable* kinds, std::uint8_t* dst, const std::uint8_t* src, int width,
                     int rows);
int ClrLabRowsToRGBPacked(const ClrKindsTable* kinds, std::uint8_t* dst, const std::uint8_t* src, int width,
                          int rows);
int ClrRGBRowsToLabPacked(const ClrKindsTable* kinds, std::uint8_t* dst, const std::uint8_t* src, int width,
                          int rows);

// Strided entries: (kinds, destination, destination stride, source, source stride, width, rows).
int ClrRGBRowsToCMYKStrided(const ClrKindsTable* kinds, std::uint8_t* dst, int dstStride,
                            const std::uint8_t* src, int srcStride, int width, int rows);
int ClrLabRowsToCMYKStrided(const ClrKindsTable* kinds, std::uint8_t* dst, int dstStride,
                            const std::uint8_t* src, int srcStride, int width, int rows);
int ClrCMYKRowsToRGBStrided(const ClrKindsTable* kinds, std::uint8_t* dst, int dstStride,
                            const std::uint8_t* src, int srcStride, int width, int rows);
int ClrCMYKRowsToLabStrided(const ClrKindsTable* kinds, std::uint8_t* dst, int dstStride,
                            const std::uint8_t* src, int srcStride, int width, int rows);
int ClrLabRowsToRGBStrided(const ClrKindsTable* kinds, std::uint8_t* dst, int dstStride,
                           const std::uint8_t* src, int srcStride, int width, int rows);
int ClrRGBRowsToLabStrided(const ClrKindsTable* kinds, std::uint8_t* dst, int dstStride,
                           const std::uint8_t* src, int srcStride, int width, int rows);

// To the printer: output 0 printer RGB, 1 CMYK, 2 Hexachrome; source 0 RGB,
// 1 Lab, 2 48-bit RGB. The proof flag chooses the printer device the managed
// path checks (0 printer RGB, 1 printer CMYK) and its kinds.
int ClrConvertRowsToPrinter(const ClrKindsTable* kinds, int output, int source, std::uint8_t* dst,
                            int dstStride, const std::uint8_t* src, int srcStride, int width, int rows,
                            int proof);
// From the printer: output 0 RGB, 1 Lab, 2 48-bit RGB; source 1 CMYK.
int ClrConvertRowsFromPrinter(const ClrKindsTable* kinds, int output, int source, std::uint8_t* dst,
                              int dstStride, const std::uint8_t* src, int srcStride, int width, int rows,
                              int proof);
// To the monitor from source 0 RGB, 1 Lab, 2 48-bit RGB.
int ClrConvertRowsToMonitor(const ClrKindsTable* kinds, int source, std::uint8_t* dst, int dstStride,
                            const std::uint8_t* src, int srcStride, int width, int rows);
// CMYK rows (source 1) shown on the monitor; other sources succeed unwritten.
int ClrProofRowsToMonitor(const ClrKindsTable* kinds, int source, std::uint8_t* dst, int dstStride,
                          const std::uint8_t* src, int srcStride, int width, int rows, int proof);
// Mode 0 does nothing and succeeds; mode 1 converts; mode 3 of the Lab-to-RGB
// rows goes through the host's candidate profile only; other modes fail.
int ClrLabRowsToRGB(const ClrKindsTable* kinds, int mode, std::uint8_t* dst, int dstStride,
                    const std::uint8_t* src, int srcStride, int width, int rows);
int ClrRGBRowsToLab(const ClrKindsTable* kinds, int mode, std::uint8_t* dst, int dstStride,
                    const std::uint8_t* src, int srcStride, int width, int rows);

// Plain formulas: (source, source stride, destination, destination stride, width, rows).
int ClrCMYKToRGBPlain(const std::uint8_t* src, int srcStride, std::uint8_t* dst, int dstStride, int width,
                      int rows);
int ClrRGBToCMYKPlain(const std::uint8_t* src, int srcStride, std::uint8_t* dst, int dstStride, int width,
                      int rows);
int ClrLabToRGBPlain(const std::uint8_t* src, int srcStride, std::uint8_t* dst, int dstStride, int width,
                     int rows);
int ClrRGBToLabPlain(const std::uint8_t* src, int srcStride, std::uint8_t* dst, int dstStride, int width,
                     int rows);
int ClrRGB48ToRGBPlain(const std::uint8_t* src, int srcStride, std::uint8_t* dst, int dstStride, int width,
                       int rows);
int ClrRGBToRGB48Plain(const std::uint8_t* src, int srcStride, std::uint8_t* dst, int dstStride, int width,
                       int rows);
// Copies `rowBytes` bytes of each row.
int ClrCopyRows(const std::uint8_t* src, int srcStride, std::uint8_t* dst, int dstStride, int rowBytes,
                int rows);

}  // namespace colour
