// Laying out a run: origins spaced by the pair advances, along a baseline
// that may be turned.
#include "host/media/text_layout.h"

#include <gtest/gtest.h>

#include <cmath>

#include "font_reference.h"

namespace host::media {
namespace {

using namespace testing;

class TextLayoutTest : public ::testing::Test {
  protected:
    std::unique_ptr<FontLibrary> fonts = MakeFonts();
    const FontRequest sans{kSans, 0, 254000};
};

TEST_F(TextLayoutTest, OriginsFollowThePairAdvancesExactly) {
    const std::u16string text = u"AVA W";
    const svgf::HostPoint start{1000, -2000};
    std::optional<std::vector<svgf::HostPoint>> origins = LayoutRun(*fonts, sans, text, start, 0);
    ASSERT_TRUE(origins);
    ASSERT_EQ(origins->size(), text.size());
    EXPECT_EQ((*origins)[0].x, start.x);
    for (size_t i = 1; i < text.size(); ++i) {
        // What the module checks: x(i) - advance - x(i-1) == 0 on one baseline.
        const int32_t advance = fonts->PairAdvance(sans, text[i - 1], text[i]).value();
        EXPECT_EQ((*origins)[i].x - advance - (*origins)[i - 1].x, 0) << i;
        EXPECT_EQ((*origins)[i].y, start.y);
    }
    // The kerned pair comes closer than the unkerned one.
    EXPECT_LT((*origins)[1].x - (*origins)[0].x, *fonts->PairAdvance(sans, 'A', 'A'));
    // No font handle is left behind by layout.
    EXPECT_EQ(fonts->Counts().fontsCreated, 0u);
}

TEST_F(TextLayoutTest, TurnedBaselines) {
    const std::u16string text = u"HHH";
    const int32_t h = fonts->PairAdvance(sans, 'H', 'H').value();
    const struct {
        int32_t degrees;
        int32_t dx, dy;  // the step from one origin to the next
    } quarterTurns[] = {{90, 0, h}, {180, -h, 0}, {-90, 0, -h}, {450, 0, h}};
    for (const auto& c : quarterTurns) {
        auto origins =
            LayoutRun(*fonts, sans, text, {0, 0}, c.degrees * svgf::svc::kFontRotationUnitsPerDegree);
        ASSERT_TRUE(origins);
        for (size_t i = 0; i < text.size(); ++i) {
            EXPECT_EQ((*origins)[i].x, c.dx * static_cast<int32_t>(i)) << c.degrees;
            EXPECT_EQ((*origins)[i].y, c.dy * static_cast<int32_t>(i)) << c.degrees;
        }
    }
    // At 30 degrees each origin is the rounded point on the turned line, so
    // rounding never adds up along the run.
    auto origins = LayoutRun(*fonts, sans, text, {0, 0}, 30 * svgf::svc::kFontRotationUnitsPerDegree);
    ASSERT_TRUE(origins);
    for (size_t i = 0; i < text.size(); ++i) {
        const double d = static_cast<double>(h) * i;
        EXPECT_EQ((*origins)[i].x, std::lround(d * std::sqrt(3.0) / 2));
        EXPECT_EQ((*origins)[i].y, std::lround(d / 2));
    }
}

TEST_F(TextLayoutTest, EmptyRunsAndBadFonts) {
    auto empty = LayoutRun(*fonts, sans, u"", {5, 5}, 0);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
    EXPECT_FALSE(LayoutRun(*fonts, FontRequest{kUnknownId, 0, 254000}, u"A", {0, 0}, 0));
    EXPECT_FALSE(LayoutRun(*fonts, FontRequest{kSans, 0, -5}, u"", {0, 0}, 0));
    // A run that would run off the 32-bit range is refused, not wrapped.
    EXPECT_FALSE(LayoutRun(*fonts, sans, u"WW", {INT32_MAX - 10, 0}, 0));
}

}  // namespace
}  // namespace host::media
