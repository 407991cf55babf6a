// The general heap with its one out-of-memory helper.
#include "markup/heap.h"

#include <cstdlib>

#include "markup/faults.h"

namespace markup {

namespace {
// Allocations still to succeed before the injected failure; -1 when off.
int failCountdown = -1;
}  // namespace

void* HeapAllocate(std::size_t size) noexcept {
    if (failCountdown >= 0 && failCountdown-- == 0) return nullptr;
    return std::malloc(size ? size : 1);
}

void HeapFree(void* block) noexcept {
    std::free(block);
}

void RaiseMemoryFault() {
    throw MemoryAllocationFault();
}

void* HeapAllocateOrRaise(std::size_t size) {
    void* block = HeapAllocate(size);
    if (!block) RaiseMemoryFault();
    return block;
}

void FailHeapAllocationAfter(int skip) noexcept {
    failCountdown = skip < 0 ? -1 : skip;
}

}  // namespace markup
