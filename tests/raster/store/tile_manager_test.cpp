// The tile manager: eviction and swapping under a tiny memory store, solid
// tiles, copy-on-write sharing, and tiled images through storage and the blit.
#include "raster/store/tile_manager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "blit/stretch_blit.h"
#include "raster/blit_entry.h"
#include "raster/image.h"
#include "raster/palette.h"
#include "raster/pixel_access.h"
#include "raster/storage.h"
#include "swap_files.h"

namespace raster {
namespace {

using testing::MemorySwapFiles;
using testing::SwapFileLog;

using Pixels = std::vector<std::uint8_t>;

Pixels Pattern(int kind) {
    Pixels p(kTileBlockBytes);
    std::mt19937 rng(static_cast<std::uint32_t>(kind));
    for (std::size_t i = 0; i < p.size(); ++i) {
        switch (kind) {
            case 0:
                p[i] = static_cast<std::uint8_t>(i / 256 + i % 256 / 8);
                break;  // smooth
            case 1:
                p[i] = static_cast<std::uint8_t>(rng());
                break;  // noisy
            default:
                p[i] = static_cast<std::uint8_t>(kind);
                break;  // one value
        }
    }
    return p;
}

// A manager over an in-memory swap file with `blocks` memory blocks free for
// the test. The manager keeps kMinimumBlocks at least; to test eviction with
// fewer, the rest are held by tiles locked for the fixture's life.
struct Fixture {
    explicit Fixture(std::uint32_t blocks, std::uint64_t budget = 4 * kTileBlockBytes) {
        RIPTileManagerConfig config;
        config.budget = budget;
        config.memoryBlocks = blocks;
        config.swapFiles = MemorySwapFiles(log);
        manager = std::make_unique<RIPTileManager>(config);
        for (std::uint32_t held = blocks; held < kMinimumBlocks; ++held) {
            RIPTile* t = manager->NewTile(256, 5, true);
            EXPECT_EQ(manager->LockTile(t, kTileLockWrite), t);
            ++fillers;
        }
    }
    // Live tiles besides the fillers.
    int Live() const { return manager->LiveTiles() - fillers; }
    RIPTile* Written(const Pixels& p) {
        RIPTile* t = manager->NewTile(256, 5, true);
        EXPECT_EQ(manager->LockTile(t, kTileLockWrite), t);
        std::copy(p.begin(), p.end(), t->data);
        manager->UnlockTile(t);
        return t;
    }
    Pixels Read(RIPTile* t, RIPTileLockMode mode = kTileLockRead) {
        EXPECT_EQ(manager->LockTile(t, mode), t);
        Pixels p(t->data, t->data + kTileBlockBytes);
        manager->UnlockTile(t);
        return p;
    }
    std::shared_ptr<SwapFileLog> log = std::make_shared<SwapFileLog>();
    std::unique_ptr<RIPTileManager> manager;
    int fillers = 0;
};

class Eviction : public ::testing::TestWithParam<int> {};

// With two blocks, a third tile evicts the least recently unlocked one; its
// pixels come back byte-exact (through a compressed or a raw record).
TEST_P(Eviction, LeastRecentlyUsedGoesAndComesBackExact) {
    Fixture f(2);
    const Pixels first = Pattern(GetParam());
    const Pixels second = Pattern(GetParam() + 10);
    RIPTile* a = f.Written(first);
    RIPTile* b = f.Written(second);
    RIPTile* c = f.manager->NewTile(256, 5, true);
    ASSERT_EQ(f.manager->LockTile(c, kTileLockWrite), c);
    EXPECT_EQ(a->block, nullptr);
    EXPECT_NE(a->swapRecord, nullptr);
    EXPECT_NE(b->block, nullptr);
    EXPECT_EQ(Pixels(c->data, c->data + kTileBlockBytes),
              Pixels(kTileBlockBytes, 0));  // a new tile reads as zeros
    f.manager->UnlockTile(c);
    EXPECT_EQ(f.Read(a), first);
    EXPECT_EQ(f.Read(b), second);
    EXPECT_EQ(f.Read(a), first);  // evicted clean the second time: its record is reused
    for (RIPTile* t : {a, b, c}) EXPECT_EQ(f.manager->FreeTile(t, true), 1);
    EXPECT_EQ(f.Live(), 0);
}

INSTANTIATE_TEST_SUITE_P(Content, Eviction, ::testing::Values(0, 1));

// Fewer blocks than a blit locks at once are never configured.
TEST(TileManager, KeepsTheBlocksABlitLocksAtOnce) {
    for (const std::uint32_t asked : {1u, 2u, 3u, 4u, 9u}) {
        RIPTileManagerConfig config;
        config.memoryBlocks = asked;
        RIPTileManager manager(config);
        std::vector<RIPTile*> tiles;
        for (std::uint32_t i = 0; i < std::max(asked, kMinimumBlocks); ++i) {
            tiles.push_back(manager.NewTile(256, 5, true));
            EXPECT_EQ(manager.LockTile(tiles.back(), kTileLockWrite), tiles.back()) << asked << " " << i;
        }
        RIPTile* more = manager.NewTile(256, 5, true);
        EXPECT_EQ(manager.LockTile(more, kTileLockWrite), nullptr) << asked;  // every block is locked
        for (RIPTile* t : tiles) manager.UnlockTile(t);
    }
}

TEST(TileManager, TileLockedTwiceIsEvictableOnlyAfterBothUnlocks) {
    Fixture f(1);
    RIPTile* a = f.Written(Pattern(0));
    ASSERT_EQ(f.manager->LockTile(a, kTileLockRead), a);
    ASSERT_EQ(f.manager->LockTile(a, kTileLockRead), a);
    f.manager->UnlockTile(a);
    RIPTile* b = f.manager->NewTile(256, 5, true);
    EXPECT_EQ(f.manager->LockTile(b, kTileLockRead), nullptr);  // a is still held
    f.manager->UnlockTile(a);
    EXPECT_EQ(f.manager->EvictionHead(), a);
    EXPECT_EQ(f.manager->LockTile(b, kTileLockRead), b);
    f.manager->UnlockTile(b);
}

TEST(TileManager, UniformTileTurnsSolidWithoutRecord) {
    Fixture f(1);
    RIPTile* a = f.Written(Pixels(kTileBlockBytes, 0x42));
    RIPTile* b = f.Written(Pattern(1));
    EXPECT_TRUE((a->flags & kTileSolid) != 0);
    EXPECT_EQ(a->swapRecord, nullptr);
    EXPECT_EQ(a->block, nullptr);
    ASSERT_NE(f.manager->SolidColour(a), nullptr);
    EXPECT_EQ(f.manager->SolidColour(a)->Model(), colour::kModelGrey);
    EXPECT_EQ(f.manager->SolidColour(a)->bytes[8], 0x42);
    // Locked compactly it stays a colour; for reading it gets its pixels back.
    ASSERT_EQ(f.manager->LockTile(a, kTileLockReadCompact), a);
    EXPECT_EQ(a->data, nullptr);
    f.manager->UnlockTile(a);
    EXPECT_EQ(f.Read(a), Pixels(kTileBlockBytes, 0x42));
    EXPECT_EQ(f.Read(b), Pattern(1));
}

TEST(TileManager, SharedTileIsCopiedOnWrite) {
    Fixture f(4);
    const Pixels p = Pattern(0);
    RIPTile* a = f.Written(p);
    EXPECT_EQ(f.manager->AddRef(a, true), a);
    EXPECT_EQ(f.manager->LockTile(a, kTileLockRead), a);
    f.manager->UnlockTile(a);
    RIPTile* copy = f.manager->LockTile(a, kTileLockWrite);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, a);
    EXPECT_EQ(a->shareCount, 0);
    EXPECT_EQ(Pixels(copy->data, copy->data + kTileBlockBytes), p);
    copy->data[0] ^= 0xFF;
    f.manager->UnlockTile(copy);
    EXPECT_EQ(f.Read(a), p);
    // Two extra owners: two frees leave the tile alive and owned once.
    f.manager->AddRef(a, true);
    f.manager->AddRef(a, true);
    const int live = f.Live();
    f.manager->FreeTile(a, true);
    f.manager->FreeTile(a, true);
    EXPECT_EQ(a->shareCount, 0);
    EXPECT_EQ(f.Live(), live);
}

// A write lock taken under a read lock still marks the tile changed, so the
// write survives the next eviction of a tile that already has a swap copy.
TEST(TileManager, WriteUnderReadLockIsWrittenOut) {
    Fixture f(1);
    RIPTile* a = f.Written(Pattern(0));
    RIPTile* b = f.Written(Pattern(1));                   // a goes out
    ASSERT_EQ(f.manager->LockTile(a, kTileLockRead), a);  // b goes out, a comes back clean
    ASSERT_EQ(f.manager->LockTile(a, kTileLockWrite), a);
    a->data[100] ^= 0xFF;
    f.manager->UnlockTile(a);
    f.manager->UnlockTile(a);
    EXPECT_EQ(f.Read(b), Pattern(1));  // a goes out again
    Pixels want = Pattern(0);
    want[100] ^= 0xFF;
    EXPECT_EQ(f.Read(a), want);
}

// A tile whose write-out failed keeps its pixels and stays evictable.
TEST(TileManager, FailedWriteOutKeepsTheVictimInTheList) {
    Fixture f(1);
    RIPTile* a = f.Written(Pattern(1));
    f.log->failFromWrite = 0;
    RIPTile* b = f.manager->NewTile(256, 5, true);
    EXPECT_EQ(f.manager->LockTile(b, kTileLockRead), nullptr);
    EXPECT_EQ(f.manager->EvictionHead(), a);
    EXPECT_EQ(f.Read(a), Pattern(1));
    f.log->failFromWrite = -1;
    EXPECT_EQ(f.manager->LockTile(b, kTileLockRead), b);
    f.manager->UnlockTile(b);
    EXPECT_EQ(f.Read(a), Pattern(1));
}

// A write lock that fails after copying a shared tile drops the copy and
// gives the shared tile its owner back.
TEST(TileManager, FailedCopyOnWriteLeavesTheShareAsItWas) {
    Fixture f(1);
    RIPTile* held = f.manager->NewTile(256, 5, true);
    ASSERT_EQ(f.manager->LockTile(held, kTileLockWrite), held);  // the only block
    colour::ColorRecord grey;
    grey.SetModel(colour::kModelGrey);
    RIPTile* solid = f.manager->NewSolidTile(256, 5, grey, true);
    f.manager->AddRef(solid, true);
    const int live = f.Live();
    EXPECT_EQ(f.manager->LockTile(solid, kTileLockWrite), nullptr);
    EXPECT_EQ(solid->shareCount, 1);
    EXPECT_EQ(f.Live(), live);
    // Overwriting keeps a solid copy compact: no block needed.
    RIPTile* copy = f.manager->LockTile(solid, kTileLockOverwrite);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, solid);
    EXPECT_NE(f.manager->SolidColour(copy), nullptr);
    f.manager->UnlockTile(copy);
    f.manager->UnlockTile(held);
}

int LoadRows(std::uint8_t* buffer, std::int32_t first, std::int32_t, std::int32_t* uniform,
             std::int32_t discard, std::uintptr_t parameter) {
    if (discard != 0) return 1;
    if (parameter == 7) {
        colour::ColorRecord c;
        c.SetModel(colour::kModelGrey);
        c.bytes[8] = 9;
        std::copy(c.bytes, c.bytes + 12, buffer);
        *uniform = 1;
        return 1;
    }
    std::fill(buffer, buffer + kTileBlockBytes, static_cast<std::uint8_t>(first));
    return 1;
}

TEST(TileManager, PendingTilesLoadOnFirstLock) {
    Fixture f(2);
    f.manager->SetLoadProc(&LoadRows);
    const std::int32_t where[4] = {5, 0, 0, 0};
    RIPTile* plain = f.manager->NewPendingTile(256, 5, where, 1, true);
    RIPTile* uniform = f.manager->NewPendingTile(256, 5, where, 7, true);
    EXPECT_EQ(f.Read(plain), Pixels(kTileBlockBytes, 5));
    ASSERT_EQ(f.manager->LockTile(uniform, kTileLockReadCompact), uniform);
    EXPECT_EQ(uniform->data, nullptr);
    EXPECT_EQ(f.manager->SolidColour(uniform)->bytes[8], 9);
    f.manager->UnlockTile(uniform);
    // A shared pending tile is loaded before its copy is made.
    const std::int32_t other[4] = {6, 0, 0, 0};
    RIPTile* shared = f.manager->NewPendingTile(256, 5, other, 1, true);
    f.manager->AddRef(shared, true);
    RIPTile* copy = f.manager->LockTile(shared, kTileLockWrite);
    ASSERT_NE(copy, shared);
    EXPECT_EQ(Pixels(copy->data, copy->data + kTileBlockBytes), Pixels(kTileBlockBytes, 6));
    f.manager->UnlockTile(copy);
    EXPECT_EQ(f.Read(shared), Pixels(kTileBlockBytes, 6));
}

// Installs a manager as the library's tile store for a test.
struct Installed : Fixture {
    explicit Installed(std::uint32_t blocks, std::uint64_t budget = 4 * kTileBlockBytes)
        : Fixture(blocks, budget) {
        previous = RIPInstallTileStore(manager.get());
    }
    ~Installed() { RIPInstallTileStore(previous); }
    RIPTileStore* previous;
};

void Paint(RIPImage* image, int seed) {
    for (std::int32_t y = 0; y < image->height; ++y) {
        for (std::int32_t x = 0; x < image->width; ++x) {
            RIPTileSlot* slot = RIPSlotAt(image, x, y);
            ASSERT_EQ(RIPTileLock(slot), 1);
            std::uint8_t* p = RIPTilePixelAddress(image, slot, x - slot->left, y - slot->bottom);
            p[0] = static_cast<std::uint8_t>(x + seed);
            p[1] = static_cast<std::uint8_t>(y);
            p[2] = static_cast<std::uint8_t>(x ^ y);
            RIPTileUnlock(slot);
        }
    }
}

void ExpectPainted(const RIPImage* image, int seed) {
    for (std::int32_t y = 0; y < image->height; ++y) {
        for (std::int32_t x = 0; x < image->width; ++x) {
            std::uint8_t p[3] = {};
            ASSERT_EQ(RIPReadPixel24(image, x, y, p), 1);
            ASSERT_EQ(p[0], static_cast<std::uint8_t>(x + seed));
            ASSERT_EQ(p[1], static_cast<std::uint8_t>(y));
            ASSERT_EQ(p[2], static_cast<std::uint8_t>(x ^ y));
        }
    }
}

// 145 × 152 RGB pixels are 2 × 2 tiles of 144 × 151, the right column and
// the top row one pixel wide; with two blocks for four tiles every pixel
// still reads back as written.
TEST(TiledImage, RgbImageTilesWithClippedEdgesAndSurvivesEviction) {
    Installed f(2);
    RIPImage* image = RIPCreateImageEx(kTypeRGB24, 145, 152, 3779527, 3779527, kAllowTiling, nullptr, 0);
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->storageKind, kStorageTiled);
    ASSERT_EQ(image->tilesAcross, 2);
    ASSERT_EQ(image->tilesDown, 2);
    EXPECT_EQ(image->tileTable[0][1].left, 144);
    EXPECT_EQ(image->tileTable[0][1].right, 144);
    EXPECT_EQ(image->tileTable[1][0].bottom, 151);
    EXPECT_EQ(image->tileTable[1][0].top, 151);
    Paint(image, 0);
    ExpectPainted(image, 0);
    RIPDestroyImage(image);
    EXPECT_EQ(f.Live(), 0);
}

// A whole-image copy between images of one size shares the tiles; a write to
// the copy then leaves the original as it was.
TEST(TiledImage, WholeImageCopySharesTiles) {
    Installed f(3);
    blit::RIPInstallBlitPipeline();
    RIPImage* src = RIPCreateImageEx(kTypeRGB24, 145, 152, 3779527, 3779527, kAllowTiling, nullptr, 0);
    RIPImage* dst = RIPCreateImageEx(kTypeRGB24, 145, 152, 3779527, 3779527, kAllowTiling, nullptr, 0);
    ASSERT_NE(src, nullptr);
    ASSERT_NE(dst, nullptr);
    Paint(src, 0);
    ASSERT_EQ(RIPStretchBlitInContext(nullptr, dst, 0, 0, 145, 152, nullptr, src, 0, 0, 145, 152, nullptr, 0),
              1);
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 2; ++c) EXPECT_EQ(dst->tileTable[r][c].tile, src->tileTable[r][c].tile);
    }
    EXPECT_EQ(f.Live(), 4);
    Paint(dst, 1);
    ExpectPainted(src, 0);
    ExpectPainted(dst, 1);
    // A slot shared with itself stays as it was.
    RIPTileSlot* slot = &src->tileTable[0][0];
    EXPECT_EQ(RIPShareTileSlot(slot, slot), 1);
    EXPECT_EQ(slot->tile->shareCount, 0);
    RIPDestroyImage(src);
    RIPDestroyImage(dst);
    EXPECT_EQ(f.Live(), 0);
}

// Two threads, each with its own image, evict each other's tiles through the
// one manager; every pixel still reads back as written.
TEST(TiledImage, ThreadsShareOneManager) {
    Installed f(4);
    RIPImage* images[2];
    for (RIPImage*& image : images) {
        image = RIPCreateImageEx(kTypeRGB24, 300, 160, 3779527, 3779527, kAllowTiling, nullptr, 0);
        ASSERT_NE(image, nullptr);
        ASSERT_EQ(image->storageKind, kStorageTiled);
    }
    std::thread other([&] {
        for (int round = 0; round < 3; ++round) {
            Paint(images[1], round);
            ExpectPainted(images[1], round);
        }
    });
    for (int round = 0; round < 3; ++round) {
        Paint(images[0], round + 7);
        ExpectPainted(images[0], round + 7);
    }
    other.join();
    for (RIPImage* image : images) RIPDestroyImage(image);
    EXPECT_EQ(f.Live(), 0);
}

// Paletted pixels below 8 bits have no solid tiles (the store would expand
// the index byte, which is one pixel only at 8 bits): created and filled
// with a colour, tiled images read as contiguous ones do.
TEST(TiledImage, SubBytePalettedFillsReadAsContiguous) {
    for (std::int32_t bits : {1, 4}) {
        RIPPalette* palette = RIPCreatePalette(2, 1 << bits);
        ASSERT_NE(palette, nullptr);
        for (int i = 0; i < (1 << bits); ++i) RIPSetPaletteEntry(palette, i, i * 17, i * 17, i * 17);
        colour::ColorRecord index;
        index.SetModel(colour::kModelPaletteIndex);
        index.SetU16(8, static_cast<std::uint16_t>((1 << bits) - 1));
        std::vector<std::uint8_t> seen[2];
        for (int tiled = 0; tiled < 2; ++tiled) {
            std::unique_ptr<Installed> store = tiled != 0 ? std::make_unique<Installed>(2, 0) : nullptr;
            RIPImage* image =
                RIPCreatePalettedImageEx(palette, 300, 3, bits, 1, 0, 0, kAllowTiling, &index, 0);
            ASSERT_NE(image, nullptr);
            EXPECT_EQ(image->storageKind, tiled != 0 ? kStorageTiled : kStorageBlock);
            for (int pass = 0; pass < 2; ++pass) {
                if (pass == 1) {
                    ASSERT_EQ(RIPFillImage(image, &index), 1);
                }
                for (std::int32_t x = 0; x < 300; ++x) {
                    std::uint8_t v = 0;
                    ASSERT_EQ(
                        bits == 1 ? RIPReadPixelBit(image, x, 1, &v) : RIPReadPixelNibble(image, x, 1, &v),
                        1);
                    seen[tiled].push_back(v);
                }
            }
            RIPDestroyImage(image);
        }
        EXPECT_EQ(seen[1], seen[0]) << bits << " bits";
        EXPECT_EQ(seen[0][0], (1 << bits) - 1);
        RIPDestroyPalette(palette);
    }
}

}  // namespace
}  // namespace raster
