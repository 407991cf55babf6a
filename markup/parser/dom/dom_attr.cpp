// The attribute facade: its value, its flag and, for an attribute with a
// node of its own, the text node that holds the value.
#include "dom_detail.h"
#include "markup/parser/dom/dom_builder.h"
#include "markup/parser/dom/dom_element.h"

namespace markup {

WDOMAttr_WepImp::WDOMAttr_WepImp(DocTree* tree, DocElement* node, const IDOMString& name,
                                 const IDOMString& value, bool specified, bool ownNode)
    : WDOMNodeImp<WDOMAttr>(tree, node), name_(name), value_(value), specified_(specified ? 1 : 0),
      ownNode_(ownNode) {}

WDOMNode* WDOMAttr_WepImp::cloneNode(bool) const {
    DocElement* node = GetNode();
    DocTree* tree = GetTree();
    if (ownNode_ && node && tree) {
        node = node->Clone();
        tree->KeepOutside(node);
    }
    return detail::MakeFacade<WDOMAttr_WepImp>(tree, node, name_, value_, specified_ != 0, ownNode_);
}

void WDOMAttr_WepImp::setValue(const IDOMString& value) {
    value_ = value;
    specified_ = 0;
    DocElement* node = GetNode();
    DocTree* tree = GetTree();
    if (!ownNode_ || !node || !tree) return;
    DocElement* text = detail::NewTreeNode(*tree, kKindText, IDOMString("#text"));
    if (!text) return;
    text->SetText(tree->Dictionary(), detail::ToMarkup(value));
    // The old children stay alive outside the tree: facades may wrap them.
    while (Node* child = node->FirstChild()) detail::TakeOut(*tree, child);
    node->AppendChild(text);
}

}  // namespace markup
