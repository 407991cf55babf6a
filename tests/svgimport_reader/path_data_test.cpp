// Path data and point lists: the commands, their numbers and where reading
// stops, as kind bytes and host points; quadratic curves and arcs against
// the curves they stand for.
#include "svgimport/path_data.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "recording_canvas.h"

namespace {

using namespace SVG;
using reader_test::PointsOf;

struct PathCase {
    const char* data;
    const char* points;  // kind:x,y under the identity
};

class PathData : public ::testing::TestWithParam<PathCase> {};

TEST_P(PathData, GivesItsPoints) {
    WPath path;
    ReadPathData(GetParam().data, WMatrix(), path);
    EXPECT_EQ(PointsOf(path), GetParam().points) << GetParam().data;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, PathData,
    ::testing::Values(
        PathCase{"M 10 10 20 20 30 30", "04:10,10 44:20,20 44:30,30"},
        PathCase{"m 10 10 l 5 0", "04:10,10 44:15,10"},
        PathCase{"M0,0 C10,0 10,10 0,10 S-10,0 0,0 Z",
                 "00:0,0 c0:10,0 c0:10,10 84:0,10 c0:-10,10 c0:-10,0 8c:0,0"},
        PathCase{"M0,0 c10,0 10,10 0,10 s-10,-10 0,-10",
                 "04:0,0 c0:10,0 c0:10,10 84:0,10 c0:-10,10 c0:-10,0 84:0,0"},
        // S without a cubic before it: the first control is the current point.
        PathCase{"M0 0 L5 0 S10 10 20 0", "04:0,0 44:5,0 c0:5,0 c0:10,10 84:20,0"}, PathCase{"L 10 10", ""},
        PathCase{"  ", ""}, PathCase{"M1e1,2E+0", "04:10,2"}, PathCase{"M 10 10 H 50", "04:10,10 44:50,10"},
        PathCase{"M 10 10 h 5 v -5 V 20", "04:10,10 44:15,10 44:15,5 44:15,20"},
        // A "+" starts a number.
        PathCase{"M 0 0 L 10 10 +5 5", "04:0,0 44:10,10 44:5,5"}, PathCase{"M-1-2L.5.5", "04:-1,-2 44:1,1"},
        // After a close the current point is the start, and the next command starts there.
        PathCase{"M0 0 L10 0 L10 10 Z l 5 5", "04:0,0 44:10,0 4c:10,10 04:0,0 44:5,5"},
        PathCase{"M5 5 L10 5 z m 1 1 h 1", "04:5,5 4c:10,5 04:6,6 44:7,6"},
        PathCase{"M0 0 L4 0 Z Z L 0 4", "04:0,0 4c:4,0 04:0,0 44:0,4"},
        // A missing coordinate ends the data; what came before stays.
        PathCase{"M 0 0 L 10 0 L", "04:0,0 44:10,0"}, PathCase{"M 0 0 L 10 0 L 20", "04:0,0 44:10,0"},
        PathCase{"M 0 0 C 1 1 2 2", "04:0,0"}, PathCase{"M", ""},
        // Anything that is not path data ends it too.
        PathCase{"M 0 0 L 10 0 X 5 5", "04:0,0 44:10,0"}, PathCase{"x M 0 0", ""},
        PathCase{"M 0 0 L 10 0 Z 5 5", "04:0,0 4c:10,0"},
        // Quadratics become the cubic that is the same curve.
        PathCase{"M 0 0 Q 30 0 30 30", "04:0,0 c0:20,0 c0:30,10 84:30,30"},
        PathCase{"M 0 0 Q 30 0 30 30 T 30 60", "04:0,0 c0:20,0 c0:30,10 84:30,30 c0:30,50 c0:30,60 84:30,60"},
        PathCase{"M 0 0 t 30 30", "04:0,0 c0:0,0 c0:10,10 84:30,30"},
        // An arc with a zero radius is a line; one whose ends meet is nothing.
        PathCase{"M 0 0 A 0 5 0 0 1 10 10 L 20 0", "04:0,0 44:10,10 44:20,0"},
        PathCase{"M 5 5 A 5 5 0 0 1 5 5 L 20 0", "04:5,5 44:20,0"},
        // Flags need no separators.
        PathCase{"M0 0 a5 5 0 1010 0", "04:0,0 c0:0,3 c0:2,5 84:5,5 c0:8,5 c0:10,3 84:10,0"},
        PathCase{"M0 0 A5 5 0 2 0 10 0", "04:0,0"}));

TEST(PathDataScale, ConvertsEveryPointThroughTheMatrix) {
    WPath path;
    // The root of a two-inch drawing: y turned upwards from the page's foot.
    const WMatrix root(254000.0 / 96, 0, 0, -254000.0 / 96, 0, 508000);
    ReadPathData("M 96 0 l 0 96", root, path);
    EXPECT_EQ(PointsOf(path), "04:254000,508000 44:254000,254000");
    EXPECT_EQ(path.box.left, 254000);
    EXPECT_EQ(path.box.top, 508000);
    EXPECT_EQ(path.box.bottom, 254000);
}

TEST(PathDataScale, HorizontalLinesKeepTheirYUnderRotation) {
    WPath path;
    WMatrix m(1000, 0, 0, 1000, 0, 0);
    m.Multiply(ParseTransform("rotate(30)"));
    ReadPathData("M 10 10 H 50", m, path);
    ASSERT_EQ(path.Count(), 2u);
    const WPoint end = m.Transform({50, 10});
    EXPECT_EQ(path.points[1].x, std::lround(end.x));
    EXPECT_EQ(path.points[1].y, std::lround(end.y));
}

// Bezier points of a cubic from its start.
WPoint Cubic(WPoint p0, const WCubic& c, double t) {
    const double u = 1 - t;
    return {
        u * u * u * p0.x + 3 * u * u * t * c.control1.x + 3 * u * t * t * c.control2.x + t * t * t * c.end.x,
        u * u * u * p0.y + 3 * u * u * t * c.control1.y + 3 * u * t * t * c.control2.y + t * t * t * c.end.y};
}

TEST(Quadratics, AreTheSameCurveAsCubics) {
    WPath path;
    const double k = 1e4;  // fine host units, so that rounding is far below the check
    ReadPathData("M 3 7 Q 40 -10 25 30", WMatrix(k, 0, 0, k, 0, 0), path);
    ASSERT_EQ(path.Count(), 4u);
    const auto user = [&](size_t i) { return WPoint{path.points[i].x / k, path.points[i].y / k}; };
    const WCubic c{user(1), user(2), user(3)};
    for (double t = 0; t <= 1; t += 0.125) {
        const double u = 1 - t;
        const WPoint q{u * u * 3 + 2 * u * t * 40 + t * t * 25, u * u * 7 + 2 * u * t * -10 + t * t * 30};
        const WPoint p = Cubic(user(0), c, t);
        EXPECT_NEAR(p.x, q.x, 2e-4) << t;
        EXPECT_NEAR(p.y, q.y, 2e-4) << t;
    }
}

// Arcs against the ellipse they lie on: every point of every cubic within
// a small share of the radius from it, the ends exact, the bulge on the
// side the flags ask for.
struct ArcCase {
    const char* name;
    WPoint from;
    double rx, ry, rotation;
    bool large, sweep;
    WPoint to;
    WPoint centre;    // of the ellipse the arc lies on
    double frx, fry;  // its radii after enlarging
    size_t segments;
    WPoint middle;  // a point the arc passes through halfway
};

class Arcs : public ::testing::TestWithParam<ArcCase> {};

TEST_P(Arcs, LieOnTheirEllipse) {
    const ArcCase& a = GetParam();
    const std::vector<WCubic> cubics = ArcToCubics(a.from, a.rx, a.ry, a.rotation, a.large, a.sweep, a.to);
    ASSERT_EQ(cubics.size(), a.segments);
    EXPECT_EQ(cubics.back().end.x, a.to.x);
    EXPECT_EQ(cubics.back().end.y, a.to.y);
    const double phi = a.rotation * std::numbers::pi / 180;
    double worst = 0;
    WPoint start = a.from;
    std::vector<WPoint> samples;
    for (const WCubic& c : cubics) {
        for (int i = 0; i <= 16; ++i) {
            const WPoint p = Cubic(start, c, i / 16.0);
            samples.push_back(p);
            const double dx = p.x - a.centre.x, dy = p.y - a.centre.y;
            const double u = (std::cos(phi) * dx + std::sin(phi) * dy) / a.frx;
            const double v = (-std::sin(phi) * dx + std::cos(phi) * dy) / a.fry;
            worst = std::max(worst, std::fabs(std::hypot(u, v) - 1));
        }
        start = c.end;
    }
    EXPECT_LT(worst, 3e-4) << a.name;  // a quarter-turn cubic is off by 0.027 %
    double nearest = 1e9;
    for (const WPoint& p : samples)
        nearest = std::min(nearest, std::hypot(p.x - a.middle.x, p.y - a.middle.y));
    EXPECT_LT(nearest, 0.05 * std::max(a.frx, a.fry)) << a.name;
}

INSTANTIATE_TEST_SUITE_P(
    Flags, Arcs,
    ::testing::Values(
        // y points down: a sweep arc from left to right bulges upwards.
        ArcCase{"semicircle_sweep", {0, 0}, 5, 5, 0, false, true, {10, 0}, {5, 0}, 5, 5, 2, {5, -5}},
        ArcCase{"semicircle_against", {0, 0}, 5, 5, 0, false, false, {10, 0}, {5, 0}, 5, 5, 2, {5, 5}},
        ArcCase{"radii_too_small", {0, 0}, 1, 1, 0, false, true, {10, 0}, {5, 0}, 5, 5, 2, {5, -5}},
        ArcCase{"small_quarter",
                {0, 0},
                10,
                10,
                0,
                false,
                true,
                {10, 10},
                {0, 10},
                10,
                10,
                1,
                {10 * std::sin(std::numbers::pi / 4), 10 - 10 * std::cos(std::numbers::pi / 4)}},
        ArcCase{"large_three_quarters", {0, 0}, 10, 10, 0, true, true, {10, 10}, {10, 0}, 10, 10, 3, {20, 0}},
        ArcCase{"large_against", {0, 0}, 10, 10, 0, true, false, {10, 10}, {0, 10}, 10, 10, 3, {-10, 10}},
        ArcCase{"turned_ellipse", {0, 0}, 10, 5, 90, false, true, {0, 20}, {0, 10}, 10, 5, 2, {5, 10}},
        ArcCase{"negative_radii", {0, 0}, -5, -5, 0, false, true, {10, 0}, {5, 0}, 5, 5, 2, {5, -5}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PointLists, StopAtABadCharacterAndDropAnIncompletePair) {
    struct Case {
        const char* points;
        bool closed;
        const char* expected;
    };
    const Case cases[] = {
        {"0,0 10,0 10,10", true, "00:0,0 44:10,0 4c:10,10"},
        {"0,0 10,0 0,0", true, "00:0,0 44:10,0 4c:0,0"},
        {"0,0 10,0", false, "04:0,0 44:10,0"},
        {"0,0 10,0 5", false, "04:0,0 44:10,0"},
        {"0,0 10,0 x 5,5", false, "04:0,0 44:10,0"},
        {"1e1-2 +3,4", false, "04:10,-2 44:3,4"},
        {"", true, ""},
    };
    for (const Case& c : cases) {
        WPath path;
        ReadPoints(c.points, WMatrix(), path, c.closed);
        EXPECT_EQ(PointsOf(path), c.expected) << c.points;
    }
}

}  // namespace
