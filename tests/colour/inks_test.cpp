// The ink catalogue from small ink files, the tint rules of user inks, the
// user-ink file written and read back, and the Hexachrome palette.
#include <gtest/gtest.h>

#include "colour/convert.h"
#include "colour/inks.h"
#include "colour_fixtures.h"

namespace colour {
namespace {

using testing::ColourTest;
using testing::UserPaletteTint;

// The address of a temporary record, for the calls that take pointers.
const ColorRecord* P(const ColorRecord& c) {
    return &c;
}

class InkCatalogue : public ColourTest {
  protected:
    ~InkCatalogue() override { ClrForgetInkCatalogue(); }
};

TEST_F(InkCatalogue, LinesBecomeInks) {
    ClrLoadInkCatalogueText(
        "; a comment\n"
        "\n"
        "   3 10 20 300 Warm Red\n"      // blue clamps to 255
        "P 4 120 0 -5 100\n"             // cyan clamps to 100, a negative to 0
        "S 5 10 20 30 40 1 2 3 42 Spot\n"  // numeric name: its leading number
        "1050 1 2 3\n"                   // outside the numbers: skipped
        "6 1 2\n"                        // too few fields: skipped
        "7 1 2 3 \xff");                  // the last record, a text name of byte 255
    ColorRecord c;
    ClrGetInkColor(3, &c);
    EXPECT_EQ(c, ColorRecord::RGB(10, 20, 255));
    EXPECT_EQ(ClrInkName(3), "Warm Red");
    ClrGetInkColor(4, &c);
    EXPECT_EQ(c, ColorRecord::CMYK(kModelCMYKPercent, 100, 0, 0, 100));
    EXPECT_EQ(ClrInkName(4), "");
    ClrGetInkRGB(4, &c);
    EXPECT_EQ(c.Model(), kModelRGB);  // converted from its definition
    ClrGetInkRGB(5, &c);
    EXPECT_EQ(c, ColorRecord::RGB(1, 2, 3));
    EXPECT_EQ(ClrInkName(5), "42");
    EXPECT_EQ(ClrInkName(7), "\xff");  // not read as a number past the block
    for (int missing : {6, 1050, -1, 0}) {
        ClrGetInkColor(missing, &c);
        EXPECT_EQ(c, ColorRecord::RGB(0, 0, 0)) << missing;
    }
    // Conversions to CMYK take the definition, others the appearance.
    ClrGetInkColorByKind(kModelCMYK, 5, &c);
    EXPECT_EQ(c.Model(), kModelCMYKPercent);
    ClrGetInkColorByKind(kModelRGB, 5, &c);
    EXPECT_EQ(c, ColorRecord::RGB(1, 2, 3));
}

TEST_F(InkCatalogue, OnlyTheFirstThousandAndFiftyInksAreRead) {
    std::string text;
    for (int i = 0; i < kInkCount; ++i) text += std::to_string(i) + " 1 2 3 a name long enough to need room\n";
    text += "7 9 9 9\n";  // the 1,051st: not read, so ink 7 keeps its colour
    ClrLoadInkCatalogueText(text);
    ColorRecord c;
    ClrGetInkColor(1049, &c);
    EXPECT_EQ(c, ColorRecord::RGB(1, 2, 3));
    ClrGetInkColor(7, &c);
    EXPECT_EQ(c, ColorRecord::RGB(1, 2, 3));
    EXPECT_EQ(ClrInkName(1049), "a name long enough to need room");
}

TEST_F(InkCatalogue, NearestInkPrefersTheLowerNumber) {
    ClrLoadInkCatalogueText("9 100 100 100\n4 110 100 100\n2 90 100 100\n");
    ColorRecord out;
    const ColorRecord grey = ColorRecord::RGB(100, 100, 100);
    ClrNearestInk(&out, P(ColorRecord::RGB(101, 100, 100)));
    EXPECT_EQ(out, ColorRecord::Reference(kModelInk, 9, 100));
    ClrNearestInk(&out, P(ColorRecord::RGB(105, 100, 100)));  // 4 and 9 tie at 5
    EXPECT_EQ(out, ColorRecord::Reference(kModelInk, 4, 100));
    // Through ClrConvertColor, and no phantom black ink for missing numbers.
    ASSERT_TRUE(ClrConvertColor(&out, kModelInk, &grey));
    EXPECT_EQ(out.RefIndex(), 9);
    ASSERT_TRUE(ClrConvertColor(&out, kModelInk, P(ColorRecord::RGB(0, 0, 0))));
    EXPECT_EQ(out.RefIndex(), 2);
}

TEST_F(InkCatalogue, AMissingFileGivesTheBuiltInInk) {
    InstallHost("[Config]\nDataDir=../Data\n");
    ASSERT_TRUE(ClrLoadInkCatalogue());
    ColorRecord c;
    ClrGetInkColor(1, &c);
    EXPECT_EQ(c, ColorRecord::RGB(249, 245, 131));
    EXPECT_EQ(ClrInkName(1), "100");
    ASSERT_EQ(messages.entries.size(), 1u);
    EXPECT_NE(messages.entries[0].text.find("lumavect.ink"), std::string::npos);
    // An ink at tint 50 moves towards white.
    ColorRecord half = ColorRecord::Reference(kModelInk, 1, 50);
    ASSERT_TRUE(ClrConvertColor(&c, kModelRGB, &half));
    EXPECT_EQ(c, ColorRecord::RGB(252, 250, 193));
}

TEST_F(InkCatalogue, TheFileInTheDataDirectory) {
    InstallHost("[Config]\nDataDir=../Data\n");
    folder.Write("Data/lumavect.ink", "12 0 0 0 Black\r\n");
    ColorRecord c = ColorRecord::Grey(1);
    ClrGetInkColor(12, &c);
    EXPECT_EQ(c, ColorRecord::RGB(0, 0, 0));
    EXPECT_EQ(ClrInkName(12), "Black");
    EXPECT_TRUE(messages.entries.empty());
}

struct TintCase {
    const char* name;
    ColorRecord in;
    int result;
    ColorRecord out;
};

class TintRules : public ::testing::TestWithParam<TintCase> {};

TEST_P(TintRules, ApplyPerModel) {
    const TintCase& t = GetParam();
    ColorRecord out = ColorRecord::Grey(77);
    EXPECT_EQ(ClrUserInkToColor(&t.in, &out), t.result);
    EXPECT_EQ(out, t.out);
}

ColorRecord UserRGB(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t tint) {
    ColorRecord c = ColorRecord::RGB(r, g, b);
    c.SetModel(kModelUserInkByColour);
    c.At(11) = tint;
    return c;
}

INSTANTIATE_TEST_SUITE_P(
    UserInks, TintRules,
    ::testing::Values(
        TintCase{"RGBFull", UserPaletteTint(ColorRecord::RGB(10, 20, 30), 100), 1, ColorRecord::RGB(10, 20, 30)},
        TintCase{"RGBNone", UserPaletteTint(ColorRecord::RGB(10, 20, 30), 0), 1, ColorRecord::RGB(255, 255, 255)},
        TintCase{"ModelTwentyOne", UserRGB(0, 100, 255, 50), 1, ColorRecord::RGB(128, 178, 255)},
        TintCase{"CMYKScaled", UserPaletteTint(ColorRecord::CMYK(kModelCMYK, 200, 100, 0, 51), 50), 1,
                 ColorRecord::CMYK(kModelCMYK, 100, 50, 0, 25)},
        TintCase{"HSB", UserPaletteTint(ColorRecord::HSB(200, 100, 55), 50), 1, ColorRecord::HSB(200, 50, 155)},
        TintCase{"HLS", UserPaletteTint(ColorRecord::HLS(200, 55, 100), 50), 1, ColorRecord::HLS(200, 155, 100)},
        TintCase{"Lab", UserPaletteTint(ColorRecord::Lab(55, -100, 40), 50), 1, ColorRecord::Lab(155, -50, 20)},
        TintCase{"Grey16", UserPaletteTint(ColorRecord::Grey16Level(1), 0), 1, ColorRecord::Grey16Level(65535)},
        TintCase{"InkReference", UserPaletteTint(ColorRecord::Reference(kModelInk, 4, 80), 50), 1,
                 ColorRecord::Reference(kModelInk, 4, 40)},
        TintCase{"ByNameIsNoTint", UserPaletteTint(ColorRecord::Three(kModelUserInkByName, 1, 0, 100), 50), 0,
                 ColorRecord::Grey(77)},
        TintCase{"XYZHasNoRule", UserPaletteTint(ColorRecord::Three(kModelXYZ, 1, 2, 3), 50), 0, ColorRecord::Grey(77)},
        TintCase{"PlainIsNoTint", ColorRecord::RGB(1, 2, 3), 0, ColorRecord::Grey(77)},
        TintCase{"ModelTenUntouched", UserPaletteTint(ColorRecord::Three(10, 1, 2, 3), 50), 1, ColorRecord::Grey(77)}),
    [](const ::testing::TestParamInfo<TintCase>& info) { return info.param.name; });

class UserInkTable : public ColourTest {
  protected:
    ~UserInkTable() override { ClrForgetUserInks(); }
};

TEST_F(UserInkTable, WrittenAndReadBack) {
    ColorRecord none;
    EXPECT_EQ(ClrFindUserInk(P(ColorRecord::Three(kModelUserInkByName, 0, 0, 100)), &none), -1);
    const std::string path = folder.Path() + "inks.uik";
    ClrSetUserInks({{ColorRecord::RGB(1, 2, 3), "Sky"},
                    {ColorRecord::CMYK(kModelCMYKPercent, 10, 20, 30, 40), std::string(40, 'n')}},
                   path);
    UserInks copy;
    ASSERT_EQ(ClrGetUserInks(&copy), 1);  // saves the changed table first
    EXPECT_EQ(copy.count, 2);
    EXPECT_EQ(copy.changed[0], 0u);
    ClrForgetUserInks();
    ASSERT_EQ(ClrLoadUserInks(path), 1);
    ColorRecord out;
    ASSERT_EQ(ClrFindUserInk(P(ColorRecord::Three(kModelUserInkByName, 1, 0, 60)), &out), 1);
    ColorRecord expected = ColorRecord::CMYK(kModelCMYKPercent, 10, 20, 30, 40);
    expected.SetTint(60);
    EXPECT_EQ(out, expected);
    EXPECT_EQ(ClrFindUserInk(P(ColorRecord::Three(kModelUserInkByName, 2, 0, 60)), &out), 0);  // == count
    // A model-22 reference converts through its entry.
    ColorRecord rgb;
    ASSERT_TRUE(ClrConvertColor(&rgb, kModelRGB, P(ColorRecord::Three(kModelUserInkByName, 0, 0, 100))));
    EXPECT_EQ(rgb.Model(), kModelRGB);
    EXPECT_EQ(std::vector<int>({rgb.Red(), rgb.Green(), rgb.Blue()}), (std::vector<int>{1, 2, 3}));
    // Names longer than an entry holds are cut.
    std::vector<UserInkEntry> entries;
    ASSERT_TRUE(ClrParseUserInkFile(folder.Read("inks.uik"), &entries));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "Sky");
    EXPECT_EQ(entries[1].name, std::string(31, 'n'));
}

TEST_F(UserInkTable, DamagedFilesAreRefused) {
    std::string good;
    good += "\xDC\xDC";
    good += '\0';  // no title
    good += std::string("\x01\x00", 2);
    good += std::string(reinterpret_cast<const char*>(ColorRecord::RGB(1, 2, 3).bytes), 12);
    good += '\x02';
    good += "ab";
    std::vector<UserInkEntry> entries;
    ASSERT_TRUE(ClrParseUserInkFile(good, &entries));
    for (std::size_t cut = 0; cut < good.size(); ++cut)
        EXPECT_FALSE(ClrParseUserInkFile(good.substr(0, cut), &entries)) << cut;
    EXPECT_FALSE(ClrParseUserInkFile(good + "x", &entries));
    std::string wrongMarker = good;
    wrongMarker[0] = 'X';
    EXPECT_FALSE(ClrParseUserInkFile(wrongMarker, &entries));
    EXPECT_EQ(ClrLoadUserInks(folder.Write("bad.uik", wrongMarker)), 0);
    EXPECT_EQ(messages.entries.size(), 1u);
}

class HexachromePalette : public ColourTest {
  protected:
    ~HexachromePalette() override { ClrSetHexachromePalette({}); }
};

TEST_F(HexachromePalette, EntriesAndTints) {
    ClrSetHexachromePalette({{7, {200, 100, 0, 10, 20, 30}, {255, 0, 0}}});
    ColorRecord out;
    ASSERT_TRUE(ClrHexachromeEntry(7, 50, &out));
    const std::uint8_t half[6] = {100, 50, 0, 5, 10, 15};
    EXPECT_EQ(out, ColorRecord::Hexachrome(half));
    ASSERT_TRUE(ClrHexachromeEntryToColor(7, 100, &out));
    EXPECT_EQ(out.Model(), kModelRGB);
    EXPECT_GE(out.Red(), 250);  // L 100: white
    for (int index : {2024, -1, 8}) {
        ASSERT_TRUE(ClrHexachromeEntry(index, 100, &out));
        EXPECT_EQ(out.Model(), kModelHexachrome);
        EXPECT_EQ(out.At(11), 255);
        EXPECT_EQ(out.At(6), 0);
        ASSERT_TRUE(ClrHexachromeEntryToColor(index, 100, &out));
        EXPECT_EQ(out, ColorRecord::RGB(0, 0, 0));
    }
    // Model 14 through ClrConvertColor.
    ASSERT_TRUE(ClrConvertColor(&out, kModelHexachrome, P(ColorRecord::Reference(kModelHexachromeRef, 7, 50))));
    EXPECT_EQ(out, ColorRecord::Hexachrome(half));
    EXPECT_TRUE(messages.entries.empty());
}

}  // namespace
}  // namespace colour
