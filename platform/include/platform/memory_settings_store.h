// Settings held in memory, for tests: values are set by the test, and every
// read is recorded so the test can tell what was asked and what came back.
#ifndef PLATFORM_MEMORY_SETTINGS_STORE_H
#define PLATFORM_MEMORY_SETTINGS_STORE_H

#include <cstdint>
#include <string>
#include <vector>

#include "platform/settings_store.h"
#include "platform/settings_tree.h"

namespace platform {

class MemorySettingsStore : public SettingsStore {
  public:
    struct Read {
        std::string key;
        std::string name;
        SettingsStatus status;
    };

    void AddKey(std::string_view key);
    void SetBytes(std::string_view key, std::string_view name, std::vector<uint8_t> bytes);
    void SetText(std::string_view key, std::string_view name, std::string_view text);
    void SetNumber(std::string_view key, std::string_view name, uint32_t value);

    bool HasKey(std::string_view key) override;
    SettingsStatus ReadValue(std::string_view key, std::string_view name, void* buffer,
                             uint32_t* size) override;

    const std::vector<Read>& Reads() const { return reads_; }

  private:
    SettingsTree tree_;
    std::vector<Read> reads_;
};

}  // namespace platform

#endif  // PLATFORM_MEMORY_SETTINGS_STORE_H
