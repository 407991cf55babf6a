// Lookup tables: building them from a kind's transform, and converting
// rows through them.
#include "colour/lookup_tables.h"

#include <algorithm>
#include <array>
#include <memory>
#include <new>

#include "cms_internal.h"
#include "colour/cms.h"
#include "colour/profile_catalogue.h"
#include "colour/proofing.h"
#include "colour/support.h"

namespace colour {
namespace {

constexpr int GridValue(int step, int steps) {
    // 0, 8, ..., 248 then 255 (RGB); 0, 32, ..., 224 then 255 (CMYK).
    const int spacing = 256 / (steps - 1);
    return step == steps - 1 ? 255 : step * spacing;
}

// A CMYK value's nearest grid step, scaled to its axis's byte offset in the
// table (three bytes a point; K fastest).
struct CMYKIndex {
    std::array<std::array<std::uint32_t, 256>, 4> offsets{};
    constexpr CMYKIndex() {
        constexpr std::uint32_t kAxisScale[4] = {2187, 243, 27, 3};
        for (int axis = 0; axis < 4; ++axis) {
            for (int v = 0; v < 256; ++v) {
                const int step = std::min((v + 16) / 32, 8);
                offsets[axis][v] = static_cast<std::uint32_t>(step) * kAxisScale[axis];
            }
        }
    }
};
constexpr CMYKIndex kCMYKIndex;

enum class TableKind { kNone, kRGB, kCMYK };

TableKind TableFor(int kind) {
    switch (kind) {
        case 1: case 4: case 5: case 11: case 12:
            return TableKind::kRGB;
        case 6: case 13: case 21: case 22:
            return ClrPrinterIsCMYK() ? TableKind::kCMYK : TableKind::kNone;
        case 7: case 8: case 14: case 15:
            return TableKind::kCMYK;
        default:
            return TableKind::kNone;
    }
}

}  // namespace

void ClrFillRGBGrid(std::uint8_t* grid) {
    for (int r = 0; r < kRGBGridSteps; ++r) {
        for (int g = 0; g < kRGBGridSteps; ++g) {
            for (int b = 0; b < kRGBGridSteps; ++b) {
                *grid++ = static_cast<std::uint8_t>(GridValue(b, kRGBGridSteps));
                *grid++ = static_cast<std::uint8_t>(GridValue(g, kRGBGridSteps));
                *grid++ = static_cast<std::uint8_t>(GridValue(r, kRGBGridSteps));
            }
        }
    }
}

void ClrFillCMYKGrid(std::uint8_t* grid) {
    for (int c = 0; c < kCMYKGridSteps; ++c) {
        for (int m = 0; m < kCMYKGridSteps; ++m) {
            for (int y = 0; y < kCMYKGridSteps; ++y) {
                for (int k = 0; k < kCMYKGridSteps; ++k) {
                    *grid++ = static_cast<std::uint8_t>(GridValue(c, kCMYKGridSteps));
                    *grid++ = static_cast<std::uint8_t>(GridValue(m, kCMYKGridSteps));
                    *grid++ = static_cast<std::uint8_t>(GridValue(y, kCMYKGridSteps));
                    *grid++ = static_cast<std::uint8_t>(GridValue(k, kCMYKGridSteps));
                }
            }
        }
    }
}

int ClrBuildLookupTables(int kind) {
    if (detail::KindTransform(kind) == nullptr) return 0;
    const TableKind table = TableFor(kind);
    if (table == TableKind::kNone || detail::KindLookupTable(kind) != nullptr) return 1;
    const bool rgb = table == TableKind::kRGB;
    const int points = rgb ? kRGBGridPoints : kCMYKGridPoints;
    std::unique_ptr<std::uint8_t[]> grid(new (std::nothrow) std::uint8_t[static_cast<std::size_t>(points) * (rgb ? 3 : 4)]);
    std::unique_ptr<std::uint8_t[]> values(new (std::nothrow) std::uint8_t[static_cast<std::size_t>(points) * 3]);
    if (grid && values) {
        if (rgb) {
            ClrFillRGBGrid(grid.get());
        } else {
            ClrFillCMYKGrid(grid.get());
        }
        if (ClrEvaluateGrid(values.get(), kind, grid.get(), points, 1)) {
            detail::SetKindLookupTable(kind, std::move(values));
            return 1;
        }
    }
    ShowErrorBox(1000, "lookup.c", __LINE__, nullptr, 0);
    return 0;
}

void ClrLookupRGB(std::uint8_t* dst, std::ptrdiff_t dstStride, const std::uint8_t* src, std::ptrdiff_t srcStride,
                  int width, int rows, const std::uint8_t* table) {
    // The far corner lies one step further on all three axes.
    constexpr std::ptrdiff_t kFar = 3 * ((kRGBGridSteps + 1) * kRGBGridSteps + 1);
    for (int y = 0; y < rows; ++y) {
        const std::uint8_t* s = src + y * srcStride;
        std::uint8_t* d = dst + y * dstStride;
        for (int x = 0; x < width; ++x, s += 3, d += 3) {
            const std::uint8_t in[3] = {s[0], s[1], s[2]};  // blue, green, red
            const std::ptrdiff_t cell = ((in[2] >> 3) * kRGBGridSteps + (in[1] >> 3)) * kRGBGridSteps + (in[0] >> 3);
            const std::uint8_t* near = table + 3 * cell;
            const std::uint8_t* far = near + kFar;
            for (int i = 0; i < 3; ++i) {
                const int w = (in[i] & 7) + (in[i] == 255 ? 1 : 0);
                d[i] = static_cast<std::uint8_t>((w * far[i] + (8 - w) * near[i]) >> 3);
            }
        }
    }
}

void ClrLookupCMYK(std::uint8_t* dst, std::ptrdiff_t dstStride, const std::uint8_t* src, std::ptrdiff_t srcStride,
                   int width, int rows, const std::uint8_t* table) {
    const auto& o = kCMYKIndex.offsets;
    // Rows are walked so that a CMYK row converted in place is read ahead of
    // the RGB bytes written over it.
    for (int y = 0; y < rows; ++y) {
        const std::uint8_t* s = src + y * srcStride;
        std::uint8_t* d = dst + y * dstStride;
        for (int x = 0; x < width; ++x, s += 4, d += 3) {
            const std::uint8_t* p = table + o[0][s[0]] + o[1][s[1]] + o[2][s[2]] + o[3][s[3]];
            const std::uint8_t out[3] = {p[0], p[1], p[2]};
            d[0] = out[0];
            d[1] = out[1];
            d[2] = out[2];
        }
    }
}

}  // namespace colour
