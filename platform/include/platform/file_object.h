// A buffered binary file for the markup engine's streams.
//
// The streams need a small set of file operations (open with access and
// creation flags, read, write, position from the start, length, set length,
// close, abort) and a failure cause they can turn into their own status
// codes. Failures are returned, never thrown, so a stream can keep its
// positions unchanged when a transfer fails.
#pragma once

#include <cstdint>
#include <cstdio>

namespace platform {

// Why a file operation failed. The values are fixed: the streams map them to
// status codes by value.
enum class FileCause : int {
    none = 0,
    generic = 1,
    fileNotFound = 2,
    badPath = 3,
    tooManyOpenFiles = 4,
    accessDenied = 5,
    invalidFile = 6,
    removeCurrentDir = 7,
    directoryFull = 8,
    badSeek = 9,
    hardIO = 10,
    sharingViolation = 11,
    lockViolation = 12,
    diskFull = 13,
    endOfFile = 14,
};

// Open flags. The low two bits are the access; the others add to it.
enum FileOpenFlags : unsigned {
    kFileRead = 0x0000,
    kFileWrite = 0x0001,
    kFileReadWrite = 0x0002,
    kFileShareDenyWrite = 0x0020,  // no meaning on POSIX; accepted and ignored
    kFileCreate = 0x1000,
    kFileNoTruncate = 0x2000,
    kFileBinary = 0x8000,  // every file here is binary
};

// The cause for an errno value.
FileCause CauseFromErrno(int err);

class FileObject {
  public:
    FileObject() = default;
    ~FileObject();  // closes without reporting
    FileObject(const FileObject&) = delete;
    FileObject& operator=(const FileObject&) = delete;

    FileCause Open(const char* path, unsigned flags);
    bool IsOpen() const { return file_ != nullptr; }

    // Reads up to count bytes; got is what came. Reaching the end is not a
    // failure: it shows as got < count.
    FileCause Read(void* buffer, std::uint32_t count, std::uint32_t& got);
    FileCause Write(const void* buffer, std::uint32_t count);
    FileCause SeekFromStart(std::uint32_t offset, std::uint32_t& newPosition);
    FileCause Length(std::uint32_t& length);
    FileCause SetLength(std::uint32_t length);

    // Makes the file fully buffered with a buffer of that many bytes. Must
    // come before the first transfer; false when refused.
    bool SetBuffer(std::uint32_t size);

    // Also reports a failed flush of buffered output that an earlier call
    // (a length query) met but could not pass on.
    FileCause Close();
    // Closes and ignores every failure.
    void Abort();

  private:
    enum class LastOp { none, read, write };
    // The C library needs a positioning call between a write and a read.
    FileCause SwitchTo(LastOp op);

    // Flushes pending output; a failure is also kept for Close.
    FileCause Flush();

    std::FILE* file_ = nullptr;
    char* buffer_ = nullptr;
    LastOp last_ = LastOp::none;
    FileCause lostWrite_ = FileCause::none;
};

}  // namespace platform
