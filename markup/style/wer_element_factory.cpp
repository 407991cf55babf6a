// WerElementFactory: node classes by HTML element type.
#include "markup/style/wer_element_factory.h"

#include <new>

#include "markup/faults.h"
#include "markup/style/html_elements.h"

namespace markup::style {

DocElement* WerElementFactory::CreateElement(std::uint32_t typeId) {
    switch (typeId) {
        case kTypeArea: return new (std::nothrow) AreaElement;
        case 45:
        case 59:
        case 60:
        case 61:
        case 62:
        case 63:
        case 64:
        case 109:
        case 113:
        case kKindPlaceholder: return new (std::nothrow) AttrElementParagraph;
        case kTypeTable: return new (std::nothrow) AttrElementTable;
        case kTypeTableData:
        case kTypeTableHeader: return new (std::nothrow) AttrElementTDTH;
        case kTypeEmbeddedControl: return new (std::nothrow) ActiveXElementBase;
        case kKindCData: return new (std::nothrow) CDataRun;
        case kKindEntityReference: return new (std::nothrow) EntityElement;
        default: break;
    }
    if (typeId >= kKindText && typeId <= kKindMarkupDeclaration) return new (std::nothrow) RunElement;
    return new (std::nothrow) AttrElement;
}

DocElement* WerElementFactory::Create(DictionaryBase* dictionary, std::uint32_t typeId, const String* name,
                                      int keepFlags) {
    DocElement* node = CreateElement(typeId);
    if (!node) throw MemoryAllocationFault();
    bool empty = false;
    if (dictionary && dictionary->ElementIsEmpty(typeId, empty) && empty) node->SetDeclaredEmpty(true);
    node->SetTypeId(typeId);
    node->SetText(dictionary, name ? *name : String());
    if (keepFlags == 0) node->SetFlags(kFlagMadeByBuilder);
    return node;
}

}  // namespace markup::style
