// The filter context and the callback block keep their historical field
// offsets on the 32-bit build; on wider builds the same fields follow in the
// same order.
#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

#include "imageload/filter_callbacks.h"
#include "imageload/filter_context.h"

namespace imageload {
namespace {

struct Field {
    const char* name;
    std::size_t actual;
    std::size_t specified;
};

#define FIELD(type, member, offset) Field{#member, offsetof(type, member), offset}

void CheckTable(const std::vector<Field>& fields, std::size_t size, std::size_t specifiedSize) {
    constexpr bool kNarrow = sizeof(void*) == 4;
    if (kNarrow) {
        EXPECT_EQ(size, specifiedSize);
    }
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (kNarrow) {
            EXPECT_EQ(fields[i].actual, fields[i].specified) << fields[i].name;
        }
        if (i > 0) {
            EXPECT_GT(fields[i].actual, fields[i - 1].actual) << fields[i].name;
        }
    }
}

TEST(FilterLayoutTest, ContextFieldsSitAtTheirOffsets) {
    CheckTable({FIELD(FilterContext, size, 0), FIELD(FilterContext, version, 4),
                FIELD(FilterContext, frameCount, 12), FIELD(FilterContext, frameNumber, 16),
                FIELD(FilterContext, width, 24), FIELD(FilterContext, height, 28),
                FIELD(FilterContext, bitsPerPixel, 32), FIELD(FilterContext, xResolution, 40),
                FIELD(FilterContext, yResolution, 44), FIELD(FilterContext, fileName, 52),
                FIELD(FilterContext, file, 60), FIELD(FilterContext, view, 68),
                FIELD(FilterContext, rowBuffer, 76), FIELD(FilterContext, format, 112),
                FIELD(FilterContext, error, 116), FIELD(FilterContext, paletteCount, 124),
                FIELD(FilterContext, palette, 128), FIELD(FilterContext, fileSize, 132),
                FIELD(FilterContext, moduleBuffer, 160), FIELD(FilterContext, helpDirectory, 204),
                FIELD(FilterContext, reader, 248), FIELD(FilterContext, progressWord, 252),
                FIELD(FilterContext, directory, 256), FIELD(FilterContext, callbacks, 260),
                FIELD(FilterContext, compress, 324), FIELD(FilterContext, decompress, 328),
                FIELD(FilterContext, compressionInit, 332), FIELD(FilterContext, compressionTerm, 336),
                FIELD(FilterContext, progress, 344), FIELD(FilterContext, write, 376),
                FIELD(FilterContext, rowRead, 380), FIELD(FilterContext, seek, 384),
                FIELD(FilterContext, read, 388), FIELD(FilterContext, rowCallback, 392)},
               sizeof(FilterContext), kSiblingContextSize);
}

TEST(FilterLayoutTest, CallbackBlockEntriesSitAtTheirOffsets) {
    using B = FilterCallbackBlock;
    CheckTable({FIELD(B, helpFileName, 20), FIELD(B, contextHelp, 208), FIELD(B, contextMenuHelp, 216),
                FIELD(B, directory, 228), FIELD(B, setDevRectFromImage, 308), FIELD(B, setLogRect, 312),
                FIELD(B, getImageData, 320), FIELD(B, destroyImage, 324), FIELD(B, convertImageToImage, 332),
                FIELD(B, createImageEx, 336), FIELD(B, createPalettedImageEx, 340),
                FIELD(B, createImagePtrToDIB, 344), FIELD(B, createRS, 348), FIELD(B, destroyRS, 352),
                FIELD(B, initializeDisplay, 360), FIELD(B, setDevOriginPoint, 372),
                FIELD(B, setLogOriginPoint, 376), FIELD(B, setMapMode, 380), FIELD(B, solidRectangle, 384),
                FIELD(B, displayImageRect, 388), FIELD(B, stretchBlitInContext, 392),
                FIELD(B, getOptPaletteRImage, 396), FIELD(B, duplicatePalette, 404),
                FIELD(B, destroyPalette, 408), FIELD(B, setImageData, 412), FIELD(B, getNearestPalIndex, 416),
                FIELD(B, createPalette, 580), FIELD(B, setPaletteEntry, 584)},
               sizeof(FilterCallbackBlock), kCallbackBlockSize);
}

}  // namespace
}  // namespace imageload
