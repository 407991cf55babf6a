// One-pixel row conversions for single colours. The row buffers are the
// packed rows of a width of 1 (four bytes each).
#include "one_pixel.h"

#include <cstring>

#include "colour/rows.h"

namespace colour::detail {
namespace {

template <int In, int Out, typename Entry>
bool OnePixel(Entry entry, const std::uint8_t* in, std::uint8_t* out) {
    std::uint8_t src[4] = {};
    std::uint8_t dst[4] = {};
    std::memcpy(src, in, In);
    if (!entry(nullptr, dst, src, 1, 1)) return false;
    std::memcpy(out, dst, Out);
    return true;
}

}  // namespace

bool OnePixelRGBToCMYK(const std::uint8_t bgr[3], std::uint8_t cmyk[4]) {
    return OnePixel<3, 4>(ClrRGBRowsToCMYK, bgr, cmyk);
}
bool OnePixelLabToCMYK(const std::uint8_t lab[3], std::uint8_t cmyk[4]) {
    return OnePixel<3, 4>(ClrLabRowsToCMYK, lab, cmyk);
}
bool OnePixelCMYKToRGB(const std::uint8_t cmyk[4], std::uint8_t bgr[3]) {
    return OnePixel<4, 3>(ClrCMYKRowsToRGB, cmyk, bgr);
}
bool OnePixelCMYKToLab(const std::uint8_t cmyk[4], std::uint8_t lab[3]) {
    return OnePixel<4, 3>(ClrCMYKRowsToLab, cmyk, lab);
}
bool OnePixelLabToRGB(const std::uint8_t lab[3], std::uint8_t bgr[3]) {
    return OnePixel<3, 3>(ClrLabRowsToRGBPacked, lab, bgr);
}
bool OnePixelRGBToLab(const std::uint8_t bgr[3], std::uint8_t lab[3]) {
    return OnePixel<3, 3>(ClrRGBRowsToLabPacked, bgr, lab);
}

}  // namespace colour::detail
