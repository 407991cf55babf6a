// RIPConvertPair: the switch over source and destination type for one piece
// inside two locked slots. Pairs without a converter of their own, and
// pieces a method selector leaves unhandled, go through the blit one to one.
#include "convert/convert_image.h"
#include "pair_converters.h"
#include "pair_piece.h"
#include "raster/blit_entry.h"
#include "raster/progress.h"
#include "raster/storage.h"
#include "temp_rows.h"

namespace raster::convert {
namespace {

bool InsideSlot(const RIPTileSlot* slot, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
    return x >= 0 && y >= 0 && w >= 1 && h >= 1 &&
           std::int64_t{x} + w <= std::int64_t{slot->right} - slot->left + 1 &&
           std::int64_t{y} + h <= std::int64_t{slot->top} - slot->bottom + 1;
}

bool PackedPaletted(const RIPImage* image) {
    return image->type == kTypePaletted && image->bitsPerPixel < 8;
}

// The blit leaves paletted images of under 8 bits alone. A piece with such a
// side goes through 24-bit RGB instead: the source expanded (or converted)
// into a temporary, which is then mapped to the destination's nearest
// entries or converted on.
int ThroughRGB(const RIPPiece& p) {
    RIPImage* temporary = RIPCreateImageEx(kTypeRGB24, p.width, p.height, 0, 0, kOneBlock, nullptr, 0);
    if (temporary == nullptr) return 0;
    RIPTileSlot* slot = RIPSlotAt(temporary, 0, 0);
    int result =
        RIPConvertPair(p.state, temporary, slot, 0, 0, p.src, p.sslot, p.sx, p.sy, p.width, p.height);
    if (result != 0) {
        result =
            PackedPaletted(p.dst)
                ? RIPConvertRGB24ToPal8Rows(p.state, p.dst, p.dslot, p.x, p.y, slot, 0, 0, p.width, p.height)
                : RIPConvertPair(p.state, p.dst, p.dslot, p.x, p.y, temporary, slot, 0, 0, p.width, p.height);
    }
    RIPDestroyImage(temporary);
    return result;
}

int BlitPiece(const RIPPiece& p) {
    if ((PackedPaletted(p.src) || PackedPaletted(p.dst)) && p.src->type != kTypeRGB24) return ThroughRGB(p);
    if (PackedPaletted(p.dst)) {
        return RIPConvertRGB24ToPal8Rows(p.state, p.dst, p.dslot, p.x, p.y, p.sslot, p.sx, p.sy, p.width,
                                         p.height);
    }
    return RIPStretchBlitInContext(p.state, p.dst, p.dslot->left + p.x, p.dslot->bottom + p.y, p.width,
                                   p.height, nullptr, p.src, p.sslot->left + p.sx, p.sslot->bottom + p.sy,
                                   p.width, p.height, nullptr, kIgnoreMask | kIgnoreLinkedImage);
}

int Plain(RIPPairConverter convert, const RIPPiece& p, bool* handled) {
    *handled = true;
    return convert(p.state, p.dslot, p.x, p.y, p.sslot, p.sx, p.sy, p.width, p.height);
}

int FromPalette(RIPFromPaletteConverter convert, const RIPPiece& p, bool* handled) {
    *handled = true;
    return convert(p.state, p.dslot, p.x, p.y, p.src, p.sslot, p.sx, p.sy, p.width, p.height);
}

int ToPalette(RIPToPaletteConverter convert, const RIPPiece& p, bool* handled) {
    *handled = true;
    return convert(p.state, p.dst, p.dslot, p.x, p.y, p.sslot, p.sx, p.sy, p.width, p.height);
}

// Through a one-block temporary image of `type` the piece's size: first
// converts the source piece into it (share of the progress `share` of
// `parts`), then the temporary into the destination piece.
int Chain(const RIPPiece& p, std::int32_t type, RIPPairConverter first, std::int64_t share,
          std::int64_t parts, bool* handled) {
    *handled = true;
    RIPImage* temporary = RIPCreateImageEx(type, p.width, p.height, 0, 0, kOneBlock, nullptr, 0);
    if (temporary == nullptr) return 0;
    RIPTileSlot* slot = RIPSlotAt(temporary, 0, 0);
    RIPProgressRange range;
    RIPProgressPushRange(&range, p.state, share, parts);
    int result = first(p.state, slot, 0, 0, p.sslot, p.sx, p.sy, p.width, p.height);
    if (result != 0) {
        RIPProgressAdvance(&range);
        result = RIPConvertPair(p.state, p.dst, p.dslot, p.x, p.y, temporary, slot, 0, 0, p.width, p.height);
    }
    RIPProgressPopRange(&range, p.state);
    RIPDestroyImage(temporary);
    return result;
}

// Bilevel into a paletted image through a temporary RGB image, each step a
// whole conversion of its own.
int BilevelToPaletted(const RIPPiece& p, bool* handled) {
    *handled = true;
    RIPImage* temporary = RIPCreateImageEx(kTypeRGB24, p.width, p.height, 0, 0, kOneBlock, nullptr, 0);
    if (temporary == nullptr) return 0;
    RIPProgressRange range;
    RIPProgressPushRange(&range, p.state, 1, 2);
    int result = RIPConvertImageToImage(p.state, temporary, 0, 0, p.src, p.sslot->left + p.sx,
                                        p.sslot->bottom + p.sy, p.width, p.height);
    if (result != 0) {
        RIPProgressAdvance(&range);
        result = RIPConvertImageToImage(p.state, p.dst, p.dslot->left + p.x, p.dslot->bottom + p.y, temporary,
                                        0, 0, p.width, p.height);
    }
    RIPProgressPopRange(&range, p.state);
    RIPDestroyImage(temporary);
    return result;
}

// 16-bit grey into bilevel: the samples' high bytes reduced as 8-bit grey.
int Grey16ToBilevel(const RIPPiece& p, bool* handled) {
    const int method = p.Method();
    if (method < 2 || method > 6) return 0;
    RIPTempRows greys(p.width, p.height);
    if (!greys) return 0;
    RIPRowBlock rows = p.Rows();
    RIPCopyHighBytes16(greys.data(), rows.src, greys.stride(), rows.srcStride, p.width, p.height);
    rows.src = greys.data();
    rows.srcStride = greys.stride();
    rows.srcBit = 0;
    return RIPReduceToBilevel(p, &RIPDiffuseGray8ToBilevel, &RIPHalftoneGray8ToBilevel, handled, &rows);
}

// The converter for the pair; sets handled when the pair has one that took it.
int Dispatch(const RIPPiece& p, bool* handled) {
    const std::int32_t from = p.src->type == kTypeCoverage ? kTypeGrey8 : p.src->type;
    const std::int32_t to = p.dst->type == kTypeCoverage ? kTypeGrey8 : p.dst->type;
    switch (from * 100 + to) {
        case 103:
            return Plain(&RIPConvertRGB24ToCMYK, p, handled);
        case 106:
            return RIPReduceToBilevel(p, &RIPDiffuseRGB24ToBilevel, &RIPHalftoneRGB24ToBilevel, handled);
        case 110:
            return RIPConvertRGBToPaletted(p, handled);
        case 111:
            return Plain(&RIPConvertRGB24ToLab, p, handled);
        case 112:
            return Plain(&RIPConvertRGB24ToRGB48, p, handled);
        case 114:
            return Plain(&RIPConvertRGB24ToGray16, p, handled);

        case 301:
            return Plain(&RIPConvertCMYKToRGB24, p, handled);
        case 305:
            return Plain(&RIPConvertCMYKToGray8, p, handled);
        case 306:
            return Chain(p, kTypeGrey8, &RIPConvertCMYKToGray8, 3, 5, handled);
        case 310:
            return Chain(p, kTypeRGB24, &RIPConvertCMYKToRGB24, 1, 2, handled);
        case 311:
            return Plain(&RIPConvertCMYKToLab, p, handled);
        case 312:
            return Plain(&RIPConvertCMYKToRGB48, p, handled);
        case 314:
            return Plain(&RIPConvertCMYKToGray16, p, handled);

        case 503:
            return Plain(&RIPConvertGray8ToCMYK, p, handled);
        case 506:
            return RIPReduceToBilevel(p, &RIPDiffuseGray8ToBilevel, &RIPHalftoneGray8ToBilevel, handled);
        case 510:
            return RIPConvertGrayToPaletted(p, handled);
        case 511:
            return Plain(&RIPConvertGray8ToLab, p, handled);
        case 512:
            return Plain(&RIPConvertGray8ToRGB48, p, handled);
        case 514:
            return Plain(&RIPConvertGray8ToGray16, p, handled);

        case 603:
            return Plain(&RIPConvertBilevelToCMYK, p, handled);
        case 610:
            return BilevelToPaletted(p, handled);

        case 1001:
            return FromPalette(&RIPConvertPalToRGB24, p, handled);
        case 1003:
            return FromPalette(&RIPConvertPalToCMYK, p, handled);
        case 1005:
            return FromPalette(&RIPConvertPalToGray8, p, handled);
        case 1006:
            return RIPConvertPalettedToBilevel(p, handled);
        case 1010:
            return RIPRemapPalettedImage(p, handled);
        case 1012:
            return FromPalette(&RIPConvertPalToRGB48, p, handled);
        case 1014:
            return FromPalette(&RIPConvertPalToGray16, p, handled);

        case 1101:
            return Plain(&RIPConvertLabToRGB24, p, handled);
        case 1103:
            return Plain(&RIPConvertLabToCMYK, p, handled);
        case 1105:
            return Plain(&RIPConvertLabToGray8, p, handled);
        case 1106:
            return Chain(p, kTypeGrey8, &RIPConvertLabToGray8, 3, 5, handled);
        case 1110:
            return Chain(p, kTypeRGB24, &RIPConvertLabToRGB24, 1, 2, handled);
        case 1112:
            return Plain(&RIPConvertLabToRGB48, p, handled);
        case 1114:
            return Plain(&RIPConvertLabToGray16, p, handled);

        case 1201:
            return Plain(&RIPConvertRGB48ToRGB24, p, handled);
        case 1203:
            return Plain(&RIPConvertRGB48ToCMYK, p, handled);
        case 1205:
            return Plain(&RIPConvertRGB48ToGray8, p, handled);
        case 1210:
            return ToPalette(&RIPConvert48ToPal8, p, handled);
        case 1211:
            return Plain(&RIPConvertRGB48ToLab, p, handled);
        case 1214:
            return Plain(&RIPConvertRGB48ToGray16, p, handled);

        case 1401:
            return Plain(&RIPConvertGray16ToRGB24, p, handled);
        case 1403:
            return Plain(&RIPConvertGray16ToCMYK, p, handled);
        case 1405:
            return Plain(&RIPConvertGray16ToGray8, p, handled);
        case 1406:
            return Grey16ToBilevel(p, handled);
        case 1410:
            return ToPalette(&RIPConvert16GrayToPal8, p, handled);
        case 1411:
            return Plain(&RIPConvertGray16ToLab, p, handled);
        case 1412:
            return Plain(&RIPConvertGray16ToRGB48, p, handled);
        default:
            return 0;
    }
}

}  // namespace

int RIPConvertPair(RIPRasterState* state, RIPImage* destination, RIPTileSlot* destinationSlot, std::int32_t x,
                   std::int32_t y, RIPImage* source, RIPTileSlot* sourceSlot, std::int32_t sourceX,
                   std::int32_t sourceY, std::int32_t width, std::int32_t height) {
    if (destination == nullptr || source == nullptr || destinationSlot == nullptr || sourceSlot == nullptr ||
        destinationSlot->data == nullptr || sourceSlot->data == nullptr ||
        RIPCheckConvertRects(destination, x, y, source, sourceX, sourceY, width, height) == 0 ||
        !InsideSlot(destinationSlot, x, y, width, height) ||
        !InsideSlot(sourceSlot, sourceX, sourceY, width, height)) {
        return 0;
    }
    const RIPPiece piece{state,      destination, destinationSlot, x,     y,     source,
                         sourceSlot, sourceX,     sourceY,         width, height};
    bool handled = false;
    const int result = Dispatch(piece, &handled);
    return handled ? result : BlitPiece(piece);
}

}  // namespace raster::convert
