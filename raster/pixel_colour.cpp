// Colour records to pixel bytes and back.
#include "raster/pixel_colour.h"

#include <cstring>

namespace raster {

int RIPColorToPixel(std::uint8_t* pixel, const colour::ColorRecord& colour) {
    switch (colour.Model()) {
        case colour::kModelCMYK:
            std::memcpy(pixel, colour.bytes + 8, 4);
            return 1;
        case colour::kModelRGB:
        case colour::kModelLabOffset:
            std::memcpy(pixel, colour.bytes + 8, 3);
            return 1;
        case colour::kModelBlackWhite:
            pixel[0] = colour.U32(8) != 0 ? 255 : 0;
            return 1;
        case colour::kModelGrey:
            pixel[0] = colour.bytes[8];
            return 1;
        case colour::kModelRGB48:
            std::memcpy(pixel, colour.bytes + 6, 6);
            return 1;
        case colour::kModelGrey16:
            std::memcpy(pixel, colour.bytes + 8, 2);
            return 1;
        default:
            return 0;
    }
}

int RIPPixelToColor(colour::ColorRecord* colour, const std::uint8_t* pixel) {
    switch (colour->Model()) {
        case colour::kModelCMYK:
            std::memcpy(colour->bytes + 8, pixel, 4);
            return 1;
        case colour::kModelRGB:
        case colour::kModelLabOffset:
            std::memcpy(colour->bytes + 8, pixel, 3);
            return 1;
        case colour::kModelGrey:
            colour->bytes[8] = pixel[0];
            return 1;
        case colour::kModelRGB48:
            std::memcpy(colour->bytes + 6, pixel, 6);
            return 1;
        case colour::kModelGrey16:
            std::memcpy(colour->bytes + 8, pixel, 2);
            return 1;
        default:
            return 0;
    }
}

}  // namespace raster
