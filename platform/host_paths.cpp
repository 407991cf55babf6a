// Host paths on POSIX: separators, drives and names matched without case.
// 64-bit file sizes and inode numbers on 32-bit builds too.
#ifndef _FILE_OFFSET_BITS
#define _FILE_OFFSET_BITS 64
#endif
#include "platform/host_paths.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <vector>

namespace platform {
namespace {

bool Exists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

bool SameFolded(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The entry of `folder` that matches `name` without regard to case.
bool FindFolded(const std::string& folder, std::string_view name, std::string* found) {
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) return false;
    std::vector<std::string> matches;
    while (const dirent* entry = ::readdir(dir)) {
        if (SameFolded(entry->d_name, name)) matches.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    if (matches.empty()) return false;
    *found = *std::min_element(matches.begin(), matches.end());
    return true;
}

}  // namespace

std::string LocalPath(std::string_view hostPath) {
    if (hostPath.size() >= 2 && hostPath[1] == ':' && std::isalpha(static_cast<unsigned char>(hostPath[0]))) {
        hostPath.remove_prefix(2);
        // "C:name" is relative to the drive's current folder; here the root.
        if (hostPath.empty() || (hostPath[0] != '\\' && hostPath[0] != '/')) {
            std::string rooted = "/";
            rooted.append(hostPath);
            return LocalPath(rooted);
        }
    }
    std::string path(hostPath);
    std::replace(path.begin(), path.end(), '\\', '/');
    if (path.empty() || Exists(path)) return path;

    // Walk the names, keeping each that exists and matching the others.
    std::string result = path[0] == '/' ? "/" : "";
    size_t at = result.size();
    bool matching = true;
    while (at < path.size()) {
        size_t end = path.find('/', at);
        const bool last = end == std::string::npos;
        if (last) end = path.size();
        std::string name = path.substr(at, end - at);
        if (matching && !name.empty() && name != "." && name != "..") {
            const std::string exact = result + name;
            std::string found;
            if (!Exists(exact)) {
                if (FindFolded(result, name, &found)) {
                    name = found;
                } else {
                    matching = false;
                }
            }
        }
        result += name;
        if (!last) result += '/';
        at = end + 1;
    }
    return result;
}

}  // namespace platform
