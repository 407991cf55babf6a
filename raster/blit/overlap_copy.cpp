// Blits of an image onto itself whose source and destination overlap. The
// tile walks go bottom row first, left to right, and a merge reads the
// destination as it writes, so an overlapping source would be read after part
// of it was written. Such a blit reads from a copy of the source pixels it
// uses instead: the result is that of reading the whole source first.
#include "blit/stretch_blit.h"

#include "raster/image.h"

namespace raster::blit {

bool RIPBlitNeedsSourceCopy(const RIPBlitContext* ctx) {
    if (ctx->src != ctx->dst || ctx->mergeMode == kernels::kModeInvert) return false;  // inversion reads no source
    const bool unscaled = ctx->srcWidth == ctx->dstWidth && ctx->srcHeight == ctx->dstHeight;
    if (unscaled && ctx->srcClip == ctx->dstClip) return false;  // every pixel onto itself
    if (!unscaled) return true;  // smoothing reads beyond the clip: the whole image is copied
    RIPRect meet;
    return RIPRectIntersect(&meet, ctx->srcClip, ctx->dstClip) != 0;
}

int RIPBlitFromSourceCopy(RIPRasterState* rs, const RIPBlitContext* ctx, const RIPRect& clip, std::uint32_t flags) {
    RIPImage* image = ctx->src;
    const bool unscaled = ctx->srcWidth == ctx->dstWidth && ctx->srcHeight == ctx->dstHeight;
    // Unscaled, only the clip is read; its left edge is kept on a byte so
    // that bilevel rows keep their bit offset.
    RIPRect read = unscaled ? ctx->srcClip : image->bounds;
    read.left &= ~7;
    const auto width = static_cast<std::int32_t>(read.Width());
    const auto height = static_cast<std::int32_t>(read.Height());
    RIPImage* copy =
        image->type == kTypePaletted
            ? RIPCreatePalettedImageEx(image->palette, width, height, image->bitsPerPixel, image->planes,
                                       image->xResolution, image->yResolution, kAllowTiling, nullptr, 0)
            : RIPCreateImageEx(image->type, width, height, image->xResolution, image->yResolution, kAllowTiling,
                               nullptr, 0);
    if (copy == nullptr) return 0;
    int result = RIPStretchBlit(nullptr, copy, 0, 0, width, height, nullptr, image, read.left, read.bottom, width,
                                height, nullptr, kernels::kModeSet);
    if (result != 0) {
        // The copy stands where the source stood: its alpha plane and mask
        // are the image's own, placed as before.
        copy->linkedImage = image->linkedImage;
        copy->linkedBounds = image->linkedBounds;
        RIPRectOffset(&copy->linkedBounds, -read.left, -read.bottom);
        copy->mask = image->mask;
        copy->maskBounds = image->maskBounds;
        RIPRectOffset(&copy->maskBounds, -read.left, -read.bottom);
        RIPRect from = ctx->srcRect;
        RIPRectOffset(&from, -read.left, -read.bottom);
        result = RIPStretchBlit(rs, image, clip.left, clip.bottom, static_cast<std::int32_t>(clip.Width()),
                                static_cast<std::int32_t>(clip.Height()), &ctx->dstRect, copy, 0, 0, 0, 0, &from,
                                flags);
        copy->linkedImage = nullptr;
        copy->mask = nullptr;
    }
    RIPDestroyImage(copy);
    return result;
}

}  // namespace raster::blit
