// Outputs beside the document: made aside, put in place or taken back.
#include "output_files.h"

namespace svgf {

using platform::FileCause;
using platform::PathKind;

OutputFiles::~OutputFiles() {
    Discard();
}

bool OutputFiles::Fail(FileCause cause) {
    if (cause_ == FileCause::none) cause_ = cause == FileCause::none ? FileCause::generic : cause;
    return false;
}

std::unique_ptr<platform::File> OutputFiles::Create(const std::string& finalPath) {
    const PathKind kind = files_.KindOf(finalPath);
    if (kind != PathKind::kNone && kind != PathKind::kRegular) {
        Fail(FileCause::accessDenied);
        return nullptr;
    }
    std::unique_ptr<platform::File> file = files_.CreateBeside(finalPath);
    if (!file) {
        Fail(files_.LastFailure());
        return nullptr;
    }
    entries_.push_back({Entry::Kind::kWritten, finalPath, file->Path()});
    return file;
}

bool OutputFiles::Claim(const std::string& finalPath) {
    switch (files_.KindOf(finalPath)) {
        case PathKind::kNone:
            entries_.push_back({Entry::Kind::kClaimed, finalPath, ""});
            return true;
        case PathKind::kRegular:
            break;
        default:
            return Fail(FileCause::accessDenied);
    }
    // The earlier file goes under a name reserved beside it.
    std::string aside;
    if (std::unique_ptr<platform::File> reserved = files_.CreateBeside(finalPath)) {
        aside = reserved->Path();
    } else {
        return Fail(files_.LastFailure());
    }
    if (!files_.Rename(finalPath, aside)) {
        const FileCause cause = files_.LastFailure();
        files_.Remove(aside);
        return Fail(cause);
    }
    entries_.push_back({Entry::Kind::kClaimed, finalPath, aside});
    return true;
}

bool OutputFiles::MakeFolder(const std::string& path) {
    switch (files_.CreateFolder(path)) {
        case platform::FolderResult::kCreated:
            entries_.push_back({Entry::Kind::kFolder, path, ""});
            return true;
        case platform::FolderResult::kExists:
            return true;
        case platform::FolderResult::kFailed:
            break;
    }
    return Fail(files_.LastFailure());
}

bool OutputFiles::Commit() {
    while (!entries_.empty()) {
        const Entry entry = entries_.front();
        if (entry.kind == Entry::Kind::kWritten && !files_.Rename(entry.temporaryPath, entry.finalPath)) {
            Fail(files_.LastFailure());
            Discard();
            return false;
        }
        if (entry.kind == Entry::Kind::kClaimed && !entry.temporaryPath.empty())
            files_.Remove(entry.temporaryPath);
        entries_.erase(entries_.begin());
    }
    return true;
}

void OutputFiles::Discard() {
    // Newest first: files go before the folders they were made in.
    for (auto entry = entries_.rbegin(); entry != entries_.rend(); ++entry) {
        switch (entry->kind) {
            case Entry::Kind::kWritten:
                files_.Remove(entry->temporaryPath);
                break;
            case Entry::Kind::kClaimed:
                files_.Remove(entry->finalPath);
                if (!entry->temporaryPath.empty()) files_.Rename(entry->temporaryPath, entry->finalPath);
                break;
            case Entry::Kind::kFolder:
                files_.RemoveFolder(entry->finalPath);
                break;
        }
    }
    entries_.clear();
}

}  // namespace svgf
