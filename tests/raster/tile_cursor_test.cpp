// Tile cursors over rectangles of contiguous and tiled images.
#include <gtest/gtest.h>

#include <vector>

#include "memory_tile_store.h"
#include "raster/image.h"
#include "raster/storage.h"
#include "raster/tile_cursor.h"

namespace raster {
namespace {

std::vector<RIPRect> Walk(RIPImage* image, const RIPRect& rect, RIPTileLockMode lock, int* end) {
    std::vector<RIPRect> pieces;
    RIPRowIter cursor;
    for (RIPTileSlot* slot = RIPRowIterBegin(&cursor, image, rect, lock); slot != nullptr;
         slot = RIPRowIterNext(&cursor)) {
        EXPECT_EQ(slot, cursor.slot);
        pieces.push_back(cursor.piece);
    }
    *end = RIPRowIterEnd(&cursor);
    return pieces;
}

TEST(RowIter, AContiguousImageIsOneSlot) {
    RIPImage* image = RIPCreateImageEx(kTypeGrey8, 50, 40, 0, 0, kOneBlock, nullptr, 0);
    int end = 0;
    EXPECT_EQ(Walk(image, RIPRect{-5, 100, 10, 3}, kTileLockWrite, &end), (std::vector<RIPRect>{{0, 39, 10, 3}}));
    EXPECT_EQ(end, 1);
    // A rectangle beside the image: no slot, and the end is a success.
    EXPECT_TRUE(Walk(image, RIPRect{50, 5, 60, 0}, kTileLockWrite, &end).empty());
    EXPECT_EQ(end, 1);
    RIPDestroyImage(image);
}

TEST(RowIter, TilesAreVisitedBottomUpLeftToRight) {
    testing::ScopedTileStore scoped(4);
    // 600 × 300 grey: 3 × 2 tiles of 256 × 256.
    RIPImage* image = RIPCreateImageEx(kTypeGrey8, 600, 300, 0, 0, kAllowTiling, nullptr, 0);
    ASSERT_EQ(image->tilesAcross, 3);
    int end = 0;
    const std::vector<RIPRect> want = {{200, 255, 255, 250}, {256, 255, 511, 250}, {512, 255, 520, 250},
                                       {200, 280, 255, 256}, {256, 280, 511, 256}, {512, 280, 520, 256}};
    EXPECT_EQ(Walk(image, RIPRect{200, 280, 520, 250}, kTileLockRead, &end), want);
    EXPECT_EQ(end, 1);
    EXPECT_EQ(scoped.store().HeldLocks(), 0);
    // Inside one tile: that tile once, the piece the rectangle.
    EXPECT_EQ(Walk(image, RIPRect{300, 20, 310, 10}, kTileLockRead, &end), (std::vector<RIPRect>{{300, 20, 310, 10}}));
    RIPDestroyImage(image);
}

TEST(RowIter, OverwriteLocksOnlyWholeSlots) {
    testing::ScopedTileStore scoped(4);
    RIPImage* image = RIPCreateImageEx(kTypeGrey8, 300, 100, 0, 0, kAllowTiling, nullptr, 0);
    int end = 0;
    // The first tile is covered whole (x 0..255, y 0..99); the second only in part.
    Walk(image, RIPRect{0, 99, 270, 0}, kTileLockOverwrite, &end);
    EXPECT_EQ(scoped.store().Locks(), (std::vector<RIPTileLockMode>{kTileLockOverwrite, kTileLockWrite}));
    RIPDestroyImage(image);
}

TEST(RowIter, AFailedLockEndsTheWalkAsAFailure) {
    testing::ScopedTileStore scoped(4);
    RIPImage* image = RIPCreateImageEx(kTypeGrey8, 600, 10, 0, 0, kAllowTiling, nullptr, 0);
    scoped.store().FailLocksAfter(1);
    int end = 1;
    EXPECT_EQ(Walk(image, image->bounds, kTileLockWrite, &end).size(), 1u);
    EXPECT_EQ(end, 0);
    EXPECT_EQ(scoped.store().HeldLocks(), 0);
    scoped.store().FailLocksAfter(0);
    EXPECT_TRUE(Walk(image, image->bounds, kTileLockWrite, &end).empty());
    EXPECT_EQ(end, 0);
    RIPDestroyImage(image);
}

TEST(TileRowIter, HoldsOneTileRowAtATime) {
    testing::ScopedTileStore scoped(4);
    testing::MemoryTileStore& store = scoped.store();
    RIPImage* image = RIPCreateImageEx(kTypeGrey8, 600, 300, 0, 0, kAllowTiling, nullptr, 0);
    RIPTileRowIter cursor;
    RIPTileSlot* slots = RIPTileRowIterBegin(&cursor, image, RIPRect{300, 299, 599, 10}, 10, kTileLockRead);
    ASSERT_NE(slots, nullptr);
    EXPECT_EQ(cursor.count, 2);  // tile columns 1 and 2
    EXPECT_EQ(slots, &image->tileTable[0][1]);
    EXPECT_EQ(store.HeldLocks(), 2);
    EXPECT_EQ(RIPTileRowIterSeek(&cursor, 255), slots);  // the same tile row: nothing relocked
    EXPECT_EQ(store.Locks().size(), 2u);
    RIPTileSlot* upper = RIPTileRowIterSeek(&cursor, 256);
    EXPECT_EQ(upper, &image->tileTable[1][1]);
    EXPECT_EQ(store.HeldLocks(), 2);
    EXPECT_EQ(cursor.rowBottom, 256);
    EXPECT_EQ(cursor.rowTop, 299);
    EXPECT_EQ(RIPTileRowIterSeek(&cursor, 5), nullptr);  // below the rectangle
    EXPECT_EQ(RIPTileRowIterEnd(&cursor), 1);
    EXPECT_EQ(store.HeldLocks(), 0);
    // A failed lock leaves nothing locked and ends as a failure.
    store.FailLocksAfter(1);
    EXPECT_EQ(RIPTileRowIterBegin(&cursor, image, image->bounds, 0, kTileLockRead), nullptr);
    EXPECT_EQ(store.HeldLocks(), 0);
    EXPECT_EQ(RIPTileRowIterEnd(&cursor), 0);
    RIPDestroyImage(image);
}

}  // namespace
}  // namespace raster
