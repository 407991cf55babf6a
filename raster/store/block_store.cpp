// The pools shared by both stores, and the memory store with its budget.
#include "raster/store/block_store.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace raster {
namespace {

// Pool 0 holds a whole tile block; the others compressed records, each
// smaller than the one before.
constexpr std::uint32_t kPoolSizes[kPoolCount] = {65536, 49152, 32768, 16384, 8192, 4096, 2560, 1024, 256};

}  // namespace

RIPBlockStore::RIPBlockStore() {
    for (int p = 0; p < kPoolCount; ++p) pools_[static_cast<std::size_t>(p)].blockSize = kPoolSizes[p];
}

RIPBlockStore::~RIPBlockStore() {
    for (RIPPool& pool : pools_) {
        for (RIPBlockNode* n = pool.first; n != nullptr;) {
            RIPBlockNode* next = n->next;
            delete n;
            n = next;
        }
    }
}

RIPBlockNode* RIPBlockStore::TakeBlock(int pool) {
    RIPPool& p = pools_[static_cast<std::size_t>(pool)];
    if (RIPBlockNode* n = p.free.First()) {
        p.free.Remove(n);
        n->flags &= ~kBlockFree;
        n->size = p.blockSize;
        return n;
    }
    return NewBlock(pool);
}

RIPBlockNode* RIPBlockStore::NewBlock(int pool) {
    RIPPool& p = pools_[static_cast<std::size_t>(pool)];
    auto* n = new (std::nothrow) RIPBlockNode{};
    if (n == nullptr) return nullptr;
    n->pool = static_cast<std::uint32_t>(pool);
    n->size = p.blockSize;
    if (p.chunkCount == 0 || !PlaceBlock(n)) {
        if (!AddChunk(pool)) {
            delete n;
            return nullptr;
        }
        n->chunk = p.chunkCount - 1;
        n->offset = 0;
        p.used = p.blockSize;
    }
    n->previous = p.last;
    if (p.last != nullptr) {
        p.last->next = n;
    } else {
        p.first = n;
    }
    p.last = n;
    return n;
}

void RIPBlockStore::ReleaseBlock(RIPBlockNode* node) {
    if (node == nullptr || (node->flags & kBlockFree) != 0) return;
    node->flags = kBlockFree;
    node->owner = nullptr;
    pools_[node->pool].free.Insert(node);
}

RIPMemoryStore::RIPMemoryStore(std::uint32_t maximumChunks, std::uint64_t step)
    : step_(step == 0 ? kTileBlockBytes : step), limit_(maximumChunks), maximum_(maximumChunks) {}

RIPMemoryStore::~RIPMemoryStore() {
    for (std::uint8_t* c : chunks_) std::free(c);
}

std::uint8_t* RIPMemoryStore::Address(const RIPBlockNode* node) const {
    return chunks_[node->chunk] + node->offset;
}

bool RIPMemoryStore::AddChunk(int pool) {
    RIPPool& p = pools_[0];
    if (pool != 0 || p.chunkCount >= limit_ || chunks_.size() != p.chunkCount) return false;
    auto* chunk = static_cast<std::uint8_t*>(std::malloc(p.blockSize));
    if (chunk == nullptr) return false;
    try {
        chunks_.push_back(chunk);
    } catch (const std::bad_alloc&) {
        std::free(chunk);
        return false;
    }
    ++p.chunkCount;
    return true;
}

bool RIPMemoryStore::PlaceBlock(RIPBlockNode*) {
    return false;  // a chunk is one block: a new block needs a new chunk
}

void RIPMemoryStore::AddUsage(std::uint64_t bytes) {
    usage_ += bytes;
    const std::uint32_t count = pools_[0].chunkCount;
    if (count < limit_) {
        const std::uint64_t q = usage_ / step_;
        if (q != 0) {
            // Untiled images past the budget would otherwise leave tiled ones
            // no block at all, and every lock of theirs would fail.
            const std::uint64_t floor = std::min(kMinimumBlocks, maximum_);
            const std::uint64_t lowered = q >= maximum_ ? 0 : maximum_ - q;
            limit_ = static_cast<std::uint32_t>(std::max({lowered, std::uint64_t{count}, floor}));
        }
    }
}

void RIPMemoryStore::SubUsage(std::uint64_t bytes) {
    bytes = std::min(bytes, usage_);
    if (limit_ != maximum_) {
        const std::uint64_t before = usage_ / step_;
        const std::uint64_t after = (usage_ - bytes) / step_;
        // Usage added while the pool was at its limit never lowered it, so the
        // raise is capped at the maximum.
        limit_ = static_cast<std::uint32_t>(std::min<std::uint64_t>(limit_ + (before - after), maximum_));
    }
    usage_ -= bytes;
}

}  // namespace raster
