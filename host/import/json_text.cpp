// JSON text pieces for the drawing description the import side writes.
#include "json_text.h"

#include <charconv>
#include <cmath>

#include "../utf8.h"

namespace host::import {

std::string JsonString(std::string_view utf8) {
    std::string out = "\"";
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    static const char kHex[] = "0123456789ABCDEF";
                    out += "\\u00";
                    out += kHex[c >> 4];
                    out += kHex[c & 15];
                } else {
                    out += ch;
                }
        }
    }
    return out + "\"";
}

std::string Latin1ToUtf8(std::string_view latin1) {
    std::string out;
    for (const char c : latin1) AppendUtf8(out, static_cast<unsigned char>(c));
    return out;
}

std::string Utf16ToUtf8(const uint16_t* text, size_t count, size_t* replaced) {
    std::string out;
    if (replaced != nullptr) *replaced = 0;
    for (size_t i = 0; text != nullptr && i < count; ++i) {
        uint32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD;
            if (replaced != nullptr) ++*replaced;
        }
        AppendUtf8(out, code);
    }
    return out;
}

std::string JsonNumber(double value) {
    if (!std::isfinite(value)) return "0";
    if (value == 0) return "0";  // no "-0"
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (error != std::errc()) return "0";
    return std::string(buffer, end);
}

size_t WideLength(const uint16_t* text, size_t limit) {
    size_t n = 0;
    while (text != nullptr && n < limit && text[n] != 0) ++n;
    return n;
}

}  // namespace host::import
