// The small node kinds: document type, entity, entity reference,
// processing instruction and document fragment.
#pragma once

#include <cstdint>

#include "markup/parser/dom/dom_interfaces.h"
#include "markup/parser/dom/dom_node_imp.h"

namespace markup {

class WDOMDocumentType_WepImp : public WDOMNodeImp<WDOMDocumentType> {
  public:
    WDOMDocumentType_WepImp(DocTree* tree, DocElement* node, const IDOMString& name);

    IDOMString nodeName() const override { return name_; }
    std::uint16_t nodeType() const override { return kDOMDocumentTypeNode; }

    IDOMString name() const override { return name_; }
    // A new map of the entities of the tree's dictionary, in table order,
    // each over a new free node.
    WDOMNamedNodeMap* entities() const override;
    // A new empty map.
    WDOMNamedNodeMap* notations() const override;

  private:
    IDOMString name_;
};

class WDOMEntity_WepImp : public WDOMNodeImp<WDOMEntity> {
  public:
    WDOMEntity_WepImp(DocTree* tree, DocElement* node, const IDOMString& name, const IDOMString& publicId,
                      const IDOMString& systemId, const IDOMString& notationName);

    IDOMString nodeName() const override { return name_; }
    std::uint16_t nodeType() const override { return kDOMEntityNode; }

    IDOMString publicId() const override { return publicId_; }
    IDOMString systemId() const override { return systemId_; }
    IDOMString notationName() const override { return notationName_; }

  private:
    IDOMString name_;
    IDOMString publicId_;
    IDOMString systemId_;
    IDOMString notationName_;
};

class WDOMEntityReference_WepImp : public WDOMNodeImp<WDOMEntityReference> {
  public:
    WDOMEntityReference_WepImp(DocTree* tree, DocElement* node, const IDOMString& name);

    IDOMString nodeName() const override { return name_; }
    std::uint16_t nodeType() const override { return kDOMEntityReferenceNode; }

  private:
    IDOMString name_;
};

// Its data changes in the facade only.
class WDOMProcessingInstruction_WepImp : public WDOMNodeImp<WDOMProcessingInstruction> {
  public:
    WDOMProcessingInstruction_WepImp(DocTree* tree, DocElement* node, const IDOMString& target,
                                     const IDOMString& data);

    IDOMString nodeName() const override { return target_; }
    IDOMString nodeValue() const override { return data_; }
    void setNodeValue(const IDOMString& value) override { data_ = value; }
    std::uint16_t nodeType() const override { return kDOMProcessingInstructionNode; }

    IDOMString target() const override { return target_; }
    IDOMString data() const override { return data_; }
    void setData(const IDOMString& data) override { data_ = data; }

  private:
    IDOMString target_;
    IDOMString data_;
};

class WDOMDocumentFragment_WepImp : public WDOMNodeImp<WDOMDocumentFragment> {
  public:
    WDOMDocumentFragment_WepImp(DocTree* tree, DocElement* node);

    IDOMString nodeName() const override { return IDOMString("#document-fragment"); }
    std::uint16_t nodeType() const override { return kDOMDocumentFragmentNode; }
};

}  // namespace markup
