// The stand-in host's matrix, point and colour services.
#include "host/export_geometry.h"

#include <gtest/gtest.h>

namespace host {
namespace {

using svgf::HostMatrix;
using svgf::HostPoint;

TEST(HostMatrix, EachOperationAppliesAfterTheExistingMatrix) {
    HostMatrix m;
    MatrixIdentity(m);
    MatrixTranslate(m, 10, 0);
    MatrixScale(m, 2, 1);
    // Translated first, then scaled.
    EXPECT_EQ(TransformPoint(m, {1, 0}).x, 22);

    MatrixIdentity(m);
    MatrixScale(m, 2, 1);
    MatrixCombine(m, HostMatrix{{1, 0, 5, 0, 1, 0}});
    EXPECT_EQ(TransformPoint(m, {1, 0}).x, 7);
}

TEST(HostMatrix, RotationIsCounterClockwiseInThousandthsOfADegreeAboutTheCentre) {
    HostMatrix m;
    MatrixIdentity(m);
    MatrixRotate(m, 90000, 0, 0);
    EXPECT_EQ(TransformPoint(m, {1000, 0}).x, 0);
    EXPECT_EQ(TransformPoint(m, {1000, 0}).y, 1000);
    MatrixIdentity(m);
    MatrixRotate(m, 90000, 100, 100);
    EXPECT_EQ(TransformPoint(m, {200, 100}).x, 100);
    EXPECT_EQ(TransformPoint(m, {200, 100}).y, 200);
}

// The exporter expresses a host matrix in user units by bracketing it with
// unit changes and flips; with the identity in the middle the whole chain
// must come back to the identity.
TEST(HostMatrix, TheExportersUnitChainAroundTheIdentityIsTheIdentity) {
    const double s = 1000.0 / 254000.0;
    const int32_t top = 254000;
    HostMatrix m;
    MatrixIdentity(m);
    MatrixCombine(m, HostMatrix{{1 / s, 0, 0, 0, 1 / s, 0}});
    MatrixTranslate(m, 0, -top);
    MatrixScale(m, 1.0, -1.0);
    HostMatrix identity;
    MatrixIdentity(identity);
    MatrixCombine(m, identity);
    MatrixScale(m, 1.0, -1.0);
    MatrixTranslate(m, 0, top);
    MatrixCombine(m, HostMatrix{{s, 0, 0, 0, s, 0}});
    const double expected[6] = {1, 0, 0, 0, 1, 0};
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(m.m[i], expected[i], 1e-9) << i;
    EXPECT_FALSE(MatrixIsIdentity(HostMatrix{{1, 0, 0, 0, 1, 1e-12}}));
    EXPECT_TRUE(MatrixIsIdentity(identity));
}

TEST(HostPoints, TransformRoundsHalfAwayFromZero) {
    HostMatrix half;
    MatrixIdentity(half);
    MatrixScale(half, 0.5, 0.5);
    EXPECT_EQ(TransformPoint(half, {3, -3}).x, 2);
    EXPECT_EQ(TransformPoint(half, {3, -3}).y, -2);
    EXPECT_EQ(TransformPoint(half, {0, 1}).y, 1);
    EXPECT_EQ(RoundHalfAway(2.6), 3);
    EXPECT_EQ(RoundHalfAway(-2.6), -3);
    EXPECT_EQ(RoundHalfAway(0.0), 0);
    EXPECT_EQ(RoundHalfAway(1e300), INT32_MAX);
}

TEST(HostPoints, BoundingBoxHasTheLargerYOnTop) {
    const HostPoint points[] = {{5, -2}, {-3, 7}, {1, 1}};
    const svgf::HostRect box = BoundingBox(points, 3);
    EXPECT_EQ(box.left, -3);
    EXPECT_EQ(box.top, 7);
    EXPECT_EQ(box.right, 5);
    EXPECT_EQ(box.bottom, -2);
    const svgf::HostRect none = BoundingBox(points, 0);
    EXPECT_EQ(none.left | none.top | none.right | none.bottom, 0);
}

TEST(HostColour, ConvertsBetweenRgbAndHsb) {
    struct Case {
        uint8_t r, g, b;
        uint16_t hue;
        uint8_t s, v;
    };
    const Case cases[] = {
        {255, 0, 0, 0, 255, 255},    {0, 255, 0, 120, 255, 255}, {0, 0, 255, 240, 255, 255},
        {255, 255, 0, 60, 255, 255}, {128, 128, 128, 0, 0, 128}, {0, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.r) << "," << int(c.g) << "," << int(c.b));
        svgf::ColorRecord hsb{};
        ASSERT_TRUE(ConvertColour(RgbColour(c.r, c.g, c.b), svgf::kColorModelHsb, hsb));
        EXPECT_EQ(hsb.model, svgf::kColorModelHsb);
        EXPECT_EQ(hsb.channels[4] | (hsb.channels[5] << 8), c.hue);
        EXPECT_EQ(hsb.channels[6], c.s);
        EXPECT_EQ(hsb.channels[7], c.v);
        svgf::ColorRecord rgb{};
        ASSERT_TRUE(ConvertColour(hsb, svgf::kColorModelRgb, rgb));
        EXPECT_EQ(rgb.channels[6], c.r);
        EXPECT_EQ(rgb.channels[5], c.g);
        EXPECT_EQ(rgb.channels[4], c.b);
    }
    svgf::ColorRecord out{};
    svgf::ColorRecord unknown{};
    unknown.model = 2;
    EXPECT_FALSE(ConvertColour(unknown, svgf::kColorModelRgb, out));
    EXPECT_FALSE(ConvertColour(RgbColour(1, 2, 3), 2, out));
}

}  // namespace
}  // namespace host
