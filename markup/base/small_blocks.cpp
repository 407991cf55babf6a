// The small blocks: a free list per size, cut from shared slabs.
#include "markup/small_blocks.h"

#include <cstdlib>

namespace markup {

namespace {

#if defined(__SANITIZE_ADDRESS__)
#define MARKUP_SMALL_BLOCKS_FROM_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MARKUP_SMALL_BLOCKS_FROM_HEAP 1
#endif
#endif

// Steps of 8 bytes: the objects a tree holds by the million (attributes,
// elements) are multiples of 8, and a coarser step would add a quarter to some.
constexpr std::size_t kStep = 8;
constexpr std::size_t kSizes = kLargestSmallBlock / kStep;
[[maybe_unused]] constexpr std::size_t kSlabBytes = 64 * 1024;
// Past the first few slabs a large tree takes its slabs in larger pieces,
// which the heap maps apart: thousands of small slabs would sit in the
// holes that the large growing arrays of the rest of the program leave
// behind, and keep them from serving those arrays again.
[[maybe_unused]] constexpr std::size_t kSmallSlabs = 16;
[[maybe_unused]] constexpr std::size_t kLargeSlabBytes = 1024 * 1024;
// Slabs kept for the next tree once the last block is back: the pages of a
// small document stay mapped from one parse to the next.
constexpr std::size_t kSpareBytes = 1024 * 1024;

struct FreeBlock {
    FreeBlock* next;
};

// A slab's first bytes link it to the slab made before it.
struct Slab {
    Slab* previous;
    std::size_t bytes;
};
[[maybe_unused]] constexpr std::size_t kSlabHeader = (sizeof(Slab) + 15) / 16 * 16;

struct Blocks {
    FreeBlock* free[kSizes] = {};
    Slab* slabs = nullptr;
    Slab* spare = nullptr;
    std::size_t spareBytes = 0;
    char* cut = nullptr;  // the unused rest of the newest slab
    char* end = nullptr;
    std::size_t inUse = 0;
    std::size_t slabCount = 0;
};

// Never destroyed: trees freed while the process ends still find it.
Blocks& State() {
    static Blocks* blocks = new Blocks;
    return *blocks;
}

[[maybe_unused]] std::size_t SizeIndex(std::size_t size) {
    return size == 0 ? 0 : (size - 1) / kStep;
}

[[maybe_unused]] void ReleaseSlabs(Blocks& blocks) {
    while (blocks.slabs) {
        Slab* previous = blocks.slabs->previous;
        if (blocks.spareBytes + blocks.slabs->bytes <= kSpareBytes) {
            blocks.slabs->previous = blocks.spare;
            blocks.spare = blocks.slabs;
            blocks.spareBytes += blocks.slabs->bytes;
        } else {
            std::free(blocks.slabs);
        }
        blocks.slabs = previous;
    }
    for (FreeBlock*& list : blocks.free) list = nullptr;
    blocks.cut = blocks.end = nullptr;
    blocks.slabCount = 0;
}

}  // namespace

void* AllocateSmallBlock(std::size_t size, const std::nothrow_t&) noexcept {
#ifdef MARKUP_SMALL_BLOCKS_FROM_HEAP
    void* block = std::malloc(size ? size : 1);
    if (block && size <= kLargestSmallBlock) ++State().inUse;
    return block;
#else
    if (size > kLargestSmallBlock) return std::malloc(size);
    Blocks& blocks = State();
    const std::size_t index = SizeIndex(size);
    if (FreeBlock* block = blocks.free[index]) {
        blocks.free[index] = block->next;
        ++blocks.inUse;
        return block;
    }
    const std::size_t bytes = (index + 1) * kStep;
    if (static_cast<std::size_t>(blocks.end - blocks.cut) < bytes) {
        // The rest of the old slab is too small for this size: it stays unused
        // until the slabs go back.
        Slab* slab = blocks.spare;
        if (slab) {
            blocks.spare = slab->previous;
            blocks.spareBytes -= slab->bytes;
        } else {
            const std::size_t slabBytes = blocks.slabCount < kSmallSlabs ? kSlabBytes : kLargeSlabBytes;
            slab = static_cast<Slab*>(std::malloc(slabBytes));
            if (!slab) return nullptr;
            slab->bytes = slabBytes;
        }
        slab->previous = blocks.slabs;
        blocks.slabs = slab;
        ++blocks.slabCount;
        blocks.cut = reinterpret_cast<char*>(slab) + kSlabHeader;
        blocks.end = reinterpret_cast<char*>(slab) + slab->bytes;
    }
    void* block = blocks.cut;
    blocks.cut += bytes;
    ++blocks.inUse;
    return block;
#endif
}

void* AllocateSmallBlock(std::size_t size) {
    void* block = AllocateSmallBlock(size, std::nothrow);
    if (!block) throw std::bad_alloc();
    return block;
}

void FreeSmallBlock(void* block, std::size_t size) noexcept {
    if (!block) return;
#ifdef MARKUP_SMALL_BLOCKS_FROM_HEAP
    std::free(block);
    if (size <= kLargestSmallBlock) --State().inUse;
#else
    if (size > kLargestSmallBlock) {
        std::free(block);
        return;
    }
    Blocks& blocks = State();
    auto* freed = static_cast<FreeBlock*>(block);
    const std::size_t index = SizeIndex(size);
    freed->next = blocks.free[index];
    blocks.free[index] = freed;
    if (--blocks.inUse == 0) ReleaseSlabs(blocks);
#endif
}

std::size_t SmallBlocksInUse() noexcept {
    return State().inUse;
}

std::size_t SmallBlockSlabs() noexcept {
    return State().slabCount;
}

}  // namespace markup
