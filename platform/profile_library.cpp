// Which profile library the colour module loads: a test's replacement, else
// the build's own.
#include "platform/profile_library.h"

#include <atomic>

namespace platform {
namespace {

std::atomic<const ProfileLibraryModule*> g_replacement{nullptr};

}  // namespace

const ProfileLibraryModule* LoadProfileLibrary() {
    const ProfileLibraryModule* replacement = g_replacement.load();
    return replacement != nullptr ? replacement : BuiltInProfileLibrary();
}

const ProfileLibraryModule* SetProfileLibrary(const ProfileLibraryModule* library) {
    return g_replacement.exchange(library);
}

}  // namespace platform
