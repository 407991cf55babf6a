// calloc with a failure switch for tests.
#include "allocation.h"

#include <atomic>
#include <cstdlib>

namespace svgf::detail {
namespace {
std::atomic<int64_t> g_failAfter{-1};
std::atomic<int64_t> g_count{0};
}  // namespace

void* AllocateZeroed(size_t size) noexcept {
    g_count.fetch_add(1);
    int64_t remaining = g_failAfter.load();
    while (remaining >= 0) {
        const int64_t next = remaining == 0 ? -1 : remaining - 1;
        if (g_failAfter.compare_exchange_weak(remaining, next)) {
            if (remaining == 0) return nullptr;
            break;
        }
    }
    return std::calloc(1, size == 0 ? 1 : size);
}

void FreeAllocation(void* block) noexcept {
    std::free(block);
}

void InjectAllocationFailure(int64_t successes) noexcept {
    g_failAfter.store(successes < 0 ? -1 : successes);
}

int64_t AllocationCount() noexcept {
    return g_count.load();
}

}  // namespace svgf::detail
