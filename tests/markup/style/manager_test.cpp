// The CSS manager over trees built in code: element descriptions through
// the document's dictionary, style element texts into the sheet, and a
// stand-in for the parser's document handlers feeding it in document order.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "markup/doc_tree.h"
#include "markup/faults.h"
#include "markup/parser/dictionary.h"
#include "markup/style/css_manager.h"
#include "style_fixtures.h"
#include "tree_fixtures.h"

namespace {

using markup::AttrElement;
using markup::Node;
using markup::Vector;
using markup_test::E;
using markup_test::Owned;
using markup_test::T;
using markup_test::WithAttribute;
using namespace markup::style;
using namespace style_test;

enum : std::uint32_t { kSvg = 186, kStyle = 187, kRect = 188, kG = 189, kCircle = 190 };
enum : std::uint32_t { kId = 1, kClass = 2, kStyleAttribute = 3, kOtherClass = 40 };

// "class" has two definitions: g takes the second, rect and svg the first;
// circle takes no attributes.
std::unique_ptr<markup::Dictionary> SvgLikeDictionary() {
    auto d = std::make_unique<markup::Dictionary>();
    d->CreateEditor();
    auto element = [&](std::uint32_t id, const char* name, std::initializer_list<std::uint32_t> attributes) {
        auto def = std::make_unique<markup::ElementDef>();
        def->SetId(id);
        def->SetName(name);
        for (std::uint32_t a : attributes) def->AddAttribute(a);
        d->Elements().Insert(std::move(def));
    };
    element(kSvg, "svg", {kId, kClass});
    element(kStyle, "style", {});
    element(kRect, "rect", {kId, kClass, kStyleAttribute});
    element(kG, "g", {kId, kOtherClass});
    element(kCircle, "circle", {});
    auto attribute = [&](std::uint32_t id, const char* name) {
        auto def = std::make_unique<markup::HTMLAttributeDef>();
        def->SetId(id);
        def->SetName(name);
        d->Attributes().Insert(std::move(def));
    };
    attribute(kId, "id");
    attribute(kClass, "class");
    attribute(kStyleAttribute, "style");
    attribute(kOtherClass, "class");
    return d;
}

class ManagerTest : public ::testing::Test {
  protected:
    ManagerTest() { tree.SetDictionary(dictionary.get()); }

    std::string Descriptions(Node* node) {
        Vector<CSSSimpleSelectorDesc> out;
        manager.BuildSelectorDescs(node, out);
        std::string text;
        for (std::uint32_t i = 0; i < out.Count(); ++i) {
            const CSSSimpleSelectorDesc& d = *out.At(i);
            text += "[" + Str(d.Name()) + "|" + Str(d.Class()) + "|" + Str(d.Id()) + "]";
        }
        return text;
    }

    std::string RuleTexts() {
        std::string text;
        for (std::uint32_t i = 0; i < manager.StyleSheet().Rules().Count(); ++i) {
            text += Str(manager.StyleSheet().Rules().At(i)->Text()) + ";";
        }
        return text;
    }

    std::unique_ptr<markup::Dictionary> dictionary = SvgLikeDictionary();
    CSSManager manager{Css()};
    markup_test::TestFactory factory;
    markup::DocTree tree{&factory, &manager};
};

TEST_F(ManagerTest, TheTreeAttachesItself) {
    EXPECT_EQ(manager.Document(), &tree);
    manager.SetDocument(nullptr);
    EXPECT_EQ(manager.Document(), nullptr);
}

struct DescriptionCase {
    std::uint32_t type;
    std::uint32_t attribute;  // 0 for none
    const char* value;
    const char* descriptions;
};

class ElementDescriptions : public ManagerTest, public ::testing::WithParamInterface<DescriptionCase> {};

TEST_P(ElementDescriptions, OfAnElement) {
    const DescriptionCase& c = GetParam();
    Owned<AttrElement> element(E(c.type));
    WithAttribute(element.get(), kId, "x1");
    if (c.attribute) WithAttribute(element.get(), c.attribute, c.value);
    EXPECT_EQ(Descriptions(element.get()), c.descriptions) << c.type << " " << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ElementDescriptions,
    ::testing::Values(DescriptionCase{kRect, 0, "", "[rect||#x1]"},
                      DescriptionCase{kRect, kClass, "a", "[rect|.a|#x1]"},
                      DescriptionCase{kRect, kClass, "a b", "[rect|.b|#x1][rect|.a|#x1]"},  // last word first
                      DescriptionCase{kRect, kClass, ".a", "[rect|.a|#x1]"},
                      DescriptionCase{kRect, kClass, "a  b", "[rect|.b|#x1][rect|.|#x1][rect|.a|#x1]"},
                      DescriptionCase{kRect, kClass, "", "[rect||#x1]"},
                      DescriptionCase{kG, kOtherClass, "k", "[g|.k|#x1]"},  // the definition g takes
                      DescriptionCase{kG, kClass, "k", "[g||#x1]"},        // one g does not take
                      DescriptionCase{kCircle, kClass, "k", "[circle||]"},  // circle takes no attributes
                      DescriptionCase{999, kClass, "k", "[||]"}));          // no definition, no name

TEST_F(ManagerTest, OnlyElementsWithAttributesAreDescribed) {
    Owned<Node> run(T(160, "text"));
    EXPECT_EQ(Descriptions(run.get()), "");
    EXPECT_EQ(Descriptions(nullptr), "");
    // Without a document there is no dictionary to name anything.
    manager.SetDocument(nullptr);
    Owned<AttrElement> rect(E(kRect));
    EXPECT_EQ(Descriptions(rect.get()), "[||]");
}

// Records the texts that reach the sheet.
class RecordingManager : public CSSManager {
  public:
    RecordingManager() : CSSManager(Css()) {}
    void AddStyleText(const markup::String& text, std::uint8_t origin) override {
        texts.push_back(Str(text) + "@" + std::to_string(origin));
        CSSManager::AddStyleText(text, origin);
    }
    std::vector<std::string> texts;
};

TEST(CSSManager, EachTextRunIsAddedOnItsOwn) {
    RecordingManager manager;
    Owned<AttrElement> style(
        E(kStyle, {T(160, "a { fill: #f00 }"), T(165, "<!-- b { fill: #f00 } -->"), E(200, {T(160, "c { fill: #f00 }")})}));
    manager.SetContext(style.get(), nullptr);
    manager.CollectStyleElements();
    EXPECT_EQ(manager.texts, (std::vector<std::string>{"a { fill: #f00 }@0", "c { fill: #f00 }@0"}));
    EXPECT_EQ(manager.StyleSheet().Rules().Count(), 2u);
}

TEST(CSSManager, AStyleElementWithoutChildrenAddsNothing) {
    RecordingManager manager;
    manager.CollectStyleElements();  // no style element yet
    Owned<AttrElement> style(E(kStyle));
    style->SetText(nullptr, "style");
    manager.SetContext(style.get(), nullptr);
    manager.CollectStyleElements();
    EXPECT_TRUE(manager.texts.empty());
}

TEST(CSSManager, ATerminalThatIsNoDocElementRaises) {
    RecordingManager manager;
    Owned<AttrElement> style(E(kStyle, {T(160, "a { fill: #f00 }")}));
    style->AppendChild(new Node);
    manager.SetContext(style.get(), nullptr);
    EXPECT_THROW(manager.CollectStyleElements(), markup::InvalidArgumentFault);
}

// What the parser's document handlers do after a parse: a "style" element
// gives the manager its context when it starts and has its text collected
// when it ends; a linked sheet (type 87) arrives as one text.
void FeedLikeDocumentHandlers(markup::DocTree& tree, markup::CSSBaseManager& manager,
                              const std::function<markup::String(Node*)>& linkedSheet) {
    std::function<void(Node*)> walk = [&](Node* node) {
        const auto* element = dynamic_cast<const markup::DocElement*>(node);
        const std::uint32_t type = element ? element->TypeId() : 0;
        if (type == kStyle) manager.SetContext(node, &tree);
        if (type == markup::kKindDeclaration) manager.AddStyleText(linkedSheet(node), 0);
        for (Node* child = node->FirstChild(); child; child = child->NextSibling()) walk(child);
        if (type == kStyle) manager.CollectStyleElements();
    };
    walk(tree.Root());
}

TEST_F(ManagerTest, StyleElementsAndLinkedSheetsArriveInDocumentOrder) {
    AttrElement* rect = WithAttribute(E(kRect), kClass, "b a");
    tree.AppendChild(E(kSvg, {E(kStyle, {T(160, "rect { fill: #000001 } .a { fill: #000002 }")}), rect,
                              E(kG, {E(kStyle, {T(160, ".b { fill: #000003 }")})}),
                              T(markup::kKindDeclaration, "xml-stylesheet href=\"linked.css\"")}));
    FeedLikeDocumentHandlers(tree, manager, [](Node*) { return markup::String(".a { stroke: #000004 }"); });
    EXPECT_EQ(RuleTexts(), "rect;.a;.b;.a;");

    Vector<CSSSimpleSelectorDesc> descriptions;
    manager.BuildSelectorDescs(rect, descriptions);
    Vector<CSSDeclaration> declarations;
    manager.StyleSheet().CollectDeclarations(descriptions, declarations);
    std::string applied;
    for (std::uint32_t i = 0; i < declarations.Count(); ++i) {
        applied += Str(declarations.At(i)->Value()->Attribute()->Text()) + " ";
    }
    // rect has a class, so the name rule passes it by; both class words match.
    EXPECT_EQ(applied, "#000002 #000003 #000004 ");
}

TEST_F(ManagerTest, ADocumentWithoutStyleElementsLeavesTheSheetEmpty) {
    tree.AppendChild(E(kSvg, {E(kRect), E(kG)}));
    FeedLikeDocumentHandlers(tree, manager, [](Node*) { return markup::String(); });
    EXPECT_EQ(manager.StyleSheet().Rules().Count(), 0u);
    EXPECT_EQ(manager.StyleSheet().Tokens().Count(), 0u);
}

}  // namespace
