// The system's files through POSIX descriptors, with a write buffer so that
// the many small texts of a document do not each cost a system call.

// Large-file offsets and directory entries on 32-bit builds too.
#define _FILE_OFFSET_BITS 64
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/files.h"
#include "temporary_files.h"

namespace platform {
namespace {

constexpr std::size_t kBufferSize = 64 * 1024;

class PosixFile final : public File {
  public:
    enum class Kind { kTemporary, kNamed, kBorrowed };

    PosixFile(int descriptor, std::string path, Kind kind)
        : descriptor_(descriptor), path_(std::move(path)), kind_(kind) {
        buffer_.reserve(kBufferSize);
    }

    ~PosixFile() override {
        Flush();
        if (kind_ != Kind::kBorrowed) ::close(descriptor_);
        if (kind_ == Kind::kTemporary) ::unlink(path_.c_str());
    }

    bool Write(std::string_view bytes) override {
        if (failed_) return false;
        if (buffer_.size() + bytes.size() > kBufferSize) {
            if (!Flush()) return false;
            if (bytes.size() >= kBufferSize) return WriteAll(bytes.data(), bytes.size());
        }
        buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
        return true;
    }

    bool Flush() override {
        if (failed_) return false;
        if (buffer_.empty()) return true;
        bool ok = WriteAll(buffer_.data(), buffer_.size());
        buffer_.clear();
        return ok;
    }

    bool Length(uint64_t& length) override {
        struct stat info {};
        if (!Flush() || ::fstat(descriptor_, &info) != 0) return Fail();
        length = static_cast<uint64_t>(info.st_size);
        return true;
    }

    bool Rewind() override {
        if (!Flush() || ::lseek(descriptor_, 0, SEEK_SET) != 0) return Fail();
        return true;
    }

    std::ptrdiff_t Read(char* buffer, std::size_t size) override {
        if (failed_) return -1;
        for (;;) {
            ssize_t got = ::read(descriptor_, buffer, size);
            if (got >= 0) return got;
            if (errno != EINTR) {
                Fail();
                return -1;
            }
        }
    }

    const std::string& Path() const override { return path_; }
    bool Failed() const override { return failed_; }
    FileCause FailureCause() const override { return cause_; }

  private:
    bool Fail() {
        if (!failed_) cause_ = CauseFromErrno(errno != 0 ? errno : EIO);
        failed_ = true;
        return false;
    }

    bool WriteAll(const char* data, std::size_t size) {
        while (size > 0) {
            ssize_t put = ::write(descriptor_, data, size);
            if (put < 0) {
                if (errno == EINTR) continue;
                return Fail();
            }
            data += put;
            size -= static_cast<std::size_t>(put);
        }
        return true;
    }

    int descriptor_;
    std::string path_;
    Kind kind_;
    bool failed_ = false;
    FileCause cause_ = FileCause::none;
    std::vector<char> buffer_;
};

class PosixFileService final : public FileService {
  public:
    std::unique_ptr<File> CreateTemporary(std::string_view prefix) override {
        std::string name;
        const int descriptor = detail::OpenTemporary(prefix, &name);
        if (descriptor < 0) return Failed();
        return std::make_unique<PosixFile>(descriptor, std::move(name), PosixFile::Kind::kTemporary);
    }

    std::unique_ptr<File> CreateNamed(const std::string& path) override {
        int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (descriptor < 0) return Failed();
        return std::make_unique<PosixFile>(descriptor, path, PosixFile::Kind::kNamed);
    }

    std::unique_ptr<File> CreateBeside(const std::string& path) override {
        std::string pattern = path + ".partXXXXXX";
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        int descriptor = ::mkostemp(name.data(), O_CLOEXEC);
        if (descriptor < 0) return Failed();
        // The output is for everyone to read, as a file made by open would be.
        ::fchmod(descriptor, 0644);
        return std::make_unique<PosixFile>(descriptor, std::string(name.data()), PosixFile::Kind::kNamed);
    }

    bool Rename(const std::string& from, const std::string& to) override {
        if (KindOf(to) != PathKind::kNone && KindOf(to) != PathKind::kRegular) {
            lastFailure_ = FileCause::accessDenied;
            return false;
        }
        return Check(::rename(from.c_str(), to.c_str()) == 0);
    }

    PathKind KindOf(const std::string& path) override {
        struct stat st;
        if (::stat(path.c_str(), &st) != 0) return PathKind::kNone;
        if (S_ISREG(st.st_mode)) return PathKind::kRegular;
        return S_ISDIR(st.st_mode) ? PathKind::kFolder : PathKind::kOther;
    }

    std::unique_ptr<File> AttachDescriptor(int descriptor) override {
        if (descriptor < 0) return nullptr;
        return std::make_unique<PosixFile>(descriptor, std::string(), PosixFile::Kind::kBorrowed);
    }

    bool Remove(const std::string& path) override { return Check(::unlink(path.c_str()) == 0); }

    FolderResult CreateFolder(const std::string& path) override {
        if (::mkdir(path.c_str(), 0777) == 0) return FolderResult::kCreated;
        if (errno != EEXIST) {
            Check(false);
            return FolderResult::kFailed;
        }
        if (KindOf(path) == PathKind::kFolder) return FolderResult::kExists;
        lastFailure_ = FileCause::accessDenied;
        return FolderResult::kFailed;
    }

    bool RemoveFolder(const std::string& path) override { return Check(::rmdir(path.c_str()) == 0); }

    FileCause LastFailure() const override { return lastFailure_; }

  private:
    bool Check(bool ok) {
        if (!ok) lastFailure_ = CauseFromErrno(errno);
        return ok;
    }
    std::unique_ptr<File> Failed() {
        Check(false);
        return nullptr;
    }

    FileCause lastFailure_ = FileCause::none;
};

}  // namespace

int detail::OpenTemporary(std::string_view prefix, std::string* path) {
    std::string pattern = TemporaryFolder();
    if (!pattern.empty() && pattern.back() != '/') pattern += '/';
    pattern.append(prefix);
    pattern += "XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int descriptor = ::mkostemp(name.data(), O_CLOEXEC);
    if (descriptor >= 0) *path = name.data();
    return descriptor;
}

std::string TemporaryFolder() {
    const char* folder = std::getenv("TMPDIR");
    if (folder != nullptr && folder[0] != '\0') return folder;
    return "/tmp";
}

FileService& SystemFiles() {
    static PosixFileService service;
    return service;
}

}  // namespace platform
