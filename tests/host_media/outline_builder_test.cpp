// The host path form builder: node roles, close bits, quadratic raising and
// the rounding of scaled nodes.
#include "host/media/outline_builder.h"

#include <gtest/gtest.h>

#include <vector>

namespace host::media {
namespace {

namespace node = svgf::node;

struct Node {
    int32_t x, y;
    uint8_t type;
    bool operator==(const Node&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Node& n) {
    return os << "(" << n.x << "," << n.y << " type 0x" << std::hex << int(n.type) << std::dec << ")";
}

std::vector<Node> Nodes(const svgf::HostOutline* outline) {
    std::vector<Node> out;
    for (size_t i = 0; i < outline->nodeCount; ++i)
        out.push_back({svgf::OutlinePoints(outline)[i].x, svgf::OutlinePoints(outline)[i].y,
                       svgf::OutlineTypes(outline)[i]});
    return out;
}

TEST(OutlineBuilder, QuadraticContourIsRaisedToTheSameCurveAsCubic) {
    OutlineBuilder b(1.0);
    b.MoveTo(0, 0);
    b.QuadTo(30, 60, 60, 0);
    b.QuadTo(30, -60, 0, 0);
    b.Close();
    OutlinePtr o = b.Finish();
    ASSERT_TRUE(o);
    // Controls two thirds of the way from each end towards the quadratic control.
    const std::vector<Node> expected = {
        {0, 0, node::kMove},
        {20, 40, node::kControl},
        {40, 40, node::kControl},
        {60, 0, node::kCurveEnd},
        {40, -40, node::kControl},
        {20, -40, node::kControl},
        {0, 0, node::kCurveEnd | node::kClose},
    };
    EXPECT_EQ(Nodes(o.get()), expected);

    // The cubic passes through the quadratic's points, e.g. its apex at t = 1/2.
    const double qx = 0.25 * 0 + 0.5 * 30 + 0.25 * 60, qy = 0.5 * 60;
    const double cx = (0 + 3 * 20 + 3 * 40 + 60) / 8.0, cy = (3 * 40 + 3 * 40) / 8.0;
    EXPECT_DOUBLE_EQ(cx, qx);
    EXPECT_DOUBLE_EQ(cy, qy);
}

TEST(OutlineBuilder, ClosingLineBackToTheStartIsLeftToTheClose) {
    OutlineBuilder b(1.0);
    b.MoveTo(10, 20);
    b.LineTo(30, 20);
    b.LineTo(30, 40);
    b.LineTo(10, 20);  // back to the start
    b.Close();
    b.MoveTo(100, 100);
    b.LineTo(200, 100);
    b.Close();
    OutlinePtr o = b.Finish();
    ASSERT_TRUE(o);
    const std::vector<Node> expected = {
        {10, 20, node::kMove},
        {30, 20, node::kLine},
        {30, 40, node::kLine | node::kClose},
        {100, 100, node::kMove},
        {200, 100, node::kLine | node::kClose},
    };
    EXPECT_EQ(Nodes(o.get()), expected);
}

TEST(OutlineBuilder, SegmentsWithoutMoveStartAtTheCurrentPoint) {
    OutlineBuilder b(1.0);
    b.LineTo(5, 5);  // no move yet: starts at the origin
    b.Close();
    b.LineTo(7, 0);  // after a close: starts at the closed subpath's start
    OutlinePtr o = b.Finish();
    ASSERT_TRUE(o);
    const std::vector<Node> expected = {
        {0, 0, node::kMove}, {5, 5, node::kLine | node::kClose}, {0, 0, node::kMove}, {7, 0, node::kLine}};
    EXPECT_EQ(Nodes(o.get()), expected);
}

TEST(OutlineBuilder, ScaledNodesRoundHalfAwayFromZero) {
    OutlineBuilder b(0.5);
    b.MoveTo(3, -3);
    b.LineTo(5, -5);
    b.LineTo(1, 0);
    OutlinePtr o = b.Finish();
    ASSERT_TRUE(o);
    const std::vector<Node> expected = {{2, -2, node::kMove}, {3, -3, node::kLine}, {1, 0, node::kLine}};
    EXPECT_EQ(Nodes(o.get()), expected);
}

TEST(OutlineBuilder, RefusesWhatTheFormCannotHold) {
    OutlineBuilder tooFar(1e6);
    tooFar.MoveTo(0, 0);
    tooFar.LineTo(5000, 0);  // 5e9 does not fit 32 bits
    EXPECT_FALSE(tooFar.Finish());

    OutlineBuilder tooMany(1.0);
    tooMany.MoveTo(0, 0);
    for (size_t i = 1; i < kMaxOutlineNodes; ++i) tooMany.LineTo(double(i), 0);
    EXPECT_TRUE(tooMany.Finish());  // exactly 65535 nodes
    tooMany.LineTo(0, 1);
    EXPECT_FALSE(tooMany.Finish());

    OutlinePtr empty = OutlineBuilder(1.0).Finish();
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->nodeCount, 0);
}

}  // namespace
}  // namespace host::media
