// Node: the link structure of every tree in the engine (parsed documents and
// panes) and the operations that keep it consistent.
//
// A parent points to its first child; siblings form a doubly linked list
// whose first member's backward link names the last (nodes without a parent
// link plainly), so appending to a wide parent costs no walk and a node no
// field for it: a document holds a node per element and text. The link
// operations trust their arguments (a node to link must be free); NodeTree
// checks before it calls them.
#pragma once

#include <cstdint>

#include "markup/small_blocks.h"

namespace markup {

class Node;
class DocElement;
class AttrElement;

class NodeVisitor {
  public:
    virtual bool Visit(Node& node) = 0;

  protected:
    ~NodeVisitor() = default;
};

// Counts every change of any tree's links or attributes (in any tree), so
// that an index over a tree (ids, say) knows when it must be made again.
std::uint64_t TreeEdits();
void NoteTreeEdit();

class Node {
  public:
    // Trees are made and freed a node at a time, by the ten thousand.
    MARKUP_SMALL_BLOCK_ALLOCATION

    Node() = default;
    // Leaves links and children alone: DeleteSubtree frees a whole subtree.
    virtual ~Node();
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;

    // A free copy of the node without links; a plain Node has none (null).
    virtual Node* Clone() const { return nullptr; }
    virtual bool Accept(NodeVisitor& visitor) { return visitor.Visit(*this); }
    // The node as a DocElement (an AttrElement), or null when it is none.
    // Parsing asks this of every node, often more than once: a virtual call
    // costs a small part of a dynamic_cast.
    virtual DocElement* ToDocElement() { return nullptr; }
    virtual const DocElement* ToDocElement() const { return nullptr; }
    virtual AttrElement* ToAttrElement() { return nullptr; }
    virtual const AttrElement* ToAttrElement() const { return nullptr; }

    Node* Parent() const { return parent_; }
    Node* FirstChild() const { return firstChild_; }
    Node* PreviousSibling() const { return IsFirstChild() ? nullptr : previousSibling_; }
    Node* NextSibling() const { return nextSibling_; }
    // No parent and no siblings (children may hang below it).
    bool IsFree() const { return !parent_ && !previousSibling_ && !nextSibling_; }

    // Links a free node as the last child.
    void AppendChild(Node* child);
    // The same, for a node that already has a child.
    void AppendAfterLastChild(Node* child);
    // Links a free node as the next (previous) sibling of this node.
    void InsertAfter(Node* node);
    void InsertBefore(Node* node);
    // Takes the node with its subtree out of its parent and siblings.
    void Unlink();
    // Puts a free node into this node's place; this node keeps its own links
    // (stale), so the caller unlinks nothing more before freeing it.
    void ReplaceWith(Node* other);
    // Deletes the descendants, children before parents, then the node
    // itself (which must have been made with new). Iterative: any depth.
    void DeleteSubtree();

    std::uint32_t ChildCount() const;
    // The node's index among its siblings.
    std::uint32_t PreviousSiblingCount() const;
    std::uint32_t NextSiblingCount() const;
    // The n-th child from 0; past the end the last child (null when none).
    Node* ChildAt(std::uint32_t n) const;
    Node* LastChild() const;

    // Walks in document order.
    Node* FirstLeaf();
    // The next sibling of the node or of its nearest ancestor that has one.
    Node* NextAfterSubtree() const;
    Node* NextInPreorder() const;
    Node* NextLeaf() const;
    // The node is `node` or lies below it; false for a null `node`.
    bool IsWithin(const Node* node) const;

  private:
    bool IsFirstChild() const { return parent_ && parent_->firstChild_ == this; }

    Node* parent_ = nullptr;
    Node* firstChild_ = nullptr;
    // The previous sibling; for a parent's first child, the last child.
    Node* previousSibling_ = nullptr;
    Node* nextSibling_ = nullptr;
};

// A document holds one per element and text.
static_assert(sizeof(void*) != 8 || sizeof(Node) == 40, "the node record grew");

}  // namespace markup
