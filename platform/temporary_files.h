// Inside the platform library: a new file in the temporary folder.
#pragma once

#include <string>
#include <string_view>

namespace platform::detail {

// Creates an empty file in TemporaryFolder() whose name starts with prefix,
// open for reading and writing; the descriptor, or -1. *path gets its name.
int OpenTemporary(std::string_view prefix, std::string* path);

}  // namespace platform::detail
