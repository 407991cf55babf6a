// Single-colour conversion: the dispatcher's rules by target and source, the
// shortcuts that need no row conversion, references and their failures, and
// the one-step converters' arithmetic.
#include "colour/convert.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "colour_fixtures.h"

namespace colour {
namespace {

using testing::ColourTest;
using testing::RecordingManagedPath;

ColorRecord Bytes(std::initializer_list<int> channels, std::uint16_t model) {
    ColorRecord c;
    c.BeginResult(model);
    int at = 8;
    for (int v : channels) c.At(at++) = static_cast<std::uint8_t>(v);
    return c;
}

struct ConversionRow {
    const char* name;
    ColorRecord in;
    int target;
    ColorRecord expected;
};

class Conversions : public ::testing::TestWithParam<ConversionRow> {};

TEST_P(Conversions, GiveTheRecord) {
    const ConversionRow& row = GetParam();
    ColorRecord out;
    std::memset(out.bytes, 0xEE, sizeof out.bytes);
    EXPECT_TRUE(ClrConvertColor(&out, row.target, &row.in));
    EXPECT_EQ(out, row.expected) << "model " << out.Model() << " bytes " << int(out.At(8)) << ","
                                 << int(out.At(9)) << "," << int(out.At(10)) << "," << int(out.At(11));
}

// White and the model-0 record, black and white, grey, CMYK in both forms,
// Lab in both layouts, XYZ scaled, registration, the 16-bit forms.
INSTANTIATE_TEST_SUITE_P(
    Table, Conversions,
    ::testing::Values(
        ConversionRow{"NoColourIsWhite", ColorRecord{}, kModelRGB, ColorRecord::RGB(255, 255, 255)},
        ConversionRow{"NoColourIsWhite48", ColorRecord{}, kModelRGB48,
                      ColorRecord::RGB48(65535, 65535, 65535)},
        ConversionRow{"Grey128IsWhite", ColorRecord::Grey(128), kModelBlackWhite, ColorRecord::BW(1)},
        ConversionRow{"Grey127IsBlack", ColorRecord::Grey(127), kModelBlackWhite, ColorRecord::BW(0)},
        ConversionRow{"RGBToBWThroughGrey", ColorRecord::RGB(200, 200, 200), kModelBlackWhite,
                      ColorRecord::BW(1)},
        ConversionRow{"RGBToGrey", ColorRecord::RGB(255, 0, 0), kModelGrey, ColorRecord::Grey(76)},
        ConversionRow{"RGBToGrey16", ColorRecord::RGB(255, 255, 255), kModelGrey16,
                      ColorRecord::Grey16Level(65280)},
        ConversionRow{"Grey16ToRGBNarrows", ColorRecord::Grey16Level(0x80FF), kModelRGB,
                      ColorRecord::RGB(0x80, 0x80, 0x80)},
        ConversionRow{"RGBToRGB48Widens", ColorRecord::RGB(0x80, 1, 0), kModelRGB48,
                      ColorRecord::RGB48(0x8080, 0x0101, 0)},
        ConversionRow{"WhiteNeedsNoInk", ColorRecord::RGB(255, 255, 255), kModelCMYK,
                      ColorRecord::CMYK(kModelCMYK, 0, 0, 0, 0)},
        ConversionRow{"WhiteNeedsNoInk48", ColorRecord::RGB48(65535, 65535, 65535), kModelCMYK2,
                      ColorRecord::CMYK(kModelCMYK2, 0, 0, 0, 0)},
        ConversionRow{"PaperWhiteNeedsNoInk", ColorRecord::LabOffset(255, 128, 128), kModelCMYK,
                      ColorRecord::CMYK(kModelCMYK, 0, 0, 0, 0)},
        ConversionRow{"GreyIsBlackInk", ColorRecord::RGB(128, 128, 128), kModelCMYK,
                      ColorRecord::CMYK(kModelCMYK, 0, 0, 0, 127)},
        ConversionRow{"CMYKToPercent", ColorRecord::CMYK(kModelCMYK, 255, 128, 1, 0), kModelCMYKPercent,
                      ColorRecord::CMYK(kModelCMYKPercent, 100, 50, 0, 0)},
        ConversionRow{"PercentToCMYK", ColorRecord::CMYK(kModelCMYKPercent, 100, 50, 1, 0), kModelCMYK,
                      ColorRecord::CMYK(kModelCMYK, 255, 128, 3, 0)},
        ConversionRow{"CyanToRGB", ColorRecord::CMYK(kModelCMYK, 100, 0, 0, 0), kModelRGB,
                      ColorRecord::RGB(155, 255, 255)},
        ConversionRow{"BlackToRGB", ColorRecord::CMYK(kModelCMYK2, 0, 0, 0, 255), kModelRGB,
                      ColorRecord::RGB(0, 0, 0)},
        ConversionRow{"RegistrationToRGB", ColorRecord::CMYK(kModelRegistration, 100, 100, 100, 100),
                      kModelRGB, ColorRecord::RGB(0, 0, 0)},
        ConversionRow{"AnythingToRegistration", ColorRecord::HSB(10, 20, 30), kModelRegistration,
                      ColorRecord::CMYK(kModelRegistration, 100, 100, 100, 100)},
        ConversionRow{"RegistrationToPercent", ColorRecord::CMYK(kModelRegistration, 1, 2, 3, 4),
                      kModelCMYKPercent, ColorRecord::CMYK(kModelCMYKPercent, 100, 100, 100, 100)},
        ConversionRow{"CMYToRGB", ColorRecord::CMYK(kModelCMY, 255, 0, 10, 0), kModelRGB,
                      ColorRecord::RGB(0, 255, 245)},
        ConversionRow{"LabWhiteTruncates", ColorRecord::LabOffset(255, 128, 128), kModelRGB,
                      ColorRecord::RGB(254, 255, 254)},
        ConversionRow{"SignedLabWhiteTruncates", ColorRecord::Lab(255, 0, 0), kModelRGB,
                      ColorRecord::RGB(254, 255, 254)},
        ConversionRow{"LabLayouts", ColorRecord::Lab(50, -1, 127), kModelLabOffset,
                      ColorRecord::LabOffset(50, 127, 255)},
        ConversionRow{"LabWhiteToXYZ", ColorRecord::Lab(255, 0, 0), kModelXYZ,
                      Bytes({95, 100, 108}, kModelXYZ)},
        ConversionRow{"BlackToXYZ", ColorRecord::RGB(0, 0, 0), kModelXYZ, Bytes({0, 0, 0}, kModelXYZ)},
        ConversionRow{"RGBToCMY", ColorRecord::RGB(255, 0, 10), kModelCMY,
                      ColorRecord::CMYK(kModelCMY, 0, 255, 245, 0)},
        ConversionRow{"GreyToHSBThroughRGB", ColorRecord::Grey(90), kModelHSB, ColorRecord::HSB(0, 0, 90)},
        ConversionRow{"RedToHLS", ColorRecord::RGB(255, 0, 0), kModelHLS, ColorRecord::HLS(0, 127, 255)},
        ConversionRow{"RGBToHLS", ColorRecord::RGB(15, 238, 204), kModelHLS, ColorRecord::HLS(170, 126, 224)},
        ConversionRow{"HLSToRGB", ColorRecord::HLS(170, 126, 224), kModelRGB, ColorRecord::RGB(16, 236, 199)},
        ConversionRow{"HLSGreyToRGB48", ColorRecord::HLS(33, 0x80, 0), kModelRGB48,
                      ColorRecord::RGB48(0x8080, 0x8080, 0x8080)},
        ConversionRow{"GreyToYIQ", ColorRecord::RGB(100, 100, 100), kModelYIQ,
                      ColorRecord::YIQ(100, 100, 100)}),
    [](const ::testing::TestParamInfo<ConversionRow>& info) { return std::string(info.param.name); });

TEST(Conversion, TargetsOutsideTheModelsAndUntouchedPairsLeaveTheOutput) {
    const ColorRecord in = ColorRecord::RGB(1, 2, 3);
    ColorRecord out = ColorRecord::Grey(77);
    const ColorRecord before = out;
    for (int target : {0, 25, -1, 10, 13, 14, 15, 16, 21, 22}) {
        EXPECT_FALSE(ClrConvertColor(&out, target, &in)) << target;
        EXPECT_EQ(out, before) << target;
    }
    // XYZ has no rule to RGB: the target-5 row leaves the output alone.
    const ColorRecord xyz = Bytes({1, 2, 3}, kModelXYZ);
    EXPECT_FALSE(ClrConvertColor(&out, kModelRGB, &xyz));
    EXPECT_EQ(out, before);
}

TEST(Conversion, ASourceWithoutARouteToRGBGivesModelZeroThroughRGB) {
    const ColorRecord xyz = Bytes({1, 2, 3}, kModelXYZ);
    ColorRecord out = ColorRecord::RGB(9, 9, 9);
    EXPECT_FALSE(ClrConvertColor(&out, kModelHSB, &xyz));
    EXPECT_EQ(out.Model(), kModelNone);
    EXPECT_EQ(out.PaletteKind(), kPaletteKindPlain);
}

TEST(Conversion, CopiesKeepTheRecordAndMakeItPlain) {
    ColorRecord in = ColorRecord::HSB(200, 10, 20);
    in.SetPaletteKind(9);
    in.SetTint(44);
    ColorRecord out;
    ASSERT_TRUE(ClrConvertColor(&out, kModelHSB, &in));
    in.SetPaletteKind(kPaletteKindPlain);
    EXPECT_EQ(out, in);
    // The output may be the input itself.
    ColorRecord same = ColorRecord::RGB(10, 20, 30);
    ASSERT_TRUE(ClrConvertColor(&same, kModelRGB48, &same));
    EXPECT_EQ(same, ColorRecord::RGB48(10 * 257, 20 * 257, 30 * 257));
}

class ReferenceConversion : public ColourTest {};

TEST_F(ReferenceConversion, ReferencesWithoutTheirTablesFail) {
    // No Hexachrome palette and no user-ink table: the references fail, and
    // the missing palette is reported once.
    const ColorRecord references[] = {
        ColorRecord::Reference(kModelHexachromeRef, 7, 100),
        Bytes({0, 0, 100}, kModelUserInkByName),
    };
    for (const ColorRecord& in : references) {
        for (int target : {kModelRGB, kModelCMYK}) {
            ColorRecord out = ColorRecord::Grey(1);
            EXPECT_FALSE(ClrConvertColor(&out, target, &in)) << in.Model() << " to " << target;
            EXPECT_EQ(out.Model(), kModelNone) << in.Model() << " to " << target;
        }
    }
    EXPECT_EQ(messages.entries.size(), 1u);
    // Tints need no table: a user ink at tint 50, a user palette colour at tint 0.
    ColorRecord tinted = ColorRecord::RGB(1, 2, 3);
    tinted.SetModel(kModelUserInkByColour);
    tinted.At(11) = 50;
    ColorRecord out;
    ASSERT_TRUE(ClrConvertColor(&out, kModelRGB, &tinted));
    EXPECT_EQ(out, ColorRecord::RGB(128, 129, 129));
    ColorRecord palette = ColorRecord::RGB(1, 2, 3);
    palette.SetPaletteKind(kPaletteKindUserInk);
    ASSERT_TRUE(ClrConvertColor(&out, kModelRGB, &palette));
    EXPECT_EQ(out, ColorRecord::RGB(255, 255, 255));
}

class OneInk : public InkCatalogueSource {
  public:
    bool InkColorByKind(int, std::uint16_t number, ColorRecord* out) override {
        asked = number;
        *out = colour;
        return true;
    }
    bool NearestInk(ColorRecord* out, const ColorRecord&) override {
        *out = ColorRecord::Reference(kModelInk, 3, 100);
        return true;
    }
    ColorRecord colour;
    int asked = -1;
};

TEST_F(ReferenceConversion, CatalogueInksTakeTheirTint) {
    OneInk inks;
    ClrSetInkCatalogueSource(&inks);
    ColorRecord out;

    // An RGB ink moves towards white: 255 - 255·50/100.
    inks.colour = ColorRecord::RGB(0, 100, 255);
    const ColorRecord half = ColorRecord::Reference(kModelInk, 12, 50);
    ASSERT_TRUE(ClrConvertColor(&out, kModelRGB, &half));
    EXPECT_EQ(inks.asked, 12);
    EXPECT_EQ(out, ColorRecord::RGB(128, 178, 255));

    // Other inks scale their four channels, never past 100.
    inks.colour = ColorRecord::CMYK(kModelCMYKPercent, 100, 60, 0, 10);
    const ColorRecord boosted = ColorRecord::Reference(kModelInk, 12, 150);
    ASSERT_TRUE(ClrConvertColor(&out, kModelCMYKPercent, &boosted));
    EXPECT_EQ(out, ColorRecord::CMYK(kModelCMYKPercent, 100, 90, 0, 15));

    // An ink converted to an ink is left alone; RGB finds its nearest ink.
    ColorRecord untouched = ColorRecord::Grey(5);
    EXPECT_FALSE(ClrConvertColor(&untouched, kModelInk, &half));
    EXPECT_EQ(untouched, ColorRecord::Grey(5));
    const ColorRecord grey = ColorRecord::Grey(5);
    ASSERT_TRUE(ClrConvertColor(&out, kModelInk, &grey));
    EXPECT_EQ(out, ColorRecord::Reference(kModelInk, 3, 100));
}

// A user ink whose colour names the same user ink again.
class LoopingUserInks : public UserInkSource {
  public:
    int FindUserInk(const ColorRecord& in, ColorRecord* out) override {
        ++calls;
        *out = in;
        return 1;
    }
    int UserInkToColor(const ColorRecord&, ColorRecord* out) override {
        out->BeginResult(kModelNone);
        return 0;
    }
    int calls = 0;
};

TEST_F(ReferenceConversion, AReferenceLoopEndsInFailure) {
    LoopingUserInks inks;
    ClrSetUserInkSource(&inks);
    const ColorRecord in = Bytes({0, 0, 100}, kModelUserInkByName);
    ColorRecord out;
    EXPECT_FALSE(ClrConvertColor(&out, kModelRGB, &in));
    EXPECT_EQ(out.Model(), kModelNone);
    EXPECT_LT(inks.calls, 20);
}

TEST_F(ReferenceConversion, AUserInkCarryingItsColourNeedsNoTable) {
    ColorRecord in = ColorRecord::RGB(10, 20, 30);
    in.SetModel(kModelUserInkByColour);
    in.At(11) = kUserInkOwnColour;
    ColorRecord out;
    ASSERT_TRUE(ClrConvertColor(&out, kModelRGB, &in));
    EXPECT_EQ(out, ColorRecord::RGB(10, 20, 30));
}

TEST_F(ReferenceConversion, TintedSpotColoursPrintAsProcessTints) {
    ColorRecord spot = ColorRecord::CMYK(kModelCMYKPercent, 100, 40, 0, 200);
    spot.SetSpotKind(10);
    spot.SetTint(50);
    ColorRecord out;
    // With the setting off the record converts as it stands.
    ASSERT_TRUE(ClrConvertColor(&out, kModelCMYKPercent, &spot));
    EXPECT_EQ(out.Cyan(), 100);
    ClrGetSettings().spotTint10 = 1;
    ASSERT_TRUE(ClrConvertColor(&out, kModelCMYKPercent, &spot));
    EXPECT_EQ(out, ColorRecord::CMYK(kModelCMYKPercent, 50, 20, 0, 100));
}

TEST_F(ReferenceConversion, PlainGreyMakesGreyBlackInkOnly) {
    const ColorRecord grey = ColorRecord::Grey(100);
    ColorRecord out;
    ClrGetSettings().plainGrey = 1;
    ASSERT_TRUE(ClrConvertColor(&out, kModelCMYK, &grey));
    EXPECT_EQ(out, ColorRecord::CMYK(kModelCMYK, 0, 0, 0, 155));
}

// The white shortcuts convert no row; other colours reach the managed path
// when colour management is on.
TEST_F(ReferenceConversion, WhiteNeverReachesTheRowConversions) {
    RecordingManagedPath path;
    path.answer = false;
    ClrSetManagedRowPath(&path);
    ClrGetSettings().colourManagement = 1;
    ColorRecord out;
    const ColorRecord white = ColorRecord::RGB(255, 255, 255);
    const ColorRecord paper = ColorRecord::Lab(255, 0, 0);
    ASSERT_TRUE(ClrConvertColor(&out, kModelCMYK, &white));
    ASSERT_TRUE(ClrConvertColor(&out, kModelCMYK, &paper));
    EXPECT_TRUE(path.kinds.empty());
    const ColorRecord red = ColorRecord::RGB(255, 0, 0);
    ASSERT_TRUE(ClrConvertColor(&out, kModelCMYK, &red));
    EXPECT_EQ(path.kinds, std::vector<int>{3});
    EXPECT_EQ(out, ColorRecord::CMYK(kModelCMYK, 0, 255, 255, 0));  // the plain formula after the refusal
}

TEST(OneStep, WrongModelsGiveModelZeroAndKeepTheChannels) {
    using Step = void (*)(ColorRecord*, const ColorRecord*);
    const Step steps[] = {ClrCMYKPercentToCMYK, ClrCMYKToCMYKPercent, ClrCMYToRGB,   ClrRGB48ToCMYK,
                          ClrGreyToBW,          ClrHLSToRGB,          ClrRGB48ToHLS, ClrYIQToRGB,
                          ClrLabToXYZ,          ClrLabOffsetToRGB,    ClrRGBToLab,   ClrHSBToRGB48,
                          ClrGrey16ToRGB48};
    const ColorRecord wrong = Bytes({1, 2, 3, 4}, kModelPaletteIndex);
    for (Step step : steps) {
        ColorRecord out = ColorRecord::CMYK(kModelCMYK, 9, 8, 7, 6);
        out.SetTint(3);
        step(&out, &wrong);
        EXPECT_EQ(out, Bytes({9, 8, 7, 6}, kModelNone));
    }
}

TEST(OneStep, MulDivRoundsHalvesAwayFromZero) {
    struct Row {
        int a, b, c, expected;
    };
    for (const Row& r :
         {Row{50, 255, 100, 128}, Row{1, 255, 100, 3}, Row{128, 100, 255, 50}, Row{1, 100, 255, 0},
          Row{-50, 255, 100, -128}, Row{7, 3, 0, -1}, Row{40000, 40000, 2, 800000000}}) {
        EXPECT_EQ(ClrMulDiv(r.a, r.b, r.c), r.expected) << r.a << "*" << r.b << "/" << r.c;
    }
    // A percentage above 100 saturates instead of wrapping.
    ColorRecord out;
    const ColorRecord over = ColorRecord::CMYK(kModelCMYKPercent, 120, 0, 0, 0);
    ClrCMYKPercentToCMYK(&out, &over);
    EXPECT_EQ(out.Cyan(), 255);
}

// Round trips through the 16-bit hue models and YIQ stay close to where they
// started, over a grid of colours (the 8-bit HLS rule itself loses up to 5,
// as (15, 238, 204) in the table shows).
TEST(OneStep, RoundTripsStayClose) {
    int worstHsb48 = 0, worstHls48 = 0, worstYiq = 0;
    for (int r = 0; r < 256; r += 15) {
        for (int g = 0; g < 256; g += 17) {
            for (int b = 0; b < 256; b += 51) {
                const ColorRecord rgb = ColorRecord::RGB(r, g, b);
                const auto distance = [&](const ColorRecord& back) {
                    return std::max(
                        {std::abs(back.Red() - r), std::abs(back.Green() - g), std::abs(back.Blue() - b)});
                };
                ColorRecord mid, back, rgb48, back48;
                ClrRGBToRGB48(&rgb48, &rgb);
                ClrRGB48ToHSB(&mid, &rgb48);
                ClrHSBToRGB48(&back48, &mid);
                ClrRGB48ToRGB(&back, &back48);
                worstHsb48 = std::max(worstHsb48, distance(back));

                ClrRGB48ToHLS(&mid, &rgb48);
                ClrHLSToRGB48(&back48, &mid);
                ClrRGB48ToRGB(&back, &back48);
                worstHls48 = std::max(worstHls48, distance(back));

                ClrRGBToYIQ(&mid, &rgb);
                ClrYIQToRGB(&back, &mid);
                worstYiq = std::max(worstYiq, distance(back));
            }
        }
    }
    EXPECT_LE(worstHsb48, 4);
    EXPECT_LE(worstHls48, 5);
    EXPECT_LE(worstYiq, 4);
}

}  // namespace
}  // namespace colour
