// The nearest-colour cache against a brute-force search over the entries.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <random>
#include <thread>
#include <vector>

#include "raster/pal_cache.h"
#include "raster/palette.h"

namespace raster {
namespace {

int BruteNearest(const std::vector<std::uint8_t>& entries, int r, int g, int b) {
    int best = 0;
    long bestDistance = -1;
    for (std::size_t i = 0; i < entries.size() / 3; ++i) {
        const long dr = entries[3 * i + 2] - r, dg = entries[3 * i + 1] - g, db = entries[3 * i] - b;
        const long d = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

std::vector<std::uint8_t> RandomEntries(int count, std::mt19937& rng) {
    std::vector<std::uint8_t> e(3 * count);
    for (auto& b : e) b = static_cast<std::uint8_t>(rng());
    return e;
}

class NearestIndex : public ::testing::TestWithParam<int> {};

TEST_P(NearestIndex, AgreesWithBruteForce) {
    const int count = GetParam();
    std::mt19937 rng(count);
    std::vector<std::uint8_t> entries = RandomEntries(count, rng);
    // A few exact duplicates, so ties must go to the lower index.
    if (count >= 4) {
        std::copy_n(entries.begin(), 3, entries.begin() + 3 * (count - 1));
    }
    RIPPalCache* cache = RIPPalCacheCreate(count);
    ASSERT_NE(cache, nullptr);
    for (int q = 0; q < 3000; ++q) {
        int r = static_cast<std::uint8_t>(rng()), g = static_cast<std::uint8_t>(rng()), b = static_cast<std::uint8_t>(rng());
        if (q % 3 == 0) {  // cell corners and the last level of a cell
            r &= ~7;
            g |= 7;
        }
        ASSERT_EQ(RIPPalCacheNearestIndex(cache, r, g, b, entries.data()), BruteNearest(entries, r, g, b))
            << r << "," << g << "," << b;
    }
    RIPPalCacheDestroy(cache);
}

INSTANTIATE_TEST_SUITE_P(Counts, NearestIndex, ::testing::Values(1, 2, 5, 16, 236, 255, 256));

// The standard palettes, every cell corner and the far corner of each cell.
TEST(NearestIndexStandard, CellCornersOfTheStandardPalettes) {
    for (int kind : {kPaletteStandard, kPaletteStandard16}) {
        RIPPalette* palette = RIPCreatePalette(kind, 0);
        const std::vector<std::uint8_t> entries(palette->Entries(), palette->Entries() + 3 * palette->count);
        RIPPalCache* cache = RIPPalCacheCreate(palette->count);
        for (int r = 0; r < 256; r += 8) {
            for (int g = 0; g < 256; g += 8) {
                for (int b = 0; b < 256; b += 8) {
                    for (int far = 0; far < 8; far += 7) {
                        ASSERT_EQ(RIPPalCacheNearestIndex(cache, r + far, g + far, b, entries.data()),
                                  BruteNearest(entries, r + far, g + far, b))
                            << kind << ": " << r + far << "," << g + far << "," << b;
                    }
                }
            }
        }
        RIPPalCacheDestroy(cache);
        RIPDestroyPalette(palette);
    }
}

// The tree value bounds every colour's nearest distance, and expanding the
// tree for it leaves later queries exact.
TEST(PalCacheTreeValue, BoundsTheWorstNearestDistance) {
    const std::vector<std::uint8_t> origin = {0, 0, 0};
    RIPPalCache* one = RIPPalCacheCreate(1);
    EXPECT_EQ(RIPPalCacheTreeValue(one, origin.data()), 3u * 255 * 255);
    RIPPalCacheDestroy(one);

    std::mt19937 rng(3);
    const std::vector<std::uint8_t> entries = RandomEntries(40, rng);
    RIPPalCache* cache = RIPPalCacheCreate(40);
    const std::uint32_t bound = RIPPalCacheTreeValue(cache, entries.data());
    long worst = 0;
    for (int q = 0; q < 20000; ++q) {
        const int r = rng() & 255, g = rng() & 255, b = rng() & 255;
        const int n = BruteNearest(entries, r, g, b);
        ASSERT_EQ(RIPPalCacheNearestIndex(cache, r, g, b, entries.data()), n);
        const long dr = entries[3 * n + 2] - r, dg = entries[3 * n + 1] - g, db = entries[3 * n] - b;
        worst = std::max(worst, dr * dr + dg * dg + db * db);
    }
    EXPECT_GE(static_cast<long>(bound), worst);
    EXPECT_LT(bound, 3u * 255 * 255);
    EXPECT_EQ(RIPPalCacheTreeValue(nullptr, entries.data()), 0x30000u);
    // Pieces from its chunks are aligned for any record.
    void* piece = RIPPalCacheAlloc(cache, 3);
    ASSERT_NE(piece, nullptr);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(piece) % alignof(std::max_align_t), 0u);
    RIPPalCacheDestroy(cache);
}

TEST(NearestIndexTies, FirstOfEqualDistancesWins) {
    // Entries 0 and 1 lie 10 below and 10 above the query on red.
    const std::vector<std::uint8_t> entries = {0, 0, 90, 0, 0, 110, 0, 0, 200};
    RIPPalCache* cache = RIPPalCacheCreate(3);
    EXPECT_EQ(RIPPalCacheNearestIndex(cache, 100, 0, 0, entries.data()), 0);
    EXPECT_EQ(RIPPalCacheNearestIndex(cache, 101, 0, 0, entries.data()), 1);
    RIPPalCacheDestroy(cache);
}

TEST(PalCacheCreation, RefusesMoreThan256EntriesAndOddCells) {
    EXPECT_EQ(RIPPalCacheCreate(257), nullptr);
    EXPECT_EQ(RIPPalCacheCreate(-1), nullptr);
    EXPECT_EQ(RIPPalCacheCreateBits(0, 4), nullptr);
    EXPECT_EQ(RIPPalCacheCreateBits(8, 4), nullptr);
    RIPPalCacheDestroy(nullptr);
    // No entries: a sound 0, reading nothing.
    RIPPalCache* empty = RIPPalCacheCreate(0);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(RIPPalCacheNearestIndex(empty, 1, 2, 3, nullptr), 0);
    RIPPalCacheDestroy(empty);
}

// Finer cells and every cell of the space: many chunks, all freed with the cache.
TEST(PalCacheCells, EveryCellOfFinerCellsAgrees) {
    std::mt19937 rng(7);
    const std::vector<std::uint8_t> entries = RandomEntries(64, rng);
    RIPPalCache* cache = RIPPalCacheCreateBits(6, 64);
    ASSERT_NE(cache, nullptr);
    for (int r = 0; r < 256; r += 4) {
        for (int g = 0; g < 256; g += 4) {
            for (int b = 0; b < 256; b += 4) {
                ASSERT_EQ(RIPPalCacheNearestIndex(cache, r, g + 3, b, entries.data()),
                          BruteNearest(entries, r, g + 3, b));
            }
        }
    }
    RIPPalCacheDestroy(cache);
}

// Threads filling with one palette share its cache.
TEST(PalCacheThreads, ConcurrentQueriesAgree) {
    std::mt19937 rng(11);
    const std::vector<std::uint8_t> entries = RandomEntries(200, rng);
    RIPPalCache* cache = RIPPalCacheCreate(200);
    std::vector<int> mismatches(4, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            std::mt19937 local(t);
            for (int q = 0; q < 4000; ++q) {
                const int r = local() & 255, g = local() & 255, b = local() & 255;
                if (RIPPalCacheNearestIndex(cache, r, g, b, entries.data()) != BruteNearest(entries, r, g, b)) {
                    ++mismatches[t];
                }
            }
        });
    }
    for (auto& th : threads) th.join();
    EXPECT_EQ(mismatches, std::vector<int>(4, 0));
    RIPPalCacheDestroy(cache);
}

}  // namespace
}  // namespace raster
