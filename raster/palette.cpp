// Palette records: creation with the standard kinds' entries, the cache they
// may carry, and the standard palette's index of a colour.
#include "raster/palette.h"

#include <algorithm>
#include <new>

#include "raster/pal_cache.h"

namespace raster {
namespace {

int EntryCount(int kind, int count) {
    switch (kind) {
        case kPaletteBlackWhite: return 2;
        case kPaletteGreyRamp: return 256;
        case kPaletteStandard: return 236;
        case kPaletteStandard16: return 16;
        case kPaletteCustom:
        case kPaletteCustom2: return count >= 1 && count <= 32767 ? count : 0;
        default: return 0;
    }
}

void SetEntry(RIPPalette* p, int index, int red, int green, int blue) {
    std::uint8_t* e = p->Entries() + 3 * index;
    e[0] = static_cast<std::uint8_t>(blue);
    e[1] = static_cast<std::uint8_t>(green);
    e[2] = static_cast<std::uint8_t>(red);
}

void FillStandardEntries(RIPPalette* p) {
    switch (p->kind) {
        case kPaletteBlackWhite:
            SetEntry(p, 0, 0, 0, 0);
            SetEntry(p, 1, 255, 255, 255);
            break;
        case kPaletteGreyRamp:
            for (int i = 0; i < 256; ++i) {
                SetEntry(p, i, i, i, i);
            }
            break;
        case kPaletteStandard:
            for (int r = 0; r < 6; ++r) {
                for (int g = 0; g < 6; ++g) {
                    for (int b = 0; b < 6; ++b) {
                        SetEntry(p, r * 36 + g * 6 + b, 51 * r, 51 * g, 51 * b);
                    }
                }
            }
            for (int k = 0; k < 20; ++k) {
                const int v = k * 255 / 19;
                SetEntry(p, 216 + k, v, v, v);
            }
            break;
        case kPaletteStandard16:
            // Red varies fastest, then green, then blue: half intensity, then full.
            for (int i = 0; i < 8; ++i) {
                SetEntry(p, i, (i & 1) ? 128 : 0, (i & 2) ? 128 : 0, (i & 4) ? 128 : 0);
                SetEntry(p, 8 + i, (i & 1) ? 255 : 0, (i & 2) ? 255 : 0, (i & 4) ? 255 : 0);
            }
            SetEntry(p, 8, 192, 192, 192);
            break;
        default:
            break;
    }
}

}  // namespace

RIPPalette* RIPCreatePalette(int kind, int count) {
    const int n = EntryCount(kind, count);
    if (n == 0) {
        return nullptr;
    }
    void* block = ::operator new(sizeof(RIPPalette) + 3 * static_cast<std::size_t>(n) + 1, std::nothrow);
    if (block == nullptr) {
        return nullptr;
    }
    auto* p = new (block) RIPPalette;
    p->kind = static_cast<std::uint16_t>(kind);
    p->count = static_cast<std::int16_t>(n);
    std::fill_n(p->Entries(), 3 * n + 1, std::uint8_t{0});
    FillStandardEntries(p);
    return p;
}

int RIPDestroyPalette(RIPPalette* palette) {
    if (palette != nullptr) {
        RIPFreeInverseTable(palette);
        palette->~RIPPalette();
        ::operator delete(palette);
    }
    return 1;
}

int RIPGetPaletteKind(const RIPPalette* palette) {
    return palette != nullptr ? palette->kind : 0;
}

int RIPSetPaletteEntry(RIPPalette* palette, int index, int red, int green, int blue) {
    if (palette == nullptr || index < 0 || index >= palette->count) {
        return 0;
    }
    SetEntry(palette, index, red, green, blue);
    return 1;
}

RIPPalette* RIPDuplicatePalette(const RIPPalette* palette) {
    if (palette == nullptr || palette->count < 1) {
        return nullptr;
    }
    // Kinds 2 and 4 take the count; the standard kinds bring their own.
    RIPPalette* copy = RIPCreatePalette(palette->kind, palette->count);
    if (copy == nullptr) {
        return nullptr;
    }
    std::copy_n(palette->Entries(), 3 * std::min(palette->count, copy->count), copy->Entries());
    return copy;
}

int RIPPalettesEqual(const RIPPalette* a, const RIPPalette* b) {
    if (a == b) {
        return 1;
    }
    if (a == nullptr || b == nullptr || a->count != b->count) {
        return 0;
    }
    if (a->count < 1) {
        return 1;
    }
    return std::equal(a->Entries(), a->Entries() + 3 * a->count, b->Entries()) ? 1 : 0;
}

int RIPBuildInverseTable(RIPPalette* palette, int cacheKind) {
    if (palette == nullptr || cacheKind != kPalCacheNearest) {
        return 0;
    }
    RIPPalCache* cache = RIPPalCacheCreate(palette->count);
    if (cache == nullptr) {
        return 0;
    }
    RIPFreeInverseTable(palette);
    palette->cache = cache;
    palette->cacheKind = kPalCacheNearest;
    return 1;
}

int RIPFreeInverseTable(RIPPalette* palette) {
    if (palette == nullptr) {
        return 0;
    }
    RIPPalCacheDestroy(palette->cache);
    palette->cache = nullptr;
    palette->cacheKind = 0;
    return 1;
}

std::uint8_t RIPGetNearestPalIndex(RIPPalette* palette, int red, int green, int blue) {
    if (palette == nullptr) {
        return 0;
    }
    if (palette->cache == nullptr && RIPBuildInverseTable(palette, kPalCacheNearest) == 0) {
        return 0;
    }
    const auto byte = [](int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); };
    return RIPPalCacheNearestIndex(palette->cache, byte(red), byte(green), byte(blue), palette->Entries());
}

int RIPNearestGreyEntry(const RIPPalette* palette, int value) {
    if (palette == nullptr) {
        return 1;
    }
    int best = palette->count + 1;
    long long bestDistance = 0;
    const std::uint8_t* e = palette->Entries();
    for (int i = 0; i < palette->count; ++i, e += 3) {
        if (e[0] != e[1] || e[1] != e[2]) {
            continue;
        }
        const long long d = static_cast<long long>(e[0]) - value;
        if (best > palette->count || d * d < bestDistance) {
            best = i;
            bestDistance = d * d;
        }
    }
    return best;
}

std::uint8_t RIPStdPaletteIndex(int red, int green, int blue) {
    if (red == green && green == blue) {
        if (red <= 0) {
            return 0;
        }
        if (red >= 255) {
            return 215;
        }
        const int v = 5 * red + 33;  // 249..254 round up to white as well
        if (v >= 1275) {
            return 215;
        }
        return static_cast<std::uint8_t>(216 + v / 67);
    }
    // Clamping before the offset keeps arguments far out of range from overflowing.
    const auto level = [](int v) { return (std::clamp(v, -25, 230) + 25) / 51; };
    return static_cast<std::uint8_t>(level(red) * 36 + level(green) * 6 + level(blue));
}

}  // namespace raster
