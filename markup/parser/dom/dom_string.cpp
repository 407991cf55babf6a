// IDOMString: copies of the narrow text and its byte-for-byte wide copy.
#include "markup/parser/dom/dom_string.h"

#include <cstring>
#include <limits>

#include "markup/faults.h"

namespace markup {

IDOMString::IDOMString(const char* text) : IDOMString(std::string_view(text ? text : "")) {}

IDOMString::IDOMString(std::string_view text) {
    if (text.size() >= std::numeric_limits<std::uint32_t>::max()) throw MemoryAllocationFault();
    length_ = static_cast<std::uint32_t>(text.size());
    narrow_ = std::make_unique<char[]>(length_ + 1);
    if (length_) std::memcpy(narrow_.get(), text.data(), length_);
    narrow_[length_] = 0;
}

const wchar_t* IDOMString::Wide() const {
    if (!wide_ && narrow_) {
        wide_ = std::make_unique<wchar_t[]>(length_ + 1);
        for (std::uint32_t i = 0; i < length_; ++i) wide_[i] = static_cast<unsigned char>(narrow_[i]);
        wide_[length_] = 0;
    }
    return wide_.get();
}

IDOMString::IDOMString(const IDOMString& other) : length_(other.length_) {
    if (other.narrow_) {
        narrow_ = std::make_unique<char[]>(length_ + 1);
        std::memcpy(narrow_.get(), other.narrow_.get(), length_ + 1);
    }
    if (other.wide_) {
        wide_ = std::make_unique<wchar_t[]>(length_ + 1);
        std::memcpy(wide_.get(), other.wide_.get(), (length_ + 1) * sizeof(wchar_t));
    }
}

IDOMString::IDOMString(IDOMString&& other) noexcept
    : narrow_(std::move(other.narrow_)), wide_(std::move(other.wide_)), length_(other.length_) {
    other.length_ = 0;
}

IDOMString& IDOMString::operator=(const IDOMString& other) {
    if (this != &other) *this = IDOMString(other);
    return *this;
}

IDOMString& IDOMString::operator=(IDOMString&& other) noexcept {
    if (this != &other) {
        narrow_ = std::move(other.narrow_);
        wide_ = std::move(other.wide_);
        length_ = other.length_;
        other.length_ = 0;
    }
    return *this;
}

IDOMString::~IDOMString() = default;

}  // namespace markup
