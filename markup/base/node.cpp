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
    firstChild_ = lastChild_ = child;
    child->parent_ = this;
    child->previousSibling_ = nullptr;
    child->nextSibling_ = nullptr;
}

void Node::AppendAfterLastChild(Node* child) {
    NoteTreeEdit();
    Node* last = lastChild_;
    last->nextSibling_ = child;
    child->parent_ = this;
    child->previousSibling_ = last;
    child->nextSibling_ = nullptr;
    lastChild_ = child;
}

void Node::InsertAfter(Node* node) {
    NoteTreeEdit();
    node->parent_ = parent_;
    node->previousSibling_ = this;
    node->nextSibling_ = nextSibling_;
    if (nextSibling_) {
        nextSibling_->previousSibling_ = node;
    } else if (parent_ && parent_->lastChild_ == this) {
        parent_->lastChild_ = node;
    }
    nextSibling_ = node;
}

void Node::InsertBefore(Node* node) {
    NoteTreeEdit();
    node->parent_ = parent_;
    node->nextSibling_ = this;
    node->previousSibling_ = previousSibling_;
    if (previousSibling_) {
        previousSibling_->nextSibling_ = node;
    } else if (parent_ && parent_->firstChild_ == this) {
        parent_->firstChild_ = node;
    }
    previousSibling_ = node;
}

void Node::Unlink() {
    NoteTreeEdit();
    if (previousSibling_) {
        previousSibling_->nextSibling_ = nextSibling_;
    } else if (parent_ && parent_->firstChild_ == this) {
        parent_->firstChild_ = nextSibling_;
    }
    if (nextSibling_) {
        nextSibling_->previousSibling_ = previousSibling_;
    } else if (parent_ && parent_->lastChild_ == this) {
        parent_->lastChild_ = previousSibling_;
    }
    parent_ = nullptr;
    previousSibling_ = nullptr;
    nextSibling_ = nullptr;
}

void Node::ReplaceWith(Node* other) {
    NoteTreeEdit();
    if (previousSibling_) {
        previousSibling_->nextSibling_ = other;
    } else if (parent_ && parent_->firstChild_ == this) {
        parent_->firstChild_ = other;
    }
    if (nextSibling_) {
        nextSibling_->previousSibling_ = other;
    } else if (parent_ && parent_->lastChild_ == this) {
        parent_->lastChild_ = other;
    }
    other->parent_ = parent_;
    other->previousSibling_ = previousSibling_;
    other->nextSibling_ = nextSibling_;
}

void Node::DeleteSubtree() {
    NoteTreeEdit();
    // Always the first child of its parent goes: descend to a leaf, free it,
    // and climb once a parent has lost its last child.
    Node* node = firstChild_;
    while (node) {
        if (node->firstChild_) {
            node = node->firstChild_;
            continue;
        }
        Node* parent = node->parent_;
        parent->firstChild_ = node->nextSibling_;
        if (!parent->firstChild_) parent->lastChild_ = nullptr;
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
    for (const Node* s = previousSibling_; s; s = s->previousSibling_) ++n;
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
    return lastChild_;
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
