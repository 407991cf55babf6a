// Documents of one paint feature each (what is shown and hidden, opacities,
// dashes, fill rules, stop opacities, paint on text, paint fallbacks, `use`
// inheritance), imported by `svgfilter import` and exported again by
// `svgfilter export`: the round trip renders like the document.
#include <gtest/gtest.h>

#include <string>

#include "tool_renders.h"

namespace {

using namespace tool_renders;

constexpr uint32_t kPixels = 100;
// A channel further apart than this counts the pixel as differing.
constexpr int kThreshold = 48;

struct Fixture {
    const char* name;
    double tolerance;  // share of pixels that may differ
};

class PaintImport : public ::testing::TestWithParam<Fixture> {
  protected:
    void SetUp() override {
        if (!HaveRenderer()) GTEST_SKIP() << "rsvg-convert is not installed";
    }

    media_test::TempFolder folder_;
};

TEST_P(PaintImport, RendersLikeItsDocument) {
    const std::string name = GetParam().name;
    RoundTrip trip;
    ASSERT_TRUE(RoundTripFixture(folder_, "paint", name, kPixels, &trip));
    EXPECT_GT(Inked(trip.original), 0.02);
    EXPECT_LE(Differing(trip.original, trip.imported, kThreshold), GetParam().tolerance) << trip.output;
}

INSTANTIATE_TEST_SUITE_P(Paint, PaintImport,
                         ::testing::Values(Fixture{"visibility", 0.01}, Fixture{"opacity", 0.01},
                                           Fixture{"root_opacity", 0.01}, Fixture{"fill_stroke_opacity", 0.01},
                                           Fixture{"use_inherits", 0.01}, Fixture{"dashes", 0.01},
                                           Fixture{"fill_rule", 0.01}, Fixture{"stop_opacity", 0.01},
                                           Fixture{"paint_fallback", 0.01},
                                           // The host lays the characters out with its own fonts, and
                                           // a gradient spans the text's estimated box.
                                           Fixture{"text_paint", 0.03},
                                           // The pentagram crosses itself: its centre fills.
                                           Fixture{"fill_rule_star", 0.03}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
