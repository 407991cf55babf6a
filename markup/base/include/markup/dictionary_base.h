// DictionaryBase: what the document tree asks of a markup dictionary.
//
// The tree stores element type ids and leaves their meaning to the
// dictionary of the document type (the parser's Dictionary derives from
// this). The base library sees only these queries, so it does not depend on
// the parser.
#pragma once

#include <cstdint>

#include "markup/string.h"

namespace markup {

class DictionaryBase {
  public:
    virtual ~DictionaryBase() = default;

    // The name of the element definition with this id; false when the
    // dictionary defines no element of that id.
    virtual bool ElementNameById(std::uint32_t id, String& name) const = 0;
    // The name of the attribute definition with this id; false when unknown.
    virtual bool AttributeNameById(std::uint32_t id, String& name) const = 0;
    // Whether the element id belongs to the dictionary's element group of
    // this class (false when there is no such group).
    virtual bool GroupContains(std::uint32_t elementId, std::uint32_t groupClass) const = 0;
    // Whether the element definition of this id allows no content (an
    // element declared empty); false when the dictionary defines no element
    // of that id.
    virtual bool ElementIsEmpty(std::uint32_t id, bool& empty) const = 0;
    // The replacement text of the entity of this name; false when unknown.
    virtual bool FindEntityText(const String& name, String& text) const = 0;
};

}  // namespace markup
