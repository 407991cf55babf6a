// Rings of radial gradients the host's circle cannot show: the gradient's
// value with and without a focus, the colour under each spread, and the
// rings over a box.
#include <gtest/gtest.h>

#include "radial_bands.h"

namespace {

using namespace SVG;

WRadialGradient::Banded Gradient(WPoint focus, int spread = 0) {
    WRadialGradient::Banded g;
    g.space = WMatrix(200, 0, 0, 100, 0, 0);  // an ellipse twice as wide as high
    g.centre = {0.5, 0.5};
    g.focus = focus;
    g.radius = 0.25;
    g.spread = spread;
    return g;
}

WStopMap BlackToWhite() {
    return {{0, {{0, 0, 0}, kOpaque}}, {255, {{255, 255, 255}, kOpaque}}};
}

TEST(RadialBands, ValueOfThePoint) {
    const auto centred = Gradient({0.5, 0.5});
    EXPECT_DOUBLE_EQ(RadialValue(centred, {0.5, 0.5}), 0);
    EXPECT_DOUBLE_EQ(RadialValue(centred, {0.75, 0.5}), 1);
    EXPECT_DOUBLE_EQ(RadialValue(centred, {0.5, 1.0}), 2);
    // With a focus the value is 0 there and 1 on the circle all round.
    const auto focused = Gradient({0.6, 0.5});
    EXPECT_NEAR(RadialValue(focused, {0.6, 0.5}), 0, 1e-12);
    EXPECT_NEAR(RadialValue(focused, {0.75, 0.5}), 1, 1e-12);
    EXPECT_NEAR(RadialValue(focused, {0.25, 0.5}), 1, 1e-12);
    EXPECT_NEAR(RadialValue(focused, {0.5, 0.75}), 1, 1e-12);
    EXPECT_NEAR(RadialValue(focused, {0.675, 0.5}), 0.5, 1e-12);
}

TEST(RadialBands, ColourUnderEachSpread) {
    const WStopMap stops = BlackToWhite();
    struct Row {
        int spread;
        double t;
        uint8_t grey;
    };
    for (const Row& row : {Row{0, 0.5, 128}, Row{0, 1.5, 255}, Row{0, -1, 0}, Row{2, 1.25, 64}, Row{1, 1.25, 191},
                           Row{1, 2.25, 64}}) {
        EXPECT_EQ(StopValueAt(stops, row.spread, row.t).colour.red, row.grey)
            << "spread " << row.spread << " at " << row.t;
    }
    // Equal positions make a hard edge: the later stop holds past it.
    const WStopMap edge{{0, {{0, 0, 0}, kOpaque}}, {128, {{0, 0, 0}, kOpaque}}, {128, {{255, 0, 0}, 100}},
                        {255, {{255, 0, 0}, 100}}};
    EXPECT_EQ(StopValueAt(edge, 0, 0.49).colour.red, 0);
    EXPECT_EQ(StopValueAt(edge, 0, 0.51).colour.red, 255);
    EXPECT_EQ(StopValueAt(edge, 0, 0.51).opacity, 100);
}

TEST(RadialBands, RingsCoverTheBox) {
    const svgf::HostBox box{0, 100, 200, 0};
    const WStopMap stops = BlackToWhite();
    // Padded: the region past the circle, then the rings of one period.
    const std::vector<WBand> padded = RadialBands(Gradient({0.5, 0.5}), stops, box, false);
    ASSERT_GE(padded.size(), 5u);
    EXPECT_EQ(padded.front().value.colour.red, 255);
    EXPECT_LT(padded.back().value.colour.red, 20) << "the innermost ring is near the first stop";
    // The first ring past the region spans the circle of value 1: 50 host
    // units across, 25 up.
    const WBand& outer = padded[1];
    int32_t right = INT32_MIN, top = INT32_MIN;
    for (const svgf::HostPoint& p : outer.points) {
        right = std::max(right, p.x);
        top = std::max(top, p.y);
    }
    EXPECT_EQ(right, 150);
    EXPECT_EQ(top, 75);

    // Reflected: rings out to the box's corners, light and dark by turns.
    const std::vector<WBand> reflected = RadialBands(Gradient({0.5, 0.5}, 1), stops, box, true);
    EXPECT_GT(reflected.size(), padded.size());
    const std::vector<WBand> bounded = RadialBands(Gradient({0.5, 0.5}, 1), stops, box, true, 16);
    EXPECT_LE(bounded.size(), 17u);
    // Discs need no hole: each is one subpath.
    for (const WBand& band : reflected) {
        size_t closes = 0;
        for (uint8_t k : band.kinds) closes += (k & svgf::import_node::kClose) != 0;
        EXPECT_EQ(closes, 1u);
    }
}

}  // namespace
