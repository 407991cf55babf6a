// The method selectors of RIPConvertPair: which reduction a piece gets for
// the state's dither method and the destination's depth and palette. A
// selector that cannot make the dither state or error rows it needs leaves
// the piece unhandled, and the piece is blitted instead.
#include "dither_state.h"
#include "dithering.h"
#include "pair_converters.h"
#include "pair_piece.h"
#include "raster/palette.h"
#include "raster/row_convert.h"
#include "row_kernels.h"

namespace raster::convert {
namespace {

// Makes the dither state (and the error rows for error diffusion), runs the
// member and frees both. The piece is handled once both exist.
int Reduce(const RIPPiece& p, RIPReduction member, int target, bool diffusion, bool* handled,
           const RIPRowBlock* rows = nullptr) {
    RIPReduceArgs a;
    a.dither = RIPCreateDitherState(p.Method(), target == kDitherPaletted ? p.dst->palette : nullptr, target);
    a.errors = diffusion ? RIPAllocErrorRows(p.width) : nullptr;
    if (a.dither == nullptr || (diffusion && a.errors == nullptr)) {
        RIPDestroyDitherState(a.dither);
        RIPFreeErrorRows(a.errors);
        return 0;
    }
    *handled = true;
    a.rows = rows != nullptr ? *rows : p.Rows();
    a.dstPalette = p.dst->palette;
    a.srcPalette = p.src->palette;
    a.x0 = p.AbsoluteX();
    a.y0 = p.AbsoluteY();
    a.dstBits = p.dst->bitsPerPixel;
    const int result = member(p.state, a);
    RIPDestroyDitherState(a.dither);
    RIPFreeErrorRows(a.errors);
    return result;
}

// Error diffusion for method 2, a threshold matrix for 3 to 6 (3 takes the
// Bayer matrix, as 6 does); other methods leave the piece to the blit.
int ToBilevel(const RIPPiece& p, RIPReduction diffuse, RIPReduction halftone, bool* handled,
              const RIPRowBlock* rows = nullptr) {
    const int method = p.Method();
    if (method == 2) return Reduce(p, diffuse, kDitherBilevel, true, handled, rows);
    if (method >= 3 && method <= 6) return Reduce(p, halftone, kDitherBilevel, false, handled, rows);
    return 0;
}

struct PalettedMembers {
    RIPToPaletteConverter nearest;  // method 1
    RIPReduction ordered4, ordered8;
    RIPReduction diffuseStd8, mapStd8;
    RIPReduction diffuseStd4, mapStd4;
    RIPReduction diffuseAny, mapAny;
    bool mapAnyNeeds8;
};

int ToPaletted(const RIPPiece& p, const PalettedMembers& m, bool* handled) {
    const int method = p.Method();
    const std::int32_t depth = p.dst->bitsPerPixel;
    const int kind = RIPGetPaletteKind(p.dst->palette);
    if (method == 1) {
        *handled = true;
        return m.nearest(p.state, p.dst, p.dslot, p.x, p.y, p.sslot, p.sx, p.sy, p.width, p.height);
    }
    RIPReduction member = nullptr;
    if (method == 6) {
        member = depth == 4 ? m.ordered4 : depth == 8 ? m.ordered8 : nullptr;
    } else if (depth == 8 && kind == kPaletteStandard) {
        member = method == 2 ? m.diffuseStd8 : method == 3 ? m.mapStd8 : nullptr;
    } else if (depth == 4 && kind == kPaletteStandard16) {
        member = method == 2 ? m.diffuseStd4 : method == 3 ? m.mapStd4 : nullptr;
    } else if (method == 2) {
        member = depth == 8 ? m.diffuseAny : nullptr;
    } else if (method == 3) {
        member = !m.mapAnyNeeds8 || depth == 8 ? m.mapAny : nullptr;
    }
    return member != nullptr ? Reduce(p, member, kDitherPaletted, method == 2, handled) : 0;
}

}  // namespace

int RIPConvertRGBToPaletted(const RIPPiece& p, bool* handled) {
    static constexpr PalettedMembers kRGB{&RIPConvertRGB24ToPal8Rows, &RIPOrderedRGB24ToPal4,
                                          &RIPOrderedRGB24ToPal8,     &RIPDiffuseRGB24ToStdPal8,
                                          &RIPMapRGB24ToStdPal8,      &RIPDiffuseRGB24ToStdPal4,
                                          &RIPOrderedRGB24ToPal4,     &RIPDiffuseRGB24ToPal8,
                                          &RIPMapRGB24ToPal,          false};
    return ToPaletted(p, kRGB, handled);
}

int RIPConvertGrayToPaletted(const RIPPiece& p, bool* handled) {
    static constexpr PalettedMembers kGrey{&RIPConvertGray8ToPal8Rows, &RIPOrderedGray8ToPal4,
                                           &RIPOrderedGray8ToPal8,     &RIPDiffuseGray8ToStdPal8,
                                           &RIPMapGray8ToStdPal8,      &RIPDiffuseGray8ToStdPal4,
                                           &RIPOrderedGray8ToPal4,     &RIPDiffuseGray8ToPal8,
                                           &RIPMapGray8ToPal,          true};
    return ToPaletted(p, kGrey, handled);
}

int RIPConvertPalettedToBilevel(const RIPPiece& p, bool* handled) {
    const std::int32_t depth = p.src->bitsPerPixel;
    if (p.Method() == 1) {
        if (depth != 1 && depth != 4 && depth != 8) return 0;
        // Black or white by the entry's luminance; indices past the entries read entry 0.
        std::uint8_t bits[256];
        const RIPPalette* palette = p.src->palette;
        const int count = palette != nullptr ? palette->count : 0;
        for (int i = 0; i < 256; ++i) {
            const std::uint8_t* e = count > 0 ? palette->Entries() + 3 * (i < count ? i : 0) : nullptr;
            bits[i] = e != nullptr && RIPGreyOf(e[0], e[1], e[2]) > 127 ? 1 : 0;
        }
        *handled = true;
        const RIPRowBlock b = p.Rows();
        if (depth == 1) return RIPRemapRow1To1(p.state, b, bits[0], bits[1]);
        if (depth == 4) return RIPRemapRow4To1(p.state, b, bits);
        return RIPRemapRow8To1(p.state, b, bits);
    }
    if (depth != 8) return 0;
    return ToBilevel(p, &RIPDiffusePal8ToBilevel, &RIPHalftonePal8ToBilevel, handled);
}

int RIPReduceToBilevel(const RIPPiece& p, RIPReduction diffuse, RIPReduction halftone, bool* handled,
                       const RIPRowBlock* rows) {
    return ToBilevel(p, diffuse, halftone, handled, rows);
}

}  // namespace raster::convert
