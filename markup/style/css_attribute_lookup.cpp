// Attributes of an element by name, through its document's dictionary.
#include "markup/style/css_attribute_lookup.h"

#include "markup/parser/dictionary.h"
#include "platform/latin1_text.h"

namespace markup::style {

const Attribute* FindAttributeByName(const DictionaryBase* dictionary, const AttrElement& element,
                                     const char* name) {
    const auto* markupDictionary = dynamic_cast<const Dictionary*>(dictionary);
    if (!markupDictionary) return nullptr;
    const ElementDef* definition = markupDictionary->FindElement(element.TypeId());
    if (!definition) return nullptr;
    String key(name);
    char* text = nullptr;
    if (!markupDictionary->CaseSensitive() && key.GetBuffer(text)) platform::CharLowerA(text);
    const CrossReference<HTMLAttributeDef>& attributes = markupDictionary->Attributes();
    std::uint32_t position = 0;
    if (!attributes.FindPosition(key, position)) return nullptr;
    for (const HTMLAttributeDef* candidate = attributes.At(position); candidate && candidate->Name() == key;
         candidate = attributes.At(++position)) {
        if (definition->TakesAttribute(candidate->Id())) return element.FindAttribute(candidate->Id(), false);
    }
    return nullptr;
}

}  // namespace markup::style
