// The stretch's row resamplers and vertical weights.
#include "blit/resample.h"

#include <cstring>

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

// Gated members read an alpha byte per source pixel (srcAlpha, indexed like
// src) and write one per output (dstAlpha): a source pixel whose alpha byte is
// 0 contributes nothing, and an output no marked pixel reached is left as it
// was. With every pixel marked they give what the plain members give.
template <typename Sample, bool Gated>
int Shrink(std::int32_t channels, std::uint8_t* dst, std::uint8_t* dstAlpha, std::int64_t wd,
           const std::uint8_t* src, const std::uint8_t* srcAlpha, std::int64_t ws, std::uint32_t count,
           std::int64_t available, std::int64_t overlap) {
    const std::size_t pixel = sizeof(Sample) * static_cast<std::size_t>(channels);
    std::uint64_t sum[4] = {};
    std::uint64_t weight = 0;  // the overlaps summed: ws for every output unless gated
    if (available < 1) return 0;
    const auto add = [&](std::int64_t i, std::int64_t part) {
        if constexpr (Gated) {
            if (srcAlpha[i] == 0) return;
        }
        const std::uint8_t* s = src + static_cast<std::size_t>(i) * pixel;
        for (std::int32_t c = 0; c < channels; ++c) {
            sum[c] += static_cast<std::uint64_t>(Read<Sample>(s + c * sizeof(Sample))) * static_cast<std::uint64_t>(part);
        }
        weight += static_cast<std::uint64_t>(part);
    };
    const auto emit = [&](std::uint32_t out) {
        std::uint64_t by = static_cast<std::uint64_t>(ws);
        if constexpr (Gated) {
            dstAlpha[out] = weight != 0 ? 255 : 0;
            by = weight;
        }
        if (by != 0) {
            for (std::int32_t c = 0; c < channels; ++c) Write<Sample>(dst + out * pixel + c * sizeof(Sample), sum[c] / by);
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

template <typename Sample, bool Gated>
int Enlarge(std::int32_t channels, std::uint8_t* dst, std::uint8_t* dstAlpha, std::int64_t wd,
            const std::uint8_t* src, const std::uint8_t* srcAlpha, std::int64_t ws, std::uint32_t count,
            std::int64_t x, std::int64_t first, std::int64_t available) {
    const std::size_t pixel = sizeof(Sample) * static_cast<std::size_t>(channels);
    const auto inside = [&](std::int64_t i) { return i - first >= 0 && i - first < available; };
    const auto at = [&](std::int64_t i) { return src + static_cast<std::size_t>(i - first) * pixel; };
    const auto marked = [&](std::int64_t i) {
        if constexpr (Gated) return srcAlpha[i - first] != 0;
        return true;
    };
    const auto mark = [&](std::uint32_t out, bool set) {
        if constexpr (Gated) dstAlpha[out] = set ? 255 : 0;
    };
    const auto copy = [&](std::uint32_t out, std::int64_t i) {
        if (!inside(i)) return false;
        const bool set = marked(i);
        if (set) std::memcpy(dst + out * pixel, at(i), pixel);
        mark(out, set);
        return true;
    };
    std::uint32_t out = 0;
    if (ws == wd) {
        for (; out < count; ++out) {
            if (!copy(out, x + out)) return 0;
        }
        return 1;
    }
    std::int64_t c = ws + 2 * x * ws;
    for (; out < count && c < wd; ++out, c += 2 * ws) {
        if (!copy(out, 0)) return 0;
    }
    if (out == count) return 1;
    const std::int64_t span = 2 * wd;
    std::int64_t f = (c - wd) % span;
    std::int64_t left = (c - wd) / span;
    for (; out < count; ++out) {
        if (left + 1 > ws - 1) {
            if (!copy(out, ws - 1)) return 0;
            continue;
        }
        if (!inside(left) || !inside(left + 1)) return 0;
        const bool a = marked(left), b = marked(left + 1);
        if (a && b) {
            for (std::int32_t ch = 0; ch < channels; ++ch) {
                const std::uint64_t l = Read<Sample>(at(left) + ch * sizeof(Sample));
                const std::uint64_t r = Read<Sample>(at(left + 1) + ch * sizeof(Sample));
                Write<Sample>(dst + out * pixel + ch * sizeof(Sample),
                              (l * static_cast<std::uint64_t>(span - f) + r * static_cast<std::uint64_t>(f)) /
                                  static_cast<std::uint64_t>(span));
            }
            mark(out, true);
        } else {
            // One marked neighbour gives its value; none leaves the output alone.
            copy(out, a ? left : left + 1);
        }
        f += 2 * ws;
        while (f >= span) {
            f -= span;
            ++left;
        }
    }
    return 1;
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
    return layout.wide ? Shrink<std::uint16_t, false>(layout.channels, dst, nullptr, wd, src, nullptr, ws, count,
                                                      available, firstOverlap)
                       : Shrink<std::uint8_t, false>(layout.channels, dst, nullptr, wd, src, nullptr, ws, count,
                                                     available, firstOverlap);
}

int RIPEnlargeRow(const RIPSampleLayout& layout, std::uint8_t* dst, std::int64_t wd, const std::uint8_t* src,
                  std::int64_t ws, std::uint32_t count, std::int64_t x, std::int64_t first,
                  std::int64_t available) {
    if (layout.pixelBytes == 0) return 0;
    return layout.wide ? Enlarge<std::uint16_t, false>(layout.channels, dst, nullptr, wd, src, nullptr, ws, count,
                                                       x, first, available)
                       : Enlarge<std::uint8_t, false>(layout.channels, dst, nullptr, wd, src, nullptr, ws, count, x,
                                                      first, available);
}

int RIPShrinkRowAlpha(const RIPSampleLayout& layout, std::uint8_t* dst, std::uint8_t* dstAlpha, std::int64_t wd,
                      const std::uint8_t* src, const std::uint8_t* srcAlpha, std::int64_t ws, std::uint32_t count,
                      std::int64_t available, std::int64_t firstOverlap) {
    if (layout.pixelBytes == 0) return 0;
    return layout.wide ? Shrink<std::uint16_t, true>(layout.channels, dst, dstAlpha, wd, src, srcAlpha, ws, count,
                                                     available, firstOverlap)
                       : Shrink<std::uint8_t, true>(layout.channels, dst, dstAlpha, wd, src, srcAlpha, ws, count,
                                                    available, firstOverlap);
}

int RIPEnlargeRowAlpha(const RIPSampleLayout& layout, std::uint8_t* dst, std::uint8_t* dstAlpha, std::int64_t wd,
                       const std::uint8_t* src, const std::uint8_t* srcAlpha, std::int64_t ws, std::uint32_t count,
                       std::int64_t x, std::int64_t first, std::int64_t available) {
    if (layout.pixelBytes == 0) return 0;
    return layout.wide ? Enlarge<std::uint16_t, true>(layout.channels, dst, dstAlpha, wd, src, srcAlpha, ws, count, x,
                                                      first, available)
                       : Enlarge<std::uint8_t, true>(layout.channels, dst, dstAlpha, wd, src, srcAlpha, ws, count, x,
                                                     first, available);
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
