// Every format pair through the conversion entry, one pixel at a time, and
// the progress the converters report.
#include "pair_converters.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "colour/rows.h"
#include "convert/convert_image.h"
#include "convert_fixtures.h"
#include "row_kernels.h"

namespace raster::convert {
namespace {

using namespace testing;
using Bytes8 = std::vector<std::uint8_t>;

struct PairCase {
    std::string name;
    std::int32_t from;
    Bytes8 in;
    std::int32_t to;
    Bytes8 out;
};

std::ostream& operator<<(std::ostream& os, const PairCase& c) {
    return os << c.name;
}

class OnePixel : public ::testing::TestWithParam<PairCase> {};

TEST_P(OnePixel, ConvertsAsTheRuleSays) {
    const PairCase& c = GetParam();
    RIPImage* src = Make(c.from, 1, 1, c.in);
    RIPImage* dst = Make(c.to, 1, 1);
    ASSERT_EQ(RIPConvertImageToImage(nullptr, dst, 0, 0, src, 0, 0, 1, 1), 1);
    EXPECT_EQ(Bytes(dst), c.out);
    RIPDestroyImage(dst);
    RIPDestroyImage(src);
}

// Pixels in memory order: RGB blue, green, red; 16-bit samples low byte first.
INSTANTIATE_TEST_SUITE_P(
    Pairs, OnePixel,
    ::testing::Values(
        PairCase{"RGB24ToRGB48Widens", 1, {0xAB, 0x01, 0xFF}, 12, {0xAB, 0xAB, 0x01, 0x01, 0xFF, 0xFF}},
        PairCase{
            "RGB48ToRGB24TakesHighBytes", 12, {0xFF, 0x12, 0x00, 0x34, 0xFF, 0xFF}, 1, {0x12, 0x34, 0xFF}},
        PairCase{"RGB24ToGrey16RedIs76Widened", 1, {0, 0, 255}, 14, {76, 76}},
        PairCase{"Grey16ToRGB24KeepsTheHighByte", 14, {0xFF, 0x12}, 1, {0x12, 0x12, 0x12}},
        PairCase{"Grey8ToGrey16Widens", 5, {0xAB}, 14, {0xAB, 0xAB}},
        PairCase{"Grey16ToGrey8Narrows", 14, {0xFF, 0x12}, 5, {0x12}},
        PairCase{"RGB48WhiteToGrey16", 12, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, 14, {0xFF, 0xFF}},
        PairCase{"RGB48RedToGrey16", 12, {0, 0, 0, 0, 0xFF, 0xFF}, 14, {0xCC, 0x4C}},
        PairCase{"Grey16ToRGB48KeepsTheSample", 14, {0xFF, 0x12}, 12, {0xFF, 0x12, 0xFF, 0x12, 0xFF, 0x12}},
        PairCase{"RGB48ToGrey8IgnoresLowBytes", 12, {0xFF, 0x00, 0xFF, 0x00, 0xFF, 0xFF}, 5, {76}},
        PairCase{"Grey8ToRGB48", 5, {0x80}, 12, {0x80, 0x80, 0x80, 0x80, 0x80, 0x80}},
        PairCase{"CoverageToGrey16", 99, {0x40}, 14, {0x40, 0x40}},
        PairCase{"RGB24RedToCMYK", 1, {0, 0, 255}, 3, {0, 255, 255, 0}},
        PairCase{"CMYKToRGB24ClampsInkSums", 3, {100, 0, 0, 200}, 1, {55, 55, 0}},
        PairCase{"CMYKNoInkToGrey8", 3, {0, 0, 0, 0}, 5, {255}},
        PairCase{"CMYKToRGB48", 3, {0, 255, 0, 0}, 12, {255, 255, 0, 0, 255, 255}},
        PairCase{"CMYKToGrey16", 3, {0, 0, 0, 255}, 14, {0, 0}},
        PairCase{"Grey8BlackToCMYK", 5, {0}, 3, {0, 0, 0, 255}},
        PairCase{"Grey16ToCMYKReadsTheHighByte", 14, {0xFF, 0x00}, 3, {0, 0, 0, 255}},
        PairCase{"RGB48ToCMYKReadsHighBytes", 12, {0x00, 0xFF, 0x00, 0xFF, 0xFF, 0x00}, 3, {255, 0, 0, 0}},
        PairCase{"BilevelSetIsWhiteInk", 6, {0x80}, 3, {0, 0, 0, 0}},
        PairCase{"BilevelClearIsBlackInk", 6, {0x00}, 3, {0, 0, 0, 255}}),
    [](const ::testing::TestParamInfo<PairCase>& info) { return info.param.name; });

// The Lab pairs only repack around the colour module: each equals the
// module's own conversion of the pixel, repacked.
TEST(LabPairs, RepackTheColourModulesRows) {
    const Bytes8 lab = {180, 100, 160};
    Bytes8 rgb(4), cmyk(4);
    colour::ClrLabRowsToRGBPacked(nullptr, rgb.data(), lab.data(), 1, 1);
    colour::ClrLabRowsToCMYK(nullptr, cmyk.data(), lab.data(), 1, 1);
    const std::uint8_t grey = RIPGreyOf(rgb[0], rgb[1], rgb[2]);
    const struct {
        std::int32_t to;
        Bytes8 out;
    } cases[] = {
        {1, {rgb[0], rgb[1], rgb[2]}},
        {5, {grey}},
        {3, cmyk},
        {12, {rgb[0], rgb[0], rgb[1], rgb[1], rgb[2], rgb[2]}},
        {14, {grey, grey}},
    };
    for (const auto& c : cases) {
        RIPImage* src = Make(kTypeLab24, 1, 1, lab);
        RIPImage* dst = Make(c.to, 1, 1);
        ASSERT_EQ(RIPConvertImageToImage(nullptr, dst, 0, 0, src, 0, 0, 1, 1), 1) << c.to;
        EXPECT_EQ(Bytes(dst), c.out) << c.to;
        RIPDestroyImage(dst);
        RIPDestroyImage(src);
    }
    // CMYK into Lab straight through the module's own rows.
    const Bytes8 ink = {30, 60, 90, 20};
    Bytes8 inkLab(4);
    colour::ClrCMYKRowsToLab(nullptr, inkLab.data(), ink.data(), 1, 1);
    RIPImage* inked = Make(kTypeCMYK32, 1, 1, ink);
    RIPImage* fromInk = Make(kTypeLab24, 1, 1);
    ASSERT_EQ(RIPConvertImageToImage(nullptr, fromInk, 0, 0, inked, 0, 0, 1, 1), 1);
    EXPECT_EQ(Bytes(fromInk), Bytes8(inkLab.begin(), inkLab.begin() + 3));
    RIPDestroyImage(fromInk);
    RIPDestroyImage(inked);
    // Into Lab: from grey through the grey copied into all three channels.
    Bytes8 fromGrey(4);
    const std::uint8_t grey3[3] = {90, 90, 90};
    colour::ClrRGBRowsToLabPacked(nullptr, fromGrey.data(), grey3, 1, 1);
    for (const auto& [type, pixel] : {std::pair<std::int32_t, Bytes8>{5, {90}},
                                      {14, {0x00, 90}},
                                      {12, {0, 90, 0, 90, 0, 90}},
                                      {1, {90, 90, 90}}}) {
        RIPImage* src = Make(type, 1, 1, pixel);
        RIPImage* dst = Make(kTypeLab24, 1, 1);
        ASSERT_EQ(RIPConvertImageToImage(nullptr, dst, 0, 0, src, 0, 0, 1, 1), 1) << type;
        EXPECT_EQ(Bytes(dst), Bytes8(fromGrey.begin(), fromGrey.begin() + 3)) << type;
        RIPDestroyImage(dst);
        RIPDestroyImage(src);
    }
}

TEST(PalettedPairs, EntrySevenRedToEveryFormat) {
    std::vector<std::vector<int>> entries(8, {0, 0, 0});
    entries[7] = {255, 0, 0};
    RIPPalette* pal = Palette(entries);
    const struct {
        std::int32_t to;
        Bytes8 out;
    } cases[] = {{5, {76, 0}},
                 {14, {76, 76, 0, 0}},
                 {1, {0, 0, 255, 0, 0, 0}},
                 {12, {0, 0, 0, 0, 255, 255, 0, 0, 0, 0, 0, 0}},
                 {3, {0, 255, 255, 0, 0, 0, 0, 255}}};
    for (int bits : {8, 4}) {
        // Index 7, then index 9, past the entries: it reads entry 0.
        RIPImage* src = MakePaletted(pal, bits, 2, 1, bits == 8 ? Bytes8{7, 9} : Bytes8{0x79});
        for (const auto& c : cases) {
            RIPImage* dst = Make(c.to, 2, 1);
            ASSERT_EQ(RIPConvertImageToImage(nullptr, dst, 0, 0, src, 0, 0, 2, 1), 1) << c.to;
            EXPECT_EQ(Bytes(dst), c.out) << bits << " bits to " << c.to;
            RIPDestroyImage(dst);
        }
        RIPDestroyImage(src);
    }
    RIPDestroyPalette(pal);
}

TEST(PalettedPairs, OneBitSourceExpandsByItsTwoEntries) {
    RIPPalette* pal = Palette({{10, 20, 30}, {200, 150, 100}});
    RIPImage* src = MakePaletted(pal, 1, 3, 1, {0x40});  // 0 1 0
    RIPImage* rgb = Make(kTypeRGB24, 3, 1);
    RIPImage* grey = Make(kTypeGrey16, 3, 1);
    ASSERT_EQ(RIPConvertImageToImage(nullptr, rgb, 0, 0, src, 0, 0, 3, 1), 1);
    ASSERT_EQ(RIPConvertImageToImage(nullptr, grey, 0, 0, src, 0, 0, 3, 1), 1);
    EXPECT_EQ(Bytes(rgb), (Bytes8{30, 20, 10, 100, 150, 200, 30, 20, 10}));
    const std::uint8_t g0 = RIPGreyOf(30, 20, 10), g1 = RIPGreyOf(100, 150, 200);
    EXPECT_EQ(Bytes(grey), (Bytes8{g0, g0, g1, g1, g0, g0}));
    RIPDestroyImage(grey);
    RIPDestroyImage(rgb);
    RIPDestroyImage(src);
    RIPDestroyPalette(pal);
}

// Progress: a recording callback that may refuse from a given report on.
struct Recorder {
    std::vector<std::int32_t> positions;
    std::int32_t refuseFrom = 1 << 30;
    static int Callback(std::int32_t position, std::int32_t total, void* self) {
        auto* r = static_cast<Recorder*>(self);
        r->positions.push_back(position);
        (void)total;
        return position >= r->refuseFrom ? 0 : 1;
    }
};

TEST(Progress, RowsReportTwentyTimesEndingAtTheTotal) {
    Recorder recorder;
    State state(1);
    state.rs->progressCallback = &Recorder::Callback;
    state.rs->progressContext = &recorder;
    std::uint8_t table[256] = {};
    Bytes8 src(45), dst(45, 9);
    RIPRowBlock b;
    b.dst = dst.data();
    b.dstStride = 1;
    b.src = src.data();
    b.srcStride = 1;
    b.width = 1;
    b.rows = 45;
    ASSERT_EQ(RIPRemapRow8To8(state.rs, b, table), 1);
    std::vector<std::int32_t> expected = {0, 5};
    for (int p = 7; p <= 45; p += 2) expected.push_back(p);
    EXPECT_EQ(recorder.positions, expected);

    // Three rows: the first report (1, 3) precedes row 0, so refusing it writes nothing.
    Recorder refusing;
    refusing.refuseFrom = 1;
    state.rs->progressContext = &refusing;
    b.rows = 3;
    std::fill(dst.begin(), dst.end(), 9);
    EXPECT_EQ(RIPRemapRow8To8(state.rs, b, table), 0);
    EXPECT_EQ(dst[0], 9);
    EXPECT_EQ(refusing.positions, (std::vector<std::int32_t>{0, 1}));
}

TEST(Progress, BlockConvertersReportBeforeAndAfterTheWholeRectangle) {
    RIPImage* src = Make(kTypeRGB24, 2, 2, Bytes8(12, 7));
    RIPImage* dst = Make(kTypeRGB48, 2, 2);
    Recorder recorder;
    recorder.refuseFrom = 1;
    State state(1);
    state.rs->progressCallback = &Recorder::Callback;
    state.rs->progressContext = &recorder;
    // The converters work inside slots their caller has locked (a tiled
    // image's slots hold no pixels until then).
    RIPTileSlot* d = RIPSlotAt(dst, 0, 0);
    RIPTileSlot* s = RIPSlotAt(src, 0, 0);
    ASSERT_EQ(RIPTileLock(d), 1);
    ASSERT_EQ(RIPTileLockRead(s), 1);
    EXPECT_EQ(RIPConvertRGB24ToRGB48(state.rs, d, 0, 0, s, 0, 0, 2, 2), 0);
    // Without a state, or without a callback, nothing is reported.
    EXPECT_EQ(RIPConvertRGB24ToRGB48(nullptr, d, 0, 0, s, 0, 0, 2, 2), 1);
    RIPTileUnlock(s);
    RIPTileUnlock(d);
    EXPECT_EQ(recorder.positions, (std::vector<std::int32_t>{0, 1}));
    EXPECT_EQ(Bytes(dst), Bytes8(24, 7));  // written before the refusing tick
    RIPDestroyImage(dst);
    RIPDestroyImage(src);
}

}  // namespace
}  // namespace raster::convert
