// Reading a gzip-compressed file as the bytes it inflates to (a ".svgz"
// document). Where the build has no zlib, Available() is false and every
// open fails.
#pragma once

#include <cstdint>
#include <memory>

namespace platform {

// Whether the file begins with the gzip signature (1F 8B).
bool IsGzipFile(const char* path);

class InflatingFile {
  public:
    InflatingFile();
    ~InflatingFile();
    InflatingFile(const InflatingFile&) = delete;
    InflatingFile& operator=(const InflatingFile&) = delete;

    static bool Available();

    bool Open(const char* path);
    // The inflated bytes read, 0 at the end, -1 when the data is damaged.
    long Read(void* buffer, std::uint32_t count);
    void Close();

  private:
    struct State;
    std::unique_ptr<State> state_;
};

// Inflates the whole file without keeping it: the inflated size, stopping
// once it passes limit (answers a size above limit then); -1 for a file that
// does not open or whose data is damaged.
std::int64_t InflatedSizeUpTo(const char* path, std::int64_t limit);

}  // namespace platform
