// Caller rows written into images: direct copies at bit and nibble offsets,
// across tiles, and the cases handed to the blit.
#include <gtest/gtest.h>

#include <vector>

#include "memory_tile_store.h"
#include "raster/blit_entry.h"
#include "raster/image.h"
#include "raster/palette.h"
#include "raster/pixel_access.h"
#include "raster/region.h"
#include "raster/storage.h"

namespace raster {
namespace {

// A blit entry that records its call and answers 1.
struct BlitCall {
    int calls = 0;
    RIPImage* dst = nullptr;
    std::int32_t dx = 0, dy = 0, dw = 0, dh = 0, sw = 0, sh = 0, srcStride = 0, srcType = 0;
    std::uint32_t flags = 0;
    std::uint8_t firstByte = 0;
};
BlitCall g_blit;

int RecordingBlit(RIPRasterState*, RIPImage* dst, std::int32_t dx, std::int32_t dy, std::int32_t dw,
                  std::int32_t dh, const RIPRect*, RIPImage* src, std::int32_t, std::int32_t, std::int32_t sw,
                  std::int32_t sh, const RIPRect*, std::uint32_t flags) {
    g_blit = BlitCall{g_blit.calls + 1, dst, dx, dy, dw, dh, sw, sh, src->stride, src->type, flags,
                      *RIPBlockPixelAddress(src, 0, 0)};
    return 1;
}

class ImageData : public ::testing::Test {
protected:
    void SetUp() override {
        g_blit = BlitCall{};
        previous_ = RIPSetStretchBlitEntry(&RecordingBlit);
    }
    void TearDown() override { RIPSetStretchBlitEntry(previous_); }

private:
    RIPStretchBlitEntry previous_ = nullptr;
};

std::vector<std::uint8_t> Row(const RIPImage* image, std::int32_t y) {
    const std::uint8_t* p = RIPBlockPixelAddress(image, 0, y);
    return {p, p + image->stride};
}

TEST_F(ImageData, BitRowsLandAtTheirBitOffsetsWithNeighboursKept) {
    for (std::int32_t x : {3, 4}) {
        RIPImage* image = RIPCreateImageEx(kTypeBilevel, 16, 2, 0, 0, kOneBlock, nullptr, 0);
        std::uint8_t* row = RIPBlockPixelAddress(image, 0, 1);
        row[0] = 0xA5;
        row[1] = 0x5A;
        // Five set bits from bit 0 of the caller's row.
        const std::uint8_t source[4] = {0xF8, 0, 0, 0};
        ASSERT_EQ(RIPSetImageData(image, x, 1, 5, 1, 4, source, 0), 1);
        const std::uint16_t before = 0xA55A, run = static_cast<std::uint16_t>(0x1F << (11 - x));
        const std::uint16_t want = static_cast<std::uint16_t>((before & ~run) | run);
        EXPECT_EQ(row[0], want >> 8) << x;
        EXPECT_EQ(row[1], want & 0xFF) << x;
        EXPECT_EQ(Row(image, 0), std::vector<std::uint8_t>(4, 0));  // row 0 is the bottom row, untouched
        RIPDestroyImage(image);
    }
}

TEST_F(ImageData, NibbleRowsLandAtOddPositionsWithNeighboursKept) {
    RIPPalette* palette = RIPCreatePalette(kPaletteStandard16, 0);
    RIPImage* image = RIPCreatePalettedImageEx(palette, 8, 1, 4, 1, 0, 0, kOneBlock, nullptr, 0);
    std::uint8_t* row = RIPBlockPixelAddress(image, 0, 0);
    row[0] = 0x12;
    row[1] = 0x34;
    row[2] = 0x56;
    const std::uint8_t source[4] = {0xAB, 0xC0, 0, 0};
    ASSERT_EQ(RIPSetImageData(image, 1, 0, 3, 1, 4, source, 0), 1);
    EXPECT_EQ(row[0], 0x1A);
    EXPECT_EQ(row[1], 0xBC);
    EXPECT_EQ(row[2], 0x56);
    EXPECT_EQ(g_blit.calls, 0);
    RIPDestroyImage(image);
    RIPDestroyPalette(palette);
}

TEST_F(ImageData, RowsCountUpFromRowYAndSourceStrideIsHonoured) {
    RIPImage* image = RIPCreateImageEx(kTypeRGB24, 4, 3, 0, 0, kOneBlock, nullptr, 0);
    // Two rows of two pixels, 8 bytes apart: the first lands on row 1.
    const std::uint8_t source[16] = {1, 2, 3, 4, 5, 6, 99, 99, 7, 8, 9, 10, 11, 12, 99, 99};
    ASSERT_EQ(RIPSetImageData(image, 1, 1, 2, 2, 8, source, 0), 1);
    const std::uint8_t* p = RIPBlockPixelAddress(image, 1, 1);
    EXPECT_EQ(std::vector<std::uint8_t>(p, p + 6), (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6}));
    p = RIPBlockPixelAddress(image, 1, 2);
    EXPECT_EQ(std::vector<std::uint8_t>(p, p + 6), (std::vector<std::uint8_t>{7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(*RIPBlockPixelAddress(image, 3, 1), 0);
    RIPDestroyImage(image);
}

TEST_F(ImageData, ARectanglePastTheEdgeIsClipped) {
    RIPImage* image = RIPCreateImageEx(kTypeGrey8, 4, 2, 0, 0, kOneBlock, nullptr, 0);
    const std::uint8_t source[12] = {1, 2, 3, 4, 0, 0, 5, 6, 7, 8, 0, 0};
    ASSERT_EQ(RIPSetImageData(image, 2, 1, 4, 2, 6, source, 0), 1);
    EXPECT_EQ(Row(image, 1), (std::vector<std::uint8_t>{0, 0, 1, 2}));
    EXPECT_EQ(Row(image, 0), (std::vector<std::uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(RIPSetImageData(image, 4, 0, 1, 1, 4, source, 0), 1);  // wholly outside: nothing to copy
    EXPECT_EQ(g_blit.calls, 0);
    RIPDestroyImage(image);
}

TEST_F(ImageData, BadArgumentsAreRefused) {
    RIPImage* image = RIPCreateImageEx(kTypeRGB24, 4, 4, 0, 0, kOneBlock, nullptr, 0);
    const std::uint8_t source[64] = {};
    EXPECT_EQ(RIPSetImageData(nullptr, 0, 0, 1, 1, 4, source, 0), 0);
    EXPECT_EQ(RIPSetImageData(image, -1, 0, 1, 1, 4, source, 0), 0);
    EXPECT_EQ(RIPSetImageData(image, 0, -1, 1, 1, 4, source, 0), 0);
    EXPECT_EQ(RIPSetImageData(image, 0, 0, 0, 1, 4, source, 0), 0);
    EXPECT_EQ(RIPSetImageData(image, 0, 0, 1, 0, 4, source, 0), 0);
    EXPECT_EQ(RIPSetImageData(image, 0, 0, 2, 1, 5, source, 0), 0);  // rows shorter than two pixels
    EXPECT_EQ(RIPSetImageData(image, 0, 0, 1, 1, 4, nullptr, 0), 0);
    RIPDestroyImage(image);
}

TEST_F(ImageData, MergeModesMasksAndLinkedPlanesGoThroughTheBlit) {
    RIPImage* image = RIPCreateImageEx(kTypeGrey8, 8, 8, 0, 0, kOneBlock, nullptr, 0);
    const std::uint8_t source[32] = {42};
    // A merge mode goes to the blit even when the rectangle fits, with the caller's rows and flags.
    ASSERT_EQ(RIPSetImageData(image, 1, 2, 3, 2, 16, source, 9), 1);
    EXPECT_EQ(g_blit.calls, 1);
    EXPECT_EQ(g_blit.dst, image);
    EXPECT_EQ(g_blit.dx, 1);
    EXPECT_EQ(g_blit.dy, 2);
    EXPECT_EQ(g_blit.dw, 3);
    EXPECT_EQ(g_blit.dh, 2);
    EXPECT_EQ(g_blit.sw, 3);
    EXPECT_EQ(g_blit.srcStride, 16);
    EXPECT_EQ(g_blit.srcType, kTypeGrey8);
    EXPECT_EQ(g_blit.flags, 9u);
    EXPECT_EQ(g_blit.firstByte, 42);
    EXPECT_EQ(*RIPBlockPixelAddress(image, 1, 2), 0);  // the recording blit drew nothing

    // A mask without runs gates nothing; with runs it does, unless told to ignore it.
    RIPRegion* mask = RIPCreateRegion(8, 8);
    RIPSetImageMask(image, mask);
    ASSERT_EQ(RIPSetImageData(image, 0, 0, 1, 1, 4, source, 0), 1);
    EXPECT_EQ(g_blit.calls, 1);
    ASSERT_EQ(RIPRegionInitRuns(mask), 1);
    ASSERT_EQ(RIPSetImageData(image, 0, 0, 1, 1, 4, source, 0), 1);
    EXPECT_EQ(g_blit.calls, 2);
    ASSERT_EQ(RIPSetImageData(image, 0, 0, 1, 1, 4, source, kIgnoreMask), 1);
    EXPECT_EQ(g_blit.calls, 2);
    EXPECT_EQ(*RIPBlockPixelAddress(image, 0, 0), 42);

    RIPSetLinkedImage(image, RIPCreateImageEx(kTypeCoverage, 8, 8, 0, 0, kOneBlock, nullptr, 0), nullptr, nullptr);
    ASSERT_EQ(RIPSetImageData(image, 0, 0, 1, 1, 4, source, kIgnoreMask), 1);
    EXPECT_EQ(g_blit.calls, 3);
    ASSERT_EQ(RIPSetImageData(image, 0, 0, 1, 1, 4, source, kIgnoreMask | kIgnoreLinkedImage), 1);
    EXPECT_EQ(g_blit.calls, 3);
    RIPDestroyImage(image);
}

TEST_F(ImageData, WithoutABlitTheBlitCasesFail) {
    RIPSetStretchBlitEntry(nullptr);
    RIPImage* image = RIPCreateImageEx(kTypeGrey8, 4, 4, 0, 0, kOneBlock, nullptr, 0);
    const std::uint8_t source[4] = {};
    EXPECT_EQ(RIPSetImageData(image, 0, 0, 1, 1, 4, source, 3), 0);
    RIPDestroyImage(image);
    // Paletted rows under 8 bits have no blit to go to.
    RIPSetStretchBlitEntry(&RecordingBlit);
    RIPPalette* palette = RIPCreatePalette(kPaletteBlackWhite, 0);
    RIPImage* bits = RIPCreatePalettedImageEx(palette, 8, 1, 1, 1, 0, 0, kOneBlock, nullptr, 0);
    EXPECT_EQ(RIPSetImageData(bits, 0, 0, 1, 1, 4, source, 3), 0);
    EXPECT_EQ(g_blit.calls, 0);
    RIPDestroyImage(bits);
    RIPDestroyPalette(palette);
}

TEST_F(ImageData, CopiesAcrossTilesMatchTheContiguousCopy) {
    // 300 × 260 grey pixels make 2 × 2 tiles of 256 × 256 under a tiny budget.
    std::vector<std::uint8_t> source(40 * 16);
    for (std::size_t i = 0; i < source.size(); ++i) source[i] = static_cast<std::uint8_t>(i * 7 + 1);
    RIPImage* flat = RIPCreateImageEx(kTypeGrey8, 300, 260, 0, 0, kOneBlock, nullptr, 0);
    ASSERT_EQ(RIPSetImageData(flat, 240, 250, 40, 10, 40, source.data(), 0), 1);
    testing::ScopedTileStore scoped(4);
    RIPImage* tiled = RIPCreateImageEx(kTypeGrey8, 300, 260, 0, 0, kAllowTiling, nullptr, 0);
    ASSERT_EQ(tiled->tilesAcross, 2);
    ASSERT_EQ(RIPSetImageData(tiled, 240, 250, 40, 10, 40, source.data(), 0), 1);
    for (std::int32_t y = 248; y < 262; ++y) {
        for (std::int32_t x = 238; x < 282; ++x) {
            std::uint8_t a = 0, b = 0;
            if (y >= 260) continue;
            ASSERT_EQ(RIPReadPixelByte(flat, x, y, &a), 1);
            ASSERT_EQ(RIPReadPixelByte(tiled, x, y, &b), 1);
            ASSERT_EQ(a, b) << x << "," << y;
        }
    }
    EXPECT_EQ(scoped.store().HeldLocks(), 0);
    scoped.store().FailLocksAfter(1);  // the second tile cannot be locked
    EXPECT_EQ(RIPSetImageData(tiled, 240, 250, 40, 10, 40, source.data(), 0), 0);
    EXPECT_EQ(scoped.store().HeldLocks(), 0);
    RIPDestroyImage(tiled);
    RIPDestroyImage(flat);
}

}  // namespace
}  // namespace raster
