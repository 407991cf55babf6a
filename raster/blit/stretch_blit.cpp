// The blit entry: validation, the extreme-ratio guard, clipping, and the
// choice among the fast paths and the tile loops.
#include "blit/stretch_blit.h"

#include "raster/blit_entry.h"
#include "raster/fill_rect.h"
#include "raster/pixel_access.h"
#include "raster/raster_state.h"
#include "raster/region.h"
#include "raster/storage.h"

namespace raster::blit {
namespace {

constexpr std::int64_t kExtremeRatio = 1073741824;  // 2^30

bool GreyKind(std::int32_t t) { return t == kTypeGrey8 || t == kTypeCoverage; }
bool SameType(const RIPImage* a, const RIPImage* b) {
    return a->type == b->type || (GreyKind(a->type) && GreyKind(b->type));
}
bool ByteMultiple(const RIPImage* image) { return image->bitsPerPixel % 8 == 0; }
bool Tiled(const RIPImage* image) { return image->storageKind == kStorageTiled; }

// The grids of both images meet: tiled alike and the rectangles apart by whole tiles.
bool GridsAligned(const RIPBlitContext* ctx) {
    const RIPImage* d = ctx->dst;
    const RIPImage* s = ctx->src;
    return Tiled(d) && Tiled(s) && d->tileWidth == s->tileWidth && d->tileHeight == s->tileHeight &&
           (static_cast<std::int64_t>(ctx->srcClip.left) - ctx->dstClip.left) % d->tileWidth == 0 &&
           (static_cast<std::int64_t>(ctx->srcClip.bottom) - ctx->dstClip.bottom) % d->tileHeight == 0;
}

// The logic modes that can merge two solid grey or bilevel tiles into one
// solid tile: unscaled, without masks, coverage or conversion, on aligned grids.
bool AlignedLogic(const RIPBlitContext* ctx, bool masks) {
    using namespace kernels;
    const std::uint32_t mode = ctx->mergeMode;
    const bool logic = mode == kModeAnd || mode == kModeXor || mode == kModeInvert || mode == kModeSetInverse ||
                       mode == kModeAdd || mode == kModeSubtract;
    const auto oneByteOrBit = [](std::int32_t t) { return t == kTypeBilevel || GreyKind(t); };
    return logic && oneByteOrBit(ctx->src->type) && oneByteOrBit(ctx->dst->type) && !masks && !ctx->coverage &&
           !ctx->converted && !ctx->channelBlit && ctx->stretchMode == kStretchNone && ctx->src->palette == nullptr &&
           GridsAligned(ctx);
}

// The clip covers both whole images of one size.
bool WholeImages(const RIPBlitContext* ctx) {
    return ctx->dst->width == ctx->src->width && ctx->dst->height == ctx->src->height &&
           ctx->dstClip == ctx->dst->bounds && ctx->srcClip == ctx->src->bounds;
}

int Run(RIPBlitContext* ctx, RIPRasterState* rs) {
    RIPImage* dst = ctx->dst;
    RIPImage* src = ctx->src;
    const std::uint32_t mode = ctx->mergeMode;
    const std::uint32_t flags = ctx->flags;
    const bool dstMask = dst->mask != nullptr && dst->mask->runs != nullptr && (flags & kBlitIgnoreDestinationMask) == 0;
    const bool dstAlpha = dst->linkedImage != nullptr && (flags & kBlitIgnoreDestinationAlpha) == 0;
    const bool srcMask = (flags & kBlitUseSourceMask) != 0 && src->mask != nullptr && src->mask->runs != nullptr;
    const bool srcAlpha = (flags & kBlitUseSourceAlpha) != 0 && src->linkedImage != nullptr;
    const bool parts = dstMask || dstAlpha || srcMask || srcAlpha;
    const bool sameSize = ctx->srcWidth == ctx->dstWidth && ctx->srcHeight == ctx->dstHeight;
    const bool oneType = SameType(dst, src) && ByteMultiple(dst) && ByteMultiple(src) && dst->palette == src->palette;
    const bool opaque = ctx->opacity == 255;
    const bool plain = ChannelSelect(flags) == 0;

    if (sameSize && oneType && !parts && opaque && plain) {
        if (mode == kernels::kModeSet && src != dst) {
            if (GridsAligned(ctx) && WholeImages(ctx)) return RIPShareTiles(nullptr, dst, src);
            ctx->solidSource = true;
            RIPBandCallbacks copy;
            copy.context = ctx;
            copy.begin = &RIPBlitContextBeginBandDirect;
            copy.paint = &RIPBlitBandCopy;
            return RIPBlitTilePairs(ctx, copy, GridsAligned(ctx));
        }
        if ((mode == kernels::kModeInvert || (mode == kernels::kModeSetInverse && src == dst)) &&
            dst->type != kTypePaletted) {
            return RIPBlitInvertInPlace(ctx);
        }
    }
    if (sameSize) {
        ctx->stretchMode = kStretchNone;
    } else {
        // Every stretch mode but smooth is nearest.
        ctx->stretchMode = rs != nullptr && rs->stretchMode == kStretchSmooth ? kStretchSmoothRows : kStretchNearestRows;
        ctx->alphaGated = ctx->stretchMode == kStretchSmoothRows &&
                          (flags & (kBlitUseSourceAlpha | kBlitAlphaGatedSmoothing)) != 0 && src->linkedImage != nullptr;
        if (SameType(dst, src) && ByteMultiple(dst) && ByteMultiple(src) && !parts && mode == kernels::kModeSet &&
            dst->palette == src->palette && opaque && plain && src != dst &&
            !(ctx->stretchMode == kStretchSmoothRows && (src->type == kTypePaletted || src->linkedImage != nullptr))) {
            return RIPStretchBlitSameType(ctx);
        }
    }
    ctx->coverage = parts || !opaque;
    RIPBandCallbacks callbacks;
    if (RIPBlitContextBegin(ctx, &callbacks, mode, ChannelSelect(flags)) == 0) return 1;
    for (RIPConverterBlock* block : {&ctx->toWorking, &ctx->destinationToWorking, &ctx->workingToDestination}) {
        block->context.conversionKinds = rs != nullptr ? rs->conversionKinds : nullptr;
        block->context.cmykToRGBMode = rs != nullptr ? rs->cmykToRGBMode : 1;
    }
    ctx->sameImage = src == dst;
    // Nothing to do when every column the call could use is the empty kernel.
    const kernels::RIPBlitKernelRow& row = *ctx->kernelRow;
    bool changes = row[0] != kernels::kRIPBlitNoOp;
    for (std::size_t c = 1; c < row.size() && ctx->coverage && !changes; ++c) changes = row[c] != kernels::kRIPBlitNoOp;
    if (!changes) return 1;
    RIPBlitChooseKernels(ctx);
    if (ctx->converted && !ctx->coverage && (mode == kernels::kModeSet || mode == kernels::kModeSetInverse)) {
        ctx->destinationToWorking.converter = nullptr;  // the merge does not read the destination
    }
    ctx->solidSource = callbacks.paint == &RIPBlitBandCopy;
    if (ctx->stretchMode == kStretchNone) {
        if (AlignedLogic(ctx, dstMask || srcMask)) return RIPBlitAlignedTilesSolid(ctx, callbacks);
        return RIPBlitTilePairs(ctx, callbacks, callbacks.paint == &RIPBlitBandCopy && GridsAligned(ctx));
    }
    if (RIPBlitPrepareStretch(ctx) == 0) return 0;
    return RIPStretchBlitTiles(ctx, callbacks);
}

}  // namespace

int RIPBlitExtremeRatioFill(RIPRasterState* rs, RIPImage* dst, std::int32_t dx, std::int32_t dy, std::int32_t dw,
                            std::int32_t dh, const RIPRect& dstRect, RIPImage* src, const RIPRect& srcRect) {
    const std::int64_t wd = dstRect.Width(), hd = dstRect.Height();
    const std::int64_t ws = srcRect.Width(), hs = srcRect.Height();
    // An extreme reduction draws nothing and answers 0: the colour it would
    // pick has no raster state to be painted with.
    if (wd <= ws && hd <= hs) return 0;
    auto x = static_cast<std::int64_t>(static_cast<double>(dx - dstRect.left) * static_cast<double>(ws) /
                                           static_cast<double>(wd) + srcRect.left);
    auto y = static_cast<std::int64_t>(static_cast<double>(dy - dstRect.bottom) * static_cast<double>(hs) /
                                           static_cast<double>(hd) + srcRect.bottom);
    if (x < 0 || x >= src->width || y < 0 || y >= src->height) {
        x = src->width / 2;
        y = src->height / 2;
    }
    colour::ColorRecord colour;
    if (RIPResolveColour(&colour, nullptr, src, static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)) == 0) {
        return 0;
    }
    return RIPFillRect(rs, dst, dx, dy, dw, dh, nullptr, 0, nullptr, 0, &colour, 0);
}

int RIPStretchBlit(RIPRasterState* rs, RIPImage* dst, std::int32_t dx, std::int32_t dy, std::int32_t dw,
                   std::int32_t dh, const RIPRect* dstRectIn, RIPImage* src, std::int32_t sx, std::int32_t sy,
                   std::int32_t sw, std::int32_t sh, const RIPRect* srcRectIn, std::uint32_t flags) {
    const bool bothRects = dstRectIn != nullptr && srcRectIn != nullptr;
    if (dw < 1 || dh < 1) return 1;
    if (src != nullptr && !bothRects && (sw < 1 || sh < 1)) return 1;
    const std::uint8_t opacity = rs != nullptr ? rs->opacity : 255;
    if (opacity == 0 || (flags & kBlitModeMask) >= kernels::kModeNone || dst == nullptr) return 1;
    if (src == nullptr) {
        src = dst;
        sx = dx;
        sy = dy;
        sw = dw;
        sh = dh;
    }
    if ((src->type == kTypePaletted && src->bitsPerPixel != 8) || (dst->type == kTypePaletted && dst->bitsPerPixel != 8)) {
        return 1;
    }
    if (dst->tileTable == nullptr || src->tileTable == nullptr) return 0;
    const auto rectOf = [](std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
        return RIPRect{x, static_cast<std::int32_t>(std::int64_t{y} + h - 1), static_cast<std::int32_t>(std::int64_t{x} + w - 1), y};
    };
    const RIPRect clip = rectOf(dx, dy, dw, dh);
    const RIPRect dstRect = bothRects ? *dstRectIn : clip;
    const RIPRect srcRect = bothRects ? *srcRectIn : rectOf(sx, sy, sw, sh);
    if (RIPRectIsEmpty(dstRect) != 0 || RIPRectIsEmpty(srcRect) != 0) return 1;
    const std::int64_t wd = dstRect.Width(), hd = dstRect.Height();
    const std::int64_t ws = srcRect.Width(), hs = srcRect.Height();
    if (kExtremeRatio / wd <= ws || kExtremeRatio / ws <= wd || kExtremeRatio / hd <= hs || kExtremeRatio / hs <= hd) {
        return RIPBlitExtremeRatioFill(rs, dst, dx, dy, dw, dh, dstRect, src, srcRect);
    }
    int empty = 0;
    RIPBlitContext* ctx = RIPBlitContextCreate(dst, clip, dstRect, src, srcRect, flags, &empty);
    if (ctx == nullptr) return empty != 0 ? 1 : 0;
    if (RIPBlitNeedsSourceCopy(ctx)) {
        const int result = RIPBlitFromSourceCopy(rs, ctx, clip, flags);
        RIPBlitContextFree(ctx);
        return result;
    }
    ctx->state = rs;
    ctx->opacity = opacity;
    ctx->sameImage = src == dst;
    const int result = Run(ctx, rs);
    RIPBlitContextFree(ctx);
    return result;
}

void RIPInstallBlitPipeline() { RIPSetStretchBlitEntry(&RIPStretchBlit); }

}  // namespace raster::blit
