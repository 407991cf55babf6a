// The stand-in host's PNG, JPEG and GIF decoders on arbitrary files: a
// broken file is refused with a message and leaves the image empty; a
// decoded one is within the size limits and holds all its pixels.
#define _GNU_SOURCE 1
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/media/image.h"
#include "host/media/image_codec.h"

namespace {

int MemoryFile() {
    static const int descriptor = [] {
        const int fd = ::memfd_create("svgfilter-fuzz-image", 0);
        if (fd < 0) std::abort();
        return fd;
    }();
    return descriptor;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 256 * 1024) return -1;
    const int fd = MemoryFile();
    if (::ftruncate(fd, 0) != 0) std::abort();
    if (size > 0 && ::pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) std::abort();
    const std::string path = "/proc/self/fd/" + std::to_string(fd);

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
