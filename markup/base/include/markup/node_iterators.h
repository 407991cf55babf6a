// Node iterators: walks over a tree or part of it in a fixed order.
//
// Every kind starts with First (the start node, position 0) and steps with
// Next; the position counts the steps since First and reads -1 before the
// first step and after the end. The kinds that check their state raise
// InvalidArgumentFault when asked to step from no node or from position -1
// (so also when stepping past the end); the others answer null there.
#pragma once

#include <cstdint>

#include "markup/node.h"
#include "markup/node_tree.h"

namespace markup {

class NodeIterator {
  public:
    // The whole tree in document order, from its root (which also becomes
    // the tree's anchor). InvalidArgumentFault for an empty tree.
    explicit NodeIterator(NodeTree& tree);
    virtual ~NodeIterator();
    NodeIterator(const NodeIterator&) = delete;
    NodeIterator& operator=(const NodeIterator&) = delete;

    virtual Node* First();
    virtual Node* Next();
    virtual bool AtEnd() const { return current_ == nullptr; }

    NodeTree* Tree() const { return tree_; }
    Node* Current() const { return current_; }
    Node* Start() const { return start_; }
    std::int32_t Position() const { return position_; }

  protected:
    NodeIterator(NodeTree* tree, Node* start, Node* current);

    // Answers `node` and counts a step, or ends the walk for null.
    Node* Step(Node* node);
    Node* End();
    // InvalidArgumentFault unless there is a node to step from.
    void CheckCanStep() const;

    NodeTree* tree_;
    Node* current_;
    Node* start_;
    std::int32_t position_ = -1;
};

// The tree in document order up to and including an end node.
class NodeSpan : public NodeIterator {
  public:
    NodeSpan(NodeTree& tree, Node* end) : NodeIterator(tree), end_(end) {}
    Node* Next() override;
    Node* EndNode() const { return end_; }

  private:
    Node* end_;
};

// One subtree in document order. With SkipChildren, the next step passes
// over the children of the current node.
class SubtreeIterator : public NodeIterator {
  public:
    // InvalidArgumentFault for a null root.
    SubtreeIterator(NodeTree* tree, Node* root);
    Node* Next() override;
    void SkipChildren() { skipChildren_ = 1; }

  private:
    std::uint8_t skipChildren_ = 0;
};

// The children of a node, in order.
class ChildrenIterator : public NodeIterator {
  public:
    explicit ChildrenIterator(Node* node);
    Node* Next() override;
};

// The leaves below a node (the node itself when it has no children).
class TerminalsIterator : public NodeIterator {
  public:
    explicit TerminalsIterator(Node* node);
    Node* Next() override;

  private:
    Node* bound_;
};

// From a start node up through its ancestors of one stored type id.
class SpecialAncestorIterator : public NodeIterator {
  public:
    SpecialAncestorIterator(Node* start, std::uint32_t typeId);
    Node* Next() override;

  private:
    std::uint32_t typeId_;
};

}  // namespace markup
