// The DTD scanner: which tokens a text gives, in which list, on which line.
#include <gtest/gtest.h>

#include <algorithm>

#include "dtd_test_support.h"

namespace markup::dtd {
namespace {

using dtd_test::ListsText;
using dtd_test::ScanText;

struct ScanCase {
    const char* text;
    const char* tokens;
};

class ScannerTest : public testing::TestWithParam<ScanCase> {};

TEST_P(ScannerTest, GivesTheTokens) {
    DtdCompiler compiler(Quiet());
    ScanText(compiler, GetParam().text);
    EXPECT_EQ(ListsText(compiler), GetParam().tokens) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ScannerTest,
    testing::Values(
        ScanCase{"<!ELEMENT a EMPTY>", "elements: ELEMENT_DECL NAME(a) EMPTY GT"},
        ScanCase{"<!ATTLIST a b CDATA #IMPLIED>", "attlists: ATTLIST_DECL NAME(a) NAME(b) CDATA IMPLIED GT"},
        ScanCase{"<!ENTITY % e 'v'>", "entities: ENTITY_DECL PERCENT NAME(e) LITERAL(v) GT"},
        ScanCase{"<!NOTATION n PUBLIC \"p\">", "notations: NOTATION_DECL NAME(n) PUBLIC LITERAL(p) GT"},
        ScanCase{"<?tool a 1?>", "instructions: PI_START NAME(tool) NAME(a) NUMBER(1) PI_END"},
        // Tokens before the first declaration go to the list of everything else;
        // after a declaration they stay in its list until the next keyword.
        ScanCase{"x <!ELEMENT a ANY> y", "other: NAME(x); elements: ELEMENT_DECL NAME(a) ANY GT NAME(y)"},
        // A keyword needs white space in front of it in the same match.
        ScanCase{"<!ELEMENT a (EMPTY)>", "elements: ELEMENT_DECL NAME(a) LPAREN NAME(EMPTY) RPAREN GT"},
        ScanCase{"<!ATTLIST a b CDATA>", "attlists: ATTLIST_DECL NAME(a) NAME(b) NAME(CDATA) GT"},
        ScanCase{" EMPTYX  empty  ID  IDREF  IDREFS ", "other: NAME(EMPTYX) NAME(empty) ID IDREF IDREFS"},
        ScanCase{" #REQUIRED> #IMPLIED\n#FIXED 'v'", "other: REQUIRED GT IMPLIED FIXED LITERAL(v)"},
        ScanCase{" ENTITY ENTITIES NMTOKEN NMTOKENS NOTATION SYSTEM NDATA PUBLIC CDATA ",
                 "other: ENTITY ENTITIES NMTOKEN NMTOKENS NOTATION SYSTEM NDATA PUBLIC CDATA"},
        // The declaration keywords want white space after them.
        ScanCase{"<!ELEMENTa>", "other: NAME(ELEMENTa) GT"},
        ScanCase{"(#PCDATA|a) (#PCDATA) #PCDATA\" #PCDATAx",
                 "other: LPAREN PCDATA BAR NAME(a) RPAREN LPAREN PCDATA RPAREN PCDATA NAME(PCDATAx)"},
        // Digits are tokens of their own: "10" is two, "1.5" two with the
        // full stop skipped.
        ScanCase{"10 1.5", "other: NUMBER(1) NUMBER(0) NUMBER(1) NUMBER(5)"},
        ScanCase{"&#32;", "other: NUMBER(3) NUMBER(2)"}, ScanCase{"&#x20;", ""},
        ScanCase{"&amp; %pe; &amp %pe", "other: ENTITY_REF(amp) PE_REF(pe) NAME(amp) NAME(pe)"},
        ScanCase{"a % b %c", "other: NAME(a) PERCENT NAME(b) NAME(c)"},
        ScanCase{"a?b* c+?", "other: NAME(a) QUESTION NAME(b) STAR NAME(c) PLUS QUESTION"},
        // "?>" ends a processing instruction; in a declaration it is "?" and ">".
        ScanCase{"<!ELEMENT a (b)?><?x?>",
                 "elements: ELEMENT_DECL NAME(a) LPAREN NAME(b) RPAREN QUESTION GT; instructions: PI_START "
                 "NAME(x) PI_END"},
        // Names start at "A" to "z" in code order, so "_" and "[" start one.
        ScanCase{"_x [y -z 9a", "other: NAME(_x) NAME([y) NAME(z) NUMBER(9) NAME(a)"},
        ScanCase{"'say \"hi\"' \"it's\" ''", "other: LITERAL(say \"hi\") LITERAL(it's) LITERAL()"},
        ScanCase{"\"unclosed", "other: NAME(unclosed)"},
        // Comments go whole, keywords and dashes inside them included.
        ScanCase{"a<!-- <!ELEMENT x ANY> - -- -x ---->b", "other: NAME(a) NAME(b)"},
        ScanCase{"<!-- never closed <!ATTLIST a>", ""}));

TEST(ScannerLines, CountEveryNewlineBeforeTheTokenItEnds) {
    DtdCompiler compiler(Quiet());
    // The newline in front of a keyword is part of its match; one inside a
    // literal counts for the literal; comments count too.
    ScanText(compiler, "<!ELEMENT a\n(b|c)>\n'x\ny' z\n<!--\n\n-->w\nEMPTY>");
    EXPECT_EQ(ListsText(compiler, true),
              "elements: ELEMENT_DECL@1 NAME(a)@1 LPAREN@2 NAME(b)@2 BAR@2 NAME(c)@2 RPAREN@2 GT@2 "
              "LITERAL(x\ny)@4 NAME(z)@4 NAME(w)@7 EMPTY@8 GT@8");
}

TEST(ScannerLines, LongRunsOfDashesInACommentAreReadOnce) {
    // Dashes without ">" used to be matched one at a time, each match
    // looking ahead through the whole run.
    DtdCompiler compiler(Quiet());
    ScanText(compiler, "<!--" + std::string(1 << 20, '-') + " -->a");
    EXPECT_EQ(ListsText(compiler), "other: NAME(a)");
}

// NUL bytes, which flex's buffer takes for its end, scan as a byte no rule
// names (a 1 byte) does, in long matches too, and a literal keeps them.
TEST(ScannerNul, BytesScanAsOtherControlBytesAndLiteralsKeepThem) {
    const std::string nuls(300, '\0');
    const std::string text = "<!--" + nuls + "-->a" + nuls + "'x" + nuls + "y' \"" + nuls + "\"b" + nuls;
    std::string ones = text;
    std::replace(ones.begin(), ones.end(), '\0', '\1');
    DtdCompiler withNuls(Quiet());
    DtdCompiler withOnes(Quiet());
    ScanText(withNuls, text);
    ScanText(withOnes, ones);
    std::string expected = ListsText(withOnes, true);
    ASSERT_NE(expected.find("NAME(b)"), std::string::npos);
    std::replace(expected.begin(), expected.end(), '\1', '\0');  // only literals keep them
    EXPECT_EQ(ListsText(withNuls, true), expected);
}

}  // namespace
}  // namespace markup::dtd
