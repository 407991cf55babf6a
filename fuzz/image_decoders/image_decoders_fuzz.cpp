// The stand-in host's PNG, JPEG and GIF decoders on arbitrary files: a
// broken file is refused with a message and leaves the image empty; a
// decoded one is within the size limits and holds all its pixels.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/media/image.h"
#include "host/media/image_codec.h"
#include "memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 256 * 1024) return -1;
    const std::string& path = fuzzsupport::MemoryFileWith(data, size);

    host::media::Image image;
    const host::media::Status status = host::media::DecodeImageFile(path, image);
    const bool whole = !image.empty() && host::media::ImageSizeAllowed(image.width, image.height) &&
                       image.rgba.size() == std::size_t{image.width} * image.height * 4;
    if (status ? !whole : !image.empty()) {
        std::fprintf(stderr, "decoder answered %s with a %u x %u image of %zu bytes\n",
                     status ? "success" : status.message().c_str(), image.width, image.height,
                     image.rgba.size());
        std::abort();
    }
    return 0;
}
