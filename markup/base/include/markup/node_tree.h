// NodeTree: owns a tree of nodes and keeps a cursor in it.
//
// The tree builder grows a document by inserting at the cursor; editing
// operations detach, delete or unwrap the node under it. The root is found
// from an anchor node by climbing parents, so a tree stays whole whichever of
// its nodes the anchor is. Nodes handed to the tree must be free (no parent,
// no siblings); once linked, the tree owns them.
#pragma once

#include <cstdint>

#include "markup/containers.h"
#include "markup/node.h"

namespace markup {

class NodeIterator;

class NodeTree {
  public:
    // An index that appends wherever an insert position is asked for.
    static constexpr std::uint32_t kAppend = 0xFFFFFFFFu;

    NodeTree() = default;
    // Deletes every node: the root and, should the top level hold more
    // than one node, its siblings too.
    virtual ~NodeTree();
    NodeTree(const NodeTree&) = delete;
    NodeTree& operator=(const NodeTree&) = delete;

    // Null for an empty tree.
    Node* Root() const;
    // True for an empty tree; otherwise whether the node lies in the tree.
    bool Contains(const Node* node) const;

    // Moves the cursor to a node of the tree (any node when the tree is
    // empty). A node outside the tree moves the cursor to the root when the
    // old cursor is no longer in the tree, and changes nothing otherwise.
    void SetCurrent(Node* node);
    // The cursor, re-validated through SetCurrent.
    Node* Current();
    Node* GoRoot();
    // The cursor moves when there is such a node; null leaves it unchanged.
    Node* GoParent();
    Node* GoPreviousSibling();

    // The insertions raise InvalidArgumentFault for a null node, a node
    // that is not free, and a node that holds the cursor (which would make
    // a cycle). In an empty tree the node becomes the root. The node
    // becomes current.
    void InsertSibling(Node* node, bool after);
    void AppendChild(Node* node);
    // Among the cursor's children so that it follows child index - 1; an
    // index past the end (kAppend included) appends.
    void InsertChild(Node* node, std::uint32_t index);
    // Walks from the root along all but the last index (Node::ChildAt at
    // each step), then InsertChild with the last. InvalidArgumentFault for
    // an empty path and for a step from a node without children.
    void InsertAtPath(Node* node, const Vector<std::uint32_t>& path);
    // The child index of each node from the root's child down to `node`.
    void CollectPath(const Node* node, Vector<std::uint32_t>& path) const;

    // Moves the children of the cursor's next sibling to the end of the
    // cursor's children and deletes the sibling. InvalidArgumentFault
    // without a cursor.
    void MergeNextSibling();
    // Unwraps the cursor node: its children take its place and it alone is
    // deleted. The cursor goes to its first child, else its next sibling,
    // else its previous sibling, else its parent.
    void RemoveCurrent();
    // Takes the cursor's subtree out and hands it to the caller; the cursor
    // goes to the next sibling, else the previous sibling, else the parent.
    // A lone root hands out the whole tree (TakeRoot).
    Node* DetachCurrent();
    void DeleteCurrent();
    // Hands out the root and empties the tree without deleting anything.
    Node* TakeRoot();

  private:
    friend class NodeIterator;

    // InvalidArgumentFault for a node that cannot be linked at `target`.
    static void CheckInsertable(const Node* node, const Node* target);
    static void LinkChild(Node* parent, Node* node, std::uint32_t index);
    // Makes `node` the cursor and anchor after an edit (null empties).
    void Place(Node* node);

    Node* anchor_ = nullptr;
    Node* current_ = nullptr;
};

}  // namespace markup
