// Row converters and the route table between the pixel formats.
#include <gtest/gtest.h>

#include <vector>

#include "raster/nibble_rows.h"
#include "raster/palette.h"
#include "raster/pixel_access.h"
#include "raster/row_convert.h"

namespace raster {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::int32_t kFormats[8] = {1, 5, 3, 6, 10, 11, 12, 14};

// The working type of every pair as the blit's table gives it (rows: source).
constexpr std::int32_t kWorking[8][8] = {
    {1, 5, 1, 5, 1, 1, 1, 1}, {1, 5, 3, 5, 1, 1, 1, 1}, {1, 5, 1, 5, 1, 1, 1, 1}, {1, 5, 1, 5, 1, 1, 1, 1},
    {1, 5, 1, 5, 1, 1, 1, 1}, {1, 1, 1, 1, 1, 1, 1, 1}, {1, 1, 1, 1, 1, 1, 1, 1}, {1, 1, 1, 1, 1, 1, 1, 1},
};

bool HasDirect(std::int32_t s, std::int32_t d) {
    switch (s) {
        case 1: return d != 1;
        case 5: return d == 1 || d == 3 || d == 6 || d == 10;
        case 3: return d == 1 || d == 5;
        case 6: return d == 1 || d == 5 || d == 10;
        case 10: return d == 1 || d == 5 || d == 6;
        default: return d == 1;
    }
}

std::uint32_t Bits(std::int32_t type) {
    switch (type) {
        case 1: case 11: return 24;
        case 3: return 32;
        case 6: return 1;
        case 12: return 48;
        case 14: return 16;
        default: return 8;
    }
}

TEST(ConversionRoutes, EveryPairFollowsTheWorkingTypeRule) {
    for (int i = 0; i < 8; ++i) {
        for (int j = 0; j < 8; ++j) {
            const std::int32_t s = kFormats[i], d = kFormats[j], w = kWorking[i][j];
            const RIPConversionRoute* r = RIPConversionRouteFor(s, d);
            ASSERT_EQ(r, &RIPConversionRoutes[i][j]);
            SCOPED_TRACE(::testing::Message() << s << " -> " << d);
            EXPECT_EQ(r->workingType, static_cast<std::uint32_t>(w));
            EXPECT_EQ(r->workingBits, Bits(w));
            EXPECT_EQ(r->destinationBits, Bits(d));
            EXPECT_EQ(r->toWorking != nullptr, s != w);
            EXPECT_EQ(r->destinationToWorking != nullptr, d != w);
            EXPECT_EQ(r->workingToDestination != nullptr, d != w);
            EXPECT_EQ(r->direct != nullptr, s != d && HasDirect(s, d));
        }
    }
    EXPECT_EQ(RIPConversionRouteFor(99, 99), RIPConversionRouteFor(5, 5));
    EXPECT_EQ(RIPConversionRouteFor(13, 1), nullptr);
    EXPECT_EQ(RIPFormatIndex8(2), -1);
}

TEST(ConversionRoutes, FormatsAreReadThroughTheirOwnPairs) {
    struct Case {
        std::int32_t type;
        RIPRowConverter read, write;
    };
    const Case diagonal[] = {{3, &RIPCMYKToRGB24, &RIPRGB24ToCMYK},   {6, &RIPBitsToBytes, &RIPBytesToBits},
                             {10, &RIPIndex8ToRGB24, &RIPRGB24ToIndex8}, {11, &RIPLabToRGB24, &RIPRGB24ToLab},
                             {12, &RIPRGB48ToRGB24, &RIPRGB24ToRGB48}, {14, &RIPGrey16ToRGB24, &RIPRGB24ToGrey16},
                             {1, nullptr, nullptr},                      {5, nullptr, nullptr}};
    for (const Case& c : diagonal) {
        const RIPConversionRoute* r = RIPConversionRouteFor(c.type, c.type);
        EXPECT_EQ(r->destinationToWorking, c.read) << c.type;
        EXPECT_EQ(r->workingToDestination, c.write) << c.type;
    }
    // Grey and bilevel destinations merged in RGB.
    EXPECT_EQ(RIPConversionRouteFor(11, 5)->destinationToWorking, &RIPGrey8ToRGB24);
    EXPECT_EQ(RIPConversionRouteFor(11, 5)->workingToDestination, &RIPRGB24ToGrey8);
    EXPECT_EQ(RIPConversionRouteFor(12, 6)->destinationToWorking, &RIPBitsToRGB24);
    EXPECT_EQ(RIPConversionRouteFor(12, 6)->workingToDestination, &RIPRGB24ToBits);
    EXPECT_EQ(RIPConversionRouteFor(5, 3)->toWorking, &RIPGrey8ToCMYK);
    EXPECT_EQ(RIPConversionRouteFor(3, 6)->toWorking, &RIPCMYKToGrey8);
}

struct ConvertCase {
    const char* name;
    RIPRowConverter convert;
    std::uint32_t n;
    Bytes src, dstBefore, want;
    std::uint32_t srcBit = 0, dstBit = 0;
};

class Converters : public ::testing::TestWithParam<ConvertCase> {};

TEST_P(Converters, WriteTheirVectors) {
    const ConvertCase& c = GetParam();
    // A 16-colour palette of the standard kind: entry 1 is dark red (128, 0, 0).
    RIPPalette* palette = RIPCreatePalette(kPaletteStandard16, 0);
    RIPConverterContext ctx;
    ctx.palette = palette;
    ctx.srcBitOffset = c.srcBit;
    ctx.dstBitOffset = c.dstBit;
    ctx.cmykToRGBMode = 0;
    Bytes dst = c.dstBefore;
    ASSERT_EQ(c.convert(&ctx, c.n, dst.data(), c.src.data()), 1);
    EXPECT_EQ(dst, c.want);
    RIPDestroyPalette(palette);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Converters,
    ::testing::Values(
        ConvertCase{"GreyOfPrimaries", &RIPRGB24ToGrey8, 3, {0, 0, 255, 0, 255, 0, 255, 0, 0}, Bytes(4, 9),
                    {76, 153, 25, 9}},
        ConvertCase{"BitsAtTheMiddleGrey", &RIPRGB24ToBits, 2, {127, 127, 127, 128, 128, 128}, {0x00, 0xEE},
                    {0x40, 0xEE}},
        ConvertCase{"BitsAtAnOffsetKeepNeighbours", &RIPBytesToBits, 3, {200, 0, 128}, {0xFF, 0x00}, {0xF7, 0x00},
                    0, 3},
        ConvertCase{"BytesFromAnOffset", &RIPBitsToBytes, 4, {0x0A, 0x80}, Bytes(5, 7), {0, 255, 0, 255, 7}, 5},
        ConvertCase{"BitsToRGB", &RIPBitsToRGB24, 2, {0x40}, Bytes(6, 9), {0, 0, 0, 255, 255, 255}, 0},
        // Index 200 lies past the 16 entries: it reads entry 0.
        ConvertCase{"IndexPastTheEntries", &RIPIndex8ToRGB24, 2, {200, 1}, Bytes(6, 9), {0, 0, 0, 0, 0, 128}},
        ConvertCase{"IndexToRGB48", &RIPIndex8ToRGB48, 1, {1}, Bytes(6, 9), {0, 0, 0, 0, 128, 128}},
        ConvertCase{"IndexToGrey", &RIPIndex8ToGrey8, 2, {1, 15}, Bytes(2, 9), {38, 255}},
        ConvertCase{"IndexToBits", &RIPIndex8ToBits, 3, {15, 1, 7}, {0x00}, {0xA0}},
        ConvertCase{"NibblesFromTheLowNibble", &RIPIndex4ToRGB24, 2, {0x1F, 0x80}, Bytes(6, 9),
                    {255, 255, 255, 192, 192, 192}, 4},
        ConvertCase{"NibblesToRGB48", &RIPIndex4ToRGB48, 1, {0x10}, Bytes(6, 9), {0, 0, 0, 0, 128, 128}},
        ConvertCase{"RGB48HighBytes", &RIPRGB48ToRGB24, 1, {0xFF, 0x12, 0x00, 0x34, 0x80, 0x56}, Bytes(3, 9),
                    {0x12, 0x34, 0x56}},
        ConvertCase{"RGBWidenedTo48", &RIPRGB24ToRGB48, 1, {0x12, 0x34, 0x56}, Bytes(6, 9),
                    {0x12, 0x12, 0x34, 0x34, 0x56, 0x56}},
        ConvertCase{"GreyTo16", &RIPRGB24ToGrey16, 1, {0, 0, 255}, Bytes(2, 9), {76, 76}},
        ConvertCase{"Grey16HighByte", &RIPGrey16ToRGB24, 1, {0x01, 0xAB}, Bytes(3, 9), {0xAB, 0xAB, 0xAB}},
        ConvertCase{"GreyTripled", &RIPGrey8ToRGB24, 2, {5, 6}, Bytes(6, 9), {5, 5, 5, 6, 6, 6}},
        // The 16-colour palette has no standard formula: its nearest entries through the cache.
        ConvertCase{"RGBToIndex", &RIPRGB24ToIndex8, 2, {0, 0, 250, 190, 190, 190}, Bytes(2, 99), {9, 8}},
        ConvertCase{"GreyToIndex", &RIPGrey8ToIndex8, 2, {0, 130}, Bytes(2, 99), {0, 7}},
        ConvertCase{"BitsToNearestIndices", &RIPBitsToIndex8, 2, {0x80}, Bytes(2, 99), {15, 0}},
        // Mode 0: the plain formula, black added to each ink and clamped.
        ConvertCase{"CMYKPlain", &RIPCMYKToRGB24, 2, {100, 0, 0, 200, 0, 0, 0, 0}, Bytes(6, 9),
                    {55, 55, 0, 255, 255, 255}},
        ConvertCase{"CMYKToGrey", &RIPCMYKToGrey8, 1, {0, 0, 0, 0}, Bytes(1, 9), {255}},
        ConvertCase{"GreyToCMYK", &RIPGrey8ToCMYK, 2, {255, 0}, Bytes(8, 9), {0, 0, 0, 0, 0, 0, 0, 255}}),
    [](const ::testing::TestParamInfo<ConvertCase>& info) { return info.param.name; });

TEST(Converters, TheGreyOfEveryPixelIsTheTruncatedTenth) {
    for (unsigned r = 0; r < 256; ++r) {
        for (unsigned g = 0; g < 256; ++g) {
            for (unsigned b = 0; b < 256; b += 5) {
                ASSERT_EQ(RIPGreyOf(static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(g),
                                    static_cast<std::uint8_t>(r)),
                          (3 * r + 6 * g + b) / 10);
            }
        }
    }
}

TEST(Converters, StandardPaletteUsesItsFormula) {
    RIPPalette* palette = RIPCreatePalette(kPaletteStandard, 0);
    RIPConverterContext ctx;
    ctx.palette = palette;
    const std::uint8_t rgb[9] = {128, 128, 128, 250, 250, 250, 0, 0, 255};
    std::uint8_t out[3] = {};
    RIPRGB24ToIndex8(&ctx, 3, out, rgb);
    EXPECT_EQ(Bytes(out, out + 3), (Bytes{226, 215, 180}));
    EXPECT_EQ(palette->cache, nullptr);  // no cache was needed
    const std::uint8_t grey[1] = {128};
    RIPGrey8ToIndex8(&ctx, 1, out, grey);
    EXPECT_EQ(out[0], 226);
    RIPDestroyPalette(palette);
}

TEST(Converters, PalettelessIndicesReadBlack) {
    const std::uint8_t src[2] = {3, 200};
    std::uint8_t out[6] = {9, 9, 9, 9, 9, 9};
    ASSERT_EQ(RIPIndex8ToRGB24(nullptr, 2, out, src), 1);
    EXPECT_EQ(Bytes(out, out + 6), Bytes(6, 0));
}

TEST(CMYKRows, ModesPickTheirConversion) {
    const std::uint8_t cmyk[8] = {255, 0, 0, 0, 0, 0, 0, 0};
    std::uint8_t plain[6] = {}, managed[6] = {};
    ASSERT_EQ(RIPCMYKRowsToRGB(plain, 6, cmyk, 8, 2, 1, nullptr, 0), 1);
    EXPECT_EQ(Bytes(plain, plain + 6), (Bytes{255, 255, 0, 255, 255, 255}));  // blue, green, red of cyan
    // With colour management off the managed mode falls back to the same formula.
    ASSERT_EQ(RIPCMYKRowsToRGB(managed, 6, cmyk, 8, 2, 1, nullptr, 1), 1);
    EXPECT_EQ(Bytes(managed, managed + 6), Bytes(plain, plain + 6));
    EXPECT_EQ(RIPCMYKRowsToRGB(managed, 6, cmyk, 8, 2, 1, nullptr, 4), 0);
}

// A model of nibble rows: pixel k of a row.
unsigned NibbleAt(const Bytes& row, std::uint32_t k) {
    return k % 2 == 0 ? row[k / 2] >> 4 : row[k / 2] & 0x0F;
}

TEST(NibbleRows, CopiesAtEveryNibblePairKeepTheNeighbours) {
    RIPPalette* palette = RIPCreatePalette(kPaletteStandard16, 0);
    const Bytes src = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC};
    for (std::uint32_t srcNibble = 0; srcNibble < 3; ++srcNibble) {
        for (std::uint32_t dstNibble = 0; dstNibble < 3; ++dstNibble) {
            for (std::uint32_t n = 0; n <= 8; ++n) {
                Bytes dst(7, 0xEE);
                RIPCopyNibbleRow(dst.data(), dstNibble, palette, src.data(), srcNibble, palette, n);
                for (std::uint32_t k = 0; k < 14; ++k) {
                    const bool inRun = k >= dstNibble && k < dstNibble + n;
                    const unsigned want = inRun ? NibbleAt(src, srcNibble + k - dstNibble) : 0xE;
                    ASSERT_EQ(NibbleAt(dst, k), want) << srcNibble << " " << dstNibble << " " << n << " at " << k;
                }
            }
        }
    }
    RIPDestroyPalette(palette);
}

TEST(NibbleRows, PixelsOfAnotherPaletteAreMappedToTheNearestEntries) {
    RIPPalette* target = RIPCreatePalette(kPaletteStandard16, 0);
    RIPPalette* source = RIPCreatePalette(kPaletteCustom, 3);
    RIPSetPaletteEntry(source, 0, 250, 250, 250);  // white, 15
    RIPSetPaletteEntry(source, 1, 0, 0, 120);     // dark blue, 4
    RIPSetPaletteEntry(source, 2, 190, 195, 200);  // silver, 8
    std::uint8_t low[16], high[16];
    RIPBuildNibbleMap(low, high, target, source);
    EXPECT_EQ(low[0], 15);
    EXPECT_EQ(low[1], 4);
    EXPECT_EQ(low[2], 8);
    EXPECT_EQ(low[9], 15);  // past the entries: entry 0
    EXPECT_EQ(high[1], 0x40);
    const std::uint8_t src[2] = {0x01, 0x20};
    std::uint8_t dst[2] = {0x77, 0x77};
    RIPCopyNibbleRow(dst, 1, target, src, 0, source, 3);
    EXPECT_EQ(Bytes(dst, dst + 2), (Bytes{0x7F, 0x48}));
    RIPDestroyPalette(source);
    RIPDestroyPalette(target);
}

}  // namespace
}  // namespace raster
