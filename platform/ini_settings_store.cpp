// The settings file: sections are keys, "name=value" lines their values.
#include "platform/ini_settings_store.h"

#include <fstream>

#include "platform/settings_tree.h"

namespace platform {
namespace {

std::string_view Trim(std::string_view text) {
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && space(text.front())) text.remove_prefix(1);
    while (!text.empty() && space(text.back())) text.remove_suffix(1);
    return text;
}

SettingsTree LoadTree(const std::string& path) {
    SettingsTree tree;
    std::ifstream file(path, std::ios::binary);
    std::string line;
    std::string key;
    bool inKey = false;
    while (std::getline(file, line)) {
        std::string_view text = Trim(line);
        if (text.empty() || text.front() == ';' || text.front() == '#') continue;
        if (text.front() == '[') {
            inKey = text.size() >= 2 && text.back() == ']';
            if (inKey) {
                key = std::string(Trim(text.substr(1, text.size() - 2)));
                tree.AddKey(key);
            }
            continue;
        }
        const size_t equals = text.find('=');
        if (!inKey || equals == std::string_view::npos) continue;
        std::string_view name = Trim(text.substr(0, equals));
        if (name.size() >= 2 && name.front() == '"' && name.back() == '"')
            name = name.substr(1, name.size() - 2);
        if (auto value = SettingsTree::ParseValue(text.substr(equals + 1)))
            tree.Set(key, name, std::move(*value));
    }
    return tree;
}

}  // namespace

bool IniSettingsStore::HasKey(std::string_view key) {
    return LoadTree(path_).HasKey(key);
}

SettingsStatus IniSettingsStore::ReadValue(std::string_view key, std::string_view name, void* buffer,
                                           uint32_t* size) {
    return LoadTree(path_).Read(key, name, buffer, size);
}

}  // namespace platform
