// Worked values of the RGB and Lab kernels: the whole-pixel picks and their
// ties, the lightness multiply, the two forms of column 5, the one-byte rows,
// Lab's centred chroma multiply and strict L rule, the hue arc of the HSB
// modes and pixels of weight 0 left alone, Dissolve per pixel, and the Set
// and Copy called by name.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "colour/hsb.h"
#include "kernel_paths.h"
#include "kernels/direct_kernels.h"
#include "kernels/kernel_tables.h"

namespace raster::kernels {
namespace {

using testing::AvailablePaths;
using testing::ScopedPath;
using Px = std::array<std::uint8_t, 3>;

struct Golden24 {
    const char* what;
    bool lab, blit;
    std::uint32_t mode, col;
    Px d, c;  // c: the colour's channel bytes, or every source pixel
    std::uint8_t m1, m2, a;
    Px want;
};
void PrintTo(const Golden24& g, std::ostream* os) { *os << g.what; }

constexpr bool kRgb = false, kLab = true, kFill = false, kBlit = true;

// n equal pixels through the case's slot; a fill's colour record is given
// whole or made from the case's bytes.
std::vector<std::uint8_t> RunOf(const Golden24& g, std::uint32_t n, const colour::ColorRecord* record = nullptr) {
    std::vector<std::uint8_t> row, src, m1(n, g.m1), m2(n, g.m2);
    for (std::uint32_t i = 0; i < n; ++i) {
        row.insert(row.end(), g.d.begin(), g.d.end());
        src.insert(src.end(), g.c.begin(), g.c.end());
    }
    const RIPKernelCoverage cov{m1.data(), m2.data(), g.a};
    if (g.blit) {
        RIPKernelParams::Blit params;
        params.srcStep = params.dstStep = 3;
        params.channelsPerPixel = 3;
        (g.lab ? RIPBlitKernelsLab : RIPBlitKernels24)[g.mode][g.col](&params, n, row.data(), src.data(), &cov);
    } else {
        RIPKernelParams::Fill params;
        if (record != nullptr) {
            params.color = *record;
        } else {
            params.color.BeginResult(g.lab ? colour::kModelLabOffset : colour::kModelRGB);
            std::copy(g.c.begin(), g.c.end(), params.color.bytes + 8);
        }
        (g.lab ? RIPFillKernelsLab : RIPFillKernels24)[g.mode][g.col](&params, n, row.data(), &cov);
    }
    return row;
}

class Golden24Test : public ::testing::TestWithParam<Golden24> {};

// Runs of 5 and 40 equal pixels, so the vector paths meet the case too.
TEST_P(Golden24Test, GivesTheWorkedValue) {
    const Golden24& g = GetParam();
    for (const auto& path : AvailablePaths()) {
        ScopedPath scope(path.features);
        for (std::uint32_t n : {5u, 40u}) {
            const std::vector<std::uint8_t> row = RunOf(g, n);
            for (std::uint32_t i = 0; i < n; ++i) {
                ASSERT_EQ((Px{row[3 * i], row[3 * i + 1], row[3 * i + 2]}), g.want)
                    << path.name << " pixels " << n << " at " << i;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, Golden24Test,
    ::testing::Values(
        // Lighten and Darken of RGB decide on the largest byte, for the whole pixel.
        Golden24{"lighten: 200 beats 199 although byte 0 falls", kRgb, kFill, kModeLighten, 0, {199, 0, 0},
                 {10, 200, 10}, 0, 0, 0, {10, 200, 10}},
        Golden24{"lighten keeps the pixel on a tie", kRgb, kFill, kModeLighten, 0, {200, 0, 0}, {50, 200, 0}, 0, 0,
                 0, {200, 0, 0}},
        Golden24{"darken takes the colour on a tie", kRgb, kFill, kModeDarken, 0, {200, 0, 0}, {50, 200, 0}, 0, 0, 0,
                 {50, 200, 0}},
        Golden24{"blit darken copies on equal brightness", kRgb, kBlit, kModeDarken, 0, {200, 0, 0}, {0, 200, 5}, 0,
                 0, 0, {0, 200, 5}},
        Golden24{"blit lighten keeps on equal brightness", kRgb, kBlit, kModeLighten, 0, {200, 0, 0}, {0, 200, 5}, 0,
                 0, 0, {200, 0, 0}},
        Golden24{"blit lighten by the blended candidate", kRgb, kBlit, kModeLighten, 1, {100, 0, 0}, {0, 0, 220},
                 128, 0, 0, {49, 0, 110}},
        Golden24{"blit lighten: a candidate no brighter keeps the pixel", kRgb, kBlit, kModeLighten, 1, {100, 0, 0},
                 {0, 0, 200}, 128, 0, 0, {100, 0, 0}},
        // LightnessMultiply: one factor (max + min) / 2 for all three bytes.
        Golden24{"lightness of (255, 0, 0) is 127", kRgb, kFill, kModeLightnessMultiply, 0, {200, 100, 50},
                 {255, 0, 0}, 0, 0, 0, {99, 49, 24}},
        Golden24{"lightness of (1, 0, 0) is 0", kRgb, kFill, kModeLightnessMultiply, 0, {200, 100, 50}, {1, 0, 0}, 0,
                 0, 0, {0, 0, 0}},
        Golden24{"blit lightness from each source pixel", kRgb, kBlit, kModeLightnessMultiply, 0, {200, 100, 50},
                 {255, 0, 0}, 0, 0, 0, {99, 49, 24}},
        // Column 5 outside mode 0 is floor(m1·m2·a / 64771); Or of white onto black writes the weight.
        Golden24{"column 5 at 64770 is weight 0", kRgb, kFill, kModeOr, 5, {0, 0, 0}, {255, 255, 255}, 254, 1, 255,
                 {0, 0, 0}},
        Golden24{"column 5 at 65024 is weight 1", kRgb, kFill, kModeOr, 5, {0, 0, 0}, {255, 255, 255}, 128, 254, 2,
                 {1, 1, 1}},
        Golden24{"column 5 full is the opaque result", kRgb, kFill, kModeOr, 5, {0, 0, 0}, {255, 255, 255}, 255, 255,
                 255, {255, 255, 255}},
        Golden24{"set column 5 at 2, 200, 162 is weight 0", kRgb, kFill, kModeSet, 5, {0, 0, 0}, {255, 255, 255}, 2,
                 200, 162, {0, 0, 0}},
        Golden24{"divide by a zero colour byte gives 255, by 255 keeps", kRgb, kFill, kModeDivide, 0, {0, 77, 200},
                 {0, 255, 10}, 0, 0, 0, {255, 77, 255}},
        Golden24{"channel 1 blends byte 1 only", kRgb, kFill, kModeChannel1, 1, {10, 20, 30}, {200, 200, 200}, 128, 0,
                 0, {10, 110, 30}},
        Golden24{"channel 2 writes byte 2 only", kRgb, kBlit, kModeChannel2, 0, {10, 20, 30}, {1, 2, 3}, 0, 0, 0,
                 {10, 20, 3}},
        Golden24{"screen with blue alone changes byte 0 alone", kRgb, kFill, kModeScreen, 0, {10, 20, 30},
                 {255, 0, 0}, 0, 0, 0, {255, 20, 30}},
        // Lab: the chroma bytes multiply centred on 128.
        Golden24{"lab multiply by neutral: L kept, chroma from 128 up rises by 1", kLab, kFill, kModeMultiply, 0,
                 {77, 100, 200}, {255, 128, 128}, 0, 0, 0, {77, 100, 201}},
        Golden24{"lab multiply by neutral: 128 rises, 255 stays", kLab, kFill, kModeMultiply, 0, {10, 128, 255},
                 {255, 128, 128}, 0, 0, 0, {10, 129, 255}},
        Golden24{"centred multiply by 255 below 128", kLab, kFill, kModeMultiply, 0, {10, 1, 64}, {255, 255, 255}, 0,
                 0, 0, {10, 1, 127}},
        Golden24{"centred multiply by 255 at 127 and 128", kLab, kFill, kModeMultiply, 0, {0, 127, 128},
                 {255, 255, 255}, 0, 0, 0, {0, 253, 255}},
        Golden24{"centred multiply by 0 at 128 and 200", kLab, kFill, kModeMultiply, 0, {0, 128, 200}, {0, 0, 0}, 0, 0,
                 0, {0, 2, 146}},
        Golden24{"centred multiply by 0 at 255 and 100", kLab, kFill, kModeMultiply, 0, {0, 255, 100}, {0, 0, 0}, 0, 0,
                 0, {0, 255, 0}},
        Golden24{"lab screen shares the chroma bytes of multiply", kLab, kFill, kModeScreen, 0, {50, 128, 200},
                 {0, 0, 0}, 0, 0, 0, {50, 2, 146}},
        Golden24{"lab blit multiply at 127 and 128", kLab, kBlit, kModeMultiply, 0, {255, 127, 128}, {255, 100, 100},
                 0, 0, 0, {255, 99, 102}},
        // Lab: Lighten and Darken decide strictly on L.
        Golden24{"lab lighten on equal L keeps the chroma too", kLab, kFill, kModeLighten, 0, {100, 50, 50},
                 {100, 0, 255}, 0, 0, 0, {100, 50, 50}},
        Golden24{"lab darken on equal L keeps the chroma too", kLab, kFill, kModeDarken, 0, {100, 50, 50},
                 {100, 0, 255}, 0, 0, 0, {100, 50, 50}},
        Golden24{"lab blit lighten on equal L", kLab, kBlit, kModeLighten, 0, {100, 50, 50}, {100, 0, 255}, 0, 0, 0,
                 {100, 50, 50}},
        Golden24{"lab blit darken on equal L", kLab, kBlit, kModeDarken, 0, {100, 50, 50}, {100, 0, 255}, 0, 0, 0,
                 {100, 50, 50}},
        Golden24{"lab lighten whose blended L does not rise", kLab, kFill, kModeLighten, 1, {100, 50, 50},
                 {101, 0, 0}, 1, 0, 0, {100, 50, 50}},
        Golden24{"lab lighten with weight 0", kLab, kFill, kModeLighten, 1, {100, 50, 50}, {200, 0, 0}, 0, 0, 0,
                 {100, 50, 50}},
        Golden24{"lab darken takes the whole pixel", kLab, kFill, kModeDarken, 0, {100, 50, 50}, {99, 0, 255}, 0, 0,
                 0, {99, 0, 255}},
        Golden24{"lab brightness writes L only", kLab, kBlit, kModeBrightness, 0, {1, 2, 3}, {9, 8, 7}, 0, 0, 0,
                 {9, 2, 3}},
        Golden24{"lab add saturates the chroma bytes", kLab, kBlit, kModeAdd, 0, {100, 100, 50}, {200, 200, 200}, 0, 0,
                 0, {255, 255, 250}}));

// --- Hue, saturation and brightness ---

Px RgbPixel(int r, int g, int b) {
    return {static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(r)};
}
struct HsbOfPx {
    int h, s, b;
};
HsbOfPx HsbOf(const Px& p) {
    std::uint16_t h, s, b;
    colour::ClrRGBValuesToHSB(&h, &s, &b, p[2], p[1], p[0]);
    return {h, s, b};
}
Px PxOf(int h, int s, int b) {
    std::uint16_t r, g, bl;
    colour::ClrHSBValuesToRGB(&r, &g, &bl, h, s, b);
    return RgbPixel(r, g, bl);
}
// A fully bright colour of exactly this hue.
Px WithHue(int hue) {
    for (int g = 0; g < 256; ++g) {
        for (int b = 0; b < 256; ++b) {
            for (const Px& p : {RgbPixel(255, g, b), RgbPixel(g, 255, b), RgbPixel(g, b, 255)}) {
                if (HsbOf(p).h == hue && HsbOf(p).s > 100) return p;
            }
        }
    }
    ADD_FAILURE() << "no colour of hue " << hue;
    return {};
}

std::vector<std::uint8_t> Pixels(const Px& p, std::uint32_t n) {
    std::vector<std::uint8_t> row;
    for (std::uint32_t i = 0; i < n; ++i) row.insert(row.end(), p.begin(), p.end());
    return row;
}

// One pixel through fill-24 with the colour record, or blit-24 with the
// source pixel, at weight w in every mask and the opacity.
Px FillOne(std::uint32_t mode, std::uint32_t col, const Px& d, const colour::ColorRecord& colour, std::uint8_t w) {
    const std::vector<std::uint8_t> row = RunOf({"", kRgb, kFill, mode, col, d, {}, w, w, w, {}}, 1, &colour);
    return {row[0], row[1], row[2]};
}
Px BlitOne(std::uint32_t mode, std::uint32_t col, const Px& d, const Px& s, std::uint8_t w) {
    const std::vector<std::uint8_t> row = RunOf({"", kRgb, kBlit, mode, col, d, s, w, w, w, {}}, 1);
    return {row[0], row[1], row[2]};
}
colour::ColorRecord RgbRecord(const Px& p) { return colour::ColorRecord::RGB(p[2], p[1], p[0]); }

struct HueArc {
    int colourHue, pixelHue, want;
};

TEST(HsbGolden, HueMovesAlongTheShorterArc) {
    // Column 2 at opacity 128: 10 over 350 wraps to 0; 90 over 270 (exactly
    // 180 apart) does not wrap; 100 over 281 gives 10.
    for (const HueArc& c : {HueArc{10, 350, 0}, HueArc{90, 270, 179}, HueArc{100, 281, 10}}) {
        const Px pixel = WithHue(c.pixelHue);
        const HsbOfPx p = HsbOf(pixel);
        EXPECT_EQ(FillOne(kModeHue, kCoverConstant, pixel, RgbRecord(WithHue(c.colourHue)), 128), PxOf(c.want, p.s, p.b))
            << c.colourHue << " over " << c.pixelHue;
    }
    // A blit at mask 128: source 350 over destination 10 gives 359, not a hue near 180.
    const Px dst = WithHue(10);
    EXPECT_EQ(BlitOne(kModeHue, kCoverMask, dst, WithHue(350), 128), PxOf(359, HsbOf(dst).s, HsbOf(dst).b));
    // Full weight gives the colour's hue exactly.
    EXPECT_EQ(FillOne(kModeHue, kCoverMask, dst, RgbRecord(WithHue(200)), 255), PxOf(200, HsbOf(dst).s, HsbOf(dst).b));
}

TEST(HsbGolden, HueSaturationBlendsBothByTheWeight) {
    const Px pixel = WithHue(350), colour = RgbPixel(40, 60, 200);
    const HsbOfPx p = HsbOf(pixel), c = HsbOf(colour);
    const int hue = static_cast<int>((128 * (c.h) + 127 * p.h + (128 * c.h + 127 * p.h) / 65536) / 255);
    const int saturation = (p.s * 255 + (c.s - p.s) * 128) / 255;
    EXPECT_EQ(FillOne(kModeHueSaturation, kCoverConstant, pixel, RgbRecord(colour), 128), PxOf(hue, saturation, p.b));
    // An HSB colour record is taken as it stands.
    const colour::ColorRecord hsb = colour::ColorRecord::HSB(static_cast<std::uint16_t>(c.h),
                                                             static_cast<std::uint8_t>(c.s), 17);
    EXPECT_EQ(FillOne(kModeHueSaturation, kCoverOpaque, pixel, hsb, 0), PxOf(c.h, c.s, p.b));
    EXPECT_EQ(FillOne(kModeHueSaturation, kCoverOpaque, pixel, RgbRecord(colour), 0), PxOf(c.h, c.s, p.b));
    // A record of another model goes to HSB through the colour services: a grey has no hue or saturation.
    colour::ColorRecord grey;
    grey.BeginResult(colour::kModelGrey);
    grey.At(8) = 90;
    EXPECT_EQ(FillOne(kModeHueSaturation, kCoverOpaque, pixel, grey, 0), PxOf(0, 0, p.b));
}

TEST(HsbGolden, GreyColourHasNoSaturationAndNoHue) {
    const Px grey = RgbPixel(90, 90, 90), pixel = RgbPixel(200, 50, 120), greyPixel = RgbPixel(70, 70, 70);
    EXPECT_EQ(FillOne(kModeSaturation, kCoverOpaque, pixel, RgbRecord(grey), 0), RgbPixel(200, 200, 200));
    const HsbOfPx p = HsbOf(pixel);
    EXPECT_EQ(FillOne(kModeHue, kCoverOpaque, pixel, RgbRecord(grey), 0), PxOf(0, p.s, p.b));
    EXPECT_EQ(FillOne(kModeHue, kCoverOpaque, greyPixel, RgbRecord(grey), 0), greyPixel);
    EXPECT_EQ(BlitOne(kModeSaturation, kCoverOpaque, pixel, grey, 0), RgbPixel(200, 200, 200));
}

// A pixel the round trip through HSB moves, in every HSB mode and coverage
// column, fill and blit: weight 0 leaves it exactly, weight 255 repaints.
TEST(HsbGolden, WeightZeroLeavesThePixelUntouched) {
    Px moved{};
    for (int v = 1; v < 256 && moved == Px{}; ++v) {
        const Px p = RgbPixel(v, 3, 250);
        const HsbOfPx h = HsbOf(p);
        if (PxOf(h.h, h.s, h.b) != p) moved = p;
    }
    ASSERT_NE(moved, Px{});
    const Px colour = RgbPixel(10, 220, 30);
    for (std::uint32_t mode = kModeHueSaturation; mode <= kModeBrightness; ++mode) {
        for (std::uint32_t col = 1; col < 6; ++col) {
            EXPECT_EQ(FillOne(mode, col, moved, RgbRecord(colour), 0), moved) << "fill mode " << mode << " col " << col;
            EXPECT_EQ(BlitOne(mode, col, moved, colour, 0), moved) << "blit mode " << mode << " col " << col;
        }
        EXPECT_NE(FillOne(mode, kCoverMask, moved, RgbRecord(colour), 255), moved) << "mode " << mode;
    }
}

// --- Dissolve, Set and Copy ---

// One draw per pixel, in pixel order; a painted pixel takes all three bytes.
TEST(Dissolve24Golden, PaintsWholePixelsWhereTheDrawsFallBelowTheWeight) {
    constexpr std::uint32_t kN = 64;
    const Px d = {1, 2, 3}, c = {200, 150, 100};
    for (bool blit : {false, true}) {
        std::vector<std::uint8_t> row = Pixels(d, kN), src = Pixels(c, kN), mask(kN, 128);
        RIPKernelRandom draws{4242};
        RIPKernelRandom replay = draws;
        const RIPKernelCoverage cov{mask.data(), nullptr, 255};
        if (blit) {
            RIPKernelParams::Blit params;
            params.random = &draws;
            RIPBlitKernels24[kModeDissolve][kCoverMask](&params, kN, row.data(), src.data(), &cov);
        } else {
            RIPKernelParams::Fill params;
            params.color = RgbRecord(RgbPixel(100, 150, 200));
            params.random = &draws;
            RIPFillKernelsLab[kModeDissolve][kCoverMask](&params, kN, row.data(), &cov);
        }
        for (std::uint32_t i = 0; i < kN; ++i) {
            const Px want = replay.Draw() < 128 ? c : d;
            EXPECT_EQ((Px{row[3 * i], row[3 * i + 1], row[3 * i + 2]}), want) << (blit ? "blit " : "fill ") << i;
        }
        EXPECT_EQ(draws.state, replay.state) << "one draw per pixel";
    }
}

// The named kernels write exactly n pixels and need no coverage record.
TEST(Direct24, SetAndCopyWriteExactlyTheRun) {
    for (const auto& path : AvailablePaths()) {
        ScopedPath scope(path.features);
        for (std::uint32_t n : {0u, 1u, 4u, 5u, 100u}) {
            std::vector<std::uint8_t> row(3 * n + 8, 0xA5);
            RIPKernelParams::Fill params;
            params.color = RgbRecord(RgbPixel(30, 20, 10));
            RIPFillKernelSet24(&params, n, row.data() + 4, nullptr);
            std::vector<std::uint8_t> want(4, 0xA5);
            for (std::uint32_t i = 0; i < n; ++i) want.insert(want.end(), {10, 20, 30});
            want.insert(want.end(), 4, 0xA5);
            EXPECT_EQ(row, want) << path.name << " set " << n;

            std::vector<std::uint8_t> copy(3 * n + 8, 0x5A), src(3 * n);
            for (std::size_t i = 0; i < src.size(); ++i) src[i] = static_cast<std::uint8_t>(i);
            RIPKernelParams::Blit blit;
            RIPBlitKernelCopy24(&blit, n, copy.data() + 4, src.data(), nullptr);
            EXPECT_TRUE(std::equal(src.begin(), src.end(), copy.begin() + 4)) << path.name << " copy " << n;
            EXPECT_EQ(copy[3 + 0], 0x5A);
            EXPECT_EQ(copy[4 + 3 * n], 0x5A);
        }
    }
    EXPECT_EQ(RIPFillKernels24[kModeSet][kCoverOpaque], &RIPFillKernelSet24);
    EXPECT_EQ(RIPBlitKernels24[kModeSet][kCoverOpaque], &RIPBlitKernelCopy24);
}

}  // namespace
}  // namespace raster::kernels
