// RIPFillContext: what painting one colour into rows of an image needs: the
// kernel row for the image's format and merge mode (or for a working format,
// with the converters that take the image's pixels there and back), the
// colour in the model the kernels read, and the slot and row being painted.
// RIPSetPixel paints through it; so does the rectangle fill.
#pragma once

#include <cstddef>
#include <cstdint>

#include "colour/color_record.h"
#include "kernels/kernel_frame.h"
#include "kernels/kernel_tables.h"
#include "raster/image.h"
#include "raster/row_convert.h"

namespace raster {

struct RIPTileSlot;

struct RIPFillContext {
    RIPImage* image = nullptr;         // set by RIPFillContextBegin when there is work
    std::int32_t forceConversion = 0;  // with a paletted image: paint through the working format
    std::uint8_t* rowAddress = nullptr;
    kernels::RIPKernelParams::Fill params;  // palette, bit offset, colour in the painted model
    std::int32_t bytesPerPixel = 0;
    const kernels::RIPFillKernelRow* kernelRow = nullptr;
    RIPTileSlot* slot = nullptr;
    RIPRect piece;
    std::int32_t contiguous = 0;
    std::int32_t coverage = 0;  // set by the caller before Begin: coverage variants are needed
    // Without a mask, with one, with two: columns 0, 1, 3, or 2, 4, 5 under a constant opacity.
    kernels::RIPFillKernel kernels[3] = {};
    std::int32_t converted = 0;
    RIPRowConverter readConverter = nullptr;  // destination → working
    RIPConverterContext readContext;
    std::uint8_t* workingBuffer = nullptr;     // the caller's, workingBufferSize bytes
    RIPRowConverter writeConverter = nullptr;  // working → destination
    RIPConverterContext writeContext;
    std::size_t workingBufferSize = 0;
    std::uint32_t workingBits = 0;
    std::uint32_t destinationBits = 0;
    std::uint32_t workingType = 0;
    std::uint32_t runBitOffset = 0;
    kernels::RIPKernelRandom random;  // Dissolve's draws, one sequence per context
};

// Prepares the context for a colour and merge mode: the image's own kernels
// when its format has them for the mode (and, with coverage, for every
// coverage column), else a working format's. *nothingToDo becomes 1 when the
// kernels would change nothing. 1, or 0 for a null argument, a mode above 35,
// a paletted image of other than 8 bits, a format without kernels or
// converters, or a colour without a value in the model painted.
int RIPFillContextBegin(RIPFillContext* context, RIPImage* image, const colour::ColorRecord* colour,
                        std::uint32_t mergeMode, int* nothingToDo);
// The working-format converters of the image's format: 1, or 0 when it has none.
int RIPFillContextSetupConversion(RIPImage* image, RIPFillContext* context);
// Picks the three kernels from the row: the constant-opacity columns when the
// opacity is below 255.
void RIPFillContextChooseKernels(RIPFillContext* context, bool partialOpacity);
// Points the context at the bottom row of a piece of the locked slot.
void RIPFillContextRowAddress(RIPFillContext* context, RIPTileSlot* slot, const RIPRect& piece);
void RIPFillContextNextRow(RIPFillContext* context);
// Paints count pixels of the current row from image column x under the
// coverage record (null: opaque): 1, or 0 when a converter fails or the run
// exceeds the working buffer.
int RIPFillContextPaintRow(RIPFillContext* context, std::int32_t x, std::int32_t unused, std::uint32_t count,
                           const kernels::RIPKernelCoverage* coverage);

}  // namespace raster
