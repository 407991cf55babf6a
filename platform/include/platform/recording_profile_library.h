// A profile library for tests: forwards to another library, counts the
// calls of each entry point, and can leave entries out or make them fail.
// One recording library is in force at a time (its entry points reach it
// through a module-wide pointer, as a library's exports reach its state).
#ifndef PLATFORM_RECORDING_PROFILE_LIBRARY_H
#define PLATFORM_RECORDING_PROFILE_LIBRARY_H

#include <map>
#include <mutex>
#include <set>
#include <string>
#include <string_view>

#include "platform/profile_library.h"

namespace platform {

class RecordingProfileLibrary : public ProfileLibraryModule {
  public:
    // `inner` may be null: every entry then answers kSpFailed.
    explicit RecordingProfileLibrary(const ProfileLibraryModule* inner);
    ~RecordingProfileLibrary() override;
    RecordingProfileLibrary(const RecordingProfileLibrary&) = delete;
    RecordingProfileLibrary& operator=(const RecordingProfileLibrary&) = delete;

    // The entry is not found by name.
    void Remove(std::string_view name);
    // The entry answers kSpFailed without reaching the inner library.
    void Fail(std::string_view name);
    // How often the entry was called.
    int Calls(std::string_view name) const;

    SpEntry FindEntry(std::string_view name) const override;

    // Used by the entry points.
    bool Enter(std::string_view name);
    SpEntry Inner(std::string_view name) const;

  private:
    const ProfileLibraryModule* inner_;
    mutable std::mutex mutex_;
    std::set<std::string, std::less<>> removed_;
    std::set<std::string, std::less<>> failing_;
    std::map<std::string, int, std::less<>> calls_;
};

}  // namespace platform

#endif  // PLATFORM_RECORDING_PROFILE_LIBRARY_H
