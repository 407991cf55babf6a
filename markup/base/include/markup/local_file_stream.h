// LocalFileStream: the stream over a local file, with separate read and
// write positions. The file object is positioned lazily, at the next transfer
// whose position differs from where the file stands.
#pragma once

#include "markup/stream.h"

namespace markup {

class LocalFileStream : public InOutStream {
  public:
    LocalFileStream() = default;
    ~LocalFileStream() override;

    // A new, not yet opened stream named by path; null (kErr_OutOfMemory)
    // when it cannot be allocated.
    static LocalFileStream* Create(const String& path, ReturnCodeEnum& status);

    bool AtEnd(std::int32_t which) override;
    ReturnCodeEnum Seek(std::int32_t offset, std::int32_t origin, std::int32_t which) override;
    // The read position: what a parse has consumed so far.
    std::uint32_t CurrentPosition() const override { return readPosition_; }
    // bufferSize -1 keeps the file's own buffering.
    ReturnCodeEnum Open(std::int32_t bufferSize, std::int32_t mode) override;
    // Reports what the file refused when its buffered bytes went out.
    ReturnCodeEnum Close() override;
    ReturnCodeEnum Write(const void* buffer, std::uint32_t count) override;
    ReturnCodeEnum Read(void* buffer, std::uint32_t& count) override;

    std::uint32_t ReadPosition() const { return readPosition_; }
    std::uint32_t WritePosition() const { return writePosition_; }

  private:
    std::uint32_t writePosition_ = 0;
    std::uint32_t readPosition_ = 0;
    std::uint32_t filePosition_ = 0;
    // False after a failed transfer left the file pointer somewhere unknown.
    bool filePositionKnown_ = true;
};

}  // namespace markup
