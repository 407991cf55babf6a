// The dictionary's side of the attribute records of a parsed document: a
// value and the enumerated value it matches, and the value check of one
// attribute on its element.
#pragma once

#include <cstdint>

#include "markup/attr_element.h"
#include "markup/attribute.h"
#include "markup/parser/dictionary.h"
#include "markup/string.h"

namespace markup {

// The attribute's value becomes the text, its value code the id of the
// enumerated value the text matches (0 without a dictionary, a definition,
// or a match).
void SetAttributeValue(Attribute& attribute, const Dictionary* dictionary, const String& text);

// The value check of the element's attribute at the index: false with
// result kDict_Unknown when there is no attribute there or its id is
// unknown; otherwise the dictionary's check (result kDict_Ok accepted,
// kDict_NotFound refused). An attribute that must be unique among like
// siblings fails, with kDict_Unknown, when an earlier sibling of the same
// element id carries an attribute of the same id.
bool CheckElementAttribute(const Dictionary& dictionary, DictStatus& result, const AttrElement& element,
                           std::uint32_t index);

}  // namespace markup
