// The DTD grammar over the token lists, and the passes that move refused
// declarations out of them.
#include <gtest/gtest.h>

#include "dtd_test_support.h"

namespace markup::dtd {
namespace {

using dtd_test::ListsText;
using dtd_test::ListText;
using dtd_test::ScanText;

struct GrammarCase {
    const char* text;
    bool accepted;
};

class GrammarTest : public testing::TestWithParam<GrammarCase> {};

// Each text holds declarations of one kind; the grammar runs once over the
// list they land in.
TEST_P(GrammarTest, AcceptsOrRefusesTheList) {
    RecordingSink messages;
    DtdCompiler compiler(messages);
    ScanText(compiler, GetParam().text);
    int result = 0;
    for (std::uint32_t kind = kListElements; kind <= kListInstructions; ++kind) {
        if (!compiler.List(kind).empty()) result |= compiler.Parse(kind);
    }
    EXPECT_EQ(result == 0, GetParam().accepted) << GetParam().text;
    EXPECT_EQ(messages.Text(), GetParam().accepted ? "" : "Error: parse error\n");
}

INSTANTIATE_TEST_SUITE_P(
    Declarations, GrammarTest,
    testing::Values(
        GrammarCase{"", true}, GrammarCase{"<!ELEMENT a EMPTY><!ELEMENT b ANY>", true},
        GrammarCase{"<!ELEMENT a (b|c)*>", true}, GrammarCase{"<!ELEMENT a (b, c)?>", true},
        // "|" and "," may be mixed in one group.
        GrammarCase{"<!ELEMENT a (b, c | d)>", true}, GrammarCase{"<!ELEMENT a ((b, c)+ | d?, (e))*>", true},
        GrammarCase{"<!ELEMENT a (#PCDATA)>", true}, GrammarCase{"<!ELEMENT a (#PCDATA | b | c)*>", true},
        GrammarCase{"<!ELEMENT a (EMPTY)>", true}, GrammarCase{"<!ELEMENT a>", false},
        GrammarCase{"<!ELEMENT a ()>", false}, GrammarCase{"<!ELEMENT a (b c)>", false},
        GrammarCase{"<!ELEMENT a (b | #PCDATA)>", false}, GrammarCase{"<!ELEMENT a (#PCDATA | (b))*>", false},
        GrammarCase{"<!ELEMENT a (b)**>", false}, GrammarCase{"<!ATTLIST a>", true},
        GrammarCase{"<!ATTLIST a b CDATA #IMPLIED c (x | y | 1) 'x' d NOTATION (n | m) #REQUIRED "
                    "e ID #FIXED 'v' f IDREFS #IMPLIED g NMTOKENS '1 2' h ENTITY #IMPLIED>",
                    true},
        // An enumerated value is one name or one digit: "10" is two tokens.
        GrammarCase{"<!ATTLIST a b (10) '10'>", false}, GrammarCase{"<!ATTLIST a b CDATA>", false},
        GrammarCase{"<!ATTLIST a b CDATA #FIXED>", false}, GrammarCase{"<!ATTLIST a b (x|y)>", false},
        GrammarCase{"<!ENTITY e 'v'><!ENTITY % p 'v'><!ENTITY % q SYSTEM 's'>", true},
        GrammarCase{"<!ENTITY e PUBLIC 'p' 's' NDATA n><!ENTITY f SYSTEM 's'>", true},
        GrammarCase{"<!ENTITY % p SYSTEM 's' NDATA n>", false}, GrammarCase{"<!ENTITY e SYSTEM>", false},
        GrammarCase{"<!ENTITY e &ref;>", false},
        GrammarCase{"<!NOTATION n PUBLIC 'p'><!NOTATION m PUBLIC 'p' 's'><!NOTATION o SYSTEM 's'>", true},
        GrammarCase{"<!NOTATION n 'x'>", false}, GrammarCase{"<?target a 1 b?>", true},
        // A processing instruction takes only names and digits.
        GrammarCase{"<?xml version='1.0'?>", false},
        // A parameter entity the compiler does not know stays a reference.
        GrammarCase{"<!ELEMENT a %unknown;>", false}));

struct PassCase {
    const char* text;
    const char* kept;
    const char* movedOut;
};

class PassTest : public testing::TestWithParam<PassCase> {};

TEST_P(PassTest, MovesTheRefusedDeclarationOut) {
    RecordingSink messages;
    DtdCompiler compiler(messages);
    ScanText(compiler, GetParam().text);
    compiler.RunPass(kListElements);
    EXPECT_EQ(ListText(compiler.List(kListElements)), GetParam().kept);
    EXPECT_EQ(ListText(compiler.List(kListOther)), GetParam().movedOut);
    EXPECT_EQ(messages.Text(), "Error: parse error\nRet was bad\nRet was good\n");
}

INSTANTIATE_TEST_SUITE_P(
    Removal, PassTest,
    testing::Values(PassCase{"<!ELEMENT a EMPTY><!ELEMENT b (x y)><!ELEMENT c ANY>",
                             "ELEMENT_DECL NAME(a) EMPTY GT ELEMENT_DECL NAME(c) ANY GT",
                             "ELEMENT_DECL NAME(b) LPAREN NAME(x) NAME(y) RPAREN GT"},
                    // Stray tokens between declarations go alone.
                    PassCase{"<!ELEMENT a EMPTY> x y <!ELEMENT c ANY>",
                             "ELEMENT_DECL NAME(a) EMPTY GT ELEMENT_DECL NAME(c) ANY GT", "NAME(x) NAME(y)"},
                    // A declaration without its ">" ends where the next one starts.
                    PassCase{"<!ELEMENT a (b <!ELEMENT c ANY>", "ELEMENT_DECL NAME(c) ANY GT",
                             "ELEMENT_DECL NAME(a) LPAREN NAME(b)"},
                    PassCase{"<!ELEMENT a EMPTY><!ELEMENT b (", "ELEMENT_DECL NAME(a) EMPTY GT",
                             "ELEMENT_DECL NAME(b) LPAREN"},
                    // The failing look-ahead is a GT: the declaration goes with it.
                    PassCase{"<!ELEMENT b><!ELEMENT c ANY>", "ELEMENT_DECL NAME(c) ANY GT",
                             "ELEMENT_DECL NAME(b) GT"}));

TEST(PassTest, EveryRefusedDeclarationGoesAndTheRestStays) {
    RecordingSink messages;
    DtdCompiler compiler(messages);
    ScanText(compiler, "<!ELEMENT a (>x<!ELEMENT b ANY><!ELEMENT c>");
    compiler.RunPass(kListElements);
    EXPECT_EQ(ListText(compiler.List(kListElements)), "ELEMENT_DECL NAME(b) ANY GT");
    EXPECT_EQ(ListText(compiler.List(kListOther)),
              "ELEMENT_DECL NAME(a) LPAREN GT NAME(x) ELEMENT_DECL NAME(c) GT");
    EXPECT_EQ(messages.Text(),
              "Error: parse error\nRet was bad\nError: parse error\nRet was bad\n"
              "Error: parse error\nRet was bad\nRet was good\n");
}

TEST(PassTest, AListThatStartsWithStrayTokensLosesOnlyThem) {
    RecordingSink messages;
    DtdCompiler compiler(messages);
    compiler.SwitchList(kListElements);
    compiler.AddToken(kTokGT, kFormRegular, {}, 1);
    compiler.AddToken(kTokName, kFormValued, "x", 1);
    ScanText(compiler, "<!ELEMENT a ANY>");
    compiler.RunPass(kListElements);
    EXPECT_EQ(ListText(compiler.List(kListElements)), "ELEMENT_DECL NAME(a) ANY GT");
    EXPECT_EQ(ListText(compiler.List(kListOther)), "GT NAME(x)");
    EXPECT_EQ(messages.Text(),
              "Error: parse error\nRet was bad\nError: parse error\nRet was bad\nRet was good\n");
}

TEST(PassTest, AnExhaustedStackEndsThePass) {
    RecordingSink messages;
    DtdCompiler compiler(messages);
    const std::string deep = std::string(12000, '(') + "b" + std::string(12000, ')');
    ScanText(compiler, "<!ELEMENT a " + deep + "><!ELEMENT c (x y)>");
    compiler.RunPass(kListElements);
    EXPECT_EQ(messages.Text(), "Error: parser stack overflow\nRet was good\n");
    EXPECT_TRUE(compiler.List(kListOther).empty());
}

}  // namespace
}  // namespace markup::dtd
