// Style sheets against the cases of sheets.txt, and the declaration list a
// sheet keeps.
#include <gtest/gtest.h>

#include "markup/style/css_style_sheet.h"
#include "style_fixtures.h"

namespace {

using namespace markup::style;
using namespace style_test;

std::string DumpRules(const CSSStyleSheet& sheet) {
    std::string out;
    for (std::uint32_t r = 0; r < sheet.Rules().Count(); ++r) {
        const CSSCompoundSelector& rule = *sheet.Rules().At(r);
        out += "rule " + Str(rule.Text()) + "\n";
        for (std::uint32_t p = 0; p < rule.PropertyCount(); ++p) {
            const CSSProperty& property = *rule.PropertyAt(p);
            out += "  " + std::to_string(property.Id()) + " " + Str(property.Name()) + "\n";
            for (std::uint32_t v = 0; v < property.ValueCount(); ++v) {
                const CSSValue& value = *property.ValueAt(v);
                out += "    " + std::to_string(value.PropertyId()) + " " +
                       std::to_string(value.Attribute()->TypeCode()) + " \"" +
                       testsupport::EscapeText(Str(value.Attribute()->Text())) + "\"" +
                       (value.Important() ? " important" : "") + "\n";
            }
        }
    }
    return out;
}

TEST(CSSStyleSheet, RulesOfEachCase) {
    testsupport::RunSections("markup/style/sheets.txt", [](const std::string& data) {
        CSSStyleSheet sheet(Css());
        std::size_t start = 0;
        for (;;) {
            const std::size_t cut = data.find("\n----\n", start);
            sheet.AddText(Text(data.substr(start, cut == std::string::npos ? std::string::npos : cut - start)), 0);
            if (cut == std::string::npos) break;
            start = cut + 6;
        }
        // Every token before the end is used, and the list ends with its one
        // end token.
        const auto& tokens = sheet.Tokens();
        EXPECT_EQ(tokens.At(tokens.Count() - 1)->Type(), kCSSEnd);
        EXPECT_FALSE(tokens.At(tokens.Count() - 1)->Consumed());
        for (std::uint32_t i = 0; i + 1 < tokens.Count(); ++i) EXPECT_TRUE(tokens.At(i)->Consumed()) << i;
        return DumpRules(sheet);
    });
}

// S1 and S2 with A (values 1, 2) and B (value 3) give S1-A-1, S1-A-2,
// S1-B-3, S2-A-1, S2-A-2, S2-B-3, and the next rule's follow.
TEST(CSSStyleSheet, DeclarationListInSourceOrder) {
    CSSStyleSheet sheet(Css());
    sheet.AddText("s1, s2 { stroke-dasharray: 1 2; fill: red } s3 { fill: blue }", 0);
    std::string order;
    for (std::uint32_t i = 0; i < sheet.Declarations().Count(); ++i) {
        const CSSDeclaration& d = *sheet.Declarations().At(i);
        order += Str(d.Selector()->Text()) + "-" + std::to_string(d.Property()->Id()) + "-" +
                 Str(d.Value()->Attribute()->Text()) + " ";
    }
    EXPECT_EQ(order, "s1-76-1 s1-76-2 s1-69-red s2-76-1 s2-76-2 s2-69-red s3-69-blue ");
    const CSSDeclaration& first = *sheet.Declarations().At(0);
    EXPECT_EQ(first.Selector()->Rule(), sheet.Rules().At(0));
    EXPECT_EQ(first.Selector()->FindProperty(69), sheet.Rules().At(0)->PropertyAt(1));
    EXPECT_EQ(first.Selector()->FindProperty(73), nullptr);
    EXPECT_EQ(Str(sheet.Rules().At(0)->RuleText()), "s1, s2 { stroke-dasharray : 1 2 fill : red }");
}

TEST(CSSStyleSheet, TextAtAPosition) {
    CSSStyleSheet sheet(Css());
    sheet.AddText("a { fill: red }", 0);
    sheet.AddText("b { fill: blue }", 3, 0);
    sheet.AddText("c { fill: green }", 4, 1000);  // past the end: before the end token
    ASSERT_EQ(sheet.Rules().Count(), 3u);
    EXPECT_EQ(Str(sheet.Rules().At(1)->Text()), "b");
    EXPECT_EQ(Str(sheet.Rules().At(2)->Text()), "c");
    // The used tokens are gone: the list holds its end token alone.
    ASSERT_EQ(sheet.Tokens().Count(), 1u);
    EXPECT_EQ(sheet.Tokens().At(0)->Type(), kCSSEnd);
}

// The blanks and comments between rules are used tokens too: a sheet keeps
// none of them once its texts are read.
TEST(CSSStyleSheet, NoUsedTokenStays) {
    CSSStyleSheet sheet(Css());
    sheet.AddText("a { fill: red }\n  b { fill: blue }\n", 0);
    sheet.AddText("\n/* x */ c { fill: green } \n", 0);
    EXPECT_EQ(sheet.Rules().Count(), 3u);
    ASSERT_EQ(sheet.Tokens().Count(), 1u);
    EXPECT_EQ(sheet.Tokens().At(0)->Type(), kCSSEnd);
}

TEST(CSSStyleSheet, EmptyTextsLeaveTheSheetAsItWas) {
    CSSStyleSheet sheet(Css());
    sheet.AddText("", 0);
    sheet.AddText("a { fill: red }", 0);
    sheet.AddText("", 0);
    sheet.AddText("   ", 0);
    EXPECT_EQ(sheet.Rules().Count(), 1u);
    EXPECT_EQ(sheet.Declarations().Count(), 1u);
}

}  // namespace
