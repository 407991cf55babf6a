// The host application's installation: the configuration directory named in
// the machine's settings (value "ConfigDir" under
// "SOFTWARE\Tavix\Lumavecta\8.0"), the host's ini files in it, and the data,
// colour and programs directories that the application ini names in its
// section "Config". Directories end in a separator once read.
//
// The configuration is loaded once; a failed load is remembered, so its
// message is shown once in a run.
#pragma once

#include <string>
#include <string_view>

#include "colour/config_paths.h"

namespace colour {

// 1 when the configuration is loaded, else 0. With `showErrors`, a failure
// is reported to the user (once).
int LoadHostConfig(int showErrors);

// Each copies at most size - 1 characters and terminates `out`; answers the
// count copied. The first call loads the configuration, with messages.
int GetConfigDir(char* out, int size);
int GetDataDir(char* out, int size);
int GetColorDir(char* out, int size);
int GetProgramsDir(char* out, int size);

// A directory read from the application ini, kept after its first read
// (length -1 until then; 0 when it was missing and had no default, or did not
// fit).
struct ConfigKeyCache {
    char value[kMaxPath] = {};
    int length = -1;
};
int GetConfigKey(char* out, int size, ConfigKeyCache& cache, std::string_view key);

// Reads the configuration directory from the machine's settings: 1, or 0 with
// `out` emptied. `keyPath` receives the key searched (for messages). Either
// buffer may be null.
int ReadConfigDirFromRegistry(char* out, int outSize, char* keyPath, int keySize);
int GetHostConfigDir(char* out, int outSize, char* keyPath, int keySize);

// The host's ini files, once loaded (empty before).
std::string HostApplicationIni();
std::string HostPrinterIni();
std::string HostFontIni();

// Forgets the loaded configuration and the directories read, for a test or
// after the host changed its installation.
void ClrForgetHostConfig();

}  // namespace colour
