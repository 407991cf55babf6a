// Each block carries a list node in front of what the caller gets. The list is
// walked by address, so pointers that are not the module's are never read.
#include "owned_blocks.h"

#include <mutex>

#include "allocation.h"

namespace svgf::detail {
namespace {

struct alignas(std::max_align_t) BlockHeader {
    BlockHeader* previous;
    BlockHeader* next;
    BlockKind kind;
};

std::mutex g_mutex;
BlockHeader* g_first = nullptr;

void* PayloadOf(BlockHeader* header) {
    return header + 1;
}

BlockHeader* Find(const void* block) {
    for (BlockHeader* header = g_first; header != nullptr; header = header->next) {
        if (PayloadOf(header) == block) return header;
    }
    return nullptr;
}

}  // namespace

void* AllocateOwned(BlockKind kind, size_t size) noexcept {
    if (size > SIZE_MAX - sizeof(BlockHeader)) return nullptr;
    auto* header = static_cast<BlockHeader*>(AllocateZeroed(sizeof(BlockHeader) + size));
    if (header == nullptr) return nullptr;
    header->kind = kind;
    std::lock_guard lock(g_mutex);
    header->next = g_first;
    if (g_first) g_first->previous = header;
    g_first = header;
    return PayloadOf(header);
}

BlockKind OwnedKind(const void* block) noexcept {
    if (block == nullptr) return BlockKind::kNone;
    std::lock_guard lock(g_mutex);
    const BlockHeader* header = Find(block);
    return header ? header->kind : BlockKind::kNone;
}

bool FreeOwned(void* block) noexcept {
    if (block == nullptr) return false;
    BlockHeader* header;
    {
        std::lock_guard lock(g_mutex);
        header = Find(block);
        if (header == nullptr) return false;
        if (header->previous)
            header->previous->next = header->next;
        else
            g_first = header->next;
        if (header->next) header->next->previous = header->previous;
    }
    FreeAllocation(header);
    return true;
}

size_t OwnedBlockCount() noexcept {
    std::lock_guard lock(g_mutex);
    size_t count = 0;
    for (const BlockHeader* header = g_first; header != nullptr; header = header->next) ++count;
    return count;
}

void ReleaseAllOwned(void (*finalise)(BlockKind kind, void* block)) noexcept {
    BlockHeader* header;
    {
        std::lock_guard lock(g_mutex);
        header = g_first;
        g_first = nullptr;
    }
    while (header != nullptr) {
        BlockHeader* next = header->next;
        if (finalise) finalise(header->kind, PayloadOf(header));
        FreeAllocation(header);
        header = next;
    }
}

}  // namespace svgf::detail
