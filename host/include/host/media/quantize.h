// Reducing an image to a palette.
#ifndef HOST_MEDIA_QUANTIZE_H
#define HOST_MEDIA_QUANTIZE_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "host/media/image.h"

namespace host::media {

// A palette of at most maxColours for the image (pixels taken over white).
// When the image has no more distinct colours than that, they are the
// palette exactly; otherwise median cut over the colour histogram.
std::vector<Rgb> BuildPalette(const Image& image, size_t maxColours);

// One palette index a pixel, each pixel taken over white and mapped to the
// nearest entry; dither spreads the error (Floyd-Steinberg).
std::vector<uint8_t> MapToPalette(const Image& image, const std::vector<Rgb>& palette, bool dither);

}  // namespace host::media

#endif  // HOST_MEDIA_QUANTIZE_H
