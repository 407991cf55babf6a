// Colour values as CSS reads them: text to colour word (0x00BBGGRR) and
// alpha, or no colour at all.
#include <gtest/gtest.h>

#include <string>

#include "markup/style/css_colours.h"

namespace {

using namespace markup::style;

struct Case {
    const char* text;
    bool colour;
    std::uint32_t word;
    double alpha;
};

class Colour : public ::testing::TestWithParam<Case> {};

TEST_P(Colour, OfText) {
    const Case& c = GetParam();
    const std::optional<CSSColour> got = ParseCSSColour(c.text);
    ASSERT_EQ(got.has_value(), c.colour) << c.text;
    if (!got) return;
    EXPECT_EQ(got->word, c.word) << c.text;
    EXPECT_NEAR(got->alpha, c.alpha, 1e-9) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, Colour,
    ::testing::Values(
        // Keywords, in any case; the colour names beyond HTML's sixteen.
        Case{"red", true, 0x0000FF, 1}, Case{"ORANGE", true, 0x00A5FF, 1}, Case{"grey", true, 0x808080, 1},
        Case{"darkblue", true, 0x8B0000, 1}, Case{"lightgrey", true, 0xD3D3D3, 1},
        Case{" rebeccapurple", false, 0, 0}, Case{"transparent", true, 0, 0}, Case{"currentColor", false, 0, 0},
        Case{"nonsense", false, 0, 0},
        // "#" forms.
        Case{"#abc", true, 0xCCBBAA, 1}, Case{"#abc8", true, 0xCCBBAA, 0x88 / 255.0},
        Case{"#123456", true, 0x563412, 1}, Case{"#12345680", true, 0x563412, 0x80 / 255.0},
        Case{"#12345", false, 0, 0}, Case{"#ggg", false, 0, 0}, Case{"#", false, 0, 0},
        // rgb() and rgba(): commas or blanks, numbers or percentages.
        Case{"rgb(0, 128, 0)", true, 0x008000, 1}, Case{"rgb(0 128 0)", true, 0x008000, 1},
        Case{"RGB(100%,0%,50%)", true, 0x8000FF, 1}, Case{"rgb(300,-1,0)", true, 0x0000FF, 1},
        Case{"rgba(255,0,0,0.5)", true, 0x0000FF, 0.5}, Case{"rgb(255 0 0 / 25%)", true, 0x0000FF, 0.25},
        Case{"rgba(0,0,255,2)", true, 0xFF0000, 1}, Case{"rgb(0,0,0,-1)", true, 0, 0},
        Case{"rgb(1,2)", false, 0, 0}, Case{"rgb(1,2,3,4,5)", false, 0, 0}, Case{"rgb(1,2,)", false, 0, 0},
        Case{"rgb(1 2, 3)", false, 0, 0}, Case{"rgb(1,2,3 / 1)", false, 0, 0}, Case{"rgb(1,2,3", false, 0, 0},
        Case{"rgb(a,b,c)", false, 0, 0}, Case{"rgb(inf,0,0)", false, 0, 0}, Case{"rgb()", false, 0, 0},
        Case{"rgb(1e2,0,0)", true, 0x000064, 1}, Case{"foo(1,2,3)", false, 0, 0},
        // hsl() and hsla(): hue in degrees, saturation and lightness in percent.
        Case{"hsl(0, 100%, 50%)", true, 0x0000FF, 1}, Case{"hsl(120 100% 25%)", true, 0x008000, 1},
        Case{"hsl(240deg, 100%, 50%)", true, 0xFF0000, 1}, Case{"hsl(-120, 100%, 50%)", true, 0xFF0000, 1},
        Case{"hsla(0, 0%, 100%, 0.3)", true, 0xFFFFFF, 0.3}, Case{"hsl(0, 100, 50)", false, 0, 0}));

TEST(Colour, TheKeywordTableHoldsEachOfTheNamesOnceInOrder) {
    EXPECT_EQ(CSSColourNameCount(), 147u);
    for (std::uint32_t i = 1; i < CSSColourNameCount(); ++i) {
        EXPECT_LT(CSSColourNameAt(i - 1), CSSColourNameAt(i));
        EXPECT_TRUE(CSSColourByName(std::string(CSSColourNameAt(i))).has_value());
    }
}

}  // namespace
