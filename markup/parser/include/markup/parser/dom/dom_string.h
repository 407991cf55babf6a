// IDOMString: the text the DOM hands out, as 8-bit text with a wide copy.
//
// A string made from text always holds both copies, each ending in a zero;
// the default string holds neither and has length 0. The wide copy widens
// byte for byte (each byte is its ISO-8859-1 character), so it never
// depends on the process locale.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

namespace markup {

class IDOMString {
  public:
    IDOMString() noexcept = default;
    // A null text is taken as "".
    IDOMString(const char* text);  // NOLINT: texts convert implicitly, as markup strings do
    // The bytes of the view, which may hold zero bytes; MemoryAllocationFault
    // for a text of 2^32 - 1 bytes or more.
    explicit IDOMString(std::string_view text);
    // Copies whichever copies the other string holds.
    IDOMString(const IDOMString& other);
    IDOMString(IDOMString&& other) noexcept;
    IDOMString& operator=(const IDOMString& other);
    IDOMString& operator=(IDOMString&& other) noexcept;
    virtual ~IDOMString();

    // Null for the default string.
    const char* Narrow() const { return narrow_.get(); }
    // Made on the first request: most readers take the bytes only.
    const wchar_t* Wide() const;
    // In bytes, the final zero not counted.
    std::uint32_t Length() const { return length_; }
    // The text; empty for the default string.
    std::string_view View() const { return narrow_ ? std::string_view(narrow_.get(), length_) : std::string_view(); }

    friend bool operator==(const IDOMString& a, std::string_view b) { return a.View() == b; }

  private:
    std::unique_ptr<char[]> narrow_;
    mutable std::unique_ptr<wchar_t[]> wide_;
    std::uint32_t length_ = 0;
};

}  // namespace markup
