// The class-id reader, the control-class table and HIMETRIC conversion.
#include "platform/embedded_controls.h"

#include <cstdint>

#include "platform/system_info.h"

namespace platform {

EmbeddedControl::~EmbeddedControl() = default;

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// `count` hex digits from `at`; false at the first other character.
bool ReadHex(std::string_view text, std::size_t at, std::size_t count, std::uint64_t& out) {
    out = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const int digit = HexDigit(text[at + i]);
        if (digit < 0) return false;
        out = out * 16 + static_cast<std::uint64_t>(digit);
    }
    return true;
}

}  // namespace

bool ClassIdFromString(std::string_view text, ClassId& out) {
    out = ClassId{};
    // {8-4-4-4-12}: 38 characters.
    if (text.size() != 38 || text.front() != '{' || text.back() != '}') return false;
    if (text[9] != '-' || text[14] != '-' || text[19] != '-' || text[24] != '-') return false;
    std::uint64_t a = 0, b = 0, c = 0, d = 0, e = 0;
    if (!ReadHex(text, 1, 8, a) || !ReadHex(text, 10, 4, b) || !ReadHex(text, 15, 4, c) ||
        !ReadHex(text, 20, 4, d) || !ReadHex(text, 25, 12, e)) {
        return false;
    }
    ClassId id;
    id.data1 = static_cast<std::uint32_t>(a);
    id.data2 = static_cast<std::uint16_t>(b);
    id.data3 = static_cast<std::uint16_t>(c);
    id.data4[0] = static_cast<std::uint8_t>(d >> 8);
    id.data4[1] = static_cast<std::uint8_t>(d);
    for (int i = 0; i < 6; ++i) id.data4[2 + i] = static_cast<std::uint8_t>(e >> (8 * (5 - i)));
    out = id;
    return true;
}

ControlClassRegistry& ControlClassRegistry::Instance() {
    static ControlClassRegistry registry;
    return registry;
}

bool ControlClassRegistry::Register(const ClassId& id, ControlFactory factory) {
    if (id.IsNull() || !factory) return false;
    for (const Entry& entry : entries_) {
        if (entry.id == id) return false;
    }
    entries_.push_back({id, std::move(factory)});
    return true;
}

void ControlClassRegistry::Unregister(const ClassId& id) {
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->id == id) {
            entries_.erase(it);
            return;
        }
    }
}

std::unique_ptr<EmbeddedControl> ControlClassRegistry::Create(const ClassId& id) const {
    for (const Entry& entry : entries_) {
        if (entry.id == id) return entry.factory();
    }
    return nullptr;
}

std::int32_t HimetricToPixels(std::int32_t himetric) {
    // 2540 HIMETRIC to the inch; rounds half away from zero, as MulDiv does.
    const std::int64_t scaled = static_cast<std::int64_t>(himetric) * kScreenDotsPerInch;
    const std::int64_t rounded = scaled >= 0 ? (scaled + 1270) / 2540 : (scaled - 1270) / 2540;
    return static_cast<std::int32_t>(rounded);
}

}  // namespace platform
