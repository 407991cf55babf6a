// Documents that place, size, clip and tile their content through units,
// viewports, clip paths, gradients and patterns: each imported by
// `svgfilter import`, exported again and rendered beside its original.
#include <gtest/gtest.h>

#include <filesystem>
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

    void ImportAndExport(const std::string& name) {
        std::filesystem::copy_file(std::string(SVGFILTER_TEST_DATA) + "/import_fixtures/geometry/" + name + ".svg",
                                   folder_ / (name + ".svg"));
        media_test::WriteFixture(folder_, "picture.png", media_test::Quarters(16, 16),
                                 host::media::ImageFormat::kPng, 24);
        media_test::WriteFixture(folder_, "wide.png", media_test::Quarters(32, 8),
                                 host::media::ImageFormat::kPng, 24);
        std::string errors;
        ASSERT_EQ(Tool(folder_, "import " + name + ".svg " + name + ".json", &errors), 0) << errors;
        ASSERT_EQ(Tool(folder_, "export " + name + ".json " + name + ".out.svg", &errors), 0) << errors;
    }

    media_test::TempFolder folder_;
};

TEST_P(GeometryFixture, RendersLikeItsDocument) {
    const Fixture& f = GetParam();
    ImportAndExport(f.name);
    const Image want = Render(folder_, std::string(f.name) + ".svg", kPixels);
    const Image got = Render(folder_, std::string(f.name) + ".out.svg", kPixels);
    ASSERT_FALSE(want.empty());
    EXPECT_GT(Inked(want), 0.02);
    EXPECT_LE(Differing(want, got, kThreshold), f.tolerance)
        << ReadFile(folder_ / (std::string(f.name) + ".out.svg"));
}

INSTANTIATE_TEST_SUITE_P(
    Geometry, GeometryFixture,
    ::testing::Values(Fixture{"units_inch", 0.01}, Fixture{"units_relative", 0.01}, Fixture{"units_viewbox", 0.01},
                      Fixture{"units_points", 0.01}, Fixture{"no_size", 0.01}, Fixture{"ratio_meet", 0.01},
                      Fixture{"ratio_slice", 0.01}, Fixture{"ratio_root", 0.01},
                      Fixture{"ratio_root_slice", 0.01}, Fixture{"symbol_sprite", 0.01},
                      Fixture{"clip_units", 0.01}, Fixture{"clip_shapes", 0.01}, Fixture{"root_effects", 0.01},
                      Fixture{"gradient_direction", 0.01}, Fixture{"structure", 0.01}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
