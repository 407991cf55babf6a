// Swap files over POSIX descriptors: made with mkostemp and unlinked at once.

// Large-file offsets on 32-bit builds too.
#define _FILE_OFFSET_BITS 64
#include "platform/swap_file.h"

#include <unistd.h>

#include <cerrno>
#include <string>

#include "temporary_files.h"

namespace platform {
namespace {

class PosixSwapFile final : public SwapFile {
  public:
    explicit PosixSwapFile(int descriptor) : descriptor_(descriptor) {}
    ~PosixSwapFile() override { ::close(descriptor_); }

    bool WriteAt(std::uint64_t offset, const void* bytes, std::size_t size) override {
        return Transfer(::pwrite, offset, const_cast<void*>(bytes), size);
    }

    bool ReadAt(std::uint64_t offset, void* bytes, std::size_t size) override {
        return Transfer([](int d, void* b, std::size_t n, off_t at) { return ::pread(d, b, n, at); }, offset,
                        bytes, size);
    }

  private:
    // Repeats a positioned read or write until all size bytes have moved.
    template <class Call>
    bool Transfer(Call call, std::uint64_t offset, void* bytes, std::size_t size) {
        auto* p = static_cast<char*>(bytes);
        while (size > 0) {
            const ssize_t n = call(descriptor_, p, size, static_cast<off_t>(offset));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            p += n;
            size -= static_cast<std::size_t>(n);
            offset += static_cast<std::uint64_t>(n);
        }
        return true;
    }

    int descriptor_;
};

}  // namespace

std::unique_ptr<SwapFile> CreateSwapFile(std::string_view prefix) {
    std::string name;
    const int descriptor = detail::OpenTemporary(prefix, &name);
    if (descriptor < 0) return nullptr;
    ::unlink(name.c_str());
    return std::make_unique<PosixSwapFile>(descriptor);
}

}  // namespace platform
