// Questions about paths on the local file system, and folder creation.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// True when the path names anything (file or folder).
bool PathExists(const char* path);

// The last-write time as the two 32-bit halves of a count of 100-ns
// intervals since 1601-01-01 (the form document time stamps are kept in).
bool LastWriteTime(const char* path, std::uint32_t& low, std::uint32_t& high);

// Creates the folder and every missing folder above it; true when it exists
// afterwards.
bool MakeFolders(const std::string& path);

// Deletes a file; true when it is gone.
bool RemoveFile(const char* path);

// The user's cache folder: $XDG_CACHE_HOME, else $HOME/.cache; ends in "/".
// Empty when neither is set.
std::string UserCacheFolder();

}  // namespace platform
