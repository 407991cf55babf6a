// Blocks for the small objects a parse makes by the ten thousand (nodes and
// attributes).
//
// Each size (in steps of 8 bytes, up to kLargestSmallBlock) keeps a list of
// the blocks given back, and new blocks are cut from slabs (16 of 64 KiB,
// then of 1 MiB). A tree freed whole goes onto those lists in a few
// instructions and the next parse takes its blocks from there, where the
// general heap would merge each freed block with its neighbours and split
// them again. Once the last block is given back the slabs go back to the
// heap but for 1 MiB kept (already mapped) for the next tree. Like the rest
// of the engine it serves one thread at a time.
// Under the address sanitizer every block comes from the general heap, so
// that a use after free is still caught.
#pragma once

#include <cstddef>
#include <new>

namespace markup {

inline constexpr std::size_t kLargestSmallBlock = 256;

// A block of at least `size` bytes, aligned to 8 bytes (classes placed
// here hold nothing of a stricter alignment); raises
// std::bad_alloc when memory is exhausted.
void* AllocateSmallBlock(std::size_t size);
// The same, answering null instead of raising.
void* AllocateSmallBlock(std::size_t size, const std::nothrow_t&) noexcept;
// Gives back a block made with the same `size`; null is ignored.
void FreeSmallBlock(void* block, std::size_t size) noexcept;

// Blocks handed out and not given back, and slabs held (for tests).
std::size_t SmallBlocksInUse() noexcept;
std::size_t SmallBlockSlabs() noexcept;

// Class members that route a class's (and its subclasses') objects through
// the small blocks. The class needs a virtual destructor when objects are
// deleted through a base pointer, so that the freed size is the right one.
#define MARKUP_SMALL_BLOCK_ALLOCATION                                                               \
    static void* operator new(std::size_t size) { return ::markup::AllocateSmallBlock(size); }    \
    static void* operator new(std::size_t size, const std::nothrow_t& tag) noexcept {             \
        return ::markup::AllocateSmallBlock(size, tag);                                            \
    }                                                                                              \
    static void operator delete(void* block, std::size_t size) noexcept {                         \
        ::markup::FreeSmallBlock(block, size);                                                     \
    }                                                                                              \
    static void operator delete(void* block, std::size_t size, const std::nothrow_t&) noexcept {  \
        ::markup::FreeSmallBlock(block, size);                                                     \
    }

}  // namespace markup
