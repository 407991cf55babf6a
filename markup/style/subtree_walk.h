// Document order inside one subtree, without recursion and without asking
// each node how deep it lies.
#pragma once

#include "markup/node.h"

namespace markup::style::detail {

// The node after `at` in document order that still lies below `top`
// (`at` itself being `top` or below it); null past the subtree's end.
inline Node* NextInSubtree(const Node* at, const Node* top) {
    if (Node* child = at->FirstChild()) return child;
    while (at != top && !at->NextSibling()) at = at->Parent();
    return at == top ? nullptr : at->NextSibling();
}

}  // namespace markup::style::detail
