// WDOMBuilder: the one place where a document-tree node becomes a DOM
// facade, and the name of a dictionary.
#pragma once

#include "markup/doc_element.h"
#include "markup/doc_tree.h"
#include "markup/parser/dictionary.h"
#include "markup/parser/dom/dom_interfaces.h"
#include "markup/string.h"

namespace markup {

class WDOMBuilder {
  public:
    // A new facade (count 0) whose kind follows the node's type id: 87 and
    // 165 a document type (a name beginning "<!DOCTYPE") or a comment; 160
    // and 167 a text standing for the run of text from the node on; any
    // other id a processing instruction (a name beginning "?") or an
    // element. Null for a null node or tree, and when memory for the facade
    // cannot be had. A node whose id has no name raises InvalidArgumentFault
    // (DocElement::GetName).
    static WDOMNode* CreateNode(DocTree* tree, DocElement* node);
    // The dictionary's name; empty for a null dictionary.
    static String NameOf(const Dictionary* dictionary);
};

}  // namespace markup
