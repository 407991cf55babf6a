// The decoder modules' side of the filter context. Depths: palettes of up
// to 2 entries give 1 bit a pixel, up to 16 give 4, else 8, entries written
// blue, green, red; grey pictures give 8 bits with the 256-entry grey ramp;
// colour gives 24 bits (blue, green, red). Alpha: pictures with an alpha
// channel are composited over white; transparent palette entries keep their
// colour; GIF pixels left unpainted or transparent take the screen's
// background entry.
#include "decoder_module.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace decoder_module {
namespace {

using imagecodecs::DecodedImage;
using imagecodecs::Layout;

std::uint32_t DepthOf(const DecodedImage& image) {
    switch (image.layout) {
        case Layout::kIndexed:
            return image.palette.size() <= 2 ? 1 : image.palette.size() <= 16 ? 4 : 8;
        case Layout::kGrey:
            return 8;
        default:
            return 24;
    }
}

std::uint32_t PerKilometre(std::uint32_t perMetre) {
    const std::uint64_t value = std::uint64_t{perMetre} * 1000;
    return value > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(value);
}

// The palette the frame is delivered with, in the context's module buffer.
bool WritePalette(const DecodedImage& image, imageload::FilterContext& context) {
    std::free(context.moduleBuffer);
    context.moduleBuffer = nullptr;
    context.palette = nullptr;
    context.paletteCount = 0;
    std::size_t count = 0;
    if (image.layout == Layout::kIndexed) count = image.palette.size();
    if (image.layout == Layout::kGrey) count = 256;
    if (count == 0) return true;
    auto* entries = static_cast<std::uint8_t*>(std::malloc(count * 3));
    if (!entries) return false;
    for (std::size_t i = 0; i < count; ++i) {
        const imagecodecs::Rgb c = image.layout == Layout::kGrey
                                       ? imagecodecs::Rgb{std::uint8_t(i), std::uint8_t(i), std::uint8_t(i)}
                                       : image.palette[i];
        entries[3 * i] = c.b;
        entries[3 * i + 1] = c.g;
        entries[3 * i + 2] = c.r;
    }
    context.moduleBuffer = entries;
    context.palette = entries;
    context.paletteCount = static_cast<std::uint32_t>(count);
    return true;
}

void PackRow(const DecodedImage& image, const std::uint8_t* in, std::uint32_t depth, std::uint8_t* out,
             std::size_t stride) {
    std::memset(out, 0, stride);
    switch (image.layout) {
        case Layout::kIndexed:
            for (std::uint32_t x = 0; x < image.width; ++x) {
                // An index past the palette reads as entry 0, as the raster
                // library reads such indices everywhere.
                const std::uint8_t index = in[x] < image.palette.size() ? in[x] : 0;
                if (depth == 8) {
                    out[x] = index;
                } else if (depth == 4) {
                    out[x / 2] |= static_cast<std::uint8_t>(index << (x % 2 ? 0 : 4));
                } else {
                    out[x / 8] |= static_cast<std::uint8_t>(index << (7 - x % 8));
                }
            }
            break;
        case Layout::kGrey:
            std::memcpy(out, in, image.width);
            break;
        case Layout::kRgb:
            for (std::uint32_t x = 0; x < image.width; ++x) {
                out[3 * x] = in[3 * x + 2];
                out[3 * x + 1] = in[3 * x + 1];
                out[3 * x + 2] = in[3 * x];
            }
            break;
        case Layout::kRgba:
            for (std::uint32_t x = 0; x < image.width; ++x) {
                const std::uint8_t* px = in + 4 * x;
                const unsigned a = px[3];
                for (int c = 0; c < 3; ++c) {
                    out[3 * x + 2 - c] = static_cast<std::uint8_t>((px[c] * a + 255u * (255u - a) + 127u) / 255u);
                }
            }
            break;
    }
}

// Keeps the decoder's reason for the reader; true when there is none.
bool Succeeded(const std::string& status, imageload::FilterContext& context) {
    std::snprintf(context.moduleMessage, sizeof context.moduleMessage, "%s", status.c_str());
    return status.empty();
}

std::int32_t ReadHeader(DecodeFn decode, imageload::FilterContext& context) {
    DecodedImage image;
    imagecodecs::DecodeRequest request;
    request.headerOnly = true;
    request.frame = context.frameNumber ? context.frameNumber : 1;
    if (!Succeeded(decode({context.view, context.fileSize}, request, image), context)) return 0;
    if (!WritePalette(image, context)) return 0;
    context.width = static_cast<std::int32_t>(image.width);
    context.height = static_cast<std::int32_t>(image.height);
    context.bitsPerPixel = DepthOf(image);
    context.xResolution = PerKilometre(image.xPixelsPerMetre);
    context.yResolution = PerKilometre(image.yPixelsPerMetre);
    context.frameCount = static_cast<std::uint16_t>(image.frameCount > 0xFFFF ? 0xFFFF : image.frameCount);
    return 1;
}

// Packs each decoded row as the header described it and hands it to the
// reader, bottom row of the image first in the picture's own order: picture
// row k is image row height - 1 - k.
struct RowDelivery {
    const DecodedImage* image = nullptr;
    imageload::FilterContext* context = nullptr;
    std::vector<std::uint8_t> packed;
    std::size_t stride = 0;
    bool checked = false;
};

bool DeliverRow(void* sinkContext, std::uint32_t k, const std::uint8_t* row) {
    auto& d = *static_cast<RowDelivery*>(sinkContext);
    const DecodedImage& image = *d.image;
    imageload::FilterContext& context = *d.context;
    if (!d.checked) {
        // The header call said what the rows look like; a picture that reads
        // differently now is not delivered.
        const std::uint32_t depth = DepthOf(image);
        if (static_cast<std::int32_t>(image.width) != context.width ||
            static_cast<std::int32_t>(image.height) != context.height || depth != context.bitsPerPixel) {
            return false;
        }
        d.stride = (std::size_t{image.width} * depth + 31) / 32 * 4;
        try {
            d.packed.resize(d.stride);
        } catch (...) {
            return false;
        }
        d.checked = true;
    }
    if (k >= image.height) return false;
    PackRow(image, row, context.bitsPerPixel, d.packed.data(), d.stride);
    const auto y = static_cast<std::int32_t>(image.height - 1 - k);
    return context.rowCallback(d.packed.data(), y, 0, 1, context.width, static_cast<std::int32_t>(d.stride), 0,
                               context.reader) != 0;
}

std::int32_t ReadPixels(DecodeFn decode, imageload::FilterContext& context) {
    if (!context.rowCallback) return 0;
    DecodedImage image;
    RowDelivery delivery;
    delivery.image = &image;
    delivery.context = &context;
    imagecodecs::DecodeRequest request;
    request.frame = context.frameNumber ? context.frameNumber : 1;
    request.rowSink = DeliverRow;
    request.sinkContext = &delivery;
    return Succeeded(decode({context.view, context.fileSize}, request, image), context) && delivery.checked ? 1 : 0;
}

}  // namespace

std::int32_t Run(DecodeFn decode, std::int32_t code, imageload::FilterContext* context) {
    if (!context || context->size < imageload::kSiblingContextSize || !context->view || context->fileSize == 0) {
        return 0;
    }
    try {
        if (code == imageload::kCodeReadHeader) return ReadHeader(decode, *context);
        if (code == imageload::kCodeReadPixels) return ReadPixels(decode, *context);
    } catch (...) {
        // No exception leaves the module.
    }
    return 0;
}

}  // namespace decoder_module
