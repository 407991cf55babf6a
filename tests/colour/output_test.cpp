// Single colours for an output device with colour management off, the
// gamut-warning overlay, table lookups, and the proofing paths' fallbacks.
#include <gtest/gtest.h>

#include <vector>

#include "colour/inks.h"
#include "colour/lookup_tables.h"
#include "colour/output_conversion.h"
#include "colour/proofing.h"
#include "colour/rows.h"
#include "colour_fixtures.h"

namespace colour {
namespace {

using testing::ColourTest;
using testing::UserPaletteTint;
using Bytes = std::vector<std::uint8_t>;

const ColorRecord* P(const ColorRecord& c) {
    return &c;
}

struct OutputCase {
    const char* name;
    ColorRecord in;
    int target;
    int result;
    ColorRecord out;
};

ColorRecord Spot(ColorRecord c, int spotKind) {
    c.SetSpotKind(static_cast<std::uint8_t>(spotKind));
    return c;
}

class OutputConversion : public ColourTest, public ::testing::WithParamInterface<OutputCase> {};

TEST_P(OutputConversion, WithoutContext) {
    const OutputCase& c = GetParam();
    ColorRecord out = ColorRecord::Grey(9);
    EXPECT_EQ(ClrConvertColorForOutput(nullptr, &out, c.target, &c.in), c.result);
    EXPECT_EQ(out, c.out);
}

const ColorRecord kCMYKPercent = ColorRecord::CMYK(kModelCMYKPercent, 10, 20, 30, 40);

INSTANTIATE_TEST_SUITE_P(
    ColourManagementOff, OutputConversion,
    ::testing::Values(
        OutputCase{"BlackInkIsBlack", ColorRecord::CMYK(kModelCMYK, 0, 0, 0, 255), kModelRGB, 1,
                   ColorRecord::RGB(0, 0, 0)},
        OutputCase{"WhiteNeedsNoInk", ColorRecord::RGB(255, 255, 255), kModelCMYKPercent, 1,
                   ColorRecord::CMYK(kModelCMYKPercent, 0, 0, 0, 0)},
        OutputCase{"GreyIsBlackInk", ColorRecord::RGB(128, 128, 128), kModelCMYK, 1,
                   ColorRecord::CMYK(kModelCMYK, 0, 0, 0, 127)},
        OutputCase{"PercentToProofedPrinterIsCopied", kCMYKPercent, kOutputPrinterCMYKProofed, 1, kCMYKPercent},
        OutputCase{"PercentToPrinterIsCopied", kCMYKPercent, kOutputPrinterCMYK, 1, kCMYKPercent},
        OutputCase{"RGBToRGBIsCopied", ColorRecord::RGB(1, 2, 3), kModelRGB, 1, ColorRecord::RGB(1, 2, 3)},
        OutputCase{"InkTargetGivesRGB", ColorRecord::HSB(0, 0, 255), kModelInk, 1, ColorRecord::RGB(255, 255, 255)},
        OutputCase{"UserInkTargetGivesRGB", ColorRecord::Grey(10), kModelUserInkByName, 1, ColorRecord::RGB(10, 10, 10)},
        OutputCase{"PaperWhiteToPrinterRGB", ColorRecord::Lab(255, 0, 0), kOutputPrinterRGB, 1,
                   ColorRecord::RGB(255, 255, 255)},
        OutputCase{"SpotWithItsSettingOff", Spot(ColorRecord::RGB(1, 2, 3), 10), kModelRGB, 1,
                   Spot(ColorRecord::RGB(1, 2, 3), 10)},
        OutputCase{"UserPaletteCMYKTinted", UserPaletteTint(ColorRecord::CMYK(kModelCMYK, 200, 100, 0, 50), 50), kModelCMYK,
                   1, ColorRecord::CMYK(kModelCMYK, 100, 50, 0, 25)},
        OutputCase{"MonitorWithoutContextIsPlain", ColorRecord::RGB(7, 8, 9), kOutputMonitorRGB, 1,
                   ColorRecord::RGB(7, 8, 9)}),
    [](const ::testing::TestParamInfo<OutputCase>& info) { return info.param.name; });

TEST_F(ColourTest, OutputTargetsWithoutARule) {
    // A target without a rule leaves model 0; the output is otherwise written.
    for (int target : {kModelUserInkByColour, kModelRGB48, kModelGrey16}) {
        ColorRecord out = ColorRecord::Grey(9);
        EXPECT_EQ(ClrConvertColorForOutput(nullptr, &out, target, P(ColorRecord::HSB(0, 0, 10))), 0) << target;
        EXPECT_EQ(out.Model(), kModelNone) << target;
    }
    // A reference no rule resolves (palette kind 3 on an RGB record) fails
    // without writing.
    ColorRecord marked = ColorRecord::RGB(1, 2, 3);
    marked.SetPaletteKind(kPaletteKindInk);
    ColorRecord out = ColorRecord::Grey(9);
    EXPECT_EQ(ClrConvertColorForOutput(nullptr, &out, kModelRGB, &marked), 0);
    EXPECT_EQ(out, ColorRecord::Grey(9));
    // Host candidate rows need colour management: without it, no colour.
    EXPECT_EQ(ClrConvertColorForOutput(nullptr, &out, kOutputHostCandidate, P(ColorRecord::RGB(1, 2, 3))), 0);
}

TEST_F(ColourTest, OutputContextChoices) {
    ClrOutputContext context;
    context.display[0] = context.display[1] = context.display[2] = context.display[3] = 1;
    ColorRecord viaMonitor, plain;
    const ColorRecord lab = ColorRecord::Lab(50, 20, -20);
    ASSERT_EQ(ClrConvertColorForOutput(&context, &viaMonitor, kOutputMonitorRGB, &lab), 1);
    ASSERT_EQ(ClrConvertColorForOutput(&context, &plain, kModelRGB, &lab), 1);
    EXPECT_EQ(viaMonitor, plain);

    // The printer outputs choose the first kind of each pair on a copy: the
    // default table and the module's composite flag stay as they were.
    ClrKindsTable defaults;
    defaults.words[kKindsComposite] = 1;
    ClrSetDefaultKindsTable(&defaults);
    const int flag = ClrModuleCompositeFlag();
    ColorRecord out;
    for (int target : {kOutputPrinterRGB, kOutputPrinterCMYKProofed, kOutputPrinterCMYK})
        EXPECT_EQ(ClrConvertColorForOutput(&context, &out, target, P(ColorRecord::RGB(10, 20, 30))), 1);
    EXPECT_EQ(defaults.words[kKindsComposite], 1u);
    EXPECT_EQ(ClrModuleCompositeFlag(), flag);
    ClrSetDefaultKindsTable(nullptr);

    // A catalogue ink at tint 50 whose appearance has red 0 gives red 128.
    ClrLoadInkCatalogueText("3 0 10 20\n");
    ASSERT_EQ(ClrConvertColorForOutput(nullptr, &out, kModelRGB, P(ColorRecord::Reference(kModelInk, 3, 50))), 1);
    EXPECT_EQ(out.Red(), 128);
    ClrForgetInkCatalogue();
}

TEST(GamutOverlay, PaintsMarkedPixels) {
    ClrSettings saved = ClrGetSettings();
    ClrGetSettings().gamutColour[0] = 0;
    ClrGetSettings().gamutColour[1] = 0;
    ClrGetSettings().gamutColour[2] = 255;
    ClrGetSettings().gamutBlend = 0;
    Bytes rows = {10, 20, 30, 40, 50, 60};
    const Bytes mask = {1, 0};
    ClrGamutOverlay(rows.data(), 6, mask.data(), 2, 1);
    EXPECT_EQ(rows, (Bytes{0, 0, 255, 40, 50, 60}));
    // Blend 255 and white: a black pixel becomes white scaled by 127/256.
    ClrGetSettings().gamutColour[0] = ClrGetSettings().gamutColour[1] = 255;
    ClrGetSettings().gamutBlend = 255;
    Bytes black = {0, 0, 0};
    const Bytes marked = {9};
    ClrGamutOverlay(black.data(), 3, marked.data(), 1, 1);
    EXPECT_EQ(black, (Bytes{126, 126, 126}));
    ClrGetSettings() = saved;
}

TEST(LookupTables, CornersAndGridSteps) {
    // A table whose every point holds its own grid values, offset by one.
    Bytes table(kRGBTableBytes);
    ClrFillRGBGrid(table.data());
    for (auto& v : table) v = static_cast<std::uint8_t>(v == 255 ? 254 : v + 1);
    const Bytes white = {255, 255, 255, 16, 16, 16, 12, 12, 12};
    Bytes out(9);
    ClrLookupRGB(out.data(), 9, white.data(), 9, 3, 1, table.data());
    // White reads the last point with weight 8; 12 lies half way from 8 to 16.
    EXPECT_EQ(out, (Bytes{254, 254, 254, 17, 17, 17, 13, 13, 13}));

    Bytes cmykTable(kCMYKTableBytes);
    for (std::size_t i = 0; i < cmykTable.size(); i += 3) {
        const std::size_t point = i / 3;
        cmykTable[i] = static_cast<std::uint8_t>(point / 729);     // C step
        cmykTable[i + 1] = static_cast<std::uint8_t>(point / 81 % 9);  // M step
        cmykTable[i + 2] = static_cast<std::uint8_t>(point % 9);   // K step
    }
    const Bytes cmyk = {15, 16, 0, 255};
    Bytes steps(3);
    ClrLookupCMYK(steps.data(), 3, cmyk.data(), 4, 1, 1, cmykTable.data());
    EXPECT_EQ(steps, (Bytes{0, 1, 8}));
}

TEST_F(ColourTest, ProofingWithColourManagementOff) {
    const Bytes src = {1, 2, 3, 4, 5, 6};
    Bytes dst(6);
    const RowBlock block{dst.data(), 6, src.data(), 6, 2, 1};
    EXPECT_EQ(ClrDisplayRowsWithProof(nullptr, 0, kRowsRGB, block, 0), 1);
    EXPECT_EQ(dst, src);
    // Without a library there is nothing to evaluate, table or none.
    Bytes mask(2, 7);
    EXPECT_EQ(ClrGamutMask(mask.data(), src.data(), 0, 2, 1, 6), 0);
    EXPECT_EQ(mask, (Bytes{0, 0}));
    EXPECT_EQ(ClrEvalRowsToRGB(dst.data(), 6, src.data(), 6, 0, 2, 1, 1, 0), 0);
    EXPECT_EQ(ClrLookupRGBRows(dst.data(), 6, src.data(), 6, 2, 1, 1, 0), 0);
    EXPECT_EQ(ClrEnsureLookupTable(2), 0);
    // The proofing path with a table word of 0 copies; a Lab kind 30 with
    // word 0 evaluates kind 23, which without colour management falls to
    // the plain formula.
    ClrGetSettings().displayProof = 1;
    ClrGetSettings().monitor = ClrGetSettings().proofOnMonitor = 1;
    ClrKindsTable kinds;
    Bytes copied(6);
    EXPECT_EQ(ClrDisplayRowsWithProof(&kinds, 0, kRowsRGB, RowBlock{copied.data(), 6, src.data(), 6, 2, 1}, 0), 1);
    EXPECT_EQ(copied, src);
    Bytes lab(6), plain(6);
    EXPECT_EQ(ClrDisplayRowsWithProof(&kinds, 0, kRowsLab, RowBlock{lab.data(), 6, src.data(), 6, 2, 1}, 0), 1);
    ClrLabToRGBPlain(src.data(), 6, plain.data(), 6, 2, 1);
    EXPECT_EQ(lab, plain);
}

}  // namespace
}  // namespace colour
