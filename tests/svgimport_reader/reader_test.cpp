// The reader's frame, shapes, styles, structure, texts and images, read
// from SVG text and drawn on a recording canvas.
#include "svgimport/reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "reader_fixture.h"

namespace {

using namespace SVG;
using namespace reader_test;

// --- The root --------------------------------------------------------------

struct RootCase {
    const char* name;
    const char* attributes;
    double a, d, e, f;
    int32_t width, height;
};

class Roots : public ::testing::TestWithParam<RootCase> {};

TEST_P(Roots, SetTheRootMatrixAndSize) {
    const RootCase& c = GetParam();
    SvgDom dom(std::string("<svg ") + c.attributes + "/>");
    AttributeStyles styles;
    WParser reader(dom.Document(), &styles);
    ASSERT_TRUE(reader.Rooted()) << DescribeReadStatus(reader.Status());
    const WMatrix& m = reader.Current();
    EXPECT_NEAR(m.a, c.a, 1e-6);
    EXPECT_EQ(m.b, 0);
    EXPECT_EQ(m.c, 0);
    EXPECT_NEAR(m.d, c.d, 1e-6);
    EXPECT_NEAR(m.e, c.e, 0.01);
    EXPECT_NEAR(m.f, c.f, 0.01);  // lengths are read in single precision
    EXPECT_EQ(reader.Width(), c.width);
    EXPECT_EQ(reader.Height(), c.height);
}

constexpr double kU = 254000.0 / 96;

INSTANTIATE_TEST_SUITE_P(
    ViewBoxes, Roots,
    ::testing::Values(
        RootCase{"plain", R"svg(width="96" height="48")svg", kU, -kU, 0, 127000, 254000, 127000},
        RootCase{"in_millimetres", R"svg(width="25.4mm" height="50.8mm")svg", kU, -kU, 0, 508000, 254000,
                 508000},
        RootCase{"in_points_and_picas", R"svg(width="72pt" height="12pc")svg", kU, -kU, 0, 508000, 254000,
                 508000},
        // The view box is met in the middle of the viewport by default.
        RootCase{"view_box", R"svg(width="96" height="96" viewBox="0 0 100 50")svg", 2540, -2540, 0, 190500,
                 254000, 254000},
        RootCase{"view_box_commas", R"svg(width="96" height="96" viewBox="0,0,100,50")svg", 2540, -2540, 0,
                 190500, 254000, 254000},
        RootCase{"view_box_moved", R"svg(width="96" height="96" viewBox="10 20 100 50")svg", 2540, -2540,
                 -25400, 241300, 254000, 254000},
        RootCase{"view_box_stretched",
                 R"svg(width="96" height="96" viewBox="0 0 100 50" preserveAspectRatio="none")svg", 2540, -5080,
                 0, 254000, 254000, 254000},
        RootCase{"view_box_sliced",
                 R"svg(width="96" height="96" viewBox="0 0 100 50" preserveAspectRatio="xMaxYMax slice")svg",
                 5080, -5080, -254000, 254000, 254000, 254000},
        RootCase{"view_box_at_its_start",
                 R"svg(width="96" height="96" viewBox="0 0 100 50" preserveAspectRatio="defer xMinYMin")svg",
                 2540, -2540, 0, 254000, 254000, 254000},
        // An alignment that does not read keeps the default.
        RootCase{"view_box_unknown_alignment",
                 R"svg(width="96" height="96" viewBox="0 0 100 50" preserveAspectRatio="xLeftYTop")svg", 2540,
                 -2540, 0, 190500, 254000, 254000},
        // A unit in the view box leaves it out.
        RootCase{"view_box_unit", R"svg(width="96" height="96" viewBox="0 0 100px 50")svg", kU, -kU, 0,
                 254000, 254000, 254000},
        // Without width and height the view box gives the size; with one
        // of them, its proportions.
        RootCase{"size_from_view_box", R"svg(viewBox="0 0 96 48")svg", kU, -kU, 0, 127000, 254000, 127000},
        RootCase{"height_from_view_box", R"svg(width="96" viewBox="0 0 100 50")svg", 2540, -2540, 0, 127000,
                 254000, 127000},
        RootCase{"percentages_from_view_box", R"svg(width="100%" height="100%" viewBox="0 0 96 48")svg", kU,
                 -kU, 0, 127000, 254000, 127000},
        RootCase{"width_from_view_box", R"svg(height="96" viewBox="0 0 100 50")svg", 5080, -5080, 0, 254000,
                 508000, 254000}),
    [](const auto& info) { return std::string(info.param.name); });

// A root that gives no size reaches from the origin to the far corner of
// what it draws (strokes included); a side it gives stays.
TEST(Root, WithoutASizeHoldsItsContent) {
    struct Case {
        const char* root;
        int32_t width, height;
        const char* rect;
    };
    const Case cases[] = {
        {"<svg>", 254000, 127000, "rect 26458,0 227542x74083 fill=#000000"},
        {R"svg(<svg width="192">)svg", 508000, 127000, "rect 26458,0 227542x74083 fill=#000000"},
        {R"svg(<svg height="96">)svg", 254000, 254000, "rect 26458,127000 227542x74083 fill=#000000"},
    };
    for (const Case& c : cases) {
        Read read(std::string(c.root) + R"svg(<rect x="10" y="20" width="86" height="28"/></svg>)svg");
        EXPECT_EQ(read.reader.Width(), c.width) << c.root;
        EXPECT_EQ(read.reader.Height(), c.height) << c.root;
        EXPECT_EQ(read.Text(), std::string(c.rect) + "\n") << c.root;
    }
    Read stroked(R"svg(<svg><circle cx="10" cy="10" r="10" stroke="black" stroke-width="4"/></svg>)svg");
    EXPECT_EQ(stroked.reader.Width(), 58208);
    EXPECT_EQ(stroked.reader.Height(), 58208);
}

TEST(Root, RefusesWhatCannotBeDrawn) {
    struct Case {
        const char* text;
        WReadStatus status;
    };
    const Case cases[] = {
        {"", WReadStatus::kNoRoot},
        {"<!-- nothing -->", WReadStatus::kNoRoot},
        {"<html/>", WReadStatus::kNotSvg},
        {"<Svg/>", WReadStatus::kNotSvg},
        {R"svg(<svg width="90" height="90" viewBox="0 0 0 50"><rect width="1" height="1"/></svg>)svg",
         WReadStatus::kEmptyViewBox},
        {R"svg(<svg viewBox="0 0 100 -1"/>)svg", WReadStatus::kEmptyViewBox},
    };
    for (const Case& c : cases) {
        Read read(c.text);
        EXPECT_FALSE(read.reader.Rooted()) << c.text;
        EXPECT_EQ(read.reader.Status(), c.status) << c.text;
        EXPECT_EQ(read.result, 0) << c.text;
        EXPECT_TRUE(read.canvas.lines.empty()) << c.text;
        EXPECT_NE(std::string(DescribeReadStatus(c.status)), "");
    }
    Read drawn(Doc(""));
    EXPECT_EQ(drawn.result, 1);
    EXPECT_EQ(drawn.reader.Parse(nullptr), 0);
}

// --- The walk ---------------------------------------------------------------

TEST(Walk, DrawsOnlyWhatStandsOutsideDefinitions) {
    Read read(Doc(R"svg(<title>t</title><desc>d<rect width="1" height="1"/></desc>
<defs><rect width="2" height="2"/></defs>
<linearGradient><rect width="3" height="3"/></linearGradient>
<pattern><rect width="4" height="4"/></pattern><clipPath><rect width="5" height="5"/></clipPath>
<mask><rect width="6" height="6"/></mask><symbol><rect width="7" height="7"/></symbol>
<marker><rect width="8" height="8"/></marker>
<unknown><rect width="9" height="9"/></unknown>)svg"));
    EXPECT_EQ(read.Text(), "rect 0,253000 1000x1000 fill=#000000\nrect 0,245000 9000x9000 fill=#000000\n");
    EXPECT_EQ(read.reader.IdCount(), 0u);  // emptied after the drawing
}

TEST(Walk, ALaterIdReplacesAnEarlierOne) {
    Read read(Doc(R"svg(<defs><rect id="a" width="1" height="1"/><rect id="a" width="2" height="2"/></defs>
<use xlink:href="#a"/>)svg"));
    ASSERT_EQ(read.canvas.Lines("rect").size(), 1u);
    EXPECT_EQ(read.canvas.Lines("rect")[0], "rect 0,252000 2000x2000 fill=#000000");
}

// --- Shapes -----------------------------------------------------------------

TEST(Shapes, GiveTheirGeometryInHostUnits) {
    Read read(Doc(R"svg(<rect x="10" y="20" width="30" height="40"/>
<rect x="1" y="1" width="10" height="10" rx="2"/>
<rect width="0" height="10"/><rect width="-1" height="10"/>
<circle r="9"/><circle cx="5" cy="5" r="0"/>
<ellipse cx="10" cy="20" rx="5" ry="3"/>
<line x2="10"/>
<polyline points="0,0 10,0"/><polygon points="0,0 10,0 10,10"/><polygon points="0,0 10,0 0,0"/>
<polygon points="0,0 10,0 10,10 5"/><polyline points="0,0 10,0 # 3,3"/>)svg"));
    EXPECT_EQ(read.Text(),
              "rect 10000,194000 30000x40000 fill=#000000\n"
              "rect 1000,243000 10000x10000 corner=2000 fill=#000000\n"
              "ellipse 0,254000 r9000,9000 fill=#000000\n"
              "ellipse 10000,234000 r5000,3000 fill=#000000\n"
              "path 04:0,254000 44:10000,254000 fill=#000000\n"
              "path 04:0,254000 44:10000,254000 fill=#000000\n"
              "path 00:0,254000 44:10000,254000 4c:10000,244000 fill=#000000\n"
              "path 00:0,254000 44:10000,254000 4c:0,254000 fill=#000000\n"
              "path 00:0,254000 44:10000,254000 4c:10000,244000 fill=#000000\n"
              "path 04:0,254000 44:10000,254000 fill=#000000\n");
}

TEST(Shapes, CircleOfTheTwoInchDocument) {
    Read read(Svg(R"svg(<circle r="9.6"/><rect width="96" height="96"/>)svg"));
    EXPECT_EQ(read.canvas.Lines("ellipse")[0], "ellipse 0,508000 r25400,25400 fill=#000000");
    EXPECT_EQ(read.canvas.Lines("rect")[0], "rect 0,254000 254000x254000 fill=#000000");
}

TEST(Shapes, RoundedRectanglesTheHostCannotRoundBecomePaths) {
    Read read(Doc(R"svg(<rect width="10" height="10" rx="2" ry="1"/>
<rect width="10" height="10" rx="2" transform="rotate(30)"/>
<rect width="10" height="4" ry="5"/>)svg"));
    const auto paths = read.canvas.Lines("path");
    ASSERT_EQ(paths.size(), 3u);
    // Four sides and four quarter ellipses: 4 moves or lines and 4 x 3 curve points.
    EXPECT_EQ(paths[0].substr(0, 45), "path 00:2000,254000 44:8000,254000 c0:9105,25");
    for (size_t i = 0; i < 2; ++i)
        EXPECT_EQ(std::count(paths[i].begin(), paths[i].end(), ':'), 17) << paths[i];
    // ry alone counts for rx too, each held to half its side: (5, 2), so
    // no side is left between the corners.
    EXPECT_EQ(paths[2].substr(0, 40), "path 00:5000,254000 c0:7761,254000 c0:10");
    EXPECT_EQ(std::count(paths[2].begin(), paths[2].end(), ':'), 13) << paths[2];
}

TEST(Shapes, TransformsApplyToTheirOwnGeometryOnly) {
    Read read(Doc(R"svg(<rect width="10" height="10" transform="translate(10 20) scale(2)"/>
<rect width="10" height="10"/><path d="M0 0 L10 0" transform="translate(0 10)"/><path d="M0 0 L10 0"/>)svg"));
    EXPECT_EQ(read.Text(),
              "rect 10000,214000 20000x20000 fill=#000000\n"
              "rect 0,244000 10000x10000 fill=#000000\n"
              "path 04:0,244000 44:10000,244000 fill=#000000\n"
              "path 04:0,254000 44:10000,254000 fill=#000000\n");
}

// --- Styles -------------------------------------------------------------------

TEST(Styles, PaintsStrokesAndOpacities) {
    Read read(Doc(R"svg(<rect width="1" height="1" fill="none" fill-opacity=".5"/>
<rect width="1" height="1" fill="red" fill-opacity=".5"/>
<rect width="1" height="1" fill="#00f" stroke="lime" stroke-width="2" stroke-opacity="50%"/>
<rect width="1" height="1" fill="none" stroke="black" stroke-width="2px" stroke-linecap="round" stroke-linejoin="bevel"/>
<rect width="1" height="1" fill="none" stroke="black" stroke-width="2" stroke-dasharray="4 2"/>
<rect width="1" height="1" style="fill:red" fill="blue"/>
<g fill="red" stroke="blue"><rect width="1" height="1"/></g>)svg"));
    const auto rects = read.canvas.Lines("rect");
    ASSERT_EQ(rects.size(), 7u);
    const char* styles[] = {
        "",
        " fill=#ff0000@128",
        " fill=#0000ff stroke=#00ff00/2000@128",
        " stroke=#000000/2000 cap1 join2",
        " stroke=#000000/2000 dash 2 1",
        " fill=#ff0000",
        " fill=#ff0000 stroke=#0000ff/1000",
    };
    for (size_t i = 0; i < rects.size(); ++i)
        EXPECT_EQ(rects[i], "rect 0,253000 1000x1000" + std::string(styles[i]));
}

// display: none leaves the element and its subtree out; visibility is
// inherited and hides only what does not set it back.
TEST(Styles, HiddenAndUndisplayedElements) {
    Read read(Doc(R"svg(<defs><rect id="r" width="2" height="2"/></defs>
<g display="none"><rect width="1" height="1"/></g>
<rect width="3" height="3" style="display:none"/>
<g visibility="hidden"><rect width="4" height="4"/><rect width="5" height="5" visibility="visible"/></g>
<use href="#r" display="none"/>
<use href="#r"/>)svg"));
    EXPECT_EQ(read.canvas.Lines("rect"), (std::vector<std::string>{"rect 0,250000 4000x4000 fill=#000000 hidden",
                                                                  "rect 0,249000 5000x5000 fill=#000000",
                                                                  "rect 0,252000 2000x2000 fill=#000000"}));
}

// An object's opacity is its own times every group's around it, the root's
// and a symbol instance's included; values beyond 0..1 are held to it.
TEST(Styles, OpacitiesMultiplyThroughGroups) {
    Read read(R"svg(<svg width="96" height="96" viewBox="0 0 254 254" opacity=".5">
<defs><symbol id="s" opacity=".5"><rect width="1" height="1"/></symbol></defs>
<rect width="1" height="1"/>
<g opacity=".5"><g opacity="50%"><rect width="2" height="2" opacity=".5"/></g></g>
<use href="#s" opacity=".5"/>
<a><rect width="3" height="3" opacity="2"/></a>
<rect width="4" height="4" opacity="-1"/>
</svg>)svg");
    EXPECT_EQ(read.canvas.Lines("rect"),
              (std::vector<std::string>{"rect 0,253000 1000x1000 fill=#000000 opacity=0.5",
                                        "rect 0,252000 2000x2000 fill=#000000 opacity=0.0625",
                                        "rect 0,253000 1000x1000 fill=#000000 opacity=0.125",
                                        "rect 0,251000 3000x3000 fill=#000000 opacity=0.5",
                                        "rect 0,250000 4000x4000 fill=#000000 opacity=0"}));
}

// A clip path's hidden children take no part; one with none left clips
// everything away, one with children the reader does not take does not.
TEST(Styles, ClipPathsOfHiddenChildren) {
    Read read(Doc(R"svg(<defs>
<clipPath id="half"><rect width="1" height="1"/><rect width="2" height="2" visibility="hidden"/></clipPath>
<clipPath id="none"><rect width="2" height="2" display="none"/></clipPath>
<clipPath id="empty"/>
<clipPath id="circle"><circle r="2"/></clipPath></defs>
<rect width="5" height="5" clip-path="url(#half)"/>
<rect width="5" height="5" clip-path="url(#none)"/>
<rect width="5" height="5" clip-path="url(#empty)"/>
<rect width="5" height="5" clip-path="url(#circle)"/>)svg"));
    const auto rects = read.canvas.Lines("rect 0,249000");
    ASSERT_EQ(rects.size(), 4u);
    EXPECT_NE(rects[0].find("clip=[path 04:0,253000 44:1000,253000 44:1000,254000 4c:0,254000]"), std::string::npos)
        << rects[0];
    EXPECT_EQ(rects[0].find("clips-all"), std::string::npos) << rects[0];
    EXPECT_NE(rects[1].find("clip=[] clips-all"), std::string::npos) << rects[1];
    EXPECT_NE(rects[2].find("clip=[] clips-all"), std::string::npos) << rects[2];
    EXPECT_EQ(rects[3].find("clips-all"), std::string::npos) << rects[3];
}

TEST(Styles, FontsGiveWeightCodesFamiliesAndSizes) {
    Read read(Svg(R"svg(<text font-weight="400">a</text><text font-weight="600" font-style="italic">b</text>
<text font-family="'Times New Roman', serif" font-size="12pt">c</text><text>d</text>)svg"));
    const auto texts = read.canvas.Lines("text");
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0], "text \"a\" 0,508000 size=42333 weight=0 fill=#000000");
    EXPECT_EQ(texts[1], "text \"b\" 0,508000 size=42333 weight=9 italic fill=#000000");
    EXPECT_EQ(texts[2], "text \"c\" 0,508000 size=42333 weight=0 family=Times New Roman fill=#000000");
    // Without a font the text is 12 points.
    EXPECT_EQ(texts[3], "text \"d\" 0,508000 size=42333 weight=0 fill=#000000");
}

// --- Structure ----------------------------------------------------------------

TEST(Structure, GroupsComposeTheirTransformAndGiveItBack) {
    Read read(
        Doc(R"svg(<g transform="translate(10 20)"><g transform="scale(2)"><rect width="1" height="1"/></g>
<rect width="1" height="1"/></g><rect width="1" height="1"/><g/>)svg"));
    EXPECT_EQ(read.Text(),
              "group [1000 0 0 -1000 10000 234000] fill=#000000\n"
              "  group [2000 0 0 -2000 10000 234000] fill=#000000\n"
              "    rect 10000,232000 2000x2000 fill=#000000\n"
              "  end group\n"
              "  rect 10000,233000 1000x1000 fill=#000000\n"
              "end group\n"
              "rect 0,253000 1000x1000 fill=#000000\n"
              "group [1000 0 0 -1000 0 254000] fill=#000000\n"
              "end group\n");
    // The root's matrix again (to rounding: the 32-bit build composes the
    // view box in extended precision).
    const WMatrix& m = read.reader.Current();
    const WMatrix want(1000, 0, 0, -1000, 0, 254000);
    for (const auto& [got, expected] : {std::pair{m.a, want.a}, {m.b, want.b}, {m.c, want.c}, {m.d, want.d},
                                        {m.e, want.e}, {m.f, want.f}}) {
        EXPECT_NEAR(got, expected, 1e-6);
    }
}

TEST(Structure, ARefusedGroupDrawsNothingAndStaysBalanced) {
    SvgDom dom(Doc(R"svg(<g><rect width="1" height="1"/></g><a><rect width="1" height="1"/></a>)svg"));
    AttributeStyles styles;
    WParser reader(dom.Document(), &styles);
    RecordingCanvas canvas(&reader);
    canvas.refuseGroups = true;
    EXPECT_EQ(reader.Parse(&canvas), 1);
    EXPECT_EQ(canvas.Text(), "anchor \n  rect 0,253000 1000x1000 fill=#000000\nend anchor\n");
    EXPECT_EQ(canvas.open, 0);
}

TEST(Structure, AnchorsCarryTheirTargetAndTheirTransform) {
    Read read(Doc(
        R"svg(<a xlink:href="http://example.org/" transform="translate(50 50)"><rect width="1" height="1"/></a>
<rect width="1" height="1"/>)svg"));
    EXPECT_EQ(read.Text(),
              "anchor http://example.org/\n  rect 50000,203000 1000x1000 fill=#000000\nend anchor\n"
              "rect 0,253000 1000x1000 fill=#000000\n");
}

TEST(Structure, UseDrawsWhatItNamesPlacedByItsPosition) {
    Read read(Doc(R"svg(<defs><g id="b" fill="red"><rect width="10" height="10"/></g></defs>
<use xlink:href="#b" x="5" y="6" transform="translate(100 0)"/><use href="#b"/><use xlink:href="#nothing"/>)svg"));
    EXPECT_EQ(read.Text(),
              "group [1000 0 0 -1000 105000 248000] fill=#000000\n"
              "  group [1000 0 0 -1000 105000 248000] fill=#ff0000\n"
              "    rect 105000,238000 10000x10000 fill=#ff0000\n"
              "  end group\n"
              "end group\n"
              "group [1000 0 0 -1000 0 254000] fill=#000000\n"
              "  group [1000 0 0 -1000 0 254000] fill=#ff0000\n"
              "    rect 0,244000 10000x10000 fill=#ff0000\n"
              "  end group\n"
              "end group\n");
}

TEST(Structure, UseOfItsOwnAncestorEnds) {
    Read read(Doc(R"svg(<g id="a"><rect width="1" height="1"/><use xlink:href="#a"/></g>
<use id="u1" xlink:href="#u2"/><use id="u2" xlink:href="#u1"/><use id="self" xlink:href="#self"/>)svg"));
    EXPECT_EQ(read.canvas.Lines("rect").size(), 1u);
    EXPECT_EQ(read.canvas.open, 0);
}

TEST(Structure, SymbolsAreDrawnOnlyThroughUse) {
    Read read(
        Doc(R"svg(<symbol id="s"><rect width="2" height="2"/></symbol><use xlink:href="#s" x="1"/>)svg"));
    EXPECT_EQ(read.Text(),
              "group [1000 0 0 -1000 1000 254000] fill=#000000\n"
              "  group [1000 0 0 -1000 1000 254000] clip=[rect 1000,0 254000x254000]\n"
              "    rect 1000,252000 2000x2000 fill=#000000\n"
              "  end group\n"
              "end group\n");
}

TEST(Structure, SwitchDrawsItsFirstChildWhoseConditionsHold) {
    Read read(Doc(R"svg(<switch><rect requiredExtensions="http://example.org/x" width="1" height="1"/>
<circle systemLanguage="fr" r="1"/><ellipse systemLanguage="fr, en-GB" rx="1" ry="2"/><rect width="3" height="3"/></switch>
<switch><g requiredFeatures="http://www.w3.org/TR/SVG11/feature#Shape"><rect width="4" height="4"/></g></switch>)svg"));
    // A switch is a group of its own.
    EXPECT_EQ(read.Text(),
              "group [1000 0 0 -1000 0 254000] fill=#000000\n"
              "  ellipse 0,254000 r1000,2000 fill=#000000\n"
              "end group\n"
              "group [1000 0 0 -1000 0 254000] fill=#000000\n"
              "  group [1000 0 0 -1000 0 254000] fill=#000000\n"
              "    rect 0,250000 4000x4000 fill=#000000\n"
              "  end group\n"
              "end group\n");
}

// A switch places its child by its transform; features outside static
// SVG 1.1, an empty feature list and any extension fail, on plain elements
// too.
TEST(Structure, ConditionsHoldForSwitchChildrenAndPlainElements) {
    Read read(Doc(R"svg(<switch transform="translate(10 0)">
<rect requiredFeatures="http://www.w3.org/TR/SVG11/feature#Shape http://www.w3.org/TR/SVG11/feature#Animation" width="1" height="1"/>
<rect requiredFeatures="" width="2" height="2"/>
<rect requiredFeatures="http://www.w3.org/TR/SVG11/feature#Shape http://www.w3.org/TR/SVG11/feature#Gradient" width="3" height="3"/>
</switch>
<rect requiredExtensions="" width="4" height="4"/><rect requiredFeatures="#Shape" width="5" height="5"/>
<rect requiredFeatures=" http://www.w3.org/TR/SVG11/feature#BasicStructure " width="6" height="6"/>)svg"));
    EXPECT_EQ(read.Text(),
              "group [1000 0 0 -1000 10000 254000] fill=#000000\n"
              "  rect 10000,251000 3000x3000 fill=#000000\n"
              "end group\n"
              "rect 0,248000 6000x6000 fill=#000000\n");
}

// Elements of other namespaces are not drawn, nor is what they hold; a
// prefix bound to SVG's namespace names SVG's elements.
TEST(Structure, OtherNamespacesAreNotDrawn) {
    Read read(R"svg(<svg width="96" height="96" viewBox="0 0 254 254" xmlns="http://www.w3.org/2000/svg" xmlns:s="http://www.w3.org/2000/svg" xmlns:x="http://example.org/x">
<x:rect width="1" height="1"/><x:g><rect width="2" height="2"/></x:g>
<g xmlns="http://www.w3.org/1999/xhtml"><rect width="3" height="3"/></g>
<s:rect width="4" height="4"/><s:g><rect width="5" height="5"/></s:g></svg>)svg");
    EXPECT_EQ(read.canvas.Lines("rect"),
              (std::vector<std::string>{"rect 0,250000 4000x4000 fill=#000000", "rect 0,249000 5000x5000 fill=#000000"}));
}

// --- Texts and images -----------------------------------------------------------

TEST(Texts, TakeAllTheirCharacterDataWithWhitespaceCollapsed) {
    Read read(Doc(R"svg(<text x="10" y="20">  Hello &#10;  world  </text>
<text>A<tspan rotate="0 0">B</tspan> <tspan>C</tspan></text>
<text><tspan>only a span</tspan></text><text>   </text><text/>)svg"));
    const auto texts = read.canvas.Lines("text");
    ASSERT_EQ(texts.size(), 6u);
    EXPECT_EQ(texts[0].substr(0, 32), "text \"Hello world\" 10000,234000 ");
    // Each span is a run of its own; the space between them stays with the
    // run before.
    EXPECT_EQ(texts[1].substr(0, 13), "text \"A\" 0,25");
    EXPECT_EQ(texts[2].substr(0, 9), "text \"B\" ");
    EXPECT_EQ(texts[3].substr(0, 9), "text \" \" ");
    EXPECT_EQ(texts[4].substr(0, 9), "text \"C\" ");
    EXPECT_EQ(texts[5].substr(0, 19), "text \"only a span\" ");
}

// A nested svg and a symbol instance are viewports: clipped to their
// rectangle unless their overflow shows, their view box met in it (in the
// middle by default), percentages counting from them; one without area
// shows nothing.
TEST(Structure, NestedViewportsFitTheirViewBoxAndClip) {
    Read read(Doc(R"svg(<svg x="10" y="20" width="40" height="20" viewBox="0 0 10 10"><rect width="50%" height="10"/></svg>
<svg width="10" height="10" style="overflow: visible"><rect width="1" height="1"/></svg>
<svg width="0" height="10"><rect width="1" height="1"/></svg>
<symbol id="s" viewBox="0 0 10 10" preserveAspectRatio="xMinYMax slice"><rect width="10" height="10"/></symbol>
<use xlink:href="#s" x="5" width="20" height="40"/>)svg"));
    EXPECT_EQ(read.Text(),
              "group [1000 0 0 -1000 0 254000] fill=#000000\n"
              "  group [1000 0 0 -1000 0 254000] clip=[rect 10000,214000 40000x20000]\n"
              "    rect 20000,214000 10000x20000 fill=#000000\n"
              "  end group\n"
              "end group\n"
              "group [1000 0 0 -1000 0 254000] fill=#000000\n"
              "  group [1000 0 0 -1000 0 254000]\n"
              "    rect 0,253000 1000x1000 fill=#000000\n"
              "  end group\n"
              "end group\n"
              "group [1000 0 0 -1000 0 254000] fill=#000000\n"
              "end group\n"
              "group [1000 0 0 -1000 5000 254000] fill=#000000\n"
              "  group [1000 0 0 -1000 5000 254000] clip=[rect 5000,214000 20000x40000]\n"
              "    rect 5000,214000 40000x40000 fill=#000000\n"
              "  end group\n"
              "end group\n");
}

// A gradient or pattern in the text's box units paints the text: the
// reference is resolved over the text's box, not dropped for want of one.
TEST(Texts, TakeReferencePaintsInTheirBoxUnits) {
    Read read(Doc(R"svg(<linearGradient id="g"><stop offset="0" stop-color="red"/></linearGradient>
<pattern id="p" width=".5" height=".5"><rect width="1" height="1"/></pattern>
<text x="10" y="20" font-size="10" fill="url(#g)">AB</text>
<text x="10" y="20" font-size="10" fill="url(#p)">AB</text>)svg"));
    const auto texts = read.canvas.Lines("text");
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_NE(texts[0].find("fill=linear(10000,244000 20000,244000; 0:#ff0000/255)"), std::string::npos)
        << texts[0];
    EXPECT_NE(texts[1].find("fill=pattern"), std::string::npos) << texts[1];
}

TEST(Images, ArePlacedAndLinked) {
    Read read(Svg(R"svg(<image x="0" y="0" width="96" height="96" xlink:href="picture.png"/>
<image width="96" height="96" xlink:href="picture.png" id="later"/>
<image width="96" height="96"/><image width="96" height="96" xlink:href="#later"/>
<image width="0" height="96" xlink:href="empty.png"/>)svg"));
    EXPECT_EQ(read.Text(),
              "image picture.png 0,254000 254000x254000 fill=#000000\n"
              "image picture.png 0,254000 254000x254000 fill=#000000\n");
}

}  // namespace

namespace {

// Ten levels, each drawing the next ten times: 10^10 elements if followed.
std::string Multiplying(const char* level) {
    std::string svg;
    for (int i = 9; i >= 0; --i) {
        svg += std::string("<") + level + " id=\"l" + std::to_string(i) + "\">";
        for (int k = 0; k < 10; ++k) {
            svg += i == 9
                       ? "<rect width=\"1\" height=\"1\"/>"
                       : (std::string(level) == "g" ? "<use xlink:href=\"#l" + std::to_string(i + 1) + "\"/>"
                                                    : "<rect width=\"1\" height=\"1\" clip-path=\"url(#l" +
                                                          std::to_string(i + 1) + ")\"/>");
        }
        svg += std::string("</") + level + ">";
    }
    return svg;
}

// Small limits, so that the test stays quick; the defaults are far above
// what documents need.
constexpr WReadLimits kSmall{2000, 50};

TEST(Budgets, UseInstancesThatMultiplyEnd) {
    Read read(Doc("<defs>" + Multiplying("g") + "</defs><use xlink:href=\"#l0\"/>"), kSmall);
    EXPECT_EQ(read.result, 1);
    const size_t rects = read.canvas.Lines("rect").size();
    EXPECT_LE(rects, static_cast<size_t>(kSmall.instanced));
    EXPECT_GT(rects, 1000u);
    EXPECT_EQ(read.canvas.open, 0);
}

// Each bound met is told once, naming it; a drawing within them tells none.
TEST(Budgets, EveryBoundMetIsTold) {
    std::string deep;
    for (int i = 0; i < 300; ++i) deep += "<g>";
    deep += "<rect width=\"1\" height=\"1\"/>";
    for (int i = 0; i < 300; ++i) deep += "</g>";
    const struct {
        const char* what;
        std::string content;
        std::vector<std::string> told;
    } kCases[] = {
        {"multiplying uses", "<defs>" + Multiplying("g") + "</defs><use xlink:href=\"#l0\"/>",
         {"drawing stopped after 2000 elements inside `use` instances; the rest was left out"}},
        // A clip path's children go into its one path without their own
        // clip paths: ten levels of ten clipped children build one clip
        // path, not ten billion.
        {"multiplying clip paths",
         Multiplying("clipPath") + "<rect width=\"1\" height=\"1\" clip-path=\"url(#l0)\"/>", {}},
        {"deep nesting", deep, {"elements or references nested deeper than 256 levels were left out"}},
        {"within the bounds", "<g><rect width=\"1\" height=\"1\"/></g>", {}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.what);
        Read read(Doc(c.content), kSmall);
        EXPECT_EQ(read.reader.DescribeLimitsMet(), c.told);
    }
}

TEST(Budgets, ClipPathsThatMultiplyEnd) {
    Read read(Doc(Multiplying("clipPath") + "<rect width=\"1\" height=\"1\" clip-path=\"url(#l0)\"/>"),
              kSmall);
    ASSERT_EQ(read.canvas.Lines("rect").size(), 1u);
    // Each clip path built asks for its own style and its ten shapes'.
    EXPECT_LE(read.styles.calls, 12 * (kSmall.nestedBuilds + 1));
}

}  // namespace
