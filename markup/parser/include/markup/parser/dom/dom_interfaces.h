// The DOM's interfaces: the node and its kinds, the attribute map, the node
// list and the implementation object.
//
// Node results are raw pointers. A node made by the call (navigation,
// factories, copies) has a reference count of 0 and belongs to the caller,
// who takes it into a WDOMHandle; so does a node a map hands back when it
// lets it go. A node the call hands back that someone already holds (an
// argument, an item of a map or list) needs a handle only to be kept. A
// handle deletes its node when the count it drops reaches 0; AddRef and
// Release only count.
#pragma once

#include <cstdint>
#include <memory>

#include "markup/parser/dom/dom_string.h"

namespace markup {

class DocElement;
class DocTree;
class WDOMDocument;
class WDOMNamedNodeMap;
class WDOMNodeList;

// nodeType codes.
enum WDOMNodeType : std::uint16_t {
    kDOMElementNode = 1,
    kDOMAttributeNode = 2,
    kDOMTextNode = 3,
    kDOMCDATASectionNode = 4,
    kDOMEntityReferenceNode = 5,
    kDOMEntityNode = 6,
    kDOMProcessingInstructionNode = 7,
    kDOMCommentNode = 8,
    kDOMDocumentNode = 9,
    kDOMDocumentTypeNode = 10,
    kDOMDocumentFragmentNode = 11,
};

class WDOMNode {
  public:
    virtual ~WDOMNode();

    // The four changes link and unlink the wrapped tree nodes. A new child
    // that still stands somewhere is taken out of its place first; a new
    // child that would come to stand below itself, an attribute and a
    // document are refused (null). None of them asks the reference or old
    // child to be a child of this node.
    virtual WDOMNode* insertBefore(WDOMNode* newChild, WDOMNode* refChild) = 0;
    virtual WDOMNode* replaceChild(WDOMNode* newChild, WDOMNode* oldChild) = 0;
    virtual WDOMNode* removeChild(WDOMNode* oldChild) = 0;
    virtual WDOMNode* appendChild(WDOMNode* newChild) = 0;
    virtual bool hasChildNodes() const = 0;
    // A copy of the wrapped node alone (deep is not read), outside the tree.
    [[nodiscard]] virtual WDOMNode* cloneNode(bool deep) const = 0;
    virtual IDOMString nodeName() const = 0;
    virtual IDOMString nodeValue() const = 0;
    virtual void setNodeValue(const IDOMString& value) = 0;
    virtual std::uint16_t nodeType() const = 0;
    // Navigation makes a new facade each time. The child and sibling steps
    // pass over one wrapper or whitespace node (type ids 159, 163).
    [[nodiscard]] virtual WDOMNode* parentNode() const = 0;
    [[nodiscard]] virtual WDOMNodeList* childNodes() const = 0;
    [[nodiscard]] virtual WDOMNode* firstChild() const = 0;
    [[nodiscard]] virtual WDOMNode* lastChild() const = 0;
    [[nodiscard]] virtual WDOMNode* previousSibling() const = 0;
    [[nodiscard]] virtual WDOMNode* nextSibling() const = 0;
    // Null except for elements.
    [[nodiscard]] virtual WDOMNamedNodeMap* attributes() const = 0;
    // The first ancestor facade of type 9; navigation never makes one, so
    // this is null for every node of a parsed tree.
    [[nodiscard]] virtual WDOMDocument* ownerDocument() const = 0;
    virtual std::uint32_t AddRef() = 0;
    virtual std::uint32_t Release() = 0;
    virtual std::uint32_t GetRefCount() const = 0;

    // The wrapped tree node and its tree.
    virtual DocElement* GetNode() const = 0;
    virtual DocTree* GetTree() const = 0;
};

class WDOMNodeList {
  public:
    virtual ~WDOMNodeList();
    virtual std::uint32_t length() const = 0;
    // Null past the end.
    virtual WDOMNode* item(std::uint32_t index) const = 0;
    virtual std::uint32_t AddRef() = 0;
    virtual std::uint32_t Release() = 0;
    virtual std::uint32_t GetRefCount() const = 0;
};

// Nodes by name (exact text) in the order they were entered; a name is held
// once.
class WDOMNamedNodeMap {
  public:
    virtual ~WDOMNamedNodeMap();
    virtual WDOMNode* getNamedItem(const IDOMString& name) const = 0;
    // Enters the node under its nodeName at the end and hands back the node
    // that held the name before (null when none).
    [[nodiscard]] virtual WDOMNode* setNamedItem(WDOMNode* node) = 0;
    // The node of that name, which the map lets go; null when absent.
    [[nodiscard]] virtual WDOMNode* removeNamedItem(const IDOMString& name) = 0;
    // Null past the end.
    virtual WDOMNode* item(std::uint32_t index) const = 0;
    virtual std::uint32_t length() const = 0;
    virtual std::uint32_t AddRef() = 0;
    virtual std::uint32_t Release() = 0;
    virtual std::uint32_t GetRefCount() const = 0;
};

class WDOMImplementation {
  public:
    virtual ~WDOMImplementation();
    virtual bool hasFeature(const IDOMString& feature, const IDOMString& version) const = 0;
};

class WDOMAttr : public WDOMNode {
  public:
    virtual IDOMString name() const = 0;
    virtual bool specified() const = 0;
    virtual void setSpecified(bool specified) = 0;
    virtual IDOMString value() const = 0;
    virtual void setValue(const IDOMString& value) = 0;
};

class WDOMCharacterData : public WDOMNode {
  public:
    // Offsets and counts past the end of the data stop at its end.
    virtual IDOMString substringData(std::uint32_t offset, std::uint32_t count) const = 0;
    virtual void appendData(const IDOMString& text) = 0;
    virtual void insertData(std::uint32_t offset, const IDOMString& text) = 0;
    virtual void deleteData(std::uint32_t offset, std::uint32_t count) = 0;
    virtual void replaceData(std::uint32_t offset, std::uint32_t count, const IDOMString& text) = 0;
    virtual IDOMString data() const = 0;
    virtual void setData(const IDOMString& text) = 0;
    virtual std::uint32_t length() const = 0;
};

class WDOMText : public WDOMCharacterData {
  public:
    // Keeps the first offset characters and links a new text node with the
    // rest after the wrapped node; its facade, or null when no node could
    // be made.
    [[nodiscard]] virtual WDOMText* splitText(std::uint32_t offset) = 0;
};

class WDOMComment : public WDOMCharacterData {};

class WDOMCDATASection : public WDOMText {};

class WDOMDocumentType : public WDOMNode {
  public:
    virtual IDOMString name() const = 0;
    [[nodiscard]] virtual WDOMNamedNodeMap* entities() const = 0;
    [[nodiscard]] virtual WDOMNamedNodeMap* notations() const = 0;
};

class WDOMDocumentFragment : public WDOMNode {};

class WDOMEntity : public WDOMNode {
  public:
    virtual IDOMString publicId() const = 0;
    virtual IDOMString systemId() const = 0;
    virtual IDOMString notationName() const = 0;
};

class WDOMEntityReference : public WDOMNode {};

class WDOMProcessingInstruction : public WDOMNode {
  public:
    virtual IDOMString target() const = 0;
    virtual IDOMString data() const = 0;
    virtual void setData(const IDOMString& data) = 0;
};

class WDOMElement : public WDOMNode {
  public:
    // The attribute operations work on the facade's own map: what they
    // change stays in this facade and never reaches the tree.
    virtual IDOMString getAttribute(const IDOMString& name) const = 0;
    virtual void setAttribute(const IDOMString& name, const IDOMString& value) = 0;
    [[nodiscard]] virtual WDOMNode* removeAttribute(const IDOMString& name) = 0;
    virtual WDOMAttr* getAttributeNode(const IDOMString& name) const = 0;
    [[nodiscard]] virtual WDOMAttr* setAttributeNode(WDOMAttr* attribute) = 0;
    [[nodiscard]] virtual WDOMAttr* removeAttributeNode(WDOMAttr* attribute) = 0;
    // Copies of the elements of that name (exact text) from this element
    // down, in document order.
    [[nodiscard]] virtual WDOMNodeList* getElementsByTagName(const IDOMString& name) const = 0;
    // Joins each run of text children (type id 160) into its first node.
    virtual void normalize() = 0;
    virtual IDOMString tagName() const = 0;
};

class WDOMDocument : public WDOMNode {
  public:
    // The factories make a free tree node, which the tree keeps, and a
    // facade over it; null when either cannot be made.
    [[nodiscard]] virtual WDOMElement* createElement(const IDOMString& tagName) = 0;
    [[nodiscard]] virtual WDOMDocumentFragment* createDocumentFragment() = 0;
    [[nodiscard]] virtual WDOMText* createTextNode(const IDOMString& data) = 0;
    [[nodiscard]] virtual WDOMComment* createComment(const IDOMString& data) = 0;
    [[nodiscard]] virtual WDOMCDATASection* createCDATASection(const IDOMString& data) = 0;
    [[nodiscard]] virtual WDOMProcessingInstruction* createProcessingInstruction(const IDOMString& target,
                                                                                const IDOMString& data) = 0;
    [[nodiscard]] virtual WDOMAttr* createAttribute(const IDOMString& name) = 0;
    [[nodiscard]] virtual WDOMEntityReference* createEntityReference(const IDOMString& name) = 0;
    [[nodiscard]] virtual WDOMNodeList* getElementsByTagName(const IDOMString& name) const = 0;
    // A new document type named after the tree's dictionary, over a new
    // free node, on every call.
    [[nodiscard]] virtual WDOMDocumentType* doctype() = 0;
    // The first child of the tree's root whose facade is an element.
    [[nodiscard]] virtual WDOMElement* documentElement() = 0;
    virtual std::unique_ptr<WDOMImplementation> implementation() const = 0;
};

}  // namespace markup
