// Which declarations of a sheet apply to an element description, their
// specificity, and the order they are handed to the cascade in.
#include <gtest/gtest.h>

#include "markup/style/css_style_sheet.h"
#include "style_fixtures.h"

namespace {

using markup::Vector;
using namespace markup::style;
using namespace style_test;

// The property ids of the declarations collected for one description.
std::string Collected(const CSSStyleSheet& sheet, const CSSSimpleSelectorDesc& description) {
    Vector<CSSSimpleSelectorDesc> descriptions;
    descriptions.Add(description);
    Vector<CSSDeclaration> out;
    sheet.CollectDeclarations(descriptions, out);
    std::string ids;
    for (std::uint32_t i = 0; i < out.Count(); ++i) ids += std::to_string(out.At(i)->Property()->Id()) + " ";
    return ids;
}

struct MatchCase {
    const char* selector;
    const char* name;
    const char* classText;
    const char* id;
    const char* applies;  // of fill (69) and width (46, which needs a part that compared equal)
};

class Matching : public ::testing::TestWithParam<MatchCase> {};

TEST_P(Matching, SelectorAgainstDescription) {
    const MatchCase& c = GetParam();
    CSSStyleSheet sheet(Css());
    sheet.AddText(Text(std::string(c.selector) + " { fill: #f00; width: 1px }"), 0);
    EXPECT_EQ(Collected(sheet, CSSSimpleSelectorDesc(c.name, c.classText, c.id)), c.applies)
        << c.selector << " on " << c.name << c.classText << c.id;
}

// Class words and ids compare with regard to case, element names without;
// an element without a name (the document node) matches no type.
INSTANTIATE_TEST_SUITE_P(
    Table, Matching,
    ::testing::Values(MatchCase{"rect", "rect", "", "", "69 46 "}, MatchCase{"RECT", "rect", "", "", "69 46 "},
                      MatchCase{"circle", "rect", "", "", ""}, MatchCase{"rect", "rect", ".a", "", "69 46 "},
                      MatchCase{"rect", "rect", "", "#x", "69 46 "}, MatchCase{".a", "rect", ".a", "", "69 46 "},
                      MatchCase{".A", "rect", ".a", "", ""}, MatchCase{".b", "rect", ".a", "", ""},
                      MatchCase{".a", "rect", "", "", ""}, MatchCase{"rect.a", "rect", ".a", "", "69 46 "},
                      MatchCase{"circle.a", "rect", ".a", "", ""}, MatchCase{"#x", "rect", "", "#x", "69 46 "},
                      MatchCase{"#x", "rect", "", "", ""},  // the element has no id
                      MatchCase{"#y", "rect", "", "#x", ""}, MatchCase{"#x", "rect", ".a", "#x", "69 46 "},
                      MatchCase{"#x.a", "rect", ".a", "#x", "69 46 "}, MatchCase{"rect#x", "", "", "#x", ""},
                      MatchCase{"*", "", "", "", "69 46 "}, MatchCase{"nosuchelement", "", "", "", ""},
                      MatchCase{"a:link", "a", "", "", ""}, MatchCase{":visited", "a", "", "", ""},
                      MatchCase{":first-line", "rect", "", "", ""}, MatchCase{"rect:hover", "rect", "", "", ""},
                      MatchCase{"g rect", "rect", "", "", ""}, MatchCase{"g rect", "g", "", "", ""},
                      MatchCase{"rect, .a", "rect", ".a", "", "69 46 69 46 "}));

struct SpecificityCase {
    const char* selector;
    std::uint32_t specificity;
};

class Specificity : public ::testing::TestWithParam<SpecificityCase> {};

TEST_P(Specificity, OfTheFirstSelector) {
    CSSStyleSheet sheet(Css());
    sheet.AddText(Text(std::string(GetParam().selector) + " { fill: #f00 }"), 0);
    ASSERT_EQ(sheet.Rules().Count(), 1u) << GetParam().selector;
    const CSSContextualSelector& selector = *sheet.Rules().At(0)->SelectorAt(0);
    EXPECT_EQ(selector.Specificity(), GetParam().specificity) << GetParam().selector;
    EXPECT_EQ(selector.Specificity(), GetParam().specificity);  // the cached answer
}

INSTANTIATE_TEST_SUITE_P(Table, Specificity,
                         ::testing::Values(SpecificityCase{"rect", 1}, SpecificityCase{".a", 1000},
                                           SpecificityCase{"#x", 1000000}, SpecificityCase{"rect.a", 1001},
                                           SpecificityCase{"rect#x", 1000001}, SpecificityCase{"a.b:link", 2001},
                                           SpecificityCase{":link", 1000}, SpecificityCase{":first-line", 1},
                                           SpecificityCase{"g rect", 2}, SpecificityCase{"g .a #x", 1001001},
                                           SpecificityCase{"*", 0}, SpecificityCase{"[href^=x]", 1000},
                                           SpecificityCase{"p::before", 2}, SpecificityCase{".a.b.c", 3000},
                                           SpecificityCase{"g > rect + circle ~ .a", 1003}));

TEST(CSSContextualSelector, AddingRecomputesTheSpecificity) {
    CSSToken rect(kCSSIdentifier, "rect", 0), id(kCSSId, "#x", 0);
    CSSContextualSelector selector;
    selector.Add(CSSSimpleSelector(&rect, nullptr, nullptr, nullptr));
    EXPECT_EQ(selector.Specificity(), 1u);
    selector.Insert(0, CSSSimpleSelector(nullptr, nullptr, &id, nullptr));
    EXPECT_EQ(selector.Specificity(), 1000001u);
    EXPECT_EQ(Str(selector.Text()), "#x rect");
}

// A copy of a parsed selector shares its parse.
TEST(CSSContextualSelector, ACopyKeepsTheParsedSelector) {
    CSSStyleSheet sheet(Css());
    sheet.AddText("g > rect, #x { fill: #f00 }", 0);
    CSSContextualSelector selector(*sheet.Rules().At(0)->SelectorAt(0));
    ASSERT_NE(selector.Parsed(), nullptr);
    EXPECT_EQ(selector.Parsed(), sheet.Rules().At(0)->SelectorAt(0)->Parsed());
    EXPECT_EQ(selector.Specificity(), 2u);
    EXPECT_EQ(Str(selector.Text()), "g > rect");
}

// Colours tell the declarations apart: fill #00000N is the Nth.
std::string CollectedFills(const char* css, const CSSSimpleSelectorDesc& description) {
    CSSStyleSheet sheet(Css());
    sheet.AddText(css, 0);
    Vector<CSSSimpleSelectorDesc> descriptions;
    descriptions.Add(description);
    Vector<CSSDeclaration> out;
    sheet.CollectDeclarations(descriptions, out);
    std::string texts;
    for (std::uint32_t i = 0; i < out.Count(); ++i) texts += Str(out.At(i)->Value()->Attribute()->Text()) + " ";
    return texts;
}

TEST(CollectDeclarations, NormalBySpecificityThenImportant) {
    EXPECT_EQ(CollectedFills("#x.a { fill: #000001 } rect.a { fill: #000002 } .a { fill: #000003 !important } "
                             ".a { fill: #000004 } circle { fill: #000005 }",
                             CSSSimpleSelectorDesc("rect", ".a", "#x")),
              "#000004 #000002 #000001 #000003 ");
}

// Equal keys keep the sheet's order, and the values of one declaration
// (dash arrays, four sides) keep theirs.
TEST(CollectDeclarations, EqualKeysKeepTheirOrder) {
    EXPECT_EQ(CollectedFills("rect { stroke-dasharray: 1 2 3 } .q { fill: #000009 } rect { stroke-dasharray: 4 5 } "
                             "RECT { margin: 6px 7px } rect { enable-background: new 8 9 }",
                             CSSSimpleSelectorDesc("rect", "", "")),
              "1 2 3 4 5 6px 6px 7px 7px new 8 9 ");
}

TEST(CollectDeclarations, FirstMatchingDescriptionDecides) {
    CSSStyleSheet sheet(Css());
    sheet.AddText(".b { fill: #000001 } .a { fill: #000002 } .c { fill: #000003 }", 0);
    Vector<CSSSimpleSelectorDesc> descriptions;
    descriptions.Add(CSSSimpleSelectorDesc("rect", ".b", ""));
    descriptions.Add(CSSSimpleSelectorDesc("rect", ".a", ""));
    Vector<CSSDeclaration> out;
    out.Add(CSSDeclaration(nullptr, nullptr, nullptr));  // emptied first
    sheet.CollectDeclarations(descriptions, out);
    ASSERT_EQ(out.Count(), 2u);
    EXPECT_EQ(Str(out.At(0)->Value()->Attribute()->Text()), "#000001");
    EXPECT_EQ(Str(out.At(1)->Value()->Attribute()->Text()), "#000002");
}

// An element of several classes takes each class's rules once, in sheet
// order whatever the order of its classes (a word of another case is
// another class); rules of a later text join them.
TEST(CollectDeclarations, SeveralClassesInSheetOrderAcrossTexts) {
    CSSStyleSheet sheet(Css());
    sheet.AddText(".a { fill: #000001 } rect { fill: #000002 } .b { fill: #000003 } .c { fill: #000004 } "
                  ".B { fill: #000007 }",
                  0);
    Vector<CSSSimpleSelectorDesc> descriptions;
    for (const char* classText : {".b", ".a", ".b"}) descriptions.Add(CSSSimpleSelectorDesc("rect", classText, ""));
    const auto fills = [&] {
        Vector<CSSDeclaration> out;
        sheet.CollectDeclarations(descriptions, out);
        std::string texts;
        for (std::uint32_t i = 0; i < out.Count(); ++i) texts += Str(out.At(i)->Value()->Attribute()->Text()) + " ";
        return texts;
    };
    EXPECT_EQ(fills(), "#000002 #000001 #000003 ");
    sheet.AddText(".b { fill: #000005 } .d { fill: #000006 }", 0);
    EXPECT_EQ(fills(), "#000002 #000001 #000003 #000005 ");
}

TEST(CSSSimpleSelectorDesc, PartsAndLenientMatch) {
    const CSSSimpleSelectorDesc description("rect", ".a", "#x");
    EXPECT_EQ(Str(description.Text()), "rect#x.a");
    EXPECT_TRUE(description.HasName() && description.HasClass() && description.HasId());
    EXPECT_FALSE(description.HasPseudoClass() || description.HasIdOnly() || description.HasClassOnly());
    EXPECT_TRUE(CSSSimpleSelectorDesc("", ".a", "").HasClassOnly());
    EXPECT_TRUE(CSSSimpleSelectorDesc("", "", "#x").HasIdOnly());
    CSSToken upper(kCSSIdentifier, "RECT", 0), circle(kCSSIdentifier, "circle", 0), a(kCSSClass, ".A", 0),
        link(kCSSLinkAfterName, ":link", 0);
    EXPECT_TRUE(description.LenientMatch(CSSSimpleSelector(&upper, nullptr, nullptr, nullptr)));
    EXPECT_FALSE(description.LenientMatch(CSSSimpleSelector(&circle, nullptr, nullptr, nullptr)));
    // The description has no pseudo-class to differ.
    EXPECT_TRUE(description.LenientMatch(CSSSimpleSelector(nullptr, &a, nullptr, &link)));
}

}  // namespace
