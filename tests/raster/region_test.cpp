// Mask regions: run lists, regions built from 1-bit and 8-bit masks (whole,
// in part, over tiles and solid tiles), written back as bits, and scaled.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "memory_tile_store.h"
#include "raster/blit_entry.h"
#include "raster/image.h"
#include "raster/pixel_access.h"
#include "raster/region.h"
#include "raster/storage.h"

namespace raster {
namespace {

struct RunView {
    std::uint16_t coverage;
    std::uint32_t length;
    friend bool operator==(const RunView&, const RunView&) = default;
};

std::vector<RunView> Runs(const RIPRegion& region, std::int32_t row) {
    std::vector<RunView> out;
    const RIPRunList& list = region.runs->rows[row];
    for (std::int32_t i = 0; i < list.count; ++i) out.push_back({list.runs[i].coverage, list.runs[i].length});
    return out;
}

void SetBit(RIPImage* image, std::int32_t x, std::int32_t y, bool on) {
    RIPTileSlot* slot = RIPSlotAt(image, x, y);
    RIPTileLock(slot);
    std::uint8_t* p = RIPTilePixelAddress(image, slot, x - slot->left, y - slot->bottom);
    const unsigned mask = 0x80u >> ((x - slot->left) % 8);
    *p = static_cast<std::uint8_t>(on ? *p | mask : *p & ~mask);
    RIPTileUnlock(slot);
}

bool GetBit(const RIPImage* image, std::int32_t x, std::int32_t y) {
    std::uint8_t bit = 0;
    EXPECT_EQ(RIPReadPixelBit(image, x, y, &bit), 1);
    return bit != 0;
}

TEST(Regions, InitialRunsAreOneOpaqueRunPerRow) {
    RIPRegion* region = RIPCreateRegion(30, 3);
    EXPECT_EQ(RIPRegionRowRuns(region, 0, 0), 0);  // no runs yet
    ASSERT_EQ(RIPRegionInitRuns(region), 1);
    EXPECT_EQ(region->runs->threshold, 128);
    EXPECT_EQ(Runs(*region, 2), (std::vector<RunView>{{kCoverageFull, 30}}));
    EXPECT_EQ(RIPRegionRowRuns(region, 29, 2), 1);
    EXPECT_EQ(RIPRegionRowRuns(region, 30, 2), 0);  // beyond the last run
    EXPECT_EQ(RIPRegionRowRuns(region, 0, 3), 0);
    EXPECT_EQ(RIPRegionRowRuns(nullptr, 0, 0), 0);
    std::int32_t left = 0;
    ASSERT_NE(RIPRunAt(&region->runs->rows[0], 12, &left), nullptr);
    EXPECT_EQ(left, 18);
    EXPECT_EQ(RIPRunAt(&region->runs->rows[0], -1, &left), nullptr);
    EXPECT_EQ(RIPCreateRegion(0, 3), nullptr);
    RIPDestroyRegion(region);
}

TEST(Regions, RunListsJoinRunsOfOneClassButNotPartialOnes) {
    RIPRunList list;
    std::uint8_t bytes[4] = {255, 0, 7, 7};
    RIPTileSlot slot;
    slot.data = bytes;
    ASSERT_EQ(RIPRunListAppend(&list, &slot, 0, 3, 0), 1);
    ASSERT_EQ(RIPRunListAppendClass(&list, kCoverageFull, 2, nullptr, 0), 1);
    ASSERT_EQ(RIPRunListAppend(&list, &slot, 2, 1, 0), 1);
    ASSERT_EQ(RIPRunListAppend(&list, &slot, 3, 1, 0), 1);
    ASSERT_EQ(RIPRunListAppend(&list, &slot, 2, 4, 5), 1);  // at threshold 5 the byte 7 is opaque
    EXPECT_EQ(list.count, 4);
    EXPECT_EQ(list.runs[0].length, 5u);
    EXPECT_EQ(list.runs[1].coverage, kCoveragePartial);
    EXPECT_EQ(list.runs[1].slot, &slot);
    EXPECT_EQ(list.runs[2].offset, 3u);
    EXPECT_EQ(list.totalLength, 11);
    // Alternating opaque and transparent runs; the first opaque one joins the last run.
    for (int i = 0; i < 100; ++i) ASSERT_EQ(RIPRunListAppend(&list, &slot, i % 2, 1, 0), 1);  // grows
    EXPECT_EQ(list.count, 103);
    EXPECT_EQ(list.totalLength, 111);
    RIPRunListFree(&list);
}

TEST(Regions, BilevelMasksRoundTripThroughRegions) {
    std::mt19937 random(7);
    RIPImage* mask = RIPCreateImageEx(kTypeBilevel, 101, 9, 0, 0, kOneBlock, nullptr, 0);
    for (std::int32_t y = 0; y < 9; ++y) {
        for (std::int32_t x = 0; x < 101; ++x) SetBit(mask, x, y, (random() % 5) < (y % 3 == 0 ? 1u : 3u));
    }
    RIPRegion* region = RIPCreateRegion(101, 9);
    ASSERT_EQ(RIPRegionFromMask(region, mask, nullptr), 1);
    for (std::int32_t y = 0; y < 9; ++y) {
        for (std::int32_t x = 0; x < 101; ++x) ASSERT_EQ(RIPRegionRowRuns(region, x, y) == 1, GetBit(mask, x, y));
    }
    RIPImage* back = RIPCreateImageEx(kTypeBilevel, 110, 12, 0, 0, kOneBlock, nullptr, 0);
    SetBit(back, 2, 2, true);  // outside the written rectangle: stays
    ASSERT_EQ(RIPRegionToBits(region, nullptr, back, 3, 2), 1);
    EXPECT_TRUE(GetBit(back, 2, 2));
    for (std::int32_t y = 0; y < 9; ++y) {
        for (std::int32_t x = 0; x < 101; ++x) ASSERT_EQ(GetBit(back, x + 3, y + 2), GetBit(mask, x, y)) << x << "," << y;
    }
    RIPDestroyImage(back);
    RIPDestroyRegion(region);
    RIPDestroyImage(mask);
}

TEST(Regions, ByteMasksKeepPartialRunsUnlessThresholded) {
    RIPImage* mask = RIPCreateImageEx(kTypeGrey8, 12, 1, 0, 0, kOneBlock, nullptr, 0);
    const std::uint8_t row[12] = {0, 0, 255, 255, 255, 255, 255, 40, 200, 0, 255, 0};
    ASSERT_EQ(RIPSetImageData(mask, 0, 0, 12, 1, 12, row, 0), 1);
    RIPRegion* region = RIPCreateRegion(12, 1);
    ASSERT_EQ(RIPRegionInitRuns(region), 1);
    region->runs->threshold = 0;
    ASSERT_EQ(RIPRegionFromMask(region, mask, nullptr), 1);
    EXPECT_EQ(Runs(*region, 0), (std::vector<RunView>{{kCoverageNone, 2},
                                                      {kCoverageFull, 5},
                                                      {kCoveragePartial, 2},
                                                      {kCoverageNone, 1},
                                                      {kCoverageFull, 1},
                                                      {kCoverageNone, 1}}));
    EXPECT_EQ(region->runs->kind, kRunsFromImage);
    const RIPRun& partial = region->runs->rows[0].runs[2];
    EXPECT_EQ(partial.slot->data + partial.offset, RIPBlockPixelAddress(mask, 7, 0));  // the run's mask bytes
    // At the default threshold of 128 the bytes are opaque or transparent.
    region->runs->threshold = 128;
    ASSERT_EQ(RIPRegionFromMask(region, mask, nullptr), 1);
    EXPECT_EQ(Runs(*region, 0), (std::vector<RunView>{{kCoverageNone, 2},
                                                      {kCoverageFull, 5},
                                                      {kCoverageNone, 1},
                                                      {kCoverageFull, 1},
                                                      {kCoverageNone, 1},
                                                      {kCoverageFull, 1},
                                                      {kCoverageNone, 1}}));
    RIPDestroyRegion(region);
    RIPDestroyImage(mask);
}

TEST(Regions, APartOfTheMaskGoesToTheRegionsCornerAndKeepsTheRest) {
    RIPImage* mask = RIPCreateImageEx(kTypeBilevel, 20, 4, 0, 0, kOneBlock, nullptr, 0);
    SetBit(mask, 6, 2, true);
    RIPRegion* region = RIPCreateRegion(10, 3);
    ASSERT_EQ(RIPRegionInitRuns(region), 1);
    // Columns 5..8, rows 1..2 of the mask become columns 0..3, rows 0..1 of the region.
    const RIPRect part{5, 2, 8, 1};
    ASSERT_EQ(RIPRegionFromMask(region, mask, &part), 1);
    EXPECT_EQ(Runs(*region, 1), (std::vector<RunView>{
                                      {kCoverageNone, 1}, {kCoverageFull, 1}, {kCoverageNone, 2}, {kCoverageFull, 6}}));
    EXPECT_EQ(Runs(*region, 0), (std::vector<RunView>{{kCoverageNone, 4}, {kCoverageFull, 6}}));
    EXPECT_EQ(Runs(*region, 2), (std::vector<RunView>{{kCoverageFull, 10}}));
    const RIPRect tooWide{0, 2, 10, 1};
    EXPECT_EQ(RIPRegionFromMask(region, mask, &tooWide), 0);
    const RIPRect outside{30, 2, 40, 1};
    EXPECT_EQ(RIPRegionFromMask(region, mask, &outside), 0);
    RIPDestroyRegion(region);
    RIPDestroyImage(mask);
}

TEST(Regions, TiledMasksGiveTheSameRunsAndSolidTilesStayCompact) {
    // 800 × 3 bilevel pixels are two tiles across (768 wide).
    std::vector<std::uint8_t> rows(3 * 100);
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<std::uint8_t>(i * 97 + 3);
    RIPImage* flat = RIPCreateImageEx(kTypeBilevel, 800, 3, 0, 0, kOneBlock, nullptr, 0);
    ASSERT_EQ(RIPSetImageData(flat, 0, 0, 800, 3, 100, rows.data(), 0), 1);
    RIPRegion* want = RIPCreateRegion(800, 3);
    ASSERT_EQ(RIPRegionFromMask(want, flat, nullptr), 1);
    testing::ScopedTileStore scoped(4);
    RIPImage* tiled = RIPCreateImageEx(kTypeBilevel, 800, 3, 0, 0, kAllowTiling, nullptr, 0);
    ASSERT_EQ(tiled->tilesAcross, 2);
    ASSERT_EQ(RIPSetImageData(tiled, 0, 0, 800, 3, 100, rows.data(), 0), 1);
    RIPRegion* got = RIPCreateRegion(800, 3);
    ASSERT_EQ(RIPRegionFromMask(got, tiled, nullptr), 1);
    for (std::int32_t y = 0; y < 3; ++y) EXPECT_EQ(Runs(*got, y), Runs(*want, y)) << y;

    // A solid white mask: one opaque run a row, joined across its tiles, no tile expanded.
    const colour::ColorRecord white = colour::ColorRecord::BW(1);
    RIPImage* solid = RIPCreateImageEx(kTypeBilevel, 800, 3, 0, 0, kAllowTiling, &white, 0);
    RIPRegion* full = RIPCreateRegion(800, 3);
    ASSERT_EQ(RIPRegionFromMask(full, solid, nullptr), 1);
    EXPECT_EQ(Runs(*full, 1), (std::vector<RunView>{{kCoverageFull, 800}}));
    EXPECT_TRUE(scoped.store().IsSolid(solid->tileTable[0][1].tile));
    EXPECT_EQ(scoped.store().HeldLocks(), 0);
    for (RIPRegion* r : {want, got, full}) RIPDestroyRegion(r);
    for (RIPImage* i : {flat, tiled, solid}) RIPDestroyImage(i);
}

TEST(Regions, SolidGreyTilesWithPartialCoverageAreScanned) {
    testing::ScopedTileStore scoped(4);
    const colour::ColorRecord grey = colour::ColorRecord::Grey(90);
    RIPImage* mask = RIPCreateImageEx(kTypeGrey8, 300, 2, 0, 0, kAllowTiling, &grey, 0);
    RIPRegion* region = RIPCreateRegion(300, 2);
    ASSERT_EQ(RIPRegionInitRuns(region), 1);
    region->runs->threshold = 0;
    ASSERT_EQ(RIPRegionFromMask(region, mask, nullptr), 1);
    // Two partial runs (one per tile: their bytes lie in different slots).
    EXPECT_EQ(Runs(*region, 0), (std::vector<RunView>{{kCoveragePartial, 256}, {kCoveragePartial, 44}}));
    const RIPRun& second = region->runs->rows[0].runs[1];
    EXPECT_EQ(second.slot, &mask->tileTable[0][1]);
    EXPECT_EQ(second.slot->data[second.offset], 90);
    RIPDestroyRegion(region);
    RIPDestroyImage(mask);
}

// Nearest-neighbour scaling of bilevel images, standing in for the blit.
int NearestBits(RIPRasterState*, RIPImage* dst, std::int32_t, std::int32_t, std::int32_t dw, std::int32_t dh,
                const RIPRect*, RIPImage* src, std::int32_t, std::int32_t, std::int32_t sw, std::int32_t sh,
                const RIPRect*, std::uint32_t) {
    for (std::int32_t y = 0; y < dh; ++y) {
        for (std::int32_t x = 0; x < dw; ++x) SetBit(dst, x, y, GetBit(src, x * sw / dw, y * sh / dh));
    }
    return 1;
}

TEST(Regions, ScalingGoesThroughTheBlit) {
    RIPRegion* source = RIPCreateRegion(2, 2);
    RIPImage* pattern = RIPCreateImageEx(kTypeBilevel, 2, 2, 0, 0, kOneBlock, nullptr, 0);
    SetBit(pattern, 0, 0, true);
    SetBit(pattern, 1, 1, true);
    ASSERT_EQ(RIPRegionFromMask(source, pattern, nullptr), 1);
    RIPRegion* scaled = RIPCreateRegion(4, 4);
    EXPECT_EQ(RIPScaleRegion(scaled, RIPRect{0, 3, 3, 0}, source, RIPRect{0, 1, 1, 0}), 0);  // no blit yet
    const RIPStretchBlitEntry previous = RIPSetStretchBlitEntry(&NearestBits);
    ASSERT_EQ(RIPScaleRegion(scaled, RIPRect{0, 3, 3, 0}, source, RIPRect{0, 1, 1, 0}), 1);
    RIPSetStretchBlitEntry(previous);
    EXPECT_EQ(Runs(*scaled, 0), (std::vector<RunView>{{kCoverageFull, 2}, {kCoverageNone, 2}}));
    EXPECT_EQ(Runs(*scaled, 3), (std::vector<RunView>{{kCoverageNone, 2}, {kCoverageFull, 2}}));
    RIPDestroyImage(pattern);
    RIPDestroyRegion(source);
    RIPDestroyRegion(scaled);
}

}  // namespace
}  // namespace raster
