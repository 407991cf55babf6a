// Attributes of an element by name, through its document's dictionary.
#include "markup/style/css_attribute_lookup.h"

#include "markup/parser/dictionary.h"
#include "platform/latin1_text.h"

namespace markup::style {

const Attribute* FindAttributeByName(const DictionaryBase* dictionary, const AttrElement& element,
                                     const char* name) {
    std::uint32_t id = 0;
    if (!FindAttributeIdByName(dictionary, element.TypeId(), name, id)) return nullptr;
    return element.FindAttribute(id, false);
}

bool FindAttributeIdByName(const DictionaryBase* dictionary, std::uint32_t typeId, const char* name,
                           std::uint32_t& id) {
    const auto* markupDictionary = dynamic_cast<const Dictionary*>(dictionary);
    if (!markupDictionary) return false;
    const ElementDef* definition = markupDictionary->FindElement(typeId);
    if (!definition) return false;
    String key(name);
    char* text = nullptr;
    if (!markupDictionary->CaseSensitive() && key.GetBuffer(text)) platform::CharLowerA(text);
    const CrossReference<HTMLAttributeDef>& attributes = markupDictionary->Attributes();
    for (const HTMLAttributeDef* candidate = attributes.FindByName(key); candidate;
         candidate = attributes.NextNamesake(*candidate)) {
        if (definition->TakesAttribute(candidate->Id())) {
            id = candidate->Id();
            return true;
        }
    }
    return false;
}

}  // namespace markup::style
