// A file service held in memory, for tests: it keeps what every file
// received, counts the temporary parts still alive, and fails a chosen
// creation or write on demand.
#ifndef PLATFORM_SCRIPTED_FILES_H
#define PLATFORM_SCRIPTED_FILES_H

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/files.h"

namespace platform {

class ScriptedFiles final : public FileService {
  public:
    ScriptedFiles();
    ~ScriptedFiles() override;

    // The nth temporary file asked for (counting from 1 over the service's
    // life) cannot be made; 0 turns this off.
    void FailTemporary(int nth);
    // Every named file creation fails (CreateNamed and CreateBeside).
    void FailNamed(bool fail);
    // The nth write (counting from 1 over every file of the service) fails
    // for that cause, and with it every later write to that file; 0 turns
    // this off.
    void FailWrite(int nth, FileCause cause = FileCause::diskFull);
    // Every folder creation fails.
    void FailFolders(bool fail);
    // Every rename fails.
    void FailRenames(bool fail);

    // Temporary files made so far, and those not yet destroyed.
    int TemporariesCreated() const;
    int LiveTemporaries() const;
    // Writes made so far over every file.
    int WritesMade() const;
    // What a named file holds (it stays after its object is gone, as on a
    // disk, until it is removed); empty when there is no such file.
    std::string NamedContent(const std::string& path) const;
    bool NamedExists(const std::string& path) const;
    // The paths of every named file there is, in order.
    std::vector<std::string> NamedPaths() const;
    // Folders made so far (paths as given).
    bool FolderExists(const std::string& path) const;
    // What was written through a descriptor.
    std::string DescriptorContent(int descriptor) const;

    std::unique_ptr<File> CreateTemporary(std::string_view prefix) override;
    std::unique_ptr<File> CreateNamed(const std::string& path) override;
    std::unique_ptr<File> CreateBeside(const std::string& path) override;
    bool Rename(const std::string& from, const std::string& to) override;
    PathKind KindOf(const std::string& path) override;
    std::unique_ptr<File> AttachDescriptor(int descriptor) override;
    bool Remove(const std::string& path) override;
    FolderResult CreateFolder(const std::string& path) override;
    bool RemoveFolder(const std::string& path) override;
    FileCause LastFailure() const override;

    struct State;

  private:
    std::shared_ptr<State> state_;
};

}  // namespace platform

#endif  // PLATFORM_SCRIPTED_FILES_H
