// Rows of caller pixels written into an image: copied straight into the
// slots when nothing but a plain copy is asked for, else handed to the blit
// as a temporary image over the caller's rows.
#include <algorithm>
#include <cstring>

#include "raster/bit_rows.h"
#include "raster/blit_entry.h"
#include "raster/nibble_rows.h"
#include "raster/region.h"
#include "raster/storage.h"
#include "raster/tile_cursor.h"

namespace raster {
namespace {

// Copies the part of the caller's rectangle that lies in the image, slot by slot.
int CopyDirect(RIPImage* image, std::int32_t x, std::int32_t y, std::int64_t width, std::int64_t height,
               std::int32_t sourceStride, const std::uint8_t* source) {
    if (x >= image->width || y >= image->height) {
        return 1;
    }
    const RIPRect rect{x, static_cast<std::int32_t>(std::min<std::int64_t>(y + height, image->height) - 1),
                       static_cast<std::int32_t>(std::min<std::int64_t>(x + width, image->width) - 1), y};
    const std::int32_t bits = image->bitsPerPixel;
    RIPRowIter cursor;
    for (RIPTileSlot* slot = RIPRowIterBegin(&cursor, image, rect, kTileLockOverwrite); slot != nullptr;
         slot = RIPRowIterNext(&cursor)) {
        const RIPRect& piece = cursor.piece;
        const auto n = static_cast<std::uint32_t>(piece.Width());
        const auto from = static_cast<std::uint32_t>(piece.left - x);
        const auto at = static_cast<std::uint32_t>(piece.left - slot->left);
        for (std::int32_t row = piece.bottom; row <= piece.top; ++row) {
            const std::uint8_t* src = source + static_cast<std::ptrdiff_t>(row - y) * sourceStride;
            std::uint8_t* dst = slot->data + static_cast<std::ptrdiff_t>(row - slot->bottom) * slot->rowBytes;
            if (bits == 1) {
                RIPCopyBitsAtOffset(dst, at, src, from, n);
            } else if (bits == 4) {
                RIPCopyNibbleRow(dst, at, image->palette, src, from, image->palette, n);
            } else {
                const std::size_t bytes = static_cast<std::size_t>(bits / 8);
                std::memcpy(dst + at * bytes, src + from * bytes, n * bytes);
            }
        }
    }
    return RIPRowIterEnd(&cursor);
}

// The caller's rows as an image of the target's own format (and palette),
// blitted with the caller's flags.
int CopyThroughBlit(RIPImage* image, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                    std::int32_t sourceStride, const std::uint8_t* source, std::uint32_t flags) {
    // The temporary image only reads the caller's rows.
    auto* rows = const_cast<std::uint8_t*>(source);
    RIPImage* temporary = image->type == kTypePaletted
                              ? RIPCreatePalettedImageOverBuffer(image->palette, width, height,
                                                                 image->bitsPerPixel, 1, 0, 0, rows)
                              : RIPCreateImageOverBuffer(image->type, width, height, 0, 0, rows);
    if (temporary == nullptr) {
        return 0;
    }
    temporary->stride = sourceStride;
    temporary->tileTable[0][0].rowBytes = sourceStride;
    const int result = RIPStretchBlitInContext(nullptr, image, x, y, width, height, nullptr, temporary, 0, 0,
                                               width, height, nullptr, flags);
    RIPDestroyImage(temporary);
    return result;
}

}  // namespace

int RIPSetImageData(RIPImage* image, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                    std::int32_t sourceStride, const std::uint8_t* sourceData, std::uint32_t flags) {
    if (image == nullptr || sourceData == nullptr || width < 1 || height < 1 || x < 0 || y < 0 ||
        image->tileTable == nullptr) {
        return 0;
    }
    // Each source row must hold its width of pixels: the copy reads that much of it.
    const std::int64_t rowBytes = (static_cast<std::int64_t>(width) * image->bitsPerPixel + 7) / 8;
    if (sourceStride < rowBytes) {
        return 0;
    }
    const bool subByte = image->type == kTypePaletted && image->bitsPerPixel < 8;
    const bool maskTakesPart =
        (flags & kIgnoreMask) == 0 && image->mask != nullptr && image->mask->runs != nullptr;
    const bool linkTakesPart = (flags & kIgnoreLinkedImage) == 0 && image->linkedImage != nullptr;
    const bool direct = subByte || (!maskTakesPart && !linkTakesPart);
    if ((flags & kMergeModeMask) == 0 && direct) {
        // A rectangle reaching past the image is clipped here as the blit would clip it.
        return CopyDirect(image, x, y, width, height, sourceStride, sourceData);
    }
    if (subByte) {
        return 0;  // the blit merges no paletted images of under 8 bits
    }
    return CopyThroughBlit(image, x, y, width, height, sourceStride, sourceData, flags);
}

}  // namespace raster
