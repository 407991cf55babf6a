// The smooth row producer: every source row a destination row needs is
// resampled horizontally (area average when shrinking, linear between pixel
// centres when enlarging), then the rows are combined with integer weights
// that add up to a power of two.
#include <algorithm>
#include <cstring>

#include "blit/blit_context.h"
#include "blit/resample.h"

namespace raster::blit {
namespace {

// Resamples source row `row` over the band's columns into dst.
int ResampleRow(RIPBlitContext* ctx, const RIPSampleLayout& layout, std::int32_t row, std::uint8_t* dst) {
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
    if (ws <= wd) {
        return RIPEnlargeRow(layout, dst, wd, run, ws, count, x, first - left, last - first + 1);
    }
    return RIPShrinkRow(layout, dst, wd, run, ws, count, last - first + 1, wd - (x * ws) % wd);
}

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

}  // namespace

int RIPStretchRowsSmooth(RIPBlitContext* ctx, std::int32_t y) {
    RIPSampleLayout layout;
    if (!RIPSampleLayoutOf(ctx->workingType, &layout) || layout.pixelBytes == 0) return 0;
    const std::int64_t hs = ctx->srcHeight, hd = ctx->dstHeight;
    const RIPVerticalSpan span = RIPVerticalSpanFor(hs, hd, static_cast<std::int64_t>(y) - ctx->dstRect.bottom);
    const std::int64_t bottom = ctx->srcRect.bottom;
    const std::int64_t top = ctx->src->height - 1;
    if (hs == hd) {
        const auto row = static_cast<std::int32_t>(std::clamp<std::int64_t>(span.first + bottom, 0, top));
        return ResampleRow(ctx, layout, row, ctx->output.data());
    }
    const std::size_t samples = static_cast<std::size_t>(ctx->band.Width()) * static_cast<std::size_t>(layout.channels);
    std::fill(ctx->accumulator.begin(), ctx->accumulator.begin() + static_cast<std::ptrdiff_t>(samples), 0);
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
        const std::uint8_t* held = nullptr;
        if (ctx->rowTags[0] == row) {
            held = ctx->workRows[0].data();
        } else if (twoRows && ctx->rowTags[1] == row) {
            held = ctx->workRows[1].data();
        } else {
            const int slot = twoRows ? static_cast<int>(std::clamp<std::int64_t>(row - clampedFirst, 0, 1)) : 0;
            ctx->rowTags[slot] = -1;
            if (ResampleRow(ctx, layout, row, ctx->workRows[slot].data()) == 0) return 0;
            ctx->rowTags[slot] = row;
            held = ctx->workRows[slot].data();
        }
        const std::int64_t w = k == span.first ? span.firstWeight : k == span.last ? span.lastWeight : span.middleWeight;
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
    if (layout.wide) {
        Store<std::uint16_t>(ctx->output.data(), ctx->accumulator.data(), samples, shift);
    } else {
        Store<std::uint8_t>(ctx->output.data(), ctx->accumulator.data(), samples, shift);
    }
    return 1;
}

}  // namespace raster::blit
