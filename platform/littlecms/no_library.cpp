// A build without LittleCMS has no profile library: colour management is
// unavailable and every colour-managed conversion takes its plain fallback.
#include "platform/profile_library.h"

namespace platform {

const ProfileLibraryModule* BuiltInProfileLibrary() {
    return nullptr;
}

}  // namespace platform
