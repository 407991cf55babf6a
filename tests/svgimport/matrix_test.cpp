// The import's matrix: products in written order, the true inverse (checked
// numerically under skew), the scale-free part, and the zoom rectangles.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "svgimport/matrix.h"

namespace SVG {
namespace {

constexpr double kUser = 254000.0 / 96.0;  // host units per user unit

void ExpectPoint(WPoint p, double x, double y, double tolerance = 1e-9) {
    EXPECT_NEAR(p.x, x, tolerance);
    EXPECT_NEAR(p.y, y, tolerance);
}

TEST(WMatrix, MultiplyAppliesTheRightFactorFirst) {
    // The root matrix of a ten-inch-high drawing, then translate(10, 0).
    WMatrix m(kUser, 0, 0, -kUser, 0, 2540000);
    m.Multiply(1, 0, 0, 1, 10, 0);
    EXPECT_NEAR(m.e, 26458.333333, 1e-6);
    ExpectPoint(m.Transform({0, 0}), 10 * kUser, 2540000, 1e-6);

    // translate(10) then scale(2), in one list: (1, 1) -> (12, 2).
    WMatrix list;
    list.Multiply(1, 0, 0, 1, 10, 0);
    list.Multiply(2, 0, 0, 2, 0, 0);
    ExpectPoint(list.Transform({1, 1}), 12, 2);
}

TEST(WMatrix, InvertIsTheTrueInverse) {
    const WMatrix diagonal(2, 0, 0, 3, 0, 0);
    WMatrix back = diagonal;
    ASSERT_EQ(back.Invert(), 1);
    ExpectPoint(back.Transform(diagonal.Transform({1, 1})), 1, 1);

    // Skew and translation together: a formula with swapped off-diagonal
    // terms or a wrong sign of f shows here.
    const WMatrix skewed(1.5, 0.25, 0.7, -1.2, 35, -12);
    WMatrix inverse = skewed;
    ASSERT_EQ(inverse.Invert(), 1);
    for (WPoint p : {WPoint{0, 0}, WPoint{3, -4}, WPoint{-120.5, 77}}) {
        ExpectPoint(inverse.Transform(skewed.Transform(p)), p.x, p.y, 1e-9);
        ExpectPoint(skewed.Transform(inverse.Transform(p)), p.x, p.y, 1e-9);
    }
    WMatrix product = skewed;
    product.Multiply(inverse);
    EXPECT_NEAR(product.a, 1, 1e-12);
    EXPECT_NEAR(product.b, 0, 1e-12);
    EXPECT_NEAR(product.c, 0, 1e-12);
    EXPECT_NEAR(product.d, 1, 1e-12);
    EXPECT_NEAR(product.e, 0, 1e-12);
    EXPECT_NEAR(product.f, 0, 1e-12);
}

TEST(WMatrix, SingularMatricesBecomeZero) {
    for (const WMatrix singular : {WMatrix(1, 2, 2, 4, 5, 6), WMatrix(1e-9, 0, 0, 1, 7, 7),
                                   WMatrix(1e-4, 0, 0, 1e-4, 0, 0)}) {
        WMatrix m = singular;
        EXPECT_EQ(m.Invert(), 0);
        EXPECT_EQ(m, WMatrix(0, 0, 0, 0, 0, 0));
    }
}

TEST(WMatrix, TransformPointsInPlaceAndNoneForCountZero) {
    WPoint points[2] = {{1, 2}, {3, 4}};
    const WMatrix m(2, 0, 0, 3, 1, 1);
    m.TransformPoints(points, 0);
    ExpectPoint(points[0], 1, 2);
    m.TransformPoints(points, 2);
    ExpectPoint(points[0], 3, 7);
    ExpectPoint(points[1], 7, 13);
}

TEST(WMatrix, ComposeDropsTheScaleAndTheTranslation) {
    // Twice a rotation by 30 degrees, moved: the result is the rotation with
    // its second column mirrored, unscaled and unmoved.
    const double cs = std::cos(0.5235987755982988), sn = std::sin(0.5235987755982988);
    const WMatrix m(2 * cs, 2 * sn, -2 * sn, 2 * cs, 40, 50);
    WMatrix out;
    m.Compose(&out);
    EXPECT_NEAR(out.a, cs, 1e-12);
    EXPECT_NEAR(out.b, sn, 1e-12);
    EXPECT_NEAR(out.c, sn, 1e-12);
    EXPECT_NEAR(out.d, -cs, 1e-12);
    EXPECT_EQ(out.e, 0);
    EXPECT_EQ(out.f, 0);

    WMatrix collapsed;
    WMatrix(0, 0, 1, 1, 5, 5).Compose(&collapsed);
    EXPECT_EQ(collapsed, WMatrix(0, 0, 0, 0, 0, 0));
}

TEST(WZoomMgr, StartsEmptyAndTruncatesTheUserRectangle) {
    WZoomMgr zoom;
    EXPECT_EQ(zoom.HostRect(), WRect{});
    EXPECT_EQ(zoom.UserRect(), WRect{});

    zoom.SetDocumentSize(254000, 127000);
    EXPECT_EQ(zoom.HostRect(), (WRect{0, 127000, 254000, 0}));
    EXPECT_EQ(zoom.UserRect(), (WRect{0, 48, 96, 0}));

    // 5000 host units are 1.89 user units: truncated, not rounded.
    EXPECT_EQ(UserUnitsOfHost(5000), 1);
    EXPECT_EQ(UserUnitsOfHost(-5000), -1);
    // 100 inches: W * 96 no longer fits 32 bits.
    EXPECT_EQ(UserUnitsOfHost(25400000), 9600);
    EXPECT_EQ(UserUnitsOfHost(INT32_MAX), 811647);
}

}  // namespace
}  // namespace SVG
