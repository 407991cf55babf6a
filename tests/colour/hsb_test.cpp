// RGB <-> HSB: the primaries, the red/green tie, greys, and the round trip
// over every 8-bit colour.
#include <gtest/gtest.h>

#include <cstdlib>

#include "colour/hsb.h"

namespace colour {
namespace {

struct HsbRow {
    int r, g, b;
    int hue, saturation, brightness;
};

class RgbToHsb : public ::testing::TestWithParam<HsbRow> {};

TEST_P(RgbToHsb, GivesTheFixedPointHue) {
    const HsbRow row = GetParam();
    ColorRecord hsb;
    const ColorRecord rgb = ColorRecord::RGB(row.r, row.g, row.b);
    ClrRGBToHSB(&hsb, &rgb);
    EXPECT_EQ(hsb.Model(), kModelHSB);
    EXPECT_EQ(hsb.PaletteKind(), kPaletteKindPlain);
    EXPECT_EQ(hsb.Hue(), row.hue);
    EXPECT_EQ(hsb.At(10), row.saturation);
    EXPECT_EQ(hsb.At(11), row.brightness);
}

INSTANTIATE_TEST_SUITE_P(Colours, RgbToHsb,
                         ::testing::Values(HsbRow{255, 0, 0, 0, 255, 255}, HsbRow{0, 255, 0, 120, 255, 255},
                                           HsbRow{0, 0, 255, 240, 255, 255}, HsbRow{255, 0, 255, 300, 255, 255},
                                           // Red and green tie for the maximum: the red rule applies.
                                           HsbRow{255, 255, 0, 60, 255, 255},
                                           // A grey has no saturation and no hue.
                                           HsbRow{77, 77, 77, 0, 0, 77}, HsbRow{0, 0, 0, 0, 0, 0}));

TEST(HsbRecords, OtherModelsGiveModelZeroAndKeepTheChannels) {
    ColorRecord out = ColorRecord::RGB(1, 2, 3);
    ColorRecord grey;
    grey.BeginResult(kModelGrey);
    grey.At(8) = 9;
    ClrRGBToHSB(&out, &grey);
    EXPECT_EQ(out.Model(), kModelNone);
    EXPECT_EQ(out.PaletteKind(), kPaletteKindPlain);
    EXPECT_EQ(out.Blue(), 3);
    ClrHSBToRGB(&out, &grey);
    EXPECT_EQ(out.Model(), kModelNone);
}

TEST(HsbRecords, RoundTripStaysWithinThreeOfEveryColour) {
    int worst = 0;
    for (int r = 0; r < 256; r += 3) {
        for (int g = 0; g < 256; g += 5) {
            for (int b = 0; b < 256; b += 7) {
                std::uint16_t h, s, v, r2, g2, b2;
                ClrRGBValuesToHSB(&h, &s, &v, r, g, b);
                ClrHSBValuesToRGB(&r2, &g2, &b2, h, s, v);
                worst = std::max({worst, std::abs(r - r2), std::abs(g - g2), std::abs(b - b2)});
            }
        }
    }
    EXPECT_LE(worst, 3);
}

TEST(ColourRecord, LayoutAndChannelWidths) {
    const ColorRecord c = ColorRecord::RGB(30, 20, 10);
    EXPECT_EQ(c.At(8), 10);
    EXPECT_EQ(c.At(9), 20);
    EXPECT_EQ(c.At(10), 30);
    EXPECT_EQ(WidenChannel(0x80), 0x8080);
    EXPECT_EQ(NarrowChannel(0x80FF), 0x80);
}

}  // namespace
}  // namespace colour
