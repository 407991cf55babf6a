// Stream: the state and operations shared by every stream.
#include "markup/stream.h"

#include "platform/file_object.h"

namespace markup {

using platform::FileCause;

Stream::Stream() = default;

Stream::~Stream() {
    delete file_;
}

const String& Stream::NameRef() const {
    return name_;
}

std::int32_t Stream::UpdateLength() {
    std::uint32_t length = 0;
    if (file_ && file_->Length(length) == FileCause::none) {
        // Lengths are 32-bit signed here; -1 stays reserved for "unknown".
        length_ = length > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<std::int32_t>(length);
    }
    return length_;
}

ReturnCodeEnum Stream::SetLength(std::uint32_t length) {
    if (!file_) return kErr_StreamWrite;
    const FileCause cause = file_->SetLength(length);
    return cause == FileCause::none ? kErr_None : ErrorFromException(cause, false);
}

bool Stream::IsOpen() const {
    return isOpen_;
}

std::uint32_t Stream::CurrentPosition() const {
    return positionWord_;
}

ReturnCodeEnum Stream::SetPath(const String& path) {
    return SetName(path);
}

ReturnCodeEnum Stream::Open(std::int32_t, std::int32_t mode) {
    isOpen_ = true;
    mode_ = mode;
    return kErr_None;
}

ReturnCodeEnum Stream::Close() {
    delete file_;
    file_ = nullptr;
    isOpen_ = false;
    return kErr_None;
}

ReturnCodeEnum Stream::SetName(const String& path) {
    name_ = path;
    return kErr_None;
}

ReturnCodeEnum Stream::ErrorFromException(FileCause cause, bool reading) {
    switch (cause) {
        case FileCause::none:
            return kErr_None;
        case FileCause::fileNotFound:
            return kErr_StreamFileNotFound;
        case FileCause::badPath:
            return kErr_StreamBadPath;
        case FileCause::tooManyOpenFiles:
            return kErr_StreamTooManyFiles;
        case FileCause::accessDenied:
        case FileCause::sharingViolation:
        case FileCause::lockViolation:
            return kErr_StreamAccessDenied;
        case FileCause::invalidFile:
            return kErr_StreamInvalidFile;
        case FileCause::removeCurrentDir:
            return kErr_StreamCantRemoveDir;
        case FileCause::directoryFull:
            return kErr_StreamDirectoryFull;
        case FileCause::badSeek:
            return kErr_StreamSeek;
        case FileCause::hardIO:
            return kErr_StreamHardwareIO;
        case FileCause::diskFull:
            return kErr_StreamDiskIsFull;
        case FileCause::endOfFile:
            return kErr_StreamEOF;
        case FileCause::generic:
        default:
            return reading ? kErr_StreamRead : kErr_StreamWrite;
    }
}

ReturnCodeEnum Stream::CloseAndDelete(Stream** stream) {
    if (!stream || !*stream) return kErr_None;
    ReturnCodeEnum status = kErr_None;
    if ((*stream)->IsOpen()) status = (*stream)->Close();
    delete *stream;
    *stream = nullptr;
    return status;
}

}  // namespace markup
