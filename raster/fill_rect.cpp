// The rectangle fill: clips, prepares a fill context, walks the tiles the
// rectangle touches and paints each piece through the band runner.
#include "raster/fill_rect.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "raster/band_runner.h"
#include "raster/progress.h"
#include "raster/raster_state.h"
#include "raster/region.h"
#include "raster/storage.h"
#include "raster/tile_cursor.h"

namespace raster {
namespace {

// What the band callbacks need beside the fill context: the slot being painted.
struct FillBand {
    RIPFillContext* context = nullptr;
    RIPTileSlot* slot = nullptr;
};

int BeginBand(void* p, const RIPRect& band) {
    auto* fill = static_cast<FillBand*>(p);
    RIPFillContextRowAddress(fill->context, fill->slot, band);
    return 1;
}

int NextRow(void* p) {
    RIPFillContextNextRow(static_cast<FillBand*>(p)->context);
    return 1;
}

int PaintRun(void* p, std::int32_t x, std::int32_t y, std::uint32_t n, const kernels::RIPKernelCoverage* coverage) {
    return RIPFillContextPaintRow(static_cast<FillBand*>(p)->context, x, y, n, coverage);
}

int PaintBand(void* p, std::int32_t, std::int32_t, std::uint32_t n, const kernels::RIPKernelCoverage*) {
    return RIPFillContextPaintRows(static_cast<FillBand*>(p)->context, n);
}

// A caller's coverage bytes as a coverage image over its rows.
struct MaskImage {
    RIPImage* image = nullptr;
    ~MaskImage() { RIPDestroyImage(image); }
    bool Wrap(const std::uint8_t* rows, std::int32_t stride, std::int32_t width, std::int32_t height) {
        image = RIPCreateImageOverBuffer(kTypeCoverage, width, height, 0, 0, const_cast<std::uint8_t*>(rows));
        if (image == nullptr || image->tileTable == nullptr) return false;
        image->stride = stride;
        image->tileTable[0][0].rowBytes = stride;
        return true;
    }
};

}  // namespace

int RIPFillContextPaintRows(RIPFillContext* context, std::uint32_t count) {
    RIPTileSlot* slot = context->slot;
    const RIPRect& piece = context->piece;
    const auto rows = static_cast<std::uint32_t>(piece.Height());
    const kernels::RIPFillKernel kernel = context->kernels[0];
    context->params.bitOffset = 0;
    context->params.random = &context->random;
    const std::int32_t pixelBytes = context->image->bitsPerPixel / 8;
    // One call for all rows only when the row bytes hold a whole number of
    // pixels: otherwise the padding would shift every later row.
    if (count == static_cast<std::uint32_t>(slot->right - slot->left + 1) && rows > 1 && pixelBytes > 0 &&
        slot->rowBytes % pixelBytes == 0) {
        kernel(&context->params, static_cast<std::uint32_t>(slot->rowBytes / pixelBytes) * rows,
               context->rowAddress, nullptr);
        return 1;
    }
    std::uint8_t* row = context->rowAddress;
    for (std::uint32_t r = 0; r < rows; ++r, row += slot->rowBytes) {
        kernel(&context->params, count, row, nullptr);
    }
    return 1;
}

int RIPFillRect(RIPRasterState* state, RIPImage* image, std::int32_t x, std::int32_t y, std::int32_t width,
                std::int32_t height, const std::uint8_t* mask1, std::int32_t mask1Stride,
                const std::uint8_t* mask2, std::int32_t mask2Stride, const colour::ColorRecord* colour,
                std::uint32_t flags) {
    const bool useMask1 = (flags & kFillUseMask1) != 0;
    const bool useMask2 = (flags & kFillUseMask2) != 0;
    if (image == nullptr || colour == nullptr || (useMask1 && (mask1 == nullptr || mask1Stride < width)) ||
        (useMask2 && (mask2 == nullptr || mask2Stride < width))) {
        return 1;
    }
    if (width < 1 || height < 1 || image->tileTable == nullptr) {
        return 1;
    }
    RIPRect rect{std::max(x, 0),
                 static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{y} + height, image->height) - 1),
                 static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{x} + width, image->width) - 1),
                 std::max(y, 0)};
    if (RIPRectIsEmpty(rect) != 0) {
        return 1;
    }
    if ((flags & kIgnoreMask) == 0 && RIPRectIntersect(&rect, rect, image->bounds) == 0) {
        return 1;
    }
    const std::uint32_t mode = flags & kMergeModeMask;
    if ((image->type == kTypePaletted && image->bitsPerPixel != 8) || mode == kernels::kModeNone) {
        return 1;
    }
    if (mode >= kernels::kRIPMergeModeCount) {
        return 0;
    }

    RIPCoverageSource sources[kRIPMaxCoverageSources];
    int count = 0;
    const bool maskTakesPart = (flags & kIgnoreMask) == 0 && image->mask != nullptr && image->mask->runs != nullptr;
    if (maskTakesPart) {
        sources[count++] = RIPCoverageSource{image->mask, nullptr, image->maskBounds, false};
    }
    const bool linkTakesPart = (flags & kIgnoreLinkedImage) == 0 && image->linkedImage != nullptr;
    if (linkTakesPart) {
        sources[count++] = RIPCoverageSource{nullptr, image->linkedImage, image->linkedBounds, false};
    }
    const RIPRect callerRect{x, y + height - 1, x + width - 1, y};
    MaskImage first, second;
    if (useMask1) {
        if (!first.Wrap(mask1, mask1Stride, width, height)) return 0;
        sources[count++] = RIPCoverageSource{nullptr, first.image, callerRect, false};
    }
    if (useMask2) {
        if (!second.Wrap(mask2, mask2Stride, width, height)) return 0;
        sources[count++] = RIPCoverageSource{nullptr, second.image, callerRect, false};
    }
    const bool partialOpacity = state != nullptr && state->opacity != 255;

    auto context = std::make_unique<RIPFillContext>();
    // Every source that can weigh a run needs the coverage columns.
    context->coverage = count > 0 || partialOpacity ? 1 : 0;
    int nothingToDo = 0;
    if (RIPFillContextBegin(context.get(), image, colour, mode, &nothingToDo) == 0) {
        return 0;
    }
    if (nothingToDo != 0) {
        return 1;
    }
    std::vector<std::uint8_t> working;
    if (context->converted != 0) {
        working.resize(std::max<std::size_t>(4 * static_cast<std::size_t>(rect.Width()), 32));
        context->workingBuffer = working.data();
        context->workingBufferSize = working.size();
    }
    RIPFillContextChooseKernels(context.get(), partialOpacity);

    FillBand fill{context.get(), nullptr};
    RIPBandCallbacks callbacks;
    callbacks.context = &fill;
    callbacks.begin = &BeginBand;
    const bool perRow = image->type == kTypeBilevel || context->converted != 0 || context->coverage != 0;
    if (perRow) {
        callbacks.next = &NextRow;
        callbacks.paint = &PaintRun;
    } else {
        context->contiguous = 1;
        callbacks.paint = &PaintBand;
    }

    RIPProgressRange range;
    const std::int64_t area = rect.Width() * rect.Height();
    RIPRowIter cursor;
    RIPTileSlot* slot = RIPRowIterBegin(&cursor, image, rect, kTileLockWrite);
    RIPProgressPushRange(&range, state, slot != nullptr ? cursor.piece.Width() * cursor.piece.Height() : area, area);
    int result = 1;
    while (slot != nullptr) {
        fill.slot = slot;
        if (RIPRunBand(state, &callbacks, cursor.piece, nullptr, sources, count) == 0) {
            result = 0;
            break;
        }
        slot = RIPRowIterNext(&cursor);
        if (slot != nullptr) RIPProgressStep(&range, cursor.piece.Width() * cursor.piece.Height());
    }
    RIPProgressPopRange(&range, state);
    const int ended = RIPRowIterEnd(&cursor);
    return result != 0 ? ended : 0;
}

}  // namespace raster
