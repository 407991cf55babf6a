// Paths measured along their length for text set on them: lengths over
// curves and subpaths, points and directions, and characters placed by
// their middles.
#include "path_measure.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "svgimport/style_source.h"

namespace {

using SVG::detail::PathMeasure;

TEST(PathMeasure, CurvesAndSubpathsAddTheirLengthsButNotTheMoves) {
    // A half circle of radius 50 as two arcs, then a line after a move.
    const PathMeasure path("M0 0 A50 50 0 0 1 100 0 M200 0 l0 30 Z", SVG::WMatrix());
    EXPECT_NEAR(path.Length(), 50 * std::numbers::pi + 60, 0.05);
    SVG::WPoint p;
    double angle = 0;
    // The top of the arc (y down: the arc through negative y), going right.
    ASSERT_TRUE(path.At(25 * std::numbers::pi, &p, &angle));
    EXPECT_NEAR(p.x, 50, 0.05);
    EXPECT_NEAR(p.y, -50, 0.05);
    EXPECT_NEAR(angle, 0, 0.02);
    // Down the line and back up its closing side.
    ASSERT_TRUE(path.At(path.Length() - 50, &p, &angle));
    EXPECT_NEAR(p.x, 200, 1e-6);
    EXPECT_NEAR(p.y, 10, 1e-6);
    EXPECT_NEAR(angle, std::numbers::pi / 2, 1e-9);
    ASSERT_TRUE(path.At(path.Length() - 20, &p, &angle));
    EXPECT_NEAR(p.y, 20, 1e-6);
    EXPECT_NEAR(angle, -std::numbers::pi / 2, 1e-9);
    EXPECT_FALSE(path.At(-1, &p, &angle));
    EXPECT_FALSE(path.At(path.Length() + 1, &p, &angle));
}

TEST(PathMeasure, EmptyOrBrokenDataHasNoLength) {
    for (const char* data : {"", "M10 10", "M10 10 L", "Q 1 2 3", "M0 0 L0 0"}) {
        SCOPED_TRACE(data);
        const PathMeasure path(data, SVG::WMatrix());
        SVG::WPoint p;
        double angle = 0;
        EXPECT_EQ(path.Length(), 0);
        EXPECT_FALSE(path.At(0, &p, &angle));
    }
}

// On a vertical line each character stands on the line turned a quarter,
// its middle at its distance; dy shifts it across, and characters past
// the end are not drawn.
TEST(PlaceAlongPath, MiddlesOnThePathTurnedWithIt) {
    const PathMeasure path("M10 0 L10 30", SVG::WMatrix());
    std::vector<SVG::detail::PathGlyph> glyphs(4);
    for (auto& g : glyphs) g.advance = 10;
    glyphs[1].dy = 2;
    glyphs[1].rotate = 10;
    SVG::WPoint end;
    const auto placed = SVG::detail::PlaceAlongPath(path, 0, SVG::text_anchor::kStart, glyphs, &end);
    ASSERT_EQ(placed.size(), 4u);
    EXPECT_TRUE(placed[0].drawn);
    EXPECT_NEAR(placed[0].origin.x, 10, 1e-9);
    EXPECT_NEAR(placed[0].origin.y, 0, 1e-9);
    EXPECT_NEAR(placed[0].angle, 90, 1e-9);
    // Across a downward path, a positive dy points to the left of the page.
    EXPECT_NEAR(placed[1].origin.x, 8, 1e-9);
    EXPECT_NEAR(placed[1].origin.y, 10, 1e-9);
    EXPECT_NEAR(placed[1].angle, 100, 1e-9);
    EXPECT_TRUE(placed[2].drawn);
    EXPECT_FALSE(placed[3].drawn);
    EXPECT_NEAR(end.y, 30, 1e-9);
    // Centred on the middle of the line: the two characters either side.
    glyphs.resize(2);
    const auto centred = SVG::detail::PlaceAlongPath(path, 15, SVG::text_anchor::kMiddle, glyphs, nullptr);
    EXPECT_NEAR(centred[0].origin.y, 5, 1e-9);
    EXPECT_NEAR(centred[1].origin.y, 15, 1e-9);
}

}  // namespace
