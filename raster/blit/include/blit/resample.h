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

// The columns of a gated enlargement on the vector path, the same for every
// row: each output's two source pixels (counted from the rectangle's left;
// one pixel twice where the output repeats it) and their weights for each
// sample. A shrink in which every output meets at most two source pixels
// has columns too, its pixels counted from the run's first and weighed by
// their overlaps. A caller that resamples many rows keeps one and passes it
// in; one that wants each output's mark for every sample too passes
// sampleMarks (count × channels bytes), and *marked tells whether they were
// written.
// For one, three or four samples a pixel, Outputs() outputs at a time in
// two halves, one to each 128-bit half of a vector: the left and right
// source pixels of a half lie within a window of its first ones (base0,
// base1), 16 bytes of samples for one and three, 8 pixels for four, so each
// side of a half is one shuffle of the source run; control holds the
// shuffles of the samples (byte indices, or 32-bit word indices for four
// samples) and of the alpha bytes (from a 16-byte window), left then right,
// the first half's in bytes 0-15 and the second's in 16-31.
struct RIPGatherGroup {
    static constexpr std::uint32_t Outputs(std::int32_t channels) { return channels == 1 ? 16 : 8; }
    std::int64_t base0[2] = {}, base1[2] = {};
    std::uint8_t control[4][32] = {};
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

// Exact truncating division of numerators from 0 to 255 × d by a divisor d
// from 1 to 16383, without a division: the single-precision product
// (n + 0.5) × fl(1/d) errs by less than 2^-23 of its size (under 256), so
// it lies within 2^-15 of (n + 0.5) / d, which is at least 0.5 / d > 2^-15
// from every integer; its integer part is floor(n / d). n + 0.5 is exact in
// single precision, and wider intermediates only shrink the error.
struct RIPReciprocalDivisor {
    static constexpr std::uint32_t kLargest = 16383;
    std::uint32_t divisor = 0;  // 0: the weights have no common divisor this small
    float reciprocal = 0.0f;
    static RIPReciprocalDivisor For(std::uint32_t d) {
        RIPReciprocalDivisor by;
        if (d == 0 || d > kLargest) return by;
        by.divisor = d;
        by.reciprocal = static_cast<float>(1.0 / d);
        return by;
    }
    // What the lanes compute, in integers.
    std::uint32_t Divide(std::uint32_t n) const { return n / divisor; }
};

struct RIPGatedColumns {
    bool shrink = false;
    std::int64_t wd = 0, ws = 0;
    std::int64_t x = 0;  // the band's first column; a shrink's first overlap

    std::uint32_t count = 0;
    std::int32_t channels = 0;
    std::vector<std::int64_t> from;
    std::vector<float> left, right;
    // When the weights of all columns share a divisor of their total that
    // leaves a denominator of at most 16383: the weights over it, per sample,
    // for the 16-bit paths (one source pixel twice weighs denominator and 0);
    // common when it is at most 256, reciprocal otherwise.
    RIPSmallDivisor common;
    RIPReciprocalDivisor reciprocal;
    std::vector<std::uint16_t> left16, right16;
    std::int64_t lowest = 0, highest = -1;
    std::vector<RIPGatherGroup> groups;  // none where a group's sources leave its windows
};
int RIPShrinkRowAlpha(const RIPSampleLayout& layout, std::uint8_t* dst, std::uint8_t* dstAlpha, std::int64_t wd,
                      const std::uint8_t* src, const std::uint8_t* srcAlpha, std::int64_t ws, std::uint32_t count,
                      std::int64_t available, std::int64_t firstOverlap, RIPGatedColumns* columns = nullptr,
                      std::uint8_t* sampleMarks = nullptr, bool* marked = nullptr);
int RIPEnlargeRowAlpha(const RIPSampleLayout& layout, std::uint8_t* dst, std::uint8_t* dstAlpha, std::int64_t wd,
                       const std::uint8_t* src, const std::uint8_t* srcAlpha, std::int64_t ws, std::uint32_t count,
                       std::int64_t x, std::int64_t first, std::int64_t available,
                       RIPGatedColumns* columns = nullptr, std::uint8_t* sampleMarks = nullptr,
                       bool* marked = nullptr);

// The gated vertical blend of two rows of n 8-bit samples on a vector path:
// where both marks (ma, mb) are set, floor((wa·a + wb·b) / (wa + wb)); where
// one is, that sample; where none, out is kept. Every result also goes to
// copy. wb is 0 only where b is a. False, writing nothing, where no vector
// path serves (none in force, or weights over 65536 in all).
bool RIPBlendRowsGated(std::uint8_t* out, std::uint8_t* copy, const std::uint8_t* a, const std::uint8_t* b,
                       const std::uint8_t* ma, const std::uint8_t* mb, std::int64_t wa, std::int64_t wb,
                       std::uint32_t n);

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
