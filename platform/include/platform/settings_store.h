// Machine-wide settings: named values under backslash-separated keys, such as
// value "Shorthand" under key "SOFTWARE\Tavix\SVGFont". Key and value names
// compare without regard to case. Values are bytes; text values carry their
// terminating NUL, numbers are four little-endian bytes.
//
// The settings in force come from CurrentSettings(): a store set by the
// program (tests set a MemorySettingsStore), or else the settings file at
// DefaultSettingsPath().
#ifndef PLATFORM_SETTINGS_STORE_H
#define PLATFORM_SETTINGS_STORE_H

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

enum class SettingsStatus {
    kOk,        // the value was copied; the size says how many bytes
    kNotFound,  // no such key or value
    kMoreData,  // the buffer is too small; the size says how many bytes the value has
};

class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // Whether the key exists, with or without values.
    virtual bool HasKey(std::string_view key) = 0;
    // Reads value `name` of `key` into `buffer`, whose capacity is `*size`.
    virtual SettingsStatus ReadValue(std::string_view key, std::string_view name, void* buffer,
                                     uint32_t* size) = 0;
};

// Environment variable naming the settings file.
inline constexpr const char* kSettingsPathVariable = "SVGFILTER_SETTINGS";

// $SVGFILTER_SETTINGS, else $XDG_CONFIG_HOME/svgfilter/settings.ini, else
// $HOME/.config/svgfilter/settings.ini; empty when none of them is set.
std::string DefaultSettingsPath();

SettingsStore& CurrentSettings();
// Makes `store` the one in force (it must outlive its use); null goes back to
// the settings file.
void SetSettingsStore(SettingsStore* store);

}  // namespace platform

#endif  // PLATFORM_SETTINGS_STORE_H
