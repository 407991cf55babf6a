// Attribute: one attribute value on an element of a parsed document.
//
// Ids are packed: the element type id in the upper 16 bits (when the
// attribute belongs to one element only) and the dictionary's attribute id in
// the lower 16. Resolving a value against its definition (the value code,
// typed values) is the parser's: it sets `value` and `valueCode` itself.
#pragma once

#include <cstdint>
#include <memory>

#include "markup/dictionary_base.h"
#include "markup/small_blocks.h"
#include "markup/string.h"

namespace markup {

// Ids from here up carry no usable low part.
inline constexpr std::uint32_t kFirstUnpackableAttributeId = 185u * 65536u;

// The low 16 bits of a packed id, or 0 for an id of kFirstUnpackableAttributeId
// or more.
constexpr std::uint32_t NormalizeAttributeId(std::uint32_t id) {
    return id < kFirstUnpackableAttributeId ? (id & 0xFFFFu) : 0;
}
// No bits above the low 16.
constexpr bool IsPlainId(std::uint32_t id) {
    return (id >> 16) == 0;
}
constexpr std::uint32_t PackAttributeId(std::uint32_t elementId, std::uint32_t attributeId) {
    return (elementId << 16) | (attributeId & 0xFFFFu);
}

// A text that takes one pointer while it is empty: the written name of an
// attribute, which a parse keeps only where the dictionary's name for the
// id would not give it back.
class OptionalString {
  public:
    OptionalString() = default;
    OptionalString(const String& text) { *this = text; }  // NOLINT: stands in for a String
    OptionalString(const OptionalString& other) { *this = other.Get(); }
    OptionalString(OptionalString&&) noexcept = default;
    OptionalString& operator=(const OptionalString& other) {
        if (this != &other) *this = other.Get();
        return *this;
    }
    OptionalString& operator=(OptionalString&&) noexcept = default;
    OptionalString& operator=(const String& text) {
        if (text.IsEmpty()) {
            text_.reset();
        } else if (text_) {
            *text_ = text;
        } else {
            text_ = std::make_unique<String>(text);
        }
        return *this;
    }

    const String& Get() const { return text_ ? *text_ : Nothing(); }
    operator const String&() const { return Get(); }  // NOLINT: reads as a String
    const char* Text() const { return Get().Text(); }
    std::uint32_t Length() const { return text_ ? text_->Length() : 0; }
    bool IsEmpty() const { return !text_ || text_->IsEmpty(); }
    void Empty() { text_.reset(); }

  private:
    static const String& Nothing();
    std::unique_ptr<String> text_;
};

class Attribute {
  public:
    MARKUP_SMALL_BLOCK_ALLOCATION

    explicit Attribute(std::uint32_t id = 0) : id(id) {}
    Attribute(std::uint32_t id, const String& name) : id(id), name(name) {}

    // The written name, else the dictionary's name for the id, else empty.
    String GetName(const DictionaryBase* dictionary) const;
    // 16 when the value holds a "%" (a parameter still to be replaced).
    std::uint32_t ParameterMark() const;
    // Everything but the written name, which is cleared.
    void Assign(const Attribute& other);

    String value;          // as written
    std::uint32_t id = 0;  // packed; 0 when unknown
    // The enumerated value matching `value`, 0 when none; and 0 once the
    // tree builder rejected the attribute, else 1. One word for both: a
    // document holds a record per attribute, and value codes are small.
    std::uint32_t valueCode : 31 = 0;
    std::uint32_t specified : 1 = 1;
    // As written; empty when made from an id, or when the parser found the
    // dictionary's name for the id to be the same.
    OptionalString name;
};

// A document keeps one record per attribute: a larger one shows at once in
// the import's peak memory.
static_assert(sizeof(void*) != 8 || sizeof(Attribute) <= 40, "the attribute record grew");

}  // namespace markup
