// Elements and their attribute maps, attribute facades, normalize, and the
// document type's entity map.
#include "markup/parser/dom/dom_element.h"

#include <gtest/gtest.h>

#include <string>

#include "dom_fixtures.h"
#include "markup/parser/dom/dom_node_kinds.h"

namespace markup {
namespace {

using markup_test::A;
using markup_test::Children;
using markup_test::DomTest;
using markup_test::E;
using markup_test::N;
using markup_test::S;
using markup_test::Str;
using markup_test::T;
using markup_test::kFill;
using markup_test::kRect;
using markup_test::kX;
using markup_test::kY;

// "name=value" of every item of the map, space-separated.
std::string Items(const WDOMNamedNodeMapHandle& map) {
    std::string out;
    for (std::uint32_t i = 0; i < map.GetLength(); ++i) {
        WDOMHandle item = map.Item(i);
        if (!out.empty()) out += ' ';
        out += S(item.GetNodeName()) + "=" + S(item.GetNodeValue());
    }
    return out;
}

class ElementTest : public DomTest {
  protected:
    WDOMElement* Element(const WDOMHandle& handle) { return dynamic_cast<WDOMElement*>(handle.Get()); }
};

TEST_F(ElementTest, TheMapHoldsTheTreesAttributesInOrder) {
    AttrElement* rect = A(kRect, {{kX, "1"}, {kY, "2"}});
    WDOMHandle document = Adopt(E(kKindDocument, {rect}));
    WDOMNamedNodeMapHandle map = document.GetFirstChild().GetAttributes();
    EXPECT_EQ(map.GetLength(), 2u);
    EXPECT_EQ(Items(map), "x=1 y=2");
    EXPECT_TRUE(map.Item(2).IsNull());
    WDOMHandle x = map.Item(0);
    EXPECT_EQ(x.GetNodeType(), kDOMAttributeNode);
    EXPECT_FALSE(dynamic_cast<WDOMAttr*>(x.Get())->specified());
    EXPECT_EQ(x->GetNode(), rect);  // attributes wrap their owner

    WDOMHandle removed(map->removeNamedItem("x"));
    EXPECT_EQ(removed.Get(), x.Get());
    EXPECT_EQ(S(removed.GetNodeValue()), "1");
    EXPECT_EQ(Items(map), "y=2");  // y moved up
    EXPECT_EQ(map->getNamedItem("x"), nullptr);
    EXPECT_EQ(map->removeNamedItem("x"), nullptr);

    WDOMHandle none(map->setNamedItem(x.Get()));
    EXPECT_TRUE(none.IsNull());
    EXPECT_EQ(Items(map), "y=2 x=1");
    WDOMHandle before(map->setNamedItem(x.Get()));  // the same name again
    EXPECT_EQ(before.Get(), x.Get());
    EXPECT_EQ(Items(map), "y=2 x=1");
}

TEST_F(ElementTest, ARepeatedNameKeepsItsFirstValue) {
    AttrElement* rect = A(kRect, {{kX, "1"}, {kFill, "red"}, {kX, "9"}});
    markup_test::WithAttribute(rect, 0, "n")->AttributeAt(3)->name = "written";
    WDOMHandle document = Adopt(E(kKindDocument, {rect}));
    WDOMHandle element = document.GetFirstChild();
    EXPECT_EQ(Items(element.GetAttributes()), "x=1 fill=red written=n");
    EXPECT_EQ(S(Element(element)->getAttribute("x")), "1");
}

TEST_F(ElementTest, ChangesStayInTheFacade) {
    AttrElement* rect = A(kRect, {{kX, "1"}});
    WDOMHandle document = Adopt(E(kKindDocument, {rect}));
    WDOMHandle element = document.GetFirstChild();
    WDOMElement* e = Element(element);
    EXPECT_EQ(S(e->tagName()), "rect");
    EXPECT_EQ(S(e->getAttribute("missing")), "");

    e->setAttribute("x", "5");
    e->setAttribute("fill", "red");
    EXPECT_EQ(S(e->getAttribute("x")), "5");
    EXPECT_FALSE(e->getAttributeNode("x")->specified());  // a new value clears the flag
    EXPECT_TRUE(e->getAttributeNode("fill")->specified());
    // Another facade, a fresh map and the tree still have the parsed value.
    WDOMHandle again = document.GetFirstChild();
    EXPECT_EQ(S(Element(again)->getAttribute("x")), "1");
    EXPECT_EQ(Items(element.GetAttributes()), "x=1");
    EXPECT_EQ(Str(rect->AttributeAt(0)->value), "1");

    WDOMHandle gone(e->removeAttribute("fill"));
    EXPECT_EQ(S(gone.GetNodeValue()), "red");
    EXPECT_EQ(S(e->getAttribute("fill")), "");

    WDOMHandle made(Document(document)->createAttribute("y"));
    auto* y = dynamic_cast<WDOMAttr*>(made.Get());
    y->setValue("7");
    WDOMHandle replaced(e->setAttributeNode(y));
    EXPECT_TRUE(replaced.IsNull());
    EXPECT_EQ(S(e->getAttribute("y")), "7");
    EXPECT_NE(e->getAttributeNode("y"), y);  // entered as a new facade
    WDOMHandle out(e->removeAttributeNode(y));
    EXPECT_EQ(S(out.GetNodeValue()), "7");
    EXPECT_EQ(e->getAttributeNode("y"), nullptr);
}

TEST_F(ElementTest, AnAttributeOfItsOwnHoldsItsValueAsText) {
    WDOMHandle document = Adopt(E(kKindDocument));
    WDOMHandle made(Document(document)->createAttribute("a"));
    auto* attribute = dynamic_cast<WDOMAttr*>(made.Get());
    EXPECT_TRUE(attribute->specified());
    EXPECT_EQ(S(attribute->value()), "");
    attribute->setValue("one");
    WDOMHandle firstText = made.GetFirstChild();
    attribute->setNodeValue("two");
    EXPECT_EQ(S(attribute->value()), "two");
    EXPECT_FALSE(attribute->specified());
    EXPECT_EQ(Children(made->GetNode()), "two");
    EXPECT_EQ(S(firstText.GetData()), "one");  // the old text node lives on

    WDOMHandle copy(made->cloneNode(false));
    EXPECT_EQ(copy.GetNodeType(), kDOMAttributeNode);
    EXPECT_EQ(S(copy.GetNodeValue()), "two");
    EXPECT_NE(copy->GetNode(), made->GetNode());
}

TEST_F(ElementTest, NormalizeJoinsRunsOfTextOnly) {
    AttrElement* p = N("p", {T(kKindText, "a"), T(kKindText, "b"), T(kKindText, "c"), N("x"), T(kKindText, "d"),
                             T(kKindEntityReference, "&"), T(kKindText, "e")});
    WDOMHandle document = Adopt(E(kKindDocument, {p}));
    WDOMHandle element = document.GetFirstChild();
    WDOMNodeListHandle before(element->childNodes());
    WDOMHandle c = before.Item(2);
    WDOMHandle b = before.Item(1);
    EXPECT_EQ(S(c.GetData()), "c");
    Element(element)->normalize();
    EXPECT_EQ(Children(p), "abc x d & e");
    EXPECT_TRUE(b->GetNode()->IsFree());
    // A facade keeps the copy it read; one that had read nothing reads its
    // node, which now stands alone.
    EXPECT_EQ(S(c.GetData()), "c");
    EXPECT_EQ(S(b.GetData()), "b");
}

TEST_F(ElementTest, TheDocumentTypeListsTheDictionarysEntities) {
    WDOMHandle document = Adopt(E(kKindDocument));
    WDOMHandle type(Document(document)->doctype());
    auto* doctype = dynamic_cast<WDOMDocumentType*>(type.Get());
    ASSERT_NE(doctype, nullptr);
    WDOMNamedNodeMapHandle entities(doctype->entities());
    ASSERT_EQ(entities.GetLength(), 2u);
    auto* amp = dynamic_cast<WDOMEntity*>(entities.Item(0).Get());
    ASSERT_NE(amp, nullptr);
    EXPECT_EQ(S(amp->nodeName()), "&amp;");
    EXPECT_EQ(S(amp->publicId()), "&");
    EXPECT_EQ(S(amp->systemId()), "");
    EXPECT_EQ(amp->nodeType(), kDOMEntityNode);
    EXPECT_TRUE(amp->GetNode()->IsFree());
    EXPECT_EQ(WDOMNamedNodeMapHandle(doctype->notations()).GetLength(), 0u);
}

}  // namespace
}  // namespace markup
