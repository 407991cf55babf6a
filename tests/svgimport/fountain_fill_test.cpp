// Fills of reference paints, built over the stand-in host's services: the
// linear fountain's edge pad and widened box, the radial fountain's centre
// offsets and pad, stop order and count, grey levels in mask mode, and
// patterns.
#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <vector>

#include "canvas_fixtures.h"
#include "import_calls.h"
#include "svgimport/canvas.h"

namespace {

using namespace SVG;
using canvas_test::WithCanvas;

svgf::HostFountain FountainOf(const WFillRecord& fill) {
    svgf::HostFountain f{};
    EXPECT_NE(fill.record, nullptr);
    if (fill.record != nullptr) std::memcpy(&f, fill.record->body, sizeof f);
    return f;
}

class FountainTest : public ::testing::Test {
  protected:
    host::StandInHost host{&import_test::NoModule};
    host::import::ImportHost import{host};

    // The paint's fill over `box`; `second` receives the box the host gets.
    svgf::HostFountain Build(const WDefsObject& gradient, svgf::HostBox box, svgf::HostBox* second = nullptr,
                             int32_t mask = 0, double levelScale = 1) {
        svgf::HostFountain f{};
        WithCanvas(host, [&](WCanvas_UDI& canvas) {
            WFill_URI paint;
            paint.definition = &gradient;
            svgf::HostBox given = box;
            const WFillRecord fill = canvas.BuildFountainFill(paint, box, &given, mask, levelScale);
            ASSERT_NE(fill.record, nullptr);
            EXPECT_EQ(fill.record->kind, svgf::kFillFountain);
            f = FountainOf(fill);
            if (second != nullptr) *second = given;
        });
        return f;
    }
};

WLinearGradient Horizontal(int32_t x1, int32_t x2, int stops = 2) {
    WLinearGradient g;
    g.x1 = x1;
    g.x2 = x2;
    for (int i = 0; i < stops; ++i) g.SetStop(static_cast<uint16_t>(i * 255 / std::max(stops - 1, 1)), {});
    return g;
}

struct PadRow {
    const char* name;
    int32_t x1, x2;          // at y = 0, so the angle is 0
    svgf::HostBox box;       // left, top, right, bottom
    int16_t pad;
    svgf::HostBox widened;   // the box the host gets
};

void PrintTo(const PadRow& row, std::ostream* out) {
    *out << row.name;
}

class LinearPads : public FountainTest, public ::testing::WithParamInterface<PadRow> {};

TEST_P(LinearPads, AtAngleZero) {
    const PadRow row = GetParam();
    svgf::HostBox second{};
    const svgf::HostFountain f = Build(Horizontal(row.x1, row.x2), row.box, &second);
    EXPECT_EQ(f.subKind, 1);
    EXPECT_EQ(f.angle, 0);
    EXPECT_EQ(f.edgePad, row.pad);
    EXPECT_EQ(second.left, row.widened.left);
    EXPECT_EQ(second.top, row.widened.top);
    EXPECT_EQ(second.right, row.widened.right);
    EXPECT_EQ(second.bottom, row.widened.bottom);
}

constexpr svgf::HostBox kBox{0, 50, 100, 0};

INSTANTIATE_TEST_SUITE_P(
    Rows, LinearPads,
    ::testing::Values(
        // The midpoint is 50: the span 0..100 is already symmetric.
        PadRow{"FirstEndOnTheSpansSide", 0, 100, kBox, 0, kBox},
        PadRow{"EndsAtTheMidpoint", 50, 50, kBox, 49, kBox},
        PadRow{"EndsAQuarterIn", 25, 75, kBox, 25, kBox},
        // Midpoint 40: the nearer side moves out to mirror the farther one,
        // the span is -20..100, and 20 lies a third of the way in; the host
        // centres its ramp on the box, so the box becomes that span.
        PadRow{"AnOffCentreMidpoint", 20, 60, kBox, 33, svgf::HostBox{-20, 50, 100, 0}},
        PadRow{"AnOffCentreMidpointAtTheRight", 60, 80, kBox, 42, svgf::HostBox{0, 50, 140, 0}},
        // Beyond the sides (both, the span being symmetric): the box runs
        // from x1 to x2, its height kept.
        PadRow{"BeyondBothSides", -50, 150, kBox, 0, svgf::HostBox{-50, 50, 150, 0}},
        PadRow{"OneUnitBeyond", -1, 101, kBox, 0, svgf::HostBox{-1, 50, 101, 0}},
        // A span of no width about its midpoint pads nothing.
        PadRow{"ASpanOfNoWidth", 0, 0, svgf::HostBox{0, 50, 0, 0}, 0, svgf::HostBox{0, 50, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FountainTest, AQuarterTurnedGradientWidensItsBoxInItsOwnFrame) {
    // Running up the page (90 degrees): in its frame the box's 0..50 height
    // is its span; ends beyond it widen the box vertically.
    WLinearGradient g;
    g.x1 = g.x2 = 50;
    g.y1 = -100;
    g.y2 = 150;
    svgf::HostBox second{};
    const svgf::HostFountain f = Build(g, kBox, &second);
    EXPECT_EQ(f.angle, 90000);
    EXPECT_EQ(f.edgePad, 0);
    EXPECT_EQ(second.left, 0);
    EXPECT_EQ(second.right, 100);
    EXPECT_EQ(second.bottom, -100);
    EXPECT_EQ(second.top, 150);
}

TEST_F(FountainTest, StopsComeInListOrderUpTo101) {
    const svgf::HostFountain linear = Build(Horizontal(0, 100, 150), kBox);
    EXPECT_EQ(linear.stopCount, 101);
    EXPECT_EQ(linear.blend, 3);
    EXPECT_EQ(linear.value36, 256);
    EXPECT_EQ(linear.midPoint, 50);
    EXPECT_EQ(linear.stops[0].position, 0);
    EXPECT_EQ(linear.stops[100].position, 67);  // the 101st of 150 stops: 100 * 255 / 149 = 171 of 255

    WRadialGradient radial;
    radial.r = 50;
    for (int i = 0; i < 150; ++i) radial.SetStop(static_cast<uint16_t>(i * 255 / 149), {});
    const svgf::HostFountain r = Build(radial, kBox);
    EXPECT_EQ(r.subKind, 2);
    EXPECT_EQ(r.stopCount, 101);
    // The first stop of the list lands in the last slot; positions still ascend.
    EXPECT_EQ(r.stops[100].position, 100);
    EXPECT_EQ(r.stops[0].position, 33);
    for (int i = 1; i < 101; ++i) EXPECT_LE(r.stops[i - 1].position, r.stops[i].position);
}

TEST_F(FountainTest, TwoStopsBlendAsTwoColoursThreeAsCustom) {
    EXPECT_EQ(Build(Horizontal(0, 100, 2), kBox).blend, 0);
    EXPECT_EQ(Build(Horizontal(0, 100, 3), kBox).blend, 3);
}

TEST_F(FountainTest, TheEndStopIsAtOneHundredLinearAndZeroRadial) {
    WLinearGradient linear;
    linear.SetStop(255, {});
    EXPECT_EQ(Build(linear, kBox).stops[0].position, 100);
    WRadialGradient radial;
    radial.SetStop(255, {});
    EXPECT_EQ(Build(radial, kBox).stops[0].position, 0);
}

TEST_F(FountainTest, MaskStopsAreGreyLevelsOfTheirOpacity) {
    WLinearGradient g = Horizontal(0, 100, 0);
    g.SetStop(0, {WColour{10, 20, 30}, 0});
    g.SetStop(255, {WColour{10, 20, 30}, 255});
    const svgf::HostFountain f = Build(g, kBox, nullptr, 1);
    uint16_t clear = 0, opaque = 1;
    std::memcpy(&clear, &f.stops[0].colour.channels[4], 2);
    std::memcpy(&opaque, &f.stops[1].colour.channels[4], 2);
    EXPECT_EQ(f.stops[0].colour.model, svgf::kColorModelGrey);
    EXPECT_EQ(clear, 255);
    EXPECT_EQ(opaque, 0);
    // Outside mask mode the colour counts.
    const svgf::HostFountain c = Build(g, kBox);
    EXPECT_EQ(c.stops[0].colour.model, svgf::kColorModelRgb);
    EXPECT_EQ(c.stops[0].colour.channels[6], 10);
    EXPECT_EQ(c.stops[0].colour.channels[4], 30);
    // An object's opacity over the gradient scales the levels.
    g.stops[0].value.opacity = 128;
    const svgf::HostFountain half = Build(g, kBox, nullptr, 1, 0.5);
    std::memcpy(&clear, &half.stops[0].colour.channels[4], 2);
    std::memcpy(&opaque, &half.stops[1].colour.channels[4], 2);
    EXPECT_EQ(clear, 191);
    EXPECT_EQ(opaque, 127);
}

struct RadialRow {
    const char* name;
    int32_t cx, cy, r;
    svgf::HostBox box;
    int32_t centreX, centreY;
    int16_t pad;
};

void PrintTo(const RadialRow& row, std::ostream* out) {
    *out << row.name;
}

class RadialGeometry : public FountainTest, public ::testing::WithParamInterface<RadialRow> {};

TEST_P(RadialGeometry, FromTheBox) {
    const RadialRow row = GetParam();
    WRadialGradient g;
    g.cx = row.cx;
    g.cy = row.cy;
    g.r = row.r;
    const svgf::HostFountain f = Build(g, row.box);
    EXPECT_EQ(f.angle, 0);
    EXPECT_EQ(f.centreX, row.centreX);
    EXPECT_EQ(f.centreY, row.centreY);
    EXPECT_EQ(f.edgePad, row.pad);
}

constexpr svgf::HostBox kSquare{0, 100, 100, 0};

INSTANTIATE_TEST_SUITE_P(
    Rows, RadialGeometry,
    ::testing::Values(RadialRow{"Centred", 50, 50, 50, kSquare, 0, 0, 0},
                      RadialRow{"CoversTheBox", 50, 50, 80, kSquare, 0, 0, 0},
                      // Half-size: d = 25 of 50, pad 25 / (2 * 50) = 25 %.
                      RadialRow{"HalfTheBox", 50, 50, 25, kSquare, 0, 0, 25},
                      RadialRow{"NoRadius", 50, 50, 0, kSquare, 0, 0, 50},
                      RadialRow{"AQuarterRightAndDown", 75, 25, 50, kSquare, 25, -25, 0},
                      RadialRow{"FarRight", 250, 50, 50, kSquare, 100, 0, 0},
                      RadialRow{"FarLeft", -150, 50, 50, kSquare, -100, 0, 0},
                      RadialRow{"ABoxOfNoWidth", 500, 500, 50, svgf::HostBox{0, 100, 0, 0}, 0, 100, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FountainTest, AReferenceToNothingBuildableHasNoFill) {
    WithCanvas(host, [](WCanvas_UDI& canvas) {
        const svgf::HostBox box = kBox;
        svgf::HostBox second = box;
        WFill_URI none;
        EXPECT_EQ(canvas.BuildFountainFill(none, box, &second, 0).record, nullptr);
        WMask mask;
        none.definition = &mask;
        EXPECT_EQ(canvas.BuildFountainFill(none, box, &second, 0).record, nullptr);
    });
}

TEST_F(FountainTest, APatternFillCarriesItsTile) {
    WithCanvas(host, [](WCanvas_UDI& canvas) {
        WPattern pattern;
        pattern.x = 10.7;
        pattern.y = 100.9;
        pattern.width = 20.5;
        pattern.height = 30.4;
        WFill_URI paint;
        paint.definition = &pattern;
        svgf::HostBox box = kBox;
        const WFillRecord fill = canvas.BuildFountainFill(paint, box, &box, 0);
        ASSERT_NE(fill.record, nullptr);
        ASSERT_NE(fill.tile, nullptr);
        EXPECT_EQ(fill.record->kind, svgf::kFillPatternTile);
        svgf::HostPatternTileBlock block{};
        std::memcpy(&block, fill.record->body, sizeof block);
        EXPECT_EQ(block.tile, reinterpret_cast<svgf::HostWord>(fill.tile.get()));
        EXPECT_EQ(block.width, 21);
        EXPECT_EQ(block.height, 30);
        EXPECT_EQ(block.box.left, 10);
        EXPECT_EQ(block.box.top, 100);
        EXPECT_EQ(block.box.right, 31);
        EXPECT_EQ(block.box.bottom, 70);
        EXPECT_EQ(fill.tile->canvas, &canvas);
        EXPECT_EQ(fill.tile->pattern, &pattern);
    });
}

}  // namespace
