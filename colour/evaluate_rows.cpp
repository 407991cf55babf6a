// A conversion kind's transform evaluated on rows, the gamut check, the
// gamut-warning overlay, and the sample grids of the lookup tables.
#include <climits>
#include <cstring>
#include <memory>
#include <new>

#include "cms_internal.h"
#include "colour/cms.h"
#include "colour/profile_catalogue.h"
#include "colour/proofing.h"
#include "colour/rows.h"
#include "colour/settings.h"
#include "row_buffers.h"

namespace colour {
namespace {

using detail::EvalLayout;

bool Rectangle(const void* dst, const void* src, int width, int rows) {
    return dst != nullptr && src != nullptr && width > 0 && rows > 0;
}

// The kind's transform, once the kind has been asked for.
platform::SpXform* Transform(int kind) {
    return ClrWarnOnce(kind) ? detail::KindTransform(kind) : nullptr;
}

bool Evaluate(int kind, EvalLayout from, const std::uint8_t* src, int srcStride, EvalLayout to,
              std::uint8_t* dst, int dstStride, int width, int rows) {
    platform::SpXform* xform = Transform(kind);
    if (xform == nullptr) return false;
    return detail::EvaluateXform(xform, detail::MakePixelLayout(from, src, width, rows, srcStride),
                                 detail::MakePixelLayout(to, dst, width, rows, dstStride));
}

// A mask for rows, or null when none can be had (then no warning is painted).
std::unique_ptr<std::uint8_t[]> MaskFor(int width, int rows) {
    return detail::AllocateRows(width, rows);
}

// The mask of RGB, Lab or 48-bit RGB rows; 48-bit rows are narrowed to
// RGB first, because the check reads 8-bit samples.
int MaskOf(std::uint8_t* mask, const std::uint8_t* src, int srcStride, EvalLayout layout, int width, int rows) {
    if (layout != detail::kEvalRGB48) return ClrGamutMask(mask, src, layout == detail::kEvalRGB ? 0 : 1, width, rows, srcStride);
    const int stride = ClrPackedRowBytes3(width);
    auto narrow = stride < 0 ? nullptr : detail::AllocateRows(stride, rows);
    if (!narrow) return 0;
    ClrRGB48ToRGBPlain(src, srcStride, narrow.get(), stride, width, rows);
    return ClrGamutMask(mask, narrow.get(), 0, width, rows, stride);
}

// Evaluates into RGB rows with an optional gamut warning taken from `maskSource`.
int EvaluateWithWarning(int kind, EvalLayout from, const std::uint8_t* src, int srcStride, EvalLayout to,
                        std::uint8_t* dst, int dstStride, int width, int rows, bool gamut) {
    if (!Rectangle(dst, src, width, rows) || !ClrInitCms()) return 0;
    std::unique_ptr<std::uint8_t[]> mask;
    int masked = 0;
    if (gamut && to == detail::kEvalRGB && (mask = MaskFor(width, rows)))
        masked = MaskOf(mask.get(), src, srcStride, from, width, rows);
    if (!Evaluate(kind, from, src, srcStride, to, dst, dstStride, width, rows)) return 0;
    if (masked == 1) ClrGamutOverlay(dst, dstStride, mask.get(), width, rows);
    return 1;
}

EvalLayout ToRGBSource(int layout) {
    if (layout == 0 || layout == 5) return detail::kEvalRGB;
    return layout == kEvalLayoutRGB48 ? detail::kEvalRGB48 : detail::kEvalLab;
}

}  // namespace

int ClrEvalRowsToRGB(std::uint8_t* dst, int dstStride, const std::uint8_t* src, int srcStride, int layout,
                     int width, int rows, int kind, int gamut) {
    return EvaluateWithWarning(kind, ToRGBSource(layout), src, srcStride, detail::kEvalRGB, dst, dstStride, width,
                               rows, gamut != 0);
}

int ClrEvalRowsToLab(std::uint8_t* dst, int dstStride, const std::uint8_t* src, int srcStride, int layout,
                     int width, int rows, int kind, int gamut) {
    EvalLayout from;
    switch (layout) {
        case 0: case 2: from = detail::kEvalRGB; break;
        case 1: from = detail::kEvalLab; break;
        case 3: from = detail::kEvalCMYK; break;
        case 4: from = detail::kEvalRGB48; break;
        default: return 0;
    }
    // A warning on Lab rows would paint colours into Lab bytes; none is painted.
    (void)gamut;
    return EvaluateWithWarning(kind, from, src, srcStride, detail::kEvalLab, dst, dstStride, width, rows, false);
}

int ClrEvalCMYKRows(std::uint8_t* dst, int dstStride, const std::uint8_t* src, int srcStride, int output,
                    int width, int rows, int kind, int gamut) {
    if (!Rectangle(dst, src, width, rows) || !ClrInitCms()) return 0;
    const EvalLayout to = output == 0 ? detail::kEvalRGB : output == 1 ? detail::kEvalLab : detail::kEvalRGB48;
    std::unique_ptr<std::uint8_t[]> mask;
    int masked = 0;
    if (gamut != 0 && to == detail::kEvalRGB && (mask = MaskFor(width, rows))) {
        // The check reads RGB: the rows in the working space first.
        const int stride = ClrPackedRowBytes3(width);
        auto rgb = stride < 0 ? nullptr : detail::AllocateRows(stride, rows);
        if (rgb && ClrEvalCMYKRows(rgb.get(), stride, src, srcStride, 0, width, rows, kind == 15 ? 14 : 7, 0))
            masked = ClrGamutMask(mask.get(), rgb.get(), 0, width, rows, stride);
    }
    if (!Evaluate(kind, detail::kEvalCMYK, src, srcStride, to, dst, dstStride, width, rows)) return 0;
    if (masked == 1) ClrGamutOverlay(dst, dstStride, mask.get(), width, rows);
    return 1;
}

int ClrEvalRowsToCMYK(std::uint8_t* dst, int dstStride, const std::uint8_t* src, int srcStride, int layout,
                      int width, int rows, int kind) {
    if (!Rectangle(dst, src, width, rows) || !ClrInitCms()) return 0;
    const EvalLayout from = layout == 0 ? detail::kEvalRGB : layout == kEvalLayoutRGB48 ? detail::kEvalRGB48 : detail::kEvalLab;
    return Evaluate(kind, from, src, srcStride, detail::kEvalCMYK, dst, dstStride, width, rows) ? 1 : 0;
}

int ClrGamutMask(std::uint8_t* mask, const std::uint8_t* src, int layout, int width, int rows, int srcStride) {
    if (mask == nullptr || width <= 0 || rows <= 0) return 0;
    const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(rows);
    bool filled = false;
    if (src != nullptr && detail::CmsInstanceExists()) {
        const int kind = layout != 0 ? 44 : 16;
        const EvalLayout from = layout != 0 ? detail::kEvalLab : detail::kEvalRGB;
        filled = Evaluate(kind, from, src, srcStride, detail::kEvalMask, mask, width, width, rows);
    }
    if (!filled) std::memset(mask, 0, bytes);
    return filled ? 1 : 0;
}

void ClrGamutOverlay(std::uint8_t* dst, int dstStride, const std::uint8_t* mask, int width, int rows) {
    const ClrSettings& s = ClrGetSettings();
    const int c0[3] = {s.gamutColour[0], s.gamutColour[1], s.gamutColour[2]};  // blue, green, red
    const int b = s.gamutBlend;
    const int y0 = (c0[0] + 6 * c0[1] + 3 * c0[2]) / 10;
    for (int y = 0; y < rows; ++y) {
        std::uint8_t* d = dst + static_cast<std::ptrdiff_t>(y) * dstStride;
        const std::uint8_t* m = mask + static_cast<std::ptrdiff_t>(y) * width;
        for (int x = 0; x < width; ++x, d += 3) {
            if (m[x] == 0) continue;
            const int luma = (3 * d[2] + 6 * d[1] + d[0]) / 10;
            const int shade = (luma + y0) >> 1;
            for (int i = 0; i < 3; ++i)
                d[i] = static_cast<std::uint8_t>((((c0[i] * shade) >> 8) * b + c0[i] * (255 - b)) / 255);
        }
    }
}

int ClrEvaluateGrid(std::uint8_t* output, int kind, const std::uint8_t* grid, int width, int rows) {
    if (output == nullptr || grid == nullptr || width <= 0 || rows <= 0) return 0;
    platform::SpXform* xform = detail::KindTransform(kind);
    if (xform == nullptr) return 0;
    EvalLayout from;
    switch (kind) {
        case 1: case 4: case 5: case 11: case 12:
            from = detail::kEvalRGB;
            break;
        case 7: case 8: case 14: case 15:
            from = detail::kEvalCMYK;
            break;
        case 6: case 13: case 21: case 22:
            if (!ClrPrinterIsCMYK()) return 0;
            from = detail::kEvalCMYK;
            break;
        default:
            return 0;
    }
    // Every point in one row.
    const std::int64_t points = static_cast<std::int64_t>(width) * rows;
    if (points > INT32_MAX / 4) return 0;
    const int n = static_cast<int>(points);
    return detail::EvaluateXform(xform, detail::MakePixelLayout(from, grid, n, 1, n * (from == detail::kEvalRGB ? 3 : 4)),
                                 detail::MakePixelLayout(detail::kEvalRGB, output, n, 1, n * 3))
               ? 1
               : 0;
}

}  // namespace colour
