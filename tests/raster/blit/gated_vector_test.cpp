// The alpha-gated smooth stretch through each vector path against the plain
// path: random images of one, three and four 8-bit samples (and 16-bit RGB,
// which stays plain) under random alpha planes, enlarged, shrunk, both at
// once and at equal size, at even and uneven ratios, onto destinations whose
// old pixels show where nothing marked arrives.
#include <gtest/gtest.h>

#include <numeric>
#include <random>
#include <vector>

#include "blit_support.h"
#include "kernels/kernel_paths.h"
#include "blit/resample.h"
#include "raster/raster_state.h"

namespace raster::blit {
namespace {

using kernels::testing::AvailablePaths;
using kernels::testing::ScopedPath;

struct Shape {
    std::int32_t type;
    std::int32_t bytes;  // a pixel's
};
constexpr Shape kShapes[] = {{kTypeGrey8, 1}, {kTypeRGB24, 3}, {kTypeCMYK32, 4}, {kTypeRGB48, 6}};

RIPImage* Filled(const Shape& shape, std::int32_t w, std::int32_t h, const std::vector<std::uint8_t>& bytes) {
    RIPImage* image = RIPCreateImageEx(shape.type, w, h, 0, 0, kOneBlock, nullptr, 0);
    RIPInstallBlitPipeline();
    RIPSetImageData(image, 0, 0, w, h, w * shape.bytes, bytes.data(), 0);
    return image;
}

std::vector<std::uint8_t> Pixels(const RIPImage* image, std::int32_t bytes) {
    std::vector<std::uint8_t> out;
    for (std::int32_t y = 0; y < image->height; ++y) {
        for (std::int32_t x = 0; x < image->width; ++x) {
            for (std::int32_t b = 0; b < bytes; ++b) out.push_back(testing::At(image, x, y, b));
        }
    }
    return out;
}

struct Case {
    Shape shape;
    std::int32_t sw, sh, dw, dh;
    std::vector<std::uint8_t> src, alpha, dst;
};

std::vector<std::uint8_t> Stretch(const Case& c, std::uint32_t features) {
    ScopedPath scope(features);
    RIPImage* src = Filled(c.shape, c.sw, c.sh, c.src);
    RIPImage* plane = RIPCreateImageEx(kTypeCoverage, c.sw, c.sh, 0, 0, kOneBlock, nullptr, 0);
    RIPSetImageData(plane, 0, 0, c.sw, c.sh, c.sw, c.alpha.data(), 0);
    RIPSetLinkedImage(src, plane, nullptr, nullptr);
    RIPImage* dst = Filled(c.shape, c.dw, c.dh, c.dst);
    RIPRasterState* state = RIPCreateRS();
    RIPSetStretchMode(state, kStretchSmooth);
    const int ok = RIPStretchBlitInContext(state, dst, 0, 0, c.dw, c.dh, nullptr, src, 0, 0, c.sw, c.sh, nullptr,
                                           kBlitAlphaGatedSmoothing);
    std::vector<std::uint8_t> out = ok == 1 ? Pixels(dst, c.shape.bytes) : std::vector<std::uint8_t>{};
    RIPDestroyRS(state);
    RIPDestroyImage(dst);
    RIPDestroyImage(src);
    return out;
}

TEST(GatedVector, StretchEqualsThePlainPathOnRandomImages) {
    std::mt19937 random(4918);
    const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    const auto paths = AvailablePaths();
    // Then rows long enough for the paths' grouped and chunked layouts.
    struct Big {
        int shape, sw, sh, dw, dh;
    };
    constexpr Big kBig[] = {{1, 700, 3, 1501, 7}, {1, 1000, 4, 1000, 9}, {1, 999, 2, 4000, 3}, {2, 600, 3, 1300, 4},
                            {0, 513, 2, 2000, 3}};
    for (int round = 0; round < 60 + static_cast<int>(std::size(kBig)); ++round) {
        Case c{kShapes[round % 4], pick(1, 40), pick(1, 40), 0, 0, {}, {}, {}};
        // Enlarge, shrink, equal or mixed in each direction.
        const auto other = [&](int s) { return std::max(1, pick(0, 3) == 0 ? s : pick(1, 3) * s + pick(-s / 2, 9)); };
        c.dw = other(c.sw);
        c.dh = other(c.sh);
        if (round >= 60) {
            const Big& big = kBig[round - 60];
            c.shape = kShapes[big.shape];
            c.sw = big.sw, c.sh = big.sh, c.dw = big.dw, c.dh = big.dh;
        }
        c.src.resize(static_cast<std::size_t>(c.sw * c.sh * c.shape.bytes));
        c.dst.resize(static_cast<std::size_t>(c.dw * c.dh * c.shape.bytes));
        c.alpha.resize(static_cast<std::size_t>(c.sw * c.sh));
        for (auto& b : c.src) b = static_cast<std::uint8_t>(pick(0, 3) == 0 ? pick(0, 1) * 255 : pick(0, 255));
        for (auto& b : c.dst) b = static_cast<std::uint8_t>(pick(0, 255));
        for (auto& a : c.alpha) a = static_cast<std::uint8_t>(pick(0, 4) < 2 ? 0 : pick(1, 255));
        for (int y = 0; y < c.sh; ++y) {
            if (pick(0, 5) == 0) std::fill_n(c.alpha.begin() + y * c.sw, c.sw, 0);
        }
        const std::vector<std::uint8_t> plain = Stretch(c, 0);
        ASSERT_FALSE(plain.empty());
        for (const auto& path : paths) {
            ASSERT_EQ(Stretch(c, path.features), plain)
                << "path " << path.name << " type " << c.shape.type << " " << c.sw << "x" << c.sh << " to " << c.dw
                << "x" << c.dh;
        }
    }
}

// The 16-bit lanes' division is exact for every divisor they take and every
// 16-bit numerator.
TEST(GatedVector, SmallDivisorDividesExactly) {
    for (std::uint32_t d = 1; d <= 256; ++d) {
        const RIPSmallDivisor by = RIPSmallDivisor::For(d);
        ASSERT_EQ(by.divisor, d);
        for (std::uint32_t n = 0; n < 65536; ++n) ASSERT_EQ(by.Divide(n), n / d) << n << " / " << d;
    }
    EXPECT_EQ(RIPSmallDivisor::For(257).divisor, 0u);
    EXPECT_EQ(RIPSmallDivisor::For(0).divisor, 0u);
}

// Random images stretched through every path by ratios of each kind,
// against the plain path.
TEST(GatedVector, RatiosOfEveryKindEqualThePlainPath) {
    struct Ratio {
        int shape, sw, sh, dw, dh;
    };
    const Ratio kRatios[] = {
        // Enlargements whose weights share a denominator of at most 256 (the
        // 16-bit lanes): 2, 3 (rows and columns of weight 0), 3/2, 4/3, 255/2
        // and 256/3 (the largest denominators), a ratio just past them, at
        // widths that leave vector tails; both directions at once and each alone.
        {1, 37, 9, 74, 18}, {1, 21, 7, 63, 21}, {0, 45, 6, 90, 9}, {2, 17, 9, 34, 12}, {1, 30, 6, 40, 8},
        {1, 4, 4, 510, 510}, {0, 3, 3, 256, 256}, {1, 4, 5, 514, 9}, {1, 23, 5, 23, 15}, {2, 19, 8, 57, 8},
        {1, 341, 3, 1023, 9}, {0, 700, 2, 1400, 4},
        // Uneven ratios, whose denominators lie above 256 (the pairs'
        // multiply-add and reciprocal) up to 16383, the largest they take, and
        // past it (single precision): 1500 -> 4096 (2048), 150 -> 409 (818),
        // 4095 -> 4096 (8192), 5 -> 16383 (16383), 3 -> 8192 (16384); across
        // and down, for one, three and four samples, in the gathers' groups
        // and past them.
        {1, 1500, 3, 4096, 5}, {1, 150, 150, 409, 409}, {0, 301, 200, 1000, 333}, {2, 255, 130, 256, 257},
        {1, 4095, 2, 4096, 3}, {0, 997, 2, 1003, 3}, {2, 613, 2, 1001, 3}, {1, 5, 3, 16383, 5},
        {1, 3, 3, 8192, 4}, {0, 4, 5, 3, 16383}, {0, 3, 3, 5, 8192},
        // Shrinks in which every output meets at most two source pixels take
        // the enlargement's columns (4097 -> 4096, 301 -> 300, by 3/2 and by
        // 2); by 8/5 some outputs meet three, which stay plain, and some rows
        // blend three source rows. Mixed with enlargements the other way.
        {1, 4097, 3, 4096, 2}, {1, 301, 301, 300, 300}, {2, 257, 40, 256, 39}, {0, 1001, 20, 1000, 19},
        {0, 1003, 3, 1000, 2}, {1, 450, 30, 300, 20}, {1, 600, 40, 300, 20}, {2, 600, 7, 300, 4},
        {1, 480, 40, 300, 25}, {1, 301, 200, 300, 333}, {0, 150, 301, 409, 300}};
    std::mt19937 random(4920);
    const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    for (const Ratio& r : kRatios) {
        Case c{kShapes[r.shape], r.sw, r.sh, r.dw, r.dh, {}, {}, {}};
        c.src.resize(static_cast<std::size_t>(c.sw * c.sh * c.shape.bytes));
        c.dst.resize(static_cast<std::size_t>(c.dw * c.dh * c.shape.bytes));
        c.alpha.resize(static_cast<std::size_t>(c.sw * c.sh));
        for (auto& b : c.src) b = static_cast<std::uint8_t>(pick(0, 2) == 0 ? pick(0, 1) * 255 : pick(0, 255));
        for (auto& b : c.dst) b = static_cast<std::uint8_t>(pick(0, 255));
        for (auto& a : c.alpha) a = static_cast<std::uint8_t>(pick(0, 3) == 0 ? 0 : pick(1, 255));
        const std::vector<std::uint8_t> plain = Stretch(c, 0);
        ASSERT_FALSE(plain.empty());
        for (const auto& path : AvailablePaths()) {
            ASSERT_EQ(Stretch(c, path.features), plain)
                << "path " << path.name << " type " << c.shape.type << " " << c.sw << "x" << c.sh << " to " << c.dw
                << "x" << c.dh;
        }
    }
}

// The gated row members alone, on rows long enough for the gathers' groups:
// every output and its alpha byte equal the plain path's (an output nothing
// reaches keeps its old value), for one, three and four samples, enlarged
// from the row's start or from inside it (the last two past the integer
// lanes' denominators), and shrunk.
TEST(GatedVector, GatedRowsAndTheirAlphaEqualThePlainPath) {
    struct Row {
        std::int32_t channels;
        std::int64_t ws, wd, x;
        std::uint32_t count;
    };
    constexpr Row kRows[] = {{3, 1500, 4096, 0, 4096}, {1, 997, 1003, 0, 1003}, {4, 613, 1001, 0, 1001},
                             {3, 150, 409, 50, 300},   {1, 70, 1000, 3, 997},   {3, 4097, 4096, 0, 4096},
                             {1, 301, 300, 0, 300},    {4, 450, 300, 7, 293},   {3, 5, 8192, 0, 8192},
                             {1, 8, 9001, 100, 8000}};
    std::mt19937 random(4924);
    for (const Row& r : kRows) {
        const RIPSampleLayout layout{r.channels, r.channels, false};
        std::vector<std::uint8_t> src(static_cast<std::size_t>(r.ws * r.channels)), srcAlpha(static_cast<std::size_t>(r.ws));
        for (auto& v : src) v = static_cast<std::uint8_t>(random());
        for (auto& m : srcAlpha) m = static_cast<std::uint8_t>(random() % 3 == 0 ? 0 : 1 + random() % 255);
        const std::vector<std::uint8_t> before(r.count * static_cast<std::size_t>(r.channels), 99);
        const auto resample = [&](std::uint32_t features) {
            ScopedPath scope(features);
            std::vector<std::uint8_t> out = before, alpha(r.count, 7);
            const bool shrink = r.ws > r.wd;
            const std::int64_t skip = shrink ? r.x * r.ws / r.wd : 0;  // a shrink's run starts at its first pixel
            const int ok = shrink ? RIPShrinkRowAlpha(layout, out.data(), alpha.data(), r.wd, src.data() + skip * r.channels,
                                                      srcAlpha.data() + skip, r.ws, r.count, r.ws - skip,
                                                      r.wd - (r.x * r.ws) % r.wd)
                                  : RIPEnlargeRowAlpha(layout, out.data(), alpha.data(), r.wd, src.data(), srcAlpha.data(),
                                                       r.ws, r.count, r.x, 0, r.ws);
            EXPECT_EQ(ok, 1);
            out.insert(out.end(), alpha.begin(), alpha.end());
            return out;
        };
        const std::vector<std::uint8_t> plain = resample(0);
        for (const auto& path : AvailablePaths()) {
            ASSERT_EQ(resample(path.features), plain) << path.name << " " << r.ws << " -> " << r.wd << " at " << r.x;
        }
    }
}

// The reciprocal's division is exact for every divisor it takes, at the
// numerators nearest each multiple (where the quotient is closest to an
// integer) and at every numerator of the largest divisors, computed in
// single precision as the lanes do.
TEST(GatedVector, ReciprocalDividesExactly) {
    const auto lanes = [](std::uint32_t n, const RIPReciprocalDivisor& by) {
        volatile float sum = static_cast<float>(n) + 0.5f;  // stored: single precision
        volatile float q = sum * by.reciprocal;
        return static_cast<std::uint32_t>(static_cast<std::int32_t>(q));
    };
    for (std::uint32_t d = 1; d <= RIPReciprocalDivisor::kLargest; ++d) {
        const RIPReciprocalDivisor by = RIPReciprocalDivisor::For(d);
        ASSERT_EQ(by.divisor, d);
        for (std::uint32_t k = 0; k <= 255; ++k) {
            for (const std::uint32_t n : {k * d, k * d + 1, k * d + d - 1}) {
                if (n <= 255 * d) {
                    ASSERT_EQ(lanes(n, by), n / d) << n << " / " << d;
                }
            }
        }
    }
    for (const std::uint32_t d : {16383u, 16381u, 12289u, 8191u}) {
        const RIPReciprocalDivisor by = RIPReciprocalDivisor::For(d);
        for (std::uint32_t n = 0; n <= 255 * d; ++n) ASSERT_EQ(lanes(n, by), n / d) << n << " / " << d;
    }
    EXPECT_EQ(RIPReciprocalDivisor::For(16384).divisor, 0u);
    EXPECT_EQ(RIPReciprocalDivisor::For(0).divisor, 0u);
}

// The vertical blend's lanes against the formula for every reduced total
// weight up to the reciprocal's largest and past it, once reduced and once
// not: equal samples (whose quotients are whole, where a rounding down
// shows) under both marks, then random samples under random marks.
TEST(GatedVector, BlendRowsDivideExactlyForEveryDenominator) {
    std::mt19937 random(4923);
    constexpr std::uint32_t kSamples = 256 + 301;  // leaves vector tails
    std::vector<std::uint8_t> a(kSamples), b(kSamples), ma(kSamples, 255), mb(kSamples, 255), kept(kSamples);
    for (std::uint32_t j = 0; j < kSamples; ++j) {
        a[j] = static_cast<std::uint8_t>(j < 256 ? j : random());
        b[j] = static_cast<std::uint8_t>(j < 256 ? j : random());
        kept[j] = static_cast<std::uint8_t>(random());
        if (j >= 256) ma[j] = static_cast<std::uint8_t>(random() % 2 * 9), mb[j] = static_cast<std::uint8_t>(random() % 2);
    }
    for (const auto& path : AvailablePaths()) {
        if (path.features == 0) continue;  // the plain path has no blend
        ScopedPath scope(path.features);
        for (std::int64_t d = 2; d <= RIPReciprocalDivisor::kLargest + 64; ++d) {
            std::int64_t wa = 1 + static_cast<std::int64_t>(random() % (d - 1));
            while (std::gcd(wa, d) != 1) wa = 1 + static_cast<std::int64_t>(random() % (d - 1));
            const std::int64_t scale = d % 2 == 0 && 3 * d <= 65536 ? 3 : 1;
            std::vector<std::uint8_t> out = kept, copy(kSamples);
            ASSERT_TRUE(RIPBlendRowsGated(out.data(), copy.data(), a.data(), b.data(), ma.data(), mb.data(), wa * scale,
                                          (d - wa) * scale, kSamples));
            for (std::uint32_t j = 0; j < kSamples; ++j) {
                const std::uint32_t expected = ma[j] != 0 && mb[j] != 0
                                                   ? static_cast<std::uint32_t>((a[j] * wa + b[j] * (d - wa)) / d)
                                               : ma[j] != 0 ? a[j]
                                               : mb[j] != 0 ? b[j]
                                                            : kept[j];
                ASSERT_EQ(out[j], expected) << path.name << " sample " << j << ": " << int{a[j]} << " × " << wa << " + "
                                            << int{b[j]} << " × " << d - wa << " over " << d;
                ASSERT_EQ(copy[j], out[j]);
            }
        }
    }
}

// Weights at the single-precision path's limit: a 2 → 32768 enlargement
// divides by 65536, the largest weight it takes; one row more is plain.
TEST(GatedVector, StretchEqualsThePlainPathAtTheWeightLimit) {
    std::mt19937 random(4919);
    for (const std::int32_t dw : {32767, 32768, 32769}) {
        Case c{kShapes[1], 3, 2, dw, 3, {}, {}, {}};
        c.src = {0, 255, 254, 1, 128, 127, 255, 255, 255, 3, 200, 100, 77, 250, 5, 255, 0, 9};
        c.alpha = {255, 1, 255, 0, 255, 255};
        c.dst.resize(static_cast<std::size_t>(c.dw * c.dh * 3));
        for (auto& b : c.dst) b = static_cast<std::uint8_t>(random());
        const std::vector<std::uint8_t> plain = Stretch(c, 0);
        ASSERT_FALSE(plain.empty());
        for (const auto& path : AvailablePaths()) {
            ASSERT_EQ(Stretch(c, path.features), plain) << "path " << path.name << " width " << dw;
        }
    }
}

}  // namespace
}  // namespace raster::blit
