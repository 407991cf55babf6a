// Path text of the host's configuration, and ini values resolved against the
// folder of the ini file that holds them.
#include "colour/config_paths.h"

#include <cctype>
#include <cstring>
#include <vector>

#include "ini_text.h"
#include "platform/host_paths.h"
#include "platform/ini_settings_store.h"

namespace colour {

bool IsPathSeparator(char c) {
    return c == '\\' || c == '/';
}

bool HasDrive(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

namespace {

char SeparatorOf(std::string_view path) {
    const size_t last = path.find_last_of("\\/");
    return last == std::string_view::npos ? '\\' : path[last];
}

}  // namespace

bool AppendPathSeparator(std::string& path) {
    if (!path.empty() && IsPathSeparator(path.back())) return true;
    path += SeparatorOf(path);
    return false;
}

int AppendPathSeparatorN(char* path, int length, int capacity) {
    if (path == nullptr || length < 0) return 0;
    if (length > 0 && IsPathSeparator(path[length - 1])) return length;
    if (length + 2 > capacity) return length;
    path[length] = SeparatorOf(std::string_view(path, static_cast<size_t>(length)));
    path[length + 1] = '\0';
    return length + 1;
}

std::string JoinConfigPath(std::string_view dir, std::string_view name) {
    std::string path(dir);
    if (!path.empty()) AppendPathSeparator(path);
    path.append(name);
    return path;
}

void SplitDirAndName(std::string_view path, std::string* dir, std::string* name) {
    const size_t last = path.find_last_of("\\/");
    size_t split = last == std::string_view::npos ? 0 : last + 1;
    if (split == 0 && HasDrive(path)) split = 2;  // "C:name": the drive alone is the folder
    if (dir) *dir = std::string(path.substr(0, split));
    if (name) *name = std::string(path.substr(split));
}

std::string MakeSiblingPath(std::string_view base, std::string_view name) {
    std::string dir(base);
    if (!dir.empty()) AppendPathSeparator(dir);
    std::string file;
    SplitDirAndName(name, nullptr, &file);
    return dir + file;
}

int CollapseDotSegments(std::string& out, std::string_view path) {
    std::string result;
    size_t at = 0;
    while (at < path.size()) {
        size_t end = at;
        while (end < path.size() && !IsPathSeparator(path[end])) ++end;
        const bool hasSeparator = end < path.size();
        const std::string_view name = path.substr(at, end - at);
        const std::string_view component = path.substr(at, end - at + (hasSeparator ? 1 : 0));
        at = end + (hasSeparator ? 1 : 0);
        if (name.empty() || name[0] != '.') {
            result.append(component);
        } else if (name == ".") {
            // Dropped.
        } else if (name == "..") {
            if (result.empty()) {
                out = std::string(path);
                return 0;
            }
            // Remove the last name of the result and keep its separator.
            result.pop_back();
            while (!result.empty() && !IsPathSeparator(result.back())) result.pop_back();
        } else {
            out = std::string(path);
            return 0;
        }
    }
    const int changed = result.size() < path.size() ? 1 : 0;
    out = std::move(result);
    return changed;
}

int ResolveRelativePath(std::string_view base, std::string_view value, std::string& out) {
    if (value.empty() || HasDrive(value) || IsPathSeparator(value[0])) {
        out = std::string(value);
        return 0;
    }
    const std::string joined = JoinConfigPath(base, value);
    // The drive and the root stay as they are; the names after them collapse.
    size_t prefix = HasDrive(joined) ? 2 : 0;
    if (prefix < joined.size() && IsPathSeparator(joined[prefix])) ++prefix;
    std::string collapsed;
    if (CollapseDotSegments(collapsed, std::string_view(joined).substr(prefix))) {
        out = joined.substr(0, prefix) + collapsed;
    } else {
        out = joined;
    }
    return 1;
}

int GetProfilePath(std::string_view section, std::string_view key, std::string_view defaultValue, char* out,
                   int size, std::string_view iniPath) {
    std::string value;
    switch (detail::ReadIniText(iniPath, section, key, &value)) {
        case detail::IniRead::kFound:
            break;
        case detail::IniRead::kMissing:
            value = std::string(defaultValue);
            break;
        case detail::IniRead::kTooLong:
            return 0;
    }
    std::string folder;
    SplitDirAndName(iniPath, &folder, nullptr);
    std::string resolved;
    ResolveRelativePath(folder, value, resolved);
    if (out == nullptr || size <= 0 || resolved.size() >= static_cast<size_t>(size)) return 0;
    std::memcpy(out, resolved.c_str(), resolved.size() + 1);
    return static_cast<int>(resolved.size());
}

namespace detail {

IniRead ReadIniText(std::string_view iniPath, std::string_view section, std::string_view key,
                    std::string* value) {
    platform::IniSettingsStore store(platform::LocalPath(iniPath));
    std::vector<char> buffer(kMaxPath);
    std::uint32_t size = static_cast<std::uint32_t>(buffer.size());
    switch (store.ReadValue(section, key, buffer.data(), &size)) {
        case platform::SettingsStatus::kNotFound:
            return IniRead::kMissing;
        case platform::SettingsStatus::kMoreData:
            return IniRead::kTooLong;
        case platform::SettingsStatus::kOk:
            break;
    }
    const std::string_view text(buffer.data(), size);
    *value = std::string(text.substr(0, text.find('\0')));
    return value->size() >= static_cast<size_t>(kMaxPath) ? IniRead::kTooLong : IniRead::kFound;
}

}  // namespace detail
}  // namespace colour
