// A document shaped like a parsed SVG, walked the way the SVG import walks
// it: only through handles, then released, tree and all.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "dom_fixtures.h"
#include "markup/parser/dom/dom_handle.h"

namespace markup {
namespace {

using markup_test::A;
using markup_test::DomTest;
using markup_test::E;
using markup_test::Named;
using markup_test::S;
using markup_test::T;
using namespace markup_test;  // element and attribute ids

// The document node's address attribute, as the tokenizer gives it.
constexpr std::uint32_t kAddressAttribute = 4718749;

Node* Whitespace() {
    return T(kKindWhitespace, "\n  ");
}

DocElement* ParsedSvg() {
    AttrElement* document = E(kKindDocument);
    WithAttribute(document, kAddressAttribute, "file:///drawing.svg");
    for (Node* node : std::initializer_list<Node*>{
             Named(kKindMarkupDeclaration, "xml"), Whitespace(),
             Named(kKindMarkupDeclaration, "<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\">"), Whitespace(),
             A(kSvg, {{kWidth, "100"}, {kHeight, "50"}},
               {Whitespace(),
                A(kGroup, {{kId, "layer"}, {kFill, "red"}},
                  {Whitespace(), A(kRect, {{kX, "1"}, {kY, "2"}, {kWidth, "3"}, {kHeight, "4"}}), Whitespace(),
                   A(kText, {{kX, "5"}}, {T(kKindText, "Hello "), T(kKindEntityReference, "&"), T(kKindText, " you"),
                                           A(kTSpan, {}, {T(kKindText, "B")})}),
                   Whitespace(), Named(kKindMarkupDeclaration, "<!-- end -->")}),
                Whitespace()})}) {
        document->AppendChild(node);
    }
    return document;
}

// What the import's passes read: each element's name and attributes, a
// text element's first text child, and the elements by id.
class ImportWalk {
  public:
    std::string Walk(const WDOMHandle& element, int depth) {
        std::string out(static_cast<std::size_t>(depth) * 2, ' ');
        out += S(element.GetNodeName());
        const WDOMNamedNodeMapHandle attributes = element.GetAttributes();
        for (std::uint32_t i = 0; i < attributes.GetLength(); ++i) {
            const WDOMHandle attribute = attributes.Item(i);
            out += " " + S(attribute.GetNodeName()) + "=" + S(attribute.GetNodeValue());
            if (S(attribute.GetNodeName()) == "id") ids[S(attribute.GetNodeValue())] = element;
        }
        bool textTaken = false;
        std::string children;
        for (WDOMHandle child = element.GetFirstChild(); !child.IsNull(); child = child.GetNextSibling()) {
            if (child.GetNodeType() == kDOMElementNode) {
                WDOMHandle passed(child);  // the builders take their element by copy
                children += Walk(passed, depth + 1);
            } else if (child.GetNodeType() == kDOMTextNode && !textTaken) {
                out += " \"" + S(child.GetData()) + "\"";
                textTaken = true;
            }
        }
        return out + "\n" + children;
    }

    std::map<std::string, WDOMHandle> ids;
};

using SvgWalkTest = DomTest;

TEST_F(SvgWalkTest, TheImportsWalkReadsEverythingAndReleasesEverything) {
    std::weak_ptr<DocTree> watch;
    {
        WDOMHandle document = Adopt(ParsedSvg());
        watch = tree_->weak_from_this();
        ASSERT_EQ(document.GetNodeType(), kDOMDocumentNode);

        // The first child that is an element: the declaration comes back as
        // a comment, the doctype as a document type.
        std::string before;
        WDOMHandle root = document.GetFirstChild();
        while (!root.IsNull() && root.GetNodeType() != kDOMElementNode) {
            before += std::to_string(root.GetNodeType()) + " ";
            root = root.GetNextSibling();
        }
        EXPECT_EQ(before, "8 10 ");
        ASSERT_EQ(S(root.GetNodeName()), "svg");

        ImportWalk walk;
        EXPECT_EQ(walk.Walk(root, 0),
                  "svg width=100 height=50\n"
                  "  g id=layer fill=red\n"
                  "    rect x=1 y=2 width=3 height=4\n"
                  "    text x=5 \"Hello & you\"\n"
                  "      tspan \"B\"\n");
        ASSERT_EQ(walk.ids.count("layer"), 1u);
        EXPECT_EQ(S(walk.ids["layer"].GetNodeName()), "g");
        // The id index outlives the document handle, as the reader's does.
        document = WDOMHandle();
        root = WDOMHandle();
        EXPECT_FALSE(watch.expired());
        EXPECT_EQ(S(walk.ids["layer"].GetFirstChild().GetNodeName()), "rect");
    }
    EXPECT_TRUE(watch.expired());
}

}  // namespace
}  // namespace markup
