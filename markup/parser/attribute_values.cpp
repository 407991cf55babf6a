// Attribute values through the dictionary, and the check of one attribute
// against its definition and the element's earlier siblings.
#include "markup/parser/attribute_values.h"

namespace markup {

void SetAttributeValue(Attribute& attribute, const Dictionary* dictionary, const String& text) {
    attribute.value = text;
    attribute.valueCode = dictionary ? dictionary->AttributeValueCode(attribute.id, text) : 0;
}

namespace {

bool CarriesAttribute(const AttrElement& element, std::uint32_t id) {
    for (std::uint32_t i = 0; i < element.AttributeCount(); ++i) {
        const Attribute* attribute = element.AttributeAt(i);
        if (attribute && attribute->id == id) return true;
    }
    return false;
}

}  // namespace

bool CheckElementAttribute(const Dictionary& dictionary, DictStatus& result, const AttrElement& element,
                           std::uint32_t index) {
    const Attribute* attribute = element.AttributeAt(index);
    if (!attribute) {
        result = kDict_Unknown;
        return false;
    }
    bool unique = false;
    if (!dictionary.CheckAttribute(result, attribute->id, attribute->value, unique)) return false;
    if (!unique) return true;
    for (const Node* sibling = element.PreviousSibling(); sibling; sibling = sibling->PreviousSibling()) {
        const AttrElement* like = AsAttrElement(sibling);
        if (like && like->TypeId() == element.TypeId() && CarriesAttribute(*like, attribute->id)) {
            result = kDict_Unknown;
            return false;
        }
    }
    return true;
}

}  // namespace markup
