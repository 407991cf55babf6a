// Text values of the host's ini files, read the way the host reads them.
#pragma once

#include <string>
#include <string_view>

namespace colour::detail {

enum class IniRead { kFound, kMissing, kTooLong };

// Value `key` of `section` in the ini file at the host path `iniPath`:
// kFound with the text (up to its first NUL), kMissing when the file, the
// section or the key is missing, kTooLong when the text has kMaxPath
// characters or more.
IniRead ReadIniText(std::string_view iniPath, std::string_view section, std::string_view key,
                    std::string* value);

}  // namespace colour::detail
