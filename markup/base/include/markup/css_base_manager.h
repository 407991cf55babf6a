// CSSBaseManager: what the markup engine asks of the style-sheet manager.
//
// A document tree made for a parse is attached to the manager; the parser's
// post-processing hands it the text of "style" elements and linked sheets;
// the style engine runs its cascade through it. The CSS engine implements
// the interface, so the base library and the parser never see a style sheet.
#pragma once

#include <cstdint>

#include "markup/extra_object.h"
#include "markup/node.h"
#include "markup/string.h"

namespace markup {

class DocTree;

class CSSBaseManager {
  public:
    virtual ~CSSBaseManager();

    // The tree being built for the manager's parse (DocTree calls it when
    // it is made; null detaches). The manager does not own the tree and
    // must not use it after the tree is gone.
    virtual void SetDocument(DocTree* document) = 0;
    // The "style" element that has just started, in its document.
    virtual void SetContext(Node* styleElement, DocTree* document) = 0;
    // Adds the text runs below the current style element, one style text
    // per run (comments and declarations skipped). InvalidArgumentFault for
    // a run that is not a DocElement.
    virtual void CollectStyleElements() = 0;
    // Appends one style text to the sheet; origin tells its source (0 for
    // the document's own style elements).
    virtual void AddStyleText(const String& text, std::uint8_t origin) = 0;
    // Applies the sheet's matching declarations, then the node's "style"
    // attribute, to the node's computed-style record (an object of the style
    // engine's own kind).
    virtual void ApplyCascade(Node* node, ExtraObject* style) = 0;
};

}  // namespace markup
