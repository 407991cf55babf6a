// InflatingFileStream: a read-only stream over a gzip-compressed file that
// hands out the bytes it inflates to, at most a bound of them (a file that
// inflates further fails its read once it passes the bound, so that a
// "zip bomb" costs no more than the bound).
#pragma once

#include <cstdint>
#include <memory>

#include "markup/stream.h"

namespace platform {
class InflatingFile;
}

namespace markup {

class InflatingFileStream : public InStream {
  public:
    // The bound the import reads documents up to.
    static constexpr std::uint64_t kMaxInflatedBytes = std::uint64_t{256} << 20;

    explicit InflatingFileStream(std::uint64_t maxBytes = kMaxInflatedBytes);
    ~InflatingFileStream() override;

    ReturnCodeEnum Open(std::int32_t bufferSize, std::int32_t mode) override;
    ReturnCodeEnum Close() override;
    bool IsOpen() const override { return open_; }
    bool AtEnd(std::int32_t which) override;
    ReturnCodeEnum Seek(std::int32_t offset, std::int32_t origin, std::int32_t which) override;
    std::uint32_t CurrentPosition() const override { return static_cast<std::uint32_t>(position_); }
    ReturnCodeEnum Write(const void* buffer, std::uint32_t count) override;
    // kErr_StreamRead at the end; kErr_StreamHardwareIO for damaged data or
    // past the bound.
    ReturnCodeEnum Read(void* buffer, std::uint32_t& count) override;

    // The read failed because the inflated bytes passed the bound.
    bool PassedTheBound() const { return passedBound_; }

  private:
    std::unique_ptr<platform::InflatingFile> file_;
    std::uint64_t maxBytes_;
    std::uint64_t position_ = 0;
    bool open_ = false;
    bool ended_ = false;
    bool passedBound_ = false;
};

}  // namespace markup
