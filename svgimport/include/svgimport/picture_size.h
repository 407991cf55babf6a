// The size in pixels a picture file declares in its header: PNG's IHDR
// chunk, a JPEG frame header (SOF), GIF's logical screen. An image's
// preserveAspectRatio fits this size into the element's box.
#ifndef SVGIMPORT_PICTURE_SIZE_H
#define SVGIMPORT_PICTURE_SIZE_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace SVG {

struct WPictureSize {
    uint32_t width = 0;
    uint32_t height = 0;
};

// How many leading bytes of a file PictureSizeOf may need: a JPEG's frame
// header may follow large metadata segments.
inline constexpr size_t kPictureHeaderBytes = size_t{1} << 20;

// The size the bytes' header declares; nothing for other bytes, a header
// cut short or a size of 0. Reads only within `bytes`.
std::optional<WPictureSize> PictureSizeOf(std::string_view bytes);

}  // namespace SVG

#endif  // SVGIMPORT_PICTURE_SIZE_H
