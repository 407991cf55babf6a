// One piece of a conversion as RIPConvertPair receives it: both images,
// their locked slots, the positions relative to the slots and the size.
#pragma once

#include <cstdint>

#include "convert_support.h"
#include "raster/image.h"
#include "raster/raster_state.h"

namespace raster::convert {

struct RIPPiece {
    RIPRasterState* state = nullptr;
    RIPImage* dst = nullptr;
    RIPTileSlot* dslot = nullptr;
    std::int32_t x = 0;
    std::int32_t y = 0;
    RIPImage* src = nullptr;
    RIPTileSlot* sslot = nullptr;
    std::int32_t sx = 0;
    std::int32_t sy = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    // The rows of the piece in both slots, with the packed pixels' bit offsets.
    RIPRowBlock Rows() const {
        RIPRowBlock b;
        b.dst = SlotPixel(dslot, x, y, dst->bitsPerPixel);
        b.dstStride = dslot->rowBytes;
        b.dstBit = SlotBit(x, dst->bitsPerPixel);
        b.src = SlotPixel(sslot, sx, sy, src->bitsPerPixel);
        b.srcStride = sslot->rowBytes;
        b.srcBit = SlotBit(sx, src->bitsPerPixel);
        b.width = width;
        b.rows = height;
        return b;
    }
    // The dither method; a call without a state uses the state's default.
    std::int32_t Method() const { return state != nullptr ? state->ditherMethod : 3; }
    // The absolute destination position of the first pixel: the phase of a threshold matrix.
    std::int32_t AbsoluteX() const { return dslot->left + x; }
    std::int32_t AbsoluteY() const { return dslot->bottom + y; }
};

// The method selectors of RIPConvertPair: each sets *handled when it took
// the piece (then its result is the pair's); left clear, the piece is blitted.
int RIPRemapPalettedImage(const RIPPiece& p, bool* handled);
int RIPConvertPalettedToBilevel(const RIPPiece& p, bool* handled);
int RIPConvertRGBToPaletted(const RIPPiece& p, bool* handled);
int RIPConvertGrayToPaletted(const RIPPiece& p, bool* handled);

}  // namespace raster::convert
