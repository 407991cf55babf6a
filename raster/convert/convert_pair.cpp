// RIPConvertPair: the switch over source and destination type for one piece
// inside two locked slots. Pairs without a converter of their own, and
// pieces a method selector leaves unhandled, go through the blit one to one.
#include "convert/convert_image.h"
#include "pair_piece.h"
#include "raster/blit_entry.h"
#include "raster/storage.h"

namespace raster::convert {
namespace {

bool InsideSlot(const RIPTileSlot* slot, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
    return x >= 0 && y >= 0 && w >= 1 && h >= 1 && std::int64_t{x} + w <= std::int64_t{slot->right} - slot->left + 1 &&
           std::int64_t{y} + h <= std::int64_t{slot->top} - slot->bottom + 1;
}

int BlitPiece(const RIPPiece& p) {
    return RIPStretchBlitInContext(p.state, p.dst, p.dslot->left + p.x, p.dslot->bottom + p.y, p.width, p.height,
                                   nullptr, p.src, p.sslot->left + p.sx, p.sslot->bottom + p.sy, p.width, p.height,
                                   nullptr, kIgnoreMask | kIgnoreLinkedImage);
}

// The converter for the pair; sets handled when the pair has one that took it.
int Dispatch(const RIPPiece& p, bool* handled) {
    const std::int32_t from = p.src->type == kTypeCoverage ? kTypeGrey8 : p.src->type;
    const std::int32_t to = p.dst->type == kTypeCoverage ? kTypeGrey8 : p.dst->type;
    if (from == kTypePaletted && to == kTypePaletted) return RIPRemapPalettedImage(p, handled);
    return 0;
}

}  // namespace

int RIPConvertPair(RIPRasterState* state, RIPImage* destination, RIPTileSlot* destinationSlot, std::int32_t x,
                   std::int32_t y, RIPImage* source, RIPTileSlot* sourceSlot, std::int32_t sourceX,
                   std::int32_t sourceY, std::int32_t width, std::int32_t height) {
    if (destination == nullptr || source == nullptr || destinationSlot == nullptr || sourceSlot == nullptr ||
        destinationSlot->data == nullptr || sourceSlot->data == nullptr ||
        RIPCheckConvertRects(destination, x, y, source, sourceX, sourceY, width, height) == 0 ||
        !InsideSlot(destinationSlot, x, y, width, height) || !InsideSlot(sourceSlot, sourceX, sourceY, width, height)) {
        return 0;
    }
    const RIPPiece piece{state, destination, destinationSlot, x, y, source, sourceSlot, sourceX, sourceY, width, height};
    bool handled = false;
    const int result = Dispatch(piece, &handled);
    return handled ? result : BlitPiece(piece);
}

}  // namespace raster::convert
