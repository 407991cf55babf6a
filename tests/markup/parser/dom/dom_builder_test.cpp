// WDOMBuilder: the facade kind for each tree node, the run of text a text
// facade stands for, and the answers for null nodes, unnamed ids and
// exhausted memory.
#include "markup/parser/dom/dom_builder.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <string>

#include "dom_fixtures.h"
#include "markup/faults.h"
#include "markup/text_elements.h"

namespace markup {
namespace {

using markup_test::A;
using markup_test::DomTest;
using markup_test::E;
using markup_test::N;
using markup_test::Named;
using markup_test::S;
using markup_test::T;
using markup_test::WithAttribute;

// An attribute with a written name.
AttrElement* WithNamed(AttrElement* node, const char* name, const char* value) {
    WithAttribute(node, 0, value);
    node->AttributeAt(node->AttributeCount() - 1)->name = name;
    return node;
}

struct KindCase {
    const char* name;
    std::function<DocElement*()> node;
    std::uint16_t type;
    const char* nodeName;
    const char* value;  // nodeValue
};

class KindTest : public DomTest, public testing::WithParamInterface<KindCase> {};

TEST_P(KindTest, TheTypeIdChoosesTheFacade) {
    const KindCase& c = GetParam();
    DocElement* node = c.node();
    WDOMHandle document = Adopt(E(kKindDocument, {node}));
    WDOMHandle facade(WDOMBuilder::CreateNode(tree_, node));
    ASSERT_FALSE(facade.IsNull());
    EXPECT_EQ(facade.GetNodeType(), c.type);
    EXPECT_EQ(S(facade.GetNodeName()), c.nodeName);
    EXPECT_EQ(S(facade.GetNodeValue()), c.value);
    EXPECT_EQ(facade->GetNode(), node);
    EXPECT_EQ(facade->GetTree(), tree_);
    EXPECT_EQ(facade->GetRefCount(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, KindTest,
    testing::Values(
        KindCase{"Doctype", [] { return Named(kKindDeclaration, "<!DOCTYPE svg PUBLIC \"-//W3C\">"); }, 10, "svg", ""},
        KindCase{"MarkupDoctype", [] { return Named(kKindMarkupDeclaration, "<!DOCTYPE svg"); }, 10, "svg", ""},
        KindCase{"Comment", [] { return Named(kKindDeclaration, "<!-- a note -->"); }, 8, "#comment",
                 "<!-- a note -->"},
        KindCase{"LowerCaseDoctypeIsAComment", [] { return Named(kKindMarkupDeclaration, "<!doctype svg"); }, 8,
                 "#comment", "<!doctype svg"},
        KindCase{"ShortComment", [] { return Named(kKindMarkupDeclaration, "abc"); }, 8, "#comment", "abc"},
        KindCase{"TextRun", [] { return T(kKindText, "a"); }, 3, "#text", "a"},
        KindCase{"Entity",
                 [] {
                     auto* entity = new EntityElement;
                     entity->SetTypeId(kKindEntityReference);
                     entity->SetText(markup_test::BuildSvgDictionary().get(), "&amp;");
                     return entity;
                 },
                 3, "#text", "&"},
        KindCase{"CDataIsAnElement", [] { return E(kKindCData); }, 1, "[CData[", ""},
        KindCase{"Stylesheet",
                 [] {
                     return WithNamed(WithNamed(Named(170, "?xml-stylesheet"), "href", "a.css"), "type",
                                      "text/css");
                 },
                 7, "?xml-stylesheet", "href=a.css"},
        KindCase{"Element", [] { return A(markup_test::kSvg, {}); }, 1, "svg", ""}),
    [](const auto& info) { return std::string(info.param.name); });

using BuilderTest = DomTest;

// A text facade stands for its node and the text and entity nodes after it;
// the first node of a run gives the whole run, each later node the rest.
TEST_F(BuilderTest, ATextFacadeReadsTheRunFromItsNode) {
    WDOMHandle document = Adopt(E(kKindDocument, {N("p", {T(kKindText, "a"), T(kKindEntityReference, "b"),
                                                          T(kKindText, "c"), N("x"), T(kKindText, "d")})}));
    std::string seen;
    for (WDOMHandle c = document.GetFirstChild().GetFirstChild(); !c.IsNull(); c = c.GetNextSibling()) {
        seen += "[" + (c.GetNodeType() == kDOMTextNode ? S(c.GetData()) : S(c.GetNodeName())) + "]";
    }
    EXPECT_EQ(seen, "[abc][bc][c][x][d]");
}

TEST_F(BuilderTest, NullUnnamedAndNoMemory) {
    WDOMHandle document = Adopt(E(kKindDocument, {E(999)}));
    EXPECT_EQ(WDOMBuilder::CreateNode(tree_, nullptr), nullptr);
    EXPECT_EQ(WDOMBuilder::CreateNode(nullptr, static_cast<DocElement*>(tree_->Root())), nullptr);
    EXPECT_THROW((void)document.GetFirstChild(), InvalidArgumentFault);

    struct NoMemory : markup_test::FakeDictionary {
        bool ElementNameById(std::uint32_t, String&) const override { throw MemoryAllocationFault(); }
    } exhausted;
    struct NoHeap : markup_test::FakeDictionary {
        bool ElementNameById(std::uint32_t, String&) const override { throw std::bad_alloc(); }
    } heapless;
    for (DictionaryBase* dictionary : {static_cast<DictionaryBase*>(&exhausted), static_cast<DictionaryBase*>(&heapless)}) {
        WDOMHandle other = Adopt(E(kKindDocument, {A(markup_test::kSvg, {})}), dictionary);
        EXPECT_TRUE(other.GetFirstChild().IsNull());
    }
}

TEST(BuilderNames, NameOfADictionary) {
    EXPECT_EQ(markup_test::Str(WDOMBuilder::NameOf(nullptr)), "");
    EXPECT_EQ(markup_test::Str(WDOMBuilder::NameOf(markup_test::BuildSvgDictionary().get())), "svg");
}

}  // namespace
}  // namespace markup
