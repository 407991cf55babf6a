// Argument checks, temporary row buffers and the pixel walk shared by the
// row conversions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <optional>

namespace colour::detail {

// The answer for a rectangle of rows that needs no pixel touched: 0 for a
// negative width or row count or a null buffer with pixels to convert, 1
// when there are no pixels; nothing when the rows are to be converted.
inline std::optional<int> EarlyResult(const void* dst, const void* src, int width, int rows) {
    if (width < 0 || rows < 0) return 0;
    if (width == 0 || rows == 0) return 1;
    if (dst == nullptr || src == nullptr) return 0;
    return std::nullopt;
}

// A zero-filled temporary of rows·rowBytes bytes, or null when it cannot be
// had (or its size cannot be expressed).
inline std::unique_ptr<std::uint8_t[]> AllocateRows(std::int64_t rowBytes, int rows) {
    if (rowBytes <= 0 || rows <= 0) return nullptr;
    const std::uint64_t total = static_cast<std::uint64_t>(rowBytes) * static_cast<std::uint64_t>(rows);
    if (total / static_cast<std::uint64_t>(rows) != static_cast<std::uint64_t>(rowBytes) ||
        total > static_cast<std::uint64_t>(PTRDIFF_MAX))
        return nullptr;
    return std::unique_ptr<std::uint8_t[]>(new (std::nothrow)
                                               std::uint8_t[static_cast<std::size_t>(total)]());
}

// Converts every pixel with `convert(in, out)`. The source pixel is copied
// before its result is written, and the walk runs backwards (pixels within a
// row when the pixel grows, rows when the destination rows lie further
// apart), so a conversion in place never reads a byte it has overwritten.
template <int SrcBytes, int DstBytes, typename Convert>
void ForEachPixel(const std::uint8_t* src, std::ptrdiff_t srcStride, std::uint8_t* dst,
                  std::ptrdiff_t dstStride, int width, int rows, Convert convert) {
    const bool rowsBackwards = dstStride > srcStride;
    for (int i = 0; i < rows; ++i) {
        const int row = rowsBackwards ? rows - 1 - i : i;
        const std::uint8_t* s = src + row * srcStride;
        std::uint8_t* d = dst + row * dstStride;
        for (int j = 0; j < width; ++j) {
            const int x = DstBytes > SrcBytes ? width - 1 - j : j;
            std::uint8_t in[SrcBytes];
            std::uint8_t out[DstBytes];
            std::memcpy(in, s + static_cast<std::ptrdiff_t>(x) * SrcBytes, SrcBytes);
            convert(in, out);
            std::memcpy(d + static_cast<std::ptrdiff_t>(x) * DstBytes, out, DstBytes);
        }
    }
}

// Copies RGB-sized rows: nothing when they are already where they belong, one
// block when the rows are equally spaced, else row by row.
void CopyPixelRows(const std::uint8_t* src, std::ptrdiff_t srcStride, std::uint8_t* dst,
                   std::ptrdiff_t dstStride, std::ptrdiff_t rowBytes, int rows);

}  // namespace colour::detail
