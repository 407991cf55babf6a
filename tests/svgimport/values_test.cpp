// Attribute values: lengths and their unit suffixes, view boxes, transform
// lists in written order, opacities and stop offsets, colours, the name
// tables, and numbers read the same whatever the process's locale.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>
#include <utility>

#include "svgimport/names.h"
#include "svgimport/values.h"

namespace SVG {
namespace {

struct LengthRow {
    const char* text;
    double value;
    int32_t kind;
    size_t consumed;
};

void PrintTo(const LengthRow& row, std::ostream* out) {
    *out << '"' << row.text << '"';
}

class Lengths : public ::testing::TestWithParam<LengthRow> {};

TEST_P(Lengths, ReadTheNumberAndItsUnit) {
    const LengthRow row = GetParam();
    size_t consumed = 99;
    const WLength length = ScanLength(row.text, &consumed);
    EXPECT_EQ(length.kind, row.kind);
    EXPECT_DOUBLE_EQ(length.value, row.value);
    EXPECT_EQ(consumed, row.consumed);
    EXPECT_EQ(ParseLength(row.text), length);
}

INSTANTIATE_TEST_SUITE_P(
    Units, Lengths,
    ::testing::Values(LengthRow{"12.5mm", 12.5, unit::kMm, 6}, LengthRow{"1in", 1, unit::kIn, 3},
                      LengthRow{"2px", 2, unit::kPx, 3}, LengthRow{"3pt", 3, unit::kPt, 3},
                      LengthRow{"50%", 50, unit::kPercent, 3}, LengthRow{"4cm", 4, unit::kCm, 3},
                      LengthRow{"1.5em", 1.5, unit::kEm, 5}, LengthRow{"2ex", 2, unit::kEx, 3},
                      LengthRow{"3pc", 3, unit::kPc, 3}, LengthRow{"3px2", 3, unit::kPx, 3},
                      // "pq" and a lone "e" make no unit; "i", "m", "c" alone are user units.
                      LengthRow{"3pq", 3, unit::kNone, 1}, LengthRow{"3e", 3, unit::kNone, 1},
                      LengthRow{"3ix", 3, unit::kUser, 1}, LengthRow{"3m", 3, unit::kUser, 1},
                      LengthRow{"3c", 3, unit::kUser, 1}, LengthRow{"7", 7, unit::kUser, 1},
                      LengthRow{"7 mm", 7, unit::kUser, 1},
                      // Exponents need their digits: "5em" is five em, "1e2" a hundred.
                      LengthRow{"5em", 5, unit::kEm, 3}, LengthRow{"1e2", 100, unit::kUser, 3},
                      LengthRow{"1E+1px", 10, unit::kPx, 6}, LengthRow{"2.5e-1", 0.25, unit::kUser, 6},
                      LengthRow{" \t+.5in", 0.5, unit::kIn, 7}, LengthRow{"-3.", -3, unit::kUser, 3},
                      // Single precision, as the attribute reader holds numbers.
                      LengthRow{"0.1", static_cast<double>(0.1f), unit::kUser, 3},
                      LengthRow{"1e99", static_cast<double>(3.40282347e38f), unit::kUser, 4},
                      LengthRow{"1e-99", 0, unit::kUser, 5},
                      // No number: nothing read.
                      LengthRow{"", 0, unit::kNone, 0}, LengthRow{"mm", 0, unit::kNone, 0},
                      LengthRow{"-", 0, unit::kNone, 0}, LengthRow{".", 0, unit::kNone, 0},
                      LengthRow{"inf", 0, unit::kNone, 0}, LengthRow{"nan", 0, unit::kNone, 0}));

TEST(NumberList, TakesBlanksAndCommasAndOnlyPlainNumbers) {
    for (const char* text : {"0 0 100 50", "0,0,100,50", " 0, 0 ,100,\n50 ", "0 0 100 50 7"}) {
        const auto box = ParseNumberList(text);
        EXPECT_EQ(box[2], (WLength{100, unit::kUser})) << text;
        EXPECT_EQ(box[3], (WLength{50, unit::kUser})) << text;
    }
    for (const char* text : {"0 0 100", "0 0 100px 50", "", "a b c d"}) {
        for (const WLength& n : ParseNumberList(text)) EXPECT_EQ(n, (WLength{0, unit::kNone})) << text;
    }
}

struct TransformRow {
    const char* text;
    WMatrix expected;
};

void PrintTo(const TransformRow& row, std::ostream* out) {
    *out << '"' << row.text << '"';
}

class Transforms : public ::testing::TestWithParam<TransformRow> {};

TEST_P(Transforms, GiveTheProductInWrittenOrder) {
    const TransformRow row = GetParam();
    const WMatrix m = ParseTransform(row.text);
    for (auto [got, want] : {std::pair{m.a, row.expected.a}, {m.b, row.expected.b}, {m.c, row.expected.c},
                             {m.d, row.expected.d}, {m.e, row.expected.e}, {m.f, row.expected.f}}) {
        EXPECT_NEAR(got, want, 1e-9) << row.text;
    }
}

const double kSkew45 = std::tan(45 * kRadiansPerDegree);

INSTANTIATE_TEST_SUITE_P(
    Lists, Transforms,
    ::testing::Values(TransformRow{"matrix(1 2 3 4 5 6)", WMatrix(1, 2, 3, 4, 5, 6)},
                      TransformRow{"translate(5)", WMatrix(1, 0, 0, 1, 5, 0)},
                      TransformRow{"scale(2)", WMatrix(2, 0, 0, 2, 0, 0)},
                      TransformRow{"scale(2,-3)", WMatrix(2, 0, 0, -3, 0, 0)},
                      // Applied right to left: translate(10) after scale(2).
                      TransformRow{"translate(10) scale(2)", WMatrix(2, 0, 0, 2, 10, 0)},
                      TransformRow{"scale(2) translate(10)", WMatrix(2, 0, 0, 2, 20, 0)},
                      TransformRow{"rotate(90)", WMatrix(0, 1, -1, 0, 0, 0)},
                      TransformRow{"rotate(90 10 10)", WMatrix(0, 1, -1, 0, 20, 0)},
                      // Degrees, like rotate.
                      TransformRow{"skewX(45)", WMatrix(1, 0, kSkew45, 1, 0, 0)},
                      TransformRow{"skewY(45)", WMatrix(1, kSkew45, 0, 1, 0, 0)},
                      // Stray tokens, unknown keywords, missing numbers: the identity.
                      TransformRow{"7 foo(3) translate(1,2)", WMatrix(1, 0, 0, 1, 1, 2)},
                      TransformRow{"translate(1,2,9) scale(2)", WMatrix(2, 0, 0, 2, 1, 2)},
                      TransformRow{"matrix(1 2 3) Scale(4) translate()", WMatrix()},
                      TransformRow{"", WMatrix()}));

TEST(Transforms, RotateUsesTheImportsDegreeFactor) {
    const WMatrix m = ParseTransform("rotate(90)");
    EXPECT_NEAR(m.a, 2.6e-14, 1e-15);
    EXPECT_NEAR(m.d, 2.6e-14, 1e-15);
    EXPECT_DOUBLE_EQ(m.b, 1);
    EXPECT_DOUBLE_EQ(m.c, -1);
    EXPECT_NEAR(ParseTransform("skewX(45)").c, 1, 1e-13);
}

struct FractionRow {
    const char* text;
    bool taken;
    uint16_t value;
};

void PrintTo(const FractionRow& row, std::ostream* out) {
    *out << '"' << row.text << '"';
}

class Fractions : public ::testing::TestWithParam<FractionRow> {};

TEST_P(Fractions, AreClampedTo255) {
    const FractionRow row = GetParam();
    uint16_t opacity = 77, offset = 77;
    EXPECT_EQ(OpacityFromText(row.text, &opacity), row.taken) << row.text;
    EXPECT_EQ(StopOffsetFromText(row.text, &offset), row.taken) << row.text;
    EXPECT_EQ(opacity, row.taken ? row.value : 77) << row.text;
    EXPECT_EQ(offset, opacity);
}

INSTANTIATE_TEST_SUITE_P(Texts, Fractions,
                         ::testing::Values(FractionRow{"0.5", true, 128}, FractionRow{"50%", true, 128},
                                           FractionRow{"1", true, 255}, FractionRow{"0", true, 0},
                                           FractionRow{"150%", true, 255}, FractionRow{"2", true, 255},
                                           FractionRow{"-0.5", true, 0}, FractionRow{"-10%", true, 0},
                                           FractionRow{"1px", false, 0}, FractionRow{"none", false, 0}));

TEST(Opacities, FromComputedValues) {
    auto from = [](double v, uint32_t unit) {
        uint16_t out = 77;
        const bool taken = OpacityFromStyle(WStyleNumber{v, unit}, &out);
        return taken ? int(out) : -1;
    };
    EXPECT_EQ(from(1.5, style_unit::kNumber), 255);
    EXPECT_EQ(from(-0.1, style_unit::kNumber), 0);
    EXPECT_EQ(from(0.5, style_unit::kNumber), 128);
    EXPECT_EQ(from(0.2, style_unit::kNumber), 51);
    EXPECT_EQ(from(150, style_unit::kPercent), 255);
    EXPECT_EQ(from(-5, style_unit::kPercent), 0);
    EXPECT_EQ(from(50, style_unit::kPercent), 128);
    EXPECT_EQ(from(std::nan(""), style_unit::kPercent), 0);
    EXPECT_EQ(from(0.5, style_unit::kPx), -1);
    EXPECT_EQ(from(0, style_unit::kPx), 0);  // a bare 0, as the style engine gives it
    EXPECT_EQ(from(0.5, style_unit::kNone), -1);
}

TEST(Colours, PlatformValuesNamesAndStops) {
    EXPECT_EQ(ColourFromPlatform(0x00336699), (WColour{0x99, 0x66, 0x33}));
    EXPECT_EQ(ColourByName("red"), 0x0000FFu);
    EXPECT_EQ(ColourByName("navy"), 0x800000u);
    EXPECT_EQ(ColourByName("Red"), 0x0000FFu);
    EXPECT_EQ(ColourByName("orange"), 0x00A5FFu);
    EXPECT_EQ(ColourByName("lightgrey"), 0xD3D3D3u);
    EXPECT_EQ(ColourByName("currentColor"), std::nullopt);
    EXPECT_EQ(ColourByName("transparent"), std::nullopt);

    EXPECT_EQ(StopValueFromStyle(std::nullopt, WStyleNumber{0.5, style_unit::kNumber}), WStopValue{});
    EXPECT_EQ(StopValueFromStyle(0x0000FF, std::nullopt), (WStopValue{{255, 0, 0}, 255}));
    EXPECT_EQ(StopValueFromStyle(0x00FF00, WStyleNumber{25, style_unit::kPercent}),
              (WStopValue{{0, 255, 0}, 64}));
    EXPECT_EQ(StopValueFromStyle(0x00FF00, WStyleNumber{0.5, style_unit::kPx}), (WStopValue{{0, 255, 0}, 255}));
}

TEST(Names, AreCaseSensitiveAndGiveIdsNotPositions) {
    EXPECT_EQ(ElementId("rect"), element::kRect);
    EXPECT_EQ(ElementId("mask"), 22);
    EXPECT_EQ(ElementId("Rect"), kUnknownName);
    EXPECT_EQ(ElementId("tspan"), kUnknownName);
    // Attributes stand in the table out of id order.
    EXPECT_EQ(AttributeId("transform"), 13);
    EXPECT_EQ(AttributeId("gradientTransform"), 43);
    EXPECT_EQ(AttributeId("d"), 14);
    EXPECT_EQ(AttributeId("preserveAspectRatio"), 10);
    EXPECT_EQ(AttributeId("flatness"), 15);
    EXPECT_EQ(AttributeId("patternTransform"), 49);
    EXPECT_EQ(AttributeId("xlink:href"), attribute::kXlinkHref);
    EXPECT_EQ(AttributeId("href"), kUnknownName);
    EXPECT_EQ(PropertyId("fill"), 0);
    EXPECT_EQ(PropertyId("clip-path"), property::kClipPath);
    EXPECT_EQ(PropertyId("mask"), 38);
    EXPECT_EQ(PropertyId("Fill"), kUnknownName);
}

// A locale whose decimal separator is a comma: an installed one, else one
// compiled for the test.
bool UseCommaLocale(const std::filesystem::path& folder) {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"}) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) return true;
    }
    const std::string command = "localedef -i de_DE -f UTF-8 '" + (folder / "de_DE.UTF-8").string() +
                                "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return false;
    ::setenv("LOCPATH", folder.c_str(), 1);
    return std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
}

TEST(Numbers, IgnoreTheProcessLocale) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "svgimport-locale";
    std::filesystem::create_directories(folder);
    const bool comma = UseCommaLocale(folder);
    if (!comma) {
        std::filesystem::remove_all(folder);
        GTEST_SKIP() << "no locale with a decimal comma";
    }
    ASSERT_EQ(std::string(std::localeconv()->decimal_point), ",");
    EXPECT_EQ(ParseLength("12.5mm"), (WLength{12.5, unit::kMm}));
    EXPECT_NEAR(ParseTransform("translate(2.5, 0.25)").f, 0.25, 1e-12);
    EXPECT_EQ(ParseNumberList("0 0 0.5 1.5")[2], (WLength{0.5, unit::kUser}));
    std::setlocale(LC_NUMERIC, "C");
    ::unsetenv("LOCPATH");
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace SVG
