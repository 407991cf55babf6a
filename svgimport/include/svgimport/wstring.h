// The import's string: the 8-bit text a document gives (attribute values,
// character data, link texts, font families), with the wide copy the host's
// text and link entries take, made on first use.
#ifndef SVGIMPORT_WSTRING_H
#define SVGIMPORT_WSTRING_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace SVG {

class WString {
  public:
    WString() = default;
    // A null text is the empty string.
    explicit WString(const char* text) : narrow_(text != nullptr ? text : "") {}
    explicit WString(std::string_view text) : narrow_(text) {}

    std::string_view Text() const { return narrow_; }
    // Zero-terminated; null when the string is empty, as the DOM's strings.
    const char* Narrow() const { return narrow_.empty() ? nullptr : narrow_.c_str(); }
    // In bytes.
    size_t Length() const { return narrow_.size(); }
    bool Empty() const { return narrow_.empty(); }

    // The wide copy, zero-terminated UTF-16, made once and kept until the
    // text changes; null when there is no text. The narrow text is read as
    // UTF-8, and a byte that does not belong to a well-formed UTF-8
    // sequence stands for its ISO-8859-1 character, so Latin-1 text comes
    // through as well. No locale is consulted.
    const uint16_t* Wide() const;
    // The wide copy's length in UTF-16 units: the count the host takes.
    size_t WideLength() const;

    // Copies the other string's text and, when it has one, its wide copy.
    // Assigning a string to itself changes nothing.
    void Assign(const WString& other);
    void Assign(std::string_view text);

    // White space (blank, tab, line feed, carriage return) goes at both
    // ends; every inner run of it becomes one blank. Text of white space
    // alone becomes empty. The wide copy is dropped.
    void CollapseWhitespace();

    bool operator==(const WString& other) const { return narrow_ == other.narrow_; }

  private:
    std::string narrow_;
    mutable std::optional<std::u16string> wide_;
};

// UTF-16 of 8-bit text read as Wide() reads it.
std::u16string WideOf(std::string_view text);

// The text as ISO-8859-1 for the host's 8-bit entries (font families): the
// characters Wide() reads, those beyond U+00FF as "?".
std::string Latin1Of(std::string_view text);

}  // namespace SVG

#endif  // SVGIMPORT_WSTRING_H
