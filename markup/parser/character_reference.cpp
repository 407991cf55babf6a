// Character references: their codes and their text.
#include "character_reference.h"

namespace markup::detail {

long CharacterCode(std::string_view name) {
    if (name.size() < 2 || name[0] != '#') return -1;
    std::size_t at = 1;
    int base = 10;
    if (name[1] == 'x' || name[1] == 'X') {
        base = 16;
        ++at;
    }
    if (at >= name.size()) return -1;
    long code = 0;
    for (std::size_t i = at; i < name.size(); ++i) {
        const char c = name[i];
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0) return -1;
        if (code <= 0x10FFFF) code = code * base + digit;
    }
    return code;
}

bool AppendCharacter(long code, bool xml, std::string& out) {
    if (code < 1) return false;
    if (!xml || code < 0x80) {
        if (code > 255) return false;
        out += static_cast<char>(code);
        return true;
    }
    if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    const auto byte = [&](long value) { out += static_cast<char>(static_cast<unsigned char>(value)); };
    if (code < 0x800) {
        byte(0xC0 | (code >> 6));
    } else if (code < 0x10000) {
        byte(0xE0 | (code >> 12));
        byte(0x80 | ((code >> 6) & 0x3F));
    } else {
        byte(0xF0 | (code >> 18));
        byte(0x80 | ((code >> 12) & 0x3F));
        byte(0x80 | ((code >> 6) & 0x3F));
    }
    byte(0x80 | (code & 0x3F));
    return true;
}

}  // namespace markup::detail
