// Which settings are in force.
#include "platform/settings_store.h"

#include <atomic>
#include <cstdlib>

#include "platform/ini_settings_store.h"

namespace platform {
namespace {

std::atomic<SettingsStore*> g_override{nullptr};

std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

// The settings file, found anew on every request so that a changed
// environment takes effect.
class DefaultFileStore : public SettingsStore {
  public:
    bool HasKey(std::string_view key) override { return IniSettingsStore(DefaultSettingsPath()).HasKey(key); }
    SettingsStatus ReadValue(std::string_view key, std::string_view name, void* buffer,
                             uint32_t* size) override {
        return IniSettingsStore(DefaultSettingsPath()).ReadValue(key, name, buffer, size);
    }
};

}  // namespace

std::string DefaultSettingsPath() {
    if (std::string path = EnvironmentValue(kSettingsPathVariable); !path.empty()) return path;
    if (std::string config = EnvironmentValue("XDG_CONFIG_HOME"); !config.empty())
        return config + "/svgfilter/settings.ini";
    if (std::string home = EnvironmentValue("HOME"); !home.empty())
        return home + "/.config/svgfilter/settings.ini";
    return {};
}

SettingsStore& CurrentSettings() {
    if (SettingsStore* store = g_override.load()) return *store;
    static DefaultFileStore file;
    return file;
}

void SetSettingsStore(SettingsStore* store) {
    g_override.store(store);
}

}  // namespace platform
