// StreamManager over local file streams.
#include "markup/parser/stream_manager.h"

#include <new>

#include "markup/inflating_file_stream.h"
#include "markup/local_file_stream.h"
#include "platform/inflating_file.h"

namespace markup {

StreamManager::StreamManager() {
    Singleton<StreamManager>::CheckConstruction();
}

InStream* StreamManager::OpenStream(const String& name, ReturnCodeEnum& status) {
    // A gzip-compressed document (".svgz") is read as the bytes it inflates to.
    if (platform::InflatingFile::Available() && platform::IsGzipFile(name.Text())) {
        auto* stream = new (std::nothrow) InflatingFileStream;
        if (!stream) {
            status = kErr_OutOfMemory;
            return nullptr;
        }
        status = stream->SetPath(name);
        return stream;
    }
    return LocalFileStream::Create(name, status);
}

void StreamManager::ReleaseStream(InStream* stream) {
    Stream* s = stream;
    Stream::CloseAndDelete(&s);
}

}  // namespace markup
