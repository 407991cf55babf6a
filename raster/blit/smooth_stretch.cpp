// The smooth row producers: every source row a destination row needs is
// resampled horizontally (area average when shrinking, linear between pixel
// centres when enlarging), then the rows are combined with integer weights.
// The plain producer scales the weights to a power of two and shifts; the
// alpha-gated one lets only source pixels marked in the source's alpha plane
// contribute and divides each output pixel by the weight it received; a
// pixel none reaches keeps the value its column received last. On 8-bit
// samples with modest weights the gated producer sums and divides on a
// vector path (gated_vector.h and resample.h say why each form is exact).
#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

#include "blit/blit_context.h"
#include "blit/resample.h"
#include "gated_tail.h"
#include "gated_vector.h"

namespace raster::blit {
namespace {

// The source's alpha bytes over source columns x0..x1 of a row: the plane
// placed by the source's linked bounds, 0 wherever it does not reach.
const std::uint8_t* FetchAlphaRun(RIPBlitContext* ctx, std::int32_t row, std::int64_t x0, std::int64_t x1) {
    const RIPImage* plane = ctx->src->linkedImage;
    const RIPRect& at = ctx->src->linkedBounds;
    if (plane == nullptr || plane->bitsPerPixel != 8) return nullptr;
    const auto n = static_cast<std::size_t>(x1 - x0 + 1);
    const std::int64_t planeRow = static_cast<std::int64_t>(row) - at.bottom;
    const std::int64_t from = std::max<std::int64_t>({x0, at.left, 0});
    const std::int64_t to = std::min<std::int64_t>({x1, at.right, static_cast<std::int64_t>(at.left) + plane->width - 1});
    const bool meets = planeRow >= 0 && planeRow < plane->height && planeRow <= at.top - at.bottom && from <= to;
    const std::uint8_t* bytes = nullptr;
    if (meets) {
        RIPConverterBlock none;
        std::uint32_t bit = 0;
        bytes = RIPFetchRun(plane, none, 8, ctx->alphaFetch, static_cast<std::int32_t>(planeRow),
                            static_cast<std::int32_t>(from - at.left), static_cast<std::int32_t>(to - at.left), &bit);
        if (bytes == nullptr) return nullptr;
        // The plane covers the whole run: its bytes serve as they are.
        if (from == x0 && to == x1) return bytes;
    }
    try {
        ctx->alphaRun.assign(n, 0);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    if (meets) std::memcpy(ctx->alphaRun.data() + (from - x0), bytes, static_cast<std::size_t>(to - from + 1));
    return ctx->alphaRun.data();
}

// Resamples source row `row` over the band's columns into dst; with
// dstAlpha, gated by the source's alpha plane, marking the outputs reached.
int ResampleRow(RIPBlitContext* ctx, const RIPSampleLayout& layout, std::int32_t row, std::uint8_t* dst,
                std::uint8_t* dstAlpha, std::uint8_t* sampleMarks = nullptr, bool* marked = nullptr) {
    const std::int64_t ws = ctx->srcWidth, wd = ctx->dstWidth;
    const std::int64_t left = ctx->srcRect.left;
    const std::int64_t x = static_cast<std::int64_t>(ctx->band.left) - ctx->dstRect.left;
    const auto count = static_cast<std::uint32_t>(ctx->band.Width());
    std::int64_t first = 0, last = 0;
    if (ws <= wd) {
        first = std::max<std::int64_t>(0, (2 * x * ws - wd + ws) / (2 * wd)) + left;
        last = std::min<std::int64_t>((wd + (2 * count + 1) * ws - 1 + 2 * x * ws) / (2 * wd), ws - 1) + left;
    } else {
        first = x * ws / wd + left;
        last = (ws * count - 1 + x * ws) / wd + left;
    }
    if (first < 0 || last >= ctx->src->width) return 0;
    std::uint32_t bit = 0;
    const std::uint8_t* run =
        RIPFetchSourceRun(ctx, row, static_cast<std::int32_t>(first), static_cast<std::int32_t>(last), &bit);
    if (run == nullptr) return 0;
    const std::int64_t available = last - first + 1;
    if (dstAlpha == nullptr) {
        if (ws <= wd) return RIPEnlargeRow(layout, dst, wd, run, ws, count, x, first - left, available);
        return RIPShrinkRow(layout, dst, wd, run, ws, count, available, wd - (x * ws) % wd);
    }
    const std::uint8_t* alpha = FetchAlphaRun(ctx, row, first, last);
    if (alpha == nullptr) return 0;
    if (ws <= wd) {
        return RIPEnlargeRowAlpha(layout, dst, dstAlpha, wd, run, alpha, ws, count, x, first - left, available,
                                  &ctx->gatedColumns, sampleMarks, marked);
    }
    return RIPShrinkRowAlpha(layout, dst, dstAlpha, wd, run, alpha, ws, count, available, wd - (x * ws) % wd,
                             &ctx->gatedColumns, sampleMarks, marked);
}

// A 32-bit weight keeps the products to 32 × 32 bits, which vectorise.
template <typename Sample>
void Accumulate(std::uint64_t* acc, const std::uint8_t* row, std::size_t samples, std::uint32_t weight) {
    for (std::size_t i = 0; i < samples; ++i) {
        Sample v;
        std::memcpy(&v, row + i * sizeof(Sample), sizeof v);
        acc[i] += static_cast<std::uint64_t>(v) * weight;
    }
}

template <typename Sample>
void Store(std::uint8_t* out, const std::uint64_t* acc, std::size_t samples, std::uint32_t shift) {
    for (std::size_t i = 0; i < samples; ++i) {
        const auto v = static_cast<Sample>(acc[i] >> shift);
        std::memcpy(out + i * sizeof(Sample), &v, sizeof v);
    }
}

// Only the pixels the row marks take part, each weight added to the pixel's sum.
template <typename Sample>
void AccumulateMarked(std::uint64_t* acc, std::uint64_t* sums, const std::uint8_t* row, const std::uint8_t* marks,
                      std::size_t pixels, std::size_t channels, std::uint64_t weight) {
    for (std::size_t p = 0; p < pixels; ++p) {
        if (marks[p] == 0) continue;
        sums[p] += weight;
        for (std::size_t c = 0; c < channels; ++c) {
            Sample v;
            std::memcpy(&v, row + (p * channels + c) * sizeof(Sample), sizeof v);
            acc[p * channels + c] += static_cast<std::uint64_t>(v) * weight;
        }
    }
}

// A pixel no marked row reached keeps what its column held.
template <typename Sample>
void StoreMarked(std::uint8_t* out, const std::uint64_t* acc, const std::uint64_t* sums, std::size_t pixels,
                 std::size_t channels) {
    RIPRepeatedDivisor by(1);  // neighbours mostly received the same weight
    for (std::size_t p = 0; p < pixels; ++p) {
        if (sums[p] == 0) continue;
        if (sums[p] != by.Divisor()) by = RIPRepeatedDivisor(sums[p]);
        for (std::size_t c = 0; c < channels; ++c) {
            const auto v = static_cast<Sample>(by.Divide(acc[p * channels + c]));
            std::memcpy(out + (p * channels + c) * sizeof(Sample), &v, sizeof v);
        }
    }
}

// The gated vertical pass on a vector path, when it has one for these
// samples and weights: the buffers it needs, or null for the plain path.
const detail::GatedVectorOps* GatedVectorPath(RIPBlitContext* ctx, const RIPSampleLayout& layout,
                                              std::size_t samples, std::int64_t denominator) {
    if (layout.wide || denominator > detail::kGatedMaxWeight) return nullptr;
    const detail::GatedVectorOps* ops = detail::ActiveGatedOps();
    if (ops == nullptr) return nullptr;
    try {
        if (ctx->gatedSums.size() < 2 * samples) ctx->gatedSums.resize(2 * samples);
        for (int slot = 0; slot < 2; ++slot) {
            if (ctx->sampleMarks[slot].size() < samples + 1) {
                ctx->sampleMarks[slot].resize(samples + 1);
                ctx->sampleMarkTags[slot] = -1;
            }
        }
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return ops;
}

// Three or four copies of a mark go as one 4-byte store, a fourth byte for
// three overwritten by the next pixel (the buffer has a byte to spare).
template <std::size_t kChannels>
void Spread(std::uint8_t* spread, const std::uint8_t* marks, std::size_t pixels) {
    for (std::size_t p = 0; p < pixels; ++p) {
        const std::uint32_t word = marks[p] * 0x01010101u;
        std::memcpy(spread + p * kChannels, &word, 4);
    }
}

// A work row's marks, one a pixel, spread over its samples once per source row.
const std::uint8_t* SampleMarks(RIPBlitContext* ctx, int slot, std::size_t pixels, std::size_t channels) {
    std::uint8_t* spread = ctx->sampleMarks[slot].data();
    if (ctx->sampleMarkTags[slot] != ctx->rowTags[slot]) {
        const std::uint8_t* marks = ctx->alphaRows[slot].data();
        switch (channels) {
            case 1: std::memcpy(spread, marks, pixels); break;
            case 3: Spread<3>(spread, marks, pixels); break;
            case 4: Spread<4>(spread, marks, pixels); break;
            default:
                for (std::size_t p = 0; p < pixels; ++p) std::memset(spread + p * channels, marks[p], channels);
        }
        ctx->sampleMarkTags[slot] = ctx->rowTags[slot];
    }
    return spread;
}

int StretchRowsSmooth(RIPBlitContext* ctx, std::int32_t y, bool gated) {
    RIPSampleLayout layout;
    if (!RIPSampleLayoutOf(ctx->workingType, &layout) || layout.pixelBytes == 0) return 0;
    const std::int64_t hs = ctx->srcHeight, hd = ctx->dstHeight;
    const RIPVerticalSpan span = RIPVerticalSpanFor(hs, hd, static_cast<std::int64_t>(y) - ctx->dstRect.bottom);
    const std::int64_t bottom = ctx->srcRect.bottom;
    const std::int64_t top = ctx->src->height - 1;
    const auto pixels = static_cast<std::size_t>(ctx->band.Width());
    const auto rowBytes = pixels * static_cast<std::size_t>(layout.pixelBytes);
    // The row goes where the caller wants it, or to the output row; the gated
    // producer works on the band's stretch of the held row and hands it a copy.
    std::uint8_t* const target = ctx->rowTarget != nullptr ? ctx->rowTarget : ctx->output.data();
    std::uint8_t* out = target;
    if (gated) {
        const auto at = static_cast<std::size_t>(ctx->band.left - ctx->dstClip.left) * static_cast<std::size_t>(layout.pixelBytes);
        if (ctx->alphaOutput.size() < pixels || ctx->weightSums.size() < pixels || ctx->heldRow.size() < at + rowBytes) {
            return 0;
        }
        out = ctx->heldRow.data() + at;
    }
    bool handedOut = false;  // the vector blend writes the output row too
    const auto handOut = [&] {
        if (gated && !handedOut) std::memcpy(target, out, rowBytes);
        return 1;
    };
    if (hs == hd) {
        const auto row = static_cast<std::int32_t>(std::clamp<std::int64_t>(span.first + bottom, 0, top));
        if (ResampleRow(ctx, layout, row, out, gated ? ctx->alphaOutput.data() : nullptr) == 0) return 0;
        return handOut();
    }
    const auto channels = static_cast<std::size_t>(layout.channels);
    const std::size_t samples = pixels * channels;
    const detail::GatedVectorOps* vector = gated ? GatedVectorPath(ctx, layout, samples, span.denominator) : nullptr;
    float* vectorSums = vector != nullptr ? ctx->gatedSums.data() : nullptr;
    float* vectorWeights = vector != nullptr ? vectorSums + samples : nullptr;
    // One or two rows, both held at once, go through the vector path in one pass.
    const bool fused = vector != nullptr && span.last - span.first <= 1 &&
                       (span.first == span.last || !ctx->workRows[1].empty());
    int fusedSlots[2] = {0, 0};
    std::int64_t fusedWeights[2] = {0, 0};
    if (vector != nullptr && !fused) {
        std::fill(vectorSums, vectorSums + 2 * samples, 0.0f);
    } else if (vector == nullptr) {
        std::fill(ctx->accumulator.begin(), ctx->accumulator.begin() + static_cast<std::ptrdiff_t>(samples), 0);
        if (gated) std::fill(ctx->weightSums.begin(), ctx->weightSums.begin() + static_cast<std::ptrdiff_t>(pixels), 0);
    }
    std::int64_t p = 1;
    std::uint32_t shift = 0;
    while (p < span.denominator) {
        p <<= 1;
        ++shift;
    }
    const bool twoRows = !ctx->workRows[1].empty();
    std::uint64_t total = 0;
    const std::int64_t clampedFirst = std::clamp<std::int64_t>(span.first + bottom, 0, top);
    for (std::int64_t k = span.first; k <= span.last; ++k) {
        const auto row = static_cast<std::int32_t>(std::clamp<std::int64_t>(k + bottom, 0, top));
        int slot = 0;
        if (ctx->rowTags[0] == row) {
            slot = 0;
        } else if (twoRows && ctx->rowTags[1] == row) {
            slot = 1;
        } else if (twoRows) {
            // The slot that does not hold the span's other row, so that a
            // row shared with the next destination row stays.
            const std::int64_t other =
                std::clamp<std::int64_t>((k == span.first ? span.last : span.first) + bottom, 0, top);
            if (ctx->rowTags[0] == other) {
                slot = 1;
            } else if (ctx->rowTags[1] == other) {
                slot = 0;
            } else {
                slot = static_cast<int>(std::clamp<std::int64_t>(row - clampedFirst, 0, 1));
            }
        } else {
            slot = 0;
        }
        if (ctx->rowTags[slot] != row) {
            ctx->rowTags[slot] = -1;
            ctx->sampleMarkTags[slot] = -1;
            // The vector path's enlargement can spread the marks as it goes.
            bool marked = false;
            if (ResampleRow(ctx, layout, row, ctx->workRows[slot].data(), gated ? ctx->alphaRows[slot].data() : nullptr,
                            vector != nullptr ? ctx->sampleMarks[slot].data() : nullptr, &marked) == 0) {
                return 0;
            }
            ctx->rowTags[slot] = row;
            if (marked) ctx->sampleMarkTags[slot] = row;
        }
        const std::uint8_t* held = ctx->workRows[slot].data();
        const std::int64_t w = k == span.first ? span.firstWeight : k == span.last ? span.lastWeight : span.middleWeight;
        if (fused) {
            fusedSlots[k - span.first] = slot;
            fusedWeights[k - span.first] = w;
            continue;
        }
        if (vector != nullptr) {
            const std::uint8_t* marks = SampleMarks(ctx, slot, pixels, channels);
            const auto raw = static_cast<float>(w);
            const auto n = static_cast<std::uint32_t>(samples);
            detail::AccumulateMarkedTail(vectorSums, vectorWeights, held, marks, raw,
                                         vector->accumulate(vectorSums, vectorWeights, held, marks, raw, n), n);
            continue;
        }
        if (gated) {
            // The raw weights: each pixel is divided by what it received.
            const auto raw = static_cast<std::uint64_t>(w);
            const std::uint8_t* marks = ctx->alphaRows[slot].data();
            if (layout.wide) {
                AccumulateMarked<std::uint16_t>(ctx->accumulator.data(), ctx->weightSums.data(), held, marks, pixels,
                                                channels, raw);
            } else {
                AccumulateMarked<std::uint8_t>(ctx->accumulator.data(), ctx->weightSums.data(), held, marks, pixels,
                                               channels, raw);
            }
            continue;
        }
        std::uint32_t weight = RIPSmoothWeight(w, p, span.denominator);
        total += weight;
        // The weights always add up to p: the last row takes what rounding left.
        if (k == span.last && total < static_cast<std::uint64_t>(p)) weight += static_cast<std::uint32_t>(static_cast<std::uint64_t>(p) - total);
        if (layout.wide) {
            Accumulate<std::uint16_t>(ctx->accumulator.data(), held, samples, weight);
        } else {
            Accumulate<std::uint8_t>(ctx->accumulator.data(), held, samples, weight);
        }
    }
    if (fused) {
        // A lone row is its own partner at weight 0, which adds nothing.
        const int last = span.first == span.last ? 0 : 1;
        // A row of weight 0 adds nothing: its partner stands in for it.
        std::int64_t wa = fusedWeights[0], wb = last == 0 ? 0 : fusedWeights[1];
        int slotA = fusedSlots[0], slotB = fusedSlots[last];
        if (wa == 0) std::swap(wa, wb), std::swap(slotA, slotB);
        if (wb == 0) slotB = slotA;
        const std::uint8_t* a = ctx->workRows[slotA].data();
        const std::uint8_t* b = ctx->workRows[slotB].data();
        const std::uint8_t* ma = SampleMarks(ctx, slotA, pixels, channels);
        const std::uint8_t* mb = SampleMarks(ctx, slotB, pixels, channels);
        // The vector path was found for these weights: the blend takes them.
        RIPBlendRowsGated(out, target, a, b, ma, mb, wa, wb, static_cast<std::uint32_t>(samples));
        handedOut = true;
    } else if (vector != nullptr) {
        const auto n = static_cast<std::uint32_t>(samples);
        detail::QuotientsTail(out, vectorSums, vectorWeights, vector->quotients(out, vectorSums, vectorWeights, n), n);
    } else if (gated) {
        if (layout.wide) {
            StoreMarked<std::uint16_t>(out, ctx->accumulator.data(), ctx->weightSums.data(), pixels, channels);
        } else {
            StoreMarked<std::uint8_t>(out, ctx->accumulator.data(), ctx->weightSums.data(), pixels, channels);
        }
    } else if (layout.wide) {
        Store<std::uint16_t>(out, ctx->accumulator.data(), samples, shift);
    } else {
        Store<std::uint8_t>(out, ctx->accumulator.data(), samples, shift);
    }
    return handOut();
}

}  // namespace

int RIPStretchRowsSmooth(RIPBlitContext* ctx, std::int32_t y) { return StretchRowsSmooth(ctx, y, false); }

int RIPStretchRowsSmoothAlpha(RIPBlitContext* ctx, std::int32_t y) { return StretchRowsSmooth(ctx, y, true); }

}  // namespace raster::blit
