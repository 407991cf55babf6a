// Palette records and the standard palette's index of a colour.
#include <gtest/gtest.h>

#include <climits>

#include "raster/pal_cache.h"
#include "raster/palette.h"

namespace raster {
namespace {

struct KindCase {
    int kind, count, want;  // want 0: refused
};

TEST(Palettes, KindsTakeTheirOwnCounts) {
    const KindCase cases[] = {{1, 9, 2}, {2, 5, 5}, {2, 0, 0}, {4, 32768, 0}, {3, 10, 256},
                              {5, 0, 236}, {6, 1, 16}, {0, 4, 0}, {7, 4, 0}};
    for (const KindCase& c : cases) {
        RIPPalette* p = RIPCreatePalette(c.kind, c.count);
        if (c.want == 0) {
            EXPECT_EQ(p, nullptr) << c.kind << "/" << c.count;
            continue;
        }
        ASSERT_NE(p, nullptr) << c.kind;
        EXPECT_EQ(p->count, c.want) << c.kind;
        EXPECT_EQ(p->kind, c.kind);
        EXPECT_EQ(p->cache, nullptr);
        RIPDestroyPalette(p);
    }
}

TEST(Palettes, StandardEntriesAreStoredBlueGreenRed) {
    RIPPalette* p = RIPCreatePalette(kPaletteStandard, 0);
    const std::uint8_t* e = p->Entries();
    // Entry 5·36 + 1·6 + 2: red 255, green 51, blue 102.
    EXPECT_EQ(e[3 * 188 + 2], 255);
    EXPECT_EQ(e[3 * 188 + 1], 51);
    EXPECT_EQ(e[3 * 188 + 0], 102);
    EXPECT_EQ(e[3 * 216], 0);
    EXPECT_EQ(e[3 * 226], 10 * 255 / 19);
    EXPECT_EQ(e[3 * 235], 255);
    RIPDestroyPalette(p);

    RIPPalette* sixteen = RIPCreatePalette(kPaletteStandard16, 0);
    const std::uint8_t* s = sixteen->Entries();
    EXPECT_EQ(s[3 * 1 + 2], 128);  // dark red
    EXPECT_EQ(s[3 * 1 + 0], 0);
    EXPECT_EQ(s[3 * 8], 192);  // silver replaces the second black
    EXPECT_EQ(s[3 * 12 + 0], 255);  // blue
    EXPECT_EQ(s[3 * 12 + 2], 0);
    RIPDestroyPalette(sixteen);
}

TEST(Palettes, EntriesAreSetOnlyInsideTheCount) {
    RIPPalette* p = RIPCreatePalette(kPaletteCustom, 3);
    EXPECT_EQ(RIPSetPaletteEntry(p, 2, 10, 20, 30), 1);
    EXPECT_EQ(p->Entries()[6], 30);
    EXPECT_EQ(p->Entries()[8], 10);
    EXPECT_EQ(RIPSetPaletteEntry(p, 3, 1, 1, 1), 0);
    EXPECT_EQ(RIPSetPaletteEntry(p, -1, 1, 1, 1), 0);
    EXPECT_EQ(RIPSetPaletteEntry(nullptr, 0, 1, 1, 1), 0);
    EXPECT_EQ(p->Entries()[9], 0);  // the spare byte
    RIPDestroyPalette(p);
    EXPECT_EQ(RIPDestroyPalette(nullptr), 1);
}

TEST(Palettes, InverseTableIsAttachedAndReplaced) {
    RIPPalette* p = RIPCreatePalette(kPaletteStandard, 0);
    EXPECT_EQ(RIPBuildInverseTable(p, 2), 0);
    ASSERT_EQ(RIPBuildInverseTable(p, kPalCacheNearest), 1);
    EXPECT_EQ(p->cacheKind, kPalCacheNearest);
    EXPECT_EQ(RIPPalCacheNearestIndex(p->cache, 250, 10, 10, p->Entries()), 180);
    ASSERT_EQ(RIPBuildInverseTable(p, kPalCacheNearest), 1);
    EXPECT_EQ(RIPFreeInverseTable(p), 1);
    EXPECT_EQ(p->cache, nullptr);
    EXPECT_EQ(p->cacheKind, 0);
    RIPDestroyPalette(p);
}

struct IndexCase {
    int r, g, b, want;
};

void PrintTo(const IndexCase& c, std::ostream* os) { *os << c.r << "," << c.g << "," << c.b; }

class StdPaletteIndex : public ::testing::TestWithParam<IndexCase> {};

TEST_P(StdPaletteIndex, Indexes) {
    const IndexCase& c = GetParam();
    EXPECT_EQ(RIPStdPaletteIndex(c.r, c.g, c.b), c.want) << c.r << "," << c.g << "," << c.b;
}

INSTANTIATE_TEST_SUITE_P(Colours, StdPaletteIndex,
                         ::testing::Values(IndexCase{128, 128, 128, 226}, IndexCase{250, 250, 250, 215},
                                           IndexCase{255, 255, 255, 215}, IndexCase{249, 249, 249, 215},
                                           IndexCase{248, 248, 248, 235}, IndexCase{1, 1, 1, 216},
                                           IndexCase{0, 0, 0, 0}, IndexCase{-5, -5, -5, 0},
                                           IndexCase{255, 0, 0, 180}, IndexCase{25, 26, 76, 0 * 36 + 1 * 6 + 1},
                                           IndexCase{300, -40, 128, 5 * 36 + 0 * 6 + 3},
                                           IndexCase{INT_MAX, INT_MIN, 0, 180},
                                           IndexCase{INT_MAX, INT_MAX, INT_MAX, 215}));

// Every colour of the cube indexes its own entry.
TEST(StdPaletteIndexCube, FindsEachCubeEntry) {
    RIPPalette* p = RIPCreatePalette(kPaletteStandard, 0);
    for (int i = 0; i < 216; ++i) {
        const std::uint8_t* e = p->Entries() + 3 * i;
        if (e[0] == e[1] && e[1] == e[2]) {
            continue;  // greys go to the ramp
        }
        EXPECT_EQ(RIPStdPaletteIndex(e[2], e[1], e[0]), i);
    }
    RIPDestroyPalette(p);
}

}  // namespace
}  // namespace raster
