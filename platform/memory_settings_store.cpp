// In-memory settings with a record of every read.
#include "platform/memory_settings_store.h"

namespace platform {

void MemorySettingsStore::AddKey(std::string_view key) {
    tree_.AddKey(key);
}

void MemorySettingsStore::SetBytes(std::string_view key, std::string_view name, std::vector<uint8_t> bytes) {
    tree_.Set(key, name, std::move(bytes));
}

void MemorySettingsStore::SetText(std::string_view key, std::string_view name, std::string_view text) {
    tree_.Set(key, name, SettingsTree::TextBytes(text));
}

void MemorySettingsStore::SetNumber(std::string_view key, std::string_view name, uint32_t value) {
    tree_.Set(key, name,
              {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
               static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)});
}

bool MemorySettingsStore::HasKey(std::string_view key) {
    return tree_.HasKey(key);
}

SettingsStatus MemorySettingsStore::ReadValue(std::string_view key, std::string_view name, void* buffer,
                                              uint32_t* size) {
    const SettingsStatus status = tree_.Read(key, name, buffer, size);
    reads_.push_back({std::string(key), std::string(name), status});
    return status;
}

}  // namespace platform
