// Mask regions: per row, a list of runs classed transparent, opaque or
// partial, so painting can skip or fully paint long runs and blend only the
// partial ones. Regions are built from mask images (1-bit or 8-bit) and
// written back as bilevel rows.
//
// A region's coordinates count from its own bottom-left corner: row 0 is its
// bottom row, column 0 its left column.
#pragma once

#include <cstdint>

#include "raster/rect.h"

namespace raster {

struct RIPImage;
struct RIPTileSlot;

enum RIPCoverageClass : std::uint16_t {
    kCoverageNone = 0,     // transparent: nothing painted
    kCoverageFull = 1,     // opaque: painted fully
    kCoveragePartial = 2,  // painted through the mask's bytes
};

// A run of one class. A partial run names the slot of the mask image that
// holds its mask bytes and the byte offset of its first one in the slot; the
// mask image must outlive the region. Other runs name no slot.
struct RIPRun {
    std::uint16_t coverage = kCoverageNone;
    std::uint32_t length = 0;
    RIPTileSlot* slot = nullptr;
    std::uint32_t offset = 0;
};

// One row's runs, left to right. Counts are 32-bit so rows of any image width fit.
struct RIPRunList {
    RIPRun* runs = nullptr;
    std::int32_t totalLength = 0;
    std::int32_t count = 0;
    std::int32_t capacity = 0;
};

enum RIPRunTableKind : std::int32_t {
    kRunsPlain = 0,
    kRunsFromImage = 1,  // partial runs point into a mask image's slots
};

struct RIPRunTable {
    std::int32_t kind = kRunsPlain;
    std::int32_t rowCount = 0;
    std::int32_t width = 0;
    // Mask bytes at or above it are opaque, below it transparent; 0 classes
    // them without a threshold (0 none, 255 full, others partial).
    std::int32_t threshold = 128;
    RIPRunList* rows = nullptr;  // rowCount lists, bottom row first
};

struct RIPRegion {
    std::int32_t width = 0;
    std::int32_t height = 0;
    RIPRunTable* runs = nullptr;
};

// The class of a mask byte under a threshold (0: none).
RIPCoverageClass RIPCoverageClassOf(std::uint8_t m, std::int32_t threshold);

// A region of at least 1 × 1 pixels without runs; null otherwise.
RIPRegion* RIPCreateRegion(std::int32_t width, std::int32_t height);
// Frees the runs, then the region: 1 (also for null).
int RIPDestroyRegion(RIPRegion* region);
void RIPRunTableFree(RIPRunTable* table);
// Replaces the run table by one whose every row is one opaque run, threshold
// 128: 1, or 0 (and no table) when memory runs out.
int RIPRegionInitRuns(RIPRegion* region);
// 1 when the run over column x of the row is opaque; 0 otherwise (also
// outside the region or without runs).
int RIPRegionRowRuns(const RIPRegion* region, std::int32_t x, std::int32_t row);

// The run over column x and the pixels left in it from x (when asked), or
// null outside the list.
const RIPRun* RIPRunAt(const RIPRunList* list, std::int32_t x, std::int32_t* remaining);
void RIPRunListFree(RIPRunList* list);
// Room for more runs (their copies kept): 1 or 0.
int RIPRunListGrow(RIPRunList* list);
// Appends a run of a class, joined to the last run when both are of one class
// and not partial (a partial run's bytes come from one slot): 1 or 0.
int RIPRunListAppendClass(RIPRunList* list, RIPCoverageClass coverage, std::uint32_t length,
                          RIPTileSlot* slot, std::uint32_t offset);
// Appends a run whose class is that of the locked slot's mask byte at offset.
int RIPRunListAppend(RIPRunList* list, RIPTileSlot* slot, std::uint32_t offset, std::uint32_t length,
                     std::int32_t threshold);

// Builds the runs of the mask image's rectangle (null: the whole image) into
// the region's rows from the bottom-left, making the run table first when the
// region has none; columns of the region beyond the rectangle keep their
// runs. The mask is a bilevel or 8-bit grey (or coverage) image. 0 when the
// region is narrower or lower than the rectangle, the rectangle misses the
// mask, or a lock or memory fails.
int RIPRegionFromMask(RIPRegion* region, RIPImage* mask, const RIPRect* rect);
// Writes the region's rectangle (null: all of it) as bits into a bilevel
// image from (x, y): opaque runs set, partial and transparent ones clear.
// Pixels falling outside the image are dropped. 1 or 0.
int RIPRegionToBits(const RIPRegion* region, const RIPRect* rect, RIPImage* image, std::int32_t x,
                    std::int32_t y);
// Scales the source region's rectangle into a new region of the destination
// rectangle's size through the blit; partial coverage does not survive.
int RIPScaleRegion(RIPRegion* out, const RIPRect& dstRect, const RIPRegion* source, const RIPRect& srcRect);

}  // namespace raster
