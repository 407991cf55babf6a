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
    // Every named file creation fails.
    void FailNamed(bool fail);
    // The nth write (counting from 1 over every file of the service) fails,
    // and with it every later write to that file; 0 turns this off.
    void FailWrite(int nth);
    // Every folder creation fails.
    void FailFolders(bool fail);

    // Temporary files made so far, and those not yet destroyed.
    int TemporariesCreated() const;
    int LiveTemporaries() const;
    // Writes made so far over every file.
    int WritesMade() const;
    // What a named file holds (it stays after its object is gone, as on a
    // disk, until it is removed); empty when there is no such file.
    std::string NamedContent(const std::string& path) const;
    bool NamedExists(const std::string& path) const;
    // Folders made so far (paths as given).
    bool FolderExists(const std::string& path) const;
    // What was written through a descriptor.
    std::string DescriptorContent(int descriptor) const;

    std::unique_ptr<File> CreateTemporary(std::string_view prefix) override;
    std::unique_ptr<File> CreateNamed(const std::string& path) override;
    std::unique_ptr<File> AttachDescriptor(int descriptor) override;
    bool Remove(const std::string& path) override;
    FolderResult CreateFolder(const std::string& path) override;

    struct State;

  private:
    std::shared_ptr<State> state_;
};

}  // namespace platform

#endif  // PLATFORM_SCRIPTED_FILES_H
