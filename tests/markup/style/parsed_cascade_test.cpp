// The cascade over parsed documents: the XML front end parses, the
// document handlers hand the style text to our CSS manager, and every
// element's record is cascaded under its parent's. The issue's small
// fixture, and our own export of the sample drawing in its three CSS
// placements, whose styles must come out the same in each.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "markup/attr_element.h"
#include "markup/pane_doc.h"
#include "markup/parser/dom/dom_document.h"
#include "markup/parser/xml_parser.h"
#include "markup/style/css_attribute_lookup.h"
#include "markup/style/css_manager.h"
#include "markup/style/graphics_imp.h"
#include "markup/style/style_properties.h"
#include "platform/messages.h"
#include "style_fixtures.h"
#include "temp_dir.h"
#include "token_fixtures.h"

namespace {

using markup::AttrElement;
using markup::DocTree;
using markup::Node;
using namespace markup::style;
using style_test::Css;
using style_test::Str;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A colour word (red in its low byte) as "#RRGGBB".
std::string Hex(std::uint32_t word) {
    char text[16];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", word & 0xFF, (word >> 8) & 0xFF, (word >> 16) & 0xFF);
    return text;
}

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// A document parsed through the XML front end, with a CSS manager of ours
// and records for its elements.
class ParsedDocument {
  public:
    explicit ParsedDocument(const std::string& file) {
        platform::SetMessageSink(&messages_);
        parser_.Init((registry_.folder.Path() + "/").c_str());
        handle_ = parser_.Parse(file.c_str(), &manager_);
        auto* document = dynamic_cast<markup::WDOMDocument_WepImp*>(handle_.Get());
        tree_ = document ? document->GetTree() : nullptr;
        pane_.SetTree(tree_);
    }
    ~ParsedDocument() { platform::SetMessageSink(nullptr); }

    DocTree* Tree() const { return tree_; }

    std::string Name(const Node* node) const {
        markup::String name;
        const auto* element = markup::AsAttrElement(node);
        if (element && tree_->Dictionary()) tree_->Dictionary()->ElementNameById(element->TypeId(), name);
        return Str(name);
    }

    std::string Attribute(const Node* node, const char* name) const {
        const auto* element = markup::AsAttrElement(node);
        const markup::Attribute* attribute =
            element ? FindAttributeByName(tree_->Dictionary(), *element, name) : nullptr;
        return attribute ? Str(attribute->value) : std::string();
    }

    // The record of each element of the subtree, made under its parent's,
    // in document order; `visit` sees each one.
    template <class Visit>
    void Cascade(Node* node, const StyleProperties* parent, Visit&& visit) {
        if (!node || !markup::AsAttrElement(node)) return;
        StyleProperties style;
        style.SetPaneDocument(&pane_);
        if (parent) style.InheritFrom(*parent);
        manager_.ApplyCascade(node, &style);
        visit(node, style);
        for (Node* child = node->FirstChild(); child; child = child->NextSibling()) Cascade(child, &style, visit);
    }

  private:
    platform::FixedFontBackend backend_;
    GraphicsImp graphics_{backend_};
    platform::RecordingMessageSink messages_;
    markup_test::FreshRegistry registry_;
    markup::WXMLParser_WepImp parser_;
    CSSManager manager_{Css()};
    markup::WDOMHandle handle_;
    DocTree* tree_ = nullptr;
    markup::BasePaneDoc pane_;
};

std::string Paint(StyleProperties& style, bool fill, ParsedDocument& document) {
    DocTree* tree = nullptr;
    Node* element = nullptr;
    std::uint32_t colour = 0;
    const std::int32_t kind = fill ? style.GetFill(tree, element, colour) : style.GetStroke(tree, element, colour);
    if (kind == kStylePaintColour) return Hex(colour);
    if (kind == kStylePaintURL) return "url(" + (element ? document.Name(element) : "?") + ")";
    return "none";
}

TEST(ParsedCascade, TheIssuesFixture) {
    markup_test::TempDir dir;
    const std::string file = dir.File("fixture.svg");
    std::ofstream(file) << "<?xml version=\"1.0\"?>\n<svg>"
                           "<style>.fil0{fill:#FF0000} #r2{stroke:#00FF00;stroke-width:3} #r3{stroke:#0000FF}</style>"
                           "<rect class=\"fil0\"/><rect id=\"r2\" style=\"fill:url(#grad)\"/>"
                           "<rect id=\"r3\" class=\"fil0\"/><linearGradient id=\"GRAD\"/></svg>";
    ParsedDocument document(file);
    ASSERT_TRUE(document.Tree());
    std::string out;
    document.Cascade(document.Tree()->Root(), nullptr, [&](Node* node, StyleProperties& style) {
        if (document.Name(node) != "rect") return;
        std::int32_t unit = 0;
        const double width = style.GetStrokeWidth(unit);
        out += Paint(style, true, document) + " " + Paint(style, false, document) + " " + Number(width) + "/" +
               std::to_string(unit) + "\n";
    });
    // The second rect's "#grad" finds "GRAD"; "#r3" matches the third,
    // whose class matches too.
    EXPECT_EQ(out,
              "#FF0000 none 1/0\n"
              "url(linearGradient) #00FF00 3/3\n"
              "#FF0000 #0000FF 1/0\n");
}

// References by id among many: the first element in document order with the
// id (without case) is found, a missing id finds no element, and looking up one
// does not disturb the next.
TEST(ParsedCascade, ReferencesFindTheFirstElementWithTheId) {
    markup_test::TempDir dir;
    const std::string file = dir.File("references.svg");
    std::string text = "<?xml version=\"1.0\"?>\n<svg>";
    for (int i = 0; i < 200; ++i) text += "<rect style=\"fill:url(#g" + std::to_string(i % 7) + ")\"/>";
    text += "<rect style=\"fill:url(#none)\"/><rect style=\"fill:url(#TWICE)\"/>"
            "<linearGradient id=\"g0\"/><radialGradient id=\"G1\"/><pattern id=\"twice\"/><mask id=\"twice\"/>";
    for (int i = 2; i < 7; ++i) text += "<pattern id=\"g" + std::to_string(i) + "\"/>";
    text += "</svg>";
    std::ofstream(file) << text;
    ParsedDocument document(file);
    ASSERT_TRUE(document.Tree());
    std::vector<std::string> fills;
    document.Cascade(document.Tree()->Root(), nullptr, [&](Node* node, StyleProperties& style) {
        if (document.Name(node) == "rect") fills.push_back(Paint(style, true, document));
    });
    ASSERT_EQ(fills.size(), 202u);
    for (int i = 0; i < 200; ++i) {
        const char* expected = i % 7 == 0 ? "url(linearGradient)" : i % 7 == 1 ? "url(radialGradient)" : "url(pattern)";
        ASSERT_EQ(fills[i], expected) << i;
    }
    EXPECT_EQ(fills[200], "url(?)");  // a reference that names nothing
    EXPECT_EQ(fills[201], "url(pattern)");
}

// Every element of the sample but the glyphs' outlines: name, fill,
// stroke, width, cap, join, dashes, clip, and for text the font. Ids and
// classes differ between the placements; what they name does not.
std::string SampleStyles(const std::string& file) {
    ParsedDocument document(file);
    if (!document.Tree()) return "no tree";
    std::string out;
    document.Cascade(document.Tree()->Root(), nullptr, [&](Node* node, StyleProperties& style) {
        const std::string name = document.Name(node);
        if (name.empty() || document.Name(node->Parent()) == "glyph" || name == "defs" || name == "font" || name == "glyph" || name == "style" || name == "stop" ||
            name == "font-face" || name == "missing-glyph" || name == "svg" || name == "a" ||
            name == "linearGradient" || name == "radialGradient" || name == "clipPath") {
            return;
        }
        std::int32_t unit = 0;
        out += name + " fill " + Paint(style, true, document);
        const double opacity = style.GetFillOpacity(unit);
        if (opacity != 100.0) out += " opacity " + Number(opacity) + "/" + std::to_string(unit);
        out += " stroke " + Paint(style, false, document);
        const double width = style.GetStrokeWidth(unit);
        out += " " + Number(width) + "/" + std::to_string(unit) + " cap " + std::to_string(style.GetStrokeLinecap()) +
               " join " + std::to_string(style.GetStrokeLinejoin());
        double dash = 0;
        for (std::uint32_t i = 0; style.GetDash(i, dash, unit); ++i) out += " dash " + Number(dash);
        Node* clip = nullptr;
        if (style.GetClipPath(clip)) out += " clip " + (clip ? document.Name(clip) : "?");
        if (name == "text" || name == "tspan") {
            markup::String family;
            style.GetFontFamily(family);
            out += " font " + Str(family) + " " + std::to_string(style.GetFontSize()) + "/" +
                   std::to_string(style.GetFontSizeUnit()) + (style.GetFlag(5) ? " bold" : "") +
                   (style.GetFlag(3) ? " italic" : "") + (style.GetDecorationFlag() ? " small-caps" : "");
        }
        out += "\n";
    });
    return out;
}

class ExportedSample : public ::testing::TestWithParam<const char*> {};

TEST_P(ExportedSample, StylesAreTheDrawings) {
    const std::string base = std::string(SVGFILTER_TEST_DATA) + "/parser/sample-" + GetParam();
    const std::string golden = std::string(SVGFILTER_TEST_DATA) + "/markup/style/sample-styles.txt";
    EXPECT_EQ(SampleStyles(base + ".svg"), ReadFile(golden));
}

INSTANTIATE_TEST_SUITE_P(CssPlacements, ExportedSample, ::testing::Values("internal", "external", "style"));

}  // namespace
