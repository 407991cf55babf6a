// URL character classes, escaping and hexadecimal helpers.
#include <cstring>

#include "markup/url.h"

namespace markup {

namespace {

// Printable ASCII that may not stand in a URL as it is.
constexpr const char kUnsafe[] = "\"#%<>[]\\^`{}";
// What Escape rewrites beyond control and 8-bit bytes. "}" and "~" stay.
constexpr const char kEscaped[] = " \"#%&;<=>?@[]^`{|";

bool In(const char* set, unsigned char c) {
    return c != 0 && std::strchr(set, c) != nullptr;
}

}  // namespace

bool IsURLChar(unsigned char c) {
    return c >= 32 && c < 128 && !In(kUnsafe, c);
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

bool IsValidURLText(const String& text) {
    const char* p = text.Text();
    const std::uint32_t n = text.Length();
    for (std::uint32_t i = 0; i < n; ++i) {
        const unsigned char c = static_cast<unsigned char>(p[i]);
        if (c == '%') {
            if (i + 2 >= n) return false;
            if (!IsHexDigit(p[i + 1]) || !IsHexDigit(p[i + 2])) return false;
            i += 2;
        } else if (!IsURLChar(c)) {
            return false;
        }
    }
    return true;
}

void URLSpec::PrepareText(String& text) {
    if (text.Find(' ') < 0 && text.Find('\\') < 0) return;
    String out;
    const char* p = text.Text();
    for (std::uint32_t i = 0; i < text.Length(); ++i) {
        if (p[i] == ' ') {
            out += "%20";
        } else {
            out += p[i] == '\\' ? '/' : p[i];
        }
    }
    text = out;
}

void URLSpec::Escape(String& text) {
    String out;
    const char* p = text.Text();
    for (std::uint32_t i = 0; i < text.Length(); ++i) {
        const unsigned char c = static_cast<unsigned char>(p[i]);
        if (c < 32 || c > 127 || In(kEscaped, c)) {
            EncodeEscape(c, out);
        } else {
            out += c == '\\' ? '/' : static_cast<char>(c);
        }
    }
    text = out;
}

void URLSpec::Unescape(String& text) {
    if (text.Find('%') < 0) return;
    String out;
    const char* p = text.Text();
    const std::uint32_t n = text.Length();
    for (std::uint32_t i = 0; i < n; ++i) {
        // Only a complete escape is decoded: a "%" near the end must not read
        // past the text, and "%zz" must not turn into a NUL byte.
        if (p[i] == '%' && i + 2 < n && IsHexDigit(p[i + 1]) && IsHexDigit(p[i + 2])) {
            out += static_cast<char>(DecodeEscape(p + i));
            i += 2;
        } else {
            out += p[i];
        }
    }
    text = out;
}

void EncodeEscape(unsigned char c, String& out) {
    out += '%';
    out += HexDigitChar(c >> 4);
    out += HexDigitChar(c & 15u);
}

unsigned char DecodeEscape(const char* text) {
    if (!text || text[0] != '%' || !text[1]) return 0;
    return static_cast<unsigned char>(URLSpec::HexDigit(text[1]) * 16 + URLSpec::HexDigit(text[2]));
}

std::uint32_t URLSpec::HexDigit(char c) {
    if (c >= '0' && c <= '9') return static_cast<std::uint32_t>(c - '0');
    if (c >= 'A' && c <= 'F') return static_cast<std::uint32_t>(c - 'A' + 10);
    if (c >= 'a' && c <= 'f') return static_cast<std::uint32_t>(c - 'a' + 10);
    return 0;
}

std::uint32_t URLSpec::HexValue(const char* text) {
    std::uint32_t value = 0;
    for (const char* p = text ? text : ""; *p; ++p) value = value * 16 + HexDigit(*p);
    return value;
}

char HexDigitChar(std::uint32_t value) {
    if (value > 15) return 0;
    return static_cast<char>(value < 10 ? '0' + value : 'A' + value - 10);
}

String HexText(std::uint32_t value, std::uint32_t minDigits) {
    char digits[8];
    std::uint32_t n = 0;
    do {
        digits[n++] = HexDigitChar(value & 15u);
        value >>= 4;
    } while (value);
    String out;
    for (std::uint32_t i = n; i < minDigits; ++i) out += '0';
    while (n) out += digits[--n];
    return out;
}

}  // namespace markup
