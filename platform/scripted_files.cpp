// In-memory files for tests. File objects share the service's state, so a
// file that outlives its service still behaves.
#include "platform/scripted_files.h"

#include <algorithm>
#include <cstring>
#include <set>

namespace platform {

struct ScriptedFiles::State {
    int failTemporary = 0;
    bool failNamed = false;
    bool failFolders = false;
    bool failRenames = false;
    std::set<std::string> folders;
    int failWrite = 0;
    FileCause failWriteCause = FileCause::diskFull;
    FileCause lastFailure = FileCause::none;
    int besideMade = 0;
    int temporariesCreated = 0;
    int liveTemporaries = 0;
    int writes = 0;
    std::map<std::string, std::string> named;
    std::map<int, std::string> descriptors;
};

namespace {

class MemoryFile final : public File {
  public:
    enum class Kind { kTemporary, kNamed, kDescriptor };

    MemoryFile(std::shared_ptr<ScriptedFiles::State> state, Kind kind, std::string path, int descriptor)
        : state_(std::move(state)), kind_(kind), path_(std::move(path)), descriptor_(descriptor) {
        if (kind_ == Kind::kTemporary) ++state_->liveTemporaries;
    }

    ~MemoryFile() override {
        if (kind_ == Kind::kTemporary) --state_->liveTemporaries;
    }

    bool Write(std::string_view bytes) override {
        if (failed_) return false;
        if (++state_->writes == state_->failWrite) {
            failed_ = true;
            cause_ = state_->failWriteCause;
            return false;
        }
        Target().append(bytes);
        return true;
    }

    bool Flush() override { return !failed_; }

    bool Length(uint64_t& length) override {
        length = Target().size();
        return !failed_;
    }

    bool Rewind() override {
        position_ = 0;
        return !failed_;
    }

    std::ptrdiff_t Read(char* buffer, std::size_t size) override {
        if (failed_) return -1;
        const std::string& data = Target();
        std::size_t count = std::min(size, data.size() - std::min(position_, data.size()));
        if (count > 0) std::memcpy(buffer, data.data() + position_, count);
        position_ += count;
        return static_cast<std::ptrdiff_t>(count);
    }

    const std::string& Path() const override { return path_; }
    bool Failed() const override { return failed_; }
    FileCause FailureCause() const override { return cause_; }

  private:
    std::string& Target() {
        switch (kind_) {
            case Kind::kNamed:
                return state_->named[path_];
            case Kind::kDescriptor:
                return state_->descriptors[descriptor_];
            case Kind::kTemporary:
                break;
        }
        return content_;
    }

    std::shared_ptr<ScriptedFiles::State> state_;
    Kind kind_;
    std::string path_;
    int descriptor_;
    std::string content_;
    std::size_t position_ = 0;
    bool failed_ = false;
    FileCause cause_ = FileCause::none;
};

}  // namespace

ScriptedFiles::ScriptedFiles() : state_(std::make_shared<State>()) {}
ScriptedFiles::~ScriptedFiles() = default;

void ScriptedFiles::FailTemporary(int nth) {
    state_->failTemporary = nth;
}
void ScriptedFiles::FailNamed(bool fail) {
    state_->failNamed = fail;
}
void ScriptedFiles::FailWrite(int nth, FileCause cause) {
    state_->failWrite = nth;
    state_->failWriteCause = cause;
}
void ScriptedFiles::FailFolders(bool fail) {
    state_->failFolders = fail;
}
void ScriptedFiles::FailRenames(bool fail) {
    state_->failRenames = fail;
}
int ScriptedFiles::TemporariesCreated() const {
    return state_->temporariesCreated;
}
int ScriptedFiles::LiveTemporaries() const {
    return state_->liveTemporaries;
}
int ScriptedFiles::WritesMade() const {
    return state_->writes;
}

std::string ScriptedFiles::NamedContent(const std::string& path) const {
    auto found = state_->named.find(path);
    return found == state_->named.end() ? std::string() : found->second;
}

bool ScriptedFiles::NamedExists(const std::string& path) const {
    return state_->named.count(path) != 0;
}

std::vector<std::string> ScriptedFiles::NamedPaths() const {
    std::vector<std::string> paths;
    for (const auto& entry : state_->named) paths.push_back(entry.first);
    return paths;
}

bool ScriptedFiles::FolderExists(const std::string& path) const {
    return state_->folders.count(path) != 0;
}

std::string ScriptedFiles::DescriptorContent(int descriptor) const {
    auto found = state_->descriptors.find(descriptor);
    return found == state_->descriptors.end() ? std::string() : found->second;
}

std::unique_ptr<File> ScriptedFiles::CreateTemporary(std::string_view prefix) {
    int number = ++state_->temporariesCreated;
    if (number == state_->failTemporary) {
        state_->lastFailure = FileCause::diskFull;
        return nullptr;
    }
    std::string path = "memory/" + std::string(prefix) + std::to_string(number) + ".tmp";
    return std::make_unique<MemoryFile>(state_, MemoryFile::Kind::kTemporary, std::move(path), -1);
}

std::unique_ptr<File> ScriptedFiles::CreateNamed(const std::string& path) {
    if (state_->failNamed) {
        state_->lastFailure = FileCause::accessDenied;
        return nullptr;
    }
    state_->named[path].clear();
    return std::make_unique<MemoryFile>(state_, MemoryFile::Kind::kNamed, path, -1);
}

std::unique_ptr<File> ScriptedFiles::CreateBeside(const std::string& path) {
    std::string name;
    do {
        name = path + ".part" + std::to_string(++state_->besideMade);
    } while (state_->named.count(name) != 0);
    return CreateNamed(name);
}

bool ScriptedFiles::Rename(const std::string& from, const std::string& to) {
    auto source = state_->named.find(from);
    if (state_->failRenames || source == state_->named.end() || state_->folders.count(to) != 0) {
        state_->lastFailure = state_->failRenames ? FileCause::hardIO : FileCause::accessDenied;
        return false;
    }
    std::string content = std::move(source->second);
    state_->named.erase(source);
    state_->named[to] = std::move(content);
    return true;
}

PathKind ScriptedFiles::KindOf(const std::string& path) {
    if (state_->named.count(path) != 0) return PathKind::kRegular;
    return state_->folders.count(path) != 0 ? PathKind::kFolder : PathKind::kNone;
}

std::unique_ptr<File> ScriptedFiles::AttachDescriptor(int descriptor) {
    if (descriptor < 0) return nullptr;
    return std::make_unique<MemoryFile>(state_, MemoryFile::Kind::kDescriptor, std::string(), descriptor);
}

bool ScriptedFiles::Remove(const std::string& path) {
    return state_->named.erase(path) != 0;
}

FolderResult ScriptedFiles::CreateFolder(const std::string& path) {
    if (state_->failFolders || state_->named.count(path) != 0) {
        state_->lastFailure = FileCause::accessDenied;
        return FolderResult::kFailed;
    }
    return state_->folders.insert(path).second ? FolderResult::kCreated : FolderResult::kExists;
}

bool ScriptedFiles::RemoveFolder(const std::string& path) {
    // A folder holding a named file is not empty.
    for (const auto& entry : state_->named) {
        if (entry.first.size() > path.size() && entry.first.compare(0, path.size(), path) == 0) return false;
    }
    return state_->folders.erase(path) != 0;
}

FileCause ScriptedFiles::LastFailure() const {
    return state_->lastFailure;
}

}  // namespace platform
