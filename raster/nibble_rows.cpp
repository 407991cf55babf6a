// Copies and remaps of 4-bit rows at any nibble position.
#include "raster/nibble_rows.h"

#include <cstring>

#include "raster/pal_cache.h"
#include "raster/palette.h"
#include "raster/pixel_access.h"

namespace raster {
namespace {

unsigned GetNibble(const std::uint8_t* row, std::uint32_t k) {
    const std::uint8_t b = row[k / 2];
    return k % 2 == 0 ? b >> 4 : b & 0x0Fu;
}

void PutNibble(std::uint8_t* row, std::uint32_t k, unsigned v) {
    std::uint8_t& b = row[k / 2];
    b = static_cast<std::uint8_t>(k % 2 == 0 ? (b & 0x0F) | (v << 4) : (b & 0xF0) | (v & 0x0F));
}

std::uint8_t NearestOf(RIPPalette* target, const std::uint8_t* e) {
    if (target->kind == kPaletteStandard16) {
        return RIPStd16PaletteIndex(e[2], e[1], e[0]);
    }
    if (target->cache != nullptr) {
        return RIPPalCacheNearestIndex(target->cache, e[2], e[1], e[0], target->Entries());
    }
    return RIPGetNearestPalIndex(target, e[2], e[1], e[0]);
}

}  // namespace

void RIPBuildNibbleMap(std::uint8_t low[16], std::uint8_t high[16], RIPPalette* target,
                       const RIPPalette* source) {
    for (unsigned i = 0; i < 16; ++i) {
        std::uint8_t index = 0;
        if (target != nullptr && source != nullptr && source->count > 0) {
            const unsigned entry = i < static_cast<unsigned>(source->count) ? i : 0;
            index = static_cast<std::uint8_t>(NearestOf(target, source->Entries() + 3 * entry) & 0x0F);
        }
        low[i] = index;
        high[i] = static_cast<std::uint8_t>(index << 4);
    }
}

void RIPRemapNibbleRow(std::uint8_t* dst, std::uint32_t dstNibble, const std::uint8_t* src,
                       std::uint32_t srcNibble, std::uint32_t n, const std::uint8_t low[16],
                       const std::uint8_t high[16]) {
    for (std::uint32_t i = 0; i < n; ++i) {
        const std::uint32_t d = dstNibble + i;
        const unsigned v = GetNibble(src, srcNibble + i);
        std::uint8_t& b = dst[d / 2];
        b = static_cast<std::uint8_t>(d % 2 == 0 ? (b & 0x0F) | high[v] : (b & 0xF0) | low[v]);
    }
}

void RIPCopyNibbleRow(std::uint8_t* dst, std::uint32_t dstNibble, RIPPalette* target, const std::uint8_t* src,
                      std::uint32_t srcNibble, const RIPPalette* source, std::uint32_t n) {
    if (RIPPalettesEqual(target, source) == 0) {
        std::uint8_t low[16], high[16];
        RIPBuildNibbleMap(low, high, target, source);
        RIPRemapNibbleRow(dst, dstNibble, src, srcNibble, n, low, high);
        return;
    }
    if (dstNibble % 2 != srcNibble % 2) {
        for (std::uint32_t i = 0; i < n; ++i) {
            PutNibble(dst, dstNibble + i, GetNibble(src, srcNibble + i));
        }
        return;
    }
    // Both start on the same side of a byte: the edges nibble by nibble, the rest by bytes.
    std::uint32_t i = 0;
    if (dstNibble % 2 == 1 && n > 0) {
        PutNibble(dst, dstNibble, GetNibble(src, srcNibble));
        i = 1;
    }
    const std::uint32_t whole = (n - i) / 2;
    std::memcpy(dst + (dstNibble + i) / 2, src + (srcNibble + i) / 2, whole);
    for (i += 2 * whole; i < n; ++i) {
        PutNibble(dst, dstNibble + i, GetNibble(src, srcNibble + i));
    }
}

}  // namespace raster
