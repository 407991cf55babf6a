// List marker texts and border shading.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "markup/style/colour_shading.h"
#include "markup/style/list_numbering.h"
#include "style_fixtures.h"

namespace {

using markup::style::LetterNumeral;
using markup::style::RomanNumeral;
using style_test::Str;

struct NumeralCase {
    std::int32_t number;
    bool upper;
    std::string roman;
    std::string letters;
};

class Numerals : public testing::TestWithParam<NumeralCase> {};

TEST_P(Numerals, RomanAndLetters) {
    const NumeralCase& c = GetParam();
    EXPECT_EQ(Str(RomanNumeral(c.number, c.upper)), c.roman) << c.number;
    EXPECT_EQ(Str(LetterNumeral(c.number, c.upper)), c.letters) << c.number;
}

INSTANTIATE_TEST_SUITE_P(Table, Numerals,
                         testing::Values(NumeralCase{4, false, "iv", "d"}, NumeralCase{9, true, "IX", "I"},
                                         NumeralCase{14, true, "XIV", "N"},
                                         NumeralCase{1994, true, "MCMXCIV", "BXR"},
                                         NumeralCase{13000, true, "13M", "SEZ"},
                                         NumeralCase{12999, false, "mmmmmmmmmmmmcmxcix", "sey"},
                                         NumeralCase{1, false, "i", "a"}, NumeralCase{26, false, "xxvi", "z"},
                                         NumeralCase{27, false, "xxvii", "aa"},
                                         NumeralCase{0, false, "0", "a"},
                                         NumeralCase{-5, true, "0", "A"}));

TEST(ListMarkerText, EachNumberingKeywordEndsWithAFullStop) {
    struct Row {
        std::uint32_t keyword;
        std::int32_t number;
        const char* text;
    };
    const Row rows[] = {{284, 3, "3."},   {316, 28, "ab."}, {387, 28, "AB."},
                        {318, 8, "viii."}, {389, 40, "XL."}, {284, -2, "-2."}};
    for (const Row& row : rows) {
        markup::String text;
        ASSERT_TRUE(markup::style::ListMarkerText(row.keyword, row.number, text)) << row.keyword;
        EXPECT_EQ(Str(text), row.text) << row.keyword;
    }
    markup::String kept("kept");
    EXPECT_FALSE(markup::style::ListMarkerText(226, 1, kept)) << "a disc does not number";
    EXPECT_EQ(Str(kept), "kept");
}

struct ShadeCase {
    std::uint32_t colour;  // 0x00BBGGRR
    double factor;
    std::uint32_t shaded;
};

class Shading : public testing::TestWithParam<ShadeCase> {};

TEST_P(Shading, KeepsHueAndSaturation) {
    EXPECT_EQ(markup::style::ShadeColour(GetParam().colour, GetParam().factor), GetParam().shaded)
        << std::hex << GetParam().colour << " by " << GetParam().factor;
}

constexpr std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return r | (g << 8) | (b << 16);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Shading,
    testing::Values(ShadeCase{Rgb(128, 128, 128), 1.65, Rgb(211, 211, 211)},
                    ShadeCase{Rgb(128, 128, 128), 0.85, Rgb(108, 108, 108)},
                    ShadeCase{Rgb(255, 0, 0), 1.65, Rgb(255, 164, 164)},
                    ShadeCase{Rgb(255, 0, 0), 0.85, Rgb(216, 0, 0)},
                    ShadeCase{Rgb(153, 102, 51), 1.65, Rgb(212, 168, 124)},
                    ShadeCase{Rgb(153, 102, 51), 0.85, Rgb(130, 86, 43)},
                    ShadeCase{Rgb(192, 192, 192), 1.65, Rgb(255, 255, 255)},
                    // The top byte (a transparency mark) does not reach the answer.
                    ShadeCase{0xFF000000u | Rgb(0, 0, 255), 1.0, Rgb(0, 0, 255)},
                    // Green and blue maxima take their own hue branches.
                    ShadeCase{Rgb(0, 200, 0), 1.0, Rgb(0, 200, 0)},
                    ShadeCase{Rgb(10, 20, 200), 1.0, Rgb(10, 20, 200)}));

}  // namespace
