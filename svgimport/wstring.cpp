// The import's string: its wide copy and the white-space collapse of text
// elements.
#include "svgimport/wstring.h"

#include <bit>
#include <memory>

#include "svgimport/values.h"
#include "byte_runs.h"

namespace SVG {
namespace {

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// The code point of the well-formed UTF-8 sequence at text[i], with its
// length; 0 when none starts there.
size_t DecodeUtf8(std::string_view text, size_t i, char32_t* code) {
    const auto at = [&](size_t k) { return static_cast<unsigned char>(text[i + k]); };
    const unsigned char c = at(0);
    const size_t left = text.size() - i;
    if (c >= 0xC2 && c <= 0xDF && left >= 2 && IsContinuation(at(1))) {
        *code = (char32_t(c & 0x1F) << 6) | (at(1) & 0x3F);
        return 2;
    }
    if (c >= 0xE0 && c <= 0xEF && left >= 3 && IsContinuation(at(1)) && IsContinuation(at(2))) {
        // No overlong forms and no surrogate code points.
        if ((c == 0xE0 && at(1) < 0xA0) || (c == 0xED && at(1) > 0x9F)) return 0;
        *code = (char32_t(c & 0x0F) << 12) | (char32_t(at(1) & 0x3F) << 6) | (at(2) & 0x3F);
        return 3;
    }
    if (c >= 0xF0 && c <= 0xF4 && left >= 4 && IsContinuation(at(1)) && IsContinuation(at(2)) &&
        IsContinuation(at(3))) {
        if ((c == 0xF0 && at(1) < 0x90) || (c == 0xF4 && at(1) > 0x8F)) return 0;
        *code = (char32_t(c & 0x07) << 18) | (char32_t(at(1) & 0x3F) << 12) | (char32_t(at(2) & 0x3F) << 6) |
                (at(3) & 0x3F);
        return 4;
    }
    return 0;
}

// The character at text[i] and the bytes it takes: a UTF-8 sequence, else
// one byte read as ISO-8859-1.
size_t CharacterAt(std::string_view text, size_t i, char32_t* code) {
    const auto c = static_cast<unsigned char>(text[i]);
    *code = c;
    const size_t n = c < 0x80 ? 1 : DecodeUtf8(text, i, code);
    if (n > 0) return n;
    *code = c;
    return 1;
}

// Calls `take` with each character of the text.
template <typename F>
void ForEachCharacter(std::string_view text, F&& take) {
    for (size_t i = 0; i < text.size();) {
        char32_t code = 0;
        i += CharacterAt(text, i, &code);
        take(code);
    }
}

// Bytes below 0x80 as the units of the same value, eight at a time.
void WidenAscii(const char* from, size_t n, char16_t* to) {
    size_t k = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; k + 8 <= n; k += 8) {
            const uint64_t word = detail::WordAt(from + k);
            for (int b = 0; b < 8; ++b) to[k + b] = static_cast<char16_t>((word >> (8 * b)) & 0xFF);
        }
    }
    for (; k < n; ++k) to[k] = static_cast<unsigned char>(from[k]);
}

}  // namespace

std::u16string WideOf(std::string_view text) {
    // A unit a byte at most: a sequence of four bytes makes two. Written
    // into a buffer that is not filled first (the string's own fill goes a
    // unit at a time), then copied whole.
    const std::unique_ptr<char16_t[]> buffer = std::make_unique_for_overwrite<char16_t[]>(text.size());
    char16_t* const wide = buffer.get();
    size_t out = 0;
    for (size_t i = 0; i < text.size();) {
        const size_t ascii = detail::AsciiRun(text.data() + i, text.size() - i);
        WidenAscii(text.data() + i, ascii, wide + out);
        out += ascii;
        i += ascii;
        if (i == text.size()) break;
        char32_t code = 0;
        i += CharacterAt(text, i, &code);
        if (code < 0x10000) {
            wide[out++] = static_cast<char16_t>(code);
        } else {
            code -= 0x10000;
            wide[out++] = static_cast<char16_t>(0xD800 + (code >> 10));
            wide[out++] = static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        }
    }
    return std::u16string(wide, out);
}

std::string Latin1Of(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    ForEachCharacter(text, [&](char32_t code) { out.push_back(code < 0x100 ? static_cast<char>(code) : '?'); });
    return out;
}

const uint16_t* WString::Wide() const {
    if (narrow_.empty()) return nullptr;
    if (!wide_) wide_ = WideOf(narrow_);
    return reinterpret_cast<const uint16_t*>(wide_->c_str());
}

size_t WString::WideLength() const {
    return Wide() != nullptr ? wide_->size() : 0;
}

void WString::Assign(const WString& other) {
    if (&other == this) return;
    narrow_ = other.narrow_;
    wide_ = other.wide_;
}

void WString::Assign(std::string_view text) {
    // A text measured and then drawn is given again: its wide copy stands.
    if (wide_ && text == narrow_) return;
    narrow_.assign(text);
    wide_.reset();
}

void WString::CollapseWhitespace() {
    std::string out;
    out.reserve(narrow_.size());
    bool pendingBlank = false;
    for (const char c : narrow_) {
        if (IsWhiteSpace(c)) {
            pendingBlank = !out.empty();
            continue;
        }
        if (pendingBlank) out.push_back(' ');
        pendingBlank = false;
        out.push_back(c);
    }
    narrow_ = std::move(out);
    wide_.reset();
}

}  // namespace SVG
