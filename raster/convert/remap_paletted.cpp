// Palette to palette: every index rewritten to the nearest entry of the
// destination palette, at any pair of depths.
#include <algorithm>

#include "pair_piece.h"
#include "raster/palette.h"
#include "raster/pixel_access.h"
#include "row_kernels.h"

namespace raster::convert {

void RIPBuildRemapTable(std::uint8_t table[256], RIPPalette* destination, const RIPPalette* source, bool std16) {
    std::fill_n(table, 256, std::uint8_t{0});
    const int count = source != nullptr ? std::min<int>(source->count, 256) : 0;
    if (destination == nullptr || count < 1) return;
    const bool same = RIPPalettesEqual(destination, source) != 0;
    for (int i = 0; i < count; ++i) {
        const std::uint8_t* e = source->Entries() + 3 * i;
        if (same) {
            table[i] = static_cast<std::uint8_t>(i);
        } else if (std16 && destination->kind == kPaletteStandard16) {
            table[i] = RIPStd16PaletteIndex(e[2], e[1], e[0]);
        } else {
            table[i] = RIPGetNearestPalIndex(destination, e[2], e[1], e[0]);
        }
    }
    std::fill(table + count, table + 256, table[0]);
}

int RIPRemapPalettedImage(const RIPPiece& p, bool* handled) {
    if (p.state != nullptr) p.state->ditherMethod = 1;
    const std::int32_t from = p.src->bitsPerPixel, to = p.dst->bitsPerPixel;
    if (from != 1 && from != 4 && from != 8) return 0;
    if (to != 1 && to != 4 && to != 8) {
        *handled = true;
        return 0;
    }
    std::uint8_t table[256];
    RIPBuildRemapTable(table, p.dst->palette, p.src->palette, false);
    *handled = true;
    const RIPRowBlock b = p.Rows();
    switch (from * 10 + to) {
        case 11: return RIPRemapRow1To1(p.state, b, table[0], table[1]);
        case 14: return RIPRemapRow1To4(p.state, b, table[0], table[1]);
        case 18: return RIPRemapRow1To8(p.state, b, table[0], table[1]);
        case 41: return RIPRemapRow4To1(p.state, b, table);
        case 44: return RIPRemapRow4To4(p.state, b, p.dst->palette, p.src->palette);
        case 48: return RIPRemapRow4To8(p.state, b, table);
        case 81: return RIPRemapRow8To1(p.state, b, table);
        case 84: return RIPRemapRow8To4(p.state, b, table);
        default: return RIPRemapRow8To8(p.state, b, table);
    }
}

}  // namespace raster::convert
