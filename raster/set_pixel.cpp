// One pixel painted with a merge mode and an opacity, gated by the image's
// mask and weighted by its linked plane.
#include "raster/fill_context.h"
#include "raster/mapping.h"
#include "raster/pixel_access.h"
#include "raster/raster_state.h"
#include "raster/region.h"
#include "raster/storage.h"

namespace raster {

int RIPSetPixel(RIPImage* image, std::int32_t x, std::int32_t y, const colour::ColorRecord* colour,
                std::uint8_t opacity, std::uint32_t flags) {
    if (image == nullptr || colour == nullptr) {
        return 0;
    }
    if (!image->bounds.Contains(x, y) || x >= image->width || y >= image->height) {
        return 1;
    }
    // A mask without runs gates nothing, as in RIPSetImageData.
    const RIPRegion* mask = image->mask;
    if ((flags & kIgnoreMask) == 0 && mask != nullptr && mask->runs != nullptr &&
        image->maskBounds.Contains(x, y) && RIPRegionRowRuns(mask, x, y) == 0) {
        return 1;
    }
    std::uint8_t cover = 255;
    const RIPImage* linked = image->linkedImage;
    if ((flags & kIgnoreLinkedImage) == 0 && linked != nullptr && image->linkedBounds.Contains(x, y)) {
        if (RIPReadPixelByte(linked, x - image->linkedBounds.left, y - image->linkedBounds.bottom, &cover) ==
            0) {
            return 0;
        }
        if (cover == 0) {
            return 1;
        }
    }
    RIPFillContext context;
    context.coverage = cover != 255 || opacity != 255 ? 1 : 0;
    int nothingToDo = 0;
    if (RIPFillContextBegin(&context, image, colour, flags & kMergeModeMask, &nothingToDo) == 0) {
        return 0;
    }
    if (nothingToDo != 0) {
        return 1;
    }
    std::uint8_t working[32];
    context.workingBuffer = working;
    context.workingBufferSize = sizeof working;
    RIPFillContextChooseKernels(&context, opacity != 255);
    RIPTileSlot* slot = RIPSlotAt(image, x, y);
    if (slot == nullptr || RIPTileLock(slot) == 0) {
        return 0;
    }
    RIPFillContextRowAddress(&context, slot, RIPRect{x, y, x, y});
    kernels::RIPKernelCoverage coverage;
    coverage.mask1 = cover != 255 ? &cover : nullptr;
    coverage.opacity = opacity;
    const int painted = RIPFillContextPaintRow(&context, x, y, 1, &coverage);
    return RIPTileUnlock(slot) != 0 ? painted : 0;
}

int RIPSetSolidColour(RIPRasterState* state, RIPImage* image, const colour::ColorRecord* colour,
                      std::int32_t x, std::int32_t y) {
    if (state == nullptr || image == nullptr || colour == nullptr) {
        return 0;
    }
    RIPPoint p{x, y};
    RIPLogToDev(state, &p);
    colour::ColorRecord value;
    if (RIPColorToImageValue(&value, image, colour) == 0) {
        return 0;
    }
    return RIPSetPixel(image, p.x, p.y, &value, state->opacity, state->mergeMode);
}

}  // namespace raster
