// The computed style record and the cascade over trees built in code: a
// fresh record, inheritance, the font cache, a golden table of declared
// texts and what the getters read back, sheet against attribute
// precedence, presentation attributes, and "#id" references.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "markup/doc_tree.h"
#include "markup/pane_doc.h"
#include "markup/parser/dictionary.h"
#include "markup/style/css_manager.h"
#include "markup/style/graphics_imp.h"
#include "markup/style/style_properties.h"
#include "style_fixtures.h"
#include "tree_fixtures.h"

namespace {

using markup::AttrElement;
using markup::DocTree;
using markup::Node;
using markup_test::E;
using markup_test::WithAttribute;
using namespace markup::style;
using namespace style_test;

enum : std::uint32_t { kSvg = 186, kStyle = 187, kRect = 188, kGradient = 189 };
enum : std::uint32_t { kId = 1, kClass = 2, kStyleAttribute = 3, kFill = 4, kStrokeWidth = 5 };

std::unique_ptr<markup::Dictionary> SvgDictionary() {
    const std::vector<std::uint32_t> all = {kId, kClass, kStyleAttribute, kFill, kStrokeWidth};
    return SmallDictionary({{kSvg, "svg", all}, {kStyle, "style", all}, {kRect, "rect", all},
                            {kGradient, "lineargradient", all}},
                           {{kId, "id"}, {kClass, "class"}, {kStyleAttribute, "style"}, {kFill, "fill"},
                            {kStrokeWidth, "stroke-width"}});
}

std::string Hex(std::uint32_t word) {
    char text[16];
    std::snprintf(text, sizeof text, "%06X", word);
    return text;
}

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// What the getters say of one property.
std::string Readout(StyleProperties& s, std::uint32_t id) {
    std::int32_t unit = 0;
    DocTree* document = nullptr;
    Node* element = nullptr;
    std::uint32_t colour = 0;
    switch (id) {
        case 69:
        case 72: {
            const std::int32_t kind = id == 69 ? s.GetFill(document, element, colour) : s.GetStroke(document, element, colour);
            if (kind == kStylePaintColour) return "colour " + Hex(colour);
            if (kind == kStylePaintURL) return element ? "url" : "url to nothing";
            return std::to_string(kind);
        }
        case 6:
        case 24:
        case 29:
        case 46:
        case 109:
        case 110: {
            const std::int32_t v = s.GetIntLength(id, unit);
            return std::to_string(v) + "/" + std::to_string(unit);
        }
        case 7:
        case 62:
        case 68:
        case 71:
        case 73:
        case 77:
        case 78:
        case 90:
        case 96: {
            const double v = s.GetLength(id, unit);
            return Number(v) + "/" + std::to_string(unit);
        }
        case 113:
        case 118: {
            const double v = s.GetLength(id, unit);
            return Number(v) + "/" + std::to_string(unit);
        }
        case 9:
        case 10:
        case 101:
        case 112:
        case 114:
            return Hex(s.GetWord(id));
        case 19:
        case 23:
        case 34:
            return std::to_string(static_cast<std::int32_t>(s.GetWord(id)));
        case 76: {
            std::string out = std::to_string(s.GetDashCount());
            double v = 0;
            for (std::uint32_t i = 0; s.GetDash(i, v, unit); ++i) out += " " + Number(v) + "/" + std::to_string(unit);
            return out;
        }
        case 1: {
            markup::String family;
            return Str(s.GetFontFamily(family));
        }
        case 3:
        case 4:
        case 5: return s.GetFlag(id) ? "on" : "off";
        case 18:
            return std::string(s.GetTextDecoration(314) ? "L" : "") + (s.GetTextDecoration(344) ? "O" : "") +
                   (s.GetTextDecoration(386) ? "U" : "") + (s.GetTextDecoration(271) ? "B" : "");
        case 89: return Hex(s.GetStopColor());
        case 98: {
            std::int32_t w[4];
            const bool given = s.GetEnableBackground(w);
            return std::string(given ? "given" : "not") + " " + std::to_string(w[0]) + "," + std::to_string(w[1]) +
                   "," + std::to_string(w[2]) + "," + std::to_string(w[3]);
        }
        default: return std::to_string(s.GetKeyword(id));
    }
}

class CascadeTest : public ::testing::Test {
  protected:
    CascadeTest() {
        tree.SetDictionary(dictionary.get());
        pane.SetTree(&tree);
    }

    // A record cascaded for an element with that "style" attribute.
    std::unique_ptr<StyleProperties> Styled(AttrElement* element) {
        auto style = std::make_unique<StyleProperties>();
        style->SetPaneDocument(&pane);
        manager.ApplyCascade(element, style.get());
        return style;
    }

    platform::FixedFontBackend backend;
    GraphicsImp graphics{backend};
    std::unique_ptr<markup::Dictionary> dictionary = SvgDictionary();
    CSSManager manager{Css()};
    markup_test::TestFactory factory;
    DocTree tree{&factory, &manager};
    markup::BasePaneDoc pane;
};

TEST_F(CascadeTest, AFreshRecord) {
    StyleProperties s;
    EXPECT_EQ(Readout(s, 69), "colour 000000");  // SVG's initial fill is black
    EXPECT_EQ(Readout(s, 72), "331");
    EXPECT_EQ(s.GetStrokeLinecap(), 276u);
    EXPECT_EQ(s.GetStrokeLinejoin(), 325u);
    EXPECT_EQ(Readout(s, 73), "1/0");
    EXPECT_EQ(Readout(s, 71), "100/0");
    std::int32_t unit = 9;
    EXPECT_EQ(s.GetStrokeMiterlimit(unit), 8.0);
    EXPECT_EQ(unit, 0);
    EXPECT_EQ(Readout(s, 78), "100/0");
    EXPECT_EQ(Readout(s, 76), "0");
    double value = 7;
    EXPECT_FALSE(s.GetDash(0, value, unit));
    EXPECT_EQ(value, 7);
    Node* element = nullptr;
    EXPECT_EQ(s.GetClipPath(element), nullptr);
    EXPECT_EQ(element, nullptr);
    EXPECT_EQ(Readout(s, 6), "16/1");  // step 3
    EXPECT_EQ(Readout(s, 1), "DejaVu Serif");
    EXPECT_EQ(Readout(s, 34), "2");
    EXPECT_EQ(Readout(s, 10), "FF000000");
}

TEST_F(CascadeTest, Inheritance) {
    StyleProperties parent;
    parent.SetFillColour(0x123456);
    parent.SetKeyword(74, 355);
    parent.SetKeyword(75, 269);
    parent.SetLength(90, 0.25, 3, true);
    parent.SetFillColour(0x123456, 0.5);
    parent.AddDash(4, 1);
    parent.SetIntLength(6, 30, 3);
    StyleProperties child;
    child.InheritFrom(parent);
    EXPECT_EQ(Readout(child, 69), "colour 123456");
    EXPECT_EQ(child.GetFillAlpha(), 0.5);
    EXPECT_EQ(child.GetStrokeLinecap(), 355u);  // SVG inherits caps and joins
    EXPECT_EQ(child.GetStrokeLinejoin(), 269u);
    EXPECT_EQ(Readout(child, 90), "1/0");       // only when the child's mark is set
    EXPECT_EQ(Readout(child, 76), "1 4/1");
    EXPECT_EQ(Readout(child, 6), "30/3");       // the value with its unit
}

TEST_F(CascadeTest, TheFontIsMadeOnce) {
    StyleProperties s;
    const std::uint32_t before = backend.CreateCalls();
    Font* font = s.GetFont();
    EXPECT_EQ(s.GetFont(), font);
    EXPECT_LE(backend.CreateCalls() - before, 1u);
    EXPECT_STREQ(font->Description().faceName, "DejaVu Serif");
    EXPECT_EQ(s.EmExtent().cx, 8);  // 16 px, 8 per letter
    s.SetFlag(3, true);
    EXPECT_EQ(s.FontMetric(), 3);  // 16 x 1 / 5
}

TEST_F(CascadeTest, KeywordSetters) {
    StyleProperties s;
    s.SetKeyword(74, 367);
    s.SetKeyword(74, 999);
    EXPECT_EQ(s.GetStrokeLinecap(), 276u);
    s.SetKeyword(91, 358);
    s.SetKeyword(91, 305);
    EXPECT_EQ(s.GetKeyword(91), 358u);
    EXPECT_TRUE(s.GetOverflowInherit());
    s.SetKeyword(91, 303);
    EXPECT_FALSE(s.GetOverflowInherit());
    s.SetKeyword(100, 999);
    EXPECT_EQ(s.GetListMarker(), 267u);
    s.SetKeyword(12, 333);
    EXPECT_EQ(s.GetKeyword(12), 333u);
    s.SetKeyword(99, 392);  // not one the table sets
    EXPECT_EQ(s.GetKeyword(99), 331u);
}

struct Row {
    std::uint32_t id;
    const char* style;
    const char* expected;
};

class GoldenTable : public CascadeTest, public ::testing::WithParamInterface<Row> {};

TEST_P(GoldenTable, DeclaredTextToGetter) {
    const Row& row = GetParam();
    AttrElement* rect = E(kRect);
    WithAttribute(rect, kStyleAttribute, row.style);
    tree.AppendChild(rect);
    auto style = Styled(rect);
    EXPECT_EQ(Readout(*style, row.id), row.expected) << row.style;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GoldenTable,
    ::testing::Values(
        // Named colours paint.
        Row{69, "fill:red", "colour 0000FF"}, Row{72, "stroke:navy", "colour 800000"},
        Row{89, "stop-color:green", "008000"}, Row{69, "fill:#abc", "colour CCBBAA"},
        Row{69, "fill:rgb(300,0,0)", "colour 0000FF"}, Row{69, "fill:none", "331"},
        Row{69, "color:#00ff00;fill:currentColor", "colour 00FF00"}, Row{69, "fill:bogus", "colour 000000"},
        Row{72, "stroke:url(#nothing)", "url to nothing"},
        // Fractions survive.
        Row{73, "stroke-width:0.5", "0.5/3"}, Row{73, "stroke-width:0.5px", "0.5/1"},
        // SVG's lengths count CSS pixels, 96 to the inch.
        Row{73, "stroke-width:3pt", "4/1"}, Row{73, "stroke-width:1in", "96/1"},
        Row{73, "stroke-width:2.54cm", "96/1"}, Row{73, "stroke-width:1pc", "16/1"},
        Row{73, "stroke-width:50%", "50/2"},
        Row{78, "stroke-opacity:0.5", "0.5/3"}, Row{96, "opacity:0.25", "0.25/3"},
        Row{77, "stroke-dashoffset:1.5", "1.5/3"}, Row{71, "fill-opacity:0.5", "0.5/3"},
        Row{71, "fill-opacity:none", "0/0"}, Row{90, "stop-opacity:0.5", "0.5/3"},
        Row{76, "stroke-dasharray:1.5 2", "2 1.5/3 2/3"}, Row{76, "stroke-dasharray:3;stroke-dasharray:4", "1 4/3"},
        Row{76, "stroke-dasharray:3;stroke-dasharray:none", "0"},
        Row{74, "stroke-linecap:round", "355"}, Row{75, "stroke-linejoin:bevel", "269"},
        Row{74, "stroke-linecap:wobbly", "276"},
        // Fonts.
        // A percentage is a share of the inherited size (16).
        Row{6, "font-size:20px", "20/1"}, Row{6, "font-size:150%", "24/1"}, Row{6, "font-size:x-large", "32/1"},
        Row{6, "font-size:xx-large;font-size:larger", "48/1"}, Row{6, "font-size:xx-small;font-size:smaller", "10/1"},
        Row{6, "font-size:1em", "16/1"}, Row{5, "font-weight:bold", "on"}, Row{5, "font-weight:600", "on"},
        Row{3, "font-style:italic", "on"}, Row{4, "font-variant:small-caps", "on"},
        // The first installed family of the list, else the first named.
        Row{1, "font-family:Courier, serif", "DejaVu Serif"}, Row{1, "font-family:monospace", "DejaVu Sans Mono"},
        Row{1, "font-family:Missing, 'DejaVu Sans Mono', serif", "'DejaVu Sans Mono'"},
        Row{1, "font-family:Missing, Other", "Missing"}, Row{1, "font-family:'DejaVu Serif', monospace", "'DejaVu Serif'"},
        Row{1, "font-family:Courier;font-family:serif", "DejaVu Serif"},
        Row{18, "text-decoration:underline line-through", "LU"},
        Row{18, "text-decoration:underline;text-decoration:none", ""},
        // Boxes, sides and the rest.
        Row{24, "margin-top:10px;margin-top:10px", "20/1"}, Row{24, "margin-top:10px;margin-top:5%", "5/2"},
        Row{24, "margin-top:-10px", "0/1"}, Row{34, "border-top-width:3px", "5"},
        Row{34, "border-top-width:thick", "7"}, Row{29, "padding-top:2in", "169/1"},
        Row{19, "line-height:5;vertical-align:super", "2"}, Row{19, "line-height:5;vertical-align:sub", "-2"},
        Row{110, "background-position-y:top", "0/2"}, Row{109, "background-position-x:right", "100/2"},
        Row{98, "enable-background:new", "given 0,0,0,0"}, Row{98, "enable-background:new 1 2 3 4", "given 1,2,3,4"},
        Row{98, "enable-background:accumulate", "not 0,0,0,0"}, Row{68, "baseline-shift:super", "150/2"},
        Row{62, "glyph-orientation-vertical:90deg", "0/0"}, Row{7, "font-size-adjust:none", "1/0"},
        Row{10, "background-color:transparent", "FF000000"}, Row{10, "background-color:blue", "FF0000"},
        Row{101, "border-left-color:#010203", "030201"}, Row{70, "fill-rule:nonzero", "332"},
        Row{57, "list-style-type:square", "226"},
        // Signed decimals and exponents.
        Row{77, "stroke-dashoffset:-7.2", "-7.2/3"}, Row{77, "stroke-dashoffset:-1.5px", "-1.5/1"},
        Row{73, "stroke-width:+.5", "0.5/3"}, Row{96, "opacity:5e-1", "0.5/3"}, Row{73, "stroke-width:1E1px", "10/1"},
        Row{68, "baseline-shift:-50%", "-50/2"},
        // Collapse hides as hidden does.
        Row{88, "visibility:collapse", "303"}, Row{88, "visibility:hidden;visibility:visible", "390"},
        // The filter colours and the other SVG rows.
        Row{112, "flood-color:red", "0000FF"}, Row{112, "color:#00ff00;flood-color:currentColor", "00FF00"},
        Row{114, "lighting-color:rgb(1,2,3)", "030201"}, Row{112, "flood-color:bogus", "000000"},
        Row{113, "flood-opacity:0.25", "0.25/3"}, Row{118, "kerning:2px", "2/1"}, Row{118, "kerning:auto", "0/0"},
        Row{117, "dominant-baseline:central", "278"}, Row{116, "color-interpolation-filters:sRGB", "368"},
        Row{119, "color-profile:sRGB", "368"},
        // "initial" on a record without a parent, and "inherit" at the root,
        // give the initial value.
        Row{73, "stroke-width:4;stroke-width:initial", "1/0"}, Row{69, "fill:red;fill:inherit", "colour 000000"},
        Row{96, "opacity:0.5;opacity:inherit", "1/0"},
        // A value out of its property's range drops the declaration.
        Row{73, "stroke-width:3;stroke-width:-0.5", "3/3"}, Row{73, "stroke-width:-2px", "1/0"},
        Row{76, "stroke-dasharray:4;stroke-dasharray:5 -1", "1 4/3"}, Row{6, "font-size:20px;font-size:-1px", "20/1"},
        Row{6, "font:bold -12px serif", "16/1"}, Row{5, "font:bold -12px serif", "off"},
        Row{77, "stroke-dashoffset:-2", "-2/3"}));

TEST_F(CascadeTest, SheetThenAttributeThenNothingElse) {
    manager.AddStyleText(".fil0{fill:#FF0000} #r2{stroke:#00FF00;stroke-width:3} #r3{stroke:#0000FF}"
                         " rect.x{stroke-width:9}",
                         0);
    AttrElement* svg = E(kSvg);
    tree.AppendChild(svg);
    AttrElement* r1 = WithAttribute(E(kRect), kClass, "fil0");
    AttrElement* r2 = WithAttribute(WithAttribute(E(kRect), kId, "r2"), kStyleAttribute, "fill:url(#grad)");
    AttrElement* r3 = WithAttribute(WithAttribute(E(kRect), kId, "r3"), kClass, "fil0");
    AttrElement* gradient = WithAttribute(E(kGradient), kId, "GRAD");
    for (AttrElement* e : {r1, r2, r3, gradient}) svg->AppendChild(e);

    auto s1 = Styled(r1);
    EXPECT_EQ(Readout(*s1, 69), "colour 0000FF");  // #FF0000 is the word 0x0000FF
    auto s2 = Styled(r2);
    DocTree* document = nullptr;
    Node* element = nullptr;
    std::uint32_t colour = 0;
    EXPECT_EQ(s2->GetFill(document, element, colour), kStylePaintURL);
    EXPECT_EQ(document, &tree);
    EXPECT_EQ(element, gradient);  // the "#id" match ignores case
    EXPECT_EQ(Readout(*s2, 72), "colour 00FF00");
    EXPECT_EQ(Readout(*s2, 73), "3/3");
    // An id selector matches an element that also has a class.
    auto s3 = Styled(r3);
    EXPECT_EQ(Readout(*s3, 72), "colour FF0000");
    EXPECT_EQ(Readout(*s3, 69), "colour 0000FF");

    // The attribute wins over the rule, whatever its specificity.
    AttrElement* r4 = WithAttribute(WithAttribute(E(kRect), kClass, "x"), kStyleAttribute, "stroke-width:4");
    svg->AppendChild(r4);
    EXPECT_EQ(Readout(*Styled(r4), 73), "4/3");
}

// The cascade's order: presentation attribute, sheet by specificity, the
// "style" attribute, then the sheet's important declarations by
// specificity, then the attribute's important ones. The rect is
// <rect id="r" class="c" fill=... style=...>; the fill names who won.
struct Precedence {
    const char* sheet;
    const char* style;
    const char* winner;
};

class CascadeOrder : public CascadeTest, public ::testing::WithParamInterface<Precedence> {};

TEST_P(CascadeOrder, DecidesTheFill) {
    const Precedence& c = GetParam();
    manager.AddPresentationAttribute("fill");
    manager.AddStyleText(c.sheet, 0);
    AttrElement* svg = E(kSvg);
    tree.AppendChild(svg);
    AttrElement* rect = WithAttribute(WithAttribute(WithAttribute(E(kRect), kId, "r"), kClass, "c"), kFill, "#000001");
    if (*c.style) WithAttribute(rect, kStyleAttribute, c.style);
    svg->AppendChild(rect);
    EXPECT_EQ(Readout(*Styled(rect), 69), c.winner) << c.sheet << " / " << c.style;
}

INSTANTIATE_TEST_SUITE_P(
    Table, CascadeOrder,
    ::testing::Values(Precedence{"", "", "colour 010000"},
                      Precedence{"rect{fill:#000002}", "", "colour 020000"},
                      Precedence{"#r{fill:#000003} .c{fill:#000002}", "", "colour 030000"},
                      Precedence{"#r{fill:#000003}", "fill:#000004", "colour 040000"},
                      Precedence{"rect{fill:#000002 !important} #r{fill:#000003}", "fill:#000004", "colour 020000"},
                      Precedence{"#r{fill:#000003 !important} rect{fill:#000002 !important}", "", "colour 030000"},
                      Precedence{"rect{fill:#000002 !important}", "fill:#000004 !important", "colour 040000"},
                      Precedence{"svg rect{fill:#000002} rect{fill:#000005}", "", "colour 020000"},
                      Precedence{"svg>rect{fill:#000002} * {fill:#000005}", "", "colour 020000"},
                      Precedence{"rect{fill:#000002} rect{fill:nonsense}", "", "colour 020000"},
                      Precedence{"rect{fill:#000002} rect{fill:#12}", "", "colour 020000"},
                      Precedence{"rect{fill:#000002} rect:hover{fill:#000005}", "", "colour 020000"},
                      Precedence{"rect{fill:#000002} nosuchelement{fill:#000005}", "", "colour 020000"}));

// "inherit" takes the parent's value of any property, inherited or not,
// and "initial" the value a fresh record starts with; a shorthand's
// members take theirs. The child is <rect style=CHILD> in <g style=PARENT>.
struct WideCase {
    const char* parent;
    const char* child;
    std::uint32_t id;
    const char* expected;
};

class WideKeywords : public CascadeTest, public ::testing::WithParamInterface<WideCase> {};

TEST_P(WideKeywords, TakeTheParentsOrTheInitialValue) {
    const WideCase& c = GetParam();
    AttrElement* parent = WithAttribute(E(kSvg), kStyleAttribute, c.parent);
    AttrElement* child = WithAttribute(E(kRect), kStyleAttribute, c.child);
    tree.AppendChild(parent);
    parent->AppendChild(child);
    auto parentStyle = Styled(parent);
    StyleProperties style;
    style.SetPaneDocument(&pane);
    style.InheritFrom(*parentStyle);
    manager.ApplyCascade(child, &style);
    EXPECT_EQ(Readout(style, c.id), c.expected) << c.parent << " / " << c.child;
    // The parent is not kept past the cascade.
    EXPECT_EQ(style.Parent(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WideKeywords,
    ::testing::Values(WideCase{"opacity:0.5", "", 96, "1/0"}, WideCase{"opacity:0.5", "opacity:inherit", 96, "0.5/3"},
                      WideCase{"stop-color:red", "stop-color:inherit", 89, "0000FF"},
                      WideCase{"stop-opacity:0.5", "stop-opacity:INHERIT", 90, "0.5/3"},
                      WideCase{"fill:red", "fill:blue;fill:inherit", 69, "colour 0000FF"},
                      WideCase{"fill:red", "fill:initial", 69, "colour 000000"},
                      WideCase{"fill:red", "fill:inherit blue", 69, "colour 0000FF"},
                      WideCase{"stroke-width:4", "stroke-width:initial", 73, "1/0"},
                      WideCase{"stroke-dasharray:1 2", "stroke-dasharray:none;stroke-dasharray:inherit", 76,
                               "2 1/3 2/3"},
                      WideCase{"font-family:Missing", "font-family:serif;font-family:inherit", 1, "Missing"},
                      WideCase{"font-size:20px", "font-size:inherit", 6, "20/1"},
                      WideCase{"font:bold 20px serif", "font:initial", 5, "off"},
                      WideCase{"font:bold 20px serif", "font:initial", 6, "16/1"},
                      WideCase{"visibility:hidden", "visibility:initial", 88, "390"},
                      WideCase{"stroke-linecap:round", "stroke-linecap:initial", 74, "276"},
                      WideCase{"margin:5px", "margin:inherit", 24, "5/1"},
                      WideCase{"text-decoration:underline", "text-decoration:inherit", 18, "U"},
                      WideCase{"kerning:2px", "", 118, "2/1"},
                      WideCase{"color-interpolation-filters:sRGB", "", 116, "368"},
                      WideCase{"fill:red", "fill:inherit !important", 69, "colour 0000FF"}));

// A presentation attribute may say "inherit" too.
TEST_F(CascadeTest, PresentationAttributesInherit) {
    manager.AddPresentationAttribute("fill");
    AttrElement* parent = WithAttribute(E(kSvg), kFill, "#0000FF");
    AttrElement* child = WithAttribute(E(kRect), kFill, "inherit");
    manager.AddStyleText("svg { fill: #00FF00 }", 0);
    tree.AppendChild(parent);
    parent->AppendChild(child);
    auto parentStyle = Styled(parent);
    StyleProperties style;
    style.InheritFrom(*parentStyle);
    manager.ApplyCascade(child, &style);
    EXPECT_EQ(Readout(style, 69), "colour 00FF00");
}

TEST_F(CascadeTest, PresentationAttributesAreBelowEverything) {
    manager.AddStyleText(".c{fill:#0000FF}", 0);
    AttrElement* rect = WithAttribute(WithAttribute(E(kRect), kFill, "red; stroke: blue"), kStrokeWidth, "2");
    tree.AppendChild(rect);
    // No names registered: attributes are not declarations.
    EXPECT_EQ(Readout(*Styled(rect), 69), "colour 000000");
    manager.AddPresentationAttribute("fill");
    manager.AddPresentationAttribute("stroke-width");
    auto plain = Styled(rect);
    EXPECT_EQ(Readout(*plain, 69), "colour 0000FF");  // red
    EXPECT_EQ(Readout(*plain, 73), "2/3");
    EXPECT_EQ(Readout(*plain, 72), "331");  // what follows ";" is not a declaration
    WithAttribute(rect, kClass, "c");
    EXPECT_EQ(Readout(*Styled(rect), 69), "colour FF0000");  // the rule's blue
    WithAttribute(rect, kStyleAttribute, "fill:#00FF00");
    EXPECT_EQ(Readout(*Styled(rect), 69), "colour 00FF00");
}

// Elements that repeat a declaration text share its reading; past the
// bound of texts kept, every element still gets its own values.
TEST_F(CascadeTest, DeclarationTextsAreReadOnceAndStayRightPastTheirBound) {
    manager.AddPresentationAttribute("fill");
    manager.AddPresentationAttribute("stroke-width");
    const std::uint32_t count = 1500;  // beyond the texts kept
    std::vector<AttrElement*> rects;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::string fill = i % 2 ? "#" + Hex(i) : "red";
        const std::string width = std::to_string(i % 7 + 1);
        const std::string style = "fill:#" + Hex(0x100000 + i) + "; stroke-width: 9";
        AttrElement* rect = WithAttribute(E(kRect), kFill, fill.c_str());
        WithAttribute(rect, kStrokeWidth, width.c_str());
        if (i % 3 == 0) WithAttribute(rect, kStyleAttribute, style.c_str());
        tree.AppendChild(rect);
        rects.push_back(rect);
    }
    for (int pass = 0; pass < 2; ++pass) {
        for (std::uint32_t i = 0; i < count; ++i) {
            SCOPED_TRACE(i);
            auto style = Styled(rects[i]);
            // The record keeps a colour's bytes the other way round.
            const auto swapped = [](std::uint32_t rgb) {
                return Hex((rgb & 0xFF) << 16 | (rgb & 0xFF00) | rgb >> 16);
            };
            const std::string fill = i % 3 == 0 ? swapped(0x100000 + i) : i % 2 ? swapped(i) : "0000FF";
            ASSERT_EQ(Readout(*style, 69), "colour " + fill);
            ASSERT_EQ(Readout(*style, 73), i % 3 == 0 ? "9/3" : std::to_string(i % 7 + 1) + "/3");
        }
    }
}

// A list of names given to several managers (as the import gives its own
// to each document's) stays as it was when one of them adds a name; the
// names are found in a case-sensitive dictionary (an XML document's) as in
// another.
TEST_F(CascadeTest, ASharedListOfNamesServesEachManagerAsGiven) {
    auto names = std::make_shared<PresentationNames>();
    names->Add("fill");
    const std::shared_ptr<const PresentationNames> shared = std::move(names);
    AttrElement* rect = WithAttribute(WithAttribute(E(kRect), kFill, "#0000FF"), kStrokeWidth, "2");
    tree.AppendChild(rect);
    for (const bool caseSensitive : {false, true}) {
        dictionary->SetCaseSensitive(caseSensitive);
        manager.SetPresentationAttributes(shared);
        auto given = Styled(rect);
        EXPECT_EQ(Readout(*given, 69), "colour FF0000") << caseSensitive;
        EXPECT_EQ(Readout(*given, 73), "1/0") << caseSensitive;  // not read: the default
        manager.AddPresentationAttribute("stroke-width");
        EXPECT_EQ(shared->names.size(), 1u);
        auto added = Styled(rect);
        EXPECT_EQ(Readout(*added, 69), "colour FF0000") << caseSensitive;
        EXPECT_EQ(Readout(*added, 73), "2/3") << caseSensitive;
    }
}

}  // namespace
