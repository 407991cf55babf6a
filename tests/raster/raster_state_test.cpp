// Raster states: defaults, the pool, setters, what a state owns, progress ranges.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "raster/image.h"
#include "raster/progress.h"
#include "raster/raster_state.h"
#include "raster/region.h"

namespace raster {
namespace {

TEST(RasterState, StartsWithItsDefaults) {
    RIPRasterState* s = RIPCreateRS();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->colourA, colour::ColorRecord::Three(colour::kModelRGB, 200, 0, 0));
    EXPECT_EQ(s->colourB, colour::ColorRecord::Three(colour::kModelRGB, 0, 255, 255));
    EXPECT_EQ(s->ditherMethod, 3);
    EXPECT_EQ(s->stretchMode, kStretchNearest);
    EXPECT_EQ(s->mergeMode, 0);
    EXPECT_EQ(s->opacity, 255);
    EXPECT_EQ(s->axisModeX, kAxisIdentity);
    EXPECT_EQ(s->logicalExtentY, 1);
    EXPECT_EQ(s->scanOption, 1);
    EXPECT_EQ(s->cmykToRGBMode, 1);
    EXPECT_EQ(s->conversionKinds, nullptr);
    ASSERT_NE(s->adjust, nullptr);
    EXPECT_EQ(s->adjust->mode, 1);
    EXPECT_EQ(s->adjust->count, 1);
    EXPECT_EQ(s->adjust->level, 50);
    EXPECT_EQ(s->adjust->colour1, colour::ColorRecord::RGB(0, 0, 0));
    EXPECT_EQ(s->adjust->values[255], 255u);
    RIPDestroyRS(s);
}

TEST(RasterState, ThePoolKeepsTenAndHandsThemOutReset) {
    std::vector<RIPRasterState*> states;
    for (int i = 0; i < 11; ++i) states.push_back(RIPCreateRS());
    for (RIPRasterState* s : states) {
        RIPSetMergeMode(s, 7);
        s->adjust->level = 9;
        RIPDestroyRS(s);
    }
    EXPECT_EQ(RIPPooledStateCount(), 10);  // the eleventh was freed
    RIPRasterState* again = RIPCreateRS();
    EXPECT_EQ(RIPPooledStateCount(), 9);
    EXPECT_EQ(again->mergeMode, 0);
    EXPECT_EQ(again->adjust->level, 50);
    RIPFreeRS(again);
    EXPECT_EQ(RIPPooledStateCount(), 9);
}

TEST(RasterState, ThreadsShareThePool) {
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([] {
            for (int i = 0; i < 500; ++i) {
                RIPRasterState* a = RIPCreateRS();
                RIPRasterState* b = RIPCreateRS();
                RIPDestroyRS(a);
                RIPDestroyRS(b);
            }
        });
    }
    for (std::thread& t : threads) t.join();
    EXPECT_LE(RIPPooledStateCount(), kRIPStatePoolSize);
}

TEST(RasterState, SettersAnswerWhatTheyReplaced) {
    RIPRasterState* s = RIPCreateRS();
    EXPECT_EQ(RIPSetMergeMode(s, 9), 0);
    EXPECT_EQ(RIPSetMergeMode(s, 70000), 9);  // beyond the field: kept as a mode every painter refuses
    EXPECT_EQ(s->mergeMode, 36);
    EXPECT_EQ(RIPSetRSMode(s, 128), 255);
    EXPECT_EQ(RIPGetRSMode(s), -128);
    RIPSetRSMode(s, 255);
    EXPECT_EQ(RIPGetRSMode(s), -1);
    EXPECT_EQ(RIPSetStretchMode(s, kStretchSmooth), kStretchNearest);
    EXPECT_EQ(RIPSetMergeMode(nullptr, 1), 36);
    EXPECT_EQ(RIPSetRSMode(nullptr, 1), 255);
    EXPECT_EQ(RIPGetRSMode(nullptr), -1);
    EXPECT_EQ(RIPSetStretchMode(nullptr, 1), 0);
    RIPDestroyRS(s);
}

TEST(RasterState, HoldersAreDestroyedWithTheState) {
    // The sanitizer build reports the images, the mask and the holders if any is left.
    RIPRasterState* s = RIPCreateRS();
    s->patternHolder = new RIPPatternHolder;
    s->patternHolder->pattern = RIPCreateImageEx(kTypeGrey8, 2, 2, 0, 0, kOneBlock, nullptr, 0);
    s->maskHolder = new RIPMaskHolder;
    s->maskHolder->image = RIPCreateImageEx(kTypeGrey8, 2, 2, 0, 0, kOneBlock, nullptr, 0);
    RIPSetImageMask(s->maskHolder->image, RIPCreateRegion(2, 2));
    RIPDestroyRS(s);
    RIPRasterState* t = RIPCreateRS();
    EXPECT_EQ(t->patternHolder, nullptr);
    EXPECT_EQ(t->maskHolder, nullptr);
    RIPDestroyRS(t);
}

TEST(AdjustParams, CountsAndPercentagesAreBounded) {
    RIPAdjustSettings settings;
    settings.count = 257;
    EXPECT_EQ(RIPAdjustParamsCreate(settings), nullptr);
    settings.count = 2;
    const colour::ColorRecord entries[2] = {colour::ColorRecord::Grey(1), colour::ColorRecord::Grey(2)};
    const std::uint32_t values[2] = {7, 8};
    settings.entries = entries;
    settings.values = values;
    settings.percent1 = 150;
    settings.percent2 = -101;
    RIPAdjustParams* block = RIPAdjustParamsCreate(settings);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->percent1, 100);
    EXPECT_EQ(block->percent2, -100);
    EXPECT_EQ(block->entries[1], entries[1]);
    EXPECT_EQ(block->values[1], 8u);
    EXPECT_EQ(block->values[2], 2u);  // past the count: the entry's own index
    settings.count = 300;
    EXPECT_EQ(RIPAdjustParamsSet(block, settings), 0);
    EXPECT_EQ(RIPAdjustParamsInit(nullptr, RIPAdjustSettings{}), 0);
    ASSERT_EQ(RIPAdjustParamsInit(block, RIPAdjustSettings{}), 1);
    EXPECT_EQ(block->values[1], 1u);
    EXPECT_EQ(block->percent1, 0);
    RIPAdjustParamsDestroy(block);
}

struct Reports {
    std::vector<std::pair<std::int32_t, std::int32_t>> calls;
    int answer = 1;
};

int Record(std::int32_t position, std::int32_t total, void* context) {
    auto* r = static_cast<Reports*>(context);
    r->calls.emplace_back(position, total);
    return r->answer;
}

TEST(Progress, NestedRangesReportIntoTheirShare) {
    RIPRasterState* s = RIPCreateRS();
    Reports reports;
    s->progressCallback = &Record;
    s->progressContext = &reports;
    RIPProgressRange outer;
    RIPProgressPushRange(&outer, s, 1, 4);  // four steps, the first one unit long
    EXPECT_EQ(outer.reportCount, 20);
    RIPProgressStep(&outer, 2);  // past the first step; the next is two units long
    RIPProgressRange inner;
    RIPProgressPushRange(&inner, s, 10, 10);  // one step over the whole inner range
    EXPECT_EQ(inner.reportCount, 20 * 2 / 4);  // the outer's reports shared by its step
    ASSERT_EQ(s->progressCallback(5, 10, s->progressContext), 1);
    // Inner half-way is half the outer's two-unit step after its first unit: 1 + 2 × 0.5 = 2 of 4.
    ASSERT_EQ(reports.calls.size(), 1u);
    EXPECT_EQ(reports.calls[0], (std::pair<std::int32_t, std::int32_t>{2 * 128, 4 * 128}));
    RIPProgressPopRange(&inner, s);
    EXPECT_EQ(s->progressContext, &outer);
    RIPProgressAdvance(&outer);
    EXPECT_EQ(outer.step, 4 * 128 - 3 * 128);
    reports.answer = 0;
    EXPECT_EQ(s->progressCallback(0, 1, s->progressContext), 0);  // a stop passes through
    RIPProgressPopRange(&outer, s);
    EXPECT_EQ(s->progressCallback, &Record);
    EXPECT_EQ(s->progressContext, &reports);
    RIPDestroyRS(s);
}

TEST(Progress, ARangeOnAStateWithoutCallbackChangesNothing) {
    RIPRasterState* s = RIPCreateRS();
    RIPProgressRange range;
    RIPProgressPushRange(&range, s, 1, 10);
    EXPECT_EQ(s->progressCallback, nullptr);
    EXPECT_EQ(s->progressContext, nullptr);
    RIPProgressPopRange(&range, s);
    EXPECT_EQ(s->progressCallback, nullptr);
    EXPECT_EQ(RIPProgressForwardCallback(1, 2, &range), 1);
    RIPDestroyRS(s);
}

TEST(Progress, LargeTotalsAreScaledIntoTheCallbacksRange) {
    RIPRasterState* s = RIPCreateRS();
    Reports reports;
    s->progressCallback = &Record;
    s->progressContext = &reports;
    RIPProgressRange range;
    RIPProgressPushRange(&range, s, std::int64_t{1} << 30, std::int64_t{1} << 30);  // 2^37 units
    s->progressCallback(1, 2, s->progressContext);
    ASSERT_EQ(reports.calls.size(), 1u);
    EXPECT_GT(reports.calls[0].second, 0);
    EXPECT_EQ(reports.calls[0].first * 2, reports.calls[0].second);
    RIPProgressPopRange(&range, s);
    RIPDestroyRS(s);
}

}  // namespace
}  // namespace raster
