// The module's raw allocations go through here, so that a test can make any
// one of them fail and see the command report exhausted memory.
#ifndef SVGFILTER_ALLOCATION_H
#define SVGFILTER_ALLOCATION_H

#include <cstddef>
#include <cstdint>

namespace svgf::detail {

// Zero-filled memory for `size` bytes, or null when there is none.
void* AllocateZeroed(size_t size) noexcept;
void FreeAllocation(void* block) noexcept;

// Test switch: the allocation that follows `successes` successful ones fails,
// once. A negative count turns the switch off.
void InjectAllocationFailure(int64_t successes) noexcept;
// Allocations made through AllocateZeroed so far, failed ones included.
int64_t AllocationCount() noexcept;

}  // namespace svgf::detail

#endif  // SVGFILTER_ALLOCATION_H
