// Blocks the module hands to the host through the context (the working
// object, the export options record) are allocated here and listed with their
// kind. The module asks the list, never the memory, whether a pointer found
// in the context is its own and of which kind: so an object of one kind is
// never taken for another, and a record the host made itself is never freed.
#ifndef SVGFILTER_OWNED_BLOCKS_H
#define SVGFILTER_OWNED_BLOCKS_H

#include <cstddef>
#include <cstdint>

namespace svgf::detail {

enum class BlockKind : uint32_t {
    kNone = 0,  // not a block of the module
    kExportOptions,
    kImportHandle,
    kExporter,
};

// A zero-filled block of `size` bytes aligned for any object, listed as
// `kind`; null when memory is exhausted.
void* AllocateOwned(BlockKind kind, size_t size) noexcept;
// The kind of a listed block, kNone for any other address (null included).
BlockKind OwnedKind(const void* block) noexcept;
// Unlists and frees a listed block; other addresses are left alone. Answers
// whether the block was the module's.
bool FreeOwned(void* block) noexcept;

// How many blocks are listed now.
size_t OwnedBlockCount() noexcept;
// Unlists and frees every block still listed, calling `finalise` on each
// first. Run when the module is unloaded: nothing can reach the blocks after.
void ReleaseAllOwned(void (*finalise)(BlockKind kind, void* block)) noexcept;

}  // namespace svgf::detail

#endif  // SVGFILTER_OWNED_BLOCKS_H
