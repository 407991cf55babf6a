// What the DOM's source files share: string conversions, facade
// allocation, the making and taking out of tree nodes, and the search by
// tag name.
#pragma once

#include <cstdint>
#include <new>
#include <string_view>
#include <utility>

#include "markup/doc_element.h"
#include "markup/doc_tree.h"
#include "markup/faults.h"
#include "markup/parser/dictionary.h"
#include "markup/parser/dom/dom_interfaces.h"
#include "markup/parser/dom/dom_string.h"
#include "markup/string.h"

namespace markup {

class WDOMNodeList_WepImp;

namespace detail {

inline IDOMString ToDOM(const String& text) {
    return IDOMString(std::string_view(text.Text(), text.Length()));
}

inline String ToMarkup(const IDOMString& text) {
    String out;
    if (text.Length()) out.Append(text.Narrow(), text.Length());
    return out;
}

// A new facade, or null when memory for it (or for what its constructor
// copies) cannot be had.
template <class T, class... Args>
T* MakeFacade(Args&&... args) {
    try {
        return new (std::nothrow) T(std::forward<Args>(args)...);
    } catch (const std::bad_alloc&) {
        return nullptr;
    } catch (const BadAllocationFault&) {
        return nullptr;
    }
}

// The tree's dictionary when it is a parser dictionary; null otherwise.
inline const Dictionary* DictionaryOf(const DocTree* tree) {
    return tree ? dynamic_cast<const Dictionary*>(tree->Dictionary()) : nullptr;
}

// A free node of the tree, made by its factory with keepFlags 1 and kept by
// the tree; null when the factory makes none.
DocElement* NewTreeNode(DocTree& tree, std::uint32_t typeId, const IDOMString& name);

// Takes the node out of its place. The tree keeps whatever may now head a
// group of nodes outside it: the node, its old neighbours when it had no
// parent, and the tree's old root (should the tree's anchor have gone with
// the node).
void TakeOut(DocTree& tree, Node* node);

// The wrapper and whitespace nodes that the child and sibling steps pass.
inline bool IsPassedOver(const Node* node) {
    const auto* element = DocElement::Of(node);
    return element && (element->TypeId() == kKindPlaceholder || element->TypeId() == kKindWhitespace);
}

// Appends copies of the elements of that name from the start node down,
// in document order, walking with firstChild and nextSibling.
void CollectByTagName(const WDOMNode& start, const IDOMString& name, WDOMNodeList_WepImp& list);

}  // namespace detail
}  // namespace markup
