// Colour management on LittleCMS: chains of device profiles evaluated on
// rows, lookup tables against the transform, the gamut check, the one
// warning, the lock and thread bracket, and the fallback to the plain
// formulas when no transform can be had.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "cms_fixture.h"
#include "colour/proofing.h"
#include "colour/rows.h"

namespace colour {
namespace {

using testing::CmsFallbackTest;
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

TEST_F(CmsTest, LookupTableFollowsTheTransform) {
    SetUpCms();
    ASSERT_TRUE(testing::WriteGammaRGBProfile(ColourFile("Monitor.cc")));
    const Pixels src = SweepRGB();
    const int width = static_cast<int>(src.size() / 3);
    Pixels direct(src.size()), looked(src.size());
    ASSERT_TRUE(ClrEvalRowsToRGB(direct.data(), 0, src.data(), 0, kEvalLayoutRGB, width, 1, 1, 0));
    ASSERT_TRUE(ClrLookupRGBRows(looked.data(), 0, src.data(), 0, width, 1, 1, 0));
    EXPECT_NE(direct, src);  // the monitor's gamma differs from the working space's
    EXPECT_LE(MaxDifference(looked, direct), 3);

    // CMYK tables hold the nearest grid point: grid points agree exactly.
    const Pixels cmyk = {0, 0, 0, 0, 32, 64, 96, 0, 255, 0, 0, 128, 0, 224, 255, 32};
    Pixels viaTable(12), viaTransform(12);
    ASSERT_TRUE(ClrLookupCMYKRows(viaTable.data(), 0, cmyk.data(), 0, 4, 1, 7, 0));
    ASSERT_TRUE(ClrEvalCMYKRows(viaTransform.data(), 0, cmyk.data(), 0, 0, 4, 1, 7, 0));
    EXPECT_LE(MaxDifference(viaTable, viaTransform), 1);

    // A kinds table asking for the table takes it for the monitor's rows.
    ClrGetSettings().monitor = 1;
    ClrKindsTable kinds;
    kinds.words[1] = kKindLookupTable;
    Pixels shown(src.size());
    ASSERT_TRUE(ClrConvertRowsToMonitor(&kinds, kRowsRGB, shown.data(), 0, src.data(), 0, width, 1));
    EXPECT_EQ(shown, looked);
}

TEST_F(CmsTest, GamutMaskMarksWhatThePrinterCannotPrint) {
    SetUpCms();
    // Blue, green, red: the primaries and white lie outside, greys and a
    // muted colour inside.
    const Pixels src = {0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255,
                        128, 128, 128, 100, 100, 100, 150, 130, 110, 180, 180, 180};
    Pixels mask(8, 0x77);
    // The check does not start the library by itself.
    EXPECT_EQ(ClrGamutMask(mask.data(), src.data(), 0, 8, 1, 24), 0);
    EXPECT_EQ(mask, Pixels(8, 0));
    ASSERT_TRUE(ClrInitCms());
    ASSERT_EQ(ClrGamutMask(mask.data(), src.data(), 0, 8, 1, 24), 1);
    EXPECT_EQ(mask, (Pixels{255, 255, 255, 255, 0, 0, 0, 0}));

    // Lab rows take the Lab kind: L 50 grey inside, a far saturated red outside.
    const Pixels lab = {128, 128, 128, 140, 250, 200};
    Pixels labMask(2, 0x77);
    ASSERT_EQ(ClrGamutMask(labMask.data(), lab.data(), 1, 2, 1, 6), 1);
    EXPECT_EQ(labMask, (Pixels{0, 255}));

    // The warning paints the marked pixels in the gamut colour.
    ClrGetSettings().gamutColour[2] = 255;  // red
    Pixels out(24);
    ASSERT_TRUE(ClrEvalRowsToRGB(out.data(), 0, src.data(), 0, kEvalLayoutRGB, 8, 1, 1, 1));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Pixels(out.begin() + 3 * i, out.begin() + 3 * i + 3), (Pixels{0, 0, 255}));
    EXPECT_LE(MaxDifference(Pixels(out.begin() + 12, out.end()), Pixels(src.begin() + 12, src.end())), 1);
}

TEST_F(CmsTest, MissingProfileWarnsOnceAndFallsBack) {
    SetUpCms();
    std::filesystem::remove(ColourFile("Monitor.cc"));
    ClrGetSettings().monitor = 1;
    const Pixels src = SweepRGB();
    const int width = static_cast<int>(src.size() / 3);
    Pixels lab(src.size()), plain(src.size());
    ClrLabToRGBPlain(src.data(), 0, plain.data(), 0, width, 1);
    for (int round = 0; round < 2; ++round) {
        Pixels shown(src.size());
        ASSERT_TRUE(ClrConvertRowsToMonitor(nullptr, kRowsRGB, shown.data(), 0, src.data(), 0, width, 1));
        EXPECT_EQ(shown, src);  // copied, as with colour management off
        // Another kind that needs the monitor, Lab to the monitor.
        ASSERT_TRUE(ClrConvertRowsToMonitor(nullptr, kRowsLab, lab.data(), 0, src.data(), 0, width, 1));
        EXPECT_EQ(lab, plain);
    }
    ASSERT_EQ(messages.entries.size(), 1u);
    EXPECT_EQ(messages.entries[0].title, "Color Management");
    EXPECT_EQ(ClrGetSettings().warnings, 0);
}

TEST_F(CmsTest, ThreadsConvertAsOneAfterTheOther) {
    SetUpCms();
    ClrGetSettings().monitor = 1;
    ASSERT_TRUE(testing::WriteGammaRGBProfile(ColourFile("Monitor.cc")));
    testing::RecordingInstall install;
    platform::RecordingProfileLibrary& recorder = install.recorder;
    Pixels rgb = SweepRGB();
    const int width = static_cast<int>(rgb.size() / 3);
    Pixels cmyk(4 * static_cast<std::size_t>(width));
    for (std::size_t i = 0; i < cmyk.size(); ++i) cmyk[i] = static_cast<std::uint8_t>(i * 7);
    const auto work = [&](Pixels* monitor, Pixels* printer) {
        for (int i = 0; i < 20; ++i) {
            ClrConvertRowsToMonitor(nullptr, kRowsRGB, monitor->data(), 0, rgb.data(), 0, width, 1);
            ClrCMYKRowsToRGB(nullptr, printer->data(), cmyk.data(), width, 1);
        }
    };
    Pixels soloMonitor(rgb.size()), soloPrinter(rgb.size() + 4);
    work(&soloMonitor, &soloPrinter);
    const int bracketsBefore = recorder.Calls("SpInitThread");
    Pixels m1(rgb.size()), p1(rgb.size() + 4), m2(rgb.size()), p2(rgb.size() + 4);
    std::thread a(work, &m1, &p1), b(work, &m2, &p2);
    a.join();
    b.join();
    EXPECT_EQ(m1, soloMonitor);
    EXPECT_EQ(m2, soloMonitor);
    EXPECT_EQ(p1, soloPrinter);
    EXPECT_EQ(p2, soloPrinter);
    EXPECT_NE(soloMonitor, rgb);
    // Every use on the other threads was bracketed.
    EXPECT_EQ(bracketsBefore, 0);
    EXPECT_GE(recorder.Calls("SpInitThread"), 80);
    EXPECT_EQ(recorder.Calls("SpTermThread"), recorder.Calls("SpInitThread"));
}

TEST_F(CmsTest, HexachromeRowsThroughTheTransformFile) {
    SetUpCms();
    const Pixels src = {0, 0, 0, 255, 255, 255, 10, 100, 200, 0, 0, 0};  // packed: two pixels and padding...
    Pixels six(6 * 3, 0);
    ASSERT_TRUE(ClrRGBToHexachrome(nullptr, six.data(), src.data(), 3, 1));
    // Channels: 255 - R, 255 - G, 255 - B, 0, R / 2, G / 2.
    const Pixels expected = {255, 255, 255, 0, 0, 0, 0, 0, 0, 0, 127, 127, 55, 155, 245, 0, 100, 50};
    EXPECT_LE(MaxDifference(six, expected), 1);
    Pixels rows(6 * 3);
    EXPECT_TRUE(ClrConvertRowsToPrinter(nullptr, 2, kRowsRGB, rows.data(), 18, src.data(), 9, 3, 1, 1));
    EXPECT_EQ(rows, six);
    EXPECT_FALSE(ClrConvertRowsToPrinter(nullptr, 2, kRowsLab, rows.data(), 18, src.data(), 9, 3, 1, 1));
}

// A transform file names its colour spaces itself: one the library does
// not know is refused, not carried into the chain.
TEST_F(CmsTest, TransformFileWithAnUnknownColourSpaceIsRefused) {
    SetUpCms();
    std::ifstream in(ColourFile("CRGB2HxN.PT"), std::ios::binary);
    std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    ASSERT_GT(bytes.size(), 24u);
    auto fromData = reinterpret_cast<platform::SpXformCreateFromDataFn>(
        platform::BuiltInProfileLibrary()->FindEntry("SpXformCreateFromData"));
    auto release = reinterpret_cast<platform::SpXformFreeFn>(platform::BuiltInProfileLibrary()->FindEntry("SpXformFree"));
    platform::SpXform* xform = nullptr;
    ASSERT_EQ(fromData(static_cast<std::int32_t>(bytes.size()), bytes.data(), &xform), platform::kSpOk);
    release(&xform);
    for (std::size_t field : {16u, 20u}) {  // the header's colour space, then its connection space
        std::vector<char> damaged = bytes;
        const char unknown[4] = {'\xae', '\xc0', 'z', 'z'};
        std::copy(std::begin(unknown), std::end(unknown), damaged.begin() + static_cast<std::ptrdiff_t>(field));
        EXPECT_EQ(fromData(static_cast<std::int32_t>(damaged.size()), damaged.data(), &xform), platform::kSpFailed)
            << field;
        EXPECT_EQ(xform, nullptr);
    }
}

// Every managed path takes its plain formula when the library cannot build
// a transform: here one entry is missing (in a build without LittleCMS
// there is no library at all).
TEST_F(CmsFallbackTest, WithoutATransformEveryPathIsPlain) {
    InstallCatalogue(testing::RiffWriter("sp71").Chunk("comh", testing::CommonHeader(0, 1, {2, 2, 2, 2})).Bytes());
    if (testing::IccAvailable()) {
        ASSERT_TRUE(testing::WriteSRGBProfile(ColourFile("ThMon.CC")));
        ASSERT_TRUE(testing::WriteCMYKPrinterProfile(ColourFile("PrnCMYK.cc")));
    }
    testing::RecordingInstall install;
    install.recorder.Remove("SpXformGet");
    ClrSettings on;
    on.colourManagement = on.monitor = on.displayProof = 1;
    ClrSetSettings(on);
    const Pixels rgb = SweepRGB();
    const int width = static_cast<int>(rgb.size() / 3);
    Pixels cmyk(4 * static_cast<std::size_t>(width)), plainCMYK(cmyk.size());
    ASSERT_TRUE(ClrRGBRowsToCMYKStrided(nullptr, cmyk.data(), 0, rgb.data(), 0, width, 1));
    ClrRGBToCMYKPlain(rgb.data(), 0, plainCMYK.data(), 0, width, 1);
    EXPECT_EQ(cmyk, plainCMYK);
    Pixels out(rgb.size()), plain(rgb.size());
    ASSERT_TRUE(ClrCMYKRowsToRGBStrided(nullptr, out.data(), 0, cmyk.data(), 0, width, 1));
    ClrCMYKToRGBPlain(cmyk.data(), 0, plain.data(), 0, width, 1);
    EXPECT_EQ(out, plain);
    ASSERT_TRUE(ClrProofRowsToMonitor(nullptr, kRowsCMYK, out.data(), 0, cmyk.data(), 0, width, 1, 1));
    EXPECT_EQ(out, plain);
    ASSERT_TRUE(ClrLabRowsToRGB(nullptr, 1, out.data(), 0, rgb.data(), 0, width, 1));
    ClrLabToRGBPlain(rgb.data(), 0, plain.data(), 0, width, 1);
    EXPECT_EQ(out, plain);
    ASSERT_TRUE(ClrRGBRowsToLab(nullptr, 1, out.data(), 0, rgb.data(), 0, width, 1));
    ClrRGBToLabPlain(rgb.data(), 0, plain.data(), 0, width, 1);
    EXPECT_EQ(out, plain);
    const RowBlock block{out.data(), 0, rgb.data(), 0, width, 1};
    EXPECT_TRUE(ClrDisplayRowsWithProof(nullptr, 1, kRowsRGB, block, 1));
    EXPECT_EQ(out, rgb);
    EXPECT_TRUE(ClrProofRowsInWorkingSpace(nullptr, 1, kRowsRGB, block, 1));
    EXPECT_EQ(out, rgb);
    Pixels mask(static_cast<std::size_t>(width), 0x77);
    EXPECT_EQ(ClrGamutMask(mask.data(), rgb.data(), 0, width, 1, 0), 0);
    EXPECT_EQ(mask, Pixels(mask.size(), 0));
    EXPECT_EQ(ClrLookupRGBRows(out.data(), 0, rgb.data(), 0, width, 1, 1, 0), 0);
    // The one warning names the failure; without any library nothing is
    // built, so nothing is warned of.
    EXPECT_EQ(messages.entries.size(), testing::IccAvailable() ? 1u : 0u);
}

}  // namespace
}  // namespace colour
