// XMLElementFactory: node classes by type id.
#include "markup/parser/xml_element_factory.h"

#include <new>

#include "markup/attr_element.h"
#include "markup/text_elements.h"

namespace markup {

DocElement* XMLElementFactory::Create(DictionaryBase* dictionary, std::uint32_t typeId, const String* name,
                                      int keepFlags) {
    DocElement* node = nullptr;
    if (typeId >= kKindText && typeId <= kKindMarkupDeclaration) {
        node = new (std::nothrow) RunElement;
    } else if (typeId == kKindEntityReference) {
        node = new (std::nothrow) EntityElement;
    } else {
        node = new (std::nothrow) AttrElement;
    }
    return SetUpNode(node, dictionary, typeId, name, keepFlags);
}

DocElement* XMLElementFactory::SetUpNode(DocElement* node, DictionaryBase* dictionary, std::uint32_t typeId,
                                         const String* name, int keepFlags) {
    if (!node) return nullptr;
    bool empty = false;
    if (dictionary && dictionary->ElementIsEmpty(typeId, empty) && empty) node->SetDeclaredEmpty(true);
    node->SetTypeId(typeId);
    // Bound to a reference: the conditional would otherwise copy the name.
    static const String kNoName{};
    const String& text = name ? *name : kNoName;
    node->SetText(dictionary, text);
    if (keepFlags == 0) node->SetFlags(kFlagMadeByBuilder);
    return node;
}

}  // namespace markup
