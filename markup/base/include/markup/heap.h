// The engine's general heap.
//
// Buffers of strings and containers come from here so that exhausted memory
// is seen as a null answer, and every place that must raise for it raises
// through one helper. Tests can make an allocation fail on demand.
#pragma once

#include <cstddef>

namespace markup {

// Null when the heap has no memory.
void* HeapAllocate(std::size_t size) noexcept;
void HeapFree(void* block) noexcept;

// Raises MemoryAllocationFault.
[[noreturn]] void RaiseMemoryFault();

// HeapAllocate, raising MemoryAllocationFault instead of answering null.
void* HeapAllocateOrRaise(std::size_t size);

// Test support: the allocation after `skip` successful ones answers null,
// once. A negative value switches the failure off.
void FailHeapAllocationAfter(int skip) noexcept;

}  // namespace markup
