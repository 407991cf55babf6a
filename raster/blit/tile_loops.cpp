// The blit's tile walks: unscaled tile pairs (shared when whole and
// aligned), scaled destination tiles, the same-type stretch copy and the
// in-place inversion.
#include <algorithm>
#include <cstring>

#include "blit/resample.h"
#include "blit/stretch_blit.h"
#include "raster/mapping.h"
#include "raster/pixel_colour.h"
#include "raster/progress.h"
#include "raster/progress_countdown.h"
#include "raster/raster_state.h"
#include "raster/region.h"
#include "raster/storage.h"
#include "raster/tile_cursor.h"

namespace raster::blit {
namespace {

std::uint32_t TilesOver(const RIPImage* image, const RIPRect& r) {
    if (image->tileWidth < 1 || image->tileHeight < 1) return 1;
    const std::int64_t across = r.right / image->tileWidth - r.left / image->tileWidth + 1;
    const std::int64_t down = r.top / image->tileHeight - r.bottom / image->tileHeight + 1;
    return static_cast<std::uint32_t>(std::min<std::int64_t>(across * down, 0x7FFFFFFF));
}

bool IsWholeSlot(const RIPTileSlot* slot, const RIPRect& piece) { return slot->Bounds() == piece; }

// The coverage sources that take part, in the runner's order.
int CoverageSources(const RIPBlitContext* ctx, RIPCoverageSource* sources, const RIPRegion* scaledRegion,
                    const RIPRect& scaledRegionRect, RIPImage* scaledAlpha, const RIPRect& scaledAlphaRect) {
    int n = 0;
    const RIPImage* dst = ctx->dst;
    const RIPImage* src = ctx->src;
    if (dst->mask != nullptr && dst->mask->runs != nullptr && (ctx->flags & kBlitIgnoreDestinationMask) == 0) {
        sources[n++] = RIPCoverageSource{dst->mask, nullptr, dst->maskBounds, false};
    }
    if (dst->linkedImage != nullptr && (ctx->flags & kBlitIgnoreDestinationAlpha) == 0) {
        sources[n++] = RIPCoverageSource{nullptr, dst->linkedImage, dst->linkedBounds, false};
    }
    if (ctx->stretchMode == kStretchNone) {
        if ((ctx->flags & kBlitUseSourceMask) != 0 && src->mask != nullptr && src->mask->runs != nullptr) {
            sources[n++] = RIPCoverageSource{src->mask, nullptr, src->maskBounds, true};
        }
        if ((ctx->flags & kBlitUseSourceAlpha) != 0 && src->linkedImage != nullptr) {
            sources[n++] = RIPCoverageSource{nullptr, src->linkedImage, src->linkedBounds, true};
        }
    } else {
        if (scaledRegion != nullptr) sources[n++] = RIPCoverageSource{scaledRegion, nullptr, scaledRegionRect, false};
        if (scaledAlpha != nullptr) sources[n++] = RIPCoverageSource{nullptr, scaledAlpha, scaledAlphaRect, false};
    }
    return n;
}

// Paints one destination piece (its slot locked, in ctx->dstSlot) against the
// source tiles under it, the piece moved by (shiftX, shiftY) into the source.
int PaintPiece(RIPBlitContext* ctx, const RIPBandCallbacks& callbacks, const RIPCoverageSource* sources, int count,
               const RIPRect& piece, std::int32_t shiftX, std::int32_t shiftY, RIPTileLockMode sourceLock) {
    RIPRect shifted = piece;
    RIPRectOffset(&shifted, shiftX, shiftY);
    int result = 1;
    RIPRowIter inner;
    for (RIPTileSlot* s = RIPRowIterBegin(&inner, ctx->src, shifted, sourceLock); s != nullptr;
         s = RIPRowIterNext(&inner)) {
        ctx->srcSlot = s;
        RIPRect band = inner.piece;
        RIPRectOffset(&band, -shiftX, -shiftY);
        if (RIPRunBand(ctx->state, &callbacks, band, &inner.piece, sources, count) == 0) {
            result = 0;
            break;
        }
    }
    if (RIPRowIterEnd(&inner) == 0) result = 0;
    return result;
}

// The colour of a slot's solid tile, read under a compact lock: 1 solid, 0
// a tile of pixels (or no tile), -1 a failed lock.
int ReadSolid(RIPTileSlot* slot, colour::ColorRecord* colour) {
    if (slot == nullptr || slot->tile == nullptr) return 0;
    if (RIPTileLockWrite(slot) == 0) return -1;
    const colour::ColorRecord* found = slot->data == nullptr ? RIPTileInlineData(slot) : nullptr;
    if (found != nullptr) *colour = *found;
    if (RIPTileUnlock(slot) == 0) return -1;
    return found != nullptr ? 1 : 0;
}

// A logic mode between two whole solid tiles of one-byte grey or bilevel
// pixels: the kernel the call paints with runs once on the two colours and
// the destination tile becomes a solid tile of the result, so no pixels are
// ever made. Inverting needs no solid source and setting the inverse no
// solid destination. 1 done, 0 not both solid (the band runner paints the
// tile), -1 failed.
int CombineSolidTiles(RIPBlitContext* ctx, RIPTileSlot* dst, RIPTileSlot* src) {
    const bool bilevel = ctx->dst->type == kTypeBilevel;
    const auto solidPixel = [](RIPTileSlot* slot, std::uint8_t* pixel) {
        colour::ColorRecord colour;
        const int solid = ReadSolid(slot, &colour);
        if (solid <= 0) return solid;
        return RIPSolidPixel(colour, pixel) == 1 ? 1 : 0;
    };
    std::uint8_t d[8] = {}, s[8] = {};
    if (ctx->mergeMode != kernels::kModeSetInverse) {
        const int solid = solidPixel(dst, d);
        if (solid <= 0) return solid;
    }
    if (ctx->mergeMode != kernels::kModeInvert) {
        const int solid = solidPixel(src, s);
        if (solid <= 0) return solid;
    }
    kernels::RIPKernelCoverage coverage;
    coverage.opacity = 255;
    ctx->params.srcBitOffset = ctx->params.dstBitOffset = 0;
    ctx->kernels[0](&ctx->params, 1, d, s, &coverage);
    // A bilevel pixel is the first bit of its byte.
    const colour::ColorRecord result =
        bilevel ? colour::ColorRecord::BW((d[0] & 0x80u) != 0 ? 1 : 0) : colour::ColorRecord::Grey(d[0]);
    return RIPFillTileSlot(dst, ctx->dst->bitsPerPixel, result) != 0 ? 1 : -1;
}

}  // namespace

int RIPBlitTilePairs(RIPBlitContext* ctx, const RIPBandCallbacks& callbacks, bool share) {
    RIPCoverageSource sources[kRIPMaxCoverageSources];
    const int count = CoverageSources(ctx, sources, nullptr, {}, nullptr, {});
    const std::int32_t shiftX = ctx->srcClip.left - ctx->dstClip.left;
    const std::int32_t shiftY = ctx->srcClip.bottom - ctx->dstClip.bottom;
    const RIPTileLockMode sourceLock = ctx->sameImage     ? kTileLockWrite
                                       : ctx->solidSource ? kTileLockReadCompact
                                                          : kTileLockRead;
    RIPProgressRange range;
    RIPProgressPushRange(&range, ctx->state, 1, TilesOver(ctx->dst, ctx->dstClip));
    RIPRowIter cursor;
    int result = 1;
    for (RIPTileSlot* slot = RIPRowIterBegin(&cursor, ctx->dst, ctx->dstClip, kTileLockWrite); slot != nullptr && result != 0;
         slot = RIPRowIterNext(&cursor)) {
        RIPRect shifted = cursor.piece;
        RIPRectOffset(&shifted, shiftX, shiftY);
        if (share && IsWholeSlot(slot, cursor.piece)) {
            RIPTileSlot* from = RIPSlotAt(ctx->src, shifted.left, shifted.bottom);
            if (from == nullptr || from->tile == nullptr) {
                result = 0;
                break;
            }
            // A tile given to itself stays as it is.
            if (from != slot && from->tile != slot->tile) {
                // The destination's lock is on the tile the share releases.
                if (RIPTileUnlock(slot) == 0 || RIPShareTileSlot(slot, from) == 0 || RIPTileLock(slot) == 0) {
                    result = 0;
                    break;
                }
            }
            RIPProgressStep(&range, 1);
            continue;
        }
        ctx->dstSlot = slot;
        result = PaintPiece(ctx, callbacks, sources, count, cursor.piece, shiftX, shiftY, sourceLock);
        RIPProgressStep(&range, 1);
    }
    RIPProgressPopRange(&range, ctx->state);
    const int ended = RIPRowIterEnd(&cursor);
    return result != 0 ? ended : 0;
}

int RIPBlitAlignedTilesSolid(RIPBlitContext* ctx, const RIPBandCallbacks& callbacks) {
    const std::int32_t shiftX = ctx->srcClip.left - ctx->dstClip.left;
    const std::int32_t shiftY = ctx->srcClip.bottom - ctx->dstClip.bottom;
    const RIPTileLockMode sourceLock = ctx->sameImage ? kTileLockWrite : kTileLockRead;
    RIPProgressRange range;
    RIPProgressPushRange(&range, ctx->state, 1, TilesOver(ctx->dst, ctx->dstClip));
    // The walk locks nothing itself: a solid pair is read under its own locks,
    // and only tiles handed to the band runner are locked for pixels.
    RIPRowIter cursor;
    int result = 1;
    for (RIPTileSlot* slot = RIPRowIterBegin(&cursor, ctx->dst, ctx->dstClip, kTileNoLock); slot != nullptr && result != 0;
         slot = RIPRowIterNext(&cursor)) {
        if (IsWholeSlot(slot, cursor.piece)) {
            const int combined =
                CombineSolidTiles(ctx, slot, RIPSlotAt(ctx->src, cursor.piece.left + shiftX, cursor.piece.bottom + shiftY));
            if (combined < 0) {
                result = 0;
                break;
            }
            if (combined > 0) {
                RIPProgressStep(&range, 1);
                continue;
            }
        }
        if (RIPTileLock(slot) == 0) {
            result = 0;
            break;
        }
        ctx->dstSlot = slot;
        result = PaintPiece(ctx, callbacks, nullptr, 0, cursor.piece, shiftX, shiftY, sourceLock);
        if (RIPTileUnlock(slot) == 0) result = 0;
        RIPProgressStep(&range, 1);
    }
    RIPProgressPopRange(&range, ctx->state);
    const int ended = RIPRowIterEnd(&cursor);
    return result != 0 ? ended : 0;
}

int RIPStretchBlitTiles(RIPBlitContext* ctx, const RIPBandCallbacks& callbacks) {
    RIPRegion* scaledRegion = nullptr;
    RIPRect regionRect;
    RIPImage* scaledAlpha = nullptr;
    RIPRect alphaRect = ctx->dstClip;
    int result = 1;
    RIPImage* src = ctx->src;
    if ((ctx->flags & kBlitUseSourceMask) != 0 && src->mask != nullptr && src->mask->runs != nullptr) {
        // The source's mask in destination space: its bounds mapped, its runs scaled.
        RIPRect mapped;
        if (RIPMapRectInverse(&mapped, nullptr, ctx->mapping, src->maskBounds) == 0 || mapped.Width() < 1 ||
            mapped.Height() < 1 || mapped.Width() > 0x7FFFFFFF || mapped.Height() > 0x7FFFFFFF) {
            return 1;
        }
        scaledRegion = RIPCreateRegion(static_cast<std::int32_t>(mapped.Width()), static_cast<std::int32_t>(mapped.Height()));
        const RIPRect to{0, static_cast<std::int32_t>(mapped.Height() - 1), static_cast<std::int32_t>(mapped.Width() - 1), 0};
        const RIPRect from{0, static_cast<std::int32_t>(src->maskBounds.Height() - 1),
                           static_cast<std::int32_t>(src->maskBounds.Width() - 1), 0};
        if (scaledRegion == nullptr || RIPScaleRegion(scaledRegion, to, src->mask, from) == 0) {
            RIPDestroyRegion(scaledRegion);
            return 0;
        }
        regionRect = mapped;
    }
    if ((ctx->flags & kBlitUseSourceAlpha) != 0 && src->linkedImage != nullptr) {
        // The source's alpha plane stretched over the clip.
        const RIPRect& clip = ctx->dstClip;
        scaledAlpha = RIPCreateImageEx(kTypeCoverage, static_cast<std::int32_t>(clip.Width()),
                                       static_cast<std::int32_t>(clip.Height()), 0, 0, kAllowTiling, nullptr, 0);
        RIPRect d = ctx->dstRect;
        RIPRectOffset(&d, -clip.left, -clip.bottom);
        RIPRect s = ctx->srcRect;
        RIPRectOffset(&s, -src->linkedBounds.left, -src->linkedBounds.bottom);
        if (scaledAlpha == nullptr ||
            RIPStretchBlit(nullptr, scaledAlpha, 0, 0, scaledAlpha->width, scaledAlpha->height, &d, src->linkedImage, 0,
                           0, 0, 0, &s, 0) == 0) {
            RIPDestroyRegion(scaledRegion);
            RIPDestroyImage(scaledAlpha);
            return 0;
        }
    }
    RIPCoverageSource sources[kRIPMaxCoverageSources];
    const int count = CoverageSources(ctx, sources, scaledRegion, regionRect, scaledAlpha, alphaRect);
    RIPProgressRange range;
    RIPProgressPushRange(&range, ctx->state, 1, TilesOver(ctx->dst, ctx->dstClip));
    RIPRowIter cursor;
    for (RIPTileSlot* slot = RIPRowIterBegin(&cursor, ctx->dst, ctx->dstClip, kTileLockWrite); slot != nullptr;
         slot = RIPRowIterNext(&cursor)) {
        ctx->dstSlot = slot;
        ctx->srcSlot = nullptr;
        if (RIPRunBand(ctx->state, &callbacks, cursor.piece, nullptr, sources, count) == 0) {
            result = 0;
            break;
        }
        RIPProgressStep(&range, 1);
    }
    RIPProgressPopRange(&range, ctx->state);
    const int ended = RIPRowIterEnd(&cursor);
    RIPDestroyRegion(scaledRegion);
    RIPDestroyImage(scaledAlpha);
    return result != 0 ? ended : 0;
}

int RIPStretchBlitSameType(RIPBlitContext* ctx) {
    ctx->workingType = ctx->src->type == kTypePaletted ? kTypeGrey8 : ctx->src->type;
    ctx->workingBits = ctx->src->type == kTypePaletted ? 8 : ctx->src->bitsPerPixel;
    ctx->toWorking = RIPConverterBlock{};
    if (RIPBlitPrepareStretch(ctx) == 0) return 0;
    const auto bytes = static_cast<std::size_t>(ctx->workingBits / 8);
    const bool smooth = ctx->stretchMode == kStretchSmoothRows;
    RIPProgressCountdown progress(ctx->state, TilesOver(ctx->dst, ctx->dstClip));
    RIPRowIter cursor;
    int result = 1;
    for (RIPTileSlot* slot = RIPRowIterBegin(&cursor, ctx->dst, ctx->dstClip, kTileLockOverwrite); slot != nullptr;
         slot = RIPRowIterNext(&cursor)) {
        ctx->band = cursor.piece;
        ctx->cachedSourceRow = -1;
        ctx->rowTags[0] = ctx->rowTags[1] = -1;
        const std::size_t n = static_cast<std::size_t>(cursor.piece.Width()) * bytes;
        std::uint8_t* row = slot->data + static_cast<std::ptrdiff_t>(cursor.piece.bottom - slot->bottom) * slot->rowBytes +
                            static_cast<std::size_t>(cursor.piece.left - slot->left) * bytes;
        for (std::int32_t y = cursor.piece.bottom; y <= cursor.piece.top; ++y, row += slot->rowBytes) {
            // The smooth producers write the row in place; the nearest one
            // keeps its output row for the next destination row.
            ctx->rowTarget = smooth ? row : nullptr;
            if (ctx->producer(ctx, y) == 0) {
                result = 0;
                break;
            }
            if (!smooth) std::memcpy(row, ctx->output.data(), n);
        }
        if (result == 0 || !progress.Step()) {
            result = 0;
            break;
        }
    }
    ctx->rowTarget = nullptr;
    const int ended = RIPRowIterEnd(&cursor);
    RIPBlitContextEnd(ctx);
    return result != 0 ? ended : 0;
}

int RIPBlitInvertInPlace(RIPBlitContext* ctx) {
    RIPImage* image = ctx->dst;
    const RIPRect& clip = ctx->dstClip;
    const std::int32_t bytes = image->bitsPerPixel / 8;
    RIPProgressCountdown progress(ctx->state, TilesOver(image, clip));
    const std::int32_t c0 = clip.left / image->tileWidth, c1 = clip.right / image->tileWidth;
    const std::int32_t r0 = clip.bottom / image->tileHeight, r1 = clip.top / image->tileHeight;
    for (std::int32_t r = r0; r <= r1; ++r) {
        for (std::int32_t c = c0; c <= c1; ++c) {
            RIPTileSlot* slot = &image->tileTable[r][c];
            RIPRect piece;
            RIPRectIntersect(&piece, clip, slot->Bounds());
            const bool whole = IsWholeSlot(slot, piece);
            // A whole solid tile keeps its form: its colour is inverted instead.
            colour::ColorRecord inverted;
            const int solid = whole ? ReadSolid(slot, &inverted) : 0;
            if (solid < 0) return 0;
            if (solid > 0) {
                std::uint8_t pixel[8] = {};
                const std::int32_t n = RIPSolidPixel(inverted, pixel);
                for (std::int32_t i = 0; i < n; ++i) pixel[i] = static_cast<std::uint8_t>(~pixel[i]);
                if (n == 0 || RIPPixelToColor(&inverted, pixel) == 0 ||
                    RIPFillTileSlot(slot, image->bitsPerPixel, inverted) == 0) {
                    return 0;
                }
                if (!progress.Step()) return 0;
                continue;
            }
            if (RIPTileLock(slot) == 0) {
                return 0;
            }
            const std::size_t n = static_cast<std::size_t>(piece.Width()) * static_cast<std::size_t>(bytes);
            std::uint8_t* row = slot->data + static_cast<std::ptrdiff_t>(piece.bottom - slot->bottom) * slot->rowBytes +
                                static_cast<std::size_t>(piece.left - slot->left) * static_cast<std::size_t>(bytes);
            for (std::int32_t y = piece.bottom; y <= piece.top; ++y, row += slot->rowBytes) {
                for (std::size_t i = 0; i < n; ++i) row[i] = static_cast<std::uint8_t>(~row[i]);
            }
            if (RIPTileUnlock(slot) == 0 || !progress.Step()) return 0;
        }
    }
    return 1;
}

}  // namespace raster::blit
