// Drawings exported by `svgfilter export`, imported by `svgfilter import` and
// exported again, in each place the export can put its styles: the two
// documents render alike.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <tuple>

#include "tool_renders.h"

namespace {

using namespace tool_renders;

constexpr uint32_t kPixels = 200;

struct Drawing {
    const char* name;
    std::string description;  // a file, or a description's text
    double tolerance;         // share of pixels that may differ
};

std::string File(const std::string& path) {
    return "@" + path;
}

// A one-inch page holding `objects`, as the export render tests draw it.
std::string OneInch(const std::string& objects) {
    return R"({"format": "svgfilter-drawing", "version": 1, "unit": "in", "page": {"width": 1, "height": 1},
               "layers": [{"name": "L", "objects": [)" +
           objects + "]}]}";
}

const Drawing kDrawings[] = {
    // The sample's texts are laid out again by the host between the exports.
    {"sample", File(SVGFILTER_SOURCE_DIR "/examples/sample.json"), 0.02},
    {"scene", File(SVGFILTER_TEST_DATA "/import/scene.json"), 0.01},
    {"ten_shapes", File(SVGFILTER_TEST_DATA "/markup/style/ten_shapes.json"), 0.02},
    {"transformed_group", OneInch(R"({"kind": "transform", "matrix": [0, -1, 1, 1, 0, 0], "objects": [
        {"kind": "rectangle", "x": 0, "y": 0, "width": 0.5, "height": 0.5,
         "fill": {"kind": "uniform", "colour": "#FF0000"}}]})"),
     0.01},
    {"clips", OneInch(R"({"kind": "clip",
        "shape": {"kind": "rectangle", "x": 0, "y": 0.5, "width": 1, "height": 0.5}, "objects": [
          {"kind": "clip", "shape": {"kind": "path", "nodes": [["M", 0, 0], ["L", 0.5, 0], ["L", 0.5, 1],
                                                                ["L", 0, 1], ["Z"]]}, "objects": [
            {"kind": "rectangle", "x": 0, "y": 0, "width": 1, "height": 1,
             "fill": {"kind": "uniform", "colour": "#FF0000"}}]}]})"),
     0.01},
};

using RoundTripCase = std::tuple<Drawing, const char*>;

class RoundTrip : public ::testing::TestWithParam<RoundTripCase> {
  protected:
    void SetUp() override {
        if (!HaveRenderer()) GTEST_SKIP() << "rsvg-convert is not installed";
    }
    media_test::TempFolder folder_;
};

TEST_P(RoundTrip, TheSecondExportRendersLikeTheFirst) {
    const auto& [drawing, placement] = GetParam();
    std::string input = drawing.description.substr(1);
    if (drawing.description[0] != '@') {
        input = folder_ / "drawing.json";
        std::ofstream(input) << drawing.description;
    }
    const std::string css = std::string(" --css ") + placement;
    std::string errors;
    ASSERT_EQ(Tool(folder_, "export " + Quote(input) + " first.svg" + css, &errors), 0) << errors;
    ASSERT_EQ(Tool(folder_, "import first.svg imported.json", &errors), 0) << errors;
    ASSERT_EQ(Tool(folder_, "export imported.json second.svg" + css, &errors), 0) << errors;

    const Image first = Render(folder_, "first.svg", kPixels);
    const Image second = Render(folder_, "second.svg", kPixels);
    ASSERT_FALSE(first.empty());
    EXPECT_GT(Inked(first), 0.02);
    EXPECT_LE(Differing(first, second), drawing.tolerance) << ReadFile(folder_ / "second.svg");
}

INSTANTIATE_TEST_SUITE_P(Drawings, RoundTrip,
                         ::testing::Combine(::testing::ValuesIn(kDrawings),
                                            ::testing::Values("internal", "external", "style")),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param);
                         });

}  // namespace
