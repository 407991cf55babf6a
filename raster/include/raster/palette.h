// RIPPalette: the colour table of a paletted image, with its optional
// nearest-colour cache, and the index of a colour in the standard palette.
#pragma once

#include <cstdint>

namespace raster {

struct RIPPalCache;

enum RIPPaletteKind : std::uint16_t {
    kPaletteBlackWhite = 1,  // 2 entries
    kPaletteCustom = 2,      // the caller's count, filled by the caller
    kPaletteGreyRamp = 3,    // 256 greys
    kPaletteCustom2 = 4,     // as kPaletteCustom
    kPaletteStandard = 5,    // 216-colour cube and 20 greys
    kPaletteStandard16 = 6,  // 16 colours
};

// One heap block: this header, then count entries of three bytes (blue,
// green, red in memory order) and one spare byte.
struct RIPPalette {
    std::uint16_t kind = 0;
    std::int16_t count = 0;
    std::uint16_t cacheKind = 0;  // 1: `cache` holds a nearest-colour cache
    RIPPalCache* cache = nullptr;

    std::uint8_t* Entries() { return reinterpret_cast<std::uint8_t*>(this + 1); }
    const std::uint8_t* Entries() const { return reinterpret_cast<const std::uint8_t*>(this + 1); }
};

inline constexpr std::uint16_t kPalCacheNearest = 1;

// Null for kind 0 or above 6, and for kinds 2 and 4 with a count outside
// 1..32767; the other kinds ignore count and fill their standard entries.
RIPPalette* RIPCreatePalette(int kind, int count);
// Frees the cache, then the block; 1 also for null.
int RIPDestroyPalette(RIPPalette* palette);
// The kind, 0 for null.
int RIPGetPaletteKind(const RIPPalette* palette);
// 1, or 0 for a null palette or an index outside the entries.
int RIPSetPaletteEntry(RIPPalette* palette, int index, int red, int green, int blue);
// A new palette of the same kind, count and entries, without cache; null for
// null, a palette without entries, or no memory.
RIPPalette* RIPDuplicatePalette(const RIPPalette* palette);
// 1 when a and b are one palette, or have the same count and entries (a count
// below 1 counts as equal).
int RIPPalettesEqual(const RIPPalette* a, const RIPPalette* b);
// Creates the nearest-colour cache for the palette's entries (cacheKind 1 is
// the only kind) and replaces any old one: 1, or 0 when it cannot be made.
int RIPBuildInverseTable(RIPPalette* palette, int cacheKind);
// Frees the cache; 1, or 0 for null.
int RIPFreeInverseTable(RIPPalette* palette);

// The entry nearest to a colour, through the palette's cache, which is made on
// the first look-up and kept; 0 when it cannot be made or for null. Attaching
// the cache changes the palette: a palette without one is looked up by one
// thread at a time.
std::uint8_t RIPGetNearestPalIndex(RIPPalette* palette, int red, int green, int blue);
// The grey entry (red = green = blue) nearest to value, the first among
// equals; count + 1 when the palette has no grey entry (or is null).
int RIPNearestGreyEntry(const RIPPalette* palette, int value);

// The kind-5 index of (red, green, blue): greys go to the grey ramp (216 to
// 235) except the darkest (0) and the lightest (215); other colours to the
// nearest cube level on each axis.
std::uint8_t RIPStdPaletteIndex(int red, int green, int blue);

}  // namespace raster
