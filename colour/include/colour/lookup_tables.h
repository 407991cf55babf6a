// Colour lookup tables: a transform sampled once on a grid, then applied to
// pixels by table lookup instead of evaluating the transform per pixel.
//
// RGB tables: 33 × 33 × 33 points (grid values 0, 8, ..., 248, 255 on each
// axis, blue varying fastest, then green, then red), three output bytes a
// point. CMYK tables: 9 × 9 × 9 × 9 points (0, 32, ..., 224, 255; K fastest,
// then Y, M, C), three output bytes a point.
#pragma once

#include <cstddef>
#include <cstdint>

namespace colour {

inline constexpr int kRGBGridSteps = 33;
inline constexpr int kRGBGridPoints = 33 * 33 * 33;        // 35,937
inline constexpr std::size_t kRGBTableBytes = 3 * 35937;   // 107,811
inline constexpr int kCMYKGridSteps = 9;
inline constexpr int kCMYKGridPoints = 9 * 9 * 9 * 9;      // 6,561
inline constexpr std::size_t kCMYKTableBytes = 3 * 6561;   // 19,683

// Builds the kind's table from its transform: 1 when a table exists or the
// kind needs none, 0 on failure (with an error box).
int ClrBuildLookupTables(int kind);

// The grid a table samples: RGB points (3 bytes, blue first) or CMYK points.
void ClrFillRGBGrid(std::uint8_t* grid);   // kRGBGridPoints · 3 bytes
void ClrFillCMYKGrid(std::uint8_t* grid);  // kCMYKGridPoints · 4 bytes

// RGB rows through an RGB table, interpolating each channel towards the
// cell's far corner.
void ClrLookupRGB(std::uint8_t* dst, std::ptrdiff_t dstStride, const std::uint8_t* src, std::ptrdiff_t srcStride,
                  int width, int rows, const std::uint8_t* table);
// CMYK rows to RGB through a CMYK table, at the nearest grid point.
void ClrLookupCMYK(std::uint8_t* dst, std::ptrdiff_t dstStride, const std::uint8_t* src, std::ptrdiff_t srcStride,
                   int width, int rows, const std::uint8_t* table);

}  // namespace colour
