// Stretching: the resamplers on the Part's small rows, rows fetched once,
// wide sums, and nearest and smooth stretches against a plain reference on
// random images and rectangles.
#include <gtest/gtest.h>

#include <random>

#include "blit/resample.h"
#include "blit_support.h"
#include "memory_tile_store.h"
#include "raster/raster_state.h"

namespace raster::blit {
namespace {

using testing::At;
using testing::Grey;
using testing::Row;

const RIPSampleLayout kGrey{1, 1, false};

TEST(Resample, EnlargeInterpolatesBetweenCentres) {
    const std::uint8_t src[2] = {10, 20};
    std::uint8_t out[4] = {};
    ASSERT_EQ(RIPEnlargeRow(kGrey, out, 4, src, 2, 4, 0, 0, 2), 1);
    EXPECT_EQ(std::vector<std::uint8_t>(out, out + 4), (std::vector<std::uint8_t>{10, 12, 17, 20}));
}

TEST(Resample, ShrinkAveragesAreas) {
    const std::uint8_t src[3] = {0, 30, 60};
    std::uint8_t out[1] = {};
    ASSERT_EQ(RIPShrinkRow(kGrey, out, 1, src, 3, 1, 3, 1), 1);
    EXPECT_EQ(out[0], 30);
    // Running out of source pixels fails.
    EXPECT_EQ(RIPShrinkRow(kGrey, out, 1, src, 3, 1, 2, 1), 0);
}

TEST(Resample, WideSumsDoNotOverflow) {
    const std::vector<std::uint16_t> src(70000, 65535);
    std::uint16_t out = 0;
    const RIPSampleLayout grey16{2, 1, true};
    ASSERT_EQ(RIPShrinkRow(grey16, reinterpret_cast<std::uint8_t*>(&out), 1,
                           reinterpret_cast<const std::uint8_t*>(src.data()), 70000, 1, 70000, 1),
              1);
    EXPECT_EQ(out, 65535);
}

RIPRasterState* Smooth() {
    RIPRasterState* state = RIPCreateRS();
    RIPSetStretchMode(state, kStretchSmooth);
    return state;
}

TEST(Stretch, SmallCases) {
    // Nearest 2 → 4 repeats each pixel twice.
    RIPImage* two = Grey(2, 1, {5, 9});
    RIPImage* four = Grey(4, 1, {});
    ASSERT_EQ(RIPStretchBlitInContext(nullptr, four, 0, 0, 4, 1, nullptr, two, 0, 0, 2, 1, nullptr, 0), 1);
    EXPECT_EQ(Row(four, 0), (std::vector<std::uint8_t>{5, 5, 9, 9}));
    // Smooth: two rows into one give their truncated mean.
    RIPImage* column = Grey(1, 2, {10, 21});
    RIPImage* one = Grey(1, 1, {});
    RIPRasterState* state = Smooth();
    ASSERT_EQ(RIPStretchBlitInContext(state, one, 0, 0, 1, 1, nullptr, column, 0, 0, 1, 2, nullptr, 0), 1);
    EXPECT_EQ(At(one, 0, 0), 15);
    // Smooth enlarge through the general path (a merge mode other than copy).
    RIPImage* pair = Grey(2, 1, {10, 20});
    RIPImage* wide = Grey(4, 1, {});
    ASSERT_EQ(RIPStretchBlitInContext(state, wide, 0, 0, 4, 1, nullptr, pair, 0, 0, 2, 1, nullptr, 2), 1);
    EXPECT_EQ(Row(wide, 0), (std::vector<std::uint8_t>{10, 12, 17, 20}));
    RIPDestroyRS(state);
    for (RIPImage* image : {two, four, column, one, pair, wide}) RIPDestroyImage(image);
}

TEST(Stretch, ARepeatedSourceRowIsFetchedOnce) {
    raster::testing::ScopedTileStore scoped(4);
    std::vector<std::uint8_t> pixels(300, 3);
    RIPImage* src = Grey(300, 1, pixels, kAllowTiling);
    RIPImage* dst = Grey(150, 40, {});
    ASSERT_EQ(src->storageKind, kStorageTiled);
    const std::size_t before = scoped.store().Locks().size();
    ASSERT_EQ(RIPStretchBlitInContext(nullptr, dst, 0, 0, 150, 40, nullptr, src, 0, 0, 300, 1, nullptr, 0), 1);
    // One row of two source tiles, each locked once for the 40 destination rows.
    EXPECT_EQ(scoped.store().Locks().size() - before, 2u);
    EXPECT_EQ(At(dst, 149, 39), 3);
    RIPDestroyImage(dst);
    RIPDestroyImage(src);
}

// The plain reference: each destination pixel computed on its own.
std::uint8_t NearestAt(const std::vector<std::uint8_t>& src, std::int64_t sw, const RIPRect& s, const RIPRect& d,
                       std::int64_t x, std::int64_t y) {
    const std::int64_t ws = s.Width(), wd = d.Width(), hs = s.Height(), hd = d.Height();
    const std::int64_t sx = ((x - d.left + 1) * ws - 1) / wd + s.left;
    const std::int64_t sy = (y - d.bottom) * hs / hd + s.bottom;
    return src[static_cast<std::size_t>(sy * sw + sx)];
}

// Area average in both directions (a shrink): horizontal sums of overlaps,
// then rows weighted by their overlaps scaled to a power of two.
std::uint8_t AverageAt(const std::vector<std::uint8_t>& src, std::int64_t sw, const RIPRect& s, const RIPRect& d,
                       std::int64_t x, std::int64_t y) {
    const std::int64_t ws = s.Width(), wd = d.Width(), hs = s.Height(), hd = d.Height();
    const auto rowValue = [&](std::int64_t row) {
        const std::int64_t lo = (x - d.left) * ws, hi = lo + ws;  // in units of 1/wd source pixel
        std::uint64_t sum = 0;
        for (std::int64_t i = lo / wd; i * wd < hi; ++i) {
            const std::int64_t overlap = std::min(hi, (i + 1) * wd) - std::max(lo, i * wd);
            sum += static_cast<std::uint64_t>(src[static_cast<std::size_t>((row + s.bottom) * sw + i + s.left)]) * overlap;
        }
        return sum / static_cast<std::uint64_t>(ws);
    };
    const std::int64_t lo = (y - d.bottom) * hs, hi = lo + hs;
    std::int64_t p = 1;
    int shift = 0;
    while (p < hs) {
        p <<= 1;
        ++shift;
    }
    std::uint64_t total = 0, acc = 0;
    const std::int64_t last = (hi - 1) / hd;
    for (std::int64_t j = lo / hd; j <= last; ++j) {
        const std::int64_t overlap = std::min(hi, (j + 1) * hd) - std::max(lo, j * hd);
        auto w = static_cast<std::uint64_t>(static_cast<double>(overlap) * static_cast<double>(p) / static_cast<double>(hs));
        total += w;
        if (j == last && total < static_cast<std::uint64_t>(p)) w += static_cast<std::uint64_t>(p) - total;
        acc += rowValue(j) * w;
    }
    return static_cast<std::uint8_t>(acc >> shift);
}

class StretchReference : public ::testing::TestWithParam<bool> {};

TEST_P(StretchReference, MatchesOnRandomImagesAndRectangles) {
    const bool smooth = GetParam();
    std::mt19937 random(smooth ? 7 : 11);
    const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    for (int round = 0; round < 40; ++round) {
        const int sw = pick(4, 40), sh = pick(4, 40);
        std::vector<std::uint8_t> pixels(static_cast<std::size_t>(sw * sh));
        for (auto& p : pixels) p = static_cast<std::uint8_t>(pick(0, 255));
        RIPImage* src = Grey(sw, sh, pixels);
        const RIPRect s{pick(0, sw / 2), 0, 0, pick(0, sh / 2)};
        RIPRect sr{s.left, pick(s.bottom + 1, sh - 1), pick(s.left + 1, sw - 1), s.bottom};
        // Smooth rounds compare the shrink, nearest ones any scale.
        const int dw = smooth ? pick(1, static_cast<int>(sr.Width()) - 1) : pick(1, 60);
        const int dh = smooth ? pick(1, static_cast<int>(sr.Height()) - 1) : pick(1, 60);
        const RIPRect d{pick(0, 5), 0, 0, pick(0, 5)};
        const RIPRect dr{d.left, d.bottom + dh - 1, d.left + dw - 1, d.bottom};
        RIPImage* dst = Grey(dr.right + 3, dr.top + 3, {});
        RIPRasterState* state = smooth ? Smooth() : nullptr;
        // The clip cuts the destination rectangle at random.
        const int cx = pick(dr.left, dr.right), cy = pick(dr.bottom, dr.top);
        ASSERT_EQ(RIPStretchBlitInContext(state, dst, cx, cy, dr.right - cx + 1, dr.top - cy + 1, &dr, src, 0, 0, 0, 0, &sr,
                                          0),
                  1);
        for (int y = 0; y < dst->height; ++y) {
            for (int x = 0; x < dst->width; ++x) {
                const bool inside = x >= cx && x <= dr.right && y >= cy && y <= dr.top;
                const std::uint8_t expected =
                    !inside ? 0 : smooth ? AverageAt(pixels, sw, sr, dr, x, y) : NearestAt(pixels, sw, sr, dr, x, y);
                ASSERT_EQ(At(dst, x, y), expected) << "round " << round << " at " << x << "," << y;
            }
        }
        if (state != nullptr) RIPDestroyRS(state);
        RIPDestroyImage(dst);
        RIPDestroyImage(src);
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, StretchReference, ::testing::Values(false, true));

}  // namespace
}  // namespace raster::blit
