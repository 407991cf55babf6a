// Style sheets through the whole import: documents styled by type,
// descendant, compound and sibling rules, "!important", inheritance and
// colour forms, "inherit" and the media a sheet names, imported and
// exported again, render as rsvg-convert draws the documents themselves.
#include <gtest/gtest.h>

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
    RoundTrip trip;
    ASSERT_TRUE(RoundTripFixture(folder_, "css", name, kPixels, &trip));
    EXPECT_GT(Inked(trip.original), 0.02);
    EXPECT_LE(Differing(trip.original, trip.imported), 0.01) << trip.output;
}

INSTANTIATE_TEST_SUITE_P(Sheets, CssFixture, ::testing::Values("selectors", "entity_child", "important", "colour_names",
                                                           "colour_forms", "current_colour", "keywords"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
