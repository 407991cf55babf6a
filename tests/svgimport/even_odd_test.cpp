// Subpaths turned for even-odd filling: nested squares alternate their
// direction by depth, a single subpath and side-by-side ones stay as they
// are, a reversed curve keeps its controls between its ends.
#include "svgimport/even_odd.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using SVG::OrientForEvenOdd;
namespace node = svgf::import_node;

struct Path {
    std::vector<svgf::HostPoint> points;
    std::vector<uint8_t> kinds;

    // A closed square from (x, y) of side s, counter-clockwise (y up) or not.
    Path& Square(int32_t x, int32_t y, int32_t s, bool counterClockwise) {
        const std::vector<svgf::HostPoint> ccw = {{x, y}, {x + s, y}, {x + s, y + s}, {x, y + s}, {x, y}};
        const std::vector<svgf::HostPoint> cw = {{x, y}, {x, y + s}, {x + s, y + s}, {x + s, y}, {x, y}};
        const auto& corners = counterClockwise ? ccw : cw;
        points.insert(points.end(), corners.begin(), corners.end());
        kinds.insert(kinds.end(), {0x00, node::kLine, node::kLine, node::kLine,
                                   static_cast<uint8_t>(node::kLine | node::kClose)});
        return *this;
    }
};

// Twice the signed area of each subpath (positive counter-clockwise).
std::vector<int> Turns(const Path& path) {
    std::vector<int> out;
    double sum = 0;
    size_t first = 0;
    const auto flush = [&](size_t end) {
        for (size_t i = first; i < end; ++i) {
            const svgf::HostPoint a = path.points[i], b = path.points[i + 1 < end ? i + 1 : first];
            sum += double(a.x) * b.y - double(b.x) * a.y;
        }
        out.push_back(sum > 0 ? 1 : sum < 0 ? -1 : 0);
        sum = 0;
    };
    for (size_t i = 1; i < path.points.size(); ++i) {
        if ((path.kinds[i] & 0xC0) == 0) {
            flush(i);
            first = i;
        }
    }
    flush(path.points.size());
    return out;
}

struct OrientRow {
    const char* name;
    Path path;
    std::vector<int> turns;
};

class Orient : public ::testing::TestWithParam<OrientRow> {};

TEST_P(Orient, AlternatesByDepth) {
    Path path = GetParam().path;
    const std::vector<uint8_t> before = path.kinds;
    OrientForEvenOdd(path.points, path.kinds);
    EXPECT_EQ(Turns(path), GetParam().turns);
    // A square reversed keeps the shape of its kind bytes.
    EXPECT_EQ(path.kinds, before);
}

INSTANTIATE_TEST_SUITE_P(
    Squares, Orient,
    ::testing::Values(OrientRow{"one_subpath_kept", Path().Square(0, 0, 10, false), {-1}},
                      OrientRow{"ring_same_way", Path().Square(0, 0, 10, true).Square(2, 2, 6, true), {1, -1}},
                      OrientRow{"ring_outer_clockwise", Path().Square(0, 0, 10, false).Square(2, 2, 6, false),
                                {1, -1}},
                      OrientRow{"three_levels",
                                Path().Square(0, 0, 30, false).Square(5, 5, 20, false).Square(10, 10, 10, false),
                                {1, -1, 1}},
                      OrientRow{"inner_first", Path().Square(2, 2, 6, true).Square(0, 0, 10, true), {-1, 1}},
                      OrientRow{"side_by_side", Path().Square(0, 0, 10, false).Square(20, 0, 10, true), {1, 1}}),
    [](const auto& info) { return std::string(info.param.name); });

// A path of more subpaths than the pairwise tests can afford (a hostile
// document's) is sent as it is, at once.
TEST(OrientBudget, APathOfTooManySubpathsIsLeftAsItIs) {
    Path path;
    for (int32_t i = 0; i < 3000; ++i) path.Square(i, i, 100000 - 2 * i, true);
    const std::vector<svgf::HostPoint> before = path.points;
    OrientForEvenOdd(path.points, path.kinds);
    ASSERT_EQ(path.points.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) {
        ASSERT_EQ(path.points[i].x, before[i].x) << i;
        ASSERT_EQ(path.points[i].y, before[i].y) << i;
    }
}

// A curve run backwards: its end becomes the move, its controls swap, the
// old move is the curve's end and carries the close bit.
TEST(OrientCurves, AReversedCurveKeepsItsControlsBetweenItsEnds) {
    Path path;
    path.Square(-100, -100, 300, true);
    path.points.insert(path.points.end(), {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}});
    path.kinds.insert(path.kinds.end(), {node::kMove, node::kControl, node::kControl, node::kCurveEnd,
                                         static_cast<uint8_t>(node::kLine | node::kClose)});
    OrientForEvenOdd(path.points, path.kinds);
    const std::vector<svgf::HostPoint> points(path.points.begin() + 5, path.points.end());
    const std::vector<uint8_t> kinds(path.kinds.begin() + 5, path.kinds.end());
    const std::vector<std::pair<int32_t, int32_t>> want = {{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}};
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(points[i].x, want[i].first) << i;
        EXPECT_EQ(points[i].y, want[i].second) << i;
    }
    // The first lies where the last does, so it loses its on-curve bit.
    EXPECT_EQ(kinds, (std::vector<uint8_t>{0x00, node::kLine, node::kControl, node::kControl,
                                           static_cast<uint8_t>(node::kCurveEnd | node::kClose)}));
}

}  // namespace
