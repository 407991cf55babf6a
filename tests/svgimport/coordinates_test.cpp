// Lengths and coordinate pairs in host units: every cell of the pair
// conversion, absolute units and percentages placed through the current
// transform, a horizontal line continuing from its current point, and
// lengths back in user units.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <ostream>
#include <string>
#include <tuple>

#include "svgimport/coordinates.h"

namespace SVG {
namespace {

constexpr double kUser = 254000.0 / 96.0;  // host units per user unit
constexpr double kInch = 254000;
constexpr double kSide = 10 * kInch;  // a ten-inch-square drawing

// The root of a drawing without a view box: user units at 96 to the inch,
// y turned upwards from the page's top edge.
WCoordinates Root() {
    WCoordinates c;
    c.SetRoot(WMatrix(kUser, 0, 0, -kUser, 0, kSide), kSide, kSide);
    return c;
}

WLength L(double v, int32_t kind) {
    return {v, kind};
}

struct PairRow {
    const char* name;
    WLength x, y;
    int32_t relative;
    double hostX, hostY;
};

void PrintTo(const PairRow& row, std::ostream* out) {
    *out << row.name;
}

class Pairs : public ::testing::TestWithParam<PairRow> {};

TEST_P(Pairs, LandWhereTheCurrentTransformPutsThem) {
    const PairRow row = GetParam();
    WLength x = row.x, y = row.y;
    Root().PointToHost(x, y, row.relative);
    EXPECT_EQ(x.kind, unit::kHost);
    EXPECT_EQ(y.kind, unit::kHost);
    EXPECT_NEAR(x.value, row.hostX, 1e-6);
    EXPECT_NEAR(y.value, row.hostY, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(
    Cells, Pairs,
    ::testing::Values(
        PairRow{"UserUser", L(96, unit::kUser), L(0, unit::kUser), 0, kInch, kSide},
        PairRow{"UserHost", L(96, unit::kUser), L(1000, unit::kHost), 0, kInch, 1000},
        PairRow{"UserAbs", L(0, unit::kUser), L(1, unit::kIn), 0, 0, kSide - kInch},
        PairRow{"HostUser", L(1000, unit::kHost), L(96, unit::kUser), 0, 1000, kSide - kInch},
        PairRow{"HostHost", L(1000, unit::kHost), L(2000, unit::kHost), 0, 1000, 2000},
        PairRow{"HostAbs", L(1000, unit::kHost), L(25.4, unit::kMm), 0, 1000, kSide - kInch},
        PairRow{"AbsUser", L(1, unit::kIn), L(20, unit::kUser), 0, kInch, kSide - 20 * kUser},
        PairRow{"AbsHost", L(96, unit::kPx), L(3000, unit::kHost), 0, kInch, 3000},
        PairRow{"AbsAbs", L(72, unit::kPt), L(2.54, unit::kCm), 0, kInch, kSide - kInch},
        // Percentages of the drawing's width and height, measured from its top left.
        PairRow{"Percent", L(50, unit::kPercent), L(25, unit::kPercent), 0, kSide / 2, kSide * 0.75},
        // em and ex count from the font size (16 until the reader sets one).
        PairRow{"Em", L(6, unit::kEm), L(0, unit::kEx), 0, kInch, kSide},
        PairRow{"Ex", L(0, unit::kEm), L(12, unit::kEx), 0, 0, kSide - kInch},
        // A displacement: no translation, the y still turned upwards.
        PairRow{"Relative", L(5, unit::kUser), L(96, unit::kUser), 1, 5 * kUser, -kInch},
        PairRow{"RelativeHost", L(5, unit::kUser), L(-700, unit::kHost), 1, 5 * kUser, -700}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Pairs, WithANoneCoordinateAreLeftAlone) {
    for (auto [x0, y0] : {std::pair{L(5, unit::kNone), L(5, unit::kUser)}, {L(5, unit::kIn), L(0, unit::kNone)}}) {
        WLength x = x0, y = y0;
        Root().PointToHost(x, y, 0);
        EXPECT_EQ(x, x0);
        EXPECT_EQ(y, y0);
    }
}

TEST(Pairs, AbsoluteUnitsFollowTheGroupTransform) {
    // y="1in" inside translate(10, 20): SVG puts it 116 user units below
    // the top and 10 to the right.
    WCoordinates c = Root();
    c.Current().Multiply(1, 0, 0, 1, 10, 20);
    c.UpdateInverse();
    WLength x = L(0, unit::kUser), y = L(1, unit::kIn);
    c.PointToHost(x, y, 0);
    EXPECT_NEAR(x.value, 10 * kUser, 1e-6);
    EXPECT_NEAR(y.value, kSide - 116 * kUser, 1e-6);

    // And inside scale(2) an inch is two inches on the page.
    WCoordinates scaled = Root();
    scaled.Current().Multiply(2, 0, 0, 2, 0, 0);
    scaled.UpdateInverse();
    WLength width = L(1, unit::kIn);
    scaled.LengthToHost(width, kHorizontal);
    EXPECT_NEAR(width.value, 2 * kInch, 1e-6);
}

TEST(Pairs, AHorizontalLineContinuesAtTheCurrentPointsHeight) {
    // M 10 10 H 50: the line's end takes the current point's y, given in
    // host units (rounded, as the path keeps its points).
    WCoordinates c = Root();
    WLength mx = L(10, unit::kUser), my = L(10, unit::kUser);
    c.PointToHost(mx, my, 0);
    const double currentY = RoundHalfAway(my.value);
    WLength hx = L(50, unit::kUser), hy = L(currentY, unit::kHost);
    c.PointToHost(hx, hy, 0);
    const WPoint end = c.HostToUser({hx.value, hy.value});
    EXPECT_NEAR(end.x, 50, 1e-9);
    EXPECT_NEAR(end.y, 10, 1e-3);

    // Under a rotation the host y says nothing about the user y: the
    // current point goes back to user units as a whole instead.
    WCoordinates turned = Root();
    turned.Current().Multiply(ParseTransform("rotate(30) translate(5 7)"));
    turned.UpdateInverse();
    WLength tx = L(10, unit::kUser), ty = L(10, unit::kUser);
    turned.PointToHost(tx, ty, 0);
    const WPoint current = turned.HostToUser({RoundHalfAway(tx.value), RoundHalfAway(ty.value)});
    WLength ex = L(50, unit::kUser), ey = L(current.y, unit::kUser);
    turned.PointToHost(ex, ey, 0);
    const WPoint back = turned.HostToUser({ex.value, ey.value});
    EXPECT_NEAR(back.x, 50, 1e-9);
    EXPECT_NEAR(back.y, 10, 1e-3);
}

struct LengthRow {
    WLength length;
    int32_t horizontal;
    double host;
};

void PrintTo(const LengthRow& row, std::ostream* out) {
    *out << row.length.value << " kind " << row.length.kind << (row.horizontal ? " across" : " down");
}

class HostLengths : public ::testing::TestWithParam<LengthRow> {};

TEST_P(HostLengths, AreLengthsThroughTheCurrentMatrix) {
    WLength length = GetParam().length;
    Root().LengthToHost(length, GetParam().horizontal);
    EXPECT_EQ(length.kind, unit::kHost);
    EXPECT_NEAR(length.value, GetParam().host, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(
    Units, HostLengths,
    ::testing::Values(LengthRow{L(96, unit::kUser), kVertical, kInch},  // positive, though d < 0
                      LengthRow{L(-96, unit::kUser), kHorizontal, kInch},
                      LengthRow{L(6, unit::kPc), kDiagonal, kInch},
                      LengthRow{L(10, unit::kMm), kHorizontal, 100000},
                      LengthRow{L(1, unit::kCm), kHorizontal, 100000},
                      LengthRow{L(12, unit::kPt), kHorizontal, 12 * kInch / 72},
                      LengthRow{L(96, unit::kPx), kVertical, kInch},
                      LengthRow{L(50, unit::kPercent), kHorizontal, 1270000},
                      LengthRow{L(10, unit::kPercent), kVertical, 254000},
                      LengthRow{L(1234, unit::kHost), kHorizontal, 1234},
                      LengthRow{L(3, unit::kNone), kHorizontal, 3}));

TEST(Lengths, PercentagesAndTheViewBox) {
    // viewBox 0 0 100 50 on a one-inch square: a = 2540, d = -5080.
    WCoordinates c;
    c.SetRoot(WMatrix(2540, 0, 0, -5080, 0, kInch), kInch, kInch);
    EXPECT_EQ(c.Width(), 254000);
    EXPECT_DOUBLE_EQ(c.ViewportWidth(), 100);
    EXPECT_DOUBLE_EQ(c.ViewportHeight(), 50);
    WLength half = L(50, unit::kPercent);
    c.LengthToHost(half, kHorizontal);
    EXPECT_NEAR(half.value, 127000, 1e-6);
    WLength x = L(100, unit::kPercent), y = L(100, unit::kPercent);
    c.PointToHost(x, y, 0);
    EXPECT_NEAR(x.value, kInch, 1e-6);
    EXPECT_NEAR(y.value, 0, 1e-6);
}

TEST(Lengths, ADocumentSizeBeyondTheHostsRangeIsHeldToIt) {
    WCoordinates c;
    c.SetRoot(WMatrix(kUser, 0, 0, -kUser, 0, 1e300), 1e300, -1e300);
    EXPECT_EQ(c.Width(), INT32_MAX);
    EXPECT_EQ(c.Height(), INT32_MIN);
    c.SetRoot(WMatrix(), std::nan(""), 0);
    EXPECT_EQ(c.Width(), 0);
}

TEST(Lengths, BackToUserUnitsKeepTheirSign) {
    const WCoordinates c = Root();
    for (auto [in, horizontal, user] :
         {std::tuple{L(kInch, unit::kHost), kHorizontal, 96.0}, {L(-kInch, unit::kHost), kVertical, -96.0},
          {L(1, unit::kIn), kVertical, 96.0}, {L(-25.4, unit::kMm), kHorizontal, -96.0},
          {L(2.54, unit::kCm), kHorizontal, 96.0}, {L(72, unit::kPt), kVertical, 96.0},
          {L(6, unit::kPc), kHorizontal, 96.0}, {L(96, unit::kPx), kHorizontal, 96.0},
          {L(2, unit::kEm), kHorizontal, 32.0}, {L(2, unit::kEx), kVertical, 16.0},
          {L(7, unit::kUser), kHorizontal, 7.0}, {L(10, unit::kPercent), kHorizontal, 96.0}}) {
        WLength length = in;
        c.LengthToUser(length, horizontal);
        EXPECT_EQ(length.kind, unit::kUser);
        EXPECT_NEAR(length.value, user, 1e-9);
    }
}

// A length along no axis: a percentage of the viewport's normalised
// diagonal, and through a non-uniform map the square root of its area
// scale (scale(4, 1) doubles it; a horizontal length would be four times).
TEST(Lengths, OfNoAxisTakeTheDiagonalAndTheAreaScale) {
    WCoordinates c = Root();
    c.SetViewport(300, 400);
    WLength percent = L(10, unit::kPercent);
    c.LengthToUser(percent, kDiagonal);
    EXPECT_NEAR(percent.value, 0.1 * std::sqrt((300.0 * 300 + 400.0 * 400) / 2), 1e-9);
    c.Current().Multiply(4, 0, 0, 1, 0, 0);
    c.UpdateInverse();
    for (auto [axis, factor] : {std::pair{kDiagonal, 2.0}, {kHorizontal, 4.0}, {kVertical, 1.0}}) {
        WLength width = L(3, unit::kUser);
        c.LengthToHost(width, axis);
        EXPECT_NEAR(width.value, 3 * factor * kUser, 1e-6) << axis;
        WLength back = width;
        c.LengthToUser(back, axis);
        EXPECT_NEAR(back.value, 3, 1e-9) << axis;
    }
    // em and ex follow the font size the reader sets.
    c.SetFontSize(10);
    WLength em = L(1.5, unit::kEm);
    c.LengthToUser(em, kDiagonal);
    EXPECT_NEAR(em.value, 15, 1e-9);
}

TEST(Lengths, ASingularTransformGivesZeroNotNaN) {
    WCoordinates c = Root();
    c.Current().Multiply(0, 0, 0, 0, 0, 0);
    c.UpdateInverse();
    EXPECT_EQ(c.Inverse(), WMatrix(0, 0, 0, 0, 0, 0));
    WLength length = L(5000, unit::kHost);
    c.LengthToUser(length, kHorizontal);
    EXPECT_EQ(length.value, 0);
    WLength x = L(5000, unit::kHost), y = L(3, unit::kUser);
    c.PointToHost(x, y, 0);
    // Everything collapses onto the translation.
    EXPECT_EQ(x.value, 5000);
    EXPECT_EQ(y.value, kSide);
}

}  // namespace
}  // namespace SVG
