// StreamManager over local file streams.
#include "markup/parser/stream_manager.h"

#include "markup/local_file_stream.h"

namespace markup {

StreamManager::StreamManager() {
    Singleton<StreamManager>::CheckConstruction();
}

InStream* StreamManager::OpenStream(const String& name, ReturnCodeEnum& status) {
    return LocalFileStream::Create(name, status);
}

void StreamManager::ReleaseStream(InStream* stream) {
    Stream* s = stream;
    Stream::CloseAndDelete(&s);
}

}  // namespace markup
