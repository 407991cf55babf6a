// The node iterators' steps.
#include "markup/node_iterators.h"

#include "markup/doc_element.h"
#include "markup/faults.h"

namespace markup {

namespace {

Node* RootOrRaise(NodeTree& tree) {
    Node* root = tree.Root();
    if (!root) throw InvalidArgumentFault();
    return root;
}

}  // namespace

NodeIterator::NodeIterator(NodeTree& tree) : tree_(&tree), current_(nullptr), start_(RootOrRaise(tree)) {
    tree.anchor_ = start_;
}

NodeIterator::NodeIterator(NodeTree* tree, Node* start, Node* current)
    : tree_(tree), current_(current), start_(start) {}

NodeIterator::~NodeIterator() = default;

Node* NodeIterator::First() {
    current_ = start_;
    position_ = 0;
    return start_;
}

Node* NodeIterator::Step(Node* node) {
    if (!node) return End();
    current_ = node;
    ++position_;
    return node;
}

Node* NodeIterator::End() {
    current_ = nullptr;
    position_ = -1;
    return nullptr;
}

void NodeIterator::CheckCanStep() const {
    if (!current_ || position_ < 0) throw InvalidArgumentFault();
}

Node* NodeIterator::Next() {
    if (!current_) return End();
    return Step(current_->NextInPreorder());
}

Node* NodeSpan::Next() {
    if (current_ == end_) return End();
    return NodeIterator::Next();
}

SubtreeIterator::SubtreeIterator(NodeTree* tree, Node* root) : NodeIterator(tree, root, root) {
    if (!root) throw InvalidArgumentFault();
}

Node* SubtreeIterator::Next() {
    CheckCanStep();
    Node* next = nullptr;
    if (current_->IsWithin(start_)) {
        if (skipChildren_) {
            next = current_->NextAfterSubtree();
            skipChildren_ = 0;
        } else {
            next = current_->NextInPreorder();
        }
    }
    if (!next || !next->IsWithin(start_)) return End();
    return Step(next);
}

ChildrenIterator::ChildrenIterator(Node* node)
    : NodeIterator(nullptr, node ? node->FirstChild() : nullptr, nullptr) {}

Node* ChildrenIterator::Next() {
    CheckCanStep();
    return Step(current_->NextSibling());
}

TerminalsIterator::TerminalsIterator(Node* node)
    : NodeIterator(nullptr, node ? node->FirstLeaf() : nullptr, nullptr), bound_(node) {}

Node* TerminalsIterator::Next() {
    if (!current_) return End();
    Node* leaf = current_->NextLeaf();
    return leaf && leaf->IsWithin(bound_) ? Step(leaf) : End();
}

SpecialAncestorIterator::SpecialAncestorIterator(Node* start, std::uint32_t typeId)
    : NodeIterator(nullptr, start, nullptr), typeId_(typeId) {}

Node* SpecialAncestorIterator::Next() {
    CheckCanStep();
    for (Node* node = current_->Parent(); node; node = node->Parent()) {
        const auto* element = DocElement::Of(node);
        if (element && element->TypeId() == typeId_) return Step(node);
    }
    return End();
}

}  // namespace markup
