// The DTD compiler: entities, parameter-entity expansion and its bounds,
// content models, attribute definitions, element ids and the entry points.
#include <gtest/gtest.h>

#include "dtd_test_support.h"
#include "markup/parser/dictionary_dump.h"
#include "temp_dir.h"

namespace markup::dtd {
namespace {

using dtd_test::Attribute;
using dtd_test::Compile;
using dtd_test::Element;
using dtd_test::ListText;
using dtd_test::Model;
using dtd_test::ScanText;

std::string EntityText(const Dictionary& d, const char* name) {
    String found, text;
    if (!d.Entities().FindEntry(name, found, text)) return "(none)";
    return text.Text();
}

TEST(EntityPass, GeneralEntitiesGoToTheDictionaryUnderTheirReference) {
    const auto d = Compile(
        "<!ENTITY amp '&#38;#38;'><!ENTITY amp 'second'><!ENTITY logo SYSTEM 'l.gif' NDATA gif>"
        "<!ENTITY % amp 'parameter'><!ENTITY a-b 'dash'><!ENTITY a 'plain'><!ENTITY bad %nothing;>");
    ASSERT_NE(d, nullptr);
    // The first declaration of a name holds; a parameter entity of the same
    // name is another entity and stays out of the table.
    EXPECT_EQ(EntityText(*d, "&amp;"), "&#38;#38;");
    EXPECT_EQ(EntityText(*d, "&logo;"), "");
    EXPECT_EQ(EntityText(*d, "amp"), "(none)");
    EXPECT_EQ(EntityText(*d, "&bad;"), "(none)");
    ASSERT_EQ(d->Entities().Count(), 4u);
    // In byte order, numbered in that order, as a reread file numbers them.
    for (std::uint32_t i = 0; i < 4; ++i) EXPECT_EQ(d->Entities().EntryAt(i)->code, i);
    EXPECT_EQ(std::string(d->Entities().EntryAt(0)->name.Text()), "&a-b;");
}

TEST(EntityPass, AParameterEntityKeepsItsTextScannedWithABlankAtEitherEnd) {
    DtdCompiler compiler(Quiet());
    ScanText(compiler, "<!ENTITY % t 'CDATA'><!ENTITY % t 'ID'><!ENTITY % x SYSTEM 'x.ent'>");
    compiler.RunEntityPass();
    const EntityDeclaration* t = compiler.FindEntity("t", true);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->text, " CDATA ");
    ASSERT_NE(t->tokens, nullptr);
    EXPECT_EQ(ListText(t->tokens->List(kListOther)), "CDATA");
    EXPECT_EQ(compiler.FindEntity("t", false), nullptr);
    const EntityDeclaration* x = compiler.FindEntity("x", true);
    ASSERT_NE(x, nullptr);
    EXPECT_TRUE(x->external);
    EXPECT_EQ(x->systemId, "x.ent");
}

TEST(Expansion, ParameterEntitiesExpandWhereverTheyAreDeclared) {
    RecordingSink messages;
    const auto d = Compile(
        "<!ELEMENT a (%content;)*><!ATTLIST a %attrs; size %number; '1'>"
        "<!ELEMENT b EMPTY><!ELEMENT c EMPTY>"
        "<!ENTITY % content '#PCDATA | %items;'><!ENTITY % items 'b | c'>"
        "<!ENTITY % attrs 'id ID #IMPLIED'><!ENTITY % number 'NMTOKEN'><!ENTITY % ext SYSTEM 'x.ent'>"
        "<!ELEMENT d (b%ext;)>",
        messages);
    EXPECT_EQ(Model(*d, "a"), "(#PCDATA | (#2 | #3))*");
    // An outside entity is not read: it stands for nothing.
    EXPECT_EQ(Model(*d, "d"), "#2");
    ASSERT_NE(Attribute(*d, "size"), nullptr);
    EXPECT_EQ(Attribute(*d, "size")->DeclaredType(), 15u);
    EXPECT_EQ(Element(*d, "a")->Attributes().Count(), 2u);
    EXPECT_EQ(messages.Text().find("Ret was bad"), std::string::npos) << messages.Text();
}

TEST(Expansion, ASelfReferenceStopsAtTheDepthBound) {
    RecordingSink messages;
    const auto d = Compile("<!ENTITY % loop '%loop;'><!ELEMENT a (%loop;)><!ELEMENT b EMPTY>", messages);
    EXPECT_EQ(Element(*d, "a"), nullptr);
    EXPECT_NE(Element(*d, "b"), nullptr);
    EXPECT_NE(messages.Text().find("Parameter entity %loop; nested more than 32 deep\n"), std::string::npos);
}

TEST(Expansion, ExponentialGrowthStopsAtTheTokenBudget) {
    // Each level doubles: a choice of 2^30 b at the bottom.
    std::string text = "<!ENTITY % e0 'b'>";
    for (int i = 1; i <= 30; ++i) {
        text += "<!ENTITY % e" + std::to_string(i) + " '%e" + std::to_string(i - 1) + "; | %e" +
                std::to_string(i - 1) + ";'>";
    }
    RecordingSink messages;
    const auto d = Compile(text + "<!ELEMENT a (%e30;)><!ELEMENT b EMPTY>", messages);
    EXPECT_EQ(Element(*d, "a"), nullptr);
    EXPECT_NE(Element(*d, "b"), nullptr);
    const std::string budget = "Parameter entities expanded to more than 262144 tokens\n";
    const std::size_t at = messages.Text().find(budget);
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(messages.Text().find(budget, at + 1), std::string::npos) << "reported once";
}

struct ModelCase {
    const char* spec;
    const char* model;
};

class ContentModels : public testing::TestWithParam<ModelCase> {};

// b, c and d are elements 1, 2 and 3; the element under test is 4.
TEST_P(ContentModels, BuildTheSymbolTree) {
    RecordingSink messages;
    const auto d = Compile(std::string("<!ELEMENT b EMPTY><!ELEMENT c EMPTY><!ELEMENT d EMPTY><!ELEMENT a ") +
                               GetParam().spec + ">",
                           messages);
    EXPECT_EQ(Model(*d, "a"), GetParam().model) << GetParam().spec;
    EXPECT_EQ(messages.Text().find("Error"), std::string::npos) << messages.Text();
}

INSTANTIATE_TEST_SUITE_P(
    Declarations, ContentModels,
    testing::Values(ModelCase{"EMPTY", "BASE"}, ModelCase{"ANY", "BASE*"}, ModelCase{"(b)", "#1"},
                    ModelCase{"(#PCDATA)", "#PCDATA"}, ModelCase{"(b|c)*", "(#1 | #2)*"},
                    ModelCase{"(#PCDATA|b)*", "(#PCDATA | #1)*"},
                    // Chains nest to the right.
                    ModelCase{"(b,c,d)", "(#1, (#2, #3))"}, ModelCase{"(b, c | d)", "(#1, (#2 | #3))"},
                    ModelCase{"(b?, c+, d*)", "(#1?, (#2+, #3*))"},
                    // Inner groups keep their place and their indicators.
                    ModelCase{"(b, (c | d)*)", "(#1, (#2 | #3)*)"},
                    ModelCase{"((b|c), d)+", "((#1 | #2), #3)+"}, ModelCase{"(((b|c)))*", "(#1 | #2)*"},
                    ModelCase{"(((b, c)), d)*", "((#1, #2), #3)*"},
                    // Indicators on nested groups combine as the counts they allow.
                    ModelCase{"((b)?)?", "#1?"}, ModelCase{"((b)?)+", "#1*"}, ModelCase{"((b)+)+", "#1+"},
                    ModelCase{"((b|c)*)+", "(#1 | #2)*"},
                    // An element may hold itself.
                    ModelCase{"(a | b)", "(#4 | #1)"},
                    // A name no declaration gives leaves the element without a model.
                    ModelCase{"(b | x)", "none"}));

TEST(ContentModelDepth, AChainLongerThanAFileMayNestHasNoModel) {
    auto chain = [](int items) {
        std::string text = "<!ELEMENT b EMPTY><!ELEMENT a (b";
        for (int i = 1; i < items; ++i) text += "|b";
        return text + ")>";
    };
    RecordingSink messages;
    const auto deepest = Compile(chain(201), messages);
    EXPECT_NE(Model(*deepest, "a"), "none");
    EXPECT_EQ(messages.Text().find("nested"), std::string::npos);
    // The deepest model a file holds writes and reads back.
    markup_test::TempDir dir;
    const std::string file = dir.File("deep.dic");
    ASSERT_EQ(deepest->Save(file.c_str()), kErr_None);
    Dictionary reread;
    ASSERT_EQ(reread.Load(file.c_str(), true), kErr_None);
    EXPECT_EQ(Model(reread, "a"), Model(*deepest, "a"));

    const auto tooDeep = Compile(chain(202), messages);
    EXPECT_EQ(Model(*tooDeep, "a"), "none");
    EXPECT_NE(messages.Text().find("Content model nested more than 200 deep\n"), std::string::npos);
}

TEST(ContentModelDepth, ParenthesesDeeperThanTheStackLeaveNoCrash) {
    const std::string deep = std::string(12000, '(') + "b" + std::string(12000, ')');
    const auto d = Compile("<!ELEMENT b EMPTY><!ELEMENT a " + deep + ">");
    EXPECT_EQ(Model(*d, "a"), "#1");
}

struct AttributeCase {
    const char* name;
    std::uint32_t declaredType;
    std::uint32_t defaultKind;
    const char* type;
};

class Attributes : public testing::TestWithParam<AttributeCase> {};

TEST_P(Attributes, TakeTheirTypeAndDefault) {
    const auto d = Compile(
        "<!ATTLIST a s CDATA #IMPLIED i ID #REQUIRED r IDREF #IMPLIED rs IDREFS #IMPLIED en ENTITY #IMPLIED "
        "es ENTITIES #IMPLIED t NMTOKEN '7' ts NMTOKENS #FIXED '1 2' e (x|y|z) 'y' last (x|y|x) 'x' "
        "none (x|y) 'q' n NOTATION (gif|png) #IMPLIED digits (1|2) '2'>");
    const HTMLAttributeDef* a = Attribute(*d, GetParam().name);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->DeclaredType(), GetParam().declaredType);
    EXPECT_EQ(a->DefaultKind(), GetParam().defaultKind);
    ASSERT_NE(a->Type(), nullptr);
    EXPECT_EQ(std::to_string(a->Type()->Kind()) + " " + DumpAttributeType(*a->Type()), GetParam().type);
}

INSTANTIATE_TEST_SUITE_P(
    Declarations, Attributes,
    testing::Values(
        AttributeCase{"s", 9, 0, "2 formats [] \"\""}, AttributeCase{"i", 10, 3, "2 formats [] \"\""},
        AttributeCase{"r", 11, 0, "2 formats [] \"\""}, AttributeCase{"rs", 12, 0, "2 formats [] \"\""},
        AttributeCase{"en", 13, 0, "2 formats [] \"\""}, AttributeCase{"es", 14, 0, "2 formats [] \"\""},
        AttributeCase{"t", 15, 1, "2 formats [] \"7\""}, AttributeCase{"ts", 16, 2, "2 formats [] \"1 2\""},
        AttributeCase{"e", 17, 1, "1 group default 1 { 420 \"x\"=0; 420 \"y\"=1; 420 \"z\"=2 }"},
        // The default index is the last value equal to the literal, 0 when none is.
        AttributeCase{"last", 17, 1, "1 group default 2 { 420 \"x\"=0; 420 \"y\"=1; 420 \"x\"=2 }"},
        AttributeCase{"none", 17, 1, "1 group default 0 { 420 \"x\"=0; 420 \"y\"=1 }"},
        AttributeCase{"n", 18, 0, "1 group default 0 { 420 \"gif\"=0; 420 \"png\"=1 }"},
        AttributeCase{"digits", 17, 1, "1 group default 1 { 420 \"1\"=0; 420 \"2\"=1 }"}));

TEST(Ids, ElementsAndAttributesAreNumberedInDeclarationOrderPastTheNodeKinds) {
    std::string text;
    for (int i = 0; i < 160; ++i) {
        const std::string n = std::to_string(i);
        text += "<!ELEMENT e" + n + " EMPTY><!ATTLIST e" + n + " a" + n + " CDATA #IMPLIED>";
    }
    const auto d = Compile(text);
    EXPECT_EQ(Element(*d, "e0")->Id(), 1u);
    EXPECT_EQ(Element(*d, "e157")->Id(), 158u);
    EXPECT_EQ(Element(*d, "e158")->Id(), 186u);
    EXPECT_EQ(Element(*d, "e159")->Id(), 187u);
    EXPECT_EQ(Attribute(*d, "a158")->Id(), 186u);
    EXPECT_EQ(Element(*d, "e159")->Attributes()[0], 187u);
    // The header holds the highest ids.
    EXPECT_EQ(d->Header(1), 187u);
    EXPECT_EQ(d->Header(2), 187u);
}

TEST(Elements, TheFirstDeclarationHoldsAndAttributeListsJoinTheirElement) {
    RecordingSink messages;
    const auto d = Compile(
        "<!ATTLIST a x CDATA #IMPLIED><!ELEMENT a EMPTY><!ELEMENT a ANY><!ATTLIST a y CDATA #IMPLIED>"
        "<!ATTLIST ghost z CDATA #IMPLIED>",
        messages);
    ASSERT_NE(Element(*d, "a"), nullptr);
    EXPECT_EQ(d->Elements().EntryCount(), 1u);
    EXPECT_EQ(Model(*d, "a"), "BASE");
    EXPECT_EQ(Element(*d, "a")->Attributes().Count(), 2u);
    // An attribute list for an element never declared makes no element.
    EXPECT_NE(Attribute(*d, "z"), nullptr);
    EXPECT_EQ(Element(*d, "ghost"), nullptr);
    EXPECT_TRUE(d->CaseSensitive());
    EXPECT_NE(d->Editor(), nullptr);
    EXPECT_EQ(messages.Text(),
              "Ret was good\n"    // notations
              "Ret was good\n"    // attribute lists
              "Ret was good\n"    // elements
              "Ret was good\n");  // processing instructions
}

TEST(EntryPoints, AnswerNullForNoInput) {
    EXPECT_EQ(CompileDtd(nullptr, Quiet()), nullptr);
    EXPECT_EQ(CompileDtdFromString("", Quiet()), nullptr);
    EXPECT_EQ(CompileDtdFromFile("/nonexistent/page.dtd", Quiet()), nullptr);
    const auto empty = CompileDtdFromString(" ", Quiet());
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->Elements().EntryCount(), 0u);
}

TEST(EntryPoints, TextWithNulBytesIsReadWhole) {
    const auto d = CompileDtdFromString(String("x").Append("\0", 1) += "<!ELEMENT a EMPTY>", Quiet());
    ASSERT_NE(d, nullptr);
    EXPECT_NE(Element(*d, "a"), nullptr);
}

}  // namespace
}  // namespace markup::dtd
