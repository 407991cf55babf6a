// Lab in its two layouts, Lab and RGB through one-pixel row conversions, and
// Lab to XYZ in double precision.
#include <cmath>

#include "colour/convert.h"
#include "converter_support.h"
#include "one_pixel.h"

namespace colour {
namespace {

using detail::Accept;
using detail::Start;

void ShiftAB(ColorRecord* out, const ColorRecord* in, std::uint16_t model) {
    const std::uint8_t l = in->At(8);
    const std::uint8_t a = static_cast<std::uint8_t>(in->At(9) + 128);
    const std::uint8_t b = static_cast<std::uint8_t>(in->At(10) + 128);
    ColorRecord& c = Start(out, model);
    c.At(8) = l;
    c.At(9) = a;
    c.At(10) = b;
}

// A scaled XYZ value stored in a byte.
std::uint8_t XyzByte(double v) {
    const double scaled = v * 100.0;
    if (!(scaled > 0.0)) return 0;
    if (scaled >= 255.0) return 255;
    return static_cast<std::uint8_t>(scaled);
}

}  // namespace

void ClrLabToLabOffset(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelLab)) return;
    ShiftAB(out, in, kModelLabOffset);
}

void ClrLabOffsetToLab(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelLabOffset)) return;
    ShiftAB(out, in, kModelLab);
}

void ClrRGBToLabOffset(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelRGB)) return;
    std::uint8_t lab[3];
    if (!detail::OnePixelRGBToLab(in->Channels(), lab)) {
        out->BeginResult(kModelNone);
        return;
    }
    *out = ColorRecord::LabOffset(lab[0], lab[1], lab[2]);
}

void ClrRGB48ToLabOffset(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelRGB48)) return;
    ClrRGB48ToRGB(out, in);
    ClrRGBToLabOffset(out, out);
}

void ClrRGBToLab(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelRGB)) return;
    ClrRGBToLabOffset(out, in);
    ClrLabOffsetToLab(out, out);
}

void ClrRGB48ToLab(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelRGB48)) return;
    ClrRGB48ToLabOffset(out, in);
    ClrLabOffsetToLab(out, out);
}

void ClrLabOffsetToRGB(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelLabOffset)) return;
    std::uint8_t bgr[3];
    if (!detail::OnePixelLabToRGB(in->Channels(), bgr)) {
        out->BeginResult(kModelNone);
        return;
    }
    *out = ColorRecord::RGB(bgr[2], bgr[1], bgr[0]);
}

void ClrLabOffsetToRGB48(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelLabOffset)) return;
    ClrLabOffsetToRGB(out, in);
    ClrRGBToRGB48(out, out);
}

void ClrLabToRGB(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelLab)) return;
    ClrLabToLabOffset(out, in);
    ClrLabOffsetToRGB(out, out);
}

void ClrLabToXYZ(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelLab)) return;
    const double l = in->LabL() * 100.0 / 255.0;
    const double a = in->LabA() * 60.0 / 127.0;
    const double b = in->LabB() * 60.0 / 127.0;
    double y, fy;
    if (l <= 7.9996247999999985) {
        y = l * 0.0011070519207350825;
        fy = y * 7.787 + 16.0 / 116.0;
    } else {
        const double t = (l + 16.0) / 116.0;
        y = t * t * t;
        fy = std::cbrt(y);
    }
    const double fx = fy + a * 0.002;
    const double fz = fy - b * 0.005;
    double x =
        a > (0.2068927064827586 - fy) * 500.0 ? fx * fx * fx : (fx - 16.0 / 116.0) * 0.1284191601386927;
    x *= 0.9500000476837158;
    double z =
        (0.2068927064827586 - fz) * 200.0 < b ? fz * fz * fz : (fz - 16.0 / 116.0) * 0.1284191601386927;
    z *= 1.0877000093460083;
    ColorRecord& c = Start(out, kModelXYZ);
    c.At(8) = XyzByte(x);
    c.At(9) = XyzByte(y);
    c.At(10) = XyzByte(z);
}

}  // namespace colour
