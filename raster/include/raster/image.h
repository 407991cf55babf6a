// RIPImage: the raster library's image record (pixel format, size,
// resolution, palette, storage geometry, mask and linked plane), its
// creators and destructor, and the operations that write pixels into it as a
// whole: a rectangle of caller rows and one colour over every pixel.
#pragma once

#include <cstddef>
#include <cstdint>

#include "colour/color_record.h"
#include "raster/rect.h"

namespace raster {

struct RIPPalette;
struct RIPRegion;
struct RIPRunTable;
struct RIPTileSlot;

// Pixel formats (RIPImage::type).
enum RIPPixelType : std::int32_t {
    kTypeRGB24 = 1,      // blue, green, red
    kTypeCMYK32 = 3,     // four ink bytes, 0 = no ink
    kTypeGrey8 = 5,      // 0 black .. 255 white
    kTypeBilevel = 6,    // eight pixels a byte, most significant bit first
    kTypePaletted = 10,  // 1, 4 or 8 bits of palette index; 4-bit rows high nibble first
    kTypeLab24 = 11,     // lightness, a + 128, b + 128
    kTypeRGB48 = 12,     // three u16 samples: blue, green, red
    kTypeGrey16 = 14,    // one u16 sample
    kTypeCoverage = 99,  // one byte a pixel, treated as grey: a coverage or alpha plane
};
// Creation shorthands: an 8-bit image over a new standard 236-colour palette,
// a 4-bit one over a new 16-colour palette.
inline constexpr std::int32_t kTypeStandard8 = 8;
inline constexpr std::int32_t kTypeStandard4 = 9;

// Where an image's pixels live (RIPImage::storageKind).
enum RIPStorageKind : std::int32_t {
    kStorageNone = 0,          // only a header under construction
    kStorageTiled = 1,         // tiles of the tile store
    kStorageBlock = 2,         // one block the image owns
    kStorageBorrowed = 3,      // a caller's buffer, or no pixels yet
    kStorageForeign = 4,       // tiles owned elsewhere: releasing forgets the table
    kStorageForeignBlock = 5,  // one block owned elsewhere
};

// The creators' storage argument.
inline constexpr std::int32_t kAllowTiling = 1;
inline constexpr std::int32_t kOneBlock = 2;

// RIPImage::flags.
inline constexpr std::uint32_t kImagePaletteBorrowed = 0x1;

// A tile source: a caller's value handed to the tile store's load procedure.
using RIPTileSource = std::uintptr_t;

// The record keeps its historical field order (every field 32 bits on the
// 32-bit build, pointers native).
struct RIPImage {
    std::int32_t type = 0;
    std::int32_t header = 1;  // always 1
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t planes = 1;
    std::int32_t bitsPerPixel = 0;
    std::int32_t stride = 0;      // bytes per row, a multiple of 4
    std::uint32_t imageSize = 0;  // stride × height × planes
    std::int32_t reserved = 0;
    std::uint32_t xResolution = 0;  // pixels per kilometre; stored, never used in pixel arithmetic
    std::uint32_t yResolution = 0;
    RIPPalette* palette = nullptr;  // type 10 only
    std::int32_t tilesAcross = 0;
    std::int32_t tilesDown = 0;
    std::int32_t tileWidth = 0;
    std::int32_t tileHeight = 0;
    RIPTileSlot** tileTable = nullptr;  // tilesDown rows of tilesAcross slots, bottom row first
    std::uint8_t* blockBase = nullptr;  // the block's allocation when it differs from the slot's data
    RIPRect bounds;                     // {0, height - 1, width - 1, 0}
    RIPImage* linkedImage = nullptr;    // an extra plane owned by this image
    RIPRect linkedBounds;               // pixel (x, y) meets pixel (x - left, y - bottom) of the linked image
    RIPRegion* mask = nullptr;
    RIPRect maskBounds;
    std::uint32_t flags = 0;
    RIPRunTable* runCache = nullptr;  // run index of this image used as a mask; freed with it
    std::int32_t storageKind = kStorageNone;
};
static_assert(sizeof(void*) != 4 || sizeof(RIPImage) == 140, "the 32-bit record is 35 words");

// Bits per pixel of a plain type (not 10); 0 for types that are refused.
std::int32_t RIPTypeBits(std::int32_t type);
// The colour model an image type's colours use (RGB for paletted images, whose
// colours are their entries'); 0 for none.
std::uint16_t RIPTypeColourModel(std::int32_t type);

// storage is kAllowTiling or kOneBlock. initialColour (optional) fills the new
// pixels; tileSource (0 for none) creates every tile empty, to be loaded by the
// tile store on first use, and requires tiling. Null for a refused type, a
// width or height below 1, a size that does not fit the record, a refused
// combination or exhausted memory. Types 8 and 9 make type-10 images that own
// a new standard palette.
RIPImage* RIPCreateImageEx(std::int32_t type, std::int32_t width, std::int32_t height,
                           std::uint32_t xResolution, std::uint32_t yResolution, std::int32_t storage,
                           const colour::ColorRecord* initialColour, RIPTileSource tileSource);
// A type-10 image over the caller's palette, which must outlive it; the
// initial colour is first reduced to an index of that palette.
RIPImage* RIPCreatePalettedImageEx(RIPPalette* palette, std::int32_t width, std::int32_t height,
                                   std::int32_t bits, std::int32_t planes, std::uint32_t xResolution,
                                   std::uint32_t yResolution, std::int32_t storage,
                                   const colour::ColorRecord* initialColour, RIPTileSource tileSource);
// 1 when planes is 1 and the palette's entry count fits the depth (1 bit: 1-2
// entries, 4 bits: 1-16, 8 bits: 1-256).
int RIPCheckPaletteDepth(const RIPPalette* palette, std::int32_t bits, std::int32_t planes);

// The same records without allocating pixels: over the caller's buffer
// (stride × height bytes, borrowed), or with no buffer a header whose geometry
// is zero, to which RIPSetImageBuffer gives pixels later.
RIPImage* RIPCreateImageOverBuffer(std::int32_t type, std::int32_t width, std::int32_t height,
                                   std::uint32_t xResolution, std::uint32_t yResolution,
                                   std::uint8_t* buffer);
RIPImage* RIPCreatePalettedImageOverBuffer(RIPPalette* palette, std::int32_t width, std::int32_t height,
                                           std::int32_t bits, std::int32_t planes, std::uint32_t xResolution,
                                           std::uint32_t yResolution, std::uint8_t* buffer);

// Destroys an owned palette, the linked images, the mask, the run cache, the
// storage and the record: 1, or 0 for null.
int RIPDestroyImage(RIPImage* image);

// Attaches a mask (null detaches) and returns the one attached before, which
// the caller then owns; sets maskBounds for a new mask.
RIPRegion* RIPSetImageMask(RIPImage* image, RIPRegion* mask);
RIPRegion* RIPGetImageMask(const RIPImage* image);
// Makes linked (null: none) the image's linked plane, placed by bounds (null:
// at the origin, its own size). The plane linked before goes to *previous when
// given, else it is destroyed. 0 for a null image or a link that would make a
// cycle.
int RIPSetLinkedImage(RIPImage* image, RIPImage* linked, const RIPRect* bounds, RIPImage** previous);
RIPImage* RIPGetLinkedImage(const RIPImage* image);

// The address of pixel (x, y) of a one-block image (storage kinds 2, 3, 5);
// null for other storage or a point outside the image.
std::uint8_t* RIPBlockPixelAddress(const RIPImage* image, std::int32_t x, std::int32_t y);

// RIPSetImageData flags, beside a merge mode in the low 16 bits.
inline constexpr std::uint32_t kMergeModeMask = 0xFFFF;
inline constexpr std::uint32_t kIgnoreMask = 0x40000;
inline constexpr std::uint32_t kIgnoreLinkedImage = 0x80000;

// Copies width × height pixels laid out in the image's own format, rows
// sourceStride bytes apart, the first being image row y, to (x, y). Copied
// directly when the rectangle fits, the merge mode is 0 and neither an active
// mask nor a linked image takes part; otherwise through the blit. 1, or 0 for
// bad arguments, a failed lock or a failed blit.
int RIPSetImageData(RIPImage* image, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                    std::int32_t sourceStride, const std::uint8_t* sourceData, std::uint32_t flags);

// Fills every pixel with one colour (in any model): 1, or 0 when the colour
// has no value in the image's model or a lock fails.
int RIPFillImage(RIPImage* image, const colour::ColorRecord* colour);

}  // namespace raster
