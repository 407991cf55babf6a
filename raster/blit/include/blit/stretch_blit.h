// The blit and stretch pipeline's entry and its paths: validation, the
// extreme-ratio guard, clipping, the fast paths that bypass the kernels
// (tile copy, in-place inversion, same-type stretch) and the tile loops that
// hand bands to the band runner.
#pragma once

#include <cstdint>

#include "blit/blit_context.h"
#include "raster/rect.h"

namespace raster {
struct RIPImage;
struct RIPRasterState;
}  // namespace raster

namespace raster::blit {

// The pipeline behind raster::RIPStretchBlitInContext (same arguments and results).
int RIPStretchBlit(RIPRasterState* rs, RIPImage* dst, std::int32_t dx, std::int32_t dy, std::int32_t dw,
                   std::int32_t dh, const RIPRect* dstRect, RIPImage* src, std::int32_t sx, std::int32_t sy,
                   std::int32_t sw, std::int32_t sh, const RIPRect* srcRect, std::uint32_t flags);
// Installs RIPStretchBlit as the raster library's blit entry; the module's
// start-up calls it once (calling it again changes nothing).
void RIPInstallBlitPipeline();

// A scale of 2^30 or more in either direction: an enlargement fills the
// destination with the colour of the source pixel under (dx, dy); a
// reduction draws nothing and answers 0.
int RIPBlitExtremeRatioFill(RIPRasterState* rs, RIPImage* dst, std::int32_t dx, std::int32_t dy,
                            std::int32_t dw, std::int32_t dh, const RIPRect& dstRect, RIPImage* src,
                            const RIPRect& srcRect);

// Unscaled: every destination tile over the clip against the source tiles
// under it, through the band runner; with `share`, whole tiles on aligned
// grids are shared instead of painted.
int RIPBlitTilePairs(RIPBlitContext* ctx, const RIPBandCallbacks& callbacks, bool share);
// Unscaled logic modes (1, 3, 5, 6, 7, 25) between grey or bilevel images on
// aligned grids: a whole destination tile over a whole source tile, both
// solid, takes the merged colour and stays solid; every other piece goes
// through the band runner.
int RIPBlitAlignedTilesSolid(RIPBlitContext* ctx, const RIPBandCallbacks& callbacks);
// Scaled: every destination tile over the clip through the band runner.
int RIPStretchBlitTiles(RIPBlitContext* ctx, const RIPBandCallbacks& callbacks);
// A scaled copy between images of one type: each destination row produced
// and copied into its tile.
int RIPStretchBlitSameType(RIPBlitContext* ctx);
// A blit of an image onto itself that would read pixels it has written:
// scaled, or unscaled with overlapping source and destination clips.
bool RIPBlitNeedsSourceCopy(const RIPBlitContext* ctx);
// Runs such a blit (clip, rectangles and flags as the call gave them) from a
// copy of the source pixels it reads.
int RIPBlitFromSourceCopy(RIPRasterState* rs, const RIPBlitContext* ctx, const RIPRect& clip, std::uint32_t flags);
// Merge mode 5 (or 6 onto itself): every byte of the clip inverted in place,
// solid tiles kept solid.
int RIPBlitInvertInPlace(RIPBlitContext* ctx);

}  // namespace raster::blit
