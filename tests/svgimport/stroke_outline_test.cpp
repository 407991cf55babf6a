// The region a stroke covers under an uneven scale: its extent along and
// across the line for each cap and join, every piece turned for the union,
// and the maps that need it at all.
#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "stroke_outline.h"
#include "svgimport/objects.h"

namespace {

using namespace SVG;
namespace node = svgf::import_node;

struct Shape {
    std::vector<svgf::HostPoint> points;
    std::vector<uint8_t> kinds;
};

Shape Line(svgf::HostPoint a, svgf::HostPoint b) {
    return {{a, b}, {node::kMove, node::kLine}};
}

Shape Square(int32_t side) {
    return {{{0, 0}, {side, 0}, {side, side}, {0, side}, {0, 0}},
            {0x00, node::kLine, node::kLine, node::kLine, node::kLine | node::kClose}};
}

svgf::HostBox BoxOf(const WOutlinePath& out) {
    svgf::HostBox box{INT32_MAX, INT32_MIN, INT32_MIN, INT32_MAX};
    for (const svgf::HostPoint& p : out.points) {
        box.left = std::min(box.left, p.x);
        box.right = std::max(box.right, p.x);
        box.bottom = std::min(box.bottom, p.y);
        box.top = std::max(box.top, p.y);
    }
    return box;
}

struct Case {
    const char* name;
    Shape shape;
    WMatrix map;
    WStrokeShape stroke;
    svgf::HostBox box;  // left, top, right, bottom
};

std::ostream& operator<<(std::ostream& out, const Case& c) {
    return out << c.name;
}

class StrokeOutlineCase : public ::testing::TestWithParam<Case> {};

TEST_P(StrokeOutlineCase, CoversTheMappedStroke) {
    const Case& c = GetParam();
    const WOutlinePath out = StrokeOutline(c.shape.points, c.shape.kinds, c.map, c.stroke);
    ASSERT_FALSE(out.points.empty());
    ASSERT_EQ(out.points.size(), out.kinds.size());
    const svgf::HostBox box = BoxOf(out);
    EXPECT_NEAR(box.left, c.box.left, 1);
    EXPECT_NEAR(box.top, c.box.top, 1);
    EXPECT_NEAR(box.right, c.box.right, 1);
    EXPECT_NEAR(box.bottom, c.box.bottom, 1);

    // Every piece runs counter-clockwise, so that non-zero filling joins them.
    size_t start = 0;
    for (size_t i = 0; i < out.points.size(); ++i) {
        if ((out.kinds[i] & node::kClose) == 0) continue;
        double area = 0;
        for (size_t k = start; k < i; ++k) {
            area += double(out.points[k].x) * out.points[k + 1].y - double(out.points[k + 1].x) * out.points[k].y;
        }
        EXPECT_GT(area, 0) << "piece from point " << start;
        start = i + 1;
    }
    EXPECT_EQ(start, out.points.size()) << "every piece is closed";
}

// scale(4, 1): a user unit is 4 host units across, 1 up; a stroke 16 wide
// is 16 high on a horizontal line and 64 wide on a vertical one.
const WMatrix kWide(4, 0, 0, 1, 0, 0);

INSTANTIATE_TEST_SUITE_P(
    Caps, StrokeOutlineCase,
    ::testing::Values(
        Case{"butt_horizontal", Line({20, 0}, {180, 0}), kWide, {16, cap::kButt, join::kMiter, 4}, {20, 8, 180, -8}},
        Case{"butt_vertical", Line({0, 0}, {0, 100}), kWide, {16, cap::kButt, join::kMiter, 4}, {-32, 100, 32, 0}},
        Case{"square_horizontal", Line({20, 0}, {180, 0}), kWide, {16, cap::kSquare, join::kMiter, 4},
             {-12, 8, 212, -8}},
        Case{"round_horizontal", Line({20, 0}, {180, 0}), kWide, {16, cap::kRound, join::kMiter, 4},
             {-12, 8, 212, -8}},
        // A dot: a round cap on a subpath of no length is the pen itself.
        Case{"round_dot", Line({50, 50}, {50, 50}), kWide, {16, cap::kRound, join::kMiter, 4}, {18, 58, 82, 42}},
        // Mitred corners reach the square's offset corners; bevelled ones
        // reach its sides only.
        Case{"miter_square", Square(100), kWide, {8, cap::kButt, join::kMiter, 4}, {-16, 104, 116, -4}},
        Case{"bevel_square", Square(100), kWide, {8, cap::kButt, join::kBevel, 4}, {-16, 104, 116, -4}},
        Case{"round_square", Square(100), kWide, {8, cap::kButt, join::kRound, 4}, {-16, 104, 116, -4}},
        // A mirror (the page's y up) keeps the pieces' turn.
        Case{"mirrored", Line({0, 0}, {100, 0}), WMatrix(1, 0, 0, -3, 0, 0), {10, cap::kButt, join::kMiter, 4},
             {0, 15, 100, -15}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StrokeOutline, MiterBeyondItsLimitIsBevelled) {
    // A sharp spike: with a limit of 1.5 the tip is cut at the bevel.
    const Shape spike{{{0, 0}, {100, 10}, {0, 20}}, {node::kMove, node::kLine, node::kLine}};
    const WMatrix map(2, 0, 0, 1, 0, 0);
    const svgf::HostBox cut = BoxOf(StrokeOutline(spike.points, spike.kinds, map, {4, cap::kButt, join::kMiter, 1.5}));
    const svgf::HostBox long_ = BoxOf(StrokeOutline(spike.points, spike.kinds, map, {4, cap::kButt, join::kMiter, 100}));
    EXPECT_LT(cut.right, 105);
    EXPECT_GT(long_.right, 115);
}

TEST(StrokeOutline, CurvesAreFollowed) {
    // A quarter circle of radius 100000 as one cubic, stroked 10 wide
    // under scale(1, 2): the outline stays within the mapped band about
    // the arc.
    constexpr double k = 0.5522847498307936 * 100000;
    const Shape arc{{{100000, 0}, {100000, static_cast<int32_t>(k)}, {static_cast<int32_t>(k), 100000}, {0, 100000}},
                    {node::kMove, node::kControl, node::kControl, node::kCurveEnd}};
    const WOutlinePath out = StrokeOutline(arc.points, arc.kinds, WMatrix(1, 0, 0, 2, 0, 0), {10, 0, 0, 4});
    ASSERT_GT(out.points.size(), 100u) << "flattened into many segments";
    const svgf::HostBox box = BoxOf(out);
    EXPECT_NEAR(box.right, 100005, 2);
    EXPECT_NEAR(box.top, 100010, 2);
    EXPECT_NEAR(box.left, 0, 2);
}

TEST(StrokeOutline, RefusesWhatItCannotOutline) {
    const Shape line = Line({0, 0}, {100, 0});
    EXPECT_TRUE(StrokeOutline(line.points, line.kinds, WMatrix(0, 0, 0, 0, 0, 0), {4, 0, 0, 4}).points.empty());
    EXPECT_TRUE(StrokeOutline(line.points, line.kinds, kWide, {0, 0, 0, 4}).points.empty());
    EXPECT_TRUE(StrokeOutline(line.points, line.kinds, kWide, {4, 0, 0, 4}, 1).points.empty()) << "past the bound";
}

TEST(StrokeOutline, OnlyUnevenMapsNeedIt) {
    EXPECT_FALSE(ScalesUnevenly(WMatrix()));
    EXPECT_FALSE(ScalesUnevenly(WMatrix(3, 0, 0, -3, 10, 10)));        // the page's mirror
    EXPECT_FALSE(ScalesUnevenly(WMatrix(0.6, 0.8, -0.8, 0.6, 0, 0)));  // a turn
    EXPECT_TRUE(ScalesUnevenly(WMatrix(4, 0, 0, 1, 0, 0)));
    EXPECT_TRUE(ScalesUnevenly(WMatrix(1, 0, 1, 1, 0, 0)));  // a skew keeps the area, not the lengths
}

}  // namespace
