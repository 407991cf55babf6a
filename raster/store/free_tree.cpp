// The free-block tree: an AVL tree rebalanced on every link on the way back
// up from an insertion or a removal.
#include <algorithm>

#include "raster/store/block_store.h"

namespace raster {
namespace {

std::uint32_t HeightOf(const RIPBlockNode* n) {
    return n != nullptr ? n->height : 0;
}

void Measure(RIPBlockNode* n) {
    n->height = std::max(HeightOf(n->left), HeightOf(n->right)) + 1;
}

RIPBlockNode* RotateRight(RIPBlockNode* n) {
    RIPBlockNode* l = n->left;
    n->left = l->right;
    l->right = n;
    Measure(n);
    Measure(l);
    return l;
}

RIPBlockNode* RotateLeft(RIPBlockNode* n) {
    RIPBlockNode* r = n->right;
    n->right = r->left;
    r->left = n;
    Measure(n);
    Measure(r);
    return r;
}

RIPBlockNode* Rebalance(RIPBlockNode* n) {
    const std::uint32_t hl = HeightOf(n->left);
    const std::uint32_t hr = HeightOf(n->right);
    if (hl > hr + 1) {
        if (HeightOf(n->left->right) > HeightOf(n->left->left)) n->left = RotateLeft(n->left);
        return RotateRight(n);
    }
    if (hr > hl + 1) {
        if (HeightOf(n->right->left) > HeightOf(n->right->right)) n->right = RotateRight(n->right);
        return RotateLeft(n);
    }
    n->height = std::max(hl, hr) + 1;
    return n;
}

// Detaches the largest node of the subtree into *out; answers the new subtree.
RIPBlockNode* DetachLargest(RIPBlockNode* at, RIPBlockNode** out) {
    if (at->right == nullptr) {
        *out = at;
        return at->left;
    }
    at->right = DetachLargest(at->right, out);
    return Rebalance(at);
}

RIPBlockNode* DetachSmallest(RIPBlockNode* at, RIPBlockNode** out) {
    if (at->left == nullptr) {
        *out = at;
        return at->right;
    }
    at->left = DetachSmallest(at->left, out);
    return Rebalance(at);
}

}  // namespace

int RIPFreeTree::Compare(const RIPBlockNode* a, const RIPBlockNode* b) {
    if (a->chunk != b->chunk) return a->chunk < b->chunk ? -1 : 1;
    if (a->offset != b->offset) return a->offset < b->offset ? -1 : 1;
    if (a == b) return 0;
    return std::less<const RIPBlockNode*>()(a, b) ? -1 : 1;
}

void RIPFreeTree::Insert(RIPBlockNode* node) {
    node->left = node->right = nullptr;
    node->height = 1;
    root_ = InsertAt(root_, node);
}

RIPBlockNode* RIPFreeTree::InsertAt(RIPBlockNode* at, RIPBlockNode* node) {
    if (at == nullptr) return node;
    if (Compare(at, node) > 0) {
        at->left = InsertAt(at->left, node);
    } else {
        at->right = InsertAt(at->right, node);
    }
    return Rebalance(at);
}

void RIPFreeTree::Remove(RIPBlockNode* node) {
    root_ = RemoveAt(root_, node);
    node->left = node->right = nullptr;
    node->height = 0;
}

RIPBlockNode* RIPFreeTree::RemoveAt(RIPBlockNode* at, RIPBlockNode* node) {
    if (at == nullptr) return nullptr;  // not in the tree
    const int order = Compare(at, node);
    if (order > 0) {
        at->left = RemoveAt(at->left, node);
        return Rebalance(at);
    }
    if (order < 0) {
        at->right = RemoveAt(at->right, node);
        return Rebalance(at);
    }
    if (at->left == nullptr) return at->right;
    if (at->right == nullptr) return at->left;
    // Two children: the replacement comes from the taller side, alternating
    // between the sides when they are equal.
    const std::uint32_t hl = HeightOf(at->left);
    const std::uint32_t hr = HeightOf(at->right);
    bool useLeft = hl > hr;
    if (hl == hr) {
        tie_ ^= 1;
        useLeft = tie_ == 1;
    }
    RIPBlockNode* replacement = nullptr;
    if (useLeft) {
        RIPBlockNode* rest = DetachLargest(at->left, &replacement);
        replacement->left = rest;
        replacement->right = at->right;
    } else {
        RIPBlockNode* rest = DetachSmallest(at->right, &replacement);
        replacement->left = at->left;
        replacement->right = rest;
    }
    replacement->height = at->height;
    return Rebalance(replacement);
}

RIPBlockNode* RIPFreeTree::First() const {
    RIPBlockNode* n = root_;
    while (n != nullptr && n->left != nullptr) n = n->left;
    return n;
}

}  // namespace raster
