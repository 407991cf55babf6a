// Documents that place, size, clip and tile their content through units,
// viewports, clip paths, gradients and patterns: each imported by
// `svgfilter import`, exported again and rendered beside its original.
#include <gtest/gtest.h>

#include <string>

#include "tool_renders.h"

namespace {

using namespace tool_renders;

constexpr uint32_t kPixels = 100;
// A channel further apart than this counts as a differing pixel.
constexpr int kThreshold = 48;

struct Fixture {
    const char* name;
    double tolerance;  // share of pixels that may differ
};

std::ostream& operator<<(std::ostream& out, const Fixture& f) {
    return out << f.name;
}

class GeometryFixture : public ::testing::TestWithParam<Fixture> {
  protected:
    void SetUp() override {
        if (!HaveRenderer()) GTEST_SKIP() << "rsvg-convert is not installed";
    }

    media_test::TempFolder folder_;
};

TEST_P(GeometryFixture, RendersLikeItsDocument) {
    const Fixture& f = GetParam();
    RoundTrip trip;
    ASSERT_TRUE(RoundTripFixture(folder_, "geometry", f.name, kPixels, &trip));
    EXPECT_GT(Inked(trip.original), 0.02);
    EXPECT_LE(Differing(trip.original, trip.imported, kThreshold), f.tolerance) << trip.output;
}

INSTANTIATE_TEST_SUITE_P(
    Geometry, GeometryFixture,
    ::testing::Values(Fixture{"units_inch", 0.01}, Fixture{"units_relative", 0.01}, Fixture{"units_viewbox", 0.01},
                      Fixture{"units_points", 0.01}, Fixture{"no_size", 0.01}, Fixture{"ratio_meet", 0.01},
                      Fixture{"ratio_slice", 0.01}, Fixture{"ratio_root", 0.01},
                      Fixture{"ratio_root_slice", 0.01}, Fixture{"symbol_sprite", 0.01},
                      Fixture{"clip_units", 0.01}, Fixture{"clip_shapes", 0.01}, Fixture{"root_effects", 0.01},
                      Fixture{"gradient_direction", 0.01}, Fixture{"structure", 0.01},
                      Fixture{"gradient_spread", 0.01}, Fixture{"radial_ellipse", 0.01},
                      Fixture{"stroke_scaled", 0.01}, Fixture{"stroke_uneven", 0.01},
                      Fixture{"pattern_turned", 0.01},
                      // The export writes the 25-unit tile of the view-boxed
                      // pattern in whole units of its own (260 for 260.4),
                      // which the renderer resamples: its edges soften.
                      Fixture{"pattern_units", 0.04},
                      // The export writes pictures as JPEG by default: its
                      // ringing at the pictures' colour edges.
                      Fixture{"image_ratio", 0.02}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
