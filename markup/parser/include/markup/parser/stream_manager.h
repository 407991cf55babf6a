// StreamManager: where the parser's readers get their input streams.
//
// Opening names a stream and answers it, not yet opened, with a status;
// releasing closes and deletes it. The one instance is made on first use.
#pragma once

#include "markup/return_codes.h"
#include "markup/singleton.h"
#include "markup/stream.h"
#include "markup/string.h"

namespace markup {

class StreamManager {
  public:
    // Raises IllegalUsageFault unless made through Instance().
    StreamManager();
    virtual ~StreamManager() = default;
    StreamManager(const StreamManager&) = delete;
    StreamManager& operator=(const StreamManager&) = delete;

    // Raises MemoryAllocationFault when the instance cannot be made.
    static StreamManager& Instance() { return Singleton<StreamManager>::Instance(); }

    // A stream over the local file of that name; null and kErr_OutOfMemory
    // when none can be made.
    virtual InStream* OpenStream(const String& name, ReturnCodeEnum& status);
    // Closes the stream when it is open and deletes it; null is ignored.
    virtual void ReleaseStream(InStream* stream);
};

// Releases a stream through the manager however the reading ends.
class ManagedStream {
  public:
    ManagedStream(StreamManager& manager, InStream* stream) : manager_(manager), stream_(stream) {}
    ~ManagedStream() { manager_.ReleaseStream(stream_); }
    ManagedStream(const ManagedStream&) = delete;
    ManagedStream& operator=(const ManagedStream&) = delete;

    InStream* Get() const { return stream_; }

  private:
    StreamManager& manager_;
    InStream* stream_;
};

}  // namespace markup
