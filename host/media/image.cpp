// Allocation of in-memory images within the host's size limits.
#include "host/media/image.h"

#include <new>

namespace host::media {

bool ImageSizeAllowed(uint64_t width, uint64_t height) {
    // Each side is at most the limit first, so that the product cannot wrap.
    return width > 0 && height > 0 && width <= kMaxImagePixels && height <= kMaxImagePixels &&
           width * height <= kMaxImagePixels;
}

Status Image::Allocate(uint32_t width, uint32_t height, Image& out) {
    out = Image{};
    if (!ImageSizeAllowed(width, height)) {
        return Status::Error("image size " + std::to_string(width) + " x " + std::to_string(height) +
                             " is outside the supported range");
    }
    try {
        out.rgba.assign(size_t{width} * height * 4, 0);
    } catch (const std::bad_alloc&) {
        return Status::Error("no memory for a " + std::to_string(width) + " x " + std::to_string(height) +
                             " image");
    }
    out.width = width;
    out.height = height;
    return {};
}

}  // namespace host::media
