// The element facade: its attribute map from the tree, the attribute
// operations on its own map, the search by tag name and normalize.
#include "markup/parser/dom/dom_element.h"

#include <vector>

#include "dom_detail.h"
#include "markup/attr_element.h"
#include "markup/parser/dom/dom_document.h"

namespace markup {

namespace {

// A map of the tree node's attributes in their order; a name met again
// keeps its first value.
WDOMNamedNodeMap_WepImp* MapFromTree(DocTree* tree, DocElement* node) {
    auto* map = detail::MakeFacade<WDOMNamedNodeMap_WepImp>();
    WDOMNamedNodeMapHandle hold(map);
    const AttrElement* element = AsAttrElement(node);
    if (!map || !element) return static_cast<WDOMNamedNodeMap_WepImp*>(hold.HandOut());
    const DictionaryBase* dictionary = tree ? tree->Dictionary() : nullptr;
    const AttributeList& attributes = element->Attributes();
    for (std::uint32_t i = 0; i < attributes.Count(); ++i) {
        const Attribute* attribute = attributes.At(i);
        if (!attribute) continue;
        WDOMHandle facade(detail::MakeFacade<WDOMAttr_WepImp>(tree, node, detail::ToDOM(attribute->GetName(dictionary)),
                                                              detail::ToDOM(attribute->value), false, false));
        if (facade.IsNull()) throw MemoryAllocationFault();
        map->AddNew(facade.Get());
    }
    return static_cast<WDOMNamedNodeMap_WepImp*>(hold.HandOut());
}

}  // namespace

WDOMElement_WepImp::WDOMElement_WepImp(DocTree* tree, DocElement* node, const IDOMString& tagName)
    : WDOMNodeImp<WDOMElement>(tree, node), tagName_(tagName) {}

WDOMNamedNodeMap* WDOMElement_WepImp::attributes() const {
    if (!GetNode()) return nullptr;
    try {
        return MapFromTree(GetTree(), GetNode());
    } catch (const BadAllocationFault&) {
        return nullptr;
    }
}

WDOMNamedNodeMap_WepImp& WDOMElement_WepImp::OwnMap() const {
    if (ownMap_.IsNull()) {
        auto* map = GetNode() ? MapFromTree(GetTree(), GetNode()) : detail::MakeFacade<WDOMNamedNodeMap_WepImp>();
        if (!map) throw MemoryAllocationFault();
        ownMap_ = WDOMNamedNodeMapHandle(map);
    }
    return *static_cast<WDOMNamedNodeMap_WepImp*>(ownMap_.Get());
}

IDOMString WDOMElement_WepImp::getAttribute(const IDOMString& name) const {
    const WDOMNode* attribute = OwnMap().getNamedItem(name);
    return attribute ? attribute->nodeValue() : IDOMString("");
}

void WDOMElement_WepImp::setAttribute(const IDOMString& name, const IDOMString& value) {
    if (WDOMNode* attribute = OwnMap().getNamedItem(name)) {
        attribute->setNodeValue(value);
        return;
    }
    WDOMHandle added(detail::MakeFacade<WDOMAttr_WepImp>(GetTree(), GetNode(), name, value, true, false));
    if (added.IsNull()) throw MemoryAllocationFault();
    OwnMap().AddNew(added.Get());
}

WDOMNode* WDOMElement_WepImp::removeAttribute(const IDOMString& name) {
    return OwnMap().removeNamedItem(name);
}

WDOMAttr* WDOMElement_WepImp::getAttributeNode(const IDOMString& name) const {
    return dynamic_cast<WDOMAttr*>(OwnMap().getNamedItem(name));
}

WDOMAttr* WDOMElement_WepImp::setAttributeNode(WDOMAttr* attribute) {
    if (!attribute) return nullptr;
    WDOMHandle added(detail::MakeFacade<WDOMAttr_WepImp>(GetTree(), GetNode(), attribute->name(),
                                                         attribute->value(), true, false));
    if (added.IsNull()) throw MemoryAllocationFault();
    // The own map holds attributes only.
    auto* removed = static_cast<WDOMAttr*>(OwnMap().removeNamedItem(attribute->name()));
    OwnMap().AddNew(added.Get());
    return removed;
}

WDOMAttr* WDOMElement_WepImp::removeAttributeNode(WDOMAttr* attribute) {
    return attribute ? static_cast<WDOMAttr*>(OwnMap().removeNamedItem(attribute->name())) : nullptr;
}

WDOMNodeList* WDOMElement_WepImp::getElementsByTagName(const IDOMString& name) const {
    auto* list = detail::MakeFacade<WDOMNodeList_WepImp>();
    WDOMNodeListHandle hold(list);
    if (list) detail::CollectByTagName(*this, name, *list);
    return hold.HandOut();
}

void WDOMElement_WepImp::normalize() {
    DocElement* node = GetNode();
    DocTree* tree = GetTree();
    if (!node || !tree) return;
    for (Node* child = node->FirstChild(); child; child = child->NextSibling()) {
        auto* text = DocElement::Of(child);
        if (!text || text->TypeId() != kKindText) continue;
        // The whole run is joined at once; the nodes that gave their text
        // stay alive outside the tree, since facades may still wrap them.
        std::vector<DocElement*> joined;
        String run = text->Text();
        for (auto* next = DocElement::Of(text->NextSibling()); next && next->TypeId() == kKindText;
             next = DocElement::Of(next->NextSibling())) {
            run += next->Text();
            joined.push_back(next);
        }
        if (joined.empty()) continue;
        text->SetText(tree->Dictionary(), run);
        for (DocElement* gone : joined) detail::TakeOut(*tree, gone);
    }
}

}  // namespace markup
