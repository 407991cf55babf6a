// Numbers keep the "C" locale's form whatever locale the process runs in.
#include "c_format.h"

#include <gtest/gtest.h>
#include <locale.h>
#include <unistd.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <string>

#include "comma_locale.h"
#include "svg_transform.h"

namespace svgf {
namespace {

TEST(CFormat, NumbersIgnoreTheThreadsLocale) {
    testsupport::CommaLocale comma;
    ASSERT_NE(comma.Get(), nullptr) << testsupport::kNoCommaLocale;
    locale_t previous = uselocale(comma.Get());
    char probe[32];
    std::snprintf(probe, sizeof probe, "%G", 1.5);
    const std::string local = probe;
    const std::string ours = FormatC("%G %f %d", 1.5, 0.25, -3);
    const std::string transform = TransformAttribute({SVGXformNode::Matrix(1.5, 0, 0, 2.25, 0.5, -0.75)});
    uselocale(previous);
    ASSERT_EQ(local, "1,5") << "the test locale must really use a comma";
    EXPECT_EQ(ours, "1.5 0.250000 -3");
    EXPECT_EQ(transform, "transform=\"matrix(1.5 0 0 2.25 0.5 -0.75)\"");
}

TEST(CFormat, LongTextsAreNotCut) {
    std::string long_text(500, 'x');
    EXPECT_EQ(FormatC("<%s>", long_text.c_str()), "<" + long_text + ">");
    std::string out = "a";
    AppendC(out, "%d%s", 7, long_text.c_str());
    EXPECT_EQ(out, "a7" + long_text);
}

TEST(CFormat, RoundsHalfAwayFromZero) {
    const struct {
        double value;
        int rounded;
    } cases[] = {{2.6, 3},   {-2.6, -3},     {0.0, 0},        {2.5, 3},         {-2.5, -3}, {0.49, 0},
                 {-0.49, 0}, {1000.0, 1000}, {1e12, INT_MAX}, {-1e12, INT_MIN}, {NAN, 0}};
    for (const auto& c : cases) EXPECT_EQ(RoundHalfAway(c.value), c.rounded) << c.value;
}

}  // namespace
}  // namespace svgf
