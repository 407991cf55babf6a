// Row resamplers of the stretch: nearest neighbour by a stepping error (one
// member per pixel size, bilevel included), area-average shrinking and
// linear enlarging between pixel centres (one member per sample layout).
// All read a run of source pixels in memory and write count outputs.
#pragma once

#include <cstdint>
#include <vector>

namespace raster::blit {

// The layout a working type's pixels have for resampling.
struct RIPSampleLayout {
    std::int32_t pixelBytes = 0;  // 0: bilevel
    std::int32_t channels = 0;
    bool wide = false;  // 16-bit samples
};
// The layout of a working type (1, 3, 5, 6, 10 as 5, 11, 12, 14, 99); false for others.
bool RIPSampleLayoutOf(std::int32_t type, RIPSampleLayout* layout);

// Nearest: with error e starting at `error`, each source pixel is emitted
// while e >= ws (e falling by ws each time), then e grows by wd and the next
// source pixel comes. 0 when the available source pixels run out first.
int RIPResampleRowNearest(const RIPSampleLayout& layout, std::uint8_t* dst, std::uint32_t dstBit,
                          const std::uint8_t* src, std::uint32_t srcBit, std::int64_t wd, std::int64_t ws,
                          std::uint32_t count, std::int64_t available, std::int64_t error);

// Area average (ws > wd): each source pixel is wd units wide and each output
// ws units; the first source pixel contributes its overlap `firstOverlap`.
// Sums are 64-bit. 0 when the source runs out.
int RIPShrinkRow(const RIPSampleLayout& layout, std::uint8_t* dst, std::int64_t wd, const std::uint8_t* src,
                 std::int64_t ws, std::uint32_t count, std::int64_t available, std::int64_t firstOverlap);

// Linear (ws <= wd): source pixel i of the source rectangle has its centre
// at (2i + 1)·wd, output j at (2(x + j) + 1)·ws for the band's first column
// x counted from the destination rectangle; outputs before the first centre
// repeat the first pixel, outputs past the last repeat the last. src holds
// source pixels from index `first` on, `available` of them.
int RIPEnlargeRow(const RIPSampleLayout& layout, std::uint8_t* dst, std::int64_t wd, const std::uint8_t* src,
                  std::int64_t ws, std::uint32_t count, std::int64_t x, std::int64_t first,
                  std::int64_t available);

// The alpha-gated members: only source pixels whose byte in srcAlpha
// (indexed like src) is non-zero contribute. The shrink averages the marked
// pixels by their overlaps; the enlarge interpolates between two marked
// neighbours, takes the one marked neighbour's value, or writes nothing.
// dstAlpha gets 255 for every output that received a value and 0 for the
// others, whose pixels are left as they were.
int RIPShrinkRowAlpha(const RIPSampleLayout& layout, std::uint8_t* dst, std::uint8_t* dstAlpha, std::int64_t wd,
                      const std::uint8_t* src, const std::uint8_t* srcAlpha, std::int64_t ws, std::uint32_t count,
                      std::int64_t available, std::int64_t firstOverlap);
// The columns of a gated enlargement on the vector path, the same for every
// row: each output's two source pixels (counted from the rectangle's left;
// one pixel twice where the output repeats it) and their weights for each
// sample. A caller that enlarges many rows keeps one and passes it in; one
// that wants each output's mark for every sample too passes sampleMarks
// (count × channels bytes), and *marked tells whether they were written.
// For three samples a pixel, four outputs at a time: their left and right
// source pixels lie within five of the first ones (base0, base1), so each
// side is one byte shuffle of a 16-byte window of the source run; control
// holds the shuffles of the samples and of their alpha bytes, left then right.
struct RIPGatherGroup {
    std::int64_t base0 = 0, base1 = 0;
    std::uint8_t control[4][16] = {};
};
// Exact truncating division of numerators below 2^16 by a divisor from 1 to
// 256, as a multiplication and shifts that 16-bit vector lanes have:
// t = (n × multiplier) >> 16, q = (t + ((n − t) >> shift1)) >> shift2, the
// round-up method of Granlund and Montgomery (exact for every such n).
struct RIPSmallDivisor {
    std::uint32_t divisor = 0;  // 0: the weights have no common divisor this small
    std::uint16_t multiplier = 0;
    std::uint8_t shift1 = 0, shift2 = 0;
    static RIPSmallDivisor For(std::uint32_t d) {
        RIPSmallDivisor by;
        if (d == 0 || d > 256) return by;
        std::uint32_t l = 0;
        while ((1u << l) < d) ++l;
        by.divisor = d;
        by.multiplier = static_cast<std::uint16_t>((65536u * ((1u << l) - d)) / d + 1);
        by.shift1 = static_cast<std::uint8_t>(l < 1 ? l : 1);
        by.shift2 = static_cast<std::uint8_t>(l > 1 ? l - 1 : 0);
        return by;
    }
    std::uint32_t Divide(std::uint32_t n) const {
        const std::uint32_t t = (n * multiplier) >> 16;
        return (t + ((n - t) >> shift1)) >> shift2;
    }
};

struct RIPGatedColumns {
    std::int64_t wd = 0, ws = 0, x = 0;
    std::uint32_t count = 0;
    std::int32_t channels = 0;
    std::vector<std::int64_t> from;
    std::vector<float> left, right;
    // When the weights of all columns share a divisor of the span that
    // leaves a denominator of at most 256: the weights over it, per sample,
    // for the 16-bit path (one source pixel twice weighs denominator and 0).
    RIPSmallDivisor common;
    std::vector<std::uint16_t> left16, right16;
    std::int64_t lowest = 0, highest = -1;
    std::vector<RIPGatherGroup> groups;  // three samples a pixel only
};
int RIPEnlargeRowAlpha(const RIPSampleLayout& layout, std::uint8_t* dst, std::uint8_t* dstAlpha, std::int64_t wd,
                       const std::uint8_t* src, const std::uint8_t* srcAlpha, std::int64_t ws, std::uint32_t count,
                       std::int64_t x, std::int64_t first, std::int64_t available,
                       RIPGatedColumns* columns = nullptr, std::uint8_t* sampleMarks = nullptr,
                       bool* marked = nullptr);

// Exact truncating division by one divisor used again and again (the weight
// a gated output pixel received): numerators and divisors below 2^32 are
// divided by a multiplication with the divisor's 64-bit reciprocal (exact
// for all such pairs), others by a plain division.
class RIPRepeatedDivisor {
  public:
    explicit RIPRepeatedDivisor(std::uint64_t d)
        : d_(d), reciprocal_(d > 1 && d <= 0xFFFFFFFFu ? ~std::uint64_t{0} / d + 1 : 0) {}
    std::uint64_t Divisor() const { return d_; }
    std::uint64_t Divide(std::uint64_t n) const {
        if (reciprocal_ == 0 || n > 0xFFFFFFFFu) return d_ == 1 ? n : n / d_;
        // The high 64 bits of reciprocal × n, in 64-bit arithmetic.
        const std::uint64_t low = (reciprocal_ & 0xFFFFFFFFu) * n;
        return ((reciprocal_ >> 32) * n + (low >> 32)) >> 32;
    }

  private:
    std::uint64_t d_;
    std::uint64_t reciprocal_;
};

// The vertical weight of a row scaled to a power-of-two total: trunc(w × p / d),
// in floating point, the one place it is computed.
std::uint32_t RIPSmoothWeight(std::int64_t w, std::int64_t p, std::int64_t d);

// The source rows of destination row y' (counted from the destination
// rectangle's bottom) and their weights over the denominator d, for hs
// source and hd destination rows; first and last count from the source
// rectangle's bottom (not yet clamped to the image).
struct RIPVerticalSpan {
    std::int64_t first = 0;
    std::int64_t last = 0;
    std::int64_t firstWeight = 1;
    std::int64_t lastWeight = 1;
    std::int64_t middleWeight = 1;
    std::int64_t denominator = 1;
};
RIPVerticalSpan RIPVerticalSpanFor(std::int64_t hs, std::int64_t hd, std::int64_t y);

}  // namespace raster::blit
