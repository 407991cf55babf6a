// SVG documents of one feature each, imported by `svgfilter import` and
// exported again by `svgfilter export`: what imports renders like the
// document it came from; what the import leaves out still imports cleanly.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tool_renders.h"

namespace {

using namespace tool_renders;

constexpr uint32_t kPixels = 100;

struct Fixture {
    const char* name;
    double tolerance;  // share of pixels that may differ
};

std::ostream& operator<<(std::ostream& out, const Fixture& f) {
    return out << f.name;
}

class FixtureImport : public ::testing::TestWithParam<Fixture> {
  protected:
    void SetUp() override {
        if (!HaveRenderer()) GTEST_SKIP() << "rsvg-convert is not installed";
    }

    // Copies the fixture (and a square picture for linked images) into the
    // folder, then imports it and exports the description again.
    void ImportAndExport(const std::string& name) {
        std::filesystem::copy_file(std::string(SVGFILTER_TEST_DATA) + "/import_fixtures/" + name + ".svg",
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

TEST_P(FixtureImport, RendersLikeItsDocument) {
    const Fixture& f = GetParam();
    ImportAndExport(f.name);
    const Image want = Render(folder_, std::string(f.name) + ".svg", kPixels);
    const Image got = Render(folder_, std::string(f.name) + ".out.svg", kPixels);
    ASSERT_FALSE(want.empty());
    EXPECT_GT(Inked(want), 0.02);
    EXPECT_LE(Differing(want, got), f.tolerance) << ReadFile(folder_ / (std::string(f.name) + ".out.svg"));
}

// Features that import.
INSTANTIATE_TEST_SUITE_P(
    Features, FixtureImport,
    ::testing::Values(
        Fixture{"rect", 0.01}, Fixture{"rounded_rect", 0.01}, Fixture{"circle_ellipse", 0.01},
        Fixture{"line_polyline_polygon", 0.01}, Fixture{"path_curves", 0.01}, Fixture{"path_arcs", 0.01},
        Fixture{"relative_path", 0.01}, Fixture{"group_transform", 0.01}, Fixture{"nested_groups", 0.01},
        Fixture{"view_box", 0.01}, Fixture{"linear_gradient", 0.01}, Fixture{"radial_gradient", 0.01},
        Fixture{"pattern", 0.01}, Fixture{"pattern_checker", 0.01}, Fixture{"clip_path", 0.01},
        Fixture{"mask", 0.01}, Fixture{"opacity", 0.01}, Fixture{"stroke_styles", 0.01},
        Fixture{"style_sheet", 0.01}, Fixture{"style_attribute", 0.01}, Fixture{"inherited_style", 0.01},
        Fixture{"use", 0.01}, Fixture{"link", 0.01}, Fixture{"switch", 0.01}, Fixture{"image", 0.01},
        Fixture{"dashes", 0.01}, Fixture{"stroke_opacity", 0.01},
        // The host lays the characters out again with its own fonts.
        Fixture{"text", 0.02}),
    [](const auto& info) { return std::string(info.param.name); });

// What the import leaves out or cannot tell the host; each still gives a
// drawing (the README's limits say what it loses).
class LimitImport : public FixtureImport {};

TEST_P(LimitImport, ImportsCleanly) {
    ImportAndExport(GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Limits, LimitImport,
                         ::testing::Values(Fixture{"markers", 0}, Fixture{"filter", 0}, Fixture{"text_anchor", 0},
                                           Fixture{"nested_svg", 0}, Fixture{"mask_luminance", 0},
                                           Fixture{"image_ratio", 0}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
