// Paths as the host application writes them, on the local file system.
//
// Host paths may use "\" or "/" between names and may begin with a drive
// letter ("C:"). On a system without drives, a path with one counts from
// the root, and a name whose exact case is missing is matched without
// regard to case, as the host's own file system would.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// The local path that names the host path's file: "/" between names, the
// drive dropped, and each name that does not exist in its exact case
// replaced by the one entry of its folder that matches it without regard to
// case (the first in name order when several do). Names after the first that
// matches nothing are kept as given.
std::string LocalPath(std::string_view hostPath);

}  // namespace platform
