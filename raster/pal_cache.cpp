// The nearest-colour cache: cells of RGB space, each with the list of palette
// entries that can be nearest inside it, and the octree that finds those lists.
//
// A tree node covers a box of RGB space and holds the candidates inherited
// from its parent that can still be nearest to some point of the box: its
// bound is the smallest, over the parent's candidates, of the largest squared
// distance to any point of the box, and a candidate whose smallest distance
// to the box exceeds the bound can never win there. Nodes are made on the way
// down toward a cell asked about; all records live in chunks freed together.
#include "raster/pal_cache.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <mutex>
#include <new>

namespace raster {
namespace {

constexpr std::uint32_t kNoBound = 0x30000;  // above 3·255²
constexpr std::size_t kChunkBytes = 16384;

struct Chunk {
    Chunk* previous;
    std::size_t used;
    alignas(std::max_align_t) unsigned char data[kChunkBytes];
};

struct Node {
    Node* parent;
    Node* children[8];
    std::uint32_t bound;
    std::uint16_t depth;
    std::uint16_t count;
    std::uint16_t low[3];   // red, green, blue, inclusive
    std::uint16_t high[3];
    bool boundKnown;
    // `count` candidate indices follow the record, with room for the parent's count.
    std::uint8_t* candidates() { return reinterpret_cast<std::uint8_t*>(this + 1); }
    const std::uint8_t* candidates() const { return reinterpret_cast<const std::uint8_t*>(this + 1); }
};

std::uint8_t Channel(const std::uint8_t* entries, int index, int axis) {
    return entries[3 * index + 2 - axis];  // entries are blue, green, red
}

}  // namespace

struct RIPPalCache {
    int entryCount = 0;
    int cellSide = 0;
    int cellBits = 0;
    std::uint32_t square[511] = {};
    const std::uint32_t* sq = square + 255;  // sq[d] = d·d for d in −255..255
    Node* root = nullptr;
    Chunk* chunk = nullptr;
    std::size_t cellCount = 0;
    std::atomic<const std::uint8_t*>* cells = nullptr;  // count − 1, then the indices
    std::mutex growing;                                 // held while the tree and cells grow

    void* Alloc(std::size_t size) {
        size = (size + alignof(std::max_align_t) - 1) & ~(alignof(std::max_align_t) - 1);
        if (size > kChunkBytes) {
            return nullptr;
        }
        if (chunk == nullptr || chunk->used + size > kChunkBytes) {
            auto* fresh = new (std::nothrow) Chunk;
            if (fresh == nullptr) {
                return nullptr;
            }
            fresh->previous = chunk;
            fresh->used = 0;
            chunk = fresh;
        }
        void* piece = chunk->data + chunk->used;
        chunk->used += size;
        return piece;
    }

    Node* NewNode(Node* parent, int room) {
        void* block = Alloc(sizeof(Node) + static_cast<std::size_t>(std::max(room, 1)));
        if (block == nullptr) {
            return nullptr;
        }
        auto* n = static_cast<Node*>(block);
        n->parent = parent;
        std::fill_n(n->children, 8, nullptr);
        n->bound = kNoBound;
        n->depth = parent != nullptr ? static_cast<std::uint16_t>(parent->depth + 1) : 0;
        n->count = 0;
        n->boundKnown = false;
        return n;
    }

    void ComputeBound(Node* child, const Node* parent, const std::uint8_t* entries) const {
        std::uint32_t bound = kNoBound;
        for (int i = 0; i < parent->count; ++i) {
            std::uint32_t far = 0;
            for (int axis = 0; axis < 3; ++axis) {
                const int c = Channel(entries, parent->candidates()[i], axis);
                const int lo = child->low[axis], hi = child->high[axis];
                const int d = c < lo ? hi - c : c > hi ? c - lo : std::max(c - lo, hi - c);
                far += sq[d];
            }
            bound = std::min(bound, far);
        }
        child->bound = bound;
        child->boundKnown = true;
    }

    // Keeps the parent's candidates that can be nearest inside the child's box.
    // A candidate exactly at the bound is kept: it may tie, and ties go to the
    // lower index.
    void Inherit(Node* child, const Node* parent, const std::uint8_t* entries) const {
        int kept = 0;
        for (int i = 0; i < parent->count; ++i) {
            std::uint32_t near = 0;
            for (int axis = 0; axis < 3; ++axis) {
                const int c = Channel(entries, parent->candidates()[i], axis);
                const int d = c < child->low[axis] ? child->low[axis] - c
                              : c > child->high[axis] ? c - child->high[axis]
                                                      : 0;
                near += sq[d];
            }
            if (near <= child->bound) {
                child->candidates()[kept++] = parent->candidates()[i];
            }
        }
        child->count = static_cast<std::uint16_t>(kept);
    }

    // Child k of node, made (with its box halving the node's at mid = (low +
    // high + 1) / 2) when missing and given its bound and candidates when it
    // has none; null on memory failure.
    Node* Child(Node* node, int octant, const std::uint8_t* entries) {
        Node* child = node->children[octant];
        if (child == nullptr) {
            child = NewNode(node, node->count);
            if (child == nullptr) {
                return nullptr;
            }
            for (int axis = 0; axis < 3; ++axis) {
                const int mid = (node->low[axis] + node->high[axis] + 1) / 2;
                const bool upper = (octant >> (2 - axis)) & 1;
                child->low[axis] = static_cast<std::uint16_t>(upper ? mid : node->low[axis]);
                child->high[axis] = static_cast<std::uint16_t>(upper ? node->high[axis] : mid - 1);
            }
            node->children[octant] = child;
        }
        if (!child->boundKnown) {
            ComputeBound(child, node, entries);
        }
        if (child->count == 0) {
            Inherit(child, node, entries);
        }
        return child;
    }

    // The node whose box is the cell of (r, g, b), made on the way; null on memory failure.
    Node* Descend(const int point[3], const std::uint8_t* entries) {
        Node* node = root;
        while (node != nullptr && node->high[0] - node->low[0] >= cellSide) {
            int octant = 0;
            for (int axis = 0; axis < 3; ++axis) {
                const int mid = (node->low[axis] + node->high[axis] + 1) / 2;
                octant = octant * 2 + (point[axis] >= mid ? 1 : 0);
            }
            node = Child(node, octant, entries);
        }
        return node;
    }

    // Makes every node down to depth 3 and gives each expanded node the
    // largest bound of its children: false on memory failure. Candidates are
    // inherited before a node's bound is replaced, so later descents that
    // read the lists are not affected.
    bool Expand(Node* node, const std::uint8_t* entries) {
        std::uint32_t largest = 0;
        for (int octant = 0; octant < 8; ++octant) {
            Node* child = Child(node, octant, entries);
            if (child == nullptr || (child->depth < 3 && !Expand(child, entries))) {
                return false;
            }
            largest = std::max(largest, child->bound);
        }
        node->bound = largest;
        return true;
    }

    std::size_t CellOf(int r, int g, int b) const {
        const int shift = 8 - cellBits;
        return (static_cast<std::size_t>(r >> shift) << (2 * cellBits)) |
               (static_cast<std::size_t>(g >> shift) << cellBits) | static_cast<std::size_t>(b >> shift);
    }

    const std::uint8_t* BuildCell(std::size_t cell, const int point[3], const std::uint8_t* entries) {
        std::lock_guard<std::mutex> hold(growing);
        if (const std::uint8_t* list = cells[cell].load(std::memory_order_acquire)) {
            return list;  // another thread built it meanwhile
        }
        const int corner[3] = {point[0] & ~(cellSide - 1), point[1] & ~(cellSide - 1), point[2] & ~(cellSide - 1)};
        const Node* node = Descend(corner, entries);
        if (node == nullptr) {
            return nullptr;
        }
        auto* list = static_cast<std::uint8_t*>(Alloc(static_cast<std::size_t>(node->count) + 1));
        if (list == nullptr) {
            return nullptr;
        }
        list[0] = static_cast<std::uint8_t>(node->count - 1);
        std::copy_n(node->candidates(), node->count, list + 1);
        cells[cell].store(list, std::memory_order_release);
        return list;
    }

    ~RIPPalCache() {
        while (chunk != nullptr) {
            Chunk* previous = chunk->previous;
            delete chunk;
            chunk = previous;
        }
        delete[] cells;
    }
};

RIPPalCache* RIPPalCacheCreate(int entryCount) { return RIPPalCacheCreateBits(5, entryCount); }

RIPPalCache* RIPPalCacheCreateBits(int cellBits, int entryCount) {
    if (entryCount < 0 || entryCount > 256 || cellBits < 1 || cellBits > 7) {
        return nullptr;
    }
    auto* cache = new (std::nothrow) RIPPalCache;
    if (cache == nullptr) {
        return nullptr;
    }
    cache->entryCount = entryCount;
    cache->cellBits = cellBits;
    cache->cellSide = 1 << (8 - cellBits);
    for (int d = -255; d <= 255; ++d) {
        cache->square[d + 255] = static_cast<std::uint32_t>(d * d);
    }
    cache->root = cache->NewNode(nullptr, entryCount);
    cache->cellCount = std::size_t{1} << (3 * cellBits);
    cache->cells = new (std::nothrow) std::atomic<const std::uint8_t*>[cache->cellCount];
    if (cache->root == nullptr || cache->cells == nullptr) {
        delete cache;
        return nullptr;
    }
    for (std::size_t i = 0; i < cache->cellCount; ++i) {
        cache->cells[i].store(nullptr, std::memory_order_relaxed);
    }
    Node* root = cache->root;
    for (int axis = 0; axis < 3; ++axis) {
        root->low[axis] = 0;
        root->high[axis] = 255;
    }
    root->count = static_cast<std::uint16_t>(entryCount);
    for (int i = 0; i < entryCount; ++i) {
        root->candidates()[i] = static_cast<std::uint8_t>(i);
    }
    return cache;
}

void RIPPalCacheDestroy(RIPPalCache* cache) { delete cache; }

std::uint32_t RIPPalCacheTreeValue(RIPPalCache* cache, const std::uint8_t* entries) {
    if (cache == nullptr) {
        return kNoBound;
    }
    std::lock_guard<std::mutex> hold(cache->growing);
    std::uint32_t before = cache->root->bound;
    if (!cache->Expand(cache->root, entries)) {
        cache->root->bound = before;
    }
    return cache->root->bound;
}

void* RIPPalCacheAlloc(RIPPalCache* cache, std::size_t size) {
    if (cache == nullptr) {
        return nullptr;
    }
    std::lock_guard<std::mutex> hold(cache->growing);
    return cache->Alloc(size);
}

std::uint8_t RIPPalCacheNearestIndex(RIPPalCache* cache, std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                                     const std::uint8_t* entries) {
    if (cache == nullptr || cache->entryCount == 0) {
        return 0;
    }
    const std::size_t cell = cache->CellOf(red, green, blue);
    const std::uint8_t* list = cache->cells[cell].load(std::memory_order_acquire);
    if (list == nullptr) {
        const int point[3] = {red, green, blue};
        list = cache->BuildCell(cell, point, entries);
        if (list == nullptr) {
            return 0;
        }
    }
    if (list[0] == 0) {
        return list[1];
    }
    const std::uint32_t* sq = cache->sq;
    std::uint32_t best = kNoBound;
    std::uint8_t bestIndex = list[1];
    const int count = list[0] + 1;
    for (int i = 1; i <= count; ++i) {
        const std::uint8_t* e = entries + 3 * list[i];
        std::uint32_t d = sq[e[2] - red];
        if (d >= best) {
            continue;
        }
        d += sq[e[1] - green];
        if (d >= best) {
            continue;
        }
        d += sq[e[0] - blue];
        if (d < best) {
            best = d;
            bestIndex = list[i];
        }
    }
    return bestIndex;
}

}  // namespace raster
