// Settings kept in a text file, read afresh on every request:
//
//   ; a comment
//   [SOFTWARE\Tavix\SVGFont]
//   Shorthand=1              text, stored with its terminating NUL
//   Quoted=" spaced text "   text between quotes keeps its spaces
//   Count=dword:0000000a     a number, four bytes little-endian
//   Raw=hex:31,00            bytes as given
//
// A missing file is a store without keys; lines that do not parse are skipped.
#ifndef PLATFORM_INI_SETTINGS_STORE_H
#define PLATFORM_INI_SETTINGS_STORE_H

#include <string>
#include <utility>

#include "platform/settings_store.h"

namespace platform {

class IniSettingsStore : public SettingsStore {
  public:
    explicit IniSettingsStore(std::string path) : path_(std::move(path)) {}

    bool HasKey(std::string_view key) override;
    SettingsStatus ReadValue(std::string_view key, std::string_view name, void* buffer,
                             uint32_t* size) override;

    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace platform

#endif  // PLATFORM_INI_SETTINGS_STORE_H
