// FileObject over a POSIX descriptor wrapped in a C stdio stream, so reads
// and writes are buffered as the streams expect.
#ifndef _FILE_OFFSET_BITS
#define _FILE_OFFSET_BITS 64
#endif
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <limits>

#include "platform/file_object.h"

namespace platform {

FileCause CauseFromErrno(int err) {
    switch (err) {
        case 0:
            return FileCause::none;
        case ENOENT:
            return FileCause::fileNotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
            return FileCause::badPath;
        case EMFILE:
        case ENFILE:
            return FileCause::tooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
            return FileCause::accessDenied;
        case EBADF:
            return FileCause::invalidFile;
        case ESPIPE:
        case EOVERFLOW:
            return FileCause::badSeek;
        case EIO:
            return FileCause::hardIO;
        case ETXTBSY:
        case EBUSY:
            return FileCause::sharingViolation;
        case EAGAIN:
        case EDEADLK:
        case ENOLCK:
            return FileCause::lockViolation;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return FileCause::diskFull;
        default:
            return FileCause::generic;
    }
}

FileObject::~FileObject() {
    Abort();
}

FileCause FileObject::Open(const char* path, unsigned flags) {
    if (file_) Abort();
    if (!path || !*path) return FileCause::badPath;
    int oflags = 0;
    const char* fmode = nullptr;
    switch (flags & 3u) {
        case kFileRead:
            oflags = O_RDONLY;
            fmode = "rb";
            break;
        case kFileWrite:
            oflags = O_WRONLY;
            fmode = "wb";  // fdopen never truncates
            break;
        case kFileReadWrite:
            oflags = O_RDWR;
            fmode = "r+b";
            break;
        default:
            return FileCause::generic;
    }
    if (flags & kFileCreate) {
        oflags |= O_CREAT;
        if (!(flags & kFileNoTruncate)) oflags |= O_TRUNC;
    }
    const int fd = ::open(path, oflags | O_CLOEXEC, 0666);
    if (fd < 0) return CauseFromErrno(errno);
    // A directory opens for reading on POSIX; the engine treats it as a file
    // it may not read, as the other platforms do.
    struct stat st;
    int err = 0;
    if (::fstat(fd, &st) != 0) {
        err = errno;
    } else if (S_ISDIR(st.st_mode)) {
        err = EISDIR;
    }
    if (err != 0) {
        ::close(fd);
        return CauseFromErrno(err);
    }
    file_ = ::fdopen(fd, fmode);
    if (!file_) {
        const int err = errno;
        ::close(fd);
        return CauseFromErrno(err);
    }
    last_ = LastOp::none;
    return FileCause::none;
}

FileCause FileObject::SwitchTo(LastOp op) {
    if (last_ != LastOp::none && last_ != op && std::fseek(file_, 0, SEEK_CUR) != 0) {
        return CauseFromErrno(errno);
    }
    last_ = op;
    return FileCause::none;
}

FileCause FileObject::Read(void* buffer, std::uint32_t count, std::uint32_t& got) {
    got = 0;
    if (!file_) return FileCause::invalidFile;
    if (FileCause c = SwitchTo(LastOp::read); c != FileCause::none) return c;
    errno = 0;
    const std::size_t n = std::fread(buffer, 1, count, file_);
    if (n < count && std::ferror(file_)) {
        const int err = errno;
        std::clearerr(file_);
        return CauseFromErrno(err ? err : EIO);
    }
    std::clearerr(file_);  // the end flag must not stick after a later seek
    got = static_cast<std::uint32_t>(n);
    return FileCause::none;
}

FileCause FileObject::Write(const void* buffer, std::uint32_t count) {
    if (!file_) return FileCause::invalidFile;
    if (FileCause c = SwitchTo(LastOp::write); c != FileCause::none) return c;
    if (count == 0) return FileCause::none;
    errno = 0;
    if (std::fwrite(buffer, 1, count, file_) != count) {
        const int err = errno;
        std::clearerr(file_);
        return CauseFromErrno(err ? err : EIO);
    }
    return FileCause::none;
}

FileCause FileObject::SeekFromStart(std::uint32_t offset, std::uint32_t& newPosition) {
    if (!file_) return FileCause::invalidFile;
    if (::fseeko(file_, static_cast<off_t>(offset), SEEK_SET) != 0) return CauseFromErrno(errno);
    last_ = LastOp::none;
    newPosition = offset;
    return FileCause::none;
}

FileCause FileObject::Length(std::uint32_t& length) {
    if (!file_) return FileCause::invalidFile;
    // Pending buffered output belongs to the length.
    if (last_ == LastOp::write) {
        if (FileCause c = Flush(); c != FileCause::none) return c;
    }
    struct stat st;
    if (::fstat(::fileno(file_), &st) != 0) return CauseFromErrno(errno);
    const auto max = std::numeric_limits<std::uint32_t>::max();
    length = st.st_size > static_cast<off_t>(max) ? max : static_cast<std::uint32_t>(st.st_size);
    return FileCause::none;
}

FileCause FileObject::SetLength(std::uint32_t length) {
    if (!file_) return FileCause::invalidFile;
    if (FileCause c = Flush(); c != FileCause::none) return c;
    if (::ftruncate(::fileno(file_), static_cast<off_t>(length)) != 0) return CauseFromErrno(errno);
    return FileCause::none;
}

bool FileObject::SetBuffer(std::uint32_t size) {
    if (!file_ || size == 0) return false;
    char* buffer = static_cast<char*>(std::malloc(size));
    if (!buffer) return false;
    if (std::setvbuf(file_, buffer, _IOFBF, size) != 0) {
        std::free(buffer);
        return false;
    }
    std::free(buffer_);
    buffer_ = buffer;
    return true;
}

FileCause FileObject::Flush() {
    errno = 0;
    if (std::fflush(file_) == 0) return FileCause::none;
    const FileCause cause = CauseFromErrno(errno ? errno : EIO);
    if (lostWrite_ == FileCause::none) lostWrite_ = cause;
    return cause;
}

FileCause FileObject::Close() {
    if (!file_) return FileCause::none;
    errno = 0;
    const int rc = std::fclose(file_);
    const int err = errno;
    file_ = nullptr;
    std::free(buffer_);
    buffer_ = nullptr;
    last_ = LastOp::none;
    const FileCause lost = lostWrite_;
    lostWrite_ = FileCause::none;
    if (rc != 0) return CauseFromErrno(err ? err : EIO);
    return lost;
}

void FileObject::Abort() {
    (void)Close();
}

}  // namespace platform
