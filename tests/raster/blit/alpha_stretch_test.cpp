// The alpha-gated smooth stretch: the gated resamplers on small rows, and the
// whole stretch against a direct reference on random images and alpha
// planes, and against the plain smooth stretch when every pixel is marked.
#include <gtest/gtest.h>

#include <random>

#include "blit/resample.h"
#include "blit_support.h"
#include "kernels/kernel_frame.h"
#include "memory_tile_store.h"
#include "raster/raster_state.h"

namespace raster::blit {
namespace {

using testing::At;
using testing::Grey;

struct GatedRowCase {
    const char* name;
    RIPSampleLayout layout;
    bool shrink;
    std::int64_t ws, wd;
    std::vector<std::uint8_t> src, srcAlpha;
    std::vector<std::uint8_t> expected, expectedAlpha;  // 99: the output left as it was
};

// Outputs start at 99 so that an output nothing reached shows.
TEST(ResampleAlpha, OnlyMarkedPixelsContribute) {
    const RIPSampleLayout grey{1, 1, false};
    const RIPSampleLayout rgb{3, 3, false};
    const GatedRowCase cases[] = {
        {"shrink skips the unmarked middle", grey, true, 3, 1, {10, 250, 40}, {1, 0, 1}, {25}, {255}},
        {"shrink with nothing marked writes nothing", grey, true, 4, 2, {10, 250, 250, 250}, {9, 0, 0, 0}, {10, 99},
         {255, 0}},
        // 3 → 2: the middle pixel is split between the outputs, one unit each.
        {"split pixel unmarked", rgb, true, 3, 2, {10, 20, 30, 250, 250, 250, 70, 80, 90}, {1, 0, 1},
         {10, 20, 30, 70, 80, 90}, {255, 255}},
        {"split pixel marked, last not", rgb, true, 3, 2, {10, 20, 30, 40, 50, 60, 250, 250, 250}, {1, 1, 0},
         {20, 30, 40, 40, 50, 60}, {255, 255}},
        // The last output lies past the last centre: only the unmarked last pixel reaches it.
        // 1000, 60000 (unmarked) and 3000 as little-endian 16-bit samples: 2000.
        {"16-bit samples", RIPSampleLayout{2, 1, true}, true, 3, 1, {0xE8, 0x03, 0x60, 0xEA, 0xB8, 0x0B}, {1, 0, 1},
         {0xD0, 0x07}, {255}},
        {"enlarge takes the one marked neighbour", grey, false, 2, 4, {10, 200}, {1, 0}, {10, 10, 10, 99},
         {255, 255, 255, 0}},
        {"enlarge with no marked neighbour writes nothing", grey, false, 2, 4, {10, 200}, {0, 0}, {99, 99, 99, 99},
         {0, 0, 0, 0}},
        {"enlarge between marked neighbours interpolates", grey, false, 2, 4, {10, 20}, {5, 255}, {10, 12, 17, 20},
         {255, 255, 255, 255}},
        {"equal widths copy the marked pixels", grey, false, 3, 3, {1, 2, 3}, {0, 1, 1}, {99, 2, 3}, {0, 255, 255}},
    };
    for (const GatedRowCase& c : cases) {
        const auto count = static_cast<std::uint32_t>(c.wd);
        std::vector<std::uint8_t> out(c.expected.size(), 99);
        std::vector<std::uint8_t> marks(count, 99);
        const int ok = c.shrink ? RIPShrinkRowAlpha(c.layout, out.data(), marks.data(), c.wd, c.src.data(),
                                                    c.srcAlpha.data(), c.ws, count, c.ws, c.wd)
                                : RIPEnlargeRowAlpha(c.layout, out.data(), marks.data(), c.wd, c.src.data(),
                                                     c.srcAlpha.data(), c.ws, count, 0, 0, c.ws);
        ASSERT_EQ(ok, 1) << c.name;
        EXPECT_EQ(out, c.expected) << c.name;
        EXPECT_EQ(marks, c.expectedAlpha) << c.name;
    }
}

TEST(ResampleAlpha, RepeatedDivisorIsExact) {
    std::mt19937_64 random(3);
    using U = std::uint64_t;
    const U big = 0xFFFFFFFFu;
    for (const U d : {U{1}, U{2}, U{3}, U{7}, U{255}, U{65535}, U{0x7FFFFFFF}, big - 1, big, big + 1, U{1} << 40,
                      U{1000003}}) {
        const RIPRepeatedDivisor by(d);
        std::vector<U> numerators{0, 1, d - 1, d, d + 1, 2 * d - 1, big - 1, big, big + 1, ~U{0}};
        for (int i = 0; i < 2000; ++i) numerators.push_back(random() >> (random() % 64));
        for (const U n : numerators) ASSERT_EQ(by.Divide(n), n / d) << n << " / " << d;
    }
}

RIPImage* Plane(std::int32_t w, std::int32_t h, const std::vector<std::uint8_t>& bytes) {
    RIPImage* plane = RIPCreateImageEx(kTypeCoverage, w, h, 0, 0, kOneBlock, nullptr, 0);
    RIPSetImageData(plane, 0, 0, w, h, w, bytes.data(), 0);
    return plane;
}

RIPRasterState* Smooth() {
    RIPRasterState* state = RIPCreateRS();
    RIPSetStretchMode(state, kStretchSmooth);
    return state;
}

TEST(StretchAlpha, ARowWithoutMarkedSourcesKeepsThePreviousValue) {
    // Two marked rows of 60 under two unmarked rows of 255, halved both ways.
    RIPImage* src = Grey(2, 4, {60, 60, 60, 60, 255, 255, 255, 255});
    ASSERT_EQ(RIPSetLinkedImage(src, Plane(2, 4, {1, 1, 1, 1, 0, 0, 0, 0}), nullptr, nullptr), 1);
    RIPImage* dst = Grey(1, 2, {0, 0});
    RIPRasterState* state = Smooth();
    ASSERT_EQ(RIPStretchBlitInContext(state, dst, 0, 0, 1, 2, nullptr, src, 0, 0, 2, 4, nullptr,
                                      kBlitAlphaGatedSmoothing),
              1);
    EXPECT_EQ(At(dst, 0, 0), 60);
    EXPECT_EQ(At(dst, 0, 1), 60);
    RIPDestroyRS(state);
    RIPDestroyImage(dst);
    RIPDestroyImage(src);
}

TEST(StretchAlpha, ThePlaneMarksWhereItsBoundsPlaceIt) {
    // A plane over columns 1-3 only: column 0 is unmarked.
    RIPImage* src = Grey(4, 1, {10, 20, 30, 40});
    const RIPRect placed{1, 0, 3, 0};
    ASSERT_EQ(RIPSetLinkedImage(src, Plane(3, 1, {255, 255, 255}), &placed, nullptr), 1);
    RIPImage* dst = Grey(2, 1, {0, 0});
    RIPRasterState* state = Smooth();
    ASSERT_EQ(RIPStretchBlitInContext(state, dst, 0, 0, 2, 1, nullptr, src, 0, 0, 4, 1, nullptr,
                                      kBlitAlphaGatedSmoothing),
              1);
    EXPECT_EQ(testing::Row(dst, 0), (std::vector<std::uint8_t>{20, 35}));
    RIPDestroyRS(state);
    RIPDestroyImage(dst);
    RIPDestroyImage(src);
}

// A pixel no marked source reaches keeps what the row below it got in that
// column, whichever tiles the images are cut into: tiled images (the plane's
// second tile solid and unmarked) give the pixels one-block images give.
TEST(StretchAlpha, ResultsDoNotDependOnTheTiles) {
    raster::testing::ScopedTileStore scoped(4);
    const int sw = 300, sh = 160, dw = 400, dh = 300;
    std::vector<std::uint8_t> pixels(sw * sh), alpha(pixels.size(), 0);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const std::size_t x = i % sw, y = i / sw;
        pixels[i] = static_cast<std::uint8_t>(i * 13 + y);
        // Unmarked stripes across and down, wider than a destination pixel's
        // sources, and nothing marked right of the plane's first tile.
        if (x < 256 && (x / 8) % 3 != 0 && (y / 8) % 4 != 0) alpha[i] = 255;
    }
    const auto make = [&](std::int32_t storage) {
        RIPImage* src = Grey(sw, sh, pixels, storage);
        RIPImage* plane = RIPCreateImageEx(kTypeCoverage, sw, sh, 0, 0, storage, nullptr, 0);
        const colour::ColorRecord none = colour::ColorRecord::Grey(0);
        RIPFillImage(plane, &none);
        RIPSetImageData(plane, 0, 0, 256, sh, sw, alpha.data(), 0);
        RIPSetLinkedImage(src, plane, nullptr, nullptr);
        return src;
    };
    RIPImage* tiledSrc = make(kAllowTiling);
    RIPImage* blockSrc = make(kOneBlock);
    RIPImage* tiled = Grey(dw, dh, {}, kAllowTiling);
    RIPImage* block = Grey(dw, dh, {});
    ASSERT_EQ(tiled->storageKind, kStorageTiled);
    ASSERT_EQ(tiledSrc->linkedImage->storageKind, kStorageTiled);
    ASSERT_TRUE(scoped.store().IsSolid(tiledSrc->linkedImage->tileTable[0][1].tile));
    ASSERT_EQ(block->tileTable[0][0].tile, nullptr);
    RIPRasterState* state = Smooth();
    for (const auto& [dst, src] : {std::pair{tiled, tiledSrc}, std::pair{block, blockSrc}}) {
        ASSERT_EQ(RIPStretchBlitInContext(state, dst, 0, 0, dw, dh, nullptr, src, 0, 0, sw, sh, nullptr,
                                          kBlitAlphaGatedSmoothing),
                  1);
    }
    for (int y = 0; y < dh; ++y) ASSERT_EQ(testing::Row(tiled, y), testing::Row(block, y)) << "row " << y;
    RIPDestroyRS(state);
    for (RIPImage* image : {tiledSrc, blockSrc, tiled, block}) RIPDestroyImage(image);
}

// The direct reference: each destination pixel from the marked source pixels
// under it, with the weights written out (area overlaps when shrinking,
// distances between pixel centres when enlarging); a pixel that no marked
// pixel reaches keeps the value the row below it got (0 below the first).
struct Source {
    const std::vector<std::uint8_t>& pixels;
    const std::vector<std::uint8_t>& alpha;
    std::int64_t width;
    RIPRect rect;
    std::uint8_t Value(std::int64_t i, std::int64_t row) const {
        return pixels[static_cast<std::size_t>((row + rect.bottom) * width + i + rect.left)];
    }
    bool Marked(std::int64_t i, std::int64_t row) const {
        return alpha[static_cast<std::size_t>((row + rect.bottom) * width + i + rect.left)] != 0;
    }
};

struct Weighed {
    std::uint64_t value = 0;
    bool marked = false;
};

// Source row `row` resampled at destination column x (from the rectangle's left).
Weighed Horizontal(const Source& s, std::int64_t wd, std::int64_t row, std::int64_t x) {
    const std::int64_t ws = s.rect.Width();
    const auto pixel = [&](std::int64_t i) { return Weighed{s.Value(i, row), s.Marked(i, row)}; };
    if (ws == wd) return pixel(x);
    if (ws > wd) {
        const std::int64_t lo = x * ws, hi = lo + ws;
        std::uint64_t sum = 0, weight = 0;
        for (std::int64_t i = lo / wd; i * wd < hi; ++i) {
            if (!s.Marked(i, row)) continue;
            const auto overlap = static_cast<std::uint64_t>(std::min(hi, (i + 1) * wd) - std::max(lo, i * wd));
            sum += s.Value(i, row) * overlap;
            weight += overlap;
        }
        return weight == 0 ? Weighed{} : Weighed{sum / weight, true};
    }
    const std::int64_t c = (2 * x + 1) * ws;
    if (c < wd) return pixel(0);
    const std::int64_t left = (c - wd) / (2 * wd), f = (c - wd) % (2 * wd);
    if (left + 1 > ws - 1) return pixel(ws - 1);
    const Weighed a = pixel(left), b = pixel(left + 1);
    if (a.marked && b.marked) {
        return {(a.value * static_cast<std::uint64_t>(2 * wd - f) + b.value * static_cast<std::uint64_t>(f)) /
                    static_cast<std::uint64_t>(2 * wd),
                true};
    }
    return a.marked ? a : b;
}

// The source rows of destination row y (from the rectangle's bottom) and their weights.
std::vector<std::pair<std::int64_t, std::uint64_t>> Vertical(std::int64_t hs, std::int64_t hd, std::int64_t y) {
    if (hs == hd) return {{y, 1}};
    if (hs > hd) {
        std::vector<std::pair<std::int64_t, std::uint64_t>> rows;
        const std::int64_t lo = y * hs, hi = lo + hs;
        for (std::int64_t j = lo / hd; j * hd < hi; ++j) {
            rows.emplace_back(j, static_cast<std::uint64_t>(std::min(hi, (j + 1) * hd) - std::max(lo, j * hd)));
        }
        return rows;
    }
    const std::int64_t t = (2 * y + 1) * hs;
    if (t < hd) return {{0, 1}};
    if (t >= (2 * hs - 1) * hd) return {{hs - 1, 1}};
    const std::int64_t first = (t - hd) / (2 * hd);
    return {{first, static_cast<std::uint64_t>((2 * first + 3) * hd - t)},
            {first + 1, static_cast<std::uint64_t>(t - (2 * first + 1) * hd)}};
}

TEST(StretchAlpha, MatchesTheDirectReferenceOnRandomImages) {
    std::mt19937 random(23);
    const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    for (int round = 0; round < 40; ++round) {
        const int sw = pick(2, 30), sh = pick(2, 30);
        std::vector<std::uint8_t> pixels(static_cast<std::size_t>(sw * sh)), alpha(pixels.size());
        for (auto& p : pixels) p = static_cast<std::uint8_t>(pick(0, 255));
        for (auto& a : alpha) a = static_cast<std::uint8_t>(pick(0, 4) < 2 ? 0 : pick(1, 255));
        // Whole unmarked rows now and then.
        for (int y = 0; y < sh; ++y) {
            if (pick(0, 5) == 0) std::fill_n(alpha.begin() + y * sw, sw, 0);
        }
        RIPImage* src = Grey(sw, sh, pixels);
        ASSERT_EQ(RIPSetLinkedImage(src, Plane(sw, sh, alpha), nullptr, nullptr), 1);
        const int sl = pick(0, sw - 2), sb = pick(0, sh - 2);
        const RIPRect sr{sl, pick(sb + 1, sh - 1), pick(sl + 1, sw - 1), sb};
        const int dw = pick(1, 40), dh = pick(1, 40);
        const RIPRect dr{pick(0, 3), 0, 0, pick(0, 3)};
        const RIPRect d{dr.left, dr.bottom + dh - 1, dr.left + dw - 1, dr.bottom};
        RIPImage* dst = Grey(d.right + 2, d.top + 2, {});
        RIPRasterState* state = Smooth();
        const int cx = pick(d.left, d.right), cy = pick(d.bottom, d.top);
        ASSERT_EQ(RIPStretchBlitInContext(state, dst, cx, cy, d.right - cx + 1, d.top - cy + 1, &d, src, 0, 0, 0, 0,
                                          &sr, kBlitAlphaGatedSmoothing),
                  1);
        const Source source{pixels, alpha, sw, sr};
        std::vector<std::uint64_t> held(static_cast<std::size_t>(d.right - cx + 1), 0);
        for (int y = cy; y <= d.top; ++y) {
            for (int x = cx; x <= d.right; ++x) {
                std::uint64_t sum = 0, weight = 0;
                for (const auto& [row, w] : Vertical(sr.Height(), dh, y - d.bottom)) {
                    const Weighed h = Horizontal(source, dw, row, x - d.left);
                    if (!h.marked) continue;
                    sum += h.value * w;
                    weight += w;
                }
                std::uint64_t& out = held[static_cast<std::size_t>(x - cx)];
                if (weight != 0) out = sum / weight;
                ASSERT_EQ(At(dst, x, y), out) << "round " << round << " at " << x << "," << y;
            }
        }
        EXPECT_EQ(At(dst, d.right + 1, d.top + 1), 0);
        RIPDestroyRS(state);
        RIPDestroyImage(dst);
        RIPDestroyImage(src);
    }
}

// A merge mode or an opacity applies to the stretched rows as to any source:
// the stretch merged at once equals the stretch copied into a fresh image
// and merged from there unscaled (the stretched rows alone write in place).
TEST(StretchAlpha, MergesAndOpacityApplyToTheStretchedRows) {
    struct Merge {
        std::uint32_t mode;
        std::uint8_t opacity;
    };
    std::mt19937 random(6);
    const int sw = 37, sh = 19, dw = 101, dh = 45;
    std::vector<std::uint8_t> pixels(sw * sh), alpha(pixels.size()), under(dw * dh);
    for (auto& p : pixels) p = static_cast<std::uint8_t>(random());
    for (auto& a : alpha) a = static_cast<std::uint8_t>(random() % 3 == 0 ? 0 : 255);
    for (auto& p : under) p = static_cast<std::uint8_t>(random());
    for (const Merge m : {Merge{kernels::kModeAdd, 255}, Merge{kernels::kModeSet, 128}, Merge{kernels::kModeXor, 200}}) {
        RIPImage* src = Grey(sw, sh, pixels);
        ASSERT_EQ(RIPSetLinkedImage(src, Plane(sw, sh, alpha), nullptr, nullptr), 1);
        RIPImage* stretched = Grey(dw, dh, std::vector<std::uint8_t>(under.size(), 0));
        RIPImage* expected = Grey(dw, dh, under);
        RIPImage* actual = Grey(dw, dh, under);
        RIPRasterState* state = Smooth();
        ASSERT_EQ(RIPStretchBlitInContext(state, stretched, 0, 0, dw, dh, nullptr, src, 0, 0, sw, sh, nullptr,
                                          kBlitAlphaGatedSmoothing),
                  1);
        RIPSetRSMode(state, m.opacity);
        ASSERT_EQ(RIPStretchBlitInContext(state, expected, 0, 0, dw, dh, nullptr, stretched, 0, 0, dw, dh, nullptr, m.mode),
                  1);
        ASSERT_EQ(RIPStretchBlitInContext(state, actual, 0, 0, dw, dh, nullptr, src, 0, 0, sw, sh, nullptr,
                                          kBlitAlphaGatedSmoothing | m.mode),
                  1);
        for (int y = 0; y < dh; ++y) {
            ASSERT_EQ(testing::Row(actual, y), testing::Row(expected, y)) << "mode " << m.mode << " row " << y;
        }
        RIPDestroyRS(state);
        for (RIPImage* image : {src, stretched, expected, actual}) RIPDestroyImage(image);
    }
}

// With every pixel marked the gated stretch divides by the whole weight D of
// the rows it combines, while the plain stretch scales the weights to the
// power of two at or above D and truncates each: the two agree to the byte
// when D is a power of two (equal heights, a shrink from 2^k rows, an
// enlargement to 2^(k-1) rows); otherwise they may differ by the weights'
// rounding, which the reference test above covers for the gated side.
TEST(StretchAlpha, EveryPixelMarkedEqualsThePlainStretch) {
    struct Sizes {
        int sw, sh, dw, dh;
    };
    std::mt19937 random(5);
    for (const Sizes s : {Sizes{16, 8, 5, 3}, Sizes{3, 3, 7, 4}, Sizes{9, 6, 4, 6}, Sizes{5, 16, 12, 4},
                          Sizes{7, 2, 7, 8}}) {
        std::vector<std::uint8_t> pixels(static_cast<std::size_t>(s.sw * s.sh));
        for (auto& p : pixels) p = static_cast<std::uint8_t>(random());
        RIPImage* plain = Grey(s.sw, s.sh, pixels);
        RIPImage* gated = Grey(s.sw, s.sh, pixels);
        ASSERT_EQ(RIPSetLinkedImage(gated, Plane(s.sw, s.sh, std::vector<std::uint8_t>(pixels.size(), 255)), nullptr,
                                    nullptr),
                  1);
        RIPImage* expected = Grey(s.dw, s.dh, {});
        RIPImage* actual = Grey(s.dw, s.dh, {});
        RIPRasterState* state = Smooth();
        ASSERT_EQ(RIPStretchBlitInContext(state, expected, 0, 0, s.dw, s.dh, nullptr, plain, 0, 0, s.sw, s.sh, nullptr, 0),
                  1);
        ASSERT_EQ(RIPStretchBlitInContext(state, actual, 0, 0, s.dw, s.dh, nullptr, gated, 0, 0, s.sw, s.sh, nullptr,
                                          kBlitAlphaGatedSmoothing),
                  1);
        for (int y = 0; y < s.dh; ++y) {
            EXPECT_EQ(testing::Row(actual, y), testing::Row(expected, y)) << s.sw << "x" << s.sh << " row " << y;
        }
        RIPDestroyRS(state);
        for (RIPImage* image : {plain, gated, expected, actual}) RIPDestroyImage(image);
    }
}

}  // namespace
}  // namespace raster::blit
