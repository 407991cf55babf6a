// NodeTree: the cursor, insertion at the cursor and by path, and the edits
// that unwrap, merge, detach and delete nodes.
#include "markup/node_tree.h"

#include "markup/faults.h"

namespace markup {

NodeTree::~NodeTree() {
    Node* top = Root();
    if (!top) return;
    while (top->PreviousSibling()) top = top->PreviousSibling();
    while (top) {
        Node* next = top->NextSibling();
        top->Unlink();
        top->DeleteSubtree();
        top = next;
    }
}

Node* NodeTree::Root() const {
    Node* node = anchor_;
    if (!node) return nullptr;
    while (node->Parent()) node = node->Parent();
    return node;
}

bool NodeTree::Contains(const Node* node) const {
    Node* root = Root();
    return !root || (node && node->IsWithin(root));
}

void NodeTree::SetCurrent(Node* node) {
    if (Contains(node)) {
        current_ = node;
        anchor_ = anchor_ ? Root() : node;
        return;
    }
    if (!Contains(current_)) current_ = anchor_ = Root();
}

Node* NodeTree::Current() {
    SetCurrent(current_);
    return current_;
}

Node* NodeTree::GoRoot() {
    current_ = anchor_ = Root();
    return current_;
}

Node* NodeTree::GoParent() {
    Node* node = Current();
    if (!node || !node->Parent()) return nullptr;
    return current_ = node->Parent();
}

Node* NodeTree::GoPreviousSibling() {
    Node* node = Current();
    if (!node || !node->PreviousSibling()) return nullptr;
    return current_ = node->PreviousSibling();
}

void NodeTree::CheckInsertable(const Node* node, const Node* target) {
    if (!node || !node->IsFree()) throw InvalidArgumentFault();
    // Linking a node at a place inside its own subtree would make a cycle.
    if (target && target->IsWithin(node)) throw InvalidArgumentFault();
}

void NodeTree::Place(Node* node) {
    current_ = node;
    anchor_ = node;
}

void NodeTree::InsertSibling(Node* node, bool after) {
    Node* at = Current();
    CheckInsertable(node, at);
    if (!at) {
        Place(node);
        return;
    }
    if (after) {
        at->InsertAfter(node);
    } else {
        at->InsertBefore(node);
    }
    current_ = node;
}

void NodeTree::AppendChild(Node* node) {
    InsertChild(node, kAppend);
}

void NodeTree::LinkChild(Node* parent, Node* node, std::uint32_t index) {
    Node* first = parent->FirstChild();
    if (!first) {
        parent->AppendChild(node);
    } else if (index == 0) {
        first->InsertBefore(node);
    } else {
        // ChildAt answers the last child for an index past the end.
        parent->ChildAt(index - 1)->InsertAfter(node);
    }
}

void NodeTree::InsertChild(Node* node, std::uint32_t index) {
    Node* at = Current();
    CheckInsertable(node, at);
    if (!at) {
        Place(node);
        return;
    }
    LinkChild(at, node, index);
    current_ = node;
}

void NodeTree::InsertAtPath(Node* node, const Vector<std::uint32_t>& path) {
    const std::uint32_t count = path.Count();
    if (count == 0) throw InvalidArgumentFault();
    Node* at = Root();
    for (std::uint32_t i = 0; i + 1 < count; ++i) {
        const std::uint32_t* step = path.At(i);
        if (!step || !at || !at->FirstChild()) throw InvalidArgumentFault();
        at = at->ChildAt(*step);
    }
    const std::uint32_t* last = path.At(count - 1);
    if (!last) throw InvalidArgumentFault();
    CheckInsertable(node, at);
    if (!at) {
        Place(node);
        return;
    }
    current_ = at;
    anchor_ = Root();
    LinkChild(at, node, *last);
    current_ = node;
}

void NodeTree::CollectPath(const Node* node, Vector<std::uint32_t>& path) const {
    while (path.Count()) path.DeleteLast();
    for (; node && node->Parent(); node = node->Parent()) path.Prepend(node->PreviousSiblingCount());
}

void NodeTree::MergeNextSibling() {
    Node* node = Current();
    if (!node) throw InvalidArgumentFault();
    Node* sibling = node->NextSibling();
    if (!sibling) return;
    Node* last = node->LastChild();
    while (Node* child = sibling->FirstChild()) {
        child->Unlink();
        if (last) {
            last->InsertAfter(child);
        } else {
            node->AppendChild(child);
        }
        last = child;
    }
    sibling->Unlink();
    delete sibling;
    // The anchor may have been the sibling.
    anchor_ = node;
}

void NodeTree::RemoveCurrent() {
    Node* node = Current();
    if (!node) throw InvalidArgumentFault();
    Node* first = node->FirstChild();
    Node* next = node->NextSibling();
    Node* previous = node->PreviousSibling();
    Node* parent = node->Parent();
    while (Node* child = node->FirstChild()) {
        child->Unlink();
        node->InsertBefore(child);
    }
    node->Unlink();
    delete node;
    Place(first ? first : next ? next : previous ? previous : parent);
}

Node* NodeTree::DetachCurrent() {
    Node* node = Current();
    if (!node) return nullptr;
    if (node->IsFree()) return TakeRoot();
    Node* next = node->NextSibling();
    Node* previous = node->PreviousSibling();
    Node* parent = node->Parent();
    node->Unlink();
    Place(next ? next : previous ? previous : parent);
    return node;
}

void NodeTree::DeleteCurrent() {
    if (Node* node = DetachCurrent()) node->DeleteSubtree();
}

Node* NodeTree::TakeRoot() {
    Node* root = Root();
    anchor_ = nullptr;
    current_ = nullptr;
    return root;
}

}  // namespace markup
