// LocalFileStream over the platform's buffered file object.
#include "markup/local_file_stream.h"

#include <new>

#include "platform/file_object.h"

namespace markup {

using platform::FileCause;

// The base destroys a file object still open, which closes it unreported.
LocalFileStream::~LocalFileStream() = default;

LocalFileStream* LocalFileStream::Create(const String& path, ReturnCodeEnum& status) {
    auto* stream = new (std::nothrow) LocalFileStream;
    if (!stream) {
        status = kErr_OutOfMemory;
        return nullptr;
    }
    status = stream->SetPath(path);
    return stream;
}

ReturnCodeEnum LocalFileStream::Open(std::int32_t bufferSize, std::int32_t mode) {
    // A second open must not leak the first file.
    if (file_) Stream::Close();
    unsigned flags = static_cast<unsigned>(mode) | platform::kFileBinary;
    if (mode == kStreamWrite || mode == kStreamReadWrite) {
        flags |= platform::kFileCreate | platform::kFileNoTruncate;
    } else {
        flags |= platform::kFileShareDenyWrite;
    }
    file_ = new (std::nothrow) platform::FileObject;
    if (!file_) return kErr_OutOfMemory;
    const FileCause cause = file_->Open(name_.Text(), flags);
    if (cause != FileCause::none) {
        const ReturnCodeEnum status = ErrorFromException(cause, false);
        Stream::Close();
        return status;
    }
    Stream::Open(bufferSize, mode);
    writePosition_ = readPosition_ = filePosition_ = 0;
    filePositionKnown_ = true;
    length_ = -1;
    if (bufferSize != -1 && (bufferSize <= 0 || !file_->SetBuffer(static_cast<std::uint32_t>(bufferSize)))) {
        Close();
        return kErr_OutOfMemory;
    }
    return kErr_None;
}

// Buffered output reaches the file only here, so a full disk or an I/O error
// that the writes could not see is reported by the close.
ReturnCodeEnum LocalFileStream::Close() {
    ReturnCodeEnum status = kErr_None;
    if (file_) {
        if (const FileCause cause = file_->Close(); cause != FileCause::none) {
            status = ErrorFromException(cause, false);
            file_->Abort();
        }
    }
    Stream::Close();
    return status;
}

bool LocalFileStream::AtEnd(std::int32_t which) {
    const std::uint32_t length = static_cast<std::uint32_t>(UpdateLength());
    switch (which) {
        case kStreamReadPosition:
            return readPosition_ == length;
        case kStreamWritePosition:
            return writePosition_ == length;
        case kStreamBothPositions:
            return readPosition_ == length || writePosition_ == length;
        default:
            return false;
    }
}

ReturnCodeEnum LocalFileStream::Seek(std::int32_t offset, std::int32_t origin, std::int32_t which) {
    const std::int32_t known = UpdateLength();
    if (which < kStreamReadPosition || which > kStreamBothPositions) return kErr_StreamSeek;
    // A closed stream has no length to check a position against.
    if (known < 0) return kErr_StreamSeek;
    const std::uint32_t length = static_cast<std::uint32_t>(known);
    // Unsigned arithmetic: a negative offset moves back from the end or from
    // the current position.
    auto moved = [&](std::uint32_t old) -> std::uint32_t {
        switch (origin) {
            case kSeekFromStart:
                return static_cast<std::uint32_t>(offset);
            case kSeekFromEnd:
                return length + static_cast<std::uint32_t>(offset);
            case kSeekFromCurrent:
                return old + static_cast<std::uint32_t>(offset);
            default:
                return old;
        }
    };
    const bool moveRead = which != kStreamWritePosition;
    const bool moveWrite = which != kStreamReadPosition;
    const std::uint32_t newRead = moveRead ? moved(readPosition_) : readPosition_;
    const std::uint32_t newWrite = moveWrite ? moved(writePosition_) : writePosition_;
    if ((moveRead && newRead > length) || (moveWrite && newWrite > length)) return kErr_StreamSeek;
    readPosition_ = newRead;
    writePosition_ = newWrite;
    return kErr_None;
}

ReturnCodeEnum LocalFileStream::Write(const void* buffer, std::uint32_t count) {
    if (mode_ == kStreamRead) return kErr_StreamReadOnly;
    if (!file_) return kErr_StreamWrite;
    std::uint32_t at = filePosition_;
    if (writePosition_ != filePosition_ || !filePositionKnown_) {
        if (FileCause c = file_->SeekFromStart(writePosition_, at); c != FileCause::none) {
            return ErrorFromException(c, false);
        }
    }
    if (FileCause c = file_->Write(buffer, count); c != FileCause::none) {
        // Where the file pointer stands after a failed write is unknown.
        filePositionKnown_ = false;
        return ErrorFromException(c, false);
    }
    writePosition_ = at + count;
    filePosition_ = writePosition_;
    filePositionKnown_ = true;
    return kErr_None;
}

ReturnCodeEnum LocalFileStream::Read(void* buffer, std::uint32_t& count) {
    const std::uint32_t wanted = count;
    count = 0;
    if (mode_ == kStreamWrite) return kErr_StreamWriteOnly;
    if (!file_) return kErr_StreamRead;
    if (readPosition_ != filePosition_ || !filePositionKnown_) {
        std::uint32_t at = 0;
        if (FileCause c = file_->SeekFromStart(readPosition_, at); c != FileCause::none) {
            return ErrorFromException(c, true);
        }
        filePosition_ = at;
    }
    std::uint32_t got = 0;
    if (FileCause c = file_->Read(buffer, wanted, got); c != FileCause::none) {
        filePositionKnown_ = false;
        return ErrorFromException(c, true);
    }
    readPosition_ = filePosition_ + got;
    filePosition_ = readPosition_;
    filePositionKnown_ = true;
    count = got;
    return got == wanted ? kErr_None : kErr_StreamRead;
}

}  // namespace markup
