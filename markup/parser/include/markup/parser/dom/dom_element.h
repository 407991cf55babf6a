// The element facade, the attribute facade and the attribute map.
//
// An element's attributes come from its tree node's attribute list; what
// the attribute operations change stays in the facade's own map, so two
// facades over one element never share attribute state, and the tree's
// attribute lists never change.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "markup/parser/dom/dom_counted.h"
#include "markup/parser/dom/dom_handle.h"
#include "markup/parser/dom/dom_interfaces.h"
#include "markup/parser/dom/dom_node_imp.h"

namespace markup {

// Holds a reference on each node it holds.
class WDOMNamedNodeMap_WepImp : public WDOMCounted<WDOMNamedNodeMap> {
  public:
    WDOMNode* getNamedItem(const IDOMString& name) const override;
    WDOMNode* setNamedItem(WDOMNode* node) override;
    WDOMNode* removeNamedItem(const IDOMString& name) override;
    WDOMNode* item(std::uint32_t index) const override {
        return index < nodes_.size() ? nodes_[index].Get() : nullptr;
    }
    std::uint32_t length() const override { return static_cast<std::uint32_t>(nodes_.size()); }

    // Enters the node at the end unless its name is held already; false
    // (and the node not taken) when it is.
    bool AddNew(WDOMNode* node);

  private:
    std::vector<WDOMHandle> nodes_;
    std::unordered_map<std::string, WDOMNode*> byName_;
};

class WDOMAttr_WepImp : public WDOMNodeImp<WDOMAttr> {
  public:
    // An attribute of an element wraps its owner's tree node; one made by
    // the document wraps a node of its own (ownNode), whose children hold
    // its value.
    WDOMAttr_WepImp(DocTree* tree, DocElement* node, const IDOMString& name, const IDOMString& value,
                    bool specified, bool ownNode);

    IDOMString nodeName() const override { return name_; }
    IDOMString nodeValue() const override { return value_; }
    void setNodeValue(const IDOMString& value) override { setValue(value); }
    std::uint16_t nodeType() const override { return kDOMAttributeNode; }
    // An attribute with the same name, value and flag over the same owner
    // (an own node is copied).
    WDOMNode* cloneNode(bool deep) const override;

    IDOMString name() const override { return name_; }
    bool specified() const override { return specified_ != 0; }
    void setSpecified(bool specified) override { specified_ = specified ? 1 : 0; }
    IDOMString value() const override { return value_; }
    // Stores the value and clears the specified flag; an own node's
    // children become one text node holding the value.
    void setValue(const IDOMString& value) override;

  private:
    IDOMString name_;
    IDOMString value_;
    std::uint8_t specified_;
    bool ownNode_;
};

class WDOMElement_WepImp : public WDOMNodeImp<WDOMElement> {
  public:
    WDOMElement_WepImp(DocTree* tree, DocElement* node, const IDOMString& tagName);

    IDOMString nodeName() const override { return tagName_; }
    std::uint16_t nodeType() const override { return kDOMElementNode; }
    // A new map built from the tree node's attributes, on every call.
    WDOMNamedNodeMap* attributes() const override;

    IDOMString getAttribute(const IDOMString& name) const override;
    void setAttribute(const IDOMString& name, const IDOMString& value) override;
    WDOMNode* removeAttribute(const IDOMString& name) override;
    WDOMAttr* getAttributeNode(const IDOMString& name) const override;
    WDOMAttr* setAttributeNode(WDOMAttr* attribute) override;
    WDOMAttr* removeAttributeNode(WDOMAttr* attribute) override;
    WDOMNodeList* getElementsByTagName(const IDOMString& name) const override;
    void normalize() override;
    IDOMString tagName() const override { return tagName_; }

  private:
    // The facade's own map, built from the tree when first asked for.
    WDOMNamedNodeMap_WepImp& OwnMap() const;

    IDOMString tagName_;
    mutable WDOMNamedNodeMapHandle ownMap_;
};

}  // namespace markup
