// The plain row formulas: CMYK with full black generation, Lab through XYZ
// in double precision, and the 8/16-bit channel widths.
#include <algorithm>
#include <cmath>

#include "colour/rows.h"
#include "row_buffers.h"

namespace colour {
namespace {

using detail::EarlyResult;
using detail::ForEachPixel;

std::uint8_t ClampTruncate(double v) {
    if (!(v > 0.0)) return 0;  // also catches NaN
    if (v >= 255.0) return 255;
    return static_cast<std::uint8_t>(v);
}

// The Lab inverse: t is L*/100 shifted by a or b.
double LabInverse(double t) {
    if (t > 0.08) {
        const double u = (t + 0.16) * 0.8620689655172414;
        return u * u * u;
    }
    return t * 0.11070519207350825;
}

double LabForward(double t) {
    return t > 0.008856 ? std::pow(t, 0.333333) * 1.16 - 0.16 : t * 9.033;
}

template <int SrcBytes, int DstBytes, typename Convert>
int Run(const std::uint8_t* src, int srcStride, std::uint8_t* dst, int dstStride, int width, int rows,
        Convert convert) {
    if (const std::optional<int> early = EarlyResult(dst, src, width, rows)) return *early;
    ForEachPixel<SrcBytes, DstBytes>(src, srcStride, dst, dstStride, width, rows, convert);
    return 1;
}

}  // namespace

int ClrCMYKToRGBPlain(const std::uint8_t* src, int srcStride, std::uint8_t* dst, int dstStride, int width,
                      int rows) {
    return Run<4, 3>(src, srcStride, dst, dstStride, width, rows,
                     [](const std::uint8_t* in, std::uint8_t* out) {
                         const int k = in[3];
                         out[2] = static_cast<std::uint8_t>(255 - std::min(255, in[0] + k));
                         out[1] = static_cast<std::uint8_t>(255 - std::min(255, in[1] + k));
                         out[0] = static_cast<std::uint8_t>(255 - std::min(255, in[2] + k));
                     });
}

int ClrRGBToCMYKPlain(const std::uint8_t* src, int srcStride, std::uint8_t* dst, int dstStride, int width,
                      int rows) {
    return Run<3, 4>(src, srcStride, dst, dstStride, width, rows,
                     [](const std::uint8_t* in, std::uint8_t* out) {
                         const int c = 255 - in[2];
                         const int m = 255 - in[1];
                         const int y = 255 - in[0];
                         const int k = std::min({c, m, y});
                         out[0] = static_cast<std::uint8_t>(c - k);
                         out[1] = static_cast<std::uint8_t>(m - k);
                         out[2] = static_cast<std::uint8_t>(y - k);
                         out[3] = static_cast<std::uint8_t>(k);
                     });
}

int ClrLabToRGBPlain(const std::uint8_t* src, int srcStride, std::uint8_t* dst, int dstStride, int width,
                     int rows) {
    return Run<3, 3>(
        src, srcStride, dst, dstStride, width, rows, [](const std::uint8_t* in, std::uint8_t* out) {
            const double l = in[0] / 255.0;
            const double y = LabInverse(l) * 0.9999999701976776;
            const double x = LabInverse((in[1] - 128) * 0.002320185614849188 + l) * 0.9500000178813934;
            const double z = LabInverse(l - (in[2] - 128) * 0.00580046403712297) * 1.0877000000327826;
            out[2] = ClampTruncate((3.240479 * x - 1.53715 * y - 0.498535 * z) * 255.0);
            out[1] = ClampTruncate((-0.969256 * x + 1.875991 * y + 0.041556 * z) * 255.0);
            out[0] = ClampTruncate((0.055648 * x - 0.204043 * y + 1.057311 * z) * 255.0);
        });
}

int ClrRGBToLabPlain(const std::uint8_t* src, int srcStride, std::uint8_t* dst, int dstStride, int width,
                     int rows) {
    return Run<3, 3>(src, srcStride, dst, dstStride, width, rows,
                     [](const std::uint8_t* in, std::uint8_t* out) {
                         const double r = in[2] / 255.0;
                         const double g = in[1] / 255.0;
                         const double b = in[0] / 255.0;
                         const double x = 0.412453 * r + 0.35758 * g + 0.180423 * b;
                         const double y = 0.212671 * r + 0.71516 * g + 0.072169 * b;
                         const double z = 0.019334 * r + 0.119193 * g + 0.950227 * b;
                         const double fx = LabForward(x * 1.0526315591341904);
                         const double fy = LabForward(y * 1.0000000298023233);
                         const double fz = LabForward(z * 0.9193711501055996);
                         out[0] = ClampTruncate(fy * 100.0 * 2.55);
                         out[1] = ClampTruncate((fx - fy) * 431.0 + 128.0);
                         out[2] = ClampTruncate((fy - fz) * 172.4 + 128.0);
                     });
}

int ClrRGB48ToRGBPlain(const std::uint8_t* src, int srcStride, std::uint8_t* dst, int dstStride, int width,
                       int rows) {
    return Run<6, 3>(src, srcStride, dst, dstStride, width, rows,
                     [](const std::uint8_t* in, std::uint8_t* out) {
                         out[0] = in[1];
                         out[1] = in[3];
                         out[2] = in[5];
                     });
}

int ClrRGBToRGB48Plain(const std::uint8_t* src, int srcStride, std::uint8_t* dst, int dstStride, int width,
                       int rows) {
    return Run<3, 6>(src, srcStride, dst, dstStride, width, rows,
                     [](const std::uint8_t* in, std::uint8_t* out) {
                         for (int i = 0; i < 3; ++i) out[2 * i] = out[2 * i + 1] = in[i];
                     });
}

int ClrCopyRows(const std::uint8_t* src, int srcStride, std::uint8_t* dst, int dstStride, int rowBytes,
                int rows) {
    if (const std::optional<int> early = EarlyResult(dst, src, rowBytes, rows)) return *early;
    // Rows are moved, not copied, and in the order that keeps overlapping
    // rows intact when the buffers are one.
    const bool backwards = dstStride > srcStride;
    for (int i = 0; i < rows; ++i) {
        const int row = backwards ? rows - 1 - i : i;
        std::memmove(dst + static_cast<std::ptrdiff_t>(row) * dstStride,
                     src + static_cast<std::ptrdiff_t>(row) * srcStride, static_cast<std::size_t>(rowBytes));
    }
    return 1;
}

namespace detail {

void CopyPixelRows(const std::uint8_t* src, std::ptrdiff_t srcStride, std::uint8_t* dst,
                   std::ptrdiff_t dstStride, std::ptrdiff_t rowBytes, int rows) {
    if (src == dst && srcStride == dstStride) return;
    if (srcStride == dstStride && srcStride >= rowBytes) {
        std::memmove(dst, src, static_cast<std::size_t>((rows - 1) * srcStride + rowBytes));
        return;
    }
    const bool backwards = dstStride > srcStride;
    for (int i = 0; i < rows; ++i) {
        const int row = backwards ? rows - 1 - i : i;
        std::memmove(dst + row * dstStride, src + row * srcStride, static_cast<std::size_t>(rowBytes));
    }
}

}  // namespace detail
}  // namespace colour
