// The node interface: navigation past wrapper and whitespace nodes, the
// four changes, copies, and how long the tree lives under its facades.
#include "markup/parser/dom/dom_node_imp.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "dom_fixtures.h"
#include "markup/parser/dom/dom_builder.h"

namespace markup {
namespace {

using markup_test::Children;
using markup_test::DomTest;
using markup_test::E;
using markup_test::LinkFault;
using markup_test::N;
using markup_test::S;
using markup_test::T;

// Children written as letters: w a wrapper (159), s whitespace (163), any
// other letter an element of that name.
Node* Child(char c) {
    if (c == 'w') return E(kKindPlaceholder);
    if (c == 's') return T(kKindWhitespace, " ");
    const char name[2] = {c, 0};
    return N(name);
}

struct StepCase {
    const char* children;
    const char* step;  // first, last (from the parent), next, previous (from the child `from`)
    char from;
    const char* expected;  // a node name, or "null"
};

class NavigationTest : public DomTest, public testing::WithParamInterface<StepCase> {};

TEST_P(NavigationTest, StepsPassOneWrapperOrWhitespaceNode) {
    const StepCase& c = GetParam();
    AttrElement* parent = N("p");
    for (const char* p = c.children; *p; ++p) {
        if (*p != ' ') parent->AppendChild(Child(*p));
    }
    WDOMHandle document = Adopt(E(kKindDocument, {parent}));
    WDOMHandle p = document.GetFirstChild();
    ASSERT_EQ(S(p.GetNodeName()), "p");

    WDOMHandle result;
    const std::string step = c.step;
    if (step == "first") result = WDOMHandle(p->firstChild());
    if (step == "last") result = WDOMHandle(p->lastChild());
    if (step == "next" || step == "previous") {
        WDOMNodeListHandle all(p->childNodes());
        WDOMHandle from;
        for (std::uint32_t i = 0; i < all.GetLength(); ++i) {
            if (S(all.Item(i).GetNodeName()) == std::string(1, c.from)) from = all.Item(i);
        }
        ASSERT_FALSE(from.IsNull());
        result = WDOMHandle(step == "next" ? from->nextSibling() : from->previousSibling());
    }
    EXPECT_EQ(result.IsNull() ? "null" : S(result.GetNodeName()), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Steps, NavigationTest,
                         testing::Values(StepCase{"w a", "first", 0, "a"},  //
                                         StepCase{"s a", "first", 0, "a"},
                                         StepCase{"w w a", "first", 0, markup_test::kWrapperName},
                                         StepCase{"w", "first", 0, "null"},
                                         StepCase{"a s", "last", 0, "a"},  //
                                         StepCase{"a w", "last", 0, "a"},
                                         StepCase{"a w b", "next", 'a', "b"},
                                         StepCase{"a s b", "previous", 'b', "a"},
                                         StepCase{"a s", "next", 'a', "null"},
                                         StepCase{"w a", "previous", 'a', "null"},
                                         StepCase{"a b", "next", 'b', "null"}),
                         [](const auto& info) {
                             std::string name = std::string(info.param.step) + "_" + info.param.children;
                             for (char& ch : name) {
                                 if (ch == ' ') ch = '_';
                             }
                             return name;
                         });

using NodeTest = DomTest;

TEST_F(NodeTest, ParentsChildListsAndOwnerDocument) {
    AttrElement* a = N("a");
    WDOMHandle document = Adopt(E(kKindDocument, {N("p", {E(kKindPlaceholder), a, T(kKindWhitespace, " ")})}));
    WDOMHandle p = document.GetFirstChild();
    WDOMNodeListHandle children(p->childNodes());
    ASSERT_EQ(children.GetLength(), 3u);  // the wrapper and the whitespace are listed
    EXPECT_EQ(S(children.Item(0).GetNodeName()), markup_test::kWrapperName);
    EXPECT_EQ(S(children.Item(2).GetNodeName()), "#whitespace");
    EXPECT_TRUE(children.Item(3).IsNull());
    EXPECT_TRUE(p->hasChildNodes());

    WDOMHandle child = p.GetFirstChild();
    EXPECT_EQ(child->GetNode(), a);
    WDOMNodeListHandle none(child->childNodes());
    EXPECT_EQ(none.GetLength(), 0u);
    EXPECT_FALSE(child->hasChildNodes());
    EXPECT_EQ(WDOMHandle(child->parentNode())->GetNode(), p->GetNode());
    // The tree's document node comes back as an element facade, so no
    // ancestor is a document.
    EXPECT_EQ(WDOMHandle(p->parentNode()).GetNodeType(), kDOMElementNode);
    EXPECT_EQ(child->ownerDocument(), nullptr);
    EXPECT_EQ(S(child.GetNodeValue()), "");

    // Two navigations give two facades over one node.
    WDOMHandle again = p.GetFirstChild();
    EXPECT_NE(again.Get(), child.Get());
    EXPECT_EQ(again->GetNode(), child->GetNode());
}

TEST_F(NodeTest, CopiesAreFreeNodesWhateverTheDepthAsked) {
    WDOMHandle document = Adopt(E(kKindDocument, {N("p", {N("a", {N("x")})})}));
    WDOMHandle a = document.GetFirstChild().GetFirstChild();
    for (bool deep : {false, true}) {
        WDOMHandle copy(a->cloneNode(deep));
        ASSERT_FALSE(copy.IsNull());
        EXPECT_EQ(S(copy.GetNodeName()), "a");
        EXPECT_NE(copy->GetNode(), a->GetNode());
        EXPECT_TRUE(copy->GetNode()->IsFree());
        EXPECT_FALSE(copy->hasChildNodes());
    }
}

// p(a, b) and a free node n made by the document.
class ChangeTest : public DomTest {
  protected:
    void SetUp() override {
        a_ = N("a");
        b_ = N("b");
        p_ = N("p", {a_, b_});
        document_ = Adopt(E(kKindDocument, {p_}));
        p = document_.GetFirstChild();
        a = p.GetFirstChild();
        b = a.GetNextSibling();
        n = WDOMHandle(Document(document_)->createElement("n"));
    }
    std::string Tree() { return Children(p_) + (LinkFault(tree_->Root()).empty() ? "" : " BROKEN"); }

    AttrElement* a_ = nullptr;
    AttrElement* b_ = nullptr;
    AttrElement* p_ = nullptr;
    WDOMHandle document_, p, a, b, n;
};

TEST_F(ChangeTest, AppendAndInsert) {
    EXPECT_EQ(a->appendChild(n.Get()), n.Get());  // an element without children
    EXPECT_EQ(Children(a_), "n");
    EXPECT_EQ(p->insertBefore(n.Get(), b.Get()), n.Get());  // moved, not copied
    EXPECT_EQ(Tree(), "a n b");
    EXPECT_EQ(Children(a_), "");
    EXPECT_EQ(p->insertBefore(b.Get(), nullptr), b.Get());  // a null reference appends
    EXPECT_EQ(Tree(), "a n b");
    EXPECT_EQ(p->insertBefore(n.Get(), n.Get()), n.Get());  // before itself: stays
    EXPECT_EQ(Tree(), "a n b");
    EXPECT_EQ(p->insertBefore(a.Get(), b.Get()), a.Get());
    EXPECT_EQ(Tree(), "n a b");
}

TEST_F(ChangeTest, ReplaceAndRemoveKeepTheNodeAlive) {
    EXPECT_EQ(p->replaceChild(n.Get(), a.Get()), a.Get());
    EXPECT_EQ(Tree(), "n b");
    EXPECT_TRUE(a_->IsFree());
    EXPECT_EQ(S(a.GetNodeName()), "a");  // alive
    EXPECT_EQ(p->replaceChild(b.Get(), b.Get()), b.Get());  // its own place
    EXPECT_EQ(Tree(), "n b");

    EXPECT_EQ(p->removeChild(b.Get()), b.Get());
    EXPECT_EQ(Tree(), "n");
    EXPECT_TRUE(b_->IsFree());
    EXPECT_EQ(p->removeChild(nullptr), nullptr);
    // Put back, a removed node is part of the tree again.
    EXPECT_EQ(p->appendChild(b.Get()), b.Get());
    EXPECT_EQ(Tree(), "n b");
}

TEST_F(ChangeTest, RefusesCyclesAttributesAndForeignNodes) {
    EXPECT_EQ(p->appendChild(p.Get()), nullptr);  // itself
    EXPECT_EQ(a->appendChild(p.Get()), nullptr);  // its parent
    EXPECT_EQ(a->insertBefore(p.Get(), a.Get()), nullptr);
    EXPECT_EQ(a->replaceChild(p.Get(), a.Get()), nullptr);
    EXPECT_EQ(p->appendChild(nullptr), nullptr);
    EXPECT_EQ(p->replaceChild(nullptr, a.Get()), nullptr);
    EXPECT_EQ(p->appendChild(document_.Get()), nullptr);

    WDOMHandle attribute(Document(document_)->createAttribute("x"));
    EXPECT_EQ(p->appendChild(attribute.Get()), nullptr);

    DocTree other(nullptr, nullptr);
    WDOMHandle foreign(WDOMBuilder::CreateNode(&other, N("f")));
    other.AppendChild(foreign->GetNode());
    EXPECT_EQ(p->appendChild(foreign.Get()), nullptr);
    EXPECT_EQ(p->removeChild(foreign.Get()), nullptr);
    EXPECT_EQ(Tree(), "a b");
}

// The tree of a parsed document lives as long as any facade over it.
TEST_F(NodeTest, TheTreeOutlivesTheDocumentWhileAFacadeHoldsIt) {
    WDOMHandle document = Adopt(E(kKindDocument, {N("p", {N("a")})}));
    const std::weak_ptr<DocTree> watch = tree_->weak_from_this();
    WDOMHandle a = document.GetFirstChild().GetFirstChild();
    WDOMHandle made(Document(document)->createElement("m"));
    document = WDOMHandle();
    ASSERT_FALSE(watch.expired());
    EXPECT_EQ(S(a.GetNodeName()), "a");
    EXPECT_EQ(a->appendChild(made.Get()), made.Get());
    a = WDOMHandle();
    EXPECT_FALSE(watch.expired());
    made = WDOMHandle();
    EXPECT_TRUE(watch.expired());
}

}  // namespace
}  // namespace markup
