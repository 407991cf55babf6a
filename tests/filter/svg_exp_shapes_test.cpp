// Shapes, path data, the plain-style check and the hand-over to the host,
// and the style selectors, with the document kept in memory and a service
// table of test functions.
#include <gtest/gtest.h>

#include <algorithm>

#include "export_fixture.h"

namespace svgf {
namespace {

using namespace testing_support;
using SVGExpShapesTest = ExportFixture;

TEST_F(SVGExpShapesTest, PathDataFollowsTheGrammar) {
    namespace n = node;
    const struct {
        std::vector<HostPoint> points;
        std::vector<uint8_t> types;
        const char* data;
    } cases[] = {
        {{P(10, 20)}, {n::kMove}, "M10 20"},
        {{P(10, 20)}, {n::kMove | n::kClose}, "M10 20z"},
        {{P(10, 20), P(30, 20), P(30, 40)}, {n::kMove, n::kLine, n::kLine | n::kClose}, "M10 20l20 0 0 20z"},
        {{P(0, 0), P(1, 0), P(1, 1), P(0, 1)}, {n::kMove, n::kLine, n::kLine, n::kLine}, "M0 0l1 0 0 1 -1 0"},
        // A curve after a line, then a second curve: "c" once.
        {{P(0, 0), P(5, 0), P(6, 1), P(7, 2), P(8, 3), P(9, 4), P(10, 5), P(11, 6)},
         {n::kMove, n::kLine, n::kControl, n::kControl, n::kCurveEnd, n::kControl, n::kControl, n::kCurveEnd},
         "M0 0l5 0c1,1 2,2 3,3 1,1 2,2 3,3"},
        // A closed subpath followed by a move: "z" right before the "m", and
        // the move measured from the subpath's start, where "z" leaves a
        // renderer's current point (from the last node it would land the
        // second subpath 4 units off).
        {{P(0, 0), P(4, 0), P(10, 10), P(11, 10)},
         {n::kMove, n::kLine | n::kClose, n::kMove, n::kLine},
         "M0 0l4 0zm10 10l1 0"},
        // Two closed contours, as in a glyph with a counter.
        {{P(0, 0), P(8, 0), P(8, 8), P(2, 2), P(6, 2), P(6, 6)},
         {n::kMove, n::kLine, n::kLine | n::kClose, n::kMove, n::kLine, n::kLine | n::kClose},
         "M0 0l8 0 0 8zm2 2l4 0 0 4z"},
        // A close followed by a line or a curve closes there too; what
        // follows starts again from the subpath's start.
        {{P(0, 0), P(4, 0), P(4, 4), P(10, 10), P(10, 0)},
         {n::kMove, n::kLine, n::kLine | n::kClose, n::kLine, n::kLine | n::kClose},
         "M0 0l4 0 0 4zl10 10 0 -10z"},
        {{P(0, 0), P(4, 0), P(1, 1), P(2, 2), P(3, 3)},
         {n::kMove, n::kLine | n::kClose, n::kControl, n::kControl, n::kCurveEnd},
         "M0 0l4 0zc1,1 2,2 3,3"},
        // A curve end without two nodes before it is reached by a line.
        {{P(0, 0), P(3, 4)}, {n::kMove, n::kCurveEnd}, "M0 0l3 4"},
        // Other bits of the type byte are ignored.
        {{P(0, 0), P(2, 0)}, {n::kMove | 0x02, n::kLine | 0x31}, "M0 0l2 0"},
    };
    SVGExp& exp = Begin();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.data);
        const PathRecord record{nullptr, static_cast<uint32_t>(c.points.size()), c.points.data(),
                                c.types.data(), nullptr};
        std::string data;
        EXPECT_EQ(exp.FormatPathData(data, record), 0);
        EXPECT_EQ(data, c.data);
    }
    End();
}

TEST_F(SVGExpShapesTest, PathsOfEveryNodeCountTheHostCanSendAreWritten) {
    // The node count is 16 bits: 65535 nodes, far past the point buffer's
    // first size, are written, as path and as clip path.
    SVGExp& exp = Begin();
    std::vector<HostPoint> points(65535, P(1, 1));
    std::vector<uint8_t> types(65535, node::kLine);
    types[0] = node::kMove;
    points.back() = P(7, 9);
    PathRecord record{nullptr, 65535, points.data(), types.data(), nullptr};
    EXPECT_EQ(exp.DrawPath(&record), 0);
    ClipRecord clip{};
    clip.kind = 4;
    clip.shape.path = {65535, points.data(), types.data(), 0};
    EXPECT_EQ(exp.BeginClipGroup(reinterpret_cast<HostWord>(&clip), 0), 0);
    EXPECT_EQ(exp.EndClipGroup(), 0);
    // No nodes: nothing at all.
    record.nodeCount = 0;
    EXPECT_EQ(exp.DrawPath(&record), 0);
    const std::string body = Body();
    // The path, and the clip group's g and /g.
    EXPECT_EQ(std::count(body.begin(), body.end(), '<'), 3) << body.substr(0, 200);
    // The last node's offset from the one before it, at the data's end.
    EXPECT_NE(body.find(" 6 8\"/>"), std::string::npos);
}

TEST_F(SVGExpShapesTest, RectanglesAndEllipsesConvertLikePoints) {
    SVGExp& exp = Begin(kCssStyleAttribute);
    // Odd width 5 at centre 0: the half truncates, x0 = -2 host units.
    RectangleRecord odd{nullptr, 0, 254000, 5, 0, 0, 0, nullptr};
    EXPECT_EQ(exp.DrawRectangle(&odd), 0);
    // The corner radius is scaled like the sizes.
    RectangleRecord round{nullptr, 127000, 127000, 127000, 25400, 2540, 0, nullptr};
    EXPECT_EQ(exp.DrawRectangle(&round), 0);
    EllipseRecord ellipse{nullptr, 127000, 127000, 101600, 50800, {}, nullptr};
    EXPECT_EQ(exp.DrawEllipse(&ellipse), 0);
    // Half diameters round in host units first: 127 -> 64 -> R(0.25) = 0, so no radii.
    EllipseRecord tiny{nullptr, 0, 0, 127, 127, {}, nullptr};
    EXPECT_EQ(exp.DrawEllipse(&tiny), 0);
    EXPECT_EQ(Body(),
              " <rect x=\"0\" y=\"0\" width=\"0\" height=\"0\"/>\r\n"
              " <rect x=\"250\" y=\"450\" width=\"500\" height=\"100\" rx=\"10\" ry=\"10\"/>\r\n"
              " <ellipse cx=\"500\" cy=\"500\" rx=\"200\" ry=\"100\"/>\r\n"
              " <ellipse cx=\"0\" cy=\"1000\"/>\r\n");
}

TEST_F(SVGExpShapesTest, TransparenciesPlainSvgCannotShowGoToTheHost) {
    const struct {
        uint16_t kind;
        uint16_t subKind;
        double start;
        double end;
        bool plain;
    } cases[] = {
        {1, 0, 30, 30, true},   {2, 1, 0, 0, true},     {2, 2, 0, 0, true},   {2, 5, 0, 0, true},
        {2, 3, 0, 0, false},    {2, 4, 0, 0, false},    {9, 0, 0, 100, true}, {9, 0, 0, 99, false},
        {10, 0, 1, 100, false}, {11, 0, 0, 100, true},  {0, 0, 0, 0, false},  {3, 0, 0, 0, false},
        {8, 0, 0, 0, false},    {12, 0, 0, 100, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.kind << "/" << c.subKind << " " << c.start << ".." << c.end);
        g_handOvers.clear();
        SVGExp& exp = Begin();
        Style style;
        style.Fill(kFillUniform, Rgb(255, 0, 0)).Transparency(c.kind, c.subKind, c.start, c.end);
        const HostRect box{0, 254000, 254000, 0};
        const HostPoint points[2] = {P(0, 0), P(10, 0)};
        const uint8_t types[2] = {node::kMove, node::kLine};
        const PathRecord path{&style.attributes, 2, points, types, &box};
        const RectangleRecord rect{&style.attributes, 1, 2, 3, 4, 5, 6, &box};
        const EllipseRecord ellipse{&style.attributes, 127000, 127000, 2540, 2540, {}, &box};
        EXPECT_EQ(exp.DrawPath(&path), 0);
        EXPECT_EQ(exp.DrawRectangle(&rect), 0);
        EXPECT_EQ(exp.DrawEllipse(&ellipse), c.plain ? 0 : 202);
        const std::string body = Body();
        if (c.plain) {
            EXPECT_TRUE(g_handOvers.empty());
            EXPECT_NE(body.find("<path"), std::string::npos);
            EXPECT_NE(body.find("<ellipse"), std::string::npos);
        } else {
            EXPECT_EQ(body, "");
            ASSERT_EQ(g_handOvers.size(), 2u);
            EXPECT_EQ(g_handOvers[0].service, svc::kHandOverPath);
            EXPECT_EQ(g_handOvers[0].args,
                      (std::vector<intptr_t>{42, intptr_t(&style.attributes), 2, intptr_t(points),
                                             intptr_t(types), intptr_t(&box), intptr_t(&box)}));
            EXPECT_EQ(g_handOvers[1].service, svc::kHandOverRectangle);
            EXPECT_EQ(g_handOvers[1].args, (std::vector<intptr_t>{42, intptr_t(&style.attributes), 1, 2, 3, 4,
                                                                  5, 6, intptr_t(&box), intptr_t(&box)}));
            EXPECT_EQ(exp_->HostDrawn(), 1u);
        }
    }
}

TEST_F(SVGExpShapesTest, FillKindsTheHostDrawsAreHandedOverOnce) {
    for (uint16_t kind : {6, 7, 8}) {
        SCOPED_TRACE(kind);
        g_handOvers.clear();
        SVGExp& exp = Begin(kCssStyleAttribute);
        Style plain;
        plain.Fill(kind);
        Style notPlain;
        notPlain.Fill(kind).Transparency(3);
        const RectangleRecord a{&plain.attributes, 127000, 127000, 2540, 2540, 0, 0, nullptr};
        const RectangleRecord b{&notPlain.attributes, 127000, 127000, 2540, 2540, 0, 0, nullptr};
        const EllipseRecord e{&plain.attributes, 127000, 127000, 2540, 2540, {}, nullptr};
        EXPECT_EQ(exp.DrawRectangle(&a), 0);
        EXPECT_EQ(exp.DrawRectangle(&b), 0);
        EXPECT_EQ(exp.DrawEllipse(&e), 0);
        // The plain one is both handed over and written without a fill; the
        // other only handed over, once; the ellipse is never handed over.
        EXPECT_EQ(g_handOvers.size(), 2u);
        EXPECT_EQ(Body(),
                  " <rect style=\"fill:none\" x=\"495\" y=\"495\" width=\"10\" height=\"10\"/>\r\n"
                  " <ellipse style=\"fill:none\" cx=\"500\" cy=\"500\" rx=\"5\" ry=\"5\"/>\r\n");
    }
}

TEST_F(SVGExpShapesTest, NullAttributesMeanNoStyle) {
    SVGExp& exp = Begin();
    const HostPoint points[2] = {P(1, 2), P(3, 4)};
    const uint8_t types[2] = {node::kMove, node::kLine};
    const PathRecord path{nullptr, 2, points, types, nullptr};
    EXPECT_EQ(exp.DrawPath(&path), 0);
    // Attributes whose records are all absent: no fill, no outline.
    const HostAttributes none{};
    const PathRecord bare{&none, 2, points, types, nullptr};
    EXPECT_EQ(exp.DrawPath(&bare), 0);
    EXPECT_EQ(Body(), " <path d=\"M1 2l2 2\"/>\r\n <path class=\"fil0\" d=\"M1 2l2 2\"/>\r\n");
}

TEST_F(SVGExpShapesTest, EqualFillsShareAClassAndRulesComeInKeyOrder) {
    SVGExp& exp = Begin();
    Style blue, red, redAgain, redHalf, none;
    blue.Fill(kFillUniform, Rgb(0, 0, 255)).Outline(kOutlineSolid, 2540, Rgb(0, 0, 0));
    red.Fill(kFillUniform, Rgb(255, 0, 0)).Outline(kOutlineSolid, 762, Rgb(0, 0, 0));
    redAgain.Fill(kFillUniform, Rgb(255, 0, 0));
    redHalf.Fill(kFillUniform, Rgb(255, 0, 0)).Transparency(kTransparencyUniform, 0, 50, 50);
    none.Outline(kOutlineNone, 762);
    for (Style* s : {&blue, &red, &redAgain, &redHalf, &none}) {
        const RectangleRecord r{&s->attributes, 127000, 127000, 2540, 2540, 0, 0, nullptr};
        EXPECT_EQ(exp.DrawRectangle(&r), 0);
    }
    const std::string doc = End();
    for (const char* element : {"<rect class=\"fil0 str0\"", "<rect class=\"fil1 str1\"",
                                "<rect class=\"fil1\"", "<rect class=\"fil2\"", "<rect class=\"fil3\""}) {
        EXPECT_NE(doc.find(element), std::string::npos) << element;
    }
    // Outlines by width, then fills by kind, opacity and colour (red, green, blue).
    const size_t rules = doc.find("<![CDATA[");
    EXPECT_NE(doc.find("    .str1 {stroke:#000000;stroke-width:3}\r\n"
                       "    .str0 {stroke:#000000;stroke-width:10}\r\n"
                       "    .fil3 {fill:none}\r\n"
                       "    .fil0 {fill:#0000FF}\r\n"
                       "    .fil1 {fill:#FF0000}\r\n"
                       "    .fil2 {fill:#FF0000;fill-opacity:0.501961}\r\n",
                       rules),
              std::string::npos)
        << doc;
}

TEST_F(SVGExpShapesTest, InlineOutlinesAndUniformTransparency) {
    SVGExp& exp = Begin(kCssStyleAttribute);
    Style dashed;
    dashed.Fill(kFillUniform, Rgb(0, 128, 0)).Outline(kOutlineDashed, 1000000, Rgb(1, 2, 3));
    dashed.Transparency(kTransparencyUniform, 0, 25, 25);
    dashed.outline.cap = 1;
    dashed.outline.join = 7;  // not a join the export knows: the default stays
    // More entries than the record holds: only the 17 that fit are read. The
    // products need 64 bits (10000 x 1000000).
    dashed.outline.dashCount = 500;
    int16_t entries[17];
    for (int i = 0; i < 17; ++i) entries[i] = static_cast<int16_t>(i == 0 ? 10000 : 1);
    std::memcpy(reinterpret_cast<uint8_t*>(&dashed.outline) + offsetof(HostOutlineRecord, dashes), entries,
                sizeof entries);
    Style zeroWidth;
    zeroWidth.Outline(kOutlineSolid, 0, Rgb(0, 0, 0));
    for (Style* s : {&dashed, &zeroWidth}) {
        const RectangleRecord r{&s->attributes, 127000, 127000, 2540, 2540, 0, 0, nullptr};
        EXPECT_EQ(exp.DrawRectangle(&r), 0);
    }
    std::string dashes = "39370079";
    for (int i = 1; i < 17; ++i) dashes += " 3937";
    EXPECT_EQ(Body(),
              // The transparency is the whole outlined element's.
              " <rect style=\"fill:#008000;opacity:0.749020;stroke:#010203;stroke-width:3937;"
              "stroke-linecap:round;stroke-dasharray:" +
                  dashes +
                  "\" x=\"495\" y=\"495\" width=\"10\" height=\"10\"/>\r\n"
                  " <rect style=\"fill:none;stroke:#000000;stroke-width:0\" x=\"495\" y=\"495\" "
                  "width=\"10\" height=\"10\"/>\r\n");
}

TEST_F(SVGExpShapesTest, FontsFollowTheStyleFlags) {
    const struct {
        uint32_t flags;
        const char* css;
    } cases[] = {
        {0x0, "font-weight:normal;font-size:100;font-family:Ar"},
        {0x1, "font-weight:100;font-size:100;font-family:Ar"},
        {0x2000, "font-style:italic;font-weight:bold;font-size:100;font-family:Ar"},
        {0x3000, "font-weight:normal;font-size:100;font-family:Ar"},
        {0x20000, "font-style:italic;font-weight:900;font-size:100;font-family:Ar"},
        {0x20000040, "font-variant:small-caps;font-weight:normal;font-size:100;font-family:Ar"},
        {0x40000000, "font-weight:normal;font-size:100;font-family:Ar"},
        {0x08000000, "font-weight:normal;font-size:100;font-family:Ar;vertical-align:super"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flags);
        SVGExp& exp = Begin(kCssStyleAttribute);
        exp.Font().record.styleFlags = c.flags;
        exp.Font().record.size = 25400;  // a tenth of an inch
        exp.Font().family = "Ar";
        SVGGroup element;
        exp.ResolveFont(element);
        ASSERT_TRUE(element.style.font);
        EXPECT_EQ(element.style.font->CssText() + VerticalAlignText(element.style.font->verticalAlign),
                  c.css);
        End();
    }
}

TEST_F(SVGExpShapesTest, FontClassesKeyOnTheFontAndItsAlignment) {
    SVGExp& exp = Begin();
    exp.Font().record.size = 25400;
    exp.Font().family = "Ar";
    SVGGroup a, b, c;
    exp.ResolveFont(a);
    exp.ResolveFont(b);
    exp.Font().record.styleFlags = 0x10000000;  // sub
    exp.ResolveFont(c);
    EXPECT_EQ(a.classes.ClassAttribute(), "class=\"fnt0\"");
    EXPECT_EQ(b.classes.ClassAttribute(), "class=\"fnt0\"");
    EXPECT_EQ(c.classes.ClassAttribute(), "class=\"fnt1\"");
    const std::string doc = End();
    EXPECT_NE(doc.find(".fnt1 {font-weight:normal;font-size:100;font-family:Ar;vertical-align:sub}"),
              std::string::npos);
}

}  // namespace
}  // namespace svgf
