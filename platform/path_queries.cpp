// Path questions over POSIX calls.
// 64-bit file sizes and inode numbers on 32-bit builds too.
#ifndef _FILE_OFFSET_BITS
#define _FILE_OFFSET_BITS 64
#endif
#include "platform/path_queries.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace platform {

namespace {
// Seconds from 1601-01-01 to 1970-01-01.
constexpr std::uint64_t kEpochShift = 11644473600ull;
}  // namespace

bool PathExists(const char* path) {
    struct stat st;
    return path && *path && ::stat(path, &st) == 0;
}

bool LastWriteTime(const char* path, std::uint32_t& low, std::uint32_t& high) {
    struct stat st;
    if (!path || ::stat(path, &st) != 0) return false;
    const std::uint64_t ticks = (static_cast<std::uint64_t>(st.st_mtim.tv_sec) + kEpochShift) * 10000000ull +
                                static_cast<std::uint64_t>(st.st_mtim.tv_nsec) / 100;
    low = static_cast<std::uint32_t>(ticks);
    high = static_cast<std::uint32_t>(ticks >> 32);
    return true;
}

bool MakeFolders(const std::string& path) {
    if (path.empty()) return false;
    for (std::size_t at = 1; at <= path.size(); ++at) {
        if (at != path.size() && path[at] != '/') continue;
        const std::string level = path.substr(0, at);
        if (::mkdir(level.c_str(), 0777) != 0 && errno != EEXIST) return false;
    }
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool RemoveFile(const char* path) {
    return path && (::unlink(path) == 0 || errno == ENOENT);
}

std::string UserCacheFolder() {
    std::string folder;
    if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && *xdg == '/') {
        folder = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        folder = std::string(home) + "/.cache";
    }
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace platform
