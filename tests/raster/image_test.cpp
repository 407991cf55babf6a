// Image records: the creators' rules, what an image owns, its mask and
// linked plane, and pixel addressing of one-block images.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "memory_tile_store.h"
#include "raster/image.h"
#include "raster/palette.h"
#include "raster/pixel_access.h"
#include "raster/raster_state.h"
#include "raster/region.h"
#include "raster/storage.h"

namespace raster {
namespace {

struct CreateCase {
    const char* name;
    std::int32_t type, width, height, storage;
    bool colour;
    RIPTileSource source;
    // Expected: 0 type means refused.
    std::int32_t wantType, wantBits, wantStride;
};

class Creation : public ::testing::TestWithParam<CreateCase> {};

TEST_P(Creation, FollowsTheArgumentRules) {
    const CreateCase& c = GetParam();
    // The layout below is an untiled image's; the tiled run lays images out in
    // tiles (and can load from a tile source). Refusals hold in both runs.
    if (RIPActiveTileStore() != nullptr && (c.wantType != 0 || c.source != 0)) {
        GTEST_SKIP() << "a tile store is installed";
    }
    const colour::ColorRecord white = colour::ColorRecord::RGB(255, 255, 255);
    RIPImage* image = RIPCreateImageEx(c.type, c.width, c.height, 3779527, 3779527, c.storage,
                                       c.colour ? &white : nullptr, c.source);
    if (c.wantType == 0) {
        EXPECT_EQ(image, nullptr);
        return;
    }
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->type, c.wantType);
    EXPECT_EQ(image->bitsPerPixel, c.wantBits);
    EXPECT_EQ(image->stride, c.wantStride);
    EXPECT_EQ(image->imageSize, static_cast<std::uint32_t>(c.wantStride * c.height));
    EXPECT_EQ(image->header, 1);
    EXPECT_EQ(image->bounds, (RIPRect{0, c.height - 1, c.width - 1, 0}));
    EXPECT_EQ(image->storageKind, kStorageBlock);
    EXPECT_EQ(image->tilesAcross, 1);
    EXPECT_EQ(image->tileWidth, c.width);
    EXPECT_EQ(image->tileTable[0][0].rowBytes, image->stride);
    RIPDestroyImage(image);
}

constexpr RIPTileSource kSource = 0x5A5A;

INSTANTIATE_TEST_SUITE_P(
    Images, Creation,
    ::testing::Values(CreateCase{"OneBitOnePixel", 6, 1, 1, kOneBlock, false, 0, 6, 1, 4},
                      CreateCase{"Rgb3Pixels", 1, 3, 2, kOneBlock, false, 0, 1, 24, 12},
                      CreateCase{"Rgb48Pads", 12, 3, 2, kAllowTiling, false, 0, 12, 48, 20},
                      CreateCase{"Grey16", 14, 3, 1, kOneBlock, true, 0, 14, 16, 8},
                      CreateCase{"Cmyk", 3, 2, 2, kOneBlock, true, 0, 3, 32, 8},
                      CreateCase{"Lab", 11, 5, 1, kOneBlock, false, 0, 11, 24, 16},
                      CreateCase{"Coverage", 99, 5, 1, kOneBlock, false, 0, 99, 8, 8},
                      CreateCase{"Standard8", 8, 5, 2, kOneBlock, false, 0, 10, 8, 8},
                      CreateCase{"Standard4", 9, 9, 2, kOneBlock, true, 0, 10, 4, 8},
                      CreateCase{"Storage3", 1, 4, 4, 3, false, 0, 0, 0, 0},
                      CreateCase{"Storage0", 1, 4, 4, 0, false, 0, 0, 0, 0},
                      CreateCase{"ColourAndTileSource", 1, 4, 4, kAllowTiling, true, kSource, 0, 0, 0},
                      CreateCase{"TileSourceOneBlock", 1, 4, 4, kOneBlock, false, kSource, 0, 0, 0},
                      // Without a tile store nothing is tiled, so a tile source has nothing to load.
                      CreateCase{"TileSourceUntiled", 1, 4, 4, kAllowTiling, false, kSource, 0, 0, 0},
                      CreateCase{"PalettedNeedsPalette", 10, 4, 4, kOneBlock, false, 0, 0, 0, 0},
                      CreateCase{"Type2", 2, 4, 4, kOneBlock, false, 0, 0, 0, 0},
                      CreateCase{"Type13", 13, 4, 4, kOneBlock, false, 0, 0, 0, 0},
                      CreateCase{"Type100", 100, 4, 4, kOneBlock, false, 0, 0, 0, 0},
                      CreateCase{"WidthZero", 5, 0, 4, kOneBlock, false, 0, 0, 0, 0},
                      CreateCase{"HeightNegative", 5, 4, -1, kOneBlock, false, 0, 0, 0, 0},
                      // 2^20 × 2^20 × 3 bytes does not fit the record's 32-bit size.
                      CreateCase{"TooLarge", 1, 1 << 20, 1 << 20, kOneBlock, false, 0, 0, 0, 0},
                      CreateCase{"StrideTooLarge", 12, std::numeric_limits<std::int32_t>::max(), 1, kOneBlock,
                                 false, 0, 0, 0, 0}),
    [](const ::testing::TestParamInfo<CreateCase>& info) { return info.param.name; });

TEST(Images, ShorthandsOwnTheirStandardPalettes) {
    RIPImage* eight = RIPCreateImageEx(kTypeStandard8, 4, 4, 0, 0, kOneBlock, nullptr, 0);
    ASSERT_NE(eight, nullptr);
    ASSERT_NE(eight->palette, nullptr);
    EXPECT_EQ(eight->palette->kind, kPaletteStandard);
    EXPECT_EQ(eight->palette->count, 236);
    EXPECT_EQ(eight->flags & kImagePaletteBorrowed, 0u);
    RIPImage* four = RIPCreateImageEx(kTypeStandard4, 4, 4, 0, 0, kOneBlock, nullptr, 0);
    ASSERT_NE(four, nullptr);
    EXPECT_EQ(four->palette->kind, kPaletteStandard16);
    // The sanitizer build finds the palettes leaked if destruction kept them.
    RIPDestroyImage(eight);
    RIPDestroyImage(four);
}

TEST(Images, PalettedCreatorsBorrowTheCallersPalette) {
    RIPPalette* palette = RIPCreatePalette(kPaletteCustom, 4);
    RIPSetPaletteEntry(palette, 3, 255, 0, 0);
    const colour::ColorRecord red = colour::ColorRecord::RGB(250, 10, 10);
    RIPImage* image = RIPCreatePalettedImageEx(palette, 3, 2, 8, 1, 0, 0, kOneBlock, &red, 0);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->flags & kImagePaletteBorrowed, kImagePaletteBorrowed);
    EXPECT_EQ(*RIPBlockPixelAddress(image, 2, 1), 3);  // the initial colour became the nearest index
    RIPDestroyImage(image);
    EXPECT_EQ(palette->Entries()[3 * 3 + 2], 255);  // still alive and unchanged
    EXPECT_EQ(RIPCreatePalettedImageEx(palette, 3, 2, 1, 1, 0, 0, kOneBlock, nullptr, 0), nullptr);  // 4 > 2
    EXPECT_EQ(RIPCreatePalettedImageEx(nullptr, 3, 2, 8, 1, 0, 0, kOneBlock, nullptr, 0), nullptr);
    RIPDestroyPalette(palette);
}

TEST(Images, PaletteDepthFitsTheEntryCount) {
    struct Case {
        int count, bits, planes, want;
    };
    const Case cases[] = {{2, 1, 1, 1},  {3, 1, 1, 0},  {1, 4, 1, 1},    {16, 4, 1, 1}, {17, 4, 1, 0},
                          {256, 8, 1, 1}, {257, 8, 1, 0}, {4, 2, 1, 0}, {4, 8, 2, 0}};
    for (const Case& c : cases) {
        RIPPalette* p = RIPCreatePalette(kPaletteCustom, c.count);
        EXPECT_EQ(RIPCheckPaletteDepth(p, c.bits, c.planes), c.want) << c.count << " " << c.bits << " " << c.planes;
        RIPDestroyPalette(p);
    }
    EXPECT_EQ(RIPCheckPaletteDepth(nullptr, 8, 1), 0);
}

TEST(Images, InitialColourFillsEveryPixelInTheImagesModel) {
    struct Case {
        std::int32_t type;
        colour::ColorRecord colour;
        std::vector<std::uint8_t> pixel;  // the bytes of pixel (2, 1)
    };
    const Case cases[] = {
        {1, colour::ColorRecord::RGB(10, 20, 30), {30, 20, 10}},
        {3, colour::ColorRecord::CMYK(colour::kModelCMYK, 1, 2, 3, 4), {1, 2, 3, 4}},
        {5, colour::ColorRecord::Grey(77), {77}},
        {99, colour::ColorRecord::Grey(200), {200}},
        {11, colour::ColorRecord::LabOffset(50, 120, 140), {50, 120, 140}},
        {12, colour::ColorRecord::RGB48(0x0102, 0x0304, 0x0506), {0x06, 0x05, 0x04, 0x03, 0x02, 0x01}},
        {14, colour::ColorRecord::Grey16Level(0xA1B2), {0xB2, 0xA1}},
        {6, colour::ColorRecord::BW(1), {0xFF}},
        // Converted on the way: red in the standard palette is entry 180.
        {8, colour::ColorRecord::RGB(255, 0, 0), {180}},
        // Two 4-bit pixels a byte, both the index of white (15).
        {9, colour::ColorRecord::RGB(255, 255, 255), {0xFF}},
    };
    for (const Case& c : cases) {
        RIPImage* image = RIPCreateImageEx(c.type, 5, 3, 0, 0, kOneBlock, &c.colour, 0);
        ASSERT_NE(image, nullptr) << c.type;
        const std::uint8_t* p = RIPBlockPixelAddress(image, 2, 1);
        EXPECT_EQ(std::vector<std::uint8_t>(p, p + c.pixel.size()), c.pixel) << c.type;
        RIPDestroyImage(image);
    }
}

TEST(Images, ImagesOverBuffersBorrowThem) {
    std::vector<std::uint8_t> buffer(8 * 2, 0x11);
    RIPImage* image = RIPCreateImageOverBuffer(kTypeGrey8, 5, 2, 0, 0, buffer.data());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->storageKind, kStorageBorrowed);
    EXPECT_EQ(RIPBlockPixelAddress(image, 1, 1), buffer.data() + 8 + 1);
    RIPDestroyImage(image);  // the vector frees the buffer: a double free would show
    EXPECT_EQ(buffer[0], 0x11);

    RIPImage* header = RIPCreateImageOverBuffer(kTypeRGB24, 5, 2, 0, 0, nullptr);
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->tileTable, nullptr);
    EXPECT_EQ(header->tilesAcross, 0);
    EXPECT_EQ(RIPBlockPixelAddress(header, 0, 0), nullptr);
    std::uint8_t* owned = RIPHeapAlloc(header->imageSize);
    ASSERT_EQ(RIPSetImageBuffer(header, owned, 1), 1);
    EXPECT_EQ(header->storageKind, kStorageBlock);
    EXPECT_EQ(RIPSetImageBuffer(header, owned, 1), 0);  // it has a table now
    RIPDestroyImage(header);  // frees `owned`
}

TEST(Images, BlockAddressesStayInsideTheImage) {
    RIPImage* image = RIPCreateImageEx(kTypeRGB24, 5, 4, 0, 0, kOneBlock, nullptr, 0);
    std::uint8_t* base = RIPBlockPixelAddress(image, 0, 0);
    EXPECT_EQ(RIPBlockPixelAddress(image, 4, 3), base + 3 * image->stride + 12);
    EXPECT_EQ(RIPBlockPixelAddress(image, 5, 0), nullptr);
    EXPECT_EQ(RIPBlockPixelAddress(image, 0, 4), nullptr);
    EXPECT_EQ(RIPBlockPixelAddress(image, -1, 0), nullptr);
    RIPDestroyImage(image);
    RIPImage* bits = RIPCreateImageEx(kTypeBilevel, 20, 1, 0, 0, kOneBlock, nullptr, 0);
    EXPECT_EQ(RIPBlockPixelAddress(bits, 17, 0), RIPBlockPixelAddress(bits, 0, 0) + 2);
    RIPDestroyImage(bits);
}

TEST(Images, MaskBoundsAreTheOverlapOfImageAndMask) {
    RIPImage* image = RIPCreateImageEx(kTypeGrey8, 20, 5, 0, 0, kOneBlock, nullptr, 0);
    RIPRegion* mask = RIPCreateRegion(10, 10);
    EXPECT_EQ(RIPSetImageMask(image, mask), nullptr);
    EXPECT_EQ(image->maskBounds, (RIPRect{0, 4, 9, 0}));
    EXPECT_EQ(RIPGetImageMask(image), mask);
    EXPECT_EQ(RIPSetImageMask(image, nullptr), mask);  // detached: the caller's again
    EXPECT_EQ(RIPGetImageMask(nullptr), nullptr);
    RIPSetImageMask(image, mask);
    RIPDestroyImage(image);  // destroys the attached mask
}

TEST(Images, LinkedPlanesAreOwnedAndNeverCyclic) {
    RIPImage* image = RIPCreateImageEx(kTypeRGB24, 8, 8, 0, 0, kOneBlock, nullptr, 0);
    RIPImage* alpha = RIPCreateImageEx(kTypeCoverage, 4, 4, 0, 0, kOneBlock, nullptr, 0);
    RIPImage* second = RIPCreateImageEx(kTypeCoverage, 2, 2, 0, 0, kOneBlock, nullptr, 0);
    const RIPRect at{2, 5, 5, 2};
    ASSERT_EQ(RIPSetLinkedImage(image, alpha, &at, nullptr), 1);
    EXPECT_EQ(RIPGetLinkedImage(image), alpha);
    EXPECT_EQ(image->linkedBounds, at);
    EXPECT_EQ(RIPSetLinkedImage(alpha, image, nullptr, nullptr), 0);  // would make a cycle
    EXPECT_EQ(RIPSetLinkedImage(image, image, nullptr, nullptr), 0);
    RIPImage* previous = nullptr;
    ASSERT_EQ(RIPSetLinkedImage(image, second, nullptr, &previous), 1);
    EXPECT_EQ(previous, alpha);
    EXPECT_EQ(image->linkedBounds, (RIPRect{0, 1, 1, 0}));
    ASSERT_EQ(RIPSetLinkedImage(second, alpha, nullptr, nullptr), 1);  // a chain of two
    EXPECT_EQ(RIPDestroyImage(image), 1);  // all three go; the sanitizer build finds any left
    EXPECT_EQ(RIPDestroyImage(nullptr), 0);
}

// With a tile store whose budget is small, large images are tiled.
TEST(TiledImages, LargeImagesAreTiledWithClippedEdgeSlots) {
    testing::ScopedTileStore scoped(4 * 145 * 3 * 152);
    testing::MemoryTileStore& store = scoped.store();
    // 145 × 152 × 3 bytes is 66,272 bytes with padding, above a quarter of the budget.
    RIPImage* image = RIPCreateImageEx(kTypeRGB24, 145, 152, 0, 0, kAllowTiling, nullptr, 0);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->storageKind, kStorageTiled);
    EXPECT_EQ(image->tilesAcross, 2);
    EXPECT_EQ(image->tilesDown, 2);
    EXPECT_EQ(image->tileTable[0][1].Bounds(), (RIPRect{144, 150, 144, 0}));
    EXPECT_EQ(image->tileTable[1][0].Bounds(), (RIPRect{0, 151, 143, 151}));
    EXPECT_EQ(image->tileTable[1][1].rowBytes, 432);
    EXPECT_EQ(store.LiveTiles(), 4);
    EXPECT_EQ(store.MadeUnderHold(), 4);  // the grid is built under one hold of the store's lock
    EXPECT_EQ(RIPBlockPixelAddress(image, 0, 0), nullptr);
    // One block when storage asks for it, and its size counts against the budget.
    RIPImage* block = RIPCreateImageEx(kTypeRGB24, 145, 152, 0, 0, kOneBlock, nullptr, 0);
    EXPECT_EQ(block->storageKind, kStorageBlock);
    EXPECT_EQ(store.Charged(), block->imageSize);
    RIPDestroyImage(block);
    EXPECT_EQ(store.Charged(), 0u);
    RIPDestroyImage(image);
    EXPECT_EQ(store.LiveTiles(), 0);
}

TEST(TiledImages, AQuarterOfTheBudgetIsNotTiledOneByteMoreIs) {
    // A 16 × 16 grey image is 256 bytes.
    {
        testing::ScopedTileStore scoped(1024);
        RIPImage* image = RIPCreateImageEx(kTypeGrey8, 16, 16, 0, 0, kAllowTiling, nullptr, 0);
        EXPECT_EQ(image->storageKind, kStorageBlock);
        RIPDestroyImage(image);
    }
    {
        testing::ScopedTileStore scoped(1023);
        RIPImage* image = RIPCreateImageEx(kTypeGrey8, 16, 16, 0, 0, kAllowTiling, nullptr, 0);
        EXPECT_EQ(image->storageKind, kStorageTiled);
        RIPDestroyImage(image);
    }
}

TEST(TiledImages, TilesAreSolidOrPendingAsAsked) {
    testing::ScopedTileStore scoped(4);
    testing::MemoryTileStore& store = scoped.store();
    const colour::ColorRecord grey = colour::ColorRecord::RGB(77, 77, 77);
    RIPImage* solid = RIPCreateImageEx(kTypeGrey8, 300, 10, 0, 0, kAllowTiling, &grey, 0);
    ASSERT_NE(solid, nullptr);
    ASSERT_TRUE(store.IsSolid(solid->tileTable[0][1].tile));
    EXPECT_EQ(RIPTileInlineData(&solid->tileTable[0][1])->Model(), colour::kModelGrey);
    RIPImage* pending = RIPCreateImageEx(kTypeGrey8, 300, 10, 0, 0, kAllowTiling, nullptr, kSource);
    ASSERT_NE(pending, nullptr);
    EXPECT_EQ(store.Descriptor(pending->tileTable[0][1].tile), (std::vector<std::int32_t>{256, 9, 299, 0}));
    EXPECT_EQ(store.Source(pending->tileTable[0][1].tile), kSource);
    RIPDestroyImage(solid);
    RIPDestroyImage(pending);
    EXPECT_EQ(store.LiveTiles(), 0);
}

int StopAtSecondRow(std::int32_t position, std::int32_t, void*) {
    return position < 2 ? 1 : 0;
}

TEST(TiledImages, SharedTilesAreCopiedOnTheFirstWrite) {
    testing::ScopedTileStore scoped(4);
    testing::MemoryTileStore& store = scoped.store();
    // 300 × 300 grey pixels: 2 × 2 tiles of 256 × 256.
    const colour::ColorRecord grey = colour::ColorRecord::Grey(9);
    RIPImage* source = RIPCreateImageEx(kTypeGrey8, 300, 300, 0, 0, kAllowTiling, &grey, 0);
    RIPImage* copy = RIPCreateImageEx(kTypeGrey8, 300, 300, 0, 0, kAllowTiling, nullptr, 0);
    RIPImage* other = RIPCreateImageEx(kTypeGrey8, 300, 299, 0, 0, kAllowTiling, nullptr, 0);
    ASSERT_EQ(store.LiveTiles(), 12);
    EXPECT_EQ(RIPShareTiles(nullptr, other, source), 0);  // another size
    EXPECT_EQ(RIPShareTiles(nullptr, source, other), 0);
    ASSERT_EQ(RIPShareTiles(nullptr, copy, source), 1);
    EXPECT_EQ(store.LiveTiles(), 8);  // the copy's own tiles went back
    EXPECT_EQ(copy->tileTable[1][1].tile, source->tileTable[1][1].tile);
    EXPECT_EQ(copy->tileTable[1][1].Bounds(), source->tileTable[1][1].Bounds());
    EXPECT_EQ(store.ShareCount(source->tileTable[1][1].tile), 1);
    // A write to the copy leaves the source as it was.
    const std::uint8_t value = 200;
    ASSERT_EQ(RIPSetImageData(copy, 260, 270, 1, 1, 4, &value, 0), 1);
    EXPECT_NE(copy->tileTable[1][1].tile, source->tileTable[1][1].tile);
    std::uint8_t read = 0;
    ASSERT_EQ(RIPReadPixelByte(copy, 260, 270, &read), 1);
    EXPECT_EQ(read, 200);
    ASSERT_EQ(RIPReadPixelByte(source, 260, 270, &read), 1);
    EXPECT_EQ(read, 9);
    // One slot shared into another image's slot.
    ASSERT_EQ(RIPShareTileSlot(&other->tileTable[0][0], &source->tileTable[0][0]), 1);
    EXPECT_EQ(other->tileTable[0][0].tile, source->tileTable[0][0].tile);
    RIPDestroyImage(other);
    RIPDestroyImage(copy);
    EXPECT_EQ(store.ShareCount(source->tileTable[0][0].tile), 0);
    // A stop asked by the progress callback leaves the destination without storage.
    RIPImage* stopped = RIPCreateImageEx(kTypeGrey8, 300, 300, 0, 0, kAllowTiling, nullptr, 0);
    RIPRasterState* state = RIPCreateRS();
    state->progressCallback = &StopAtSecondRow;
    EXPECT_EQ(RIPShareTiles(state, stopped, source), 0);
    EXPECT_EQ(stopped->tileTable, nullptr);
    EXPECT_EQ(store.ShareCount(source->tileTable[1][0].tile), 0);
    RIPDestroyRS(state);
    RIPDestroyImage(stopped);
    RIPDestroyImage(source);
    EXPECT_EQ(store.LiveTiles(), 0);
}

TEST(TiledImages, ContiguousSlotLocksChangeNothing) {
    RIPImage* image = RIPCreateImageEx(kTypeGrey8, 4, 4, 0, 0, kOneBlock, nullptr, 0);
    RIPTileSlot before = image->tileTable[0][0];
    EXPECT_EQ(RIPTileLock(&image->tileTable[0][0]), 1);
    EXPECT_EQ(RIPTileLockRead(&image->tileTable[0][0]), 1);
    EXPECT_EQ(image->tileTable[0][0].lockDepth, before.lockDepth);
    EXPECT_EQ(image->tileTable[0][0].data, before.data);
    EXPECT_EQ(RIPTileUnlock(&image->tileTable[0][0]), 1);
    RIPDestroyImage(image);
}

TEST(TiledImages, SlotLockDepthCountsWritesDownAndReadsUp) {
    testing::ScopedTileStore scoped(4);
    RIPImage* image = RIPCreateImageEx(kTypeGrey8, 10, 10, 0, 0, kAllowTiling, nullptr, 0);
    RIPTileSlot& slot = image->tileTable[0][0];
    ASSERT_EQ(RIPTileLock(&slot), 1);
    EXPECT_EQ(slot.lockDepth, -1);
    ASSERT_NE(slot.data, nullptr);
    ASSERT_EQ(RIPTileLockOverwrite(&slot), 1);
    EXPECT_EQ(slot.lockDepth, -2);
    RIPTileUnlock(&slot);
    RIPTileUnlock(&slot);
    ASSERT_EQ(RIPTileLockRead(&slot), 1);
    ASSERT_EQ(RIPTileLockWrite(&slot), 1);
    EXPECT_EQ(slot.lockDepth, 2);
    RIPTileUnlock(&slot);
    RIPTileUnlock(&slot);
    EXPECT_EQ(slot.lockDepth, 0);
    EXPECT_EQ(scoped.store().HeldLocks(), 0);
    scoped.store().FailLocksAfter(0);
    EXPECT_EQ(RIPTileLock(&slot), 0);
    EXPECT_EQ(slot.lockDepth, 0);
    RIPDestroyImage(image);
}

}  // namespace
}  // namespace raster
