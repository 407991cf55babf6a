// The blit's band callbacks: whole-band copies and kernel calls between
// tiles of one format, runs merged in place, runs produced or converted into
// a working format and back; and the source-run fetch they share.
#include <algorithm>
#include <cstring>
#include <new>

#include "blit/blit_context.h"
#include "blit/resample.h"
#include "raster/bit_rows.h"
#include "raster/storage.h"

namespace raster::blit {
namespace {

RIPBlitContext* Ctx(void* p) { return static_cast<RIPBlitContext*>(p); }

std::uint8_t* RowAt(const RIPTileSlot* slot, std::int32_t y) {
    return slot->data + static_cast<std::ptrdiff_t>(y - slot->bottom) * slot->rowBytes;
}

std::int64_t BitsFrom(const RIPTileSlot* slot, std::int32_t x, std::int32_t bits) {
    return static_cast<std::int64_t>(x - slot->left) * bits;
}

kernels::RIPBlitKernel KernelFor(const RIPBlitContext* ctx, const kernels::RIPKernelCoverage* coverage) {
    if (coverage == nullptr || coverage->mask1 == nullptr) return ctx->kernels[0];
    return coverage->mask2 == nullptr ? ctx->kernels[1] : ctx->kernels[2];
}

// Repeats a pixel of `bytes` bytes n times.
void Repeat(std::uint8_t* dst, const std::uint8_t* pixel, std::int32_t bytes, std::size_t n) {
    if (bytes == 1) {
        std::memset(dst, pixel[0], n);
        return;
    }
    for (std::size_t i = 0; i < n; ++i) std::memcpy(dst + i * static_cast<std::size_t>(bytes), pixel, static_cast<std::size_t>(bytes));
}

// A smooth stretch whose paint copies the band's whole produced row as it
// is: one format on both sides, whole bytes, the plain merge, no coverage.
bool CopiesWholeRow(const RIPBlitContext* ctx, std::int32_t x, std::uint32_t n,
                    const kernels::RIPKernelCoverage* coverage) {
    return ctx->stretchMode == kStretchSmoothRows && ctx->producer != nullptr && !ctx->converted &&
           !ctx->channelBlit && !ctx->coverage && ctx->mergeMode == kernels::kModeSet &&
           (coverage == nullptr || coverage->mask1 == nullptr) && x == ctx->band.left &&
           n == static_cast<std::uint32_t>(ctx->band.Width()) && ctx->workingBits == ctx->dst->bitsPerPixel &&
           ctx->workingBits % 8 == 0 && ctx->dst->type != kTypeBilevel;
}

}  // namespace

int RIPBlitContextBeginBandDirect(void* p, const RIPRect& band) {
    RIPBlitContext* ctx = Ctx(p);
    ctx->band = band;
    ctx->srcBand = band;
    RIPRectOffset(&ctx->srcBand, ctx->srcRect.left - ctx->dstRect.left, ctx->srcRect.bottom - ctx->dstRect.bottom);
    ctx->rowProduced = false;
    ctx->solidBytes = 0;
    const RIPTileSlot* s = ctx->srcSlot;
    if (s->data == nullptr) {
        const colour::ColorRecord* solid = RIPTileInlineData(s);
        if (solid == nullptr) return 0;
        ctx->solidBytes = RIPSolidPixel(*solid, ctx->solid);
        if (ctx->solidBytes == 0) return 0;
        ctx->srcRow = nullptr;
    } else {
        ctx->srcRow = RowAt(s, ctx->srcBand.bottom);
    }
    ctx->dstRow = RowAt(ctx->dstSlot, band.bottom);
    return 1;
}

int RIPBlitContextBeginBand(void* p, const RIPRect& band) {
    RIPBlitContext* ctx = Ctx(p);
    ctx->band = band;
    ctx->rowProduced = false;
    ctx->solidBytes = 0;
    ctx->srcRow = nullptr;
    ctx->dstRow = RowAt(ctx->dstSlot, band.bottom);
    if (ctx->stretchMode == kStretchNone) {
        ctx->srcBand = band;
        RIPRectOffset(&ctx->srcBand, ctx->srcRect.left - ctx->dstRect.left, ctx->srcRect.bottom - ctx->dstRect.bottom);
        if (ctx->toWorking.converter == nullptr) {
            if (ctx->srcSlot == nullptr || ctx->srcSlot->data == nullptr) return 0;
            ctx->srcRow = RowAt(ctx->srcSlot, ctx->srcBand.bottom);
        }
    } else {
        // The output row holds the band's pixels: what it held belongs to another band.
        ctx->cachedSourceRow = -1;
        ctx->rowTags[0] = ctx->rowTags[1] = -1;
    }
    if (ctx->converted) {
        const std::size_t need = 4 * static_cast<std::size_t>(std::max(ctx->srcClip.Width(), ctx->dstClip.Width())) + 16;
        if (ctx->dstWork.size() < need) {
            try {
                ctx->dstWork.resize(need);
            } catch (const std::bad_alloc&) {
                return 0;
            }
        }
    }
    return 1;
}

int RIPBlitContextNextRow(void* p) {
    RIPBlitContext* ctx = Ctx(p);
    ctx->dstRow += ctx->dstSlot->rowBytes;
    if (ctx->srcRow != nullptr && ctx->srcSlot != nullptr) ctx->srcRow += ctx->srcSlot->rowBytes;
    ctx->rowProduced = false;
    return 1;
}

void RIPBlitContextEndBand(void*) {}

int RIPBlitBandCopy(void* p, std::int32_t, std::int32_t, std::uint32_t n, const kernels::RIPKernelCoverage*) {
    RIPBlitContext* ctx = Ctx(p);
    const std::int32_t bits = ctx->dst->bitsPerPixel;
    const auto rows = static_cast<std::int32_t>(ctx->band.Height());
    const auto bytes = static_cast<std::size_t>((static_cast<std::int64_t>(n) * bits) / 8);
    std::uint8_t* d = ctx->dstRow + BitsFrom(ctx->dstSlot, ctx->band.left, bits) / 8;
    if (ctx->solidBytes != 0) {
        for (std::int32_t r = 0; r < rows; ++r, d += ctx->dstSlot->rowBytes) {
            Repeat(d, ctx->solid, ctx->solidBytes, n);
        }
        return 1;
    }
    const std::uint8_t* s = ctx->srcRow + BitsFrom(ctx->srcSlot, ctx->srcBand.left, ctx->src->bitsPerPixel) / 8;
    if (d == s) return 1;  // the band onto itself
    for (std::int32_t r = 0; r < rows; ++r, d += ctx->dstSlot->rowBytes, s += ctx->srcSlot->rowBytes) {
        std::memmove(d, s, bytes);
    }
    return 1;
}

int RIPBlitBandKernel(void* p, std::int32_t, std::int32_t, std::uint32_t n, const kernels::RIPKernelCoverage*) {
    RIPBlitContext* ctx = Ctx(p);
    const auto rows = static_cast<std::uint32_t>(ctx->band.Height());
    const RIPTileSlot* ds = ctx->dstSlot;
    const RIPTileSlot* ss = ctx->srcSlot;
    std::uint8_t* d = ctx->dstRow + BitsFrom(ds, ctx->band.left, ctx->dst->bitsPerPixel) / 8 + ctx->dstChannelOffset;
    const std::uint8_t* s = ctx->srcRow + BitsFrom(ss, ctx->srcBand.left, ctx->src->bitsPerPixel) / 8 + ctx->srcChannelOffset;
    const kernels::RIPBlitKernel kernel = ctx->kernels[0];
    kernels::RIPKernelCoverage coverage;
    coverage.opacity = ctx->opacity;
    const std::int32_t step = ctx->params.dstStep;
    // One call for the whole band only when its rows are whole rows of whole pixels.
    if (n == static_cast<std::uint32_t>(ds->right - ds->left + 1) && n == static_cast<std::uint32_t>(ss->right - ss->left + 1) &&
        rows > 1 && ds->rowBytes == ss->rowBytes && ctx->params.srcStep == step && ds->rowBytes % step == 0) {
        kernel(&ctx->params, static_cast<std::uint32_t>(ds->rowBytes / step) * rows, d, s, &coverage);
        return 1;
    }
    for (std::uint32_t r = 0; r < rows; ++r, d += ds->rowBytes, s += ss->rowBytes) {
        kernel(&ctx->params, n, d, s, &coverage);
    }
    return 1;
}

int RIPBlitRowDirect(void* p, std::int32_t x, std::int32_t, std::uint32_t n,
                     const kernels::RIPKernelCoverage* coverage) {
    RIPBlitContext* ctx = Ctx(p);
    std::uint8_t* d = ctx->dstRow + BitsFrom(ctx->dstSlot, x, ctx->dst->bitsPerPixel) / 8 + ctx->dstChannelOffset;
    const std::int32_t sx = x + ctx->srcRect.left - ctx->dstRect.left;
    const std::uint8_t* s = ctx->srcRow + BitsFrom(ctx->srcSlot, sx, ctx->src->bitsPerPixel) / 8 + ctx->srcChannelOffset;
    const kernels::RIPBlitKernel kernel = KernelFor(ctx, coverage);
    if (kernel == nullptr) return 0;
    kernel(&ctx->params, n, d, s, coverage);
    return 1;
}

const std::uint8_t* RIPFetchSourceRun(RIPBlitContext* ctx, std::int32_t row, std::int32_t x0, std::int32_t x1,
                                      std::uint32_t* bitOffset) {
    return RIPFetchRun(ctx->src, ctx->toWorking, ctx->workingBits, ctx->srcWork, row, x0, x1, bitOffset);
}

const std::uint8_t* RIPFetchRun(const RIPImage* src, RIPConverterBlock& block, std::int32_t workingBits,
                                std::vector<std::uint8_t>& work, std::int32_t row, std::int32_t x0, std::int32_t x1,
                                std::uint32_t* bitOffset) {
    *bitOffset = 0;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, src->width - 1);
    row = std::clamp(row, 0, src->height - 1);
    if (x1 < x0) return nullptr;
    const std::int32_t bits = src->bitsPerPixel;
    // One block of pixels read as it is: no copy.
    if (block.converter == nullptr && src->tilesAcross == 1 && src->tilesDown == 1 &&
        src->tileTable[0][0].tile == nullptr) {
        const RIPTileSlot* slot = &src->tileTable[0][0];
        const std::int64_t bit = BitsFrom(slot, x0, bits);
        *bitOffset = static_cast<std::uint32_t>(bit % 8);
        return RowAt(slot, row) + bit / 8;
    }
    const std::int32_t outBits = block.converter != nullptr ? workingBits : bits;
    const std::size_t need = (static_cast<std::size_t>(x1 - x0 + 1) * static_cast<std::size_t>(std::max(outBits, 8))) / 8 + 16;
    if (work.size() < need) {
        try {
            work.resize(std::max(need, 4 * static_cast<std::size_t>(src->width) + 16));
        } catch (const std::bad_alloc&) {
            return nullptr;
        }
    }
    std::uint8_t* out = work.data();
    const std::int32_t outStep = outBits / 8;
    for (std::int32_t x = x0; x <= x1;) {
        RIPTileSlot* slot = RIPSlotAt(src, x, row);
        if (slot == nullptr || RIPTileLockWrite(slot) == 0) return nullptr;
        const std::int32_t end = std::min(slot->right, x1);
        const auto n = static_cast<std::uint32_t>(end - x + 1);
        const std::size_t at = static_cast<std::size_t>(x - x0);
        int ok = 1;
        if (slot->data == nullptr) {
            // A solid tile: its colour once, converted once, repeated over the run.
            std::uint8_t pixel[8] = {};
            std::uint8_t working[8] = {};
            const colour::ColorRecord* solid = RIPTileInlineData(slot);
            ok = solid != nullptr && RIPSolidPixel(*solid, pixel) != 0;
            if (ok != 0 && block.converter != nullptr) {
                block.context.srcBitOffset = 0;
                ok = block.converter(&block.context, 1, working, pixel);
                if (ok != 0) Repeat(out + at * static_cast<std::size_t>(outStep), working, outStep, n);
            } else if (ok != 0 && bits == 1) {
                RIPSetBitRun(out, static_cast<std::uint32_t>(at), n, pixel[0] != 0 ? 1 : 0);
            } else if (ok != 0) {
                Repeat(out + at * static_cast<std::size_t>(bits / 8), pixel, bits / 8, n);
            }
        } else {
            const std::int64_t bit = BitsFrom(slot, x, bits);
            const std::uint8_t* from = RowAt(slot, row) + bit / 8;
            if (block.converter != nullptr) {
                block.context.srcBitOffset = static_cast<std::uint32_t>(bit % 8);
                ok = block.converter(&block.context, n, out + at * static_cast<std::size_t>(outStep), from);
            } else if (bits == 1) {
                RIPCopyBitsAtOffset(out, static_cast<std::uint32_t>(at), from, static_cast<std::uint32_t>(bit % 8), n);
            } else {
                std::memcpy(out + at * static_cast<std::size_t>(bits / 8), from, n * static_cast<std::size_t>(bits / 8));
            }
        }
        if (RIPTileUnlock(slot) == 0 || ok == 0) return nullptr;
        x = end + 1;
    }
    return out;
}

int RIPStretchRowsNearest(RIPBlitContext* ctx, std::int32_t y) {
    if (y < ctx->dstClip.bottom || y > ctx->dstClip.top) return 0;
    const std::int64_t ws = ctx->srcWidth, wd = ctx->dstWidth;
    const std::int64_t hs = ctx->srcHeight, hd = ctx->dstHeight;
    const auto sy = static_cast<std::int32_t>(std::clamp<std::int64_t>(
        (static_cast<std::int64_t>(y) - ctx->dstRect.bottom) * hs / hd + ctx->srcRect.bottom, 0, ctx->src->height - 1));
    if (sy == ctx->cachedSourceRow) return 1;
    RIPSampleLayout layout;
    if (!RIPSampleLayoutOf(ctx->workingType, &layout)) return 0;
    // The band's first column and the first source column it meets, with the
    // stepping error's start; the last source column the band needs.
    const std::int64_t x = static_cast<std::int64_t>(ctx->band.left) - ctx->dstRect.left;
    const std::int64_t first = x * ws / wd + ctx->srcRect.left;
    const std::int64_t r = x * ws % wd;
    const std::int64_t last = ((static_cast<std::int64_t>(ctx->band.right) - ctx->dstRect.left + 1) * ws - 1) / wd + ctx->srcRect.left;
    std::uint32_t bit = 0;
    const std::uint8_t* run = RIPFetchSourceRun(ctx, sy, static_cast<std::int32_t>(first), static_cast<std::int32_t>(last), &bit);
    if (run == nullptr || first < 0 || last >= ctx->src->width) return 0;
    const int ok = RIPResampleRowNearest(layout, ctx->output.data(), 0, run, bit, wd, ws,
                                         static_cast<std::uint32_t>(ctx->band.Width()), last - first + 1, wd - r);
    ctx->cachedSourceRow = ok != 0 ? sy : -1;
    return ok;
}

int RIPBlitRowConverted(void* p, std::int32_t x, std::int32_t y, std::uint32_t n,
                        const kernels::RIPKernelCoverage* coverage) {
    RIPBlitContext* ctx = Ctx(p);
    const std::uint8_t* source = nullptr;
    std::uint32_t srcBit = 0;
    if (ctx->stretchMode == kStretchNone) {
        const std::int32_t column = x + ctx->srcRect.left - ctx->dstRect.left;
        if (ctx->toWorking.converter != nullptr) {
            const std::int32_t row = y + ctx->srcRect.bottom - ctx->dstRect.bottom;
            source = RIPFetchSourceRun(ctx, row, column, column + static_cast<std::int32_t>(n) - 1, &srcBit);
            if (source == nullptr) return 0;
        } else {
            const std::int64_t bit = BitsFrom(ctx->srcSlot, column, ctx->src->bitsPerPixel);
            source = ctx->srcRow + bit / 8;
            srcBit = static_cast<std::uint32_t>(bit % 8);
        }
    } else {
        if (!ctx->rowProduced && CopiesWholeRow(ctx, x, n, coverage)) {
            // The smooth producer writes the destination row itself.
            ctx->rowTarget = ctx->dstRow + BitsFrom(ctx->dstSlot, x, ctx->dst->bitsPerPixel) / 8;
            const int ok = ctx->producer(ctx, y);
            ctx->rowTarget = nullptr;
            return ok;
        }
        if (!ctx->rowProduced) {
            if (ctx->producer == nullptr || ctx->producer(ctx, y) == 0) return 0;
            ctx->rowProduced = true;
        }
        const std::int64_t bit = static_cast<std::int64_t>(x - ctx->band.left) * ctx->workingBits;
        source = ctx->output.data() + bit / 8;
        srcBit = static_cast<std::uint32_t>(bit % 8);
    }
    const std::int64_t dbit = BitsFrom(ctx->dstSlot, x, ctx->dst->bitsPerPixel);
    std::uint8_t* address = ctx->dstRow + dbit / 8;
    const auto dstBit = static_cast<std::uint32_t>(dbit % 8);
    std::uint8_t* target = address;
    std::uint32_t targetBit = dstBit;
    if (ctx->destinationToWorking.converter != nullptr) {
        ctx->destinationToWorking.context.srcBitOffset = dstBit;
        if (ctx->destinationToWorking.converter(&ctx->destinationToWorking.context, n, ctx->dstWork.data(), address) == 0) {
            return 0;
        }
        target = ctx->dstWork.data();
        targetBit = 0;
    } else if (ctx->workingToDestination.converter != nullptr) {
        target = ctx->dstWork.data();
        targetBit = 0;
    }
    ctx->params.srcBitOffset = srcBit;
    ctx->params.dstBitOffset = targetBit;
    const kernels::RIPBlitKernel kernel = KernelFor(ctx, coverage);
    if (kernel == nullptr) return 0;
    kernel(&ctx->params, n, target + ctx->dstChannelOffset, source + ctx->srcChannelOffset, coverage);
    if (ctx->workingToDestination.converter != nullptr) {
        ctx->workingToDestination.context.dstBitOffset = dstBit;
        return ctx->workingToDestination.converter(&ctx->workingToDestination.context, n, address, target);
    }
    return 1;
}

}  // namespace raster::blit
