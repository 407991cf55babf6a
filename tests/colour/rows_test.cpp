// Row conversions: the plain formulas on known pixels, every entry on
// multi-row strided buffers against the formula it falls back to, in-place
// conversion, argument checks, and the kinds a managed path is asked for.
#include "colour/rows.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "colour_fixtures.h"

namespace colour {
namespace {

using testing::ColourTest;
using testing::RecordingManagedPath;
using Bytes = std::vector<std::uint8_t>;

TEST(PlainRows, KnownPixels) {
    std::uint8_t rgb[3];
    const std::uint8_t black[4] = {0, 0, 0, 255};
    ClrCMYKToRGBPlain(black, 4, rgb, 3, 1, 1);
    EXPECT_EQ(Bytes(rgb, rgb + 3), (Bytes{0, 0, 0}));
    const std::uint8_t cyan[4] = {100, 0, 0, 0};
    ClrCMYKToRGBPlain(cyan, 4, rgb, 3, 1, 1);
    EXPECT_EQ(Bytes(rgb, rgb + 3), (Bytes{255, 255, 155}));  // blue, green, red

    std::uint8_t cmyk[4];
    const std::uint8_t grey[3] = {128, 128, 128};
    ClrRGBToCMYKPlain(grey, 3, cmyk, 4, 1, 1);
    EXPECT_EQ(Bytes(cmyk, cmyk + 4), (Bytes{0, 0, 0, 127}));

    // Paper white in Lab truncates to just below white.
    const std::uint8_t paper[3] = {255, 128, 128};
    ClrLabToRGBPlain(paper, 3, rgb, 3, 1, 1);
    EXPECT_EQ(Bytes(rgb, rgb + 3), (Bytes{254, 255, 254}));

    std::uint8_t lab[3];
    const std::uint8_t white[3] = {255, 255, 255};
    ClrRGBToLabPlain(white, 3, lab, 3, 1, 1);
    EXPECT_EQ(Bytes(lab, lab + 3), (Bytes{255, 128, 127}));  // b is -0.06 before truncation
    const std::uint8_t red[3] = {0, 0, 255};
    ClrRGBToLabPlain(red, 3, lab, 3, 1, 1);
    EXPECT_EQ(Bytes(lab, lab + 3), (Bytes{135, 208, 195}));

    std::uint8_t wide[6];
    const std::uint8_t bgr[3] = {0x12, 0x80, 0xFF};
    ClrRGBToRGB48Plain(bgr, 3, wide, 6, 1, 1);
    EXPECT_EQ(Bytes(wide, wide + 6), (Bytes{0x12, 0x12, 0x80, 0x80, 0xFF, 0xFF}));
    const std::uint8_t narrowMe[6] = {0xFF, 0x01, 0x00, 0x80, 0x34, 0x12};
    ClrRGB48ToRGBPlain(narrowMe, 6, rgb, 3, 1, 1);
    EXPECT_EQ(Bytes(rgb, rgb + 3), (Bytes{0x01, 0x80, 0x12}));
}

// Rows of a block with strides beyond their pixels; the padding is a guard
// that no conversion may write.
struct Block {
    Block(int rowBytes, int stride, int rows, std::uint8_t seed)
        : stride(stride), bytes(stride * rows, 0xA5) {
        for (int y = 0; y < rows; ++y) {
            for (int x = 0; x < rowBytes; ++x)
                bytes[y * stride + x] = static_cast<std::uint8_t>(seed + 37 * y + 11 * x);
        }
    }
    std::uint8_t* data() { return bytes.data(); }
    int stride;
    Bytes bytes;
};

using PlainFormula = int (*)(const std::uint8_t*, int, std::uint8_t*, int, int, int);
using StridedEntry = int (*)(const ClrKindsTable*, std::uint8_t*, int, const std::uint8_t*, int, int, int);
using PackedEntry = int (*)(const ClrKindsTable*, std::uint8_t*, const std::uint8_t*, int, int);

struct EntryRow {
    const char* name;
    StridedEntry strided;
    PackedEntry packed;
    int srcBytes, dstBytes;
    // The formula the entry comes to with colour management off: one step, or
    // two through RGB.
    PlainFormula first, second;
};

int PackedBytes(int pixelBytes, int width) {
    return pixelBytes == 4 ? ClrPackedRowBytes4(width) : ClrPackedRowBytes3(width);
}

// What the plain formulas give, through an RGB temporary where there are two.
Bytes Reference(const EntryRow& row, const Block& src, int width, int rows, int dstStride) {
    Bytes out(static_cast<size_t>(dstStride) * rows, 0xA5);
    if (row.second == nullptr) {
        row.first(src.bytes.data(), src.stride, out.data(), dstStride, width, rows);
        return out;
    }
    Bytes rgb(static_cast<size_t>(width) * 3 * rows);
    row.first(src.bytes.data(), src.stride, rgb.data(), width * 3, width, rows);
    row.second(rgb.data(), width * 3, out.data(), dstStride, width, rows);
    return out;
}

class RowEntries : public ::testing::TestWithParam<EntryRow> {};

TEST_P(RowEntries, StridedRowsFollowThePlainFormulaAndLeaveThePadding) {
    const EntryRow& row = GetParam();
    constexpr int kWidth = 5, kRows = 3;
    Block src(kWidth * row.srcBytes, kWidth * row.srcBytes + 7, kRows, 3);
    Block dst(0, kWidth * row.dstBytes + 5, kRows, 0);
    ASSERT_TRUE(row.strided(nullptr, dst.data(), dst.stride, src.data(), src.stride, kWidth, kRows));
    EXPECT_EQ(dst.bytes, Reference(row, src, kWidth, kRows, dst.stride));
}

TEST_P(RowEntries, PackedRowsComputeTheirStrides) {
    const EntryRow& row = GetParam();
    constexpr int kWidth = 3, kRows = 2;  // 9 bytes of RGB pad to 12
    Block src(kWidth * row.srcBytes, PackedBytes(row.srcBytes, kWidth), kRows, 50);
    Block dst(0, PackedBytes(row.dstBytes, kWidth), kRows, 0);
    ASSERT_TRUE(row.packed(nullptr, dst.data(), src.data(), kWidth, kRows));
    EXPECT_EQ(dst.bytes, Reference(row, src, kWidth, kRows, dst.stride));
}

TEST_P(RowEntries, ArgumentsAreChecked) {
    const EntryRow& row = GetParam();
    std::uint8_t src[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    std::uint8_t dst[8] = {};
    EXPECT_EQ(row.strided(nullptr, dst, 8, src, 8, -1, 1), 0);
    EXPECT_EQ(row.strided(nullptr, dst, 8, src, 8, 1, -1), 0);
    EXPECT_EQ(row.strided(nullptr, nullptr, 8, src, 8, 1, 1), 0);
    EXPECT_NE(row.strided(nullptr, dst, 8, src, 8, 0, 1), 0);
    EXPECT_NE(row.strided(nullptr, nullptr, 8, nullptr, 8, 1, 0), 0);
    EXPECT_EQ(Bytes(dst, dst + 8), Bytes(8, 0));
    // A width whose packed rows cannot be addressed is refused before any buffer is touched.
    EXPECT_EQ(row.packed(nullptr, dst, src, 0x7FFFFFF0, 1), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, RowEntries,
    ::testing::Values(
        EntryRow{"RGBToCMYK", ClrRGBRowsToCMYKStrided, ClrRGBRowsToCMYK, 3, 4, ClrRGBToCMYKPlain, nullptr},
        EntryRow{"LabToCMYK", ClrLabRowsToCMYKStrided, ClrLabRowsToCMYK, 3, 4, ClrLabToRGBPlain,
                 ClrRGBToCMYKPlain},
        EntryRow{"CMYKToRGB", ClrCMYKRowsToRGBStrided, ClrCMYKRowsToRGB, 4, 3, ClrCMYKToRGBPlain, nullptr},
        EntryRow{"CMYKToLab", ClrCMYKRowsToLabStrided, ClrCMYKRowsToLab, 4, 3, ClrCMYKToRGBPlain,
                 ClrRGBToLabPlain},
        EntryRow{"LabToRGB", ClrLabRowsToRGBStrided, ClrLabRowsToRGBPacked, 3, 3, ClrLabToRGBPlain, nullptr},
        EntryRow{"RGBToLab", ClrRGBRowsToLabStrided, ClrRGBRowsToLabPacked, 3, 3, ClrRGBToLabPlain, nullptr}),
    [](const ::testing::TestParamInfo<EntryRow>& info) { return std::string(info.param.name); });

// Each plain formula in place, on one buffer whose rows are far enough apart
// for the wider pixel, gives what it gives between two buffers.
TEST(PlainRows, InPlaceEqualsOutOfPlace) {
    struct Row {
        PlainFormula formula;
        int srcBytes, dstBytes;
    };
    constexpr int kWidth = 7, kRows = 4;
    for (const Row& r :
         {Row{ClrRGBToCMYKPlain, 3, 4}, Row{ClrCMYKToRGBPlain, 4, 3}, Row{ClrLabToRGBPlain, 3, 3},
          Row{ClrRGBToLabPlain, 3, 3}, Row{ClrRGBToRGB48Plain, 3, 6}, Row{ClrRGB48ToRGBPlain, 6, 3}}) {
        const int stride = kWidth * std::max(r.srcBytes, r.dstBytes) + 2;
        Block shared(kWidth * r.srcBytes, stride, kRows, 9);
        const Block source = shared;
        Bytes expected = shared.bytes;
        r.formula(source.bytes.data(), stride, expected.data(), stride, kWidth, kRows);
        ASSERT_TRUE(r.formula(shared.data(), stride, shared.data(), stride, kWidth, kRows));
        EXPECT_EQ(shared.bytes, expected) << r.srcBytes << " to " << r.dstBytes;
    }
}

// Packed rows converted in place when the destination rows are wider than the
// source rows: the rows run from the last.
TEST(PlainRows, InPlaceIntoWiderRows) {
    constexpr int kWidth = 4, kRows = 3;
    Block shared(kWidth * 3, kWidth * 3, kRows, 1);
    shared.bytes.resize(static_cast<size_t>(kWidth) * 4 * kRows, 0);
    const Bytes source = shared.bytes;
    Bytes expected(shared.bytes.size());
    ClrRGBToCMYKPlain(source.data(), kWidth * 3, expected.data(), kWidth * 4, kWidth, kRows);
    ASSERT_TRUE(ClrRGBToCMYKPlain(shared.data(), kWidth * 3, shared.data(), kWidth * 4, kWidth, kRows));
    EXPECT_EQ(shared.bytes, expected);
}

class RowDispatch : public ColourTest {};

TEST_F(RowDispatch, PrinterRGBFromRGBIsACopyAndNothingInPlace) {
    InstallCatalogue(
        testing::RiffWriter("sp71").Chunk("comh", testing::CommonHeader(0, 0, {2, 2, 2, 2})).Bytes());
    Block src(6, 8, 2, 4);
    const Block before = src;
    ASSERT_TRUE(ClrConvertRowsToPrinter(nullptr, 0, kRowsRGB, src.data(), 8, src.data(), 8, 2, 2, 0));
    EXPECT_EQ(src.bytes, before.bytes);
    // Between buffers with different strides, row by row.
    Block dst(0, 7, 2, 0);
    ASSERT_TRUE(ClrConvertRowsToPrinter(nullptr, 0, kRowsRGB, dst.data(), 7, src.data(), 8, 2, 2, 0));
    EXPECT_EQ(Bytes(dst.bytes.begin(), dst.bytes.begin() + 6),
              Bytes(src.bytes.begin(), src.bytes.begin() + 6));
    EXPECT_EQ(Bytes(dst.bytes.begin() + 7, dst.bytes.begin() + 13),
              Bytes(src.bytes.begin() + 8, src.bytes.begin() + 14));
    EXPECT_EQ(dst.bytes[6], 0xA5);
    EXPECT_TRUE(messages.entries.empty());
}

TEST_F(RowDispatch, ACMYKPrinterShowsItsRGBThroughCMYK) {
    InstallCatalogue(
        testing::RiffWriter("sp71").Chunk("comh", testing::CommonHeader(1, 0, {2, 2, 2, 2})).Bytes());
    // A 48-bit source reaches printer RGB through CMYK and back.
    const std::uint8_t wide[6] = {0x00, 0x40, 0x00, 0x80, 0x00, 0xC0};
    std::uint8_t rgb[3];
    ASSERT_TRUE(ClrConvertRowsToPrinter(nullptr, 0, kRowsRGB48, rgb, 3, wide, 6, 1, 1, 0));
    EXPECT_EQ(Bytes(rgb, rgb + 3), (Bytes{0x40, 0x80, 0xC0}));
}

TEST_F(RowDispatch, LayoutsWithoutAPlainFormulaFail) {
    std::uint8_t src[8] = {}, dst[8] = {};
    EXPECT_EQ(ClrConvertRowsToPrinter(nullptr, 2, kRowsRGB, dst, 8, src, 8, 1, 1, 1), 0);  // Hexachrome
    EXPECT_EQ(ClrConvertRowsToPrinter(nullptr, 3, kRowsRGB, dst, 8, src, 8, 1, 1, 1), 0);
    EXPECT_EQ(ClrConvertRowsToPrinter(nullptr, 1, 3, dst, 8, src, 8, 1, 1, 1), 0);
    EXPECT_EQ(ClrConvertRowsFromPrinter(nullptr, 0, kRowsRGB, dst, 8, src, 8, 1, 1, 1), 0);
    EXPECT_EQ(ClrConvertRowsToMonitor(nullptr, 5, dst, 8, src, 8, 1, 1), 0);
    EXPECT_EQ(ClrLabRowsToRGB(nullptr, 2, dst, 8, src, 8, 1, 1), 0);
    EXPECT_EQ(ClrLabRowsToRGB(nullptr, 3, dst, 8, src, 8, 1, 1), 0);  // only through colour management
    EXPECT_EQ(ClrRGBRowsToLab(nullptr, 3, dst, 8, src, 8, 1, 1), 0);
    EXPECT_EQ(Bytes(dst, dst + 8), Bytes(8, 0));
    // Mode 0 does nothing and succeeds; so does a proof of rows that are not CMYK.
    src[0] = 9;
    EXPECT_NE(ClrLabRowsToRGB(nullptr, 0, dst, 8, src, 8, 1, 1), 0);
    EXPECT_NE(ClrProofRowsToMonitor(nullptr, kRowsRGB, dst, 8, src, 8, 1, 1, 1), 0);
    EXPECT_EQ(Bytes(dst, dst + 8), Bytes(8, 0));
}

TEST_F(RowDispatch, TheMonitorAndItsProofTakeThePlainFormulas) {
    const std::uint8_t cmyk[4] = {100, 0, 0, 0};
    std::uint8_t rgb[3] = {};
    ASSERT_TRUE(ClrProofRowsToMonitor(nullptr, kRowsCMYK, rgb, 3, cmyk, 4, 1, 1, 1));
    EXPECT_EQ(Bytes(rgb, rgb + 3), (Bytes{255, 255, 155}));
    const std::uint8_t paper[3] = {255, 128, 128};
    ASSERT_TRUE(ClrConvertRowsToMonitor(nullptr, kRowsLab, rgb, 3, paper, 3, 1, 1));
    EXPECT_EQ(Bytes(rgb, rgb + 3), (Bytes{254, 255, 254}));
    const std::uint8_t wide[6] = {0, 1, 0, 2, 0, 3};
    ASSERT_TRUE(ClrConvertRowsToMonitor(nullptr, kRowsRGB48, rgb, 3, wide, 6, 1, 1));
    EXPECT_EQ(Bytes(rgb, rgb + 3), (Bytes{1, 2, 3}));
}

// With colour management on, each conversion names its kind to the managed
// path: the first of a pair, the second by the table's composite word, and
// none where the table says "plain".
TEST_F(RowDispatch, TheManagedPathIsAskedForTheKindOfTheConversion) {
    InstallCatalogue(
        testing::RiffWriter("sp71").Chunk("comh", testing::CommonHeader(0, 0, {2, 2, 2, 2})).Bytes());
    RecordingManagedPath path;
    ClrSetManagedRowPath(&path);
    std::uint8_t src[4] = {1, 2, 3, 4}, dst[4] = {};

    // Off: the managed path is not consulted at all.
    ASSERT_TRUE(ClrRGBRowsToCMYK(nullptr, dst, src, 1, 1));
    EXPECT_TRUE(path.kinds.empty());

    ClrGetSettings().colourManagement = 1;
    ClrKindsTable composite;
    for (auto& word : composite.words) word = kKindEvaluate;
    composite.words[kKindsComposite] = 1;
    ClrKindsTable plain;
    plain.words[kKindsComposite] = 1;

    ASSERT_TRUE(ClrRGBRowsToCMYK(nullptr, dst, src, 1, 1));
    EXPECT_EQ(dst[0], 0x5A);  // the managed result stands
    ASSERT_TRUE(ClrRGBRowsToCMYK(&composite, dst, src, 1, 1));
    ASSERT_TRUE(ClrLabRowsToCMYK(nullptr, dst, src, 1, 1));
    ASSERT_TRUE(ClrCMYKRowsToRGB(nullptr, dst, src, 1, 1));
    ASSERT_TRUE(ClrCMYKRowsToLab(&composite, dst, src, 1, 1));
    ASSERT_TRUE(ClrConvertRowsFromPrinter(nullptr, kRowsRGB, kRowsCMYK, dst, 4, src, 4, 1, 1, 0));
    ASSERT_TRUE(ClrConvertRowsToPrinter(nullptr, 0, kRowsLab, dst, 4, src, 4, 1, 1, 0));
    ASSERT_TRUE(ClrLabRowsToRGBPacked(nullptr, dst, src, 1, 1));
    ASSERT_TRUE(ClrRGBRowsToLabPacked(nullptr, dst, src, 1, 1));
    ASSERT_TRUE(ClrConvertRowsToMonitor(nullptr, kRowsLab, dst, 4, src, 4, 1, 1));
    ClrGetSettings().monitor = 1;
    ASSERT_TRUE(ClrConvertRowsToMonitor(nullptr, kRowsRGB, dst, 4, src, 4, 1, 1));
    ASSERT_TRUE(ClrConvertRowsToMonitor(nullptr, kRowsLab, dst, 4, src, 4, 1, 1));
    EXPECT_EQ(path.kinds, (std::vector<int>{3, 10, 29, 7, 39, 6, 28, 23, 24, 23, 1, 27}));

    // A table word of 0 keeps the plain formula.
    path.kinds.clear();
    const std::uint8_t grey[4] = {128, 128, 128, 0};
    ASSERT_TRUE(ClrRGBRowsToCMYK(&plain, dst, grey, 1, 1));
    EXPECT_TRUE(path.kinds.empty());
    EXPECT_EQ(Bytes(dst, dst + 4), (Bytes{0, 0, 0, 127}));

    // A refusal falls back to the plain formula too.
    path.answer = false;
    ASSERT_TRUE(ClrRGBRowsToCMYK(nullptr, dst, grey, 1, 1));
    EXPECT_EQ(path.kinds, std::vector<int>{3});
    EXPECT_EQ(Bytes(dst, dst + 4), (Bytes{0, 0, 0, 127}));
}

TEST_F(RowDispatch, ADeviceThatIsOffKeepsThePlainFormula) {
    // Printer CMYK off: the proofed conversions do not ask for a transform.
    InstallCatalogue(
        testing::RiffWriter("sp71").Chunk("comh", testing::CommonHeader(0, 0, {1, 2, 2, 3})).Bytes());
    RecordingManagedPath path;
    ClrSetManagedRowPath(&path);
    ClrGetSettings().colourManagement = 1;
    const std::uint8_t grey[4] = {128, 128, 128, 0};
    std::uint8_t dst[4] = {};
    ASSERT_TRUE(ClrRGBRowsToCMYK(nullptr, dst, grey, 1, 1));
    EXPECT_TRUE(path.kinds.empty());
    EXPECT_EQ(Bytes(dst, dst + 4), (Bytes{0, 0, 0, 127}));
}

}  // namespace
}  // namespace colour
