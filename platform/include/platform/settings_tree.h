// Keys and their values as both settings stores hold them once read.
#ifndef PLATFORM_SETTINGS_TREE_H
#define PLATFORM_SETTINGS_TREE_H

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/settings_store.h"

namespace platform {

class SettingsTree {
  public:
    void AddKey(std::string_view key);
    void Set(std::string_view key, std::string_view name, std::vector<uint8_t> bytes);
    bool HasKey(std::string_view key) const;
    SettingsStatus Read(std::string_view key, std::string_view name, void* buffer, uint32_t* size) const;

    // Parses the text form of a value used in settings files (see
    // IniSettingsStore); nothing when it does not parse.
    static std::optional<std::vector<uint8_t>> ParseValue(std::string_view text);
    static std::vector<uint8_t> TextBytes(std::string_view text);

  private:
    static std::string Fold(std::string_view name);
    std::map<std::string, std::map<std::string, std::vector<uint8_t>>> keys_;
};

}  // namespace platform

#endif  // PLATFORM_SETTINGS_TREE_H
