// A temporary file read and written at any offset, for data that is moved
// out of memory and back. It is gone from the disk as soon as it is made (only
// the open descriptor keeps it), so nothing is left behind on exit, on a
// failure or on a crash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace platform {

class SwapFile {
  public:
    virtual ~SwapFile() = default;
    // Writes size bytes at offset, growing the file as needed; false on failure.
    virtual bool WriteAt(std::uint64_t offset, const void* bytes, std::size_t size) = 0;
    // Reads exactly size bytes at offset; false on failure or past the end.
    virtual bool ReadAt(std::uint64_t offset, void* bytes, std::size_t size) = 0;
};

// A new swap file in the temporary folder (TemporaryFolder()) whose name
// starts with prefix; null when it cannot be made.
std::unique_ptr<SwapFile> CreateSwapFile(std::string_view prefix);

}  // namespace platform
