// WDOMBuilder: the facade kind for each tree node, chosen by its type id.
#include "markup/parser/dom/dom_builder.h"

#include <new>

#include "dom_detail.h"
#include "markup/attr_element.h"
#include "markup/parser/dom/dom_character_data.h"
#include "markup/parser/dom/dom_element.h"
#include "markup/parser/dom/dom_node_kinds.h"

namespace markup {

namespace {

WDOMNode* MakeFacade(DocTree* tree, DocElement* node) {
    const DictionaryBase* dictionary = tree->Dictionary();
    switch (node->TypeId()) {
        case kKindDeclaration:
        case kKindMarkupDeclaration: {
            if (node->GetName(dictionary).Left(9) == "<!DOCTYPE") {
                return new WDOMDocumentType_WepImp(
                    tree, node, detail::ToDOM(WDOMBuilder::NameOf(detail::DictionaryOf(tree))));
            }
            return new WDOMComment_WepImp(tree, node, detail::ToDOM(node->Text()));
        }
        case kKindText:
        case kKindEntityReference:
            return new WDOMText_WepImp(tree, node, WDOMJoinedRun{});
        default: {
            const String name = node->GetName(dictionary);
            if (name.Text()[0] == '?') {
                // The pseudo-attributes, all but the last, are its data.
                const AttrElement* element = AsAttrElement(node);
                const String data = element ? element->GetAttributeText(dictionary, true) : String();
                return new WDOMProcessingInstruction_WepImp(tree, node, detail::ToDOM(node->Text()),
                                                            detail::ToDOM(data));
            }
            return new WDOMElement_WepImp(tree, node, detail::ToDOM(name));
        }
    }
}

}  // namespace

WDOMNode* WDOMBuilder::CreateNode(DocTree* tree, DocElement* node) {
    if (!tree || !node) return nullptr;
    try {
        return MakeFacade(tree, node);
    } catch (const std::bad_alloc&) {
        return nullptr;
    } catch (const BadAllocationFault&) {
        return nullptr;
    }
}

String WDOMBuilder::NameOf(const Dictionary* dictionary) {
    return dictionary ? dictionary->Name() : String();
}

}  // namespace markup
