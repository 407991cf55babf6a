// The blit context: clipping both sides and mapping one onto the other,
// picking the kernel row (direct, channel or through a working format) and
// the band callbacks, and the stretch buffers.
#include "blit/blit_context.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "blit/resample.h"
#include "raster/kernel_select.h"
#include "raster/mapping.h"
#include "raster/palette.h"
#include "raster/pixel_colour.h"
#include "raster/raster_state.h"

namespace raster::blit {
namespace {

using kernels::RIPBlitKernelRow;

bool SameKind(std::int32_t a, std::int32_t b) {
    const auto grey = [](std::int32_t t) { return t == kTypeCoverage ? kTypeGrey8 : t; };
    return grey(a) == grey(b);
}

// The row serves when its opaque column holds a kernel and, with coverage,
// every coverage column does too.
bool Serves(const RIPBlitKernelRow* row, bool coverage) {
    if (row == nullptr || (*row)[0] == nullptr) return false;
    if (!coverage) return true;
    for (std::size_t c = 1; c < row->size(); ++c) {
        if ((*row)[c] == nullptr) return false;
    }
    return true;
}

std::int32_t StepOf(std::int32_t bits) { return (bits + 7) / 8; }

}  // namespace

std::int32_t RIPPixelBytes(std::int32_t type, std::int32_t bits) {
    return type == kTypeBilevel || bits < 8 ? 0 : bits / 8;
}

std::int32_t RIPSolidPixel(const colour::ColorRecord& colour, std::uint8_t* out) {
    switch (colour.Model()) {
        case colour::kModelCMYK: RIPColorToPixel(out, colour); return 4;
        case colour::kModelRGB:
        case colour::kModelLabOffset: RIPColorToPixel(out, colour); return 3;
        case colour::kModelGrey: RIPColorToPixel(out, colour); return 1;
        case colour::kModelPaletteIndex: out[0] = colour.bytes[8]; return 1;
        case colour::kModelBlackWhite: out[0] = colour.U32(8) != 0 ? 0xFF : 0x00; return 1;
        case colour::kModelRGB48: RIPColorToPixel(out, colour); return 6;
        case colour::kModelGrey16: RIPColorToPixel(out, colour); return 2;
        default: return 0;
    }
}

RIPBlitContext* RIPBlitContextCreate(RIPImage* dst, const RIPRect& clip, const RIPRect& dstRect, RIPImage* src,
                                     const RIPRect& srcRect, std::uint32_t flags, int* outEmpty) {
    *outEmpty = 0;
    auto* ctx = new (std::nothrow) RIPBlitContext;
    if (ctx == nullptr) return nullptr;
    ctx->mapping = RIPCreateRS();
    if (ctx->mapping == nullptr) {
        RIPBlitContextFree(ctx);
        return nullptr;
    }
    const auto empty = [&] {
        *outEmpty = 1;
        RIPBlitContextFree(ctx);
        return nullptr;
    };
    if (RIPSetRectMapping(ctx->mapping, srcRect, dstRect, 0) == 0) return empty();
    ctx->src = src;
    ctx->dst = dst;
    ctx->flags = flags;
    ctx->mergeMode = flags & kBlitModeMask;
    ctx->srcRect = srcRect;
    ctx->dstRect = dstRect;
    ctx->srcWidth = srcRect.Width();
    ctx->srcHeight = srcRect.Height();
    ctx->dstWidth = dstRect.Width();
    ctx->dstHeight = dstRect.Height();

    RIPRect d;
    if (RIPRectIntersect(&d, clip, dstRect) == 0 || RIPRectIntersect(&d, d, dst->bounds) == 0) return empty();
    if (dst->mask != nullptr && (flags & kBlitIgnoreDestinationMask) == 0 &&
        RIPRectIntersect(&d, d, dst->maskBounds) == 0) {
        return empty();
    }
    if (dst->linkedImage != nullptr && (flags & kBlitIgnoreDestinationAlpha) == 0 &&
        RIPRectIntersect(&d, d, dst->linkedBounds) == 0) {
        return empty();
    }
    RIPRect s;
    RIPRect whole;
    RIPRectFromImage(&whole, *src);
    if (RIPRectIntersect(&s, src->bounds, srcRect) == 0 || RIPRectIntersect(&s, s, whole) == 0) return empty();
    if ((flags & kBlitUseSourceMask) != 0 && src->mask != nullptr && RIPRectIntersect(&s, s, src->maskBounds) == 0) {
        return empty();
    }
    if ((flags & kBlitUseSourceAlpha) != 0 && src->linkedImage != nullptr &&
        RIPRectIntersect(&s, s, src->linkedBounds) == 0) {
        return empty();
    }
    RIPRect mapped;
    if (RIPMapRectInverseCorrected(&mapped, ctx->mapping, s) == 0 || RIPRectIntersect(&d, d, mapped) == 0) {
        return empty();
    }
    RIPRect back;
    if (RIPMapRect(&back, nullptr, ctx->mapping, d) == 0 || RIPRectIntersect(&back, back, whole) == 0) {
        return empty();
    }
    ctx->dstClip = d;
    ctx->srcClip = back;
    return ctx;
}

void RIPBlitContextFree(RIPBlitContext* ctx) {
    if (ctx == nullptr) return;
    RIPBlitContextEnd(ctx);
    if (ctx->mapping != nullptr) RIPDestroyRS(ctx->mapping);
    delete ctx;
}

int RIPBlitContextSetupConversion(RIPImage* dst, RIPImage* src, RIPBlitContext* ctx) {
    const RIPConversionRoute* route = RIPConversionRouteFor(src->type, dst->type);
    if (route == nullptr) return 0;
    ctx->toWorking.converter = route->toWorking;
    ctx->destinationToWorking.converter = route->destinationToWorking;
    ctx->workingToDestination.converter = route->workingToDestination;
    ctx->workingBits = static_cast<std::int32_t>(route->workingBits);
    ctx->workingType = static_cast<std::int32_t>(route->workingType);
    ctx->toWorking.context.palette = src->palette;
    ctx->destinationToWorking.context.palette = dst->palette;
    ctx->workingToDestination.context.palette = dst->palette;
    return 1;
}

void RIPBlitChooseKernels(RIPBlitContext* ctx) {
    const RIPBlitKernelRow& row = *ctx->kernelRow;
    if (ctx->opacity != 255) {
        ctx->kernels[0] = row[kernels::kCoverConstant];
        ctx->kernels[1] = row[kernels::kCoverMaskConstant];
        ctx->kernels[2] = row[kernels::kCoverMaskMaskConstant];
    } else {
        ctx->kernels[0] = row[kernels::kCoverOpaque];
        ctx->kernels[1] = row[kernels::kCoverMask];
        ctx->kernels[2] = row[kernels::kCoverMaskMask];
    }
}

int RIPBlitContextBegin(RIPBlitContext* ctx, RIPBandCallbacks* callbacks, std::uint32_t mergeMode,
                        std::uint32_t channelSelect) {
    RIPImage* src = ctx->src;
    RIPImage* dst = ctx->dst;
    ctx->params.srcPalette = src->palette;
    ctx->params.dstPalette = dst->palette;
    ctx->params.srcStep = StepOf(src->bitsPerPixel);
    ctx->params.dstStep = StepOf(dst->bitsPerPixel);
    ctx->params.random = &ctx->random;
    const bool unscaled = ctx->stretchMode == kStretchNone;
    const RIPBlitKernelRow* row = nullptr;
    ctx->converted = false;
    ctx->channelBlit = channelSelect != 0;
    if (!ctx->channelBlit) {
        ctx->srcChannelOffset = ctx->dstChannelOffset = 0;
        bool direct = false;
        if (SameKind(src->type, dst->type) &&
            (src->type != kTypePaletted ||
             ((unscaled || ctx->stretchMode == kStretchNearestRows) && !ctx->coverage &&
              RIPPalettesEqual(src->palette, dst->palette) != 0))) {
            row = RIPBlitKernelTableSelect(static_cast<std::uint32_t>(dst->type), dst->bitsPerPixel, mergeMode);
            direct = Serves(row, ctx->coverage);
        }
        ctx->converted = !direct;
        if (!direct) row = nullptr;
    } else {
        const auto wide = [](const RIPImage* image) {
            return image->type == kTypeRGB48 || image->type == kTypeGrey16 ? 2 : 1;
        };
        ctx->srcChannelOffset = (static_cast<std::int32_t>(channelSelect >> 4) - 1) * wide(src);
        ctx->dstChannelOffset = (static_cast<std::int32_t>(channelSelect & 0x0F) - 1) * wide(dst);
        if (ctx->srcChannelOffset < 0 || ctx->dstChannelOffset < 0 ||
            ctx->srcChannelOffset * 8 >= src->bitsPerPixel || ctx->dstChannelOffset * 8 >= dst->bitsPerPixel ||
            mergeMode >= kernels::kRIPMergeModeCount) {
            return 0;
        }
        row = wide(src) == 2 ? &kernels::RIPChannelKernels16[mergeMode] : &kernels::RIPChannelKernels8[mergeMode];
    }
    if (!ctx->converted) {
        ctx->workingType = src->type;
        ctx->workingBits = src->bitsPerPixel;
        if (src->type == kTypePaletted) {
            ctx->workingType = kTypeGrey8;
            ctx->workingBits = 8;
        }
        if (row == nullptr) {
            row = RIPBlitKernelTableSelect(static_cast<std::uint32_t>(dst->type), dst->bitsPerPixel, mergeMode);
        }
    } else {
        if (RIPBlitContextSetupConversion(dst, src, ctx) == 0) return 0;
        row = RIPBlitKernelTableSelect(static_cast<std::uint32_t>(ctx->workingType), ctx->workingBits, mergeMode);
        ctx->params.srcStep = ctx->params.dstStep = StepOf(ctx->workingBits);
    }
    ctx->params.channelsPerPixel = ctx->channelBlit ? 1u : static_cast<std::uint32_t>(ctx->workingBits / 8);
    if (!Serves(row, ctx->coverage)) return 0;
    ctx->kernelRow = row;

    callbacks->context = ctx;
    callbacks->end = &RIPBlitContextEndBand;
    if (unscaled && !ctx->converted && src->type != kTypeBilevel && dst->type != kTypeBilevel) {
        callbacks->begin = &RIPBlitContextBeginBandDirect;
        if (ctx->coverage) {
            callbacks->paint = &RIPBlitRowDirect;
            callbacks->next = &RIPBlitContextNextRow;
        } else {
            callbacks->paint = mergeMode == kernels::kModeSet && !ctx->channelBlit ? &RIPBlitBandCopy
                                                                                   : &RIPBlitBandKernel;
            callbacks->next = nullptr;
        }
    } else {
        callbacks->begin = &RIPBlitContextBeginBand;
        callbacks->paint = &RIPBlitRowConverted;
        callbacks->next = &RIPBlitContextNextRow;
    }
    if (unscaled) return 1;
    RIPSampleLayout layout;
    if (!RIPSampleLayoutOf(ctx->workingType, &layout)) return 0;
    if (ctx->stretchMode == kStretchSmoothRows) {
        if (ctx->workingType == kTypeBilevel) ctx->stretchMode = kStretchNearestRows;
        if (src->type == kTypePaletted && !ctx->converted) return 0;
    }
    return 1;
}

void RIPBlitContextEnd(RIPBlitContext* ctx) {
    if (ctx == nullptr) return;
    std::vector<std::uint8_t>().swap(ctx->srcWork);
    std::vector<std::uint8_t>().swap(ctx->dstWork);
    std::vector<std::uint8_t>().swap(ctx->output);
    std::vector<std::uint8_t>().swap(ctx->workRows[0]);
    std::vector<std::uint8_t>().swap(ctx->workRows[1]);
    std::vector<std::uint64_t>().swap(ctx->accumulator);
    std::vector<std::uint8_t>().swap(ctx->alphaRows[0]);
    std::vector<std::uint8_t>().swap(ctx->alphaRows[1]);
    std::vector<std::uint8_t>().swap(ctx->alphaOutput);
    std::vector<std::uint8_t>().swap(ctx->heldRow);
    std::vector<std::uint64_t>().swap(ctx->weightSums);
    std::vector<float>().swap(ctx->gatedSums);
    std::vector<std::uint8_t>().swap(ctx->sampleMarks[0]);
    std::vector<std::uint8_t>().swap(ctx->sampleMarks[1]);
    ctx->sampleMarkTags[0] = ctx->sampleMarkTags[1] = -1;
    ctx->gatedColumns = RIPGatedColumns{};
    std::vector<std::uint8_t>().swap(ctx->alphaFetch);
    std::vector<std::uint8_t>().swap(ctx->alphaRun);
    ctx->rowTags[0] = ctx->rowTags[1] = -1;
    ctx->cachedSourceRow = -1;
}

int RIPBlitPrepareStretch(RIPBlitContext* ctx) {
    const std::int64_t width = ctx->dstClip.Width();
    const std::int32_t bytes = std::max(RIPPixelBytes(ctx->workingType, ctx->workingBits), 1);
    try {
        ctx->output.assign(static_cast<std::size_t>(width * bytes + 16), 0);
        if (ctx->stretchMode == kStretchSmoothRows) {
            // Two rows: an enlargement's, or a gated shrink's that mostly
            // meets two source rows, blended at once.
            const bool pairs = ctx->srcHeight < ctx->dstHeight || (ctx->alphaGated && ctx->srcHeight < 2 * ctx->dstHeight);
            const int rows = pairs ? 2 : 1;
            for (int r = 0; r < rows; ++r) ctx->workRows[r].assign(static_cast<std::size_t>(width * bytes + 16), 0);
            ctx->accumulator.assign(static_cast<std::size_t>(width * bytes), 0);
            ctx->producer = &RIPStretchRowsSmooth;
            if (ctx->alphaGated) {
                for (int r = 0; r < rows; ++r) ctx->alphaRows[r].assign(static_cast<std::size_t>(width), 0);
                ctx->alphaOutput.assign(static_cast<std::size_t>(width), 0);
                ctx->heldRow.assign(static_cast<std::size_t>(width * bytes), 0);
                ctx->weightSums.assign(static_cast<std::size_t>(width), 0);
                ctx->producer = &RIPStretchRowsSmoothAlpha;
            }
        } else {
            ctx->producer = &RIPStretchRowsNearest;
        }
    } catch (const std::bad_alloc&) {
        return 0;
    }
    ctx->rowTags[0] = ctx->rowTags[1] = -1;
    ctx->cachedSourceRow = -1;
    return 1;
}

}  // namespace raster::blit
