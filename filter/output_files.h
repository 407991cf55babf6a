// The files an export puts beside its document (the external style sheet,
// the bitmap files and their folder), so that a failed export leaves none of
// them half-made and loses none that were there before.
//
// A file the module writes itself is made under a temporary name beside its
// final one and moved into place by Commit. A file the host writes under its
// final name is claimed first: one that is there already is moved aside and
// comes back when the export fails. Discard (also on destruction without a
// commit) removes what this export made, folders it made included.
#ifndef SVGFILTER_OUTPUT_FILES_H
#define SVGFILTER_OUTPUT_FILES_H

#include <memory>
#include <string>
#include <vector>

#include "platform/files.h"

namespace svgf {

class OutputFiles {
  public:
    explicit OutputFiles(platform::FileService& files) : files_(files) {}
    ~OutputFiles();
    OutputFiles(const OutputFiles&) = delete;
    OutputFiles& operator=(const OutputFiles&) = delete;

    // A new file that takes finalPath's place at Commit; null when it cannot
    // be made, or when something other than a regular file stands there.
    std::unique_ptr<platform::File> Create(const std::string& finalPath);
    // Makes finalPath free for the host to write; false when it cannot be.
    bool Claim(const std::string& finalPath);
    // The folder, made when missing; false when there is none.
    bool MakeFolder(const std::string& path);

    // Puts every file in place and drops what was moved aside; false when a
    // file could not be moved (the rest is then discarded).
    bool Commit();
    void Discard();

    // Why the first failure happened; none while nothing failed.
    platform::FileCause FailureCause() const { return cause_; }

  private:
    struct Entry {
        enum class Kind { kWritten, kClaimed, kFolder } kind;
        std::string finalPath;
        std::string temporaryPath;  // the written file, or the earlier file moved aside
    };

    bool Fail(platform::FileCause cause);

    platform::FileService& files_;
    std::vector<Entry> entries_;
    platform::FileCause cause_ = platform::FileCause::none;
};

}  // namespace svgf

#endif  // SVGFILTER_OUTPUT_FILES_H
