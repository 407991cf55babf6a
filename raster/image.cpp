// Image records: creation with its argument rules, destruction of what an
// image owns, its mask and linked plane, and one-block pixel addressing.
#include "raster/image.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>

#include "raster/library_init.h"
#include "raster/palette.h"
#include "raster/pixel_access.h"
#include "raster/region.h"
#include "raster/storage.h"

namespace raster {
namespace {

bool ValidStorage(std::int32_t storage) {
    return storage == kAllowTiling || storage == kOneBlock;
}

// The creators' rules on storage, colour and tile source, before anything is made.
bool ArgumentsAllowed(std::int32_t storage, const colour::ColorRecord* colour, RIPTileSource source) {
    if (colour != nullptr) {
        return source == 0 && ValidStorage(storage);
    }
    if (source != 0) {
        return storage == kAllowTiling;
    }
    return ValidStorage(storage);
}

// A record with its geometry filled in, no storage yet; null when the sizes do
// not fit the record's 32-bit fields or memory runs out.
RIPImage* NewRecord(std::int32_t type, std::int32_t width, std::int32_t height, std::int32_t bits,
                    std::int32_t planes, std::uint32_t xResolution, std::uint32_t yResolution) {
    if (width < 1 || height < 1 || bits < 1) {
        return nullptr;
    }
    const std::int64_t rowBytes = (static_cast<std::int64_t>(bits) * width + 7) / 8;
    const std::int64_t stride = (rowBytes + 3) & ~std::int64_t{3};
    const std::int64_t size = stride * height * planes;
    if (stride > std::numeric_limits<std::int32_t>::max() ||
        size > std::numeric_limits<std::uint32_t>::max() ||
        static_cast<std::uint64_t>(size) > std::numeric_limits<std::size_t>::max() / 2) {
        return nullptr;
    }
    auto* image = new (std::nothrow) RIPImage;
    if (image == nullptr) {
        return nullptr;
    }
    image->type = type;
    image->width = width;
    image->height = height;
    image->planes = planes;
    image->bitsPerPixel = bits;
    image->stride = static_cast<std::int32_t>(stride);
    image->imageSize = static_cast<std::uint32_t>(size);
    image->xResolution = xResolution;
    image->yResolution = yResolution;
    RIPRectFromImage(&image->bounds, *image);
    return image;
}

// A type-10 record over the caller's palette, which it borrows.
RIPImage* NewPalettedRecord(RIPPalette* palette, std::int32_t width, std::int32_t height, std::int32_t bits,
                            std::int32_t planes, std::uint32_t xResolution, std::uint32_t yResolution) {
    RIPImage* image = NewRecord(kTypePaletted, width, height, bits, planes, xResolution, yResolution);
    if (image != nullptr) {
        image->palette = palette;
        image->flags = kImagePaletteBorrowed;
    }
    return image;
}

// Frees the record of an image that never got storage or owned parts.
void DropRecord(RIPImage* image) {
    delete image;
}

// The standard palette a creation shorthand stands for, and its depth.
RIPPalette* ShorthandPalette(std::int32_t type, std::int32_t* bits) {
    *bits = type == kTypeStandard8 ? 8 : 4;
    return RIPCreatePalette(type == kTypeStandard8 ? kPaletteStandard : kPaletteStandard16, 0);
}

// An image made over a shorthand's new palette owns it; without an image the
// palette goes.
RIPImage* AdoptPalette(RIPImage* image, RIPPalette* palette) {
    if (image == nullptr) {
        RIPDestroyPalette(palette);
        return nullptr;
    }
    image->flags &= ~kImagePaletteBorrowed;
    return image;
}

// Gives a new record its pixels, filled with the initial colour made into
// what the image stores (a palette index for paletted images); the record
// is freed when that fails.
RIPImage* Furnish(RIPImage* image, std::int32_t storage, const colour::ColorRecord* initialColour,
                  RIPTileSource tileSource) {
    colour::ColorRecord value;
    const colour::ColorRecord* colour = nullptr;
    if (initialColour != nullptr) {
        if (RIPColorToImageValue(&value, image, initialColour) == 0) {
            DropRecord(image);
            return nullptr;
        }
        colour = &value;
    }
    if (RIPAllocStorage(image, storage, colour, tileSource) == 0) {
        DropRecord(image);
        return nullptr;
    }
    return image;
}

// A header over the caller's buffer, or without pixels when there is none.
RIPImage* Borrow(RIPImage* image, std::uint8_t* buffer) {
    image->storageKind = kStorageBorrowed;
    if (buffer != nullptr && RIPSetImageBuffer(image, buffer, 0) == 0) {
        DropRecord(image);
        return nullptr;
    }
    return image;
}

bool ChainContains(const RIPImage* chain, const RIPImage* image) {
    for (const RIPImage* i = chain; i != nullptr; i = i->linkedImage) {
        if (i == image) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::int32_t RIPTypeBits(std::int32_t type) {
    switch (type) {
        case kTypeRGB24:
        case kTypeLab24: return 24;
        case kTypeCMYK32: return 32;
        case kTypeGrey8:
        case kTypeCoverage: return 8;
        case kTypeBilevel: return 1;
        case kTypeRGB48: return 48;
        case kTypeGrey16: return 16;
        default: return 0;
    }
}

std::uint16_t RIPTypeColourModel(std::int32_t type) {
    switch (type) {
        case kTypeRGB24:
        case kTypePaletted: return colour::kModelRGB;
        case kTypeCMYK32: return colour::kModelCMYK;
        case 4: return colour::kModelHSB;
        case kTypeGrey8:
        case kTypeCoverage: return colour::kModelGrey;
        case kTypeBilevel: return colour::kModelBlackWhite;
        case kTypeLab24: return colour::kModelLabOffset;
        case kTypeRGB48: return colour::kModelRGB48;
        case kTypeGrey16: return colour::kModelGrey16;
        default: return colour::kModelNone;
    }
}

int RIPCheckPaletteDepth(const RIPPalette* palette, std::int32_t bits, std::int32_t planes) {
    if (palette == nullptr || planes != 1 || palette->count < 1) {
        return 0;
    }
    switch (bits) {
        case 1: return palette->count <= 2 ? 1 : 0;
        case 4: return palette->count <= 16 ? 1 : 0;
        case 8: return palette->count <= 256 ? 1 : 0;
        default: return 0;
    }
}

RIPImage* RIPCreateImageEx(std::int32_t type, std::int32_t width, std::int32_t height,
                           std::uint32_t xResolution, std::uint32_t yResolution, std::int32_t storage,
                           const colour::ColorRecord* initialColour, RIPTileSource tileSource) {
    RIPLibraryInit();
    if (!ArgumentsAllowed(storage, initialColour, tileSource)) {
        return nullptr;
    }
    if (type == kTypeStandard8 || type == kTypeStandard4) {
        std::int32_t bits = 0;
        RIPPalette* palette = ShorthandPalette(type, &bits);
        if (palette == nullptr) {
            return nullptr;
        }
        return AdoptPalette(RIPCreatePalettedImageEx(palette, width, height, bits, 1, xResolution, yResolution,
                                                     storage, initialColour, tileSource),
                            palette);
    }
    const std::int32_t bits = RIPTypeBits(type);
    if (bits == 0) {
        return nullptr;  // type 10 only through the paletted creators
    }
    RIPImage* image = NewRecord(type, width, height, bits, 1, xResolution, yResolution);
    return image != nullptr ? Furnish(image, storage, initialColour, tileSource) : nullptr;
}

RIPImage* RIPCreatePalettedImageEx(RIPPalette* palette, std::int32_t width, std::int32_t height,
                                   std::int32_t bits, std::int32_t planes, std::uint32_t xResolution,
                                   std::uint32_t yResolution, std::int32_t storage,
                                   const colour::ColorRecord* initialColour, RIPTileSource tileSource) {
    RIPLibraryInit();
    if (!ArgumentsAllowed(storage, initialColour, tileSource) ||
        RIPCheckPaletteDepth(palette, bits, planes) == 0) {
        return nullptr;
    }
    RIPImage* image = NewPalettedRecord(palette, width, height, bits, planes, xResolution, yResolution);
    return image != nullptr ? Furnish(image, storage, initialColour, tileSource) : nullptr;
}

RIPImage* RIPCreateImageOverBuffer(std::int32_t type, std::int32_t width, std::int32_t height,
                                   std::uint32_t xResolution, std::uint32_t yResolution,
                                   std::uint8_t* buffer) {
    RIPLibraryInit();
    if (type == kTypeStandard8 || type == kTypeStandard4) {
        std::int32_t bits = 0;
        RIPPalette* palette = ShorthandPalette(type, &bits);
        if (palette == nullptr) {
            return nullptr;
        }
        return AdoptPalette(
            RIPCreatePalettedImageOverBuffer(palette, width, height, bits, 1, xResolution, yResolution, buffer),
            palette);
    }
    const std::int32_t bits = RIPTypeBits(type);
    RIPImage* image = bits != 0 ? NewRecord(type, width, height, bits, 1, xResolution, yResolution) : nullptr;
    return image != nullptr ? Borrow(image, buffer) : nullptr;
}

RIPImage* RIPCreatePalettedImageOverBuffer(RIPPalette* palette, std::int32_t width, std::int32_t height,
                                           std::int32_t bits, std::int32_t planes, std::uint32_t xResolution,
                                           std::uint32_t yResolution, std::uint8_t* buffer) {
    RIPLibraryInit();
    if (RIPCheckPaletteDepth(palette, bits, planes) == 0) {
        return nullptr;
    }
    RIPImage* image = NewPalettedRecord(palette, width, height, bits, planes, xResolution, yResolution);
    return image != nullptr ? Borrow(image, buffer) : nullptr;
}

int RIPDestroyImage(RIPImage* image) {
    if (image == nullptr) {
        return 0;
    }
    // The chain of linked planes is walked, not recursed, so its length costs no stack.
    while (image != nullptr) {
        RIPImage* next = image->linkedImage;
        if ((image->flags & kImagePaletteBorrowed) == 0) {
            RIPDestroyPalette(image->palette);
        }
        RIPDestroyRegion(image->mask);
        RIPRunTableFree(image->runCache);
        RIPFreeStorage(image);
        delete image;
        image = next;
    }
    return 1;
}

RIPRegion* RIPSetImageMask(RIPImage* image, RIPRegion* mask) {
    if (image == nullptr) {
        return nullptr;
    }
    RIPRegion* previous = image->mask;
    image->mask = mask;
    if (mask != nullptr) {
        image->maskBounds =
            RIPRect{0, std::min(image->height, mask->height) - 1, std::min(image->width, mask->width) - 1, 0};
    }
    return previous;
}

RIPRegion* RIPGetImageMask(const RIPImage* image) {
    return image != nullptr ? image->mask : nullptr;
}

int RIPSetLinkedImage(RIPImage* image, RIPImage* linked, const RIPRect* bounds, RIPImage** previous) {
    if (image == nullptr || (linked != nullptr && ChainContains(linked, image))) {
        return 0;
    }
    RIPImage* old = image->linkedImage;
    if (old == linked || ChainContains(linked, old)) {
        old = nullptr;  // still reached through the new plane: not the caller's to take
    }
    image->linkedImage = linked;
    if (linked != nullptr) {
        image->linkedBounds =
            bounds != nullptr ? *bounds : RIPRect{0, linked->height - 1, linked->width - 1, 0};
    } else {
        image->linkedBounds = RIPRect{};
    }
    if (previous != nullptr) {
        *previous = old;
    } else {
        RIPDestroyImage(old);
    }
    return 1;
}

RIPImage* RIPGetLinkedImage(const RIPImage* image) {
    return image != nullptr ? image->linkedImage : nullptr;
}

std::uint8_t* RIPBlockPixelAddress(const RIPImage* image, std::int32_t x, std::int32_t y) {
    if (image == nullptr || image->tileTable == nullptr || x < 0 || y < 0 || x >= image->width ||
        y >= image->height) {
        return nullptr;
    }
    if (image->storageKind != kStorageBlock && image->storageKind != kStorageBorrowed &&
        image->storageKind != kStorageForeignBlock) {
        return nullptr;
    }
    const RIPTileSlot& slot = image->tileTable[0][0];
    if (slot.data == nullptr) {
        return nullptr;
    }
    return slot.data + static_cast<std::ptrdiff_t>(image->stride) * y +
           static_cast<std::ptrdiff_t>((static_cast<std::int64_t>(image->bitsPerPixel) * x) / 8);
}

}  // namespace raster
