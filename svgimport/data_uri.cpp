// data: URIs: the header up to the comma, then base64 or percent-encoded
// bytes, and the picture format their signature shows.
#include "data_uri.h"

#include "svgfilter/import_abi.h"

namespace SVG {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

int Base64Digit(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+' || c == '-') return 62;  // "-" and "_": the URL-safe alphabet
    if (c == '/' || c == '_') return 63;
    return -1;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// A percent escape decoded, or -1.
int Escape(std::string_view text, size_t at) {
    if (at + 2 >= text.size()) return -1;
    const int high = HexDigit(text[at + 1]), low = HexDigit(text[at + 2]);
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

// Percent escapes undone (base64 text may carry them too).
bool Unescape(std::string_view text, std::string& out, size_t limit) {
    out.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (out.size() >= limit) return false;
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        const int value = Escape(text, i);
        if (value < 0) return false;
        out += static_cast<char>(value);
        i += 2;
    }
    return true;
}

DataUriResult Base64(std::string_view text, std::string& out, size_t limit) {
    out.clear();
    uint32_t bits = 0;
    int count = 0;
    size_t padding = 0;
    for (const char c : text) {
        if (IsSpace(c)) continue;
        if (c == '=') {
            ++padding;
            continue;
        }
        const int digit = Base64Digit(c);
        if (digit < 0 || padding > 0) return DataUriResult::kMalformed;
        bits = (bits << 6) | static_cast<uint32_t>(digit);
        if (++count == 4) {
            if (out.size() + 3 > limit) return DataUriResult::kTooLarge;
            out += static_cast<char>(bits >> 16);
            out += static_cast<char>((bits >> 8) & 0xFF);
            out += static_cast<char>(bits & 0xFF);
            bits = 0;
            count = 0;
        }
    }
    // A last group of two or three digits gives one or two bytes.
    if (count == 1 || padding > 2) return DataUriResult::kMalformed;
    if (count == 2) out += static_cast<char>(bits >> 4);
    if (count == 3) {
        out += static_cast<char>(bits >> 10);
        out += static_cast<char>((bits >> 2) & 0xFF);
    }
    return out.size() > limit ? DataUriResult::kTooLarge : DataUriResult::kDecoded;
}

uint32_t FormatOf(std::string_view bytes) {
    if (bytes.starts_with("\x89PNG\r\n\x1A\n")) return svgf::kFormatPng;
    if (bytes.starts_with("\xFF\xD8\xFF")) return svgf::kFormatJpeg;
    if (bytes.starts_with("GIF87a") || bytes.starts_with("GIF89a")) return svgf::kFormatGif;
    return 0;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

}  // namespace

bool IsDataUri(std::string_view link) {
    while (!link.empty() && IsSpace(link.front())) link.remove_prefix(1);
    return link.size() >= 5 && SameIgnoringCase(link.substr(0, 5), "data:");
}

DataUriResult DecodeDataUri(std::string_view uri, std::string& bytes, uint32_t& format, size_t limit) {
    bytes.clear();
    format = 0;
    while (!uri.empty() && IsSpace(uri.front())) uri.remove_prefix(1);
    if (!IsDataUri(uri)) return DataUriResult::kMalformed;
    const size_t comma = uri.find(',');
    if (comma == std::string_view::npos) return DataUriResult::kMalformed;
    std::string_view header = uri.substr(5, comma - 5);
    while (!header.empty() && IsSpace(header.back())) header.remove_suffix(1);
    const bool base64 = header.size() >= 7 && SameIgnoringCase(header.substr(header.size() - 7), ";base64");
    const std::string_view data = uri.substr(comma + 1);
    // Base64 is at most four thirds of its bytes: a text that long is
    // refused before it is decoded.
    if ((base64 ? data.size() / 4 * 3 : data.size() / 3) > limit) return DataUriResult::kTooLarge;
    std::string text;
    if (!Unescape(data, text, base64 ? data.size() : limit + 1)) {
        return text.size() > limit ? DataUriResult::kTooLarge : DataUriResult::kMalformed;
    }
    if (base64) {
        const DataUriResult result = Base64(text, bytes, limit);
        if (result != DataUriResult::kDecoded) {
            bytes.clear();
            return result;
        }
    } else {
        if (text.size() > limit) return DataUriResult::kTooLarge;
        bytes.swap(text);
    }
    format = FormatOf(bytes);
    if (format == 0) {
        bytes.clear();
        return DataUriResult::kNoPicture;
    }
    return DataUriResult::kDecoded;
}

const char* DescribeDataUriResult(DataUriResult result) {
    switch (result) {
        case DataUriResult::kDecoded:
            return "decoded";
        case DataUriResult::kMalformed:
            return "its data: URI is malformed";
        case DataUriResult::kTooLarge:
            return "its data: URI holds more than 64 MB";
        case DataUriResult::kNoPicture:
            return "its data: URI holds no PNG, JPEG or GIF picture";
    }
    return "";
}

}  // namespace SVG
