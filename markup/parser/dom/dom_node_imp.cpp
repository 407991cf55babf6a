// What every node facade shares: navigation over the wrapped tree node,
// copies, and the four changes that link and unlink tree nodes.
#include "markup/parser/dom/dom_node_imp.h"

#include "dom_detail.h"
#include "markup/parser/dom/dom_builder.h"
#include "markup/parser/dom/dom_document.h"

namespace markup {

namespace {

DocElement* AsElement(Node* node) {
    return DocElement::Of(node);
}

DocElement* NodeOf(const WDOMNode* facade) {
    return facade ? facade->GetNode() : nullptr;
}

// An attribute wraps its owner element and a document the tree's root:
// moving either would move that node instead.
bool IsMovable(const WDOMNode& facade) {
    const std::uint16_t type = facade.nodeType();
    return type != kDOMAttributeNode && type != kDOMDocumentNode;
}

// A step that lands on a wrapper or whitespace node goes one node further.
Node* PassingOver(Node* node, bool forward) {
    if (!detail::IsPassedOver(node)) return node;
    return forward ? node->NextSibling() : node->PreviousSibling();
}

}  // namespace

template <class Interface>
WDOMNodeImp<Interface>::WDOMNodeImp(DocTree* tree, DocElement* node)
    : node_(node), tree_(tree), keepTree_(tree ? tree->weak_from_this().lock() : nullptr) {}

template <class Interface>
WDOMNode* WDOMNodeImp<Interface>::appendChild(WDOMNode* newChild) {
    DocElement* child = NodeOf(newChild);
    if (!node_ || !tree_ || !child || newChild->GetTree() != tree_ || !IsMovable(*newChild)) return nullptr;
    // Linking the node below itself or below one of its descendants would
    // make a cycle.
    if (node_->IsWithin(child)) return nullptr;
    if (!child->IsFree()) detail::TakeOut(*tree_, child);
    node_->AppendChild(child);
    return newChild;
}

template <class Interface>
WDOMNode* WDOMNodeImp<Interface>::insertBefore(WDOMNode* newChild, WDOMNode* refChild) {
    if (!refChild) return appendChild(newChild);
    DocElement* child = NodeOf(newChild);
    DocElement* reference = NodeOf(refChild);
    if (!tree_ || !child || !reference || newChild->GetTree() != tree_ || refChild->GetTree() != tree_ ||
        !IsMovable(*newChild)) {
        return nullptr;
    }
    // A node put before itself stays where it is.
    if (child == reference) return newChild;
    if (reference->IsWithin(child)) return nullptr;
    if (!child->IsFree()) detail::TakeOut(*tree_, child);
    reference->InsertBefore(child);
    return newChild;
}

template <class Interface>
WDOMNode* WDOMNodeImp<Interface>::replaceChild(WDOMNode* newChild, WDOMNode* oldChild) {
    DocElement* child = NodeOf(newChild);
    DocElement* old = NodeOf(oldChild);
    if (!tree_ || !child || !old || newChild->GetTree() != tree_ || oldChild->GetTree() != tree_ ||
        !IsMovable(*newChild) || oldChild->nodeType() == kDOMAttributeNode) {
        return nullptr;
    }
    // A node put in its own place stays there.
    if (child == old) return oldChild;
    if (old->IsWithin(child)) return nullptr;
    if (!child->IsFree()) detail::TakeOut(*tree_, child);
    old->InsertBefore(child);
    detail::TakeOut(*tree_, old);
    return oldChild;
}

template <class Interface>
WDOMNode* WDOMNodeImp<Interface>::removeChild(WDOMNode* oldChild) {
    DocElement* old = NodeOf(oldChild);
    if (!tree_ || !old || oldChild->GetTree() != tree_ || oldChild->nodeType() == kDOMAttributeNode) {
        return nullptr;
    }
    detail::TakeOut(*tree_, old);
    return oldChild;
}

template <class Interface>
bool WDOMNodeImp<Interface>::hasChildNodes() const {
    return node_ && node_->FirstChild();
}

template <class Interface>
WDOMNode* WDOMNodeImp<Interface>::cloneNode(bool) const {
    if (!node_ || !tree_) return nullptr;
    DocElement* copy = node_->Clone();
    tree_->KeepOutside(copy);
    return WDOMBuilder::CreateNode(tree_, copy);
}

template <class Interface>
WDOMNode* WDOMNodeImp<Interface>::parentNode() const {
    return node_ ? WDOMBuilder::CreateNode(tree_, AsElement(node_->Parent())) : nullptr;
}

template <class Interface>
WDOMNodeList* WDOMNodeImp<Interface>::childNodes() const {
    auto* list = detail::MakeFacade<WDOMNodeList_WepImp>();
    WDOMNodeListHandle hold(list);  // frees the list should a child's facade raise
    if (!list || !node_) return hold.HandOut();
    for (Node* child = node_->FirstChild(); child; child = child->NextSibling()) {
        list->Add(WDOMBuilder::CreateNode(tree_, AsElement(child)));
    }
    return hold.HandOut();
}

template <class Interface>
WDOMNode* WDOMNodeImp<Interface>::firstChild() const {
    Node* child = node_ ? node_->FirstChild() : nullptr;
    return WDOMBuilder::CreateNode(tree_, AsElement(PassingOver(child, true)));
}

template <class Interface>
WDOMNode* WDOMNodeImp<Interface>::lastChild() const {
    Node* child = node_ ? node_->LastChild() : nullptr;
    return WDOMBuilder::CreateNode(tree_, AsElement(PassingOver(child, false)));
}

template <class Interface>
WDOMNode* WDOMNodeImp<Interface>::previousSibling() const {
    Node* sibling = node_ ? node_->PreviousSibling() : nullptr;
    return WDOMBuilder::CreateNode(tree_, AsElement(PassingOver(sibling, false)));
}

template <class Interface>
WDOMNode* WDOMNodeImp<Interface>::nextSibling() const {
    Node* sibling = node_ ? node_->NextSibling() : nullptr;
    return WDOMBuilder::CreateNode(tree_, AsElement(PassingOver(sibling, true)));
}

template <class Interface>
WDOMDocument* WDOMNodeImp<Interface>::ownerDocument() const {
    WDOMHandle ancestor(parentNode());
    while (!ancestor.IsNull()) {
        if (auto* document = dynamic_cast<WDOMDocument*>(ancestor.Get())) {
            ancestor.HandOut();
            return document;
        }
        ancestor = WDOMHandle(ancestor->parentNode());
    }
    return nullptr;
}

template class WDOMNodeImp<WDOMDocument>;
template class WDOMNodeImp<WDOMElement>;
template class WDOMNodeImp<WDOMAttr>;
template class WDOMNodeImp<WDOMText>;
template class WDOMNodeImp<WDOMComment>;
template class WDOMNodeImp<WDOMCDATASection>;
template class WDOMNodeImp<WDOMDocumentType>;
template class WDOMNodeImp<WDOMDocumentFragment>;
template class WDOMNodeImp<WDOMEntity>;
template class WDOMNodeImp<WDOMEntityReference>;
template class WDOMNodeImp<WDOMProcessingInstruction>;

}  // namespace markup
