// The reader over documents parsed by the markup parser and styled by the
// style engine: presentation attributes below class rules and `style`
// attributes, and the computed values the reader takes.
#include "svgimport/visual_styles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <set>
#include <string>

#include "markup/parser/dom/dom_interfaces.h"
#include "markup/parser/xml_parser.h"
#include "markup/style/graphics_imp.h"
#include "platform/font_backend.h"
#include "recording_canvas.h"
#include "style_fixtures.h"
#include "svgimport/reader.h"
#include "temp_dir.h"

namespace {

using namespace SVG;

// Passes the reader's questions on, counting the elements whose styles it
// holds (asked for and not let go) at most at once.
class HeldCount : public WStyleSource {
  public:
    explicit HeldCount(WStyleSource& inner) : inner_(inner) {}
    bool GetStyle(const markup::WDOMHandle& element, WComputedStyle* style) override {
        held_.insert(element.Get());
        most = std::max(most, held_.size());
        return inner_.GetStyle(element, style);
    }
    void Release(const markup::WDOMHandle& element) override {
        held_.erase(element.Get());
        inner_.Release(element);
    }
    void BeginInstance(const markup::WDOMHandle& use, const markup::WDOMHandle& target) override {
        inner_.BeginInstance(use, target);
    }
    void EndInstance() override { inner_.EndInstance(); }

    size_t most = 0;

  private:
    WStyleSource& inner_;
    std::set<const void*> held_;
};

// A document parsed from SVG text and drawn on a recording canvas through
// the style engine's computed styles.
class Styled : public ::testing::Test {
  protected:
    Styled() : graphics_(backend_), css_(style_test::Css()) {
        // As the import sets it up: absolute lengths in CSS pixels.
        graphics_.UseCssUnits(true);
        parser_.Init(SVGFILTER_DICTIONARY_DIR);
        AddPresentationAttributes(css_);
    }

    // What was drawn; `held` (when given) names the elements that still
    // hold a computed style once the drawing is done, `mostHeld` the most
    // elements whose styles the reader held at once.
    std::string Draw(const std::string& text, std::string* held = nullptr, size_t* mostHeld = nullptr) {
        const std::string path = dir_.File("doc.svg");
        std::ofstream(path) << text;
        const markup::WDOMHandle document = parser_.Parse(path.c_str(), &css_);
        EXPECT_FALSE(document.IsNull()) << parser_.FailureCause();
        markup::style::WDOMVisualDoc_WerImp visual(document, path.c_str());
        WVisualStyleSource styles(visual);
        HeldCount counted(styles);
        WParser reader(document, &counted);
        reader_test::RecordingCanvas canvas(&reader);
        EXPECT_EQ(reader.Parse(&canvas), 1) << DescribeReadStatus(reader.Status());
        if (held != nullptr) ListHeld(document, *held);
        if (mostHeld != nullptr) *mostHeld = counted.most;
        return canvas.Text();
    }

    static void ListHeld(const markup::WDOMHandle& node, std::string& out) {
        for (markup::WDOMHandle child = node.GetFirstChild(); !child.IsNull(); child = child.GetNextSibling()) {
            const markup::DocElement* element = static_cast<markup::WDOMNode*>(child.Get())->GetNode();
            if (child.GetNodeType() == markup::kDOMElementNode &&
                dynamic_cast<markup::style::StyleProperties*>(element->Extra()) != nullptr) {
                out += std::string(child.GetNodeName().View()) + " ";
            }
            ListHeld(child, out);
        }
    }

    platform::FixedFontBackend backend_;
    markup::style::GraphicsImp graphics_;
    markup_test::TempDir dir_;
    markup::style::CSSManager css_;
    markup::WXMLParser_WepImp parser_;
};

std::string Document(const std::string& content) {
    return R"svg(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" width="96" height="96" viewBox="0 0 254 254">)svg" +
           content + "</svg>";
}

// A class rule wins over a presentation attribute, the style attribute
// over both; an attribute alone counts.
TEST_F(Styled, PresentationAttributesRankBelowRulesAndStyleAttributes) {
    EXPECT_EQ(Draw(Document(R"svg(<style>.r { fill: #00FF00 } .s { stroke-width: 3 }</style>
<rect width="1" height="1" fill="red"/>
<rect width="1" height="1" class="r" fill="red"/>
<rect width="1" height="1" class="r" fill="red" style="fill: blue"/>
<rect width="1" height="1" fill="red" style="fill: blue"/>
<g stroke="black" stroke-width="2"><rect width="1" height="1" fill="none"/><rect width="1" height="1" class="s" fill="none"/></g>)svg")),
              "rect 0,253000 1000x1000 fill=#ff0000\n"
              "rect 0,253000 1000x1000 fill=#00ff00\n"
              "rect 0,253000 1000x1000 fill=#0000ff\n"
              "rect 0,253000 1000x1000 fill=#0000ff\n"
              "group [1000 0 0 -1000 0 254000] fill=#000000 stroke=#000000/2000\n"
              "  rect 0,253000 1000x1000 stroke=#000000/2000\n"
              "  rect 0,253000 1000x1000 stroke=#000000/3000\n"
              "end group\n");
}

TEST_F(Styled, ComputedValuesBecomeThePresentation) {
    const std::string out = Draw(Document(R"svg(
<rect width="1" height="1" fill="none" stroke="black" stroke-width="2" stroke-linecap="round" stroke-linejoin="bevel" stroke-dasharray="4 2"/>
<rect width="1" height="1" stroke="black" stroke-width="2px" fill-opacity="0.5" stroke-opacity="50%"/>
<rect width="1" height="1" fill="none" fill-opacity="0.5"/>
<text font-size="30px" font-weight="bold" font-family="'DejaVu Sans', serif">A</text>
<text style="font-size: 30; font-style: italic">B</text>
<linearGradient id="g"><stop offset="0" stop-color="red" stop-opacity=".5"/><stop offset="1" stop-color="#0000FF"/></linearGradient>
<clipPath id="c"><rect width="5" height="5"/></clipPath>
<mask id="m"><rect width="5" height="5" fill="url(#g)"/></mask>
<rect width="10" height="10" fill="url(#g)" clip-path="url(#c)" mask="url(#m)"/>)svg"));
    EXPECT_EQ(out,
              "rect 0,253000 1000x1000 stroke=#000000/2000 cap1 join2 dash 2 1\n"
              "rect 0,253000 1000x1000 fill=#000000@128 stroke=#000000/2000@128\n"
              "rect 0,253000 1000x1000\n"
              "text \"A\" 0,254000 size=30000 weight=1 family=DejaVu Sans fill=#000000\n"
              "text \"B\" 0,254000 size=30000 weight=0 italic family=DejaVu Serif fill=#000000\n"
              "rect 0,244000 10000x10000 fill=linear(0,254000 10000,254000; 0:#ff0000/128 255:#0000ff/255) "
              "clip=[path 04:0,249000 44:5000,249000 44:5000,254000 4c:0,254000] mask=(-1000,243000 12000x12000 rect 0,249000 5000x5000 "
              "fill=linear(0,254000 5000,254000; 0:#ff0000/128 255:#0000ff/255))\n");
}

// Font sizes keep their fractions; em, ex, percentages and larger/smaller
// count from the parent's size (not from a size the element's own earlier
// declaration set); the keywords follow CSS's table, medium the initial
// size; a generic family is the face the system takes for it.
TEST_F(Styled, FontSizesAndGenericFamilies) {
    const std::string out = Draw(Document(R"svg(<style>.em { font-size: 1.5em } .pt { font-size: 7.5pt }</style>
<g font-size="16" font-family="DejaVu Serif">
<text font-size="10.5">A</text>
<text class="pt">B</text>
<text class="em" font-size="40">C</text>
<text style="font-size:150%" font-size="30">D</text>
<text font-size="medium">E</text>
<text style="font-size:x-large">F</text>
<text font-size="larger">G</text>
<text style="font-size:smaller">H</text>
<text font-size="2ex">I</text>
<text font-size="20"><tspan font-size="0.25em">J</tspan></text>
<text font-size="5mm" font-family="Missing, sans-serif">K</text>
</g>)svg"));
    std::string sizes;
    for (size_t at = out.find(" size="); at != std::string::npos; at = out.find(" size=", at + 1))
        sizes += out.substr(at + 6, out.find(' ', at + 6) - at - 6) + " ";
    EXPECT_EQ(sizes, "10500 10000 24000 24000 16000 23040 19200 13333 16000 5000 18898 ") << out;
    EXPECT_NE(out.find("text \"K\" 0,254000 size=18898 weight=0 family=DejaVu Sans "), std::string::npos) << out;
    // The root's em counts from the initial size, whatever its attribute.
    std::string root = Document("<text>R</text>");
    root.insert(root.find('>'), " font-size=\"10\" style=\"font-size:2em\"");
    EXPECT_NE(Draw(root).find("text \"R\" 0,254000 size=32000 "), std::string::npos) << Draw(root);
}

// display, visibility, opacity and the fill rule through the style engine:
// display and opacity stay with their element, visibility and the rule are
// inherited, from sheets and style attributes as from attributes; the fill
// rule starts non-zero.
TEST_F(Styled, DisplayVisibilityOpacityAndFillRule) {
    EXPECT_EQ(Draw(Document(R"svg(<style>.off { display: none } .ghost { visibility: hidden }</style>
<g style="display:none"><rect width="1" height="1"/></g>
<rect width="2" height="2" class="off"/>
<g class="ghost" fill-rule="evenodd" opacity="0.5"><rect width="3" height="3"/><rect width="4" height="4" visibility="visible" fill-rule="nonzero"/></g>
<rect width="5" height="5" style="opacity: 0"/>
<path d="M0 0 L1 0 L1 1 Z"/>)svg")),
              "group [1000 0 0 -1000 0 254000] fill=#000000 opacity=0.5 hidden evenodd\n"
              "  rect 0,251000 3000x3000 fill=#000000 opacity=0.5 hidden evenodd\n"
              "  rect 0,250000 4000x4000 fill=#000000 opacity=0.5\n"
              "end group\n"
              "rect 0,249000 5000x5000 fill=#000000 opacity=0\n"
              "path 04:0,254000 44:1000,254000 4c:1000,253000 fill=#000000\n");
}

// A `use` instance inherits from the `use` wherever its content sets
// nothing itself, through nested instances too; where the content is
// defined it keeps its own inheritance.
TEST_F(Styled, UseInstancesInheritFromTheUse) {
    EXPECT_EQ(Draw(Document(R"svg(<defs fill="blue"><g id="icon"><rect width="1" height="1"/><rect width="2" height="2" fill="lime"/></g>
<path id="dot" d="M0 0 L1 0 L1 1 Z" style="fill: currentColor"/>
<use id="inner" xlink:href="#icon" stroke="black"/></defs>
<use xlink:href="#icon" fill="red" opacity="0.5"/>
<use xlink:href="#dot" style="color: #00FF00"/>
<use xlink:href="#inner" fill="red"/>)svg")),
              "group [1000 0 0 -1000 0 254000] fill=#ff0000 opacity=0.5\n"
              "  group [1000 0 0 -1000 0 254000] fill=#ff0000 opacity=0.5\n"
              "    rect 0,253000 1000x1000 fill=#ff0000 opacity=0.5\n"
              "    rect 0,252000 2000x2000 fill=#00ff00 opacity=0.5\n"
              "  end group\n"
              "end group\n"
              "group [1000 0 0 -1000 0 254000] fill=#000000\n"
              "  path 04:0,254000 44:1000,254000 4c:1000,253000 fill=#00ff00\n"
              "end group\n"
              "group [1000 0 0 -1000 0 254000] fill=#ff0000\n"
              "  group [1000 0 0 -1000 0 254000] fill=#ff0000 stroke=#000000/1000\n"
              "    group [1000 0 0 -1000 0 254000] fill=#ff0000 stroke=#000000/1000\n"
              "      rect 0,253000 1000x1000 fill=#ff0000 stroke=#000000/1000\n"
              "      rect 0,252000 2000x2000 fill=#00ff00 stroke=#000000/1000\n"
              "    end group\n"
              "  end group\n"
              "end group\n");
}

// A paint's fallback after a reference counts only when the reference
// names nothing; none as the fallback paints nothing.
TEST_F(Styled, PaintFallbacksCountWhenTheReferenceNamesNothing) {
    EXPECT_EQ(Draw(Document(R"svg(<linearGradient id="g"><stop offset="0" stop-color="red"/></linearGradient>
<rect width="1" height="1" fill="url(#g) blue"/>
<rect width="1" height="1" fill="url(#nothing) blue"/>
<rect width="1" height="1" fill="url(#nothing) none" stroke="url(#nothing) #00FF00"/>
<rect width="1" height="1" style="fill: url(#nothing) red"/>)svg")),
              "rect 0,253000 1000x1000 fill=linear(0,254000 1000,254000; 0:#ff0000/255)\n"
              "rect 0,253000 1000x1000 fill=#0000ff\n"
              "rect 0,253000 1000x1000 stroke=#00ff00/1000\n"
              "rect 0,253000 1000x1000 fill=#ff0000\n");
}

// An attribute written twice counts with its first value, on an element of
// a few attributes as on one of many.
TEST_F(Styled, ARepeatedAttributeKeepsItsFirstValue) {
    std::string many;
    for (int i = 0; i < 20; ++i) many += " data-" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
    for (const std::string& extra : {std::string(), many}) {
        EXPECT_EQ(Draw(Document("<rect x=\"1\" width=\"1\" height=\"1\"" + extra + " x=\"7\" X=\"9\"/>")),
                  "rect 1000,253000 1000x1000 fill=#000000\n")
            << extra.size();
    }
}

// Each drawn element lets its style go; what is asked again later (an
// instance of a drawn element, a gradient's stops) is computed anew, the
// same as the first time.
TEST_F(Styled, DrawnElementsLetTheirStylesGoAndReferencesComputeThemAgain) {
    std::string held;
    EXPECT_EQ(Draw(Document(R"svg(<style>.r { fill: #00FF00 }</style>
<g stroke="black" stroke-width="2"><rect id="a" width="1" height="1" class="r"/></g>
<use xlink:href="#a"/><use xlink:href="#a" stroke="red"/>
<defs><linearGradient id="l"><stop offset="0" stop-color="red"/><stop offset="1" stop-color="#0000FF"/></linearGradient></defs>
<rect width="2" height="2" fill="url(#l)"/><rect width="2" height="2" fill="url(#l)"/>)svg"),
                   &held),
              "group [1000 0 0 -1000 0 254000] fill=#000000 stroke=#000000/2000\n"
              "  rect 0,253000 1000x1000 fill=#00ff00 stroke=#000000/2000\n"
              "end group\n"
              "group [1000 0 0 -1000 0 254000] fill=#000000\n"
              "  rect 0,253000 1000x1000 fill=#00ff00\n"
              "end group\n"
              "group [1000 0 0 -1000 0 254000] fill=#000000 stroke=#ff0000/1000\n"
              "  rect 0,253000 1000x1000 fill=#00ff00 stroke=#ff0000/1000\n"
              "end group\n"
              "rect 0,252000 2000x2000 fill=linear(0,254000 2000,254000; 0:#ff0000/255 255:#0000ff/255)\n"
              "rect 0,252000 2000x2000 fill=linear(0,254000 2000,254000; 0:#ff0000/255 255:#0000ff/255)\n");
    // The root, the definitions only referred to, which are never drawn
    // themselves, and the ancestors computed again for a reference (the g
    // for the instances, the defs for the gradient): once each. An
    // instance's own records go with it, and the stops' once read.
    EXPECT_EQ(held, "svg g defs linearGradient ");
}

// What is read of many children at once (a text's spans, a gradient's
// stops, a clip path's and a mask's shapes) holds no record per child
// once read: such a document would otherwise hold some 7 KB a child.
TEST_F(Styled, ChildrenReadTogetherLetTheirStylesGo) {
    const auto many = [](const std::string& child) {
        std::string out;
        for (int i = 0; i < 40; ++i) out += child;
        return out;
    };
    for (const std::string& content : {"<text>" + many("<tspan>a</tspan>") + "</text>",
                                       "<text>" + many("<tspan dx='1'>a<tspan>b</tspan></tspan>") + "</text>",
                                       "<linearGradient id='l'>" + many("<stop offset='0'/>") +
                                           "</linearGradient><rect width='1' height='1' fill='url(#l)'/>",
                                       "<clipPath id='c'>" + many("<rect width='1' height='1'/>") +
                                           "</clipPath><rect width='1' height='1' clip-path='url(#c)'/>",
                                       "<mask id='m'>" + many("<rect width='1' height='1'/>") +
                                           "</mask><rect width='1' height='1' mask='url(#m)'/>"}) {
        size_t most = 0;
        Draw(Document(content), nullptr, &most);
        EXPECT_LE(most, 6u) << content.substr(0, 80);
    }
    std::string held;
    const std::string out = Draw(Document(R"svg(<defs>
<linearGradient id="l"><stop offset="0" stop-color="red"/><stop offset="1" stop-color="#0000FF"/></linearGradient>
<clipPath id="c"><rect width="5" height="5"/><circle r="2"/><use xlink:href="#u"/></clipPath>
<mask id="m"><rect width="5" height="5" fill="white"/><rect width="4" height="4" fill="white"/></mask>
<rect id="u" width="1" height="1"/></defs>
<text font-size="10" text-anchor="middle" fill="blue">a<tspan fill="red">b</tspan><tspan>c<tspan font-size="20">d</tspan>e</tspan><tspan fill="url(#l)">f</tspan>g</text>
<rect width="10" height="10" fill="url(#l)" clip-path="url(#c)" mask="url(#m)"/>)svg"),
                                 &held);
    EXPECT_EQ(held, "svg defs linearGradient clipPath mask ") << out;
    // The spans keep their own styles, the one filled by reference too.
    EXPECT_NE(out.find("text \"b\""), std::string::npos) << out;
    EXPECT_NE(out.find("fill=#ff0000"), std::string::npos) << out;
    EXPECT_NE(out.find("text \"f\""), std::string::npos) << out;
    EXPECT_NE(out.find("size=20000"), std::string::npos) << out;
}

}  // namespace
