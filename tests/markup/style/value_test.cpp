// The value classes: colours, lengths and numbers, the factories' choice of
// kind, URL texts, numbers in any process locale, and what the cascade
// reads of each kind.
#include <gtest/gtest.h>

#include <locale.h>

#include "comma_locale.h"
#include "markup/style/css_applied_value.h"
#include "markup/style/css_attribute.h"
#include "style_fixtures.h"

namespace {

using markup::String;
using markup::Vector;
using namespace markup::style;
using namespace style_test;

// The first token the scanner makes of the text.
CSSToken FirstToken(const char* text) {
    Vector<CSSToken> tokens;
    CSSTokenizer().Tokenize(text, 0, tokens);
    return *tokens.At(0);
}

struct ColourCase {
    const char* text;
    std::uint32_t property;
    std::uint32_t word;
};

class ColourWord : public ::testing::TestWithParam<ColourCase> {};

TEST_P(ColourWord, OfText) {
    CSSColorAttribute colour(Css());
    colour.SetPropertyId(GetParam().property);
    colour.SetText(GetParam().text);
    EXPECT_EQ(colour.ColourWord(), GetParam().word) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ColourWord,
    ::testing::Values(ColourCase{"#abc", 69, 0x00CCBBAA}, ColourCase{"#123456", 69, 0x00563412},
                      ColourCase{"#12345", 69, 0},  // another length leaves the word as it was
                      ColourCase{"rgb(100%,50%,0%)", 69, 0x000080FF}, ColourCase{"rgb(300,0,0)", 69, 0x000000FF},
                      ColourCase{"rgb(1,2)", 69, 0}, ColourCase{"RGB(1,2,3)", 69, 0x00030201},
                      ColourCase{"rgb( 1 , 2 , 3 )", 69, 0x00030201},  // blanks before commas too
                      ColourCase{"rgb(-5,0,0)", 69, 0},                // a negative component is 0
                      ColourCase{"rgb(1.9,2,3)", 69, 0x00030202},      // fractions are rounded
                      ColourCase{"rgb(10%,20,30)", 69, 0x001E141A},    // mixed forms
                      ColourCase{"rgb(1,2,3", 69, 0},                  // no ")"
                      ColourCase{"rgb(99999999999999%,0%,0%)", 69, 0xFF},
                      ColourCase{"red", 9, 0x000000FF},  // a keyword's number
                      ColourCase{"Navy", 9, 0x00800000}, ColourCase{"transparent", 10, 0xFF000000},
                      ColourCase{"nonsense", 9, 0}));

TEST(CSSColorAttribute, SpecialColoursAndMarks) {
    CSSColorAttribute colour(Css());
    colour.SetPropertyId(10);
    EXPECT_FALSE(colour.HasText());
    colour.ParseAndMark("transparent");
    EXPECT_TRUE(colour.IsSpecial());
    EXPECT_TRUE(colour.Parsed());
    EXPECT_TRUE(colour.HasText());
    colour.SetText("white");
    EXPECT_FALSE(colour.IsSpecial());
    EXPECT_EQ(colour.ColourWord(), 0x00FFFFFFu);
    EXPECT_EQ(colour.KeywordId(), 250u);
}

struct LengthCase {
    const char* text;
    std::uint32_t unit;
    double number;
    const char* numberText;
    const char* unitText;
};

class LengthValue : public ::testing::TestWithParam<LengthCase> {};

TEST_P(LengthValue, UnitAndNumber) {
    const LengthCase& c = GetParam();
    CSSLengthAttribute length(Css());
    length.SetText(c.text);
    EXPECT_EQ(length.UnitCode(), c.unit) << c.text;
    EXPECT_DOUBLE_EQ(length.Number(), c.number) << c.text;
    EXPECT_EQ(Str(length.NumberText()), c.numberText) << c.text;
    EXPECT_EQ(Str(length.UnitText()), c.unitText) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Units, LengthValue,
    ::testing::Values(LengthCase{"12px", kCSSUnitPx, 12, "12", "px"},
                      LengthCase{"12.50px", kCSSUnitPx, 12.5, "12.5", "px"},  // the unit text is what follows
                      LengthCase{"1pt", kCSSUnitPt, 1, "1", "pt"}, LengthCase{"-3MM", kCSSUnitMm, -3, "-3", "MM"},
                      LengthCase{".5cm", kCSSUnitCm, 0.5, "0.5", "cm"}, LengthCase{"+2pc", kCSSUnitPc, 2, "2", "pc"},
                      LengthCase{"7in", kCSSUnitIn, 7, "7", "in"}, LengthCase{"12em", kCSSUnitEm, 12, "12", "em"},
                      LengthCase{"2ex", kCSSUnitEx, 2, "2", "ex"},
                      LengthCase{"- 4pc", kCSSUnitPc, -4, "-4", "pc"},  // the scanner's sign and blank
                      LengthCase{"45deg", kCSSUnitDeg, 45, "45", "deg"},
                      LengthCase{"2rad", kCSSUnitRad, 2, "2", "rad"},
                      LengthCase{"1grad", kCSSUnitGrad, 1, "1", "grad"},
                      LengthCase{"50%", kCSSUnitPercent, 50, "50", "%"},
                      LengthCase{"12", kCSSUnitUnknown, 12, "12", ""},
                      LengthCase{" 12px", kCSSUnitUnknown, 12, "12", "px"},  // the first token is a blank
                      LengthCase{"px", kCSSUnitUnknown, 0, "0", "px"},
                      LengthCase{"1e999px", kCSSUnitPx, 1.7976931348623157e308, "1.79769e+308", "px"}));

TEST(CSSNumericalAttribute, ConstantUnitsOfTheOtherKinds) {
    EXPECT_EQ(CSSNumberAttribute(Css()).UnitCode(), kCSSUnitNumber);
    EXPECT_EQ(CSSPercentAttribute(Css()).UnitCode(), kCSSUnitPercent);
    EXPECT_EQ(CSSZeroAttribute(Css()).UnitCode(), kCSSUnitZero);
    EXPECT_EQ(CSSNumberAttribute(Css()).Number(), 0.0);  // empty text
}

TEST(CSSNumericalAttribute, NumbersKeepTheirPointInACommaLocale) {
    testsupport::CommaLocale comma;
    ASSERT_NE(comma.Get(), nullptr) << testsupport::kNoCommaLocale;
    ASSERT_EQ(comma.OneAndAHalf(), "1,5");
    const locale_t previous = uselocale(comma.Get());
    CSSLengthAttribute length(Css());
    length.SetText("12.75px");
    const double number = length.Number();
    const std::string text = Str(length.NumberText());
    uselocale(previous);
    EXPECT_DOUBLE_EQ(number, 12.75);
    EXPECT_EQ(text, "12.75");
}

struct FactoryCase {
    const char* text;
    std::uint32_t property;
    std::uint32_t typeCode;
    std::uint32_t keyword;  // for keyword values
};

class Factory : public ::testing::TestWithParam<FactoryCase> {};

TEST_P(Factory, KindOfAToken) {
    const FactoryCase& c = GetParam();
    bool recognised = false;
    std::unique_ptr<CSSAttribute> value = CreateCSSAttributeFromToken(FirstToken(c.text), recognised, c.property, Css());
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->TypeCode(), c.typeCode) << c.text;
    EXPECT_EQ(recognised, c.typeCode != kCSSUnknownValue) << c.text;
    EXPECT_EQ(value->PropertyId(), c.property);
    EXPECT_EQ(Str(value->Text()), c.text);
    if (auto* group = dynamic_cast<CSSGroupAttribute*>(value.get())) {
        EXPECT_EQ(group->KeywordId(), c.keyword) << c.text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tokens, Factory,
    ::testing::Values(FactoryCase{"red", 9, kCSSColourValue, 198}, FactoryCase{"#abc", 69, kCSSColourValue, 0},
                      FactoryCase{"rgb(1,2,3)", 72, kCSSColourValue, 0}, FactoryCase{"none", 69, kCSSGroupValue, 331},
                      FactoryCase{"12px", 73, kCSSLengthValue, 0}, FactoryCase{"0", 73, kCSSZeroValue, 0},
                      FactoryCase{"50%", 71, kCSSPercentValue, 0}, FactoryCase{"3", 73, kCSSNumberValue, 0},
                      FactoryCase{"url(a.svg)", 69, kCSSURLValue, 0}, FactoryCase{"'Arial'", 1, kCSSStringValue, 0},
                      FactoryCase{"Arial", 1, kCSSIdentValue, 0}, FactoryCase{"serif", 1, kCSSGroupValue, 362},
                      FactoryCase{"bold", 5, kCSSGroupValue, 273}, FactoryCase{"700", 5, kCSSGroupValue, 261},
                      FactoryCase{"750", 5, kCSSGroupValue, 0},  // a weight number that is no keyword
                      FactoryCase{"12", 6, kCSSNumberValue, 0},  // a number is no font-size keyword
                      FactoryCase{"LARGE", 6, kCSSGroupValue, 310}, FactoryCase{"foo", 69, kCSSUnknownValue, 0},
                      FactoryCase{"{", 69, kCSSUnknownValue, 0}, FactoryCase{"red", 12345, kCSSUnknownValue, 0}));

TEST(CSSAttributeFactory, EmptyValueOfEachTypeCode) {
    for (std::uint32_t code = 0; code <= 10; ++code) {
        std::unique_ptr<CSSAttribute> value = CreateCSSAttribute(73, code, Css());
        ASSERT_NE(value, nullptr) << code;
        EXPECT_EQ(value->TypeCode(), code);
        EXPECT_EQ(value->PropertyId(), 73u);
        EXPECT_EQ(value->IsNumerical(), code == 1 || code == 2 || code == 3 || code == 6) << code;
        std::unique_ptr<CSSAttribute> copy(value->Clone());
        EXPECT_EQ(copy->TypeCode(), code);
    }
    EXPECT_EQ(CreateCSSAttribute(73, 11, Css()), nullptr);
}

TEST(CSSAttribute, PropertyNameAndKeywordNumber) {
    CSSGroupAttribute weight(Css());
    weight.SetPropertyId(6);
    weight.SetText("x-large");
    EXPECT_EQ(Str(weight.PropertyName()), "font-size");
    EXPECT_EQ(weight.KeywordNumber(), 6.0);
    weight.SetPropertyId(999);
    EXPECT_EQ(Str(weight.PropertyName()), "");
    EXPECT_EQ(weight.KeywordId(), 0u);
    EXPECT_EQ(weight.KeywordNumber(), 0.0);
}

struct URLCase {
    const char* text;
    const char* url;
};

class URLText : public ::testing::TestWithParam<URLCase> {};

TEST_P(URLText, BetweenTheParentheses) {
    CSSURLAttribute value(Css());
    value.SetText(GetParam().text);
    String out = "stale";
    GetCSSURLText(value, out);
    EXPECT_EQ(Str(out), GetParam().url) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Forms, URLText,
                         ::testing::Values(URLCase{"url(a.svg)", "a.svg"}, URLCase{"url( \"a b.svg\" )", "a b.svg"},
                                           URLCase{"url('#x')", "#x"}, URLCase{"url(\"'x'\")", "x"},
                                           URLCase{"url( )", ""}, URLCase{"none", ""}, URLCase{"url(a", ""},
                                           URLCase{")url(", ""}, URLCase{"url(a(b))", "a(b)"}));

struct AppliedCase {
    const char* text;
    std::uint32_t property;
    std::uint8_t type;
    std::uint32_t word;  // keyword id or colour word
    double number;       // number, keyword number or alpha
    std::uint8_t unit;
};

class Applied : public ::testing::TestWithParam<AppliedCase> {};

TEST_P(Applied, WhatTheCascadeReadsOfAToken) {
    const AppliedCase& c = GetParam();
    bool recognised = false;
    const std::unique_ptr<CSSAttribute> attribute =
        CreateCSSAttributeFromToken(FirstToken(c.text), recognised, c.property, Css());
    const CSSAppliedValue value = AppliedValueOf(attribute.get(), true);
    EXPECT_EQ(value.type, c.type) << c.text;
    EXPECT_EQ(value.word, c.word) << c.text;
    EXPECT_EQ(value.number, c.number) << c.text;
    EXPECT_EQ(value.unit, c.unit) << c.text;
    EXPECT_EQ(value.propertyId, c.property);
    EXPECT_EQ(value.Text(), c.text);
    EXPECT_EQ(value.text, attribute->Text().Text());  // the attribute's own text
    EXPECT_TRUE(value.Important());
    EXPECT_EQ(value.IsNumerical(), attribute->IsNumerical()) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, Applied,
    ::testing::Values(AppliedCase{"#abc", 69, kCSSColourValue, 0x00CCBBAA, 1.0, kCSSUnitUnknown},
                      AppliedCase{"rgb(1,2,3)", 72, kCSSColourValue, 0x00030201, 1.0, kCSSUnitUnknown},
                      // Fill, stroke and stop colour take the colour names.
                      AppliedCase{"Navy", 69, kCSSColourValue, 0x00800000, 1.0, kCSSUnitUnknown},
                      AppliedCase{"red", 89, kCSSColourValue, 0x000000FF, 1.0, kCSSUnitUnknown},
                      AppliedCase{"red", 73, kCSSUnknownValue, 0, 0.0, kCSSUnitUnknown},
                      AppliedCase{"foo", 69, kCSSUnknownValue, 0, 0.0, kCSSUnitUnknown},
                      AppliedCase{"none", 69, kCSSGroupValue, 331, 0.0, kCSSUnitUnknown},
                      AppliedCase{"LARGE", 6, kCSSGroupValue, 310, 5.0, kCSSUnitUnknown},
                      AppliedCase{"12.5pt", 73, kCSSLengthValue, 0, 12.5, kCSSUnitPt},
                      AppliedCase{"0", 73, kCSSZeroValue, 0, 0.0, kCSSUnitZero},
                      AppliedCase{"50%", 71, kCSSPercentValue, 0, 50.0, kCSSUnitPercent},
                      AppliedCase{"-3", 73, kCSSNumberValue, 0, -3.0, kCSSUnitNumber},
                      AppliedCase{"url(#p)", 69, kCSSURLValue, 0, 0.0, kCSSUnitUnknown},
                      AppliedCase{"'A b'", 1, kCSSStringValue, 0, 0.0, kCSSUnitUnknown}));

TEST(AppliedValueOf, WideKeywordsAndNoAttribute) {
    for (const char* text : {"inherit", "INITIAL"}) {
        const std::unique_ptr<CSSAttribute> wide = CreateCSSAttribute(69, kCSSWideKeywordValue, Css());
        wide->SetText(text);
        const CSSAppliedValue value = AppliedValueOf(wide.get(), false);
        EXPECT_EQ(value.type, kCSSWideKeywordValue);
        EXPECT_EQ((value.flags & CSSAppliedValue::kInitial) != 0, text[0] == 'I') << text;
        EXPECT_FALSE(value.Important());
    }
    const CSSAppliedValue none = AppliedValueOf(nullptr, true);
    EXPECT_EQ(none.type, CSSAppliedValue::kNoAttribute);
    EXPECT_TRUE(none.Important());
    EXPECT_EQ(none.textLength, 0u);
}

}  // namespace
