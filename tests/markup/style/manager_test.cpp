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
#include "markup/parser/tokenizer.h"
#include "markup/style/css_manager.h"
#include "style_fixtures.h"
#include "token_fixtures.h"
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
    return SmallDictionary({{kSvg, "svg", {kId, kClass}},
                            {kStyle, "style", {}},
                            {kRect, "rect", {kId, kClass, kStyleAttribute}},
                            {kG, "g", {kId, kOtherClass}},
                            {kCircle, "circle", {}}},
                           {{kId, "id"}, {kClass, "class"}, {kStyleAttribute, "style"}, {kOtherClass, "class"}});
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

// The runs are one sheet: a rule may span them (an entity reference
// splits a style element's text into runs).
TEST(CSSManager, TheTextRunsAreAddedAsOneText) {
    RecordingManager manager;
    Owned<AttrElement> style(
        E(kStyle, {T(160, "a { fill: #f00 }"), T(165, "<!-- b { fill: #f00 } -->"), E(200, {T(160, "c { fill: #f00 }")})}));
    manager.SetContext(style.get(), nullptr);
    manager.CollectStyleElements();
    EXPECT_EQ(manager.texts, (std::vector<std::string>{"a { fill: #f00 }c { fill: #f00 }@0"}));
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
                              const std::function<markup::String(Node*)>& linkedSheet,
                              std::uint32_t styleType = kStyle) {
    std::function<void(Node*)> walk = [&](Node* node) {
        const auto* element = dynamic_cast<const markup::DocElement*>(node);
        const std::uint32_t type = element ? element->TypeId() : 0;
        if (type == styleType) manager.SetContext(node, &tree);
        if (type == markup::kKindDeclaration) manager.AddStyleText(linkedSheet(node), 0);
        for (Node* child = node->FirstChild(); child; child = child->NextSibling()) walk(child);
        if (type == styleType) manager.CollectStyleElements();
    };
    walk(tree.Root());
}

// The value texts of the declarations that apply to the node, in their
// sorted order.
std::string AppliedValues(const CSSManager& manager, Node* node) {
    Vector<CSSSimpleSelectorDesc> descriptions;
    manager.BuildSelectorDescs(node, descriptions);
    Vector<CSSDeclaration> declarations;
    manager.StyleSheet().CollectDeclarations(descriptions, declarations);
    std::string applied;
    for (std::uint32_t i = 0; i < declarations.Count(); ++i) {
        applied += Str(declarations.At(i)->Value()->Attribute()->Text()) + " ";
    }
    return applied;
}

TEST_F(ManagerTest, StyleElementsAndLinkedSheetsArriveInDocumentOrder) {
    AttrElement* rect = WithAttribute(E(kRect), kClass, "b a");
    tree.AppendChild(E(kSvg, {E(kStyle, {T(160, "rect { fill: #000001 } .a { fill: #000002 }")}), rect,
                              E(kG, {E(kStyle, {T(160, ".b { fill: #000003 }")})}),
                              T(markup::kKindDeclaration, "xml-stylesheet href=\"linked.css\"")}));
    FeedLikeDocumentHandlers(tree, manager, [](Node*) { return markup::String(".a { stroke: #000004 }"); });
    EXPECT_EQ(RuleTexts(), "rect;.a;.b;.a;");

    // The type rule matches the rect too, below the class rules; both class
    // words match.
    EXPECT_EQ(AppliedValues(manager, rect), "#000001 #000002 #000003 #000004 ");
}

// Places a well-formed document's tokens under a document node as the tree
// builder does: each node below the innermost open element, an element open
// until its end tag.
Node* BuildTree(markup::Tokenizer& tokenizer, markup::DocTree& tree) {
    tree.AppendChild(E(markup::kKindDocument));
    std::vector<Node*> open{tree.Root()};
    for (markup::Token* token = tokenizer.NextToken(); token; token = tokenizer.NextToken()) {
        if (dynamic_cast<markup::InitialToken*>(token)) continue;
        if (token->IsEndTag()) {
            while (open.size() > 1) {
                const auto* element = dynamic_cast<const markup::DocElement*>(open.back());
                open.pop_back();
                if (element && element->TypeId() == token->typeId) break;
            }
            continue;
        }
        Node* node = token->TakeNode();
        if (!node) continue;
        tree.SetCurrent(open.back());
        tree.AppendChild(node);
        const std::uint32_t type = token->typeId;
        const bool leaf = type == markup::kKindDeclaration ||
                          (type >= markup::kKindPlaceholder && type <= markup::kKindDocument);
        if (!leaf) open.push_back(node);
    }
    return tree.Root();
}

// The value of a pseudo-attribute of an instruction, by its written name.
std::string PseudoAttribute(Node* node, const char* name, const markup::DictionaryBase* dictionary) {
    const auto* element = dynamic_cast<const AttrElement*>(node);
    if (!element) return {};
    for (std::uint32_t i = 0; i < element->Attributes().Count(); ++i) {
        const markup::Attribute& attribute = *element->AttributeAt(i);
        if (Str(attribute.GetName(dictionary)) == name) return Str(attribute.value);
    }
    return {};
}

// An SVG text parsed into a tree that reports to a recording manager.
struct ParsedSvg {
    explicit ParsedSvg(const char* text) : dictionary(markup_test::BuildOpenDictionary()), stream(text) {
        tree.SetDictionary(dictionary.get());
        markup::ErrorList errors;
        markup::Tokenizer tokenizer;
        tokenizer.SetErrors(&errors);
        tokenizer.Begin(&stream, nullptr, &tree, "doc.svg", 1);
        BuildTree(tokenizer, tree);
        tokenizer.Reset();
    }
    std::unique_ptr<markup::Dictionary> dictionary;
    markup_test::MemoryInStream stream;
    markup::XMLElementFactory factory;
    RecordingManager manager;
    markup::DocTree tree{&factory, &manager};
};

TEST(CSSManager, StyleElementsAndTheLinkedSheetOfAParsedSvgArriveInDocumentOrder) {
    ParsedSvg parsed(
        "<?xml-stylesheet href=\"linked.css\" type=\"text/css\"?>"
        "<svg><style>rect { fill: #000001 }\n.a { fill: #000002 }</style>"
        "<rect class=\"b a\"></rect>"
        "<g><style>.b { fill: #000003 }<!-- .a { fill: #000009 } -->.b { stroke: #000004 }</style></g></svg>");
    const auto& dictionary = parsed.dictionary;
    RecordingManager& manager = parsed.manager;
    markup::DocTree& tree = parsed.tree;

    std::uint32_t style = 0;
    ASSERT_EQ(dictionary->ElementIdByName("style", style), markup::kDict_Ok);
    std::vector<std::string> links;
    FeedLikeDocumentHandlers(
        tree, manager,
        [&](Node* node) {
            links.push_back(PseudoAttribute(node, "href", dictionary.get()));
            return markup::String(".a { stroke: #000005 }");
        },
        style);
    EXPECT_EQ(links, std::vector<std::string>{"linked.css"});
    // The sheet first, then each style element's text runs joined; the
    // comment between the last two runs is passed over.
    EXPECT_EQ(manager.texts, (std::vector<std::string>{".a { stroke: #000005 }@0",
                                                       "rect { fill: #000001 }\n.a { fill: #000002 }@0",
                                                       ".b { fill: #000003 }.b { stroke: #000004 }@0"}));

    // The rect as parsed: its name and class words through the learned
    // dictionary.
    Node* rect = tree.Root()->FirstChild()->NextSibling()->FirstChild()->NextSibling();
    EXPECT_EQ(AppliedValues(manager, rect), "#000001 #000005 #000002 #000003 #000004 ");
}

// A style element's media attribute is a media query list: an element for
// other media gives the sheet nothing.
TEST(CSSManager, StyleElementsForOtherMediaAddNothing) {
    ParsedSvg parsed(
        "<svg><style media=\"print\">a{}</style><style media=\"print, Screen\">b{}</style>"
        "<style media=\"\">c{}</style><style media=\"screen and (min-width: 9px)\">d{}</style>"
        "<style media=\"all\">e{}</style></svg>");
    const auto& dictionary = parsed.dictionary;
    RecordingManager& manager = parsed.manager;
    markup::DocTree& tree = parsed.tree;
    std::uint32_t style = 0;
    ASSERT_EQ(dictionary->ElementIdByName("style", style), markup::kDict_Ok);
    FeedLikeDocumentHandlers(tree, manager, [](Node*) { return markup::String(); }, style);
    EXPECT_EQ(manager.texts, (std::vector<std::string>{"b{}@0", "c{}@0", "e{}@0"}));
}

TEST_F(ManagerTest, ADocumentWithoutStyleElementsLeavesTheSheetEmpty) {
    tree.AppendChild(E(kSvg, {E(kRect), E(kG)}));
    FeedLikeDocumentHandlers(tree, manager, [](Node*) { return markup::String(); });
    EXPECT_EQ(manager.StyleSheet().Rules().Count(), 0u);
    EXPECT_EQ(manager.StyleSheet().Tokens().Count(), 0u);
}

}  // namespace
