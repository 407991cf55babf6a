// The stream hierarchy through which the engine reads and writes files.
//
// Every operation answers a status code; failures of the file below never
// escape as exceptions. InStream and OutStream are the two sides of a Stream
// (each derives virtually from it) and InOutStream joins them.
#pragma once

#include <cstdint>

#include "markup/return_codes.h"
#include "markup/string.h"

namespace platform {
class FileObject;
enum class FileCause : int;
}  // namespace platform

namespace markup {

// Access modes of Open.
enum StreamMode : std::int32_t {
    kStreamRead = 0,
    kStreamWrite = 1,
    kStreamReadWrite = 2,
    kStreamNotOpened = 3,
};

// Which position an operation means.
enum StreamWhich : std::int32_t {
    kStreamReadPosition = 0,
    kStreamWritePosition = 1,
    kStreamBothPositions = 2,
};

// Origins of Seek.
enum StreamOrigin : std::int32_t {
    kSeekFromStart = 0,
    kSeekFromEnd = 1,
    kSeekFromCurrent = 2,
};

class Stream {
  public:
    Stream();
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    virtual const String& NameRef() const;
    // Asks the file for its length, keeps and answers it; -1 while unknown.
    virtual std::int32_t UpdateLength();
    virtual ReturnCodeEnum SetLength(std::uint32_t length);
    virtual bool IsOpen() const;
    virtual bool AtEnd(std::int32_t which) = 0;
    virtual ReturnCodeEnum Seek(std::int32_t offset, std::int32_t origin, std::int32_t which) = 0;
    // Where the stream stands, for progress reports; the base has no position.
    virtual std::uint32_t CurrentPosition() const;
    virtual ~Stream();
    virtual ReturnCodeEnum SetPath(const String& path);
    virtual ReturnCodeEnum Open(std::int32_t bufferSize, std::int32_t mode);
    virtual ReturnCodeEnum Close();
    virtual ReturnCodeEnum SetName(const String& path);
    virtual ReturnCodeEnum Write(const void* buffer, std::uint32_t count) = 0;
    // count comes back as the number of bytes read.
    virtual ReturnCodeEnum Read(void* buffer, std::uint32_t& count) = 0;
    // The status for a failure of the file object.
    virtual ReturnCodeEnum ErrorFromException(platform::FileCause cause, bool reading);

    // Closes an open stream, destroys it and clears the caller's pointer;
    // answers the close status, or kErr_None when it was not open.
    static ReturnCodeEnum CloseAndDelete(Stream** stream);

    std::int32_t Mode() const { return mode_; }
    std::int32_t Length() const { return length_; }

  protected:
    platform::FileObject* file_ = nullptr;
    std::int32_t mode_ = kStreamNotOpened;
    bool isOpen_ = false;
    std::uint32_t positionWord_ = 0;
    std::int32_t length_ = -1;
    String name_;
};

class InStream : public virtual Stream {};
class OutStream : public virtual Stream {};
class InOutStream : public InStream, public OutStream {};

}  // namespace markup
