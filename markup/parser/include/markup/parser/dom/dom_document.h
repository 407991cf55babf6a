// The document facade, the node list and the implementation object.
//
// WDOMDocument_WepImp is the entry into a parsed document. The parser hands
// its tree out through Adopt: the document and every facade made from it
// then share the tree, which dies (and with it every node the DOM made for
// it) when the last of them is gone.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "markup/doc_tree.h"
#include "markup/parser/dom/dom_counted.h"
#include "markup/parser/dom/dom_handle.h"
#include "markup/parser/dom/dom_interfaces.h"
#include "markup/parser/dom/dom_node_imp.h"

namespace markup {

class WDOMDocument_WepImp : public WDOMNodeImp<WDOMDocument> {
  public:
    // A document over a tree the caller keeps alive, or one that a
    // std::shared_ptr owns; root is the tree's root node (null for an
    // empty tree).
    WDOMDocument_WepImp(DocTree* tree, DocElement* root);

    // The parsed document over a tree that nothing else owns. The factory
    // the tree makes its nodes with, when given, lives as long as the tree
    // and dies after it. The tree's root becomes its current node. Null
    // for a null tree.
    static WDOMHandle Adopt(std::unique_ptr<DocTree> tree, std::unique_ptr<WebElementFactory> factory);

    IDOMString nodeName() const override { return IDOMString("#document"); }
    std::uint16_t nodeType() const override { return kDOMDocumentNode; }

    WDOMElement* createElement(const IDOMString& tagName) override;
    WDOMDocumentFragment* createDocumentFragment() override;
    WDOMText* createTextNode(const IDOMString& data) override;
    WDOMComment* createComment(const IDOMString& data) override;
    WDOMCDATASection* createCDATASection(const IDOMString& data) override;
    WDOMProcessingInstruction* createProcessingInstruction(const IDOMString& target,
                                                           const IDOMString& data) override;
    WDOMAttr* createAttribute(const IDOMString& name) override;
    WDOMEntityReference* createEntityReference(const IDOMString& name) override;
    WDOMNodeList* getElementsByTagName(const IDOMString& name) const override;
    WDOMDocumentType* doctype() override;
    WDOMElement* documentElement() override;
    std::unique_ptr<WDOMImplementation> implementation() const override;
};

// Holds a reference on each node it lists.
class WDOMNodeList_WepImp : public WDOMCounted<WDOMNodeList> {
  public:
    std::uint32_t length() const override { return static_cast<std::uint32_t>(nodes_.size()); }
    WDOMNode* item(std::uint32_t index) const override {
        return index < nodes_.size() ? nodes_[index].Get() : nullptr;
    }

    // Appends the node and takes a reference on it; null adds nothing.
    void Add(WDOMNode* node);

  private:
    std::vector<WDOMHandle> nodes_;
};

class WDOMImplementation_WepImp : public WDOMImplementation {
  public:
    // Level 1 XML only: "XML" with "1.0", exactly.
    bool hasFeature(const IDOMString& feature, const IDOMString& version) const override;
};

}  // namespace markup
