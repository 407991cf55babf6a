// The stretch's row resamplers and vertical weights.
#include "blit/resample.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <numeric>

#include "gated_tail.h"
#include "gated_vector.h"

namespace raster::blit {
namespace {

template <typename Sample>
Sample Read(const std::uint8_t* p) {
    Sample v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <typename Sample>
void Write(std::uint8_t* p, std::uint64_t v) {
    const auto s = static_cast<Sample>(v);
    std::memcpy(p, &s, sizeof s);
}

template <typename Sample>
int Shrink(std::int32_t channels, std::uint8_t* dst, std::int64_t wd, const std::uint8_t* src, std::int64_t ws,
           std::uint32_t count, std::int64_t available, std::int64_t overlap) {
    const std::size_t pixel = sizeof(Sample) * static_cast<std::size_t>(channels);
    std::uint64_t sum[4] = {};
    if (available < 1) return 0;
    const auto sample = [&](std::int64_t i, std::int32_t c) {
        return static_cast<std::uint64_t>(Read<Sample>(src + static_cast<std::size_t>(i) * pixel + c * sizeof(Sample)));
    };
    for (std::int32_t c = 0; c < channels; ++c) sum[c] = sample(0, c) * static_cast<std::uint64_t>(overlap);
    std::int64_t width = overlap;
    std::int64_t i = 1;
    for (std::uint32_t out = 0; out < count; ++out) {
        while (width + wd <= ws) {
            if (i >= available) return 0;
            for (std::int32_t c = 0; c < channels; ++c) sum[c] += sample(i, c) * static_cast<std::uint64_t>(wd);
            width += wd;
            ++i;
        }
        std::uint8_t* o = dst + out * pixel;
        if (width == ws) {
            for (std::int32_t c = 0; c < channels; ++c) {
                Write<Sample>(o + c * sizeof(Sample), sum[c] / static_cast<std::uint64_t>(ws));
                sum[c] = 0;
            }
            width = 0;
            continue;
        }
        if (i >= available) return 0;
        const std::int64_t part = ws - width;
        for (std::int32_t c = 0; c < channels; ++c) {
            const std::uint64_t s = sample(i, c);
            Write<Sample>(o + c * sizeof(Sample), (sum[c] + s * static_cast<std::uint64_t>(part)) / static_cast<std::uint64_t>(ws));
            sum[c] = s * static_cast<std::uint64_t>(wd - part);
        }
        width = wd - part;
        ++i;
    }
    return 1;
}

// The walk of the linear enlargement, shared by the plain and gated
// members: each output either repeats one source pixel (one(out, i): the
// copy of equal widths, the outputs before the first centre and past the
// last) or lies between pixels left and left + 1 at f / (2·wd) of the way
// (two(out, left, f)). Either answers false when the source does not
// reach, which fails the walk.
template <typename One, typename Two>
int WalkEnlarge(std::int64_t wd, std::int64_t ws, std::uint32_t count, std::int64_t x, One one, Two two) {
    std::uint32_t out = 0;
    if (ws == wd) {
        for (; out < count; ++out) {
            if (!one(out, x + out)) return 0;
        }
        return 1;
    }
    std::int64_t c = ws + 2 * x * ws;
    for (; out < count && c < wd; ++out, c += 2 * ws) {
        if (!one(out, 0)) return 0;
    }
    if (out == count) return 1;
    const std::int64_t span = 2 * wd;
    std::int64_t f = (c - wd) % span;
    std::int64_t left = (c - wd) / span;
    for (; out < count; ++out) {
        if (left + 1 > ws - 1) {
            if (!one(out, ws - 1)) return 0;
            continue;
        }
        if (!two(out, left, f)) return 0;
        f += 2 * ws;
        while (f >= span) {
            f -= span;
            ++left;
        }
    }
    return 1;
}

// (left × (span − f) + right × f) / span for each sample of a pixel.
template <typename Sample>
void Interpolate(std::int32_t channels, std::uint8_t* out, const std::uint8_t* a, const std::uint8_t* b,
                 std::int64_t f, const RIPRepeatedDivisor& span) {
    const auto whole = static_cast<std::int64_t>(span.Divisor());
    for (std::int32_t ch = 0; ch < channels; ++ch) {
        const std::uint64_t l = Read<Sample>(a + ch * sizeof(Sample));
        const std::uint64_t r = Read<Sample>(b + ch * sizeof(Sample));
        Write<Sample>(out + ch * sizeof(Sample),
                      span.Divide(l * static_cast<std::uint64_t>(whole - f) + r * static_cast<std::uint64_t>(f)));
    }
}

template <typename Sample>
int Enlarge(std::int32_t channels, std::uint8_t* dst, std::int64_t wd, const std::uint8_t* src, std::int64_t ws,
            std::uint32_t count, std::int64_t x, std::int64_t first, std::int64_t available) {
    const std::size_t pixel = sizeof(Sample) * static_cast<std::size_t>(channels);
    const auto at = [&](std::int64_t i) -> const std::uint8_t* {
        const std::int64_t k = i - first;
        return k >= 0 && k < available ? src + static_cast<std::size_t>(k) * pixel : nullptr;
    };
    const auto one = [&](std::uint32_t out, std::int64_t i) {
        const std::uint8_t* s = at(i);
        if (s == nullptr) return false;
        std::memcpy(dst + out * pixel, s, pixel);
        return true;
    };
    const RIPRepeatedDivisor span(static_cast<std::uint64_t>(2 * wd));
    const auto two = [&](std::uint32_t out, std::int64_t left, std::int64_t f) {
        const std::uint8_t* a = at(left);
        const std::uint8_t* b = at(left + 1);
        if (a == nullptr || b == nullptr) return false;
        Interpolate<Sample>(channels, dst + out * pixel, a, b, f, span);
        return true;
    };
    return WalkEnlarge(wd, ws, count, x, one, two);
}

// The gated members read an alpha byte per source pixel (srcAlpha, indexed
// like src) and write one per output (dstAlpha): a source pixel whose alpha
// byte is 0 contributes nothing, and an output no marked pixel reached is left
// as it was. They walk as the plain members do, which they keep apart from
// so that the plain loops stay lean.
template <typename Sample>
int ShrinkGated(std::int32_t channels, std::uint8_t* dst, std::uint8_t* dstAlpha, std::int64_t wd,
                const std::uint8_t* src, const std::uint8_t* srcAlpha, std::int64_t ws, std::uint32_t count,
                std::int64_t available, std::int64_t overlap) {
    const std::size_t pixel = sizeof(Sample) * static_cast<std::size_t>(channels);
    std::uint64_t sum[4] = {};
    std::uint64_t weight = 0;  // the overlaps of the marked pixels summed
    if (available < 1) return 0;
    const auto add = [&](std::int64_t i, std::int64_t part) {
        if (srcAlpha[i] == 0) return;
        const std::uint8_t* s = src + static_cast<std::size_t>(i) * pixel;
        for (std::int32_t c = 0; c < channels; ++c) {
            sum[c] += static_cast<std::uint64_t>(Read<Sample>(s + c * sizeof(Sample))) * static_cast<std::uint64_t>(part);
        }
        weight += static_cast<std::uint64_t>(part);
    };
    RIPRepeatedDivisor by(static_cast<std::uint64_t>(ws));  // outputs mostly weigh ws in all
    const auto emit = [&](std::uint32_t out) {
        dstAlpha[out] = weight != 0 ? 255 : 0;
        if (weight != 0) {
            if (weight != by.Divisor()) by = RIPRepeatedDivisor(weight);
            for (std::int32_t c = 0; c < channels; ++c) Write<Sample>(dst + out * pixel + c * sizeof(Sample), by.Divide(sum[c]));
        }
        for (std::int32_t c = 0; c < channels; ++c) sum[c] = 0;
        weight = 0;
    };
    add(0, overlap);
    std::int64_t width = overlap;
    std::int64_t i = 1;
    for (std::uint32_t out = 0; out < count; ++out) {
        while (width + wd <= ws) {
            if (i >= available) return 0;
            add(i, wd);
            width += wd;
            ++i;
        }
        if (width == ws) {
            emit(out);
            width = 0;
            continue;
        }
        // The next pixel is split: its part completes this output, its rest starts the next.
        if (i >= available) return 0;
        const std::int64_t part = ws - width;
        add(i, part);
        emit(out);
        add(i, wd - part);
        width = wd - part;
        ++i;
    }
    return 1;
}

template <typename Sample>
int EnlargeGated(std::int32_t channels, std::uint8_t* dst, std::uint8_t* dstAlpha, std::int64_t wd,
                 const std::uint8_t* src, const std::uint8_t* srcAlpha, std::int64_t ws, std::uint32_t count,
                 std::int64_t x, std::int64_t first, std::int64_t available) {
    const std::size_t pixel = sizeof(Sample) * static_cast<std::size_t>(channels);
    const auto inside = [&](std::int64_t i) { return i - first >= 0 && i - first < available; };
    const auto at = [&](std::int64_t i) { return src + static_cast<std::size_t>(i - first) * pixel; };
    const auto marked = [&](std::int64_t i) { return srcAlpha[i - first] != 0; };
    const auto one = [&](std::uint32_t out, std::int64_t i) {
        if (!inside(i)) return false;
        const bool set = marked(i);
        if (set) std::memcpy(dst + out * pixel, at(i), pixel);
        dstAlpha[out] = set ? 255 : 0;
        return true;
    };
    const RIPRepeatedDivisor span(static_cast<std::uint64_t>(2 * wd));
    const auto two = [&](std::uint32_t out, std::int64_t left, std::int64_t f) {
        if (!inside(left) || !inside(left + 1)) return false;
        const bool a = marked(left), b = marked(left + 1);
        // One marked neighbour gives its value; none leaves the output alone.
        if (!a || !b) return one(out, a ? left : left + 1);
        Interpolate<Sample>(channels, dst + out * pixel, at(left), at(left + 1), f, span);
        dstAlpha[out] = 255;
        return true;
    };
    return WalkEnlarge(wd, ws, count, x, one, two);
}

// The weights of all columns over the least denominator they share, when it
// is at most RIPReciprocalDivisor::kLargest: a divisor of the total `span`
// and of every right weight divides every left weight too.
void CommonWeights(RIPGatedColumns& c, std::size_t pixel, std::int64_t span) {
    c.common = {};
    c.reciprocal = {};
    c.left16.clear();
    c.right16.clear();
    constexpr std::int64_t kLargest = RIPReciprocalDivisor::kLargest;
    std::int64_t g = span;
    const std::size_t n = static_cast<std::size_t>(c.count) * pixel;
    for (std::size_t j = 0; j < n && span / g <= kLargest; j += pixel) {
        if (c.from[2 * (j / pixel)] != c.from[2 * (j / pixel) + 1]) g = std::gcd(g, static_cast<std::int64_t>(c.right[j]));
    }
    if (span / g > kLargest) return;
    try {
        c.left16.resize(n);
        c.right16.resize(n);
    } catch (const std::bad_alloc&) {
        c.left16.clear();
        c.right16.clear();
        return;
    }
    const auto d = static_cast<std::uint16_t>(span / g);
    for (std::size_t j = 0; j < n; ++j) {
        const bool two = c.from[2 * (j / pixel)] != c.from[2 * (j / pixel) + 1];
        c.right16[j] = two ? static_cast<std::uint16_t>(static_cast<std::int64_t>(c.right[j]) / g) : 0;
        c.left16[j] = static_cast<std::uint16_t>(d - c.right16[j]);
    }
    c.common = RIPSmallDivisor::For(d);
    if (c.common.divisor == 0) c.reciprocal = RIPReciprocalDivisor::For(d);
}

// The shuffles of the vector gathers (RIPGatherGroup); none when a half's
// sources leave its windows.
void GatherGroups(RIPGatedColumns& c, std::size_t pixel) {
    c.groups.clear();
    if (pixel != 1 && pixel != 3 && pixel != 4) return;
    const std::size_t outputs = RIPGatherGroup::Outputs(static_cast<std::int32_t>(pixel)) / 2;  // a half's
    // The farthest a half's source pixel may lie from its first.
    const std::int64_t reach = pixel == 1 ? 15 : pixel == 3 ? 4 : 7;
    try {
        c.groups.resize(c.count / (2 * outputs));
    } catch (const std::bad_alloc&) {
        c.groups.clear();  // the plain layout serves
        return;
    }
    for (std::size_t g = 0; g < c.groups.size(); ++g) {
        RIPGatherGroup& group = c.groups[g];
        for (auto& control : group.control) std::memset(control, 0x80, 32);  // 0x80: a zero byte
        for (std::size_t h = 0; h < 2; ++h) {
            const std::int64_t* from = c.from.data() + 2 * outputs * (2 * g + h);
            group.base0[h] = from[0];
            group.base1[h] = from[1];
            for (std::size_t k = 0; k < outputs; ++k) {
                const std::int64_t d0 = from[2 * k] - from[0], d1 = from[2 * k + 1] - from[1];
                if (d0 < 0 || d0 > reach || d1 < 0 || d1 > reach) {
                    c.groups.clear();
                    return;
                }
                const std::size_t at = 16 * h + pixel * k;
                for (std::size_t s = 0; s < pixel; ++s) {
                    group.control[2][at + s] = static_cast<std::uint8_t>(d0);
                    group.control[3][at + s] = static_cast<std::uint8_t>(d1);
                    if (pixel != 4) {
                        group.control[0][at + s] = static_cast<std::uint8_t>(pixel * d0 + s);
                        group.control[1][at + s] = static_cast<std::uint8_t>(pixel * d1 + s);
                    }
                }
                if (pixel == 4) {
                    const auto w0 = static_cast<std::uint32_t>(d0), w1 = static_cast<std::uint32_t>(d1);
                    std::memcpy(group.control[0] + at, &w0, 4);
                    std::memcpy(group.control[1] + at, &w1, 4);
                }
            }
        }
    }
}

// Sizes the columns' tables for count outputs and keys them.
bool StartColumns(RIPGatedColumns& c, bool shrink, std::int32_t channels, std::int64_t wd, std::int64_t ws,
                  std::uint32_t count, std::int64_t x) {
    const auto pixel = static_cast<std::size_t>(channels);
    try {
        c.from.assign(2 * static_cast<std::size_t>(count), 0);
        c.left.assign(pixel * count, 1.0f);
        c.right.assign(pixel * count, 0.0f);
    } catch (const std::bad_alloc&) {
        c.count = 0;
        return false;
    }
    c.shrink = shrink;
    c.wd = wd, c.ws = ws, c.x = x, c.count = count, c.channels = channels;
    c.lowest = std::numeric_limits<std::int64_t>::max(), c.highest = -1;
    return true;
}

// Output out between source pixels i0 and i1 (or i0 alone) weighing l and r.
void SetColumn(RIPGatedColumns& c, std::uint32_t out, std::int64_t i0, std::int64_t i1, float l, float r) {
    const auto pixel = static_cast<std::size_t>(c.channels);
    c.from[2 * out] = i0;
    c.from[2 * out + 1] = i1;
    c.lowest = std::min(c.lowest, i0);
    c.highest = std::max(c.highest, i1);
    if (i0 == i1) return;
    for (std::size_t k = 0; k < pixel; ++k) {
        c.left[out * pixel + k] = l;
        c.right[out * pixel + k] = r;
    }
}

// Records the walk of a gated enlargement once (see RIPGatedColumns).
bool BuildGatedColumns(RIPGatedColumns& c, std::int32_t channels, std::int64_t wd, std::int64_t ws,
                       std::uint32_t count, std::int64_t x) {
    if (!StartColumns(c, false, channels, wd, ws, count, x)) return false;
    const auto one = [&](std::uint32_t out, std::int64_t i) {
        SetColumn(c, out, i, i, 1.0f, 0.0f);
        return true;
    };
    const auto span = static_cast<float>(2 * wd);
    const auto two = [&](std::uint32_t out, std::int64_t left, std::int64_t f) {
        SetColumn(c, out, left, left + 1, span - static_cast<float>(f), static_cast<float>(f));
        return true;
    };
    WalkEnlarge(wd, ws, count, x, one, two);
    CommonWeights(c, static_cast<std::size_t>(channels), 2 * wd);
    GatherGroups(c, static_cast<std::size_t>(channels));
    return true;
}

// Records the walk of a gated shrink (ShrinkGated's), when every output
// meets at most two source pixels: each output's marked pixels weigh their
// overlaps in all ws, so the enlargement's interpolation gives its value.
bool BuildShrinkColumns(RIPGatedColumns& c, std::int32_t channels, std::int64_t wd, std::int64_t ws,
                        std::uint32_t count, std::int64_t overlap) {
    if (!StartColumns(c, true, channels, wd, ws, count, overlap)) return false;
    struct Part {
        std::int64_t pixel, width;
    } parts[2] = {{0, overlap}, {0, 0}};
    int held = 1;
    const auto add = [&](std::int64_t i, std::int64_t width) {
        if (held == 2) return false;
        parts[held++] = {i, width};
        return true;
    };
    const auto emit = [&](std::uint32_t out) {
        if (held == 1) {
            SetColumn(c, out, parts[0].pixel, parts[0].pixel, 1.0f, 0.0f);
        } else {
            SetColumn(c, out, parts[0].pixel, parts[1].pixel, static_cast<float>(parts[0].width),
                      static_cast<float>(parts[1].width));
        }
        held = 0;
    };
    std::int64_t width = overlap;
    std::int64_t i = 1;
    bool fits = true;
    for (std::uint32_t out = 0; out < count && fits; ++out) {
        while (width + wd <= ws && fits) {
            fits = add(i, wd);
            width += wd;
            ++i;
        }
        if (!fits) break;
        if (width == ws) {
            emit(out);
            width = 0;
            continue;
        }
        const std::int64_t part = ws - width;
        fits = add(i, part);
        if (!fits) break;
        emit(out);
        add(i, wd - part);
        width = wd - part;
        ++i;
    }
    if (!fits) {
        c.count = 0;  // no columns: the plain walk serves
        return false;
    }
    CommonWeights(c, static_cast<std::size_t>(channels), ws);
    GatherGroups(c, static_cast<std::size_t>(channels));
    return true;
}

// The gated resampling of 8-bit samples on a vector path, from its columns:
// each output's two source pixels and whether a marked one reaches it are
// laid out sample by sample, a chunk of outputs at a time, and the vector
// interpolation weighs and divides them, in integer lanes where the weights
// share a denominator of at most 16383, else in single precision (exact
// while the weights stay within detail::kGatedMaxWeight). An output with one
// marked source has that source laid out on both sides, whose weighing
// gives its value back; one with none is left as it was.
template <std::size_t kChannels>
int GatedVector(const detail::GatedVectorOps& ops, const RIPGatedColumns& columns, std::uint8_t* dst,
                std::uint8_t* dstAlpha, std::uint8_t* sampleMarks, const std::uint8_t* src,
                const std::uint8_t* srcAlpha, std::uint32_t count, std::int64_t first, std::int64_t available) {
    // The plain walk fails at the first output whose sources the run lacks.
    if (columns.lowest - first < 0 || columns.highest - first >= available) return 0;
    constexpr std::uint32_t kChunk = 256;
    constexpr std::uint32_t kGroup = RIPGatherGroup::Outputs(kChannels);
    // A pixel of three moves as four bytes, the fourth overwritten by the
    // next pixel (each buffer has a byte to spare), except from the run's
    // last pixel, which has no byte after it. Everything the loop reads is
    // held in locals: its byte stores could otherwise alias it.
    constexpr bool kWord = kChannels == 3;
    // Eight bytes to spare: the grouped layout stores 32 bytes for 24.
    std::uint8_t a[kChunk * kChannels + 8], b[kChunk * kChannels + 8], reached[kChunk * kChannels + 8];
    const detail::GatedVectorOps::Gather gather = ops.gather[kChannels];
    const bool grouped = gather != nullptr && !columns.groups.empty();
    const std::int64_t wordsBelow = available - 1;
    for (std::uint32_t done = 0; done < count;) {
        const std::uint32_t k = std::min(kChunk, count - done);
        const std::int64_t* from = columns.from.data() + 2 * static_cast<std::size_t>(done);
        std::uint8_t* alpha = dstAlpha + done;
        std::uint32_t p = 0;
        if (grouped) {
            // Whole groups only: done is a multiple of the group, and so is the chunk.
            const std::size_t groups = columns.groups.size() > done / kGroup ? columns.groups.size() - done / kGroup : 0;
            const auto whole = static_cast<std::uint32_t>(std::min<std::size_t>(k / kGroup, groups) * kGroup);
            p = gather(a, b, reached, alpha, src, srcAlpha, columns.groups.data() + done / kGroup, whole, first,
                       available);
        }
        for (; p < k; ++p) {
            const std::int64_t i0 = from[2 * p] - first, i1 = from[2 * p + 1] - first;
            const bool m0 = srcAlpha[i0] != 0, m1 = srcAlpha[i1] != 0;
            // An unmarked side takes the other side's sample.
            const std::uint8_t* s0 = src + static_cast<std::size_t>(m0 ? i0 : i1) * kChannels;
            const std::uint8_t* s1 = src + static_cast<std::size_t>(m1 ? i1 : i0) * kChannels;
            const std::uint8_t mark = m0 || m1 ? 255 : 0;
            if (kWord && i1 < wordsBelow) {  // i0 <= i1
                std::uint32_t v0, v1;
                std::memcpy(&v0, s0, 4);
                std::memcpy(&v1, s1, 4);
                std::memcpy(a + p * kChannels, &v0, 4);
                std::memcpy(b + p * kChannels, &v1, 4);
                const std::uint32_t word = mark * 0x01010101u;
                std::memcpy(reached + p * kChannels, &word, 4);
            } else {
                std::memcpy(a + p * kChannels, s0, kChannels);
                std::memcpy(b + p * kChannels, s1, kChannels);
                std::memset(reached + p * kChannels, mark, kChannels);
            }
            alpha[p] = mark;
        }
        const auto n = static_cast<std::uint32_t>(k * kChannels);
        const std::size_t at = done * kChannels;
        std::uint8_t* out = dst + at;
        const std::uint16_t* left16 = columns.left16.data() + at;
        const std::uint16_t* right16 = columns.right16.data() + at;
        if (columns.common.divisor != 0) {
            const RIPSmallDivisor& by = columns.common;
            detail::InterpolateWordsTail(out, a, b, reached, left16, right16, by,
                                         ops.interpolateExact(out, a, b, reached, left16, right16, by, n), n);
        } else if (columns.reciprocal.divisor != 0) {
            const RIPReciprocalDivisor& by = columns.reciprocal;
            detail::InterpolateWordsTail(out, a, b, reached, left16, right16, by,
                                         ops.interpolatePairs(out, a, b, reached, left16, right16, by, n), n);
        } else {
            const float* left = columns.left.data() + at;
            const float* right = columns.right.data() + at;
            detail::InterpolateTail(out, a, b, reached, left, right,
                                    ops.interpolate(out, a, b, reached, left, right, n), n);
        }
        if (sampleMarks != nullptr) std::memcpy(sampleMarks + at, reached, n);
        done += k;
    }
    return 1;
}

// The vector path from the columns c, (re)built when their key differs:
// -1 where there is none (the plain members serve), else its result.
template <typename Build>
int GatedColumnsPath(const RIPSampleLayout& layout, RIPGatedColumns* columns, bool shrink, std::int64_t wd,
                     std::int64_t ws, std::uint32_t count, std::int64_t x, std::uint8_t* dst, std::uint8_t* dstAlpha,
                     const std::uint8_t* src, const std::uint8_t* srcAlpha, std::int64_t first,
                     std::int64_t available, std::uint8_t* sampleMarks, bool* marked, Build build) {
    const detail::GatedVectorOps* ops = detail::ActiveGatedOps();
    const std::int32_t channels = layout.channels;
    if (ops == nullptr || layout.wide || (channels != 1 && channels != 3 && channels != 4)) return -1;
    RIPGatedColumns local;
    RIPGatedColumns& c = columns != nullptr ? *columns : local;
    const bool kept = c.shrink == shrink && c.wd == wd && c.ws == ws && c.x == x && c.count == count &&
                      c.channels == channels;
    if (!kept && !build(c)) return -1;
    const auto run = [&](auto resample) {
        return resample(*ops, c, dst, dstAlpha, sampleMarks, src, srcAlpha, count, first, available);
    };
    const int ok = channels == 1 ? run(GatedVector<1>) : channels == 3 ? run(GatedVector<3>) : run(GatedVector<4>);
    if (marked != nullptr) *marked = ok != 0 && sampleMarks != nullptr;
    return ok;
}

}  // namespace

bool RIPSampleLayoutOf(std::int32_t type, RIPSampleLayout* layout) {
    switch (type) {
        case 1:
        case 11: *layout = {3, 3, false}; return true;
        case 3: *layout = {4, 4, false}; return true;
        case 5:
        case 10:
        case 99: *layout = {1, 1, false}; return true;
        case 12: *layout = {6, 3, true}; return true;
        case 14: *layout = {2, 1, true}; return true;
        case 6: *layout = {0, 1, false}; return true;
        default: return false;
    }
}

int RIPResampleRowNearest(const RIPSampleLayout& layout, std::uint8_t* dst, std::uint32_t dstBit,
                          const std::uint8_t* src, std::uint32_t srcBit, std::int64_t wd, std::int64_t ws,
                          std::uint32_t count, std::int64_t available, std::int64_t error) {
    std::uint32_t emitted = 0;
    std::int64_t e = error;
    const auto bytes = static_cast<std::size_t>(layout.pixelBytes);
    for (std::int64_t i = 0; emitted < count; ++i, e += wd) {
        if (e < ws) continue;
        if (i >= available) return 0;
        if (bytes == 0) {
            const std::uint64_t sb = srcBit + static_cast<std::uint64_t>(i);
            const bool set = (src[sb / 8] & (0x80u >> (sb % 8))) != 0;
            while (e >= ws && emitted < count) {
                const std::uint64_t db = dstBit + static_cast<std::uint64_t>(emitted);
                const auto bit = static_cast<std::uint8_t>(0x80u >> (db % 8));
                dst[db / 8] = set ? static_cast<std::uint8_t>(dst[db / 8] | bit)
                                  : static_cast<std::uint8_t>(dst[db / 8] & ~bit);
                ++emitted;
                e -= ws;
            }
        } else {
            const std::uint8_t* s = src + static_cast<std::size_t>(i) * bytes;
            while (e >= ws && emitted < count) {
                std::memcpy(dst + emitted * bytes, s, bytes);
                ++emitted;
                e -= ws;
            }
        }
        if (emitted == count) break;
    }
    return 1;
}

int RIPShrinkRow(const RIPSampleLayout& layout, std::uint8_t* dst, std::int64_t wd, const std::uint8_t* src,
                 std::int64_t ws, std::uint32_t count, std::int64_t available, std::int64_t firstOverlap) {
    if (layout.pixelBytes == 0) return 0;
    return layout.wide ? Shrink<std::uint16_t>(layout.channels, dst, wd, src, ws, count, available, firstOverlap)
                       : Shrink<std::uint8_t>(layout.channels, dst, wd, src, ws, count, available, firstOverlap);
}

int RIPEnlargeRow(const RIPSampleLayout& layout, std::uint8_t* dst, std::int64_t wd, const std::uint8_t* src,
                  std::int64_t ws, std::uint32_t count, std::int64_t x, std::int64_t first,
                  std::int64_t available) {
    if (layout.pixelBytes == 0) return 0;
    return layout.wide ? Enlarge<std::uint16_t>(layout.channels, dst, wd, src, ws, count, x, first, available)
                       : Enlarge<std::uint8_t>(layout.channels, dst, wd, src, ws, count, x, first, available);
}

int RIPShrinkRowAlpha(const RIPSampleLayout& layout, std::uint8_t* dst, std::uint8_t* dstAlpha, std::int64_t wd,
                      const std::uint8_t* src, const std::uint8_t* srcAlpha, std::int64_t ws, std::uint32_t count,
                      std::int64_t available, std::int64_t firstOverlap, RIPGatedColumns* columns,
                      std::uint8_t* sampleMarks, bool* marked) {
    if (marked != nullptr) *marked = false;
    if (layout.pixelBytes == 0) return 0;
    // Columns only where every output meets at most two source pixels: the
    // outputs start at multiples of gcd(ws, wd) into a pixel, at most wd - gcd.
    if (ws <= detail::kGatedMaxWeight && ws <= wd + std::gcd(ws, wd) && available >= 1) {
        const int ok = GatedColumnsPath(
            layout, columns, true, wd, ws, count, firstOverlap, dst, dstAlpha, src, srcAlpha, 0, available,
            sampleMarks, marked, [&](RIPGatedColumns& c) {
                return BuildShrinkColumns(c, layout.channels, wd, ws, count, firstOverlap);
            });
        if (ok >= 0) return ok;
    }
    return layout.wide ? ShrinkGated<std::uint16_t>(layout.channels, dst, dstAlpha, wd, src, srcAlpha, ws, count,
                                                     available, firstOverlap)
                       : ShrinkGated<std::uint8_t>(layout.channels, dst, dstAlpha, wd, src, srcAlpha, ws, count,
                                                    available, firstOverlap);
}

int RIPEnlargeRowAlpha(const RIPSampleLayout& layout, std::uint8_t* dst, std::uint8_t* dstAlpha, std::int64_t wd,
                       const std::uint8_t* src, const std::uint8_t* srcAlpha, std::int64_t ws, std::uint32_t count,
                       std::int64_t x, std::int64_t first, std::int64_t available, RIPGatedColumns* columns,
                       std::uint8_t* sampleMarks, bool* marked) {
    if (marked != nullptr) *marked = false;
    if (layout.pixelBytes == 0) return 0;
    if (2 * wd <= detail::kGatedMaxWeight) {
        const int ok = GatedColumnsPath(layout, columns, false, wd, ws, count, x, dst, dstAlpha, src, srcAlpha, first,
                                        available, sampleMarks, marked, [&](RIPGatedColumns& c) {
                                            return BuildGatedColumns(c, layout.channels, wd, ws, count, x);
                                        });
        if (ok >= 0) return ok;
    }
    return layout.wide ? EnlargeGated<std::uint16_t>(layout.channels, dst, dstAlpha, wd, src, srcAlpha, ws, count, x,
                                                      first, available)
                       : EnlargeGated<std::uint8_t>(layout.channels, dst, dstAlpha, wd, src, srcAlpha, ws, count, x,
                                                     first, available);
}

bool RIPBlendRowsGated(std::uint8_t* out, std::uint8_t* copy, const std::uint8_t* a, const std::uint8_t* b,
                       const std::uint8_t* ma, const std::uint8_t* mb, std::int64_t wa, std::int64_t wb,
                       std::uint32_t n) {
    const detail::GatedVectorOps* ops = detail::ActiveGatedOps();
    if (ops == nullptr || wa < 1 || wb < 0 || wa + wb > detail::kGatedMaxWeight) return false;
    // Weights whose reduced total is small blend exactly in 16-bit lanes.
    const std::int64_t g = std::gcd(wa, wb);
    const auto d = static_cast<std::uint32_t>(std::min<std::int64_t>((wa + wb) / g, RIPReciprocalDivisor::kLargest + 1));
    const auto ra = static_cast<std::uint16_t>(wa / g), rb = static_cast<std::uint16_t>(wb / g);
    if (const RIPSmallDivisor by = RIPSmallDivisor::For(d); by.divisor != 0) {
        detail::Blend2WordsTail(out, copy, a, b, ma, mb, ra, rb, by, ops->blend2Exact(out, copy, a, b, ma, mb, ra, rb, by, n),
                                n);
    } else if (const RIPReciprocalDivisor pairs = RIPReciprocalDivisor::For(d); pairs.divisor != 0) {
        detail::Blend2WordsTail(out, copy, a, b, ma, mb, ra, rb, pairs,
                                ops->blend2Pairs(out, copy, a, b, ma, mb, ra, rb, pairs, n), n);
    } else {
        const auto fa = static_cast<float>(wa), fb = static_cast<float>(wb);
        detail::Blend2Tail(out, copy, a, b, ma, mb, fa, fb, ops->blend2(out, copy, a, b, ma, mb, fa, fb, n), n);
    }
    return true;
}

std::uint32_t RIPSmoothWeight(std::int64_t w, std::int64_t p, std::int64_t d) {
    return static_cast<std::uint32_t>(static_cast<double>(w) * static_cast<double>(p) / static_cast<double>(d));
}

RIPVerticalSpan RIPVerticalSpanFor(std::int64_t hs, std::int64_t hd, std::int64_t y) {
    RIPVerticalSpan span;
    if (hs > hd) {
        span.first = hs * y / hd;
        span.last = (hs * y + hs - 1) / hd;
        span.firstWeight = (span.first + 1) * hd - hs * y;
        span.lastWeight = hs * y + hs - span.last * hd;
        span.middleWeight = hd;
        span.denominator = hs;
        if (span.first == span.last) span.firstWeight = span.lastWeight = hs;
    } else if (hs == hd) {
        span.first = span.last = y;
    } else {
        const std::int64_t t = hs * (2 * y + 1);
        span.denominator = 2 * hd;
        if (t < hd) {
            span.first = span.last = 0;
            span.firstWeight = span.lastWeight = span.denominator;
        } else if (hd < 2 * hs * hd - t) {
            span.first = (t - hd) / (2 * hd);
            span.last = span.first + 1;
            span.firstWeight = (2 * span.last + 1) * hd - t;
            span.lastWeight = t - (2 * span.first + 1) * hd;
        } else {
            span.first = span.last = hs - 1;
            span.firstWeight = span.lastWeight = span.denominator;
        }
    }
    return span;
}

}  // namespace raster::blit
