// Node links: linking, unlinking, counting and walking in document order.
#include "markup/node.h"

#include <atomic>

namespace markup {
namespace {

std::atomic<std::uint64_t> g_treeEdits{0};

}  // namespace

std::uint64_t TreeEdits() {
    return g_treeEdits.load(std::memory_order_relaxed);
}

void NoteTreeEdit() {
    g_treeEdits.fetch_add(1, std::memory_order_relaxed);
}

Node::~Node() = default;

void Node::AppendChild(Node* child) {
    NoteTreeEdit();
    if (firstChild_) {
        AppendAfterLastChild(child);
        return;
    }
    firstChild_ = child;
    child->parent_ = this;
    child->previousSibling_ = child;  // the first child is the last
    child->nextSibling_ = nullptr;
}

void Node::AppendAfterLastChild(Node* child) {
    NoteTreeEdit();
    Node* last = firstChild_->previousSibling_;
    last->nextSibling_ = child;
    child->parent_ = this;
    child->previousSibling_ = last;
    child->nextSibling_ = nullptr;
    firstChild_->previousSibling_ = child;
}

void Node::InsertAfter(Node* node) {
    NoteTreeEdit();
    node->parent_ = parent_;
    node->previousSibling_ = this;
    node->nextSibling_ = nextSibling_;
    if (nextSibling_) {
        nextSibling_->previousSibling_ = node;
    } else if (parent_ && parent_->firstChild_ && parent_->firstChild_->previousSibling_ == this) {
        parent_->firstChild_->previousSibling_ = node;  // the new last child
    }
    nextSibling_ = node;
}

void Node::InsertBefore(Node* node) {
    NoteTreeEdit();
    node->parent_ = parent_;
    node->nextSibling_ = this;
    // Before the first child the node takes over its link to the last.
    node->previousSibling_ = previousSibling_;
    if (IsFirstChild()) {
        parent_->firstChild_ = node;
    } else if (previousSibling_) {
        previousSibling_->nextSibling_ = node;
    }
    previousSibling_ = node;
}

void Node::Unlink() {
    NoteTreeEdit();
    if (parent_ && parent_->firstChild_) {
        Node* first = parent_->firstChild_;
        if (first == this) {
            parent_->firstChild_ = nextSibling_;
            // The next one becomes the first and names the last.
            if (nextSibling_) nextSibling_->previousSibling_ = previousSibling_;
        } else {
            if (previousSibling_) previousSibling_->nextSibling_ = nextSibling_;
            if (nextSibling_) {
                nextSibling_->previousSibling_ = previousSibling_;
            } else if (first->previousSibling_ == this) {
                first->previousSibling_ = previousSibling_;
            }
        }
    } else {
        if (previousSibling_) previousSibling_->nextSibling_ = nextSibling_;
        if (nextSibling_) nextSibling_->previousSibling_ = previousSibling_;
    }
    parent_ = nullptr;
    previousSibling_ = nullptr;
    nextSibling_ = nullptr;
}

void Node::ReplaceWith(Node* other) {
    NoteTreeEdit();
    Node* previous = previousSibling_;
    if (IsFirstChild()) {
        parent_->firstChild_ = other;
        if (previous == this) previous = other;  // the only child: also the last
    } else if (previous) {
        previous->nextSibling_ = other;
    }
    if (nextSibling_) {
        nextSibling_->previousSibling_ = other;
    } else if (parent_ && parent_->firstChild_ && parent_->firstChild_->previousSibling_ == this) {
        parent_->firstChild_->previousSibling_ = other;
    }
    other->parent_ = parent_;
    other->previousSibling_ = previous;
    other->nextSibling_ = nextSibling_;
}

void Node::DeleteSubtree() {
    NoteTreeEdit();
    // Always the first child of its parent goes: descend to a leaf, free it,
    // and climb once a parent has lost its last child. The backward links of
    // nodes about to go are left as they are.
    Node* node = firstChild_;
    while (node) {
        if (node->firstChild_) {
            node = node->firstChild_;
            continue;
        }
        Node* parent = node->parent_;
        parent->firstChild_ = node->nextSibling_;
        delete node;
        if (parent->firstChild_) {
            node = parent->firstChild_;
        } else {
            node = parent == this ? nullptr : parent;
        }
    }
    delete this;
}

std::uint32_t Node::ChildCount() const {
    std::uint32_t n = 0;
    for (const Node* c = firstChild_; c; c = c->nextSibling_) ++n;
    return n;
}

std::uint32_t Node::PreviousSiblingCount() const {
    std::uint32_t n = 0;
    for (const Node* s = PreviousSibling(); s; s = s->PreviousSibling()) ++n;
    return n;
}

std::uint32_t Node::NextSiblingCount() const {
    std::uint32_t n = 0;
    for (const Node* s = nextSibling_; s; s = s->nextSibling_) ++n;
    return n;
}

Node* Node::ChildAt(std::uint32_t n) const {
    Node* child = firstChild_;
    if (!child) return nullptr;
    for (; n > 0 && child->nextSibling_; --n) child = child->nextSibling_;
    return child;
}

Node* Node::LastChild() const {
    return firstChild_ ? firstChild_->previousSibling_ : nullptr;
}

Node* Node::FirstLeaf() {
    Node* node = this;
    while (node->firstChild_) node = node->firstChild_;
    return node;
}

Node* Node::NextAfterSubtree() const {
    for (const Node* node = this; node; node = node->parent_) {
        if (node->nextSibling_) return node->nextSibling_;
    }
    return nullptr;
}

Node* Node::NextInPreorder() const {
    return firstChild_ ? firstChild_ : NextAfterSubtree();
}

Node* Node::NextLeaf() const {
    Node* next = NextAfterSubtree();
    return next ? next->FirstLeaf() : nullptr;
}

bool Node::IsWithin(const Node* node) const {
    if (!node) return false;
    for (const Node* n = this; n; n = n->parent_) {
        if (n == node) return true;
    }
    return false;
}

}  // namespace markup
