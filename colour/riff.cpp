// RIFF files: "RIFF", a u32 length and a four-character form type, then
// chunks of a four-character id, a u32 length and the data, each padded to
// an even length. Lengths are little-endian.
// 64-bit file sizes and inode numbers on 32-bit builds too.
#ifndef _FILE_OFFSET_BITS
#define _FILE_OFFSET_BITS 64
#endif
#include "colour/riff.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <limits>

namespace colour {
namespace {

std::uint32_t ReadU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool SameId(const std::uint8_t* bytes, std::string_view id) {
    return id.size() == 4 && std::memcmp(bytes, id.data(), 4) == 0;
}

class FileByteSource : public ByteSource {
  public:
    FileByteSource(int fd, std::uint64_t size) : fd_(fd), size_(size) {}
    ~FileByteSource() override { ::close(fd_); }
    FileByteSource(const FileByteSource&) = delete;
    FileByteSource& operator=(const FileByteSource&) = delete;

    std::uint64_t Size() const override { return size_; }
    bool ReadAt(std::uint64_t offset, void* buffer, std::size_t size) override {
        if (offset > size_ || size > size_ - offset) return false;
        auto* out = static_cast<std::uint8_t*>(buffer);
        while (size > 0) {
            if (offset > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) return false;
            const ssize_t got = ::pread(fd_, out, size, static_cast<off_t>(offset));
            if (got <= 0) return false;
            out += got;
            offset += static_cast<std::uint64_t>(got);
            size -= static_cast<std::size_t>(got);
        }
        return true;
    }

  private:
    int fd_;
    std::uint64_t size_;
};

}  // namespace

bool MemoryByteSource::ReadAt(std::uint64_t offset, void* buffer, std::size_t size) {
    if (offset > size_ || size > size_ - offset) return false;
    if (size != 0) std::memcpy(buffer, data_ + offset, size);
    return true;
}

std::unique_ptr<ByteSource> OpenFileByteSource(const std::string& localPath) {
    const int fd = ::open(localPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<FileByteSource>(fd, static_cast<std::uint64_t>(st.st_size));
}

bool RiffReader::OpenForm(std::string_view formType) {
    formEnd_ = 0;
    std::uint8_t header[12];
    if (!source_.ReadAt(0, header, sizeof header)) return false;
    if (!SameId(header, "RIFF") || !SameId(header + 8, formType)) return false;
    // The form's length counts the form type and the chunks; a form that
    // claims more than the file holds ends where the file does.
    const std::uint64_t declaredEnd = 8 + static_cast<std::uint64_t>(ReadU32(header + 4));
    if (declaredEnd < 12) return false;
    formEnd_ = std::min(declaredEnd, source_.Size());
    return true;
}

bool RiffReader::FindChunk(std::string_view id, RiffChunk* chunk) {
    if (formEnd_ == 0) return false;
    std::uint64_t at = 12;
    while (at + 8 <= formEnd_) {
        std::uint8_t header[8];
        if (!source_.ReadAt(at, header, sizeof header)) return false;
        const std::uint32_t size = ReadU32(header + 4);
        const std::uint64_t dataEnd = at + 8 + size;
        // A chunk cut off by the end of the form or the file is refused, and
        // nothing after it can be trusted.
        if (dataEnd > formEnd_) return false;
        if (SameId(header, id)) {
            std::memcpy(chunk->id, header, 4);
            chunk->size = size;
            chunk->dataOffset = at + 8;
            return true;
        }
        at = dataEnd + (size & 1);
    }
    return false;
}

bool RiffReader::ReadChunk(const RiffChunk& chunk, void* buffer, std::uint32_t size) {
    if (size > chunk.size) return false;
    return source_.ReadAt(chunk.dataOffset, buffer, size);
}

}  // namespace colour
