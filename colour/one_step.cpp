// The integer one-step converters: CMYK percent and CMY, channel widths,
// grey and black-and-white, and the CMYK ones that take a one-pixel row.
#include <cstdlib>

#include "colour/convert.h"
#include "converter_support.h"
#include "one_pixel.h"

namespace colour {

using detail::Accept;
using detail::AcceptCMYK;
using detail::ClampByte;
using detail::Start;

int ClrMulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const long long product = static_cast<long long>(a) * b;
    const long long magnitude = (std::llabs(product) + std::llabs(static_cast<long long>(c)) / 2) /
                                std::llabs(static_cast<long long>(c));
    return static_cast<int>((product < 0) != (c < 0) ? -magnitude : magnitude);
}

void ClrCMYKPercentToCMYK(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelCMYKPercent)) return;
    std::uint8_t v[4];
    // A percentage above 100 would not fit a byte once scaled: it counts as 100.
    for (int i = 0; i < 4; ++i) v[i] = ClampByte(ClrMulDiv(in->At(8 + i), 255, 100));
    Start(out, kModelCMYK).SetCMYK(v[0], v[1], v[2], v[3]);
}

void ClrCMYKToCMYKPercent(ColorRecord* out, const ColorRecord* in) {
    if (!AcceptCMYK(out, in)) return;
    std::uint8_t v[4];
    for (int i = 0; i < 4; ++i) v[i] = static_cast<std::uint8_t>(ClrMulDiv(in->At(8 + i), 100, 255));
    Start(out, kModelCMYKPercent).SetCMYK(v[0], v[1], v[2], v[3]);
}

void ClrCMYToRGB(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelCMY)) return;
    const int c = in->Cyan(), m = in->Magenta(), y = in->Yellow();
    Start(out, kModelRGB)
        .SetRGB(static_cast<std::uint8_t>(255 - c), static_cast<std::uint8_t>(255 - m),
                static_cast<std::uint8_t>(255 - y));
}

void ClrRGBToCMY(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelRGB)) return;
    const int r = in->Red(), g = in->Green(), b = in->Blue();
    Start(out, kModelCMY)
        .SetCMYK(static_cast<std::uint8_t>(255 - r), static_cast<std::uint8_t>(255 - g),
                 static_cast<std::uint8_t>(255 - b), 0);
}

void ClrCMYToRGB48(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelCMY)) return;
    ClrCMYToRGB(out, in);
    ClrRGBToRGB48(out, out);
}

void ClrRGB48ToCMY(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelRGB48)) return;
    ClrRGB48ToRGB(out, in);
    ClrRGBToCMY(out, out);
}

void ClrCMYKToRGB48(ColorRecord* out, const ColorRecord* in) {
    if (!AcceptCMYK(out, in)) return;
    std::uint8_t bgr[3];
    if (!detail::OnePixelCMYKToRGB(in->Channels(), bgr)) {
        out->BeginResult(kModelNone);
        return;
    }
    Start(out, kModelRGB48).SetRGB48(WidenChannel(bgr[2]), WidenChannel(bgr[1]), WidenChannel(bgr[0]));
}

void ClrRGB48ToCMYK(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelRGB48)) return;
    const std::uint8_t bgr[3] = {NarrowChannel(in->Blue16()), NarrowChannel(in->Green16()),
                                 NarrowChannel(in->Red16())};
    std::uint8_t cmyk[4];
    if (!detail::OnePixelRGBToCMYK(bgr, cmyk)) {
        out->BeginResult(kModelNone);
        return;
    }
    Start(out, kModelCMYK).SetCMYK(cmyk[0], cmyk[1], cmyk[2], cmyk[3]);
}

void ClrRGBToRGB48(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelRGB)) return;
    const std::uint8_t r = in->Red(), g = in->Green(), b = in->Blue();
    Start(out, kModelRGB48).SetRGB48(WidenChannel(r), WidenChannel(g), WidenChannel(b));
}

void ClrRGB48ToRGB(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelRGB48)) return;
    const std::uint16_t r = in->Red16(), g = in->Green16(), b = in->Blue16();
    Start(out, kModelRGB).SetRGB(NarrowChannel(r), NarrowChannel(g), NarrowChannel(b));
}

void ClrGreyToGrey16(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelGrey)) return;
    const std::uint8_t level = in->GreyLevel();
    Start(out, kModelGrey16).SetU16(8, WidenChannel(level));
}

void ClrGrey16ToGrey(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelGrey16)) return;
    const std::uint16_t level = in->Grey16();
    Start(out, kModelGrey).At(8) = NarrowChannel(level);
}

void ClrRGBToGrey(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelRGB)) return;
    const int level = (299 * in->Red() + 587 * in->Green() + 114 * in->Blue()) / 1000;
    Start(out, kModelGrey).At(8) = static_cast<std::uint8_t>(level);
}

void ClrRGBToGrey16(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelRGB)) return;
    // The weights sum to 16384, so the shift leaves a 16-bit level.
    const int level = (4899 * in->Red() + 9617 * in->Green() + 1868 * in->Blue()) >> 6;
    Start(out, kModelGrey16).SetU16(8, static_cast<std::uint16_t>(level));
}

void ClrRGB48ToGrey(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelRGB48)) return;
    ClrRGB48ToRGB(out, in);
    ClrRGBToGrey(out, out);
}

void ClrRGB48ToGrey16(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelRGB48)) return;
    const int level = (299 * in->Red16() + 587 * in->Green16() + 114 * in->Blue16()) / 1000;
    Start(out, kModelGrey16).SetU16(8, static_cast<std::uint16_t>(level));
}

void ClrGreyToBW(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelGrey)) return;
    const bool white = in->GreyLevel() > 127;
    Start(out, kModelBlackWhite).SetU32(8, white ? 1 : 0);
}

void ClrBWToGrey(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelBlackWhite)) return;
    const bool white = in->BlackWhite() != 0;
    Start(out, kModelGrey).At(8) = white ? 255 : 0;
}

void ClrBWToRGB(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelBlackWhite)) return;
    const std::uint8_t v = in->BlackWhite() != 0 ? 255 : 0;
    Start(out, kModelRGB).SetRGB(v, v, v);
}

void ClrBWToRGB48(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelBlackWhite)) return;
    const std::uint16_t v = in->BlackWhite() != 0 ? 65535 : 0;
    Start(out, kModelRGB48).SetRGB48(v, v, v);
}

void ClrGreyToRGB(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelGrey)) return;
    const std::uint8_t v = in->GreyLevel();
    Start(out, kModelRGB).SetRGB(v, v, v);
}

void ClrGreyToRGB48(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelGrey)) return;
    const std::uint16_t v = WidenChannel(in->GreyLevel());
    Start(out, kModelRGB48).SetRGB48(v, v, v);
}

void ClrGrey16ToRGB(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelGrey16)) return;
    const std::uint8_t v = NarrowChannel(in->Grey16());
    Start(out, kModelRGB).SetRGB(v, v, v);
}

void ClrGrey16ToRGB48(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelGrey16)) return;
    const std::uint16_t v = in->Grey16();
    Start(out, kModelRGB48).SetRGB48(v, v, v);
}

void ClrHSBToGrey(ColorRecord* out, const ColorRecord* in) {
    if (!Accept(out, in, kModelHSB)) return;
    const std::uint8_t v = in->HsbBrightness();
    Start(out, kModelGrey).At(8) = v;
}

}  // namespace colour
