// Size limits and the widening of decoded rows to RGBA.
#include "imagecodecs/decoded_image.h"

namespace imagecodecs {

bool SizeAllowed(std::uint64_t width, std::uint64_t height) {
    // Each side is at most the limit first, so that the product cannot wrap.
    return width > 0 && height > 0 && width <= kMaxImagePixels && height <= kMaxImagePixels &&
           width * height <= kMaxImagePixels;
}

std::string SizeRefusal(std::uint64_t width, std::uint64_t height) {
    if (SizeAllowed(width, height)) return {};
    const std::string size = "image size " + std::to_string(width) + " x " + std::to_string(height);
    if (width == 0 || height == 0) return size + " is outside the supported range: it has no pixels";
    return size + " is outside the supported range: more than " + std::to_string(kMaxImagePixels) + " pixels";
}

bool EmitRows(const DecodeRequest& request, const DecodedImage& image) {
    if (!request.rowSink) return true;
    for (std::uint32_t y = 0; y < image.height; ++y) {
        if (!request.rowSink(request.sinkContext, y, image.Row(y))) return false;
    }
    return true;
}

void ExpandRowToRgba(const DecodedImage& image, std::uint32_t y, std::uint8_t* rgba) {
    const std::uint8_t* in = image.Row(y);
    const std::uint8_t* coverage =
        image.coverage.empty() ? nullptr : image.coverage.data() + std::size_t{y} * image.width;
    for (std::uint32_t x = 0; x < image.width; ++x, rgba += 4) {
        switch (image.layout) {
            case Layout::kGrey:
                rgba[0] = rgba[1] = rgba[2] = in[x];
                rgba[3] = 255;
                break;
            case Layout::kRgb:
                rgba[0] = in[3 * x];
                rgba[1] = in[3 * x + 1];
                rgba[2] = in[3 * x + 2];
                rgba[3] = 255;
                break;
            case Layout::kRgba:
                for (int c = 0; c < 4; ++c) rgba[c] = in[4 * x + c];
                break;
            case Layout::kIndexed: {
                const std::uint8_t index = in[x];
                if ((coverage && coverage[x] == 0) || index >= image.palette.size()) {
                    rgba[0] = rgba[1] = rgba[2] = rgba[3] = 0;
                    break;
                }
                const Rgb& c = image.palette[index];
                rgba[0] = c.r;
                rgba[1] = c.g;
                rgba[2] = c.b;
                rgba[3] = index < image.paletteAlpha.size() ? image.paletteAlpha[index] : 255;
                break;
            }
        }
    }
}

}  // namespace imagecodecs
