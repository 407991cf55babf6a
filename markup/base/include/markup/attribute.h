// Attribute: one attribute value on an element of a parsed document.
//
// Ids are packed: the element type id in the upper 16 bits (when the
// attribute belongs to one element only) and the dictionary's attribute id in
// the lower 16. Resolving a value against its definition (the value code,
// typed values) is the parser's: it sets `value` and `valueCode` itself.
#pragma once

#include <cstdint>

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

    String value;                 // as written
    std::uint32_t id = 0;         // packed; 0 when unknown
    std::uint32_t valueCode = 0;  // the enumerated value matching `value`, 0 when none
    String name;                  // as written; empty when made from an id
    std::uint32_t specified = 1;  // 0 once the tree builder rejected the attribute
};

}  // namespace markup
