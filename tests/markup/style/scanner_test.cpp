// The CSS scanner against the cases of scanner.txt, and what the tokenizer
// keeps from one text to the next.
#include <gtest/gtest.h>

#include "markup/style/css_tokenizer.h"
#include "style_fixtures.h"

namespace {

using markup::Vector;
using markup::style::CSSToken;
using markup::style::CSSTokenizer;
using namespace style_test;

TEST(CSSScanner, TokensOfEachCase) {
    testsupport::RunSections("markup/style/scanner.txt", [](const std::string& data) {
        CSSTokenizer tokenizer;
        Vector<CSSToken> tokens;
        EXPECT_TRUE(tokenizer.Tokenize(Text(data), 7, tokens));
        std::string out;
        const std::uint32_t count = tokens.Count();
        EXPECT_GT(count, 0u);
        for (std::uint32_t i = 0; i + 1 < count; ++i) out += TokenLine(*tokens.At(i)) + "\n";
        const CSSToken* last = tokens.At(count - 1);
        EXPECT_EQ(last->Type(), markup::style::kCSSEnd) << data;
        EXPECT_EQ(Str(last->Text()), "\x04");
        for (std::uint32_t i = 0; i < count; ++i) {
            EXPECT_EQ(tokens.At(i)->Origin(), 7);
            EXPECT_FALSE(tokens.At(i)->Consumed());
        }
        return out;
    });
}

// A text that stops inside a comment, a skipped at-rule or after a name
// leaves the next text of the same tokenizer unaffected.
TEST(CSSScanner, EveryTextStartsInTheInitialState) {
    CSSTokenizer tokenizer;
    for (const char* first : {"/* open", "@media { a {", "<!-- x", "a"}) {
        Vector<CSSToken> tokens;
        tokenizer.Tokenize(first, 0, tokens);
        Vector<CSSToken> next;
        tokenizer.Tokenize(".b{}", 0, next);
        ASSERT_EQ(next.Count(), 4u) << first;
        EXPECT_EQ(next.At(0)->Type(), markup::style::kCSSClass) << first;
        EXPECT_EQ(next.At(3)->Type(), markup::style::kCSSEnd) << first;
    }
}

// NUL bytes scan as any other byte outside the scanner's sets does (here
// the 1 byte), inside and outside long tokens, and each token keeps them.
TEST(CSSScanner, NulBytesScanAsOtherControlBytesAndAreKept) {
    const std::string nuls(300, '\0');
    for (const std::string& text :
         {"/*" + nuls + "*/", "a{b:\"" + nuls + "\"}", "url(" + nuls + ")", "url(" + nuls, "@x " + nuls + ";a",
          "<!--" + nuls + "-->", "a" + nuls + "b", "@media " + nuls + "{a{}}", std::string("\\\0x", 4)}) {
        std::string ones = text;
        for (char& c : ones) c = c == '\0' ? '\1' : c;
        CSSTokenizer tokenizer;
        Vector<CSSToken> withNuls;
        Vector<CSSToken> withOnes;
        tokenizer.Tokenize(Text(text), 0, withNuls);
        tokenizer.Tokenize(Text(ones), 0, withOnes);
        ASSERT_EQ(withNuls.Count(), withOnes.Count()) << ones;
        std::string joined;
        for (std::uint32_t i = 0; i < withNuls.Count(); ++i) {
            EXPECT_EQ(withNuls.At(i)->Type(), withOnes.At(i)->Type()) << ones;
            joined += Str(withNuls.At(i)->Text());
        }
        EXPECT_EQ(joined, text + "\x04");
    }
}

}  // namespace
