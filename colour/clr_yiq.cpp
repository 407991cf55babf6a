// RGB <-> YIQ in double precision; I and Q are stored as (value + 200) / 2.
#include "colour/convert.h"
#include "converter_support.h"

namespace colour {
namespace {

using detail::Accept;
using detail::Start;

std::uint8_t Truncate(double v) {
    if (!(v > 0.0)) return 0;
    if (v >= 255.0) return 255;
    return static_cast<std::uint8_t>(v);
}

void ToYIQ(ColorRecord* out, double r, double g, double b) {
    const double y = 0.299 * r + 0.587 * g + 0.114 * b + 0.5;
    const double i = (0.596 * r - 0.274 * g - 0.322 * b + 200.0) * 0.5 + 0.5;
    const double q = (0.211 * r - 0.523 * g + 0.312 * b + 200.0) * 0.5 + 0.5;
    ColorRecord& c = Start(out, kModelYIQ);
    c.At(8) = Truncate(y);
    c.At(9) = Truncate(i);
    c.At(10) = Truncate(q);
}

// The inverse, each channel clamped to 0..255 (not yet truncated).
void FromYIQ(const ColorRecord* in, double* r, double* g, double* b) {
    const double y = in->YiqY() + 0.5;
    const double i = 2.0 * in->YiqI() - 200.0 + 0.5;
    const double q = 2.0 * in->YiqQ() - 200.0 + 0.5;
    const auto clamp = [](double v) { return v < 0.0 ? 0.0 : v > 255.0 ? 255.0 : v; };
    *r = clamp(y + 0.956 * i + 0.621 * q);
    *g = clamp(y - 0.272 * i - 0.647 * q);
    *b = clamp(y - 1.106 * i + 1.703 * q);
}

}  // namespace

void ClrRGBToYIQ(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelRGB)) return;
    ToYIQ(out, in->Red(), in->Green(), in->Blue());
}

void ClrRGB48ToYIQ(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelRGB48)) return;
    ToYIQ(out, in->Red16() / 256.0, in->Green16() / 256.0, in->Blue16() / 256.0);
}

void ClrYIQToRGB(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelYIQ)) return;
    double r, g, b;
    FromYIQ(in, &r, &g, &b);
    Start(out, kModelRGB).SetRGB(Truncate(r), Truncate(g), Truncate(b));
}

void ClrYIQToRGB48(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelYIQ)) return;
    double r, g, b;
    FromYIQ(in, &r, &g, &b);
    Start(out, kModelRGB48)
        .SetRGB48(static_cast<std::uint16_t>(r * 256.0), static_cast<std::uint16_t>(g * 256.0),
                  static_cast<std::uint16_t>(b * 256.0));
}

}  // namespace colour
