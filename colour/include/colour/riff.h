// A reader of RIFF files: the form header and the chunks inside the form.
//
// Every size read from the file is checked against the bytes there are: a
// chunk whose declared length runs past the form or the file is refused,
// never read. A form header that claims more than the file holds is walked
// only as far as the file goes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace colour {

// Bytes at offsets: a file opened for reading, or a buffer.
class ByteSource {
  public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t Size() const = 0;
    // Reads exactly `size` bytes at `offset`; false when they are not all there.
    virtual bool ReadAt(std::uint64_t offset, void* buffer, std::size_t size) = 0;
};

class MemoryByteSource : public ByteSource {
  public:
    MemoryByteSource(const void* data, std::size_t size)
        : data_(static_cast<const std::uint8_t*>(data)), size_(size) {}
    std::uint64_t Size() const override { return size_; }
    bool ReadAt(std::uint64_t offset, void* buffer, std::size_t size) override;

  private:
    const std::uint8_t* data_;
    std::size_t size_;
};

// Opens a local file read-only; null when it cannot be opened.
std::unique_ptr<ByteSource> OpenFileByteSource(const std::string& localPath);

// A chunk's four-character id, its declared size and where its data starts.
struct RiffChunk {
    char id[4];
    std::uint32_t size;
    std::uint64_t dataOffset;
};

class RiffReader {
  public:
    explicit RiffReader(ByteSource& source) : source_(source) {}

    // Reads the file header; true when it is "RIFF" with the given form type.
    bool OpenForm(std::string_view formType);
    // The first chunk of the id inside the form. False when there is none,
    // when no form is open, or when a chunk on the way is cut off.
    bool FindChunk(std::string_view id, RiffChunk* chunk);
    // Reads the first `size` bytes of the chunk's data; false when the chunk
    // holds fewer.
    bool ReadChunk(const RiffChunk& chunk, void* buffer, std::uint32_t size);

  private:
    ByteSource& source_;
    std::uint64_t formEnd_ = 0;  // 0: no form open
};

}  // namespace colour
