// The texts of every style record and element object.
#include <gtest/gtest.h>

#include <functional>

#include "svg_elements.h"
#include "svg_gradient.h"
#include "svg_style.h"
#include "svg_transform.h"

namespace svgf {
namespace {

struct TextCase {
    const char* name;
    std::function<std::string()> make;
    std::string expected;
};

void ExpectTexts(const std::vector<TextCase>& cases) {
    for (const TextCase& c : cases) EXPECT_EQ(c.make(), c.expected) << c.name;
}

template <typename Fill>
std::string FillText(Fill fill, uint32_t rule = 0, uint16_t opacity = kOpaque) {
    fill.fillRule = rule;
    fill.opacity = opacity;
    return fill.CssText();
}

TEST(SvgSerialiser, FillTexts) {
    ExpectTexts({
        {"none", [] { return FillText(SVGFill_None()); }, "fill:none"},
        {"none ignores rule", [] { return FillText(SVGFill_None(), 1, 3); }, "fill:none"},
        {"red", [] { return FillText(SVGFill_Color(255, 0, 0)); }, "fill:#FF0000"},
        {"hex digits", [] { return FillText(SVGFill_Color(0x0A, 0xB1, 0xFE)); }, "fill:#0AB1FE"},
        {"half opacity", [] { return FillText(SVGFill_Color(255, 0, 0), 0, 128); },
         "fill:#FF0000;fill-opacity:0.501961"},
        {"nonzero", [] { return FillText(SVGFill_Color(0, 0, 0), 1); }, "fill:#000000;fill-rule:nonzero"},
        {"inherit and opacity", [] { return FillText(SVGFill_Color(0, 0, 0), 2, 0); },
         "fill:#000000;fill-rule:inherit;fill-opacity:0.000000"},
        {"unknown rule", [] { return FillText(SVGFill_Color(0, 0, 0), 7); }, "fill:#000000"},
        {"reference", [] { return FillText(SVGFill_InlineReference("id3")); }, "fill:url(#id3)"},
        {"reference with rule", [] { return FillText(SVGFill_InlineReference("id3"), 1); },
         "fill:url(#id3);fill-rule:nonzero"},
        {"class rule", [] { return FillClassRule(0, SVGFill_Color(255, 0, 0)); }, ".fil0 {fill:#FF0000}"},
        {"class rule none", [] { return FillClassRule(12, SVGFill_None()); }, ".fil12 {fill:none}"},
        {"reference rule", [] { return FillReferenceClassRule(2, "id5", 0.5); },
         ".fil2 {fill:url(#id5);fill-opacity:0.500000}"},
        {"reference rule without opacity", [] { return FillReferenceClassRule(2, "id5", -1.0); },
         ".fil2 {fill:url(#id5)}"},
    });
}

TEST(SvgSerialiser, OutlineTexts) {
    auto stroke = [](auto change) {
        SVGStroke_Color s;
        change(s);
        return s.CssText();
    };
    ExpectTexts({
        {"default plain", [] { return SVGStroke().CssText(); }, ""},
        {"default colour", [&] { return stroke([](SVGStroke_Color&) {}); }, "stroke:#000000"},
        {"width", [&] { return stroke([](SVGStroke_Color& s) { s.width = 3; }); },
         "stroke:#000000;stroke-width:3"},
        {"width 0", [&] { return stroke([](SVGStroke_Color& s) { s.width = 0; }); },
         "stroke:#000000;stroke-width:0"},
        {"round", [&] { return stroke([](SVGStroke_Color& s) { s.cap = s.join = 1; }); },
         "stroke:#000000;stroke-linecap:round;stroke-linejoin:round"},
        {"square bevel", [&] { return stroke([](SVGStroke_Color& s) { s.cap = s.join = 2; }); },
         "stroke:#000000;stroke-linecap:square;stroke-linejoin:bevel"},
        {"inherit", [&] { return stroke([](SVGStroke_Color& s) { s.cap = s.join = 3; }); },
         "stroke:#000000;stroke-linecap:inherit;stroke-linejoin:inherit"},
        {"miter", [&] { return stroke([](SVGStroke_Color& s) { s.miterLimit = 4.5; }); },
         "stroke:#000000;stroke-miterlimit:4.5"},
        {"dashes",
         [&] {
             return stroke([](SVGStroke_Color& s) {
                 s.dashes = {5, 3};
                 s.dashOffset = 2;
             });
         },
         "stroke:#000000;stroke-dasharray:5 3;stroke-dashoffset:2"},
        {"offset without dashes", [&] { return stroke([](SVGStroke_Color& s) { s.dashOffset = 2; }); },
         "stroke:#000000"},
        {"opacity", [&] { return stroke([](SVGStroke_Color& s) { s.opacity = 51; }); },
         "stroke:#000000;stroke-opacity:0.200000"},
        {"plain parts",
         [] {
             SVGStroke s;
             s.width = 2;
             s.opacity = 0;
             return s.CssText();
         },
         "stroke-width:2;stroke-opacity:0.000000"},
        {"class rule",
         [] {
             SVGStroke_Color s;
             s.width = 3;
             return StrokeClassRule(0, s);
         },
         ".str0 {stroke:#000000;stroke-width:3}"},
    });
}

SVGFontProps Font(int weight, int size, std::string family, uint32_t separate) {
    SVGFontProps font;
    font.weight = weight;
    font.size = size;
    font.family = std::move(family);
    font.separateProperties = separate;
    return font;
}

TEST(SvgSerialiser, FontTexts) {
    ExpectTexts({
        {"shorthand", [] { return Font(550, 12, "Arial", 0).CssText(); }, "font:550 12 Arial"},
        {"shorthand full",
         [] {
             SVGFontProps f = Font(400, 12, "Times New Roman", 0);
             f.italic = f.smallCaps = 1;
             return f.CssText();
         },
         "font:italic small-caps normal 12 'Times New Roman'"},
        {"separate bold", [] { return Font(700, 24, "Arial", 1).CssText(); },
         "font-weight:bold;font-size:24;font-family:Arial"},
        {"separate all",
         [] {
             SVGFontProps f = Font(300, 8, "Arial", 1);
             f.italic = f.smallCaps = 1;
             return f.CssText();
         },
         "font-style:italic;font-variant:small-caps;font-weight:300;font-size:8;font-family:Arial"},
        {"no family", [] { return Font(400, 10, "", 1).CssText(); }, "font-weight:normal;font-size:10"},
        {"two families",
         [] {
             SVGFontProps f = Font(400, 10, "Arial", 0);
             f.secondFamily = "Helvetica Neue";
             return f.CssText();
         },
         "font:normal 10 Arial,'Helvetica Neue'"},
        {"second first",
         [] {
             SVGFontProps f = Font(400, 10, "Arial", 0);
             f.secondFamily = "FontID0";
             f.secondFirst = 1;
             return f.CssText();
         },
         "font:normal 10 FontID0,Arial"},
        {"only second",
         [] {
             SVGFontProps f = Font(400, 10, "", 0);
             f.secondFamily = "FontID0";
             return f.CssText();
         },
         "font:normal 10 FontID0"},
        {"class rule", [] { return FontClassRule(3, Font(400, 12, "Arial", 0), 0); },
         ".fnt3 {font:normal 12 Arial}"},
        {"class rule super", [] { return FontClassRule(0, Font(400, 12, "Arial", 0), 1); },
         ".fnt0 {font:normal 12 Arial;vertical-align:super}"},
        {"class rule sub", [] { return FontClassRule(0, Font(400, 12, "Arial", 0), 2); },
         ".fnt0 {font:normal 12 Arial;vertical-align:sub}"},
    });
}

TEST(SvgSerialiser, TransformTexts) {
    auto list = [](SVGXformList nodes) { return TransformAttribute(nodes); };
    SVGXformNode unknown;
    unknown.kind = 9;
    ExpectTexts({
        {"empty", [&] { return list({}); }, ""},
        {"matrix", [&] { return list({SVGXformNode::Matrix(1, 0, 0.5, 1, 10.25, -3)}); },
         "transform=\"matrix(1 0 0.5 1 10.25 -3)\""},
        {"large and small", [&] { return list({SVGXformNode::Matrix(1e6, 1e-5, 0, 1, 123456.7, 0)}); },
         "transform=\"matrix(1E+06 1E-05 0 1 123457 0)\""},
        {"translate scale",
         [&] {
             return list({SVGXformNode::Translate(1, 2), SVGXformNode::Scale(2, -1)});
         },
         "transform=\"translate(1 2) scale(2 -1)\""},
        {"rotate", [&] { return list({SVGXformNode::Rotate(45000000)}); }, "transform=\"rotate(45)\""},
        {"skews",
         [&] {
             return list({SVGXformNode::SkewX(-12500000), SVGXformNode::SkewY(1)});
         },
         "transform=\"skewX(-12.5) skewY(1E-06)\""},
        {"unknown kind", [&] { return unknown.Text(); }, ""},
    });
}

SVGWriteState Depth(int depth, uint32_t cssMode = 2) {
    return SVGWriteState{depth, 2, cssMode};
}

TEST(SvgSerialiser, ShapeElements) {
    ExpectTexts({
        {"path",
         [] {
             SVGPath p;
             p.pathData = "M10 20l20 0 0 20z";
             p.classes.Add(std::make_shared<SVGFillSelector>(0));
             p.classes.Add(std::make_shared<SVGOutlineSelector>(1));
             return p.Write(Depth(1));
         },
         " <path class=\"fil0 str1\" d=\"M10 20l20 0 0 20z\"/>\r\n"},
        {"empty path", [] { return SVGPath().Write(Depth(1)); }, ""},
        {"path with transform only",
         [] {
             SVGPath p;
             p.transforms.push_back(SVGXformNode::Translate(1, 1));
             return p.Write(Depth(0));
         },
         "<path transform=\"translate(1 1)\"/>\r\n"},
        {"rect",
         [] {
             SVGRectangle r;
             r.x = 1, r.y = -2, r.width = 30, r.height = 40, r.rx = 5, r.ry = 6;
             return r.Write(Depth(2));
         },
         "  <rect x=\"1\" y=\"-2\" width=\"30\" height=\"40\" rx=\"5\" ry=\"6\"/>\r\n"},
        {"rect one radius",
         [] {
             SVGRectangle r;
             r.rx = 5;
             return r.Write(Depth(0));
         },
         "<rect x=\"0\" y=\"0\" width=\"0\" height=\"0\"/>\r\n"},
        {"rect styled",
         [] {
             SVGRectangle r;
             r.width = r.height = 1000;
             r.style.fill = CRCPtr<SVGFill>(std::make_unique<SVGFill_Color>(255, 0, 0));
             auto stroke = std::make_unique<SVGStroke_Color>();
             stroke->width = 3;
             r.style.stroke = CRCPtr<SVGStroke>(std::move(stroke));
             return r.Write(Depth(1));
         },
         " <rect style=\"fill:#FF0000;stroke:#000000;stroke-width:3\" x=\"0\" y=\"0\" width=\"1000\" "
         "height=\"1000\"/>\r\n"},
        {"ellipse",
         [] {
             SVGEllipse e;
             e.cx = 5, e.cy = 6, e.rx = 7, e.ry = 8;
             e.id.SetNumber(4);
             return e.Write(Depth(1));
         },
         " <ellipse id=\"id4\" cx=\"5\" cy=\"6\" rx=\"7\" ry=\"8\"/>\r\n"},
        {"ellipse without radii",
         [] {
             SVGEllipse e;
             e.rx = 7;
             return e.Write(Depth(0));
         },
         "<ellipse cx=\"0\" cy=\"0\"/>\r\n"},
        {"image",
         [] {
             SVGImage i;
             i.x = 1, i.y = 2, i.width = 3, i.height = 4;
             i.href = "pic_Images/a&b.png";
             i.AddMatrix(1, 0, 0, 1, 5, 6);
             i.style.clip = "id1";
             return i.Write(Depth(1));
         },
         " <image style=\"clip-path:url(#id1)\" transform=\"matrix(1 0 0 1 5 6)\" x=\"1\" y=\"2\" "
         "width=\"3\" "
         "height=\"4\" xlink:href=\"pic_Images/a&amp;b.png\"/>\r\n"},
    });
}

TEST(SvgSerialiser, ContainerElements) {
    ExpectTexts({
        {"empty group", [] { return SVGGroup().Write(Depth(1)); }, " <g >\r\n"},
        {"group",
         [] {
             SVGGroup g;
             g.id.SetName("Layer 1");
             g.transforms.push_back(SVGXformNode::Translate(1, 2));
             return g.Write(Depth(0));
         },
         "<g id=\"Layer 1\" transform=\"translate(1 2)\">\r\n"},
        {"anchor",
         [] {
             SVGAnchor a;
             a.href = "http://example.org/?a=1&b=\"2\"";
             return a.Write(Depth(2));
         },
         "  <a xlink:href=\"http://example.org/?a=1&amp;b=&quot;2&quot;\">\r\n"},
        {"pattern",
         [] {
             SVGPattern p;
             p.id.SetNumber(2);
             p.units = 1;
             p.transforms.push_back(SVGXformNode::Scale(2, 2));
             p.x = 1, p.y = 2, p.width = 3, p.height = 4;
             p.viewRight = 10, p.viewBottom = 20;
             return p.Write(Depth(1));
         },
         " <pattern id=\"id2\" patternUnits=\"objectBoundingBox\" patternTransform=\"scale(2 2)\" x=\"1\" "
         "y=\"2\" "
         "width=\"3\" height=\"4\" viewBox=\"0 0 10 20\">\r\n"},
        {"pattern without view",
         [] {
             SVGPattern p;
             p.id.SetNumber(2);
             p.viewLeft = 5;
             p.viewRight = 5;
             p.viewBottom = 9;
             return p.Write(Depth(0));
         },
         "<pattern id=\"id2\" patternUnits=\"userSpaceOnUse\" x=\"0\" y=\"0\" width=\"0\" height=\"0\">\r\n"},
        {"mask user space",
         [] {
             SVGMask m;
             m.id.SetNumber(0);
             m.hasRegion = true;
             m.x = 1, m.y = 2, m.width = 3, m.height = 4;
             return m.Write(Depth(1));
         },
         " <mask maskUnits=\"userSpaceOnUse\" id=\"id0\" x=\"1\" y=\"2\" width=\"3\" height=\"4\">\r\n"},
        {"mask bounding box",
         [] {
             SVGMask m;
             m.id.SetNumber(0);
             m.units = 1;
             m.hasRegion = true;
             m.x = 2550, m.y = 0, m.width = 25500, m.height = 12750;
             return m.Write(Depth(0));
         },
         "<mask maskUnits=\"objectBoundingBox\" id=\"id0\" x=\"10%\" height=\"50%\">\r\n"},
        {"mask without region",
         [] {
             SVGMask m;
             m.id.SetNumber(1);
             return m.Write(Depth(0));
         },
         "<mask id=\"id1\">\r\n"},
        {"clip path",
         [] {
             SVGClipPath c;
             c.id.SetNumber(0);
             auto rect = std::make_unique<SVGRectangle>();
             rect->width = rect->height = 10;
             c.shape = std::move(rect);
             return c.Write(Depth(2));
         },
         "  <clipPath id=\"id0\">\r\n   <rect x=\"0\" y=\"0\" width=\"10\" height=\"10\"/>\r\n  "
         "</clipPath>\r\n"},
    });
}

TEST(SvgSerialiser, TextElements) {
    auto text = [](int x, int y, int32_t rotation) {
        SVGText t;
        t.x = x;
        t.y = y;
        t.markup = "a&lt;b";
        t.rotation = rotation;
        t.classes.Add(std::make_shared<SVGFillSelector>(0));
        t.classes.Add(std::make_shared<SVGFontSelector>(0));
        return t.Write(Depth(1));
    };
    ExpectTexts({
        {"placed", [&] { return text(10, 20, 0); },
         " <text x=\"10\" y=\"20\" class=\"fil0 fnt0\">a&lt;b</text>\r\n"},
        {"at origin", [&] { return text(0, 0, 0); }, " <text class=\"fil0 fnt0\">a&lt;b</text>\r\n"},
        {"rotated 44.5", [&] { return text(0, 5, 44500000); },
         " <text x=\"0\" y=\"5\" class=\"fil0 fnt0\"><tspan rotate=\"45\">a&lt;b</tspan></text>\r\n"},
        {"rotated -44.5", [&] { return text(1, 0, -44500000); },
         " <text x=\"1\" y=\"0\" class=\"fil0 fnt0\"><tspan rotate=\"-45\">a&lt;b</tspan></text>\r\n"},
        {"tiny rotation", [&] { return text(1, 0, 400000); },
         " <text x=\"1\" y=\"0\" class=\"fil0 fnt0\">a&lt;b</text>\r\n"},
    });
}

TEST(SvgSerialiser, StyleAttributeJoinsEveryPart) {
    SVGStyleBlock style;
    style.fill = CRCPtr<SVGFill>(std::make_unique<SVGFill_Color>(1, 2, 3));
    style.stroke = CRCPtr<SVGStroke>(std::make_unique<SVGStroke_Color>());
    style.mask = MakeRC<SVGMaskInlineReference>("id1");
    style.clip = "id2";
    SVGFontProps font = Font(400, 12, "Bitstream \"Vera\" & Co", 0);
    font.verticalAlign = 2;
    style.font = MakeRC<SVGFontProps>(font);
    EXPECT_EQ(style.StyleAttribute(),
              "style=\"fill:#010203;stroke:#000000;mask:url(#id1);clip-path:url(#id2);"
              "font:normal 12 'Bitstream &quot;Vera&quot; &amp; Co';vertical-align:sub\"");

    SVGStyleBlock empty;
    EXPECT_EQ(empty.StyleAttribute(), "");
    empty.mask = MakeRC<SVGMaskInlineReference>("");  // an emptied mask reference writes nothing
    EXPECT_EQ(empty.StyleAttribute(), "");
}

SVGGradientStop Stop(uint16_t offset, SVGColor colour, uint16_t opacity = kStopWithoutOpacity) {
    SVGGradientStop stop;
    stop.offset = offset;
    stop.colour = colour;
    stop.opacity = opacity;
    return stop;
}

TEST(SvgSerialiser, GradientTexts) {
    ExpectTexts({
        {"linear user space",
         [] {
             SVGGradient_Linear g;
             g.id.SetNumber(3);
             g.x1 = 0, g.y1 = 250, g.x2 = 1000, g.y2 = 250;
             g.spread = 1;
             g.stops = {Stop(0, {255, 0, 0}), Stop(255, {0, 0, 255})};
             return g.Write(Depth(1, 1));
         },
         " <linearGradient id=\"id3\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" y1=\"250\" x2=\"1000\" "
         "y2=\"250\" "
         "spreadMethod=\"reflect\">\r\n"
         "  <stop offset=\"0\" style=\"stop-color:#FF0000\"/>\r\n"
         "  <stop offset=\"1\" style=\"stop-color:#0000FF\"/>\r\n"
         " </linearGradient>\r\n"},
        {"linear bounding box defaults",
         [] {
             SVGGradient_Linear g;
             g.id.SetNumber(0);
             g.units = 1;
             g.spread = 2;
             return g.Write(Depth(0, 0));
         },
         "  <linearGradient id=\"id0\" gradientUnits=\"objectBoundingBox\" spreadMethod=\"repeat\">\r\n"
         "  </linearGradient>\r\n"},
        {"linear bounding box values and reference",
         [] {
             SVGGradient_Linear g;
             g.id.SetNumber(1);
             g.units = 1;
             g.x1 = 2550, g.y1 = 5100, g.x2 = 12750, g.y2 = 25500;
             g.reference = "#id0";
             g.transforms.push_back(SVGXformNode::Rotate(90000000));
             return g.Write(Depth(5, 0));
         },
         "  <linearGradient id=\"id1\" gradientUnits=\"objectBoundingBox\" gradientTransform=\"rotate(90)\" "
         "xlink:href=\"#id0\" x1=\"10%\" y1=\"20%\" x2=\"50%\" y2=\"100%\">\r\n"
         "  </linearGradient>\r\n"},
        {"radial reverses stops",
         [] {
             SVGGradient_Radial g;
             g.id.SetNumber(4);
             g.cx = 1, g.cy = 2, g.r = 3, g.fx = 1, g.fy = 2;
             g.spread = 1;  // radial gradients write no spread method
             g.stops = {Stop(0, {255, 255, 255}), Stop(77, {128, 128, 128}), Stop(255, {0, 0, 0})};
             return g.Write(Depth(1, 2));
         },
         " <radialGradient id=\"id4\" gradientUnits=\"userSpaceOnUse\" cx=\"1\" cy=\"2\" r=\"3\" fx=\"1\" "
         "fy=\"2\">\r\n"
         "  <stop offset=\"1\" style=\"stop-color:#000000\"/>\r\n"
         "  <stop offset=\"0.301961\" style=\"stop-color:#808080\"/>\r\n"
         "  <stop offset=\"0\" style=\"stop-color:#FFFFFF\"/>\r\n"
         " </radialGradient>\r\n"},
        {"radial bounding box",
         [] {
             SVGGradient_Radial g;
             g.id.SetNumber(5);
             g.units = 1;
             g.r = 25500;
             return g.Write(Depth(1, 1));
         },
         " <radialGradient id=\"id5\" gradientUnits=\"objectBoundingBox\" r=\"100%\">\r\n"
         " </radialGradient>\r\n"},
        {"opacity stops carry white",
         [] {
             SVGGradient_Linear g;
             g.id.SetNumber(6);
             g.units = 1;
             g.stops = {Stop(0, {9, 9, 9}, 255), Stop(255, {9, 9, 9}, 0)};
             return g.Write(Depth(1, 2));
         },
         " <linearGradient id=\"id6\" gradientUnits=\"objectBoundingBox\">\r\n"
         "  <stop offset=\"0\" style=\"stop-color:#FFFFFF;stop-opacity:1\"/>\r\n"
         "  <stop offset=\"1\" style=\"stop-color:#FFFFFF;stop-opacity:0\"/>\r\n"
         " </linearGradient>\r\n"},
    });
}

}  // namespace
}  // namespace svgf
