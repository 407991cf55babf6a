// Long style texts read a piece at a time: the cuts never change a token,
// and a sheet read in pieces has the rules of the sheet read whole.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "markup/style/css_style_sheet.h"
#include "markup/style/css_text_cuts.h"
#include "markup/style/css_tokenizer.h"
#include "style_fixtures.h"

namespace {

using namespace markup::style;
using namespace style_test;

// Every token of the text, one a line, without the end token.
std::string Tokens(const std::string& text) {
    markup::Vector<CSSToken> tokens;
    CSSTokenizer().Tokenize(Text(text), 0, tokens);
    std::string out;
    for (std::uint32_t i = 0; i + 1 < tokens.Count(); ++i) out += TokenLine(*tokens.At(i)) + "\n";
    return out;
}

struct CutCase {
    const char* text;
    const char* cuts;  // the offsets with pieces of at least one byte (none at the end)
    const char* scanned;  // the same, by the scanner's cuts
};

// The cuts are the ones expected, and the pieces scan to the text's tokens.
void ExpectCuts(const std::string& text, const std::vector<std::uint32_t>& cuts,
                const std::string& expected) {
    std::string offsets, pieces;
    std::uint32_t start = 0;
    for (const std::uint32_t cut : cuts) {
        offsets += std::to_string(cut) + " ";
        pieces += Tokens(text.substr(start, cut - start));
        start = cut;
    }
    pieces += Tokens(text.substr(start));
    EXPECT_EQ(offsets, expected) << text;
    EXPECT_EQ(pieces, Tokens(text)) << text;
}

class Cuts : public ::testing::TestWithParam<CutCase> {};

TEST_P(Cuts, PiecesScanAsTheWholeText) {
    ExpectCuts(GetParam().text, CSSTextCuts(GetParam().text, 1), GetParam().cuts);
    CSSTokenizer scanner;
    ExpectCuts(GetParam().text, CSSScannedCuts(Text(GetParam().text), 1, scanner), GetParam().scanned);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Cuts,
    ::testing::Values(
        CutCase{"a{fill:red}b{fill:blue}\nc{}", "11 23 ", "11 23 "}, CutCase{"a{fill:red}", "", ""},
        // Braces in strings, comments and url() forms close nothing.
        CutCase{"a{font-family:'x}y'}b{}", "20 ", "20 "}, CutCase{"a{content:\"}\n}\"}b{}", "16 ", "16 "},
        CutCase{"/* } */a{}/* a{ */b{}", "10 ", "10 "}, CutCase{"<!-- a{} -->b{}", "", ""},
        CutCase{"a{fill:url(#g)}b{fill:url( \"#}\" )}c{}", "15 30 ", "15 30 "},
        CutCase{"a{fill:url(#g}b{}", "14 ", "14 "}, CutCase{"a{x:curl('}')}b{}", "", "14 "},
        CutCase{"a{x:'}b{}", "6 ", "6 "},
        // A comment that never ends, nested and stray braces.
        CutCase{"a{}/* b{}", "3 ", "3 "}, CutCase{"a{b{}c}d{}", "7 ", "7 "}, CutCase{"}a{}b{}", "4 ", "4 "},
        // At-rules, escapes and end characters leave the text whole to the
        // quick reading. To the scanner a skipped at-rule's braces close
        // nothing and an applying media block is one block; no piece starts
        // with "@import", and nothing is cut after an end character.
        CutCase{"a{}@media print{b{}}c{}", "", "3 "}, CutCase{"a{}.\\}b{}c{}", "", "3 9 "},
        CutCase{"a{}\x04 b{}", "", "3 "}, CutCase{"a{}@media screen{b{}}c{}", "", "3 21 "},
        CutCase{"@font-face{src:url(x.woff)}a{}b{}", "", "30 "}, CutCase{"@page{x:'}'}a{}b{}", "", "15 "},
        CutCase{"<!-- a{} -->b{}c{}", "", "15 "}, CutCase{"a{}@import 'x';b{}c{}", "", "18 "},
        CutCase{"a{}\004b{}c{}", "", "3 "}));

TEST(Cuts, PiecesAreAtLeastTheLengthAsked) {
    std::string text;
    for (int i = 0; i < 100; ++i) text += ".c" + std::to_string(i) + "{fill:red}";
    const std::vector<std::uint32_t> cuts = CSSTextCuts(text, 100);
    ASSERT_FALSE(cuts.empty());
    std::uint32_t last = 0;
    for (const std::uint32_t cut : cuts) {
        EXPECT_GE(cut - last, 100u);
        EXPECT_EQ(text[cut - 1], '}');
        last = cut;
    }
}

// A sheet long enough to be read in pieces has the rules and declarations
// of the same text read whole (a text at a position is never cut).
void ExpectPiecesAsWhole(const std::string& css) {
    CSSTokenizer scanner;
    ASSERT_FALSE(CSSPieceCuts(Text(css), 1024, scanner).empty());
    CSSStyleSheet pieces(Css()), whole(Css());
    pieces.AddText(Text(css), 0);
    whole.AddText(Text(css), 0, 0);
    ASSERT_EQ(pieces.Rules().Count(), whole.Rules().Count());
    ASSERT_EQ(pieces.Declarations().Count(), whole.Declarations().Count());
    for (std::uint32_t r = 0; r < whole.Rules().Count(); ++r) {
        ASSERT_EQ(Str(pieces.Rules().At(r)->RuleText()), Str(whole.Rules().At(r)->RuleText())) << r;
    }
    const auto& tokens = pieces.Tokens();
    for (std::uint32_t i = 0; i + 1 < tokens.Count(); ++i) ASSERT_TRUE(tokens.At(i)->Consumed()) << i;
    EXPECT_EQ(tokens.At(tokens.Count() - 1)->Type(), kCSSEnd);
}

TEST(Cuts, ASheetReadInPiecesHasTheWholeTextsRules) {
    std::string css;
    for (int i = 0; css.size() < 300000; ++i) {
        css += ".c" + std::to_string(i) + ", g > #r" + std::to_string(i) + " { fill: #" +
               std::to_string(100000 + i) + "; stroke-dasharray: 1 2; font-family: 'A}', serif } /* } */\n";
    }
    ExpectPiecesAsWhole(css);
}

// At-rules, escapes and comment markers: the scanner's cuts.
TEST(Cuts, ASheetWithAtRulesReadInPiecesHasTheWholeTextsRules) {
    std::string css = "@import 'a.css';\n@font-face { font-family: x; src: url(x.woff) }\n";
    for (int i = 0; css.size() < 100000; ++i) {
        const std::string n = std::to_string(i);
        css += ".c" + n + ", .\\31 x" + n + " { fill: #" + std::to_string(100000 + i) + " } <!-- } -->\n";
        if (i % 50 == 0)
            css += "@media screen { .m" + n + " { stroke: red } } @media print { .p { fill: red } }\n";
        if (i % 70 == 0)
            css += "@import 'b.css';\n@keyframes k" + n + " { from { opacity: 0 } to { opacity: 1 } }\n";
    }
    ExpectPiecesAsWhole(css);
}

}  // namespace
