// Image storage: the tile slots through which every pixel is reached, their
// locks, the tile geometry of each pixel format, and the allocation and
// release of an image's pixels (one contiguous block, or a grid of tiles of
// the tile store).
#pragma once

#include <cstddef>
#include <cstdint>

#include "colour/color_record.h"
#include "raster/image.h"
#include "raster/tile_store.h"

namespace raster {

struct RIPRasterState;

// One entry of an image's tile table. A slot without a tile is contiguous
// storage: its data is always the pixels and its locks do nothing.
struct RIPTileSlot {
    RIPTile* tile = nullptr;
    std::uint8_t* data = nullptr;  // the slot's rows, bottom row first, while locked
    std::int32_t left = 0;         // the slot's pixel bounds in the image
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    std::int32_t lockDepth = 0;  // write locks count down from 0, read locks up
    std::int32_t rowBytes = 0;
    std::int32_t type = 0;

    RIPRect Bounds() const { return {left, top, right, bottom}; }
};
static_assert(sizeof(void*) != 4 || sizeof(RIPTileSlot) == 36, "the 32-bit slot is nine words");

// A tile of a pixel format: its size in pixels and its row bytes (never more
// than 65536 bytes a tile).
struct RIPTileGeometry {
    std::int32_t width;
    std::int32_t height;
    std::int32_t rowBytes;
};
RIPTileGeometry RIPTileGeometryFor(std::int32_t type);

// Gives a filled-in image record its pixels: tiled when a store is installed,
// storage allows it and the image exceeds a quarter of the budget; else one
// block (refused with a tile source). The initial colour, in the image's
// model, fills them. 1 or 0; on failure the image has no storage.
int RIPAllocStorage(RIPImage* image, std::int32_t storage, const colour::ColorRecord* colour,
                    RIPTileSource tileSource);
// Releases the pixels by storage kind and forgets the table; 1.
int RIPFreeStorage(RIPImage* image);
// One slot over buffer for an image without a table; owned = 1 makes the
// image free it (it must come from RIPHeapAlloc), 0 borrows it. 1, or 0 when
// the image already has a table or memory runs out.
int RIPSetImageBuffer(RIPImage* image, std::uint8_t* buffer, int owned);

// Makes destination, an image of the source's type and size, share the
// tiled source's tiles: its own storage is released and every slot of a new
// table names the source's tile, which the store copies on the first write
// to either image. Reports one step per tile row through the state's
// callback (a first report of 0 before the work); an answer of 0 stops it.
// 1, or 0 (the destination then has no storage) for a source that is not
// tiled, a mismatched destination, no store, no memory or a stop.
int RIPShareTiles(RIPRasterState* state, RIPImage* destination, const RIPImage* source);
// Releases the destination slot's tile and makes it share the source slot's.
// 1, or 0 without a store or when the source slot has no tile.
int RIPShareTileSlot(RIPTileSlot* destination, const RIPTileSlot* source);

// The process heap of pixel blocks: a size of 0 gives null.
std::uint8_t* RIPHeapAlloc(std::size_t size);
void RIPHeapFree(void* block);

// Slot locks: 1 at once for a contiguous slot, else the store's answer; on
// success data points at the tile's pixels (null for a solid tile locked
// compactly).
int RIPTileLock(RIPTileSlot* slot);                            // write
int RIPTileLockRead(RIPTileSlot* slot);                        // read
int RIPTileLockWrite(RIPTileSlot* slot);                       // read, a solid tile kept compact
int RIPTileLockOverwrite(RIPTileSlot* slot);                   // write every pixel, a solid tile not expanded
int RIPTileLockWith(RIPTileSlot* slot, RIPTileLockMode mode);  // kTileNoLock: 1
int RIPTileUnlock(RIPTileSlot* slot);
// The colour of the slot's solid tile, null when it has pixels.
const colour::ColorRecord* RIPTileInlineData(const RIPTileSlot* slot);

// The slot that holds pixel (x, y), null outside the image or without a table.
RIPTileSlot* RIPSlotAt(const RIPImage* image, std::int32_t x, std::int32_t y);
// The address of the pixel at (x, y) relative to a locked slot; null outside
// the slot or the image.
std::uint8_t* RIPTilePixelAddress(const RIPImage* image, const RIPTileSlot* slot, std::int32_t x,
                                  std::int32_t y);

// Whether a tile of one colour can stand for the pixels of the format: not
// for paletted pixels below 8 bits, whose tiles the store cannot expand.
bool RIPSolidTilesHold(std::int32_t type, std::int32_t bitsPerPixel);

// Replaces a tiled slot's tile by a solid one of value (where solid tiles
// hold), or fills every row of the slot with it; value is in the image's
// model (a palette index for paletted images). 1 or 0.
int RIPFillTileSlot(RIPTileSlot* slot, std::int32_t bitsPerPixel, const colour::ColorRecord& value);

// Fills rowCount rows, rowBytes apart, with pixels pixels of one colour in
// the type's model (model 13 index for type 10, model 8 for bilevel). 1, or 0
// when the colour's model is not the type's.
int RIPFillPixelRows(std::uint8_t* rows, std::ptrdiff_t rowBytes, std::int32_t rowCount, std::int32_t pixels,
                     std::int32_t type, std::int32_t bitsPerPixel, const colour::ColorRecord& value);

}  // namespace raster
