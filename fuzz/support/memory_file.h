// A file held in memory that a reader opens by its name like any file on
// disk: each fuzz input becomes its whole content, without a disk write.
#ifndef SVGFILTER_FUZZ_MEMORY_FILE_H
#define SVGFILTER_FUZZ_MEMORY_FILE_H

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace fuzzsupport {

// The name of the file, now holding exactly the bytes.
inline const std::string& MemoryFileWith(const std::uint8_t* data, std::size_t size) {
    static const int descriptor = [] {
        const int fd = ::memfd_create("svgfilter-fuzz", 0);
        if (fd < 0) std::abort();
        return fd;
    }();
    static const std::string path = "/proc/self/fd/" + std::to_string(descriptor);
    if (::ftruncate(descriptor, 0) != 0) std::abort();
    if (size > 0 && ::pwrite(descriptor, data, size, 0) != static_cast<ssize_t>(size)) std::abort();
    return path;
}

}  // namespace fuzzsupport

#endif  // SVGFILTER_FUZZ_MEMORY_FILE_H
