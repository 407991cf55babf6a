// The gzip signature and the size scan, common to both builds.
#include <sys/stat.h>

#include <cstdio>
#include <vector>

#include "platform/inflating_file.h"

namespace platform {

bool IsGzipFile(const char* path) {
    // Only a regular file is opened to look: a FIFO would block the open.
    struct stat st {};
    if (::stat(path, &st) != 0 || !S_ISREG(st.st_mode)) return false;
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    unsigned char head[2] = {0, 0};
    const bool gzip = std::fread(head, 1, 2, file) == 2 && head[0] == 0x1F && head[1] == 0x8B;
    std::fclose(file);
    return gzip;
}

std::int64_t InflatedSizeUpTo(const char* path, std::int64_t limit) {
    InflatingFile file;
    if (!file.Open(path)) return -1;
    std::vector<unsigned char> buffer(std::size_t{1} << 16);
    std::int64_t total = 0;
    while (total <= limit) {
        const long got = file.Read(buffer.data(), static_cast<std::uint32_t>(buffer.size()));
        if (got < 0) return -1;
        if (got == 0) break;
        total += got;
    }
    return total;
}

}  // namespace platform
