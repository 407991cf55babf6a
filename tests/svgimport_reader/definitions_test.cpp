// Definitions built for references: gradients with their units, defaults,
// transforms, stops and xlink:href chains; patterns and their tiles; clip
// paths and masks; and the cycles among them, each of which ends.
#include <gtest/gtest.h>

#include "reader_fixture.h"

namespace {

using namespace SVG;
using namespace reader_test;

// The fill of the first rectangle drawn.
std::string FillOfRect(const Read& read) {
    const auto rects = read.canvas.Lines("rect");
    if (rects.empty()) return "no rect";
    const size_t at = rects[0].find(" fill=");
    return at == std::string::npos ? "none" : rects[0].substr(at + 6);
}

struct PaintCase {
    const char* name;
    std::string svg;
    const char* fill;
};

class Paints : public ::testing::TestWithParam<PaintCase> {};

TEST_P(Paints, BecomeTheirDefinitions) {
    Read read(Doc(GetParam().svg));
    EXPECT_EQ(FillOfRect(read), GetParam().fill);
}

constexpr const char* kRedBlue =
    R"svg(<stop offset="0" stop-color="red"/><stop offset="1" stop-color="blue"/>)svg";

std::string With(const char* before, const char* after = "") {
    return std::string(before) + kRedBlue + after;
}

const std::string kInherit =
    With(R"svg(<linearGradient id="base" x2="0.5">)svg", R"svg(</linearGradient>)svg");

INSTANTIATE_TEST_SUITE_P(
    Gradients, Paints,
    ::testing::Values(
        // Stops in document order, none before the one ahead of it; a
        // repeated position keeps both (a hard edge).
        PaintCase{"stops_ordered",
                  R"svg(<linearGradient id="g"><stop offset="1" stop-color="blue"/>
<stop offset="0.5" stop-color="lime" stop-opacity=".5"/><stop offset="0" stop-color="red"/></linearGradient>
<rect x="10" y="20" width="100" height="50" fill="url(#g)"/>)svg",
                  "linear(10000,234000 110000,234000; 255:#0000ff/255 255:#00ff00/128 255:#ff0000/255)"},
        PaintCase{
            "stops_repeated",
            R"svg(<linearGradient id="g"><stop offset="50%" stop-color="red"/><stop offset=".5" stop-color="blue"/>
</linearGradient><rect width="100" height="100" fill="url(#g)"/>)svg",
            "linear(0,254000 100000,254000; 128:#ff0000/255 128:#0000ff/255)"},
        // objectBoundingBox, SVG's default, maps through the box; on a box
        // that is not square the ramp runs along the normal of its mapped
        // lines of equal colour (not to the mapped end, 110000,184000),
        // as long as the ramp between them.
        PaintCase{"box_units",
                  R"svg(<linearGradient id="g" x1="0.25" y1="50%" x2="1" y2="1"/>
<rect x="10" y="20" width="100" height="50" fill="url(#g)"/>)svg",
                  "linear(35000,209000 74000,157000;)"},
        // The host only pads: a reflected or repeated ramp is widened to
        // whole periods over the box, its stops once per period (mirrored
        // every other one).
        PaintCase{"reflected",
                  R"svg(<linearGradient id="g" x2="0.25" spreadMethod="reflect"><stop offset="0" stop-color="red"/>
<stop offset="1" stop-color="blue"/></linearGradient><rect width="100" height="10" fill="url(#g)"/>)svg",
                  "linear(0,254000 100000,254000; 0:#ff0000/255 64:#0000ff/255 64:#0000ff/255 128:#ff0000/255 "
                  "128:#ff0000/255 191:#0000ff/255 191:#0000ff/255 255:#ff0000/255)"},
        PaintCase{"repeated_both_ways",
                  R"svg(<linearGradient id="g" gradientUnits="userSpaceOnUse" x1="40" x2="60" spreadMethod="repeat">
<stop offset="0" stop-color="red"/><stop offset="1" stop-color="blue"/></linearGradient>
<rect width="100" height="10" fill="url(#g)"/>)svg",
                  "linear(0,254000 100000,254000; 0:#ff0000/255 51:#0000ff/255 51:#ff0000/255 102:#0000ff/255 "
                  "102:#ff0000/255 153:#0000ff/255 153:#ff0000/255 204:#0000ff/255 204:#ff0000/255 255:#0000ff/255)"},
        // Under a skew the ramp runs across the skewed lines of equal colour.
        PaintCase{"user_units_skewed",
                  R"svg(<linearGradient id="g" gradientUnits="userSpaceOnUse" x1="0" x2="10" gradientTransform="skewX(45)"/>
<rect width="10" height="10" fill="url(#g)"/>)svg",
                  "linear(0,254000 5000,259000;)"},
        PaintCase{"user_units",
                  R"svg(<linearGradient id="g" gradientUnits="userSpaceOnUse" x1="5" x2="100"/>
<rect width="10" height="10" fill="url(#g)"/>)svg",
                  "linear(5000,254000 100000,254000;)"},
        PaintCase{
            "user_units_default_end",
            R"svg(<linearGradient id="g" gradientUnits="userSpaceOnUse"/><rect width="10" height="10" fill="url(#g)"/>)svg",
            "linear(0,254000 254000,254000;)"},
        PaintCase{
            "transform_in_box",
            R"svg(<linearGradient id="g" gradientTransform="rotate(90)"/><rect width="100" height="100" fill="url(#g)"/>)svg",
            "linear(0,254000 0,154000;)"},
        PaintCase{"transform_of_the_element",
                  R"svg(<linearGradient id="g" gradientUnits="userSpaceOnUse" x2="10"/>
<rect width="10" height="10" fill="url(#g)" transform="translate(20 0) scale(2)"/>)svg",
                  "linear(20000,254000 40000,254000;)"},
        PaintCase{"radial_box",
                  R"svg(<radialGradient id="g"/><rect width="100" height="100" fill="url(#g)"/>)svg",
                  "radial(50000,204000 r50000 f50000,204000;)"},
        PaintCase{"radial_user",
                  R"svg(<radialGradient id="g" gradientUnits="userSpaceOnUse" cx="10" cy="10" r="5" fx="12"/>
<rect width="100" height="100" fill="url(#g)"/>)svg",
                  "radial(10000,244000 r5000 f12000,244000;)"},
        // Inheritance: what the element lacks comes along its chain.
        PaintCase{"inherits_geometry_and_stops",
                  (kInherit + R"svg(<linearGradient id="g" xlink:href="#base" x1="0.25"/>
<rect width="100" height="100" fill="url(#g)"/>)svg"),
                  "linear(25000,254000 50000,254000; 0:#ff0000/255 255:#0000ff/255)"},
        PaintCase{"radial_takes_only_stops", (kInherit + R"svg(<radialGradient id="g" xlink:href="#base"/>
<rect width="100" height="100" fill="url(#g)"/>)svg"),
                  "radial(50000,204000 r50000 f50000,204000; 0:#ff0000/255 255:#0000ff/255)"},
        PaintCase{"units_inherited",
                  R"svg(<linearGradient id="base" gradientUnits="userSpaceOnUse"/>
<linearGradient id="g" xlink:href="#base" x2="10"/><rect width="100" height="100" fill="url(#g)"/>)svg",
                  "linear(0,254000 10000,254000;)"},
        PaintCase{
            "own_stops_kept",
            (kInherit + R"svg(<linearGradient id="g" xlink:href="#base"><stop offset="0" stop-color="lime"/>
</linearGradient><rect width="100" height="100" fill="url(#g)"/>)svg"),
            "linear(0,254000 50000,254000; 0:#00ff00/255)"},
        // Chains that loop end, keeping what was found.
        PaintCase{
            "refers_to_itself",
            R"svg(<linearGradient id="s" xlink:href="#s"><stop offset="0" stop-color="red"/></linearGradient>
<rect width="100" height="100" fill="url(#s)"/>)svg",
            "linear(0,254000 100000,254000; 0:#ff0000/255)"},
        PaintCase{"loop_of_two",
                  R"svg(<linearGradient id="a" xlink:href="#b"/>
<linearGradient id="b" xlink:href="#a" x1="0.5"><stop offset="1" stop-color="red"/></linearGradient>
<rect width="100" height="100" fill="url(#a)"/>)svg",
                  "linear(50000,254000 100000,254000; 255:#ff0000/255)"},
        PaintCase{
            "refers_to_nothing",
            R"svg(<linearGradient id="g" xlink:href="#gone"/><rect width="100" height="100" fill="url(#g)"/>)svg",
            "linear(0,254000 100000,254000;)"},
        // Reference texts.
        PaintCase{"spaced_reference",
                  R"svg(<linearGradient id="g"/><rect width="100" height="100" fill="url( #g )"/>)svg",
                  "linear(0,254000 100000,254000;)"},
        PaintCase{"reference_without_hash",
                  R"svg(<linearGradient id="g"/><rect width="100" height="100" fill="url(g)"/>)svg", "none"},
        PaintCase{"reference_to_a_shape",
                  R"svg(<circle id="c" r="1"/><rect width="100" height="100" fill="url(#c)"/>)svg", "none"},
        // Patterns: the tile in the referring space, the content's matrix
        // from the tile's corner (through the view box).
        PaintCase{
            "pattern_view_box",
            R"svg(<pattern id="p" patternUnits="userSpaceOnUse" width="10" height="10" viewBox="0 0 20 20">
<rect width="20" height="20"/></pattern><rect width="30" height="30" fill="url(#p)"/>)svg",
            "#000000"},
        PaintCase{
            "pattern_in_box_units",
            R"svg(<pattern id="p" width=".5" height=".5"/><rect x="10" y="20" width="100" height="50" fill="url(#p)"/>)svg",
            "pattern(10000,234000 50000x25000 m=[1000 0 0 -1000 10000 234000])"},
        PaintCase{
            "pattern_without_area",
            R"svg(<pattern id="p" width="0" height=".5"/><rect width="100" height="50" fill="url(#p)"/>)svg",
            "none"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Gradients, NeedABoxWithAreaInBoxUnits) {
    Read read(Doc(R"svg(<linearGradient id="g"/><line x2="10" fill="url(#g)" stroke="red"/>)svg"));
    EXPECT_EQ(read.canvas.Lines("path")[0], "path 04:0,254000 44:10000,254000 stroke=#ff0000/1000");
}

TEST(Patterns, DrawTheirContentInTheirTile) {
    Read read(
        Doc(R"svg(<pattern id="p" patternUnits="userSpaceOnUse" width="10" height="10" viewBox="0 0 20 20">
<rect width="20" height="20"/></pattern>
<pattern id="q" patternUnits="userSpaceOnUse" x="5" y="5" width="10" height="10"><rect width="1" height="1"/></pattern>
<rect width="30" height="30" fill="url(#p)"/><rect width="30" height="30" fill="url(#q)"/><rect x="40" width="1" height="1"/>)svg"));
    EXPECT_EQ(
        read.Text(),
        "tile {\n"
        "  rect 0,244000 10000x10000 fill=#000000\n"
        "}\n"
        "rect 0,224000 30000x30000 fill=pattern(0,254000 10000x10000 m=[500 0 0 -500 0 254000])\n"
        "tile {\n"
        "  rect 5000,248000 1000x1000 fill=#000000\n"
        "}\n"
        "rect 0,224000 30000x30000 fill=pattern(5000,249000 10000x10000 m=[1000 0 0 -1000 5000 249000])\n"
        "rect 40000,253000 1000x1000 fill=#000000\n");
}

// Along its xlink:href chain a pattern takes the attributes it does not give
// and the first content there is (a loop ends); a view box is fitted by
// preserveAspectRatio.
TEST(Patterns, InheritAlongTheirChainAndFitTheirViewBox) {
    Read read(Doc(R"svg(<pattern id="base" patternUnits="userSpaceOnUse" width="10" height="10" xlink:href="#turned">
<rect width="2" height="2"/></pattern>
<pattern id="turned" xlink:href="#base" patternTransform="translate(1 0)"/>
<pattern id="met" patternUnits="userSpaceOnUse" width="20" height="10" viewBox="0 0 10 10" preserveAspectRatio="xMaxYMid meet">
<rect width="10" height="10"/></pattern>
<rect width="30" height="30" fill="url(#turned)"/><rect width="30" height="30" fill="url(#met)"/>)svg"));
    EXPECT_EQ(read.Text(),
              "tile {\n"
              "  rect 1000,252000 2000x2000 fill=#000000\n"
              "}\n"
              "rect 0,224000 30000x30000 fill=pattern(1000,254000 10000x10000 m=[1000 0 0 -1000 1000 254000])\n"
              "tile {\n"
              "  rect 10000,244000 10000x10000 fill=#000000\n"
              "}\n"
              "rect 0,224000 30000x30000 fill=pattern(0,254000 20000x10000 m=[1000 0 0 -1000 10000 254000])\n");
}

// A clip path is one path of all its shapes (a use as the shape it names),
// each turned counter-clockwise (the path's rectangle runs clockwise on the
// page, so it is reversed), so that the nonzero rule fills their union; a
// line, a hidden shape and a group add nothing; one with nothing to show
// clips everything (a clip of no area).
TEST(ClipPaths, AreTheUnionOfTheirShapes) {
    Read read(Doc(R"svg(<clipPath id="c"><rect x="1" y="2" width="3" height="4"/><path d="M0 0 L10 0 L0 10 Z"/>
<line x2="10" y2="10"/><g><rect width="1" height="1"/></g><rect width="9" height="9" display="none"/>
<rect width="9" height="9" style="visibility: hidden"/></clipPath>
<defs><rect id="r" width="2" height="1"/></defs>
<clipPath id="used"><use xlink:href="#r" x="5"/><circle r="1"/></clipPath>
<clipPath id="t" transform="translate(1 0)"><rect width="1" height="1" transform="scale(2)"/></clipPath>
<clipPath id="self" clip-path="url(#self)"><rect width="1" height="1"/></clipPath>
<clipPath id="inner" clip-path="url(#t)"><polyline points="0,0 4,0 4,4"/></clipPath>
<clipPath id="empty"/><clipPath id="lines"><line x2="5"/></clipPath>
<rect width="10" height="10" clip-path="url(#c)"/><rect width="10" height="10" clip-path="url(#used)"/>
<rect width="10" height="10" transform="translate(10 0)" clip-path="url(#t)"/>
<rect width="10" height="10" clip-path="url(#self)"/><rect width="10" height="10" clip-path="url(#inner)"/>
<rect width="10" height="10" clip-path="url(#empty)"/><rect width="10" height="10" clip-path="url(#lines)"/>
<rect width="10" height="10" clip-path="url(#nothing)"/>)svg"));
    const auto rects = read.canvas.Lines("rect");
    ASSERT_EQ(rects.size(), 8u);
    const std::string base = "rect 0,244000 10000x10000 fill=#000000";
    EXPECT_EQ(rects[0], base + " clip=[path 04:1000,248000 44:4000,248000 44:4000,252000 4c:1000,252000 "
                               "04:0,244000 44:10000,254000 4c:0,254000]");
    EXPECT_EQ(rects[1], base + " clip=[path 04:5000,253000 44:7000,253000 44:7000,254000 4c:5000,254000 "
                               "00:1000,254000 c0:1000,254552 c0:552,255000 84:0,255000 c0:-552,255000 "
                               "c0:-1000,254552 84:-1000,254000 c0:-1000,253448 c0:-552,253000 84:0,253000 "
                               "c0:552,253000 c0:1000,253448 8c:1000,254000]");
    EXPECT_EQ(rects[2], "rect 10000,244000 10000x10000 fill=#000000 clip=[path 04:11000,252000 44:13000,252000 "
                        "44:13000,254000 4c:11000,254000]");
    EXPECT_EQ(rects[3], base + " clip=[path 04:0,253000 44:1000,253000 44:1000,254000 4c:0,254000]");
    // A clip path's own clip-path clips inside it.
    EXPECT_EQ(rects[4], base + " clip=[path 04:4000,250000 44:4000,254000 4c:0,254000 "
                               "inside [path 04:1000,252000 44:3000,252000 44:3000,254000 4c:1000,254000]]");
    EXPECT_EQ(rects[5], base + " clip=[] clips-all");
    EXPECT_EQ(rects[6], base + " clip=[] clips-all");
    EXPECT_EQ(rects[7], base);
}

// In objectBoundingBox units a clip path lies on the element's box.
TEST(ClipPaths, InBoxUnitsTakeTheElementsBox) {
    Read read(Doc(R"svg(<clipPath id="half" clipPathUnits="objectBoundingBox"><rect width="0.5" height="1"/></clipPath>
<rect x="10" y="10" width="20" height="10" clip-path="url(#half)"/>
<path d="M0 0 L0 0" clip-path="url(#half)"/>)svg"));
    const auto rects = read.canvas.Lines("rect");
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0], "rect 10000,234000 20000x10000 fill=#000000 "
                        "clip=[path 04:10000,234000 44:20000,234000 44:20000,244000 4c:10000,244000]");
}

TEST(Masks, TakeTheirLastRectangleOverTheirRegion) {
    Read read(Doc(R"svg(<linearGradient id="g"><stop offset="0" stop-color="white"/></linearGradient>
<mask id="m"><rect width="1" height="1"/><rect width="2" height="2" fill="url(#g)"/></mask>
<mask id="n"><g><rect width="1" height="1"/></g></mask>
<mask id="u" maskUnits="userSpaceOnUse" x="0" y="0" width="50" height="50"/>
<mask id="z"><rect width="1" height="1" mask="url(#z)"/></mask>
<rect width="100" height="100" mask="url(#m)"/><rect width="100" height="100" mask="url(#n)"/>
<rect width="100" height="100" mask="url(#u)"/><rect width="100" height="100" mask="url(#z)"/>)svg"));
    const auto rects = read.canvas.Lines("rect");
    ASSERT_EQ(rects.size(), 4u);
    const std::string base = "rect 0,154000 100000x100000 fill=#000000";
    // SVG's region: ten per cent around the element's box.
    EXPECT_EQ(rects[0], base +
                            " mask=(-10000,144000 120000x120000 rect 0,252000 2000x2000 fill=linear(0,254000 "
                            "2000,254000; 0:#ffffff/255))");
    EXPECT_EQ(rects[1], base + " mask=(-10000,144000 120000x120000)");
    EXPECT_EQ(rects[2], base + " mask=(0,204000 50000x50000)");
    EXPECT_EQ(rects[3], base + " mask=(-10000,144000 120000x120000 rect 0,253000 1000x1000 fill=#000000)");
}

}  // namespace
