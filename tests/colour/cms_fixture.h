// A host installation with colour management: a system colour profile and
// the device profiles, made by LittleCMS, in the colour directory.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "colour/cms.h"
#include "colour_fixtures.h"
#include "icc_fixtures.h"
#include "platform/recording_profile_library.h"

namespace colour::testing {

class CmsTest : public ColourTest {
  protected:
    // A skip in SetUp skips the test body; one in a helper would not.
    void SetUp() override {
        if (!IccAvailable()) GTEST_SKIP() << "this build has no LittleCMS";
    }

    // Lays out the catalogue (a CMYK printer unless told otherwise, every
    // device in use) and the profiles; the working space and the monitor
    // are sRGB.
    void SetUpCms(bool printerCMYK = true) {
        InstallCatalogue(RiffWriter("sp71")
                             .Chunk("comh", CommonHeader(printerCMYK ? 1 : 0, 1, {2, 2, 2, 2}))
                             .Chunk("head", DeviceTable("", ""))
                             .Bytes());
        ASSERT_TRUE(WriteSRGBProfile(ColourFile("ThMon.CC")));
        ASSERT_TRUE(WriteSRGBProfile(ColourFile("Monitor.cc")));
        ASSERT_TRUE(WriteLabProfile(ColourFile("Lab.CC")));
        ASSERT_TRUE(WriteLabProfile(ColourFile("HostCand.CC")));
        ASSERT_TRUE(WriteCMYKPrinterProfile(ColourFile("PrnCMYK.cc")));
        // A CMYK printer's RGB device is the printer itself.
        ASSERT_TRUE(printerCMYK ? WriteCMYKPrinterProfile(ColourFile("PrnRGB.cc"))
                                : WriteGammaRGBProfile(ColourFile("PrnRGB.cc")));
        ASSERT_TRUE(WriteHexachromeLink(ColourFile("CRGB2HxN.PT")));
        ClrSettings s;
        s.colourManagement = 1;
        ClrSetSettings(s);
    }

    std::string ColourFile(const std::string& name) const { return folder.Path() + "Color/" + name; }
};

// A recording library in force for the life of this object. It lets go of
// colour management before the recorder goes, so the instance and the
// transforms are freed through entries that still reach the library.
class RecordingInstall {
  public:
    RecordingInstall() : recorder(platform::BuiltInProfileLibrary()) { platform::SetProfileLibrary(&recorder); }
    ~RecordingInstall() {
        ClrForgetColourManagement();
        platform::SetProfileLibrary(nullptr);
    }
    RecordingInstall(const RecordingInstall&) = delete;
    RecordingInstall& operator=(const RecordingInstall&) = delete;

    platform::RecordingProfileLibrary recorder;
};

// The same installation for the tests that also run without LittleCMS.
class CmsFallbackTest : public CmsTest {
  protected:
    void SetUp() override {}
};

using Pixels = std::vector<std::uint8_t>;

// RGB test pixels (blue, green, red) across the cube, greys and primaries.
inline Pixels SweepRGB() {
    Pixels p;
    for (int r = 0; r < 256; r += 51)
        for (int g = 0; g < 256; g += 51)
            for (int b = 0; b < 256; b += 51) p.insert(p.end(), {std::uint8_t(b), std::uint8_t(g), std::uint8_t(r)});
    return p;
}

inline int MaxDifference(const Pixels& a, const Pixels& b) {
    int worst = 0;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) worst = std::max(worst, std::abs(a[i] - b[i]));
    return a.size() == b.size() ? worst : 1000;
}

}  // namespace colour::testing
