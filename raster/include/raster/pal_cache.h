// RIPPalCache: which palette entry is nearest to a colour. RGB space is cut
// into cells; each cell asked about keeps the short list of entries that can
// be nearest to some colour inside it, found through a search tree refined
// toward the cells asked about.
//
// A cache may be queried from several threads at once: a cell's list is built
// once under the cache's lock and read without it afterwards.
#pragma once

#include <cstddef>
#include <cstdint>

namespace raster {

struct RIPPalCache;

// A cache for a palette of entryCount entries (at most 256), with cells of
// 2^(8 − cellBits) levels per axis; null when it cannot be made.
RIPPalCache* RIPPalCacheCreate(int entryCount);  // 5 cell bits
RIPPalCache* RIPPalCacheCreateBits(int cellBits, int entryCount);
void RIPPalCacheDestroy(RIPPalCache* cache);

// The index of the entry nearest to (red, green, blue) by the sum of squared
// differences, the lowest index among equals. entries are the palette's
// (blue, green, red) triples the cache was made for. 0 when the cell's list
// cannot be made (memory) or the palette has no entries.
std::uint8_t RIPPalCacheNearestIndex(RIPPalCache* cache, std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                                     const std::uint8_t* entries);

// The largest nearest distance (squared) the palette can leave: the search
// tree is expanded to depth 3 and the largest of the boxes' bounds taken.
// Each box's bound is, over the entries that can be nearest in it, the
// smallest of their largest distances to the box's points. The palette
// reductions scale their thresholds by it. 0x30000 for a null cache.
std::uint32_t RIPPalCacheTreeValue(RIPPalCache* cache, const std::uint8_t* entries);
// A piece of size bytes from the cache's chunks, freed with the cache; null
// when it cannot be had.
void* RIPPalCacheAlloc(RIPPalCache* cache, std::size_t size);

}  // namespace raster
