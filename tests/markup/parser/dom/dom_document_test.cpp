// The document facade: its factories, the search by tag name, the document
// type and element, and the implementation object.
#include "markup/parser/dom/dom_document.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "dom_fixtures.h"
#include "markup/parser/dom/dom_element.h"

namespace markup {
namespace {

using markup_test::A;
using markup_test::Children;
using markup_test::DomTest;
using markup_test::E;
using markup_test::N;
using markup_test::Named;
using markup_test::S;
using markup_test::Str;
using markup_test::T;

struct FactoryCase {
    const char* name;
    std::function<WDOMNode*(WDOMDocument&)> make;
    std::uint16_t type;
    const char* nodeName;
    const char* nodeValue;
    std::uint32_t treeType;  // of the new tree node
    const char* treeText;
};

class FactoryTest : public DomTest, public testing::WithParamInterface<FactoryCase> {};

TEST_P(FactoryTest, MakesAFreeNodeAndItsFacade) {
    const FactoryCase& c = GetParam();
    WDOMHandle document = Adopt(E(kKindDocument));
    WDOMHandle made(c.make(*Document(document)));
    ASSERT_FALSE(made.IsNull());
    EXPECT_EQ(made.GetNodeType(), c.type);
    EXPECT_EQ(S(made.GetNodeName()), c.nodeName);
    EXPECT_EQ(S(made.GetNodeValue()), c.nodeValue);
    DocElement* node = made->GetNode();
    ASSERT_NE(node, nullptr);
    EXPECT_TRUE(node->IsFree());
    EXPECT_EQ(node->TypeId(), c.treeType);
    EXPECT_EQ(Str(node->Text()), c.treeText);
}

INSTANTIATE_TEST_SUITE_P(
    Factories, FactoryTest,
    testing::Values(
        FactoryCase{"Element", [](WDOMDocument& d) { return d.createElement("x"); }, 1, "x", "", 170, "x"},
        FactoryCase{"Fragment", [](WDOMDocument& d) { return d.createDocumentFragment(); }, 11,
                    "#document-fragment", "", 170, "#document-fragment"},
        FactoryCase{"Text", [](WDOMDocument& d) { return d.createTextNode("x"); }, 3, "#text", "x", 160, ""},
        FactoryCase{"Comment", [](WDOMDocument& d) { return d.createComment("c"); }, 8, "#comment", "c", 160, ""},
        FactoryCase{"CData", [](WDOMDocument& d) { return d.createCDATASection("d"); }, 4, "#cdata-section", "d",
                    166, ""},
        FactoryCase{"Instruction", [](WDOMDocument& d) { return d.createProcessingInstruction("t", "d"); }, 7, "t",
                    "d", 170, "d"},
        FactoryCase{"Attribute", [](WDOMDocument& d) { return d.createAttribute("n"); }, 2, "n", "", 170, "n"},
        FactoryCase{"EntityReference", [](WDOMDocument& d) { return d.createEntityReference("e"); }, 5, "e", "",
                    170, "e"}),
    [](const auto& info) { return std::string(info.param.name); });

using DocumentTest = DomTest;

TEST_F(DocumentTest, NewTextKeepsItsDataInTheFacade) {
    WDOMHandle document = Adopt(E(kKindDocument, {N("p")}));
    WDOMHandle text(Document(document)->createTextNode("x"));
    WDOMHandle p = document.GetFirstChild();
    ASSERT_EQ(p->appendChild(text.Get()), text.Get());
    EXPECT_EQ(S(text.GetData()), "x");
    EXPECT_EQ(Str(static_cast<DocElement*>(p->GetNode()->FirstChild())->Text()), "");
}

TEST_F(DocumentTest, ElementsByTagNameAreCopiesInDocumentOrder) {
    WDOMHandle document = Adopt(E(kKindDocument, {A(markup_test::kSvg, {},
                                                   {A(markup_test::kGroup, {{markup_test::kId, "1"}},
                                                      {A(markup_test::kGroup, {{markup_test::kId, "2"}})}),
                                                    E(kKindWhitespace),
                                                    A(markup_test::kGroup, {{markup_test::kId, "3"}})})}));
    WDOMNodeListHandle groups(Document(document)->getElementsByTagName("g"));
    ASSERT_EQ(groups.GetLength(), 3u);
    std::string ids;
    for (std::uint32_t i = 0; i < 3; ++i) {
        ids += S(dynamic_cast<WDOMElement*>(groups.Item(i).Get())->getAttribute("id"));
    }
    EXPECT_EQ(ids, "123");
    EXPECT_TRUE(groups.Item(3).IsNull());

    // A copy changed leaves the document as it was.
    WDOMHandle svg = document.GetFirstChild();
    WDOMHandle added(Document(document)->createElement("x"));
    ASSERT_NE(groups.Item(1)->appendChild(added.Get()), nullptr);
    EXPECT_FALSE(WDOMHandle(svg->lastChild())->hasChildNodes());

    EXPECT_EQ(WDOMNodeListHandle(Document(document)->getElementsByTagName("G")).GetLength(), 0u);
    // The element's own search lists the element itself.
    WDOMHandle first = svg.GetFirstChild();
    EXPECT_EQ(WDOMNodeListHandle(dynamic_cast<WDOMElement*>(first.Get())->getElementsByTagName("g")).GetLength(),
              2u);
}

TEST_F(DocumentTest, EachDoctypeIsANewNodeNamedAfterTheDictionary) {
    WDOMHandle document = Adopt(E(kKindDocument));
    WDOMHandle one(Document(document)->doctype());
    WDOMHandle two(Document(document)->doctype());
    EXPECT_NE(one.Get(), two.Get());
    EXPECT_NE(one->GetNode(), two->GetNode());
    EXPECT_EQ(S(one.GetNodeName()), "svg");
    EXPECT_EQ(S(two.GetNodeName()), "svg");
    EXPECT_EQ(one.GetNodeType(), kDOMDocumentTypeNode);

    markup_test::FakeDictionary notParsers;
    WDOMHandle bare = Adopt(E(kKindDocument), &notParsers);
    EXPECT_EQ(S(WDOMHandle(Document(bare)->doctype()).GetNodeName()), "");
}

TEST_F(DocumentTest, DocumentElementIsTheFirstElementChild) {
    WDOMHandle document = Adopt(E(kKindDocument, {Named(kKindMarkupDeclaration, "--"), A(markup_test::kSvg, {})}));
    EXPECT_EQ(document.GetNodeType(), kDOMDocumentNode);
    EXPECT_EQ(S(document.GetNodeName()), "#document");
    WDOMHandle root(Document(document)->documentElement());
    EXPECT_EQ(S(root.GetNodeName()), "svg");

    WDOMHandle empty = Adopt(E(kKindDocument, {Named(kKindMarkupDeclaration, "--")}));
    EXPECT_EQ(Document(empty)->documentElement(), nullptr);
    WDOMHandle nothing = Adopt(nullptr);
    EXPECT_EQ(Document(nothing)->documentElement(), nullptr);
    EXPECT_TRUE(nothing.GetFirstChild().IsNull());
}

TEST_F(DocumentTest, ImplementationKnowsXmlOneOnly) {
    WDOMHandle document = Adopt(E(kKindDocument));
    const auto implementation = Document(document)->implementation();
    EXPECT_TRUE(implementation->hasFeature("XML", "1.0"));
    EXPECT_FALSE(implementation->hasFeature("XML", "2.0"));
    EXPECT_FALSE(implementation->hasFeature("xml", "1.0"));
    EXPECT_FALSE(implementation->hasFeature("", ""));
}

}  // namespace
}  // namespace markup
