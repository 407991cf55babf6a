// Style sheets through the whole import: documents styled by type,
// descendant, compound and sibling rules, "!important", inheritance and
// colour forms, imported and exported again, render as rsvg-convert draws
// the documents themselves.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tool_renders.h"

namespace {

using namespace tool_renders;

constexpr uint32_t kPixels = 100;

class CssFixture : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        if (!HaveRenderer()) GTEST_SKIP() << "rsvg-convert is not installed";
    }
    media_test::TempFolder folder_;
};

TEST_P(CssFixture, RendersLikeItsDocument) {
    const std::string name = GetParam();
    std::filesystem::copy_file(std::string(SVGFILTER_TEST_DATA) + "/import_fixtures/css/" + name + ".svg",
                               folder_ / (name + ".svg"));
    std::string errors;
    ASSERT_EQ(Tool(folder_, "import " + name + ".svg " + name + ".json", &errors), 0) << errors;
    ASSERT_EQ(Tool(folder_, "export " + name + ".json " + name + ".out.svg", &errors), 0) << errors;
    const Image want = Render(folder_, name + ".svg", kPixels);
    const Image got = Render(folder_, name + ".out.svg", kPixels);
    ASSERT_FALSE(want.empty());
    EXPECT_GT(Inked(want), 0.02);
    EXPECT_LE(Differing(want, got), 0.01) << ReadFile(folder_ / (name + ".out.svg"));
}

INSTANTIATE_TEST_SUITE_P(Sheets, CssFixture, ::testing::Values("selectors", "entity_child", "important", "colour_names",
                                                           "colour_forms", "current_colour"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
