// One decoder module on arbitrary file bytes: its header call and its pixel
// call over a context like the reader's. The rows it delivers must lie
// inside the frame it announced and be as long as their stride says.
#ifndef SVGFILTER_FUZZ_DECODER_MODULE_H
#define SVGFILTER_FUZZ_DECODER_MODULE_H

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "decoder_module.h"

namespace fuzzsupport {

inline std::int32_t CheckRows(const std::uint8_t* rows, std::int32_t y, std::int32_t x, std::int32_t rowCount,
                              std::int32_t width, std::int32_t stride, std::int32_t, void* owner) {
    const auto* context = static_cast<const imageload::FilterContext*>(owner);
    const std::uint64_t needed = (std::uint64_t(width) * context->bitsPerPixel + 7) / 8;
    if (!rows || x != 0 || rowCount != 1 || width != context->width || y < 0 || y >= context->height ||
        std::uint64_t(stride) < needed) {
        std::abort();
    }
    volatile std::uint8_t sum = 0;
    for (std::int32_t i = 0; i < stride; ++i) sum = sum + rows[i];  // every byte must be readable
    return 1;
}

inline int RunDecoderModule(decoder_module::DecodeFn decode, const std::uint8_t* data, std::size_t size) {
    if (size == 0 || size > 256 * 1024) return -1;
    auto* copy = static_cast<std::uint8_t*>(std::malloc(size));
    std::memcpy(copy, data, size);
    for (std::uint32_t frame = 1; frame <= 2; ++frame) {
        imageload::FilterContext context{};
        context.size = imageload::kSiblingContextSize;
        context.view = copy;
        context.fileSize = static_cast<std::uint32_t>(size);
        context.frameNumber = frame;
        context.rowCallback = CheckRows;
        context.reader = &context;
        if (decoder_module::Run(decode, imageload::kCodeReadHeader, &context)) {
            if (context.width <= 0 || context.height <= 0) std::abort();
            if (context.paletteCount > 256 || (context.paletteCount && !context.palette)) std::abort();
            decoder_module::Run(decode, imageload::kCodeReadPixels, &context);
        }
        std::free(context.moduleBuffer);
    }
    std::free(copy);
    return 0;
}

}  // namespace fuzzsupport

#endif  // SVGFILTER_FUZZ_DECODER_MODULE_H
