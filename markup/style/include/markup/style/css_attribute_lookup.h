// An element's attribute found by name through its document's dictionary,
// as the CSS engine finds "id", "class" and "style".
#pragma once
#include <cstdint>

#include "markup/attr_element.h"
#include "markup/attribute.h"
#include "markup/dictionary_base.h"

namespace markup::style {

// The definitions of that name are tried in order (lower-cased first
// unless the dictionary is case sensitive), and the first that the
// element's definition lists is the attribute's; null when the dictionary
// is not a markup dictionary, the element has no definition, none of them
// is its, or the element does not carry it.
const Attribute* FindAttributeByName(const DictionaryBase* dictionary, const AttrElement& element,
                                     const char* name);
// The id of the attribute of that name an element of type `typeId` takes,
// found as above; false when there is none. Elements of one type share it,
// so a caller may keep it.
bool FindAttributeIdByName(const DictionaryBase* dictionary, std::uint32_t typeId, const char* name,
                           std::uint32_t& id);

}  // namespace markup::style
