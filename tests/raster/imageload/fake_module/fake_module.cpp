// A decoder module for tests: a 2 × 3 frame of 8-bit palette indices whose
// rows it delivers in one call with a negative width (rows after the
// pointer, the last one lowest). Built without its entry point as well.
#include <cstdint>
#include <cstring>

#include "imageload/filter_context.h"

#ifndef FAKE_NO_ENTRY
extern "C" __attribute__((visibility("default"))) std::int32_t FilterEntry(std::int32_t code,
                                                                          imageload::FilterContext* context) {
    static std::uint8_t palette[4 * 3] = {0, 0, 255, 0, 255, 0, 255, 0, 0, 9, 9, 9};  // blue, green, red order
    if (code == imageload::kCodeReadHeader) {
        context->width = 2;
        context->height = 3;
        context->bitsPerPixel = 8;
        context->palette = palette;
        context->paletteCount = 4;
        return 1;
    }
    if (code == imageload::kCodeReadPixels) {
        // A row of padding, then rows of index 1, 2 and 3.
        const std::uint8_t rows[4 * 4] = {0, 0, 0, 0, 1, 1, 0, 0, 2, 2, 0, 0, 3, 3, 0, 0};
        return context->rowCallback(rows, 0, 0, 3, -2, 4, 0, context->reader);
    }
    return 0;
}
#endif
