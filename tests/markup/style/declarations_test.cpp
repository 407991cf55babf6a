// The declaration parser on its own, as a "style" attribute uses it, and
// on a dictionary whose shorthands name themselves.
#include <gtest/gtest.h>

#include <memory>

#include "markup/style/css_declarations.h"
#include "style_fixtures.h"

namespace {

using markup::Vector;
using namespace markup::style;
using namespace style_test;

struct Parsed {
    Vector<CSSToken> tokens;
    Vector<CSSProperty> properties;
};

std::unique_ptr<Parsed> ParseBlock(const char* text, const markup::CSSDictionary& css) {
    auto parsed = std::make_unique<Parsed>();
    CSSTokenizer().Tokenize(text, 0, parsed->tokens);
    CSSTokenSource cursor(&parsed->tokens);
    cursor.First();
    ParseCSSDeclarations(cursor, css, parsed->properties);
    return parsed;
}

TEST(ParseCSSDeclarations, AStyleAttributeText) {
    auto parsed = ParseBlock("fill:#f00;; stroke-width : 2 ; 12 opacity:50% } fill: #00f", Css());
    // A stray token is passed over; the block ends at "}".
    ASSERT_EQ(parsed->properties.Count(), 3u);
    EXPECT_EQ(parsed->properties.At(0)->Id(), 69u);
    EXPECT_EQ(Str(parsed->properties.At(0)->Text()), "fill : #f00");
    EXPECT_EQ(parsed->properties.At(1)->Id(), 73u);
    EXPECT_EQ(parsed->properties.At(1)->ValueAt(0)->Attribute()->TypeCode(), kCSSNumberValue);
    EXPECT_EQ(parsed->properties.At(2)->Id(), 96u);
}

TEST(ParseCSSProperty, NeedsAKnownNameAndAColon) {
    for (const char* text : {"bogus: 1", "fill #f00", "fill:", "fill: ;", "stroke-width: red"}) {
        Vector<CSSToken> tokens;
        CSSTokenizer().Tokenize(text, 0, tokens);
        CSSTokenSource cursor(&tokens);
        cursor.First();
        EXPECT_EQ(ParseCSSProperty(cursor, Css()), nullptr) << text;
    }
}

struct AdmitsCase {
    std::uint32_t property;
    std::uint32_t tokenType;
    bool admitted;
};

class Admits : public ::testing::TestWithParam<AdmitsCase> {};

TEST_P(Admits, TokenTypesOfAProperty) {
    EXPECT_EQ(CSSPropertyAdmits(Css(), GetParam().property, GetParam().tokenType), GetParam().admitted)
        << GetParam().property << " " << GetParam().tokenType;
}

INSTANTIATE_TEST_SUITE_P(Table, Admits,
                         ::testing::Values(AdmitsCase{69, kCSSIdentifier, true},   // keywords
                                           AdmitsCase{69, kCSSURL, true},          // formats
                                           AdmitsCase{69, kCSSNumber, false},
                                           AdmitsCase{73, kCSSIdentifier, false},  // formats only
                                           AdmitsCase{73, kCSSPixels, true}, AdmitsCase{74, kCSSPixels, false},
                                           AdmitsCase{8, kCSSIdentifier, false},   // no type of its own
                                           AdmitsCase{999, kCSSIdentifier, false}));

// A dictionary read from a file could name a shorthand among its own
// members; reading its values must still end.
TEST(ReadCSSValues, ShorthandsNamingThemselvesEnd) {
    markup::CSSDictionary css;
    auto loop = std::make_unique<markup::CSSAttributeDef>();
    loop->SetId(200);
    loop->SetName("loop");
    loop->SetWordA(3);
    loop->AddDefinitionWord(200);
    loop->AddDefinitionWord(201);
    css.Properties().Insert(std::move(loop));
    auto leaf = std::make_unique<markup::CSSAttributeDef>();
    leaf->SetId(201);
    leaf->SetName("leaf");
    auto* formats = dynamic_cast<markup::AttributeTypeFormatted*>(leaf->SetTypeKind(markup::kTypeFormatted));
    formats->AddFormat(kCSSNumber);
    css.Properties().Insert(std::move(leaf));

    auto parsed = ParseBlock("loop: 1 2", css);
    ASSERT_EQ(parsed->properties.Count(), 1u);
    // The leaf reads both numbers once; the copies below it find them used.
    EXPECT_EQ(parsed->properties.At(0)->ValueCount(), 2u);
}

}  // namespace
