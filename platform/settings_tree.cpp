// Case-folded lookup of settings values and the text form of values.
#include "platform/settings_tree.h"

#include <cctype>
#include <charconv>
#include <cstring>

namespace platform {
namespace {

std::string_view TrimSpace(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

bool StartsWithFolded(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    }
    return true;
}

}  // namespace

std::string SettingsTree::Fold(std::string_view name) {
    while (!name.empty() && name.front() == '\\') name.remove_prefix(1);
    while (!name.empty() && name.back() == '\\') name.remove_suffix(1);
    std::string folded(name);
    for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return folded;
}

void SettingsTree::AddKey(std::string_view key) {
    keys_[Fold(key)];
}

void SettingsTree::Set(std::string_view key, std::string_view name, std::vector<uint8_t> bytes) {
    keys_[Fold(key)][Fold(name)] = std::move(bytes);
}

// A key exists when it was named itself or holds a sub-key.
bool SettingsTree::HasKey(std::string_view key) const {
    const std::string folded = Fold(key);
    auto it = keys_.lower_bound(folded);
    if (it == keys_.end()) return false;
    if (it->first == folded) return true;
    return it->first.size() > folded.size() && it->first.compare(0, folded.size(), folded) == 0 &&
           it->first[folded.size()] == '\\';
}

SettingsStatus SettingsTree::Read(std::string_view key, std::string_view name, void* buffer,
                                  uint32_t* size) const {
    auto k = keys_.find(Fold(key));
    if (k == keys_.end()) return SettingsStatus::kNotFound;
    auto v = k->second.find(Fold(name));
    if (v == k->second.end()) return SettingsStatus::kNotFound;
    const std::vector<uint8_t>& bytes = v->second;
    const uint32_t capacity = size ? *size : 0;
    if (size) *size = static_cast<uint32_t>(bytes.size());
    if (bytes.size() > capacity || (buffer == nullptr && !bytes.empty())) return SettingsStatus::kMoreData;
    if (!bytes.empty()) std::memcpy(buffer, bytes.data(), bytes.size());
    return SettingsStatus::kOk;
}

std::vector<uint8_t> SettingsTree::TextBytes(std::string_view text) {
    std::vector<uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

std::optional<std::vector<uint8_t>> SettingsTree::ParseValue(std::string_view text) {
    text = TrimSpace(text);
    if (StartsWithFolded(text, "dword:")) {
        std::string_view digits = TrimSpace(text.substr(6));
        uint32_t value = 0;
        const char* end = digits.data() + digits.size();
        auto [ptr, ec] = std::from_chars(digits.data(), end, value, 16);
        if (digits.empty() || ec != std::errc() || ptr != end) return std::nullopt;
        return std::vector<uint8_t>{static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                                    static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    }
    if (StartsWithFolded(text, "hex:")) {
        std::vector<uint8_t> bytes;
        std::string_view rest = text.substr(4);
        while (!TrimSpace(rest).empty()) {
            const size_t comma = rest.find(',');
            std::string_view item = TrimSpace(rest.substr(0, comma));
            unsigned value = 0;
            const char* end = item.data() + item.size();
            auto [ptr, ec] = std::from_chars(item.data(), end, value, 16);
            if (item.empty() || ec != std::errc() || ptr != end || value > 0xff) return std::nullopt;
            bytes.push_back(static_cast<uint8_t>(value));
            if (comma == std::string_view::npos) break;
            rest = rest.substr(comma + 1);
        }
        return bytes;
    }
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
    return TextBytes(text);
}

}  // namespace platform
