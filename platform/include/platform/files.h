// Byte files the module writes: the host's open document, files it names
// beside the document, and temporary parts that hold pieces of a document
// until they are joined into it.
#ifndef PLATFORM_FILES_H
#define PLATFORM_FILES_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/file_object.h"

namespace platform {

// One open file, written front to back and, for temporary parts, read back
// from the start. A failed write or flush makes every later write fail too,
// so a caller may check once at the end.
class File {
  public:
    virtual ~File() = default;

    // Appends the bytes; false when they could not be written.
    virtual bool Write(std::string_view bytes) = 0;
    // Hands buffered bytes to the system.
    virtual bool Flush() = 0;
    // The number of bytes the file holds.
    virtual bool Length(uint64_t& length) = 0;
    // Prepares reading from the first byte (writes made so far are kept).
    virtual bool Rewind() = 0;
    // Reads the next bytes: the count read, 0 at the end, -1 on error.
    virtual std::ptrdiff_t Read(char* buffer, std::size_t size) = 0;
    // The file's path; empty for a file known only by its descriptor.
    virtual const std::string& Path() const = 0;
    // True once a write, flush or read has failed.
    virtual bool Failed() const = 0;
    // Why the first failure happened (no space, no permission, ...); none
    // while nothing has failed.
    virtual FileCause FailureCause() const = 0;
};

// What CreateFolder found.
enum class FolderResult {
    kCreated,  // the folder is new
    kExists,   // a folder of that name was there already
    kFailed,   // there is no such folder, and it could not be made
};

// What stands at a path.
enum class PathKind {
    kNone,     // nothing
    kRegular,  // a regular file (or a link to one)
    kFolder,
    kOther,  // a device, pipe, socket, ...
};

// Where files come from. The module takes one of these rather than calling
// the system, so tests can watch every file and make any step fail.
class FileService {
  public:
    virtual ~FileService() = default;

    // A new, empty file in the temporary folder whose name starts with the
    // prefix. It is removed from the disk when the object is destroyed,
    // whatever happened before. Null when it cannot be made.
    virtual std::unique_ptr<File> CreateTemporary(std::string_view prefix) = 0;
    // Creates the named file for writing, emptying it when it exists. The
    // file stays on the disk. Null when it cannot be made.
    virtual std::unique_ptr<File> CreateNamed(const std::string& path) = 0;
    // A new, empty file beside path under a name of its own (path followed by
    // a unique suffix), for an output that takes path's place only once it is
    // whole. It stays on the disk until renamed or removed. Null when it
    // cannot be made.
    virtual std::unique_ptr<File> CreateBeside(const std::string& path) = 0;
    // Moves a file to a new name, replacing a regular file there; anything
    // else standing at `to` (a folder, a device) is never replaced.
    virtual bool Rename(const std::string& from, const std::string& to) = 0;
    virtual PathKind KindOf(const std::string& path) = 0;
    // Writes through a descriptor that the caller opened and keeps: the file
    // object never closes it. Null for a negative descriptor.
    virtual std::unique_ptr<File> AttachDescriptor(int descriptor) = 0;
    // Deletes a named file; false when it could not be deleted.
    virtual bool Remove(const std::string& path) = 0;
    // Makes one folder (its parent must exist). A file of that name is no
    // folder, and then the answer is kFailed.
    virtual FolderResult CreateFolder(const std::string& path) = 0;
    // Removes an empty folder; false when it is not empty or cannot go.
    virtual bool RemoveFolder(const std::string& path) = 0;
    // Why the last creation, rename or removal that failed did so.
    virtual FileCause LastFailure() const = 0;
};

// The system's files: temporary parts go to $TMPDIR, or /tmp when unset.
FileService& SystemFiles();

// The folder SystemFiles() makes temporary parts in.
std::string TemporaryFolder();

}  // namespace platform

#endif  // PLATFORM_FILES_H
