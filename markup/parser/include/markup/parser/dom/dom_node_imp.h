// WDOMNodeImp: what every node facade shares: the reference count, the
// wrapped tree node and its tree, navigation, copies and the four changes.
//
// A facade over a tree that a std::shared_ptr owns (every tree a parsed
// document hands out) keeps the tree alive; over any other tree the tree's
// owner must outlive the facades.
#pragma once

#include <cstdint>
#include <memory>

#include "markup/doc_element.h"
#include "markup/doc_tree.h"
#include "markup/parser/dom/dom_counted.h"
#include "markup/parser/dom/dom_interfaces.h"

namespace markup {

template <class Interface>
class WDOMNodeImp : public WDOMCounted<Interface> {
  public:
    WDOMNode* insertBefore(WDOMNode* newChild, WDOMNode* refChild) override;
    WDOMNode* replaceChild(WDOMNode* newChild, WDOMNode* oldChild) override;
    WDOMNode* removeChild(WDOMNode* oldChild) override;
    WDOMNode* appendChild(WDOMNode* newChild) override;
    bool hasChildNodes() const override;
    WDOMNode* cloneNode(bool deep) const override;
    IDOMString nodeValue() const override { return IDOMString(""); }
    void setNodeValue(const IDOMString&) override {}
    WDOMNode* parentNode() const override;
    WDOMNodeList* childNodes() const override;
    WDOMNode* firstChild() const override;
    WDOMNode* lastChild() const override;
    WDOMNode* previousSibling() const override;
    WDOMNode* nextSibling() const override;
    WDOMNamedNodeMap* attributes() const override { return nullptr; }
    WDOMDocument* ownerDocument() const override;
    DocElement* GetNode() const override { return node_; }
    DocTree* GetTree() const override { return tree_; }

  protected:
    WDOMNodeImp(DocTree* tree, DocElement* node);

  private:
    DocElement* node_;
    DocTree* tree_;
    std::shared_ptr<DocTree> keepTree_;
};

extern template class WDOMNodeImp<WDOMDocument>;
extern template class WDOMNodeImp<WDOMElement>;
extern template class WDOMNodeImp<WDOMAttr>;
extern template class WDOMNodeImp<WDOMText>;
extern template class WDOMNodeImp<WDOMComment>;
extern template class WDOMNodeImp<WDOMCDATASection>;
extern template class WDOMNodeImp<WDOMDocumentType>;
extern template class WDOMNodeImp<WDOMDocumentFragment>;
extern template class WDOMNodeImp<WDOMEntity>;
extern template class WDOMNodeImp<WDOMEntityReference>;
extern template class WDOMNodeImp<WDOMProcessingInstruction>;

}  // namespace markup
