// The interfaces' destructors, and the tree-node work the facades share.
#include "markup/parser/dom/dom_interfaces.h"

#include "dom_detail.h"

namespace markup {

WDOMNode::~WDOMNode() = default;
WDOMNodeList::~WDOMNodeList() = default;
WDOMNamedNodeMap::~WDOMNamedNodeMap() = default;
WDOMImplementation::~WDOMImplementation() = default;

namespace detail {

DocElement* NewTreeNode(DocTree& tree, std::uint32_t typeId, const IDOMString& name) {
    DocElement* node = tree.CreateNode(typeId, ToMarkup(name), 1);
    tree.KeepOutside(node);
    return node;
}

void TakeOut(DocTree& tree, Node* node) {
    Node* parent = node->Parent();
    Node* previous = node->PreviousSibling();
    Node* next = node->NextSibling();
    if (parent || previous || next) {
        tree.KeepOutside(tree.Root());
        node->Unlink();
        if (!parent) {
            tree.KeepOutside(previous);
            tree.KeepOutside(next);
        }
    }
    tree.KeepOutside(node);
}

}  // namespace detail
}  // namespace markup
