// Swap files over POSIX descriptors: made with mkostemp and unlinked at once.

// Large-file offsets on 32-bit builds too.
#define _FILE_OFFSET_BITS 64
#include "platform/swap_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/files.h"

namespace platform {
namespace {

class PosixSwapFile final : public SwapFile {
  public:
    explicit PosixSwapFile(int descriptor) : descriptor_(descriptor) {}
    ~PosixSwapFile() override { ::close(descriptor_); }

    bool WriteAt(std::uint64_t offset, const void* bytes, std::size_t size) override {
        const auto* p = static_cast<const char*>(bytes);
        while (size > 0) {
            const ssize_t n = ::pwrite(descriptor_, p, size, static_cast<off_t>(offset));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            p += n;
            size -= static_cast<std::size_t>(n);
            offset += static_cast<std::uint64_t>(n);
        }
        return true;
    }

    bool ReadAt(std::uint64_t offset, void* bytes, std::size_t size) override {
        auto* p = static_cast<char*>(bytes);
        while (size > 0) {
            const ssize_t n = ::pread(descriptor_, p, size, static_cast<off_t>(offset));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            p += n;
            size -= static_cast<std::size_t>(n);
            offset += static_cast<std::uint64_t>(n);
        }
        return true;
    }

  private:
    int descriptor_;
};

}  // namespace

std::unique_ptr<SwapFile> CreateSwapFile(std::string_view prefix) {
    std::string pattern = TemporaryFolder();
    if (!pattern.empty() && pattern.back() != '/') pattern += '/';
    pattern.append(prefix);
    pattern += "XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int descriptor = ::mkostemp(name.data(), O_CLOEXEC);
    if (descriptor < 0) return nullptr;
    ::unlink(name.data());
    return std::make_unique<PosixSwapFile>(descriptor);
}

}  // namespace platform
