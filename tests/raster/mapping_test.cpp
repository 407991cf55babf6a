// The raster state's mapping: axis modes, points, rectangle edges with their
// division remainders, the inverse and corrected inverse mappings.
#include <gtest/gtest.h>

#include "raster/mapping.h"

namespace raster {
namespace {

struct StateFixture {
    RIPRasterState* s = RIPCreateRS();
    ~StateFixture() { RIPDestroyRS(s); }
};

struct MapCase {
    const char* name;
    std::int32_t lx, ly, dx, dy;  // extents: logical x, y, device x, y
    RIPPoint logicalOrigin, deviceOrigin;
    bool inverse;
    RIPRect rect;
    bool ok;
    RIPRect want;
    RIPMapRemainders rem;  // left, top, right, bottom
};

class MapRect : public ::testing::TestWithParam<MapCase> {};

TEST_P(MapRect, MapsEdgesWithTheirRemainders) {
    const MapCase& c = GetParam();
    StateFixture f;
    RIPSetExtents(f.s, c.lx, c.ly, c.dx, c.dy);
    RIPSetLogOrigin(nullptr, f.s, c.logicalOrigin);
    RIPSetDevOrigin(nullptr, f.s, c.deviceOrigin);
    RIPRect out{-99, -99, -99, -99};
    RIPMapRemainders rem{-99, -99, -99, -99};
    const int ok = c.inverse ? RIPMapRectInverse(&out, &rem, f.s, c.rect) : RIPMapRect(&out, &rem, f.s, c.rect);
    ASSERT_EQ(ok, c.ok ? 1 : 0);
    if (!c.ok) {
        EXPECT_EQ(out, (RIPRect{-99, -99, -99, -99}));
        return;
    }
    EXPECT_EQ(out, c.want);
    EXPECT_EQ(rem.left, c.rem.left);
    EXPECT_EQ(rem.top, c.rem.top);
    EXPECT_EQ(rem.right, c.rem.right);
    EXPECT_EQ(rem.bottom, c.rem.bottom);
    // The short form gives the same rectangle.
    RIPRect shortForm;
    ASSERT_EQ(c.inverse ? RIPMapRectInverse(&shortForm, nullptr, f.s, c.rect)
                        : RIPMapRect(&shortForm, nullptr, f.s, c.rect),
              1);
    EXPECT_EQ(shortForm, c.want);
}

constexpr RIPPoint kZero{0, 0};

INSTANTIATE_TEST_SUITE_P(
    Mapping, MapRect,
    ::testing::Values(
        MapCase{"Identity", 1, 1, 1, 1, {10, 20}, {100, 200}, false, {10, 23, 13, 20}, true, {100, 203, 103, 200},
                {0, 0, 0, 0}},
        MapCase{"Mirror", 4, 4, -4, 4, kZero, kZero, false, {0, 3, 3, 0}, true, {0, 3, -3, 0}, {0, 0, 0, 0}},
        // Four logical pixels to two device pixels; the high edge maps the far side of its pixel.
        MapCase{"Shrink", 4, 4, 2, 2, kZero, kZero, false, {0, 3, 3, 0}, true, {0, 1, 1, 0}, {0, 3, 3, 0}},
        MapCase{"ShrinkInner", 4, 4, 2, 2, kZero, kZero, false, {1, 2, 2, 1}, true, {0, 1, 1, 0}, {2, 1, 1, 2}},
        MapCase{"Enlarge", 2, 2, 6, 6, kZero, kZero, false, {1, 1, 1, 1}, true, {3, 5, 5, 3}, {0, 1, 1, 0}},
        MapCase{"ScaledOrigins", 4, 4, 2, 2, {10, 0}, {5, 0}, false, {10, 3, 13, 0}, true, {5, 1, 6, 0},
                {0, 3, 3, 0}},
        MapCase{"Mode4", 4, 4, -2, 2, kZero, kZero, false, {0, 3, 3, 0}, true, {0, 1, -1, 0}, {0, 3, -3, 0}},
        MapCase{"Mode5", -4, 4, 2, 2, kZero, kZero, false, {0, 3, -3, 0}, true, {0, 1, 1, 0}, {0, 3, 3, 0}},
        MapCase{"Mode6", -4, 4, -2, 2, kZero, kZero, false, {0, 3, -3, 0}, true, {0, 1, -1, 0}, {0, 3, -3, 0}},
        MapCase{"Mode6Y", 4, -4, 2, -2, kZero, kZero, false, {0, -3, 3, 0}, true, {0, -1, 1, 0}, {0, -3, 3, 0}},
        MapCase{"CollapsedDevice", 4, 4, 0, 2, kZero, {7, 0}, false, {0, 3, 3, 0}, true, {7, 1, 7, 0},
                {0, 3, 0, 0}},
        MapCase{"CollapsedLogical", 0, 4, 2, 2, kZero, kZero, false, {0, 3, 3, 0}, false, {}, {}},
        MapCase{"Mode3EdgesReversed", 4, 4, 2, 2, kZero, kZero, false, {3, 3, 0, 0}, false, {}, {}},
        MapCase{"Mode5EdgesInOrder", -4, 4, 2, 2, kZero, kZero, false, {0, 3, 3, 0}, false, {}, {}},
        MapCase{"InverseIdentity", 1, 1, 1, 1, {10, 20}, {100, 200}, true, {100, 203, 103, 200}, true,
                {10, 23, 13, 20}, {0, 0, 0, 0}},
        // Mode 4 maps back as mode 5 (the device side is the flipped one), and back again.
        MapCase{"InverseOfMode4", 4, 4, -2, 2, kZero, kZero, true, {0, 1, -1, 0}, true, {0, 3, 3, 0}, {0, 1, 1, 0}},
        MapCase{"InverseOfMode5", -4, 4, 2, 2, kZero, kZero, true, {0, 1, 1, 0}, true, {0, 3, -3, 0},
                {0, 1, -1, 0}},
        // Edges far from the origin overflow 32 bits: refused, not wrapped.
        MapCase{"Overflow", 1, 1, 1000, 1000, kZero, kZero, false, {0, 0, 3000000, 0}, false, {}, {}}),
    [](const ::testing::TestParamInfo<MapCase>& info) { return info.param.name; });

TEST(Mapping, FloorAndCeilingDivisionsKeepTheirRemaindersInRange) {
    struct Case {
        std::int64_t v, n, floorQ, floorR, ceilQ, ceilR;
    };
    const Case cases[] = {{7, 2, 3, 1, 4, -1}, {-7, 2, -4, 1, -3, -1}, {6, 3, 2, 0, 2, 0}, {0, 5, 0, 0, 0, 0},
                          {-1, 5, -1, 4, 0, -1}};
    for (const Case& c : cases) {
        std::int64_t r = 99;
        EXPECT_EQ(RIPFloorDiv(c.v, c.n, &r), c.floorQ) << c.v << "/" << c.n;
        EXPECT_EQ(r, c.floorR);
        EXPECT_EQ(RIPCeilDiv(c.v, c.n, &r), c.ceilQ) << c.v << "/" << c.n;
        EXPECT_EQ(r, c.ceilR);
    }
}

TEST(Mapping, PointsMapThroughPixelCentres) {
    struct Case {
        std::int32_t lx, dx, p, want;
    };
    const Case cases[] = {
        {100, 50, 10, 5},     // floor(10.5 × 0.5)
        {100, -100, 10, -10},  // mirror
        {100, -50, 10, -5},   // mode 4
        {-100, 50, -10, 5},   // mode 5: floor((0.5 + 10) × 0.5)
        {-100, 50, 10, -5},   // floor(-9.5 × 0.5)
        {-100, -50, -10, -5},  // mode 6
        {3, 7, 2, 5},         // floor(2.5 × 7 / 3)
    };
    for (const Case& c : cases) {
        StateFixture f;
        ASSERT_EQ(RIPSetExtents(f.s, c.lx, 100, c.dx, 100), 1);
        RIPPoint p{c.p, 7};
        ASSERT_EQ(RIPLogToDev(f.s, &p), 1);
        EXPECT_EQ(p.x, c.want) << c.lx << "/" << c.dx << " at " << c.p;
        EXPECT_EQ(p.y, 7);
        EXPECT_EQ(f.s->currentPoint, p);
    }
    StateFixture f;
    EXPECT_EQ(RIPSetExtents(f.s, 100, 0, 50, 50), 0);  // a collapsed axis
    EXPECT_EQ(f.s->axisModeY, kAxisCollapsed);
    RIPSetDevOrigin(nullptr, f.s, RIPPoint{3, 4});
    RIPPoint p{10, 1234};
    RIPLogToDev(f.s, &p);
    EXPECT_EQ(p, (RIPPoint{8, 4}));  // y goes to the device origin
    EXPECT_EQ(RIPLogToDev(nullptr, &p), 0);
}

TEST(Mapping, ScalesFollowTheExtents) {
    StateFixture f;
    RIPSetExtents(f.s, 100, -30, 50, 60);
    EXPECT_EQ(f.s->axisModeX, kAxisScaled);
    EXPECT_EQ(f.s->axisModeY, kAxisScaledFlipLogical);
    EXPECT_DOUBLE_EQ(f.s->scaleX, 2.0);
    EXPECT_DOUBLE_EQ(f.s->inverseScaleX, 0.5);
    EXPECT_DOUBLE_EQ(f.s->scaleY, 0.5);
    RIPSetExtents(f.s, 5, -5, 5, 5);
    EXPECT_EQ(f.s->axisModeX, kAxisIdentity);
    EXPECT_EQ(f.s->axisModeY, kAxisMirror);
    EXPECT_DOUBLE_EQ(f.s->scaleY, 1.0);
}

TEST(Mapping, RectMappingWidensDifferencesAwayFromZero) {
    StateFixture f;
    ASSERT_EQ(RIPSetRectMapping(f.s, RIPRect{3, 9, 22, 0}, RIPRect{5, 14, 14, 5}, 0), 1);
    EXPECT_EQ(f.s->deviceExtentX, 20);
    EXPECT_EQ(f.s->deviceExtentY, 10);
    EXPECT_EQ(f.s->logicalExtentX, 10);
    EXPECT_EQ(f.s->logicalExtentY, 10);
    EXPECT_EQ(f.s->deviceOrigin, (RIPPoint{3, 0}));
    EXPECT_EQ(f.s->logicalOrigin, (RIPPoint{5, 5}));
    ASSERT_EQ(RIPSetRectMapping(f.s, RIPRect{0, 0, 0, 0}, RIPRect{9, 5, 0, 5}, 0), 1);
    EXPECT_EQ(f.s->logicalExtentX, -10);
    EXPECT_EQ(f.s->logicalExtentY, 1);
    ASSERT_EQ(RIPSetRectMapping(f.s, RIPRect{0, 0, 0, 0}, RIPRect{9, 5, 0, 5}, 1), 1);
    EXPECT_EQ(f.s->logicalExtentY, -1);  // with the flag a flat logical height counts as negative
    EXPECT_EQ(RIPSetRectMapping(f.s, RIPRect{-2147483647 - 1, 0, 2147483647, 0}, RIPRect{}, 0), 0);
}

TEST(Mapping, MapPointIsTheLowEdgeOfItsPixel) {
    const std::int32_t extents[][2] = {{4, 2}, {2, 6}, {7, -3}, {-5, 3}, {-3, -8}, {6, 6}, {6, -6}};
    for (const auto& e : extents) {
        StateFixture f;
        RIPSetExtents(f.s, e[0], 1, e[1], 1);
        RIPSetLogOrigin(nullptr, f.s, RIPPoint{2, 0});
        RIPSetDevOrigin(nullptr, f.s, RIPPoint{-3, 0});
        for (std::int32_t p = -20; p <= 20; ++p) {
            RIPRect edge;
            RIPMapRemainders rem;
            ASSERT_EQ(RIPMapRect(&edge, &rem, f.s, RIPRect{p, 0, p, 0}), 1);
            std::int32_t r = 99;
            EXPECT_EQ(RIPMapPoint(f.s, kAxisX, p, &r), edge.left) << e[0] << "/" << e[1] << " at " << p;
            EXPECT_EQ(r, rem.left);
        }
    }
}

TEST(Mapping, CorrectedInverseMovesEdgesByTheirRemainders) {
    struct Case {
        std::int32_t lx, dx;
        RIPRect rect, want;
    };
    const Case cases[] = {
        // The left edge lands inside a pixel (remainder 1): moved right. The right edge's
        // remainder 1 is the divisor's last value: kept.
        {3, 2, {1, 0, 1, 0}, {2, 0, 2, 0}},
        // A right edge with a small positive remainder moves left.
        {5, 4, {0, 0, 1, 0}, {0, 0, 1, 0}},
        // On a mode-5 axis a negative remainder moves the right edge right.
        {-5, 4, {0, 0, 1, 0}, {0, 0, -1, 0}},
    };
    for (const Case& c : cases) {
        StateFixture f;
        RIPSetExtents(f.s, c.lx, 1, c.dx, 1);
        RIPRect out;
        ASSERT_EQ(RIPMapRectInverseCorrected(&out, f.s, c.rect), 1);
        EXPECT_EQ(out, c.want) << c.lx << "/" << c.dx;
    }
}

}  // namespace
}  // namespace raster
