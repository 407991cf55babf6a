// The host's configuration directory, its ini files and the directories the
// application ini names, each read once and kept.
#include "colour/host_config.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "colour/support.h"
#include "platform/host_paths.h"
#include "platform/messages.h"
#include "platform/path_queries.h"
#include "platform/settings_store.h"

namespace colour {
namespace {

constexpr const char* kHostKey = "SOFTWARE\\Tavix";
constexpr const char* kProductKey = "Lumavecta\\8.0";
constexpr const char* kConfigValue = "ConfigDir";

struct HostConfig {
    bool loaded = false;
    bool failed = false;        // the failure is remembered for the run
    bool failureShown = false;  // and its message shown once
    std::string failureTitle;
    std::string failureText;
    std::string configDir;
    std::string keyPath;
    std::string applicationIni, printerIni, fontIni;
    ConfigKeyCache dataDir, colorDir, programsDir;
};

std::mutex g_lock;
HostConfig g_config;

int CopyOut(std::string_view text, char* out, int size) {
    if (out == nullptr || size <= 0) return 0;
    const int count = static_cast<int>(std::min<size_t>(text.size(), static_cast<size_t>(size - 1)));
    std::memcpy(out, text.data(), static_cast<size_t>(count));
    out[count] = '\0';
    return count;
}

void ShowFailure(HostConfig& config, int showErrors) {
    if (!showErrors || config.failureShown) return;
    config.failureShown = true;
    platform::ShowMessage(platform::MessageKind::Warning, config.failureTitle, config.failureText);
}

int LoadLocked(HostConfig& config, int showErrors) {
    if (config.loaded) return 1;
    if (config.failed) {
        ShowFailure(config, showErrors);
        return 0;
    }
    char dir[kMaxPath];
    char key[kMaxPath];
    if (!GetHostConfigDir(dir, sizeof dir, key, sizeof key)) {
        config.keyPath = key;
        config.failed = true;
        config.failureTitle = "Tavix";
        config.failureText =
            FormatWithStrings("Key: \"HKEY_LOCAL_MACHINE\\%s\"  Value: \"%s\"  not found in the Registry.",
                              {config.keyPath, kConfigValue});
        ShowFailure(config, showErrors);
        return 0;
    }
    config.keyPath = key;
    std::string configDir = dir;
    AppendPathSeparator(configDir);
    const std::string applicationIni = JoinConfigPath(configDir, "tavixapp.ini");
    if (platform::PathExists(platform::LocalPath(applicationIni).c_str())) {
        config.loaded = true;
        config.configDir = configDir;
        config.applicationIni = applicationIni;
        config.printerIni = JoinConfigPath(configDir, "tavixprn.ini");
        config.fontIni = JoinConfigPath(configDir, "tavixfnt.ini");
        return 1;
    }
    config.failed = true;
    config.configDir.clear();
    config.failureTitle = LoadResString(kStrConfigErrorTitle, 29);
    config.failureText = FormatWithStrings(LoadResString(kStrConfigErrorFormat, 254),
                                           {applicationIni, config.keyPath, kConfigValue});
    ShowFailure(config, showErrors);
    return 0;
}

int KeyLocked(HostConfig& config, char* out, int size, ConfigKeyCache& cache, std::string_view key) {
    if (!config.loaded) LoadLocked(config, 1);
    if (cache.length == -1) {
        const int length = config.loaded ? GetProfilePath("Config", key, config.configDir, cache.value,
                                                          kMaxPath, config.applicationIni)
                                         : 0;
        cache.length = length;
        if (length > 0) {
            const int withSeparator = AppendPathSeparatorN(cache.value, length, kMaxPath);
            // A directory with no room for its separator does not fit.
            cache.length = IsPathSeparator(cache.value[withSeparator - 1]) ? withSeparator : 0;
        }
        if (cache.length == 0) cache.value[0] = '\0';
    }
    return CopyOut(std::string_view(cache.value, static_cast<size_t>(cache.length)), out, size);
}

}  // namespace

int ReadConfigDirFromRegistry(char* out, int outSize, char* keyPath, int keySize) {
    const std::string key = std::string(kHostKey) + "\\" + kProductKey;
    CopyOut(key, keyPath, keySize);
    char value[kMaxPath];
    std::uint32_t size = sizeof value;
    const platform::SettingsStatus status =
        platform::CurrentSettings().ReadValue(key, kConfigValue, value, &size);
    if (status != platform::SettingsStatus::kOk) {
        CopyOut("", out, outSize);
        return 0;
    }
    const std::string_view text(value, size);
    CopyOut(text.substr(0, text.find('\0')), out, outSize);
    return 1;
}

int GetHostConfigDir(char* out, int outSize, char* keyPath, int keySize) {
    return ReadConfigDirFromRegistry(out, outSize, keyPath, keySize);
}

int LoadHostConfig(int showErrors) {
    std::lock_guard<std::mutex> lock(g_lock);
    return LoadLocked(g_config, showErrors);
}

int GetConfigDir(char* out, int size) {
    std::lock_guard<std::mutex> lock(g_lock);
    if (!g_config.loaded) LoadLocked(g_config, 1);
    return CopyOut(g_config.configDir, out, size);
}

int GetConfigKey(char* out, int size, ConfigKeyCache& cache, std::string_view key) {
    std::lock_guard<std::mutex> lock(g_lock);
    return KeyLocked(g_config, out, size, cache, key);
}

int GetDataDir(char* out, int size) {
    std::lock_guard<std::mutex> lock(g_lock);
    return KeyLocked(g_config, out, size, g_config.dataDir, "DataDir");
}

int GetColorDir(char* out, int size) {
    std::lock_guard<std::mutex> lock(g_lock);
    return KeyLocked(g_config, out, size, g_config.colorDir, "ColorDir");
}

int GetProgramsDir(char* out, int size) {
    std::lock_guard<std::mutex> lock(g_lock);
    return KeyLocked(g_config, out, size, g_config.programsDir, "ProgramsDir");
}

std::string HostApplicationIni() {
    std::lock_guard<std::mutex> lock(g_lock);
    return g_config.applicationIni;
}

std::string HostPrinterIni() {
    std::lock_guard<std::mutex> lock(g_lock);
    return g_config.printerIni;
}

std::string HostFontIni() {
    std::lock_guard<std::mutex> lock(g_lock);
    return g_config.fontIni;
}

void ClrForgetHostConfig() {
    std::lock_guard<std::mutex> lock(g_lock);
    g_config = HostConfig{};
}

}  // namespace colour
