// AttrElement: an element with attributes.
#pragma once

#include <cstdint>
#include <memory>

#include "markup/attribute.h"
#include "markup/containers.h"
#include "markup/doc_element.h"

namespace markup {

// An element's attributes: records it owns, in document order. A plain
// pointer array (no virtual functions): a document holds one per element.
class AttributeList : public PointerArray {
  public:
    AttributeList() = default;
    ~AttributeList();  // deletes the records

    // Null past the count.
    Attribute* At(std::uint32_t index) const { return static_cast<Attribute*>(ItemAt(index)); }
    // Takes the record; a null one is kept as null.
    std::uint32_t Add(Attribute* owned) { return PointerArray::Add(owned); }
    // Removes the last record and frees it; nothing when empty.
    void DeleteLast();
    // Copies of every record of the other list; null stays null.
    void AppendAll(const AttributeList& other);
    // The array cut to the count: a parse makes it once a tag's attributes
    // are all read, so that no slots stand empty behind them.
    void Fit() {
        if (capacity_ > count_) Resize(count_);
    }
};

class AttrElement : public DocElement {
  public:
    AttrElement() = default;
    ~AttrElement() override;

    // A clone carries copies of all attributes.
    AttrElement* Clone() const override;
    AttrElement* ToAttrElement() override { return this; }
    const AttrElement* ToAttrElement() const override { return this; }
    // InvalidArgumentFault unless the other node is an AttrElement of the
    // same type id; then the attributes become copies of the other's.
    void CopyFrom(const DocElement* other) override;
    virtual std::uint32_t AttributeCount() const { return attributes_.Count(); }

    // The element takes the attribute; null adds nothing.
    void AddAttribute(std::unique_ptr<Attribute> attribute);
    // Null past the count.
    Attribute* AttributeAt(std::uint32_t index) const { return attributes_.At(index); }
    AttributeList& Attributes() { return attributes_; }
    const AttributeList& Attributes() const { return attributes_; }

    // The first attribute with that id. A plain id (no element part) matches
    // the low part of packed ids; a packed id must match whole. With
    // requireValue a match that is not specified gives null.
    Attribute* FindAttribute(std::uint32_t id, bool requireValue) const;
    // name=value of every attribute (all but the last with skipLast), with
    // nothing between them.
    String GetAttributeText(const DictionaryBase* dictionary, bool skipLast) const;

  private:
    AttributeList attributes_;
};

// The node as an AttrElement (or a class derived from it); null otherwise.
AttrElement* AsAttrElement(Node* node);
const AttrElement* AsAttrElement(const Node* node);

}  // namespace markup
