// The visual document over parsed SVG: the road the SVG import takes for
// each element's style, and our own export read back at style level.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "markup/parser/dom/dom_element.h"
#include "markup/parser/xml_parser.h"
#include "markup/style/css_manager.h"
#include "markup/style/graphics_imp.h"
#include "markup/style/style_map.h"
#include "markup/style/visual_doc.h"
#include "platform/font_backend.h"
#include "style_fixtures.h"
#include "temp_dir.h"

namespace {

using markup::WDOMHandle;
using markup::style::StyleProperties;
using markup::style::WDOMVisualDoc_WerImp;
using style_test::Str;

std::string Name(const WDOMHandle& node) {
    const markup::IDOMString name = node.GetNodeName();
    return std::string(name.View());
}

// Elements in document order.
void Walk(const WDOMHandle& node, const std::function<void(const WDOMHandle&)>& visit) {
    for (WDOMHandle child = node.GetFirstChild(); !child.IsNull(); child = child.GetNextSibling()) {
        visit(child);
        Walk(child, visit);
    }
}

WDOMHandle Find(const WDOMHandle& top, const std::string& name) {
    WDOMHandle found;
    Walk(top, [&](const WDOMHandle& node) {
        if (found.IsNull() && node.GetNodeType() == markup::kDOMElementNode && Name(node) == name) found = node;
    });
    return found;
}

class VisualDocTest : public testing::Test {
  protected:
    VisualDocTest() : graphics_(backend_), css_(style_test::Css()) {
        parser_.Init(SVGFILTER_DICTIONARY_DIR);
    }

    WDOMHandle ParseText(const std::string& text) {
        const std::string path = dir_.File("doc.svg");
        std::ofstream(path) << text;
        return ParseFile(path);
    }
    WDOMHandle ParseFile(const std::string& path) {
        WDOMHandle document = parser_.Parse(path.c_str(), &css_);
        EXPECT_FALSE(document.IsNull()) << parser_.FailureCause();
        return document;
    }

    platform::FixedFontBackend backend_;
    markup::style::GraphicsImp graphics_;
    markup_test::TempDir dir_;
    markup::style::CSSManager css_;
    markup::WXMLParser_WepImp parser_;
};

TEST_F(VisualDocTest, InheritanceRunsDownTheSvgRoad) {
    const WDOMHandle document = ParseText(
        "<svg style=\"fill:#0000FF;stroke-width:3\"><g style=\"stroke:#FF0000\"><text>hi</text></g>"
        "<rect style=\"fill:#00FF00\"/></svg>");
    WDOMVisualDoc_WerImp visual(document, "doc.svg");
    ASSERT_NE(visual.Mapper(), nullptr);
    const WDOMHandle text = Find(document, "text");
    ASSERT_FALSE(text.IsNull());
    StyleProperties* style = visual.GetStyle(text);
    ASSERT_NE(style, nullptr);
    markup::DocTree* doc = nullptr;
    markup::Node* element = nullptr;
    std::uint32_t colour = 0;
    EXPECT_EQ(style->GetFill(doc, element, colour), markup::style::kStylePaintColour);
    EXPECT_EQ(colour, 0xFF0000u) << "the svg's blue, as 0x00BBGGRR";
    EXPECT_EQ(style->GetStroke(doc, element, colour), markup::style::kStylePaintColour);
    EXPECT_EQ(colour, 0x0000FFu) << "the g's red";
    std::int32_t unit = 0;
    EXPECT_DOUBLE_EQ(style->GetStrokeWidth(unit), 3.0);
    EXPECT_EQ(visual.GetStyle(text), style) << "a second request answers the cached record";

    StyleProperties* rect = visual.GetStyle(Find(document, "rect"));
    ASSERT_NE(rect, nullptr);
    rect->GetFill(doc, element, colour);
    EXPECT_EQ(colour, 0x00FF00u);
    EXPECT_EQ(rect->GetStroke(doc, element, colour), markup::style::kStylePaintNone) << "a sibling's stroke stays";

    // The text node shares its element's record; it is no element itself.
    const WDOMHandle run = text.GetFirstChild();
    ASSERT_FALSE(run.IsNull());
    StyleProperties* shared = nullptr;
    EXPECT_TRUE(visual.Mapper()->GetStyle(static_cast<markup::WDOMNode*>(run.Get())->GetNode(), shared));
    EXPECT_EQ(shared, style);
    EXPECT_EQ(visual.GetStyle(run), nullptr) << "a handle that is not an element";
    EXPECT_EQ(visual.GetStyle(document), nullptr) << "nor is the document";
    EXPECT_EQ(visual.GetStyle(WDOMHandle()), nullptr);
    StyleProperties* top = nullptr;
    EXPECT_TRUE(visual.Mapper()->GetStyle(visual.Mapper()->Tree()->Root(), top)) << "the document node is safe";
}

TEST_F(VisualDocTest, ANonDocumentHandleAnswersNothing) {
    const WDOMHandle document = ParseText("<svg><rect/></svg>");
    const WDOMHandle rect = Find(document, "rect");
    WDOMVisualDoc_WerImp visual(rect, "doc.svg");
    EXPECT_EQ(visual.Mapper(), nullptr);
    EXPECT_EQ(visual.PaneDocument(), nullptr);
    EXPECT_EQ(visual.GetStyle(rect), nullptr);
    WDOMVisualDoc_WerImp empty(WDOMHandle(), "");
    EXPECT_EQ(empty.GetStyle(rect), nullptr);
}

TEST_F(VisualDocTest, AnElementOfAnotherDocumentAnswersNothing) {
    const WDOMHandle first = ParseText("<svg><rect/></svg>");
    const WDOMHandle second = ParseText("<svg><rect/></svg>");
    WDOMVisualDoc_WerImp visual(first, "doc.svg");
    EXPECT_EQ(visual.GetStyle(Find(second, "rect")), nullptr);
    EXPECT_NE(visual.GetStyle(Find(first, "rect")), nullptr);
}

// One line per element that carries a class: its name and the getters the
// import reads.
std::string Getters(const std::string& name, StyleProperties& style) {
    markup::DocTree* doc = nullptr;
    markup::Node* element = nullptr;
    std::uint32_t colour = 0;
    char line[256];
    std::string out = name;
    auto paint = [&](std::int32_t answer) {
        if (answer == markup::style::kStylePaintColour) {
            std::snprintf(line, sizeof line, "#%06X", colour);
            return std::string(line);
        }
        return std::string(answer == markup::style::kStylePaintNone ? "none" : "url");
    };
    out += " fill " + paint(style.GetFill(doc, element, colour));
    out += " stroke " + paint(style.GetStroke(doc, element, colour));
    std::int32_t unit = 0;
    const double width = style.GetStrokeWidth(unit);
    std::snprintf(line, sizeof line, " width %g/%d cap %u join %u", width, unit, style.GetStrokeLinecap(),
                  style.GetStrokeLinejoin());
    out += line;
    if (style.GetDashCount() != 0) {
        out += " dashes";
        for (std::uint32_t i = 0; i < style.GetDashCount(); ++i) {
            double value = 0;
            style.GetDash(i, value, unit);
            std::snprintf(line, sizeof line, " %g", value);
            out += line;
        }
    }
    if (name == "text") {
        // The family as the sheet writes it; the SVG reader takes off the quotes.
        markup::String family;
        std::snprintf(line, sizeof line, " font %s %d/%d bold %d italic %d", Str(style.GetFontFamily(family)).c_str(),
                      style.GetFontSize(), style.GetFontSizeUnit(), style.GetFlag(5) ? 1 : 0,
                      style.GetFlag(3) ? 1 : 0);
        out += line;
    }
    return out;
}

TEST_F(VisualDocTest, OurExportReadsBackWithTheDrawingsStyles) {
    const std::string svg = dir_.File("ten.svg");
    const std::string command = std::string(SVGFILTER_TOOL_LAUNCHER) + "'" + SVGFILTER_TOOL + "' export '" +
                                SVGFILTER_TEST_DATA + "/markup/style/ten_shapes.json' '" + svg + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) {
        if (sizeof(void*) == 4) GTEST_SKIP() << "the 32-bit stand-in host has no fonts and exports no text";
        FAIL() << command;
    }
    const WDOMHandle document = ParseFile(svg);
    WDOMVisualDoc_WerImp visual(document, svg.c_str());
    std::vector<std::string> lines;
    Walk(document, [&](const WDOMHandle& node) {
        if (node.GetNodeType() != markup::kDOMElementNode) return;
        auto* element = static_cast<markup::WDOMElement*>(node.Get());
        if (element->getAttribute(markup::IDOMString("class")).Length() == 0) return;
        StyleProperties* style = visual.GetStyle(node);
        lines.push_back(style ? Getters(Name(node), *style) : Name(node) + " no style");
    });
    const std::vector<std::string> expected = {
        "rect fill #0000FF stroke none width 1/0 cap 276 join 325",
        "rect fill #00FF00 stroke #FF0000 width 20/3 cap 276 join 325",
        "ellipse fill none stroke #302010 width 50/3 cap 355 join 355",
        "rect fill #0000FF stroke none width 1/0 cap 276 join 325",
        "path fill #20B0F0 stroke #202020 width 30/3 cap 367 join 269 dashes 120 60",
        "ellipse fill #C04080 stroke #FF0000 width 20/3 cap 276 join 325",
        "rect fill none stroke #A0A0A0 width 100/3 cap 276 join 325 dashes 100 100 300 100",
        "path fill none stroke #00FF00 width 40/3 cap 276 join 325",
        "text fill #933A1F stroke none width 1/0 cap 276 join 325 font 'DejaVu Sans' 200/3 bold 1 italic 0",
        "text fill #000000 stroke none width 1/0 cap 276 join 325 font 'DejaVu Serif' 140/3 bold 0 italic 1",
    };
    EXPECT_EQ(lines, expected);
}

}  // namespace
