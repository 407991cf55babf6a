// Painting one colour into rows: kernel selection for an image's format and
// merge mode, the working-format detour for formats without kernels, and the
// row painter.
#include "raster/fill_context.h"

#include "colour/convert.h"
#include "raster/kernel_select.h"
#include "raster/palette.h"
#include "raster/pixel_access.h"
#include "raster/storage.h"

namespace raster {
namespace {

using kernels::RIPFillKernelRow;

bool HasCoverageColumns(const RIPFillKernelRow& row) {
    for (std::size_t c = 1; c < row.size(); ++c) {
        if (row[c] == nullptr) return false;
    }
    return true;
}

bool Usable(const RIPFillKernelRow* row, bool coverage) {
    return row != nullptr && (*row)[0] != nullptr && (!coverage || HasCoverageColumns(*row));
}

bool DoesNothing(const RIPFillKernelRow& row, bool coverage) {
    if (row[0] != kernels::kRIPFillNoOp) return false;
    if (!coverage) return true;
    for (std::size_t c = 1; c < row.size(); ++c) {
        if (row[c] != kernels::kRIPFillNoOp) return false;
    }
    return true;
}

// The fill colour in the working format's model. A palette index takes its
// entry's colour from the image's palette.
bool WorkingColour(colour::ColorRecord* out, const RIPImage* image, std::uint32_t workingType,
                   const colour::ColorRecord& colour) {
    colour::ColorRecord rgb;
    if (colour.Model() == colour::kModelPaletteIndex) {
        if (RIPPaletteIndexToColor(&rgb, image->palette, &colour) == 0) return false;
    } else {
        rgb = colour;
    }
    const std::uint16_t model = RIPTypeColourModel(static_cast<std::int32_t>(workingType));
    if (rgb.Model() == model) {
        *out = rgb;
        return true;
    }
    return colour::ClrConvertColor(out, model, &rgb) && out->Model() == model;
}

}  // namespace

int RIPFillContextSetupConversion(RIPImage* image, RIPFillContext* context) {
    const RIPConversionRoute* route =
        image != nullptr ? RIPConversionRouteFor(image->type, image->type) : nullptr;
    if (route == nullptr || context == nullptr) {
        return 0;
    }
    context->readConverter = route->destinationToWorking;
    context->writeConverter = route->workingToDestination;
    context->readContext = RIPConverterContext{};
    context->writeContext = RIPConverterContext{};
    context->readContext.palette = context->writeContext.palette = image->palette;
    context->workingBits = route->workingBits;
    context->destinationBits = route->destinationBits;
    context->workingType = route->workingType;
    context->converted = 1;
    return 1;
}

int RIPFillContextBegin(RIPFillContext* context, RIPImage* image, const colour::ColorRecord* colour,
                        std::uint32_t mergeMode, int* nothingToDo) {
    if (context == nullptr || image == nullptr || colour == nullptr || nothingToDo == nullptr) {
        return 0;
    }
    *nothingToDo = 0;
    context->workingBuffer = nullptr;
    context->workingBufferSize = 0;
    context->contiguous = 0;
    context->converted = 0;
    context->readConverter = context->writeConverter = nullptr;
    context->params.palette = image->palette;
    context->bytesPerPixel = (image->bitsPerPixel + 7) / 8;
    if (mergeMode >= kernels::kRIPMergeModeCount) {
        return 0;
    }
    // The paletted kernels and converters read 8-bit indices only.
    if (image->type == kTypePaletted && image->bitsPerPixel != 8) {
        return 0;
    }
    const bool coverage = context->coverage != 0;
    const RIPFillKernelRow* row = RIPSpanKernelTableSelect(image->type, image->bitsPerPixel, mergeMode);
    const bool forced = context->forceConversion != 0 && image->type == kTypePaletted;
    if (Usable(row, coverage) && !forced) {
        if (RIPColorToImageValue(&context->params.color, image, colour) == 0) {
            return 0;
        }
    } else {
        if (RIPFillContextSetupConversion(image, context) == 0) {
            return 0;
        }
        row = RIPSpanKernelTableSelect(context->workingType, static_cast<std::int32_t>(context->workingBits),
                                       mergeMode);
        if (!WorkingColour(&context->params.color, image, context->workingType, *colour)) {
            return 0;
        }
    }
    if (!Usable(row, coverage)) {
        return 0;
    }
    context->kernelRow = row;
    if (DoesNothing(*row, coverage)) {
        *nothingToDo = 1;
        return 1;
    }
    context->image = image;
    return 1;
}

void RIPFillContextChooseKernels(RIPFillContext* context, bool partialOpacity) {
    const RIPFillKernelRow& row = *context->kernelRow;
    if (partialOpacity) {
        context->kernels[0] = row[kernels::kCoverConstant];
        context->kernels[1] = row[kernels::kCoverMaskConstant];
        context->kernels[2] = row[kernels::kCoverMaskMaskConstant];
    } else {
        context->kernels[0] = row[kernels::kCoverOpaque];
        context->kernels[1] = row[kernels::kCoverMask];
        context->kernels[2] = row[kernels::kCoverMaskMask];
    }
}

void RIPFillContextRowAddress(RIPFillContext* context, RIPTileSlot* slot, const RIPRect& piece) {
    context->slot = slot;
    context->piece = piece;
    std::uint8_t* row =
        slot->data + static_cast<std::ptrdiff_t>(piece.bottom - slot->bottom) * slot->rowBytes;
    if (context->contiguous != 0) {
        row += (static_cast<std::int64_t>(piece.left - slot->left) * context->image->bitsPerPixel) / 8;
    }
    context->rowAddress = row;
    context->runBitOffset = 0;
}

void RIPFillContextNextRow(RIPFillContext* context) {
    context->rowAddress += context->slot->rowBytes;
}

int RIPFillContextPaintRow(RIPFillContext* context, std::int32_t x, std::int32_t, std::uint32_t count,
                           const kernels::RIPKernelCoverage* coverage) {
    if (context == nullptr || context->image == nullptr || context->slot == nullptr || count == 0) {
        return context != nullptr && count == 0 ? 1 : 0;
    }
    const std::int64_t bitPosition =
        static_cast<std::int64_t>(x - context->slot->left) * context->image->bitsPerPixel;
    std::uint8_t* address = context->rowAddress + bitPosition / 8;
    context->runBitOffset = static_cast<std::uint32_t>(bitPosition % 8);
    std::uint8_t* target = address;
    context->params.bitOffset = context->runBitOffset;
    if (context->readConverter != nullptr || context->writeConverter != nullptr) {
        if (context->workingBuffer == nullptr ||
            static_cast<std::uint64_t>(count) * ((context->workingBits + 7) / 8) >
                context->workingBufferSize) {
            return 0;
        }
        target = context->workingBuffer;
        context->params.bitOffset = 0;
    }
    if (context->readConverter != nullptr) {
        context->readContext.srcBitOffset = context->runBitOffset;
        if (context->readConverter(&context->readContext, count, target, address) == 0) {
            return 0;
        }
    }
    const bool first = coverage != nullptr && coverage->mask1 != nullptr;
    const bool second = first && coverage->mask2 != nullptr;
    const kernels::RIPFillKernel kernel = context->kernels[second ? 2 : first ? 1 : 0];
    if (kernel == nullptr) {
        return 0;
    }
    context->params.random = &context->random;
    kernel(&context->params, count, target, coverage);
    if (context->writeConverter != nullptr) {
        context->writeContext.dstBitOffset = context->runBitOffset;
        if (context->writeConverter(&context->writeContext, count, address, target) == 0) {
            return 0;
        }
    }
    return 1;
}

}  // namespace raster
