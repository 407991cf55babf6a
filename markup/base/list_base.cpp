// PointerArray: the pointer array under every container of the engine.
#include <cstring>

#include "markup/containers.h"
#include "markup/faults.h"
#include "markup/heap.h"
#include "markup/small_blocks.h"

namespace markup {

namespace {
// The first array holds a few slots: most lists (the attributes of one
// element) stay that short, and a parse keeps one per element.
constexpr std::uint32_t kFirstSlots = 4;

// Arrays grow by half their size and shrink to half once three quarters
// are free, so that filling or emptying a list of n elements copies O(n)
// slots and a list never holds more than four times its count.
std::uint32_t Larger(std::uint32_t capacity) {
    const std::uint64_t next = capacity < kFirstSlots ? kFirstSlots : capacity + static_cast<std::uint64_t>(capacity) / 2;
    if (next > 0xFFFFFFFFu) RaiseMemoryFault();
    return static_cast<std::uint32_t>(next);
}

bool TooRoomy(std::uint32_t count, std::uint32_t capacity) {
    return capacity > 2 * kFirstSlots && count < capacity / 4;
}

std::uint32_t Smaller(std::uint32_t capacity) {
    return capacity / 2;
}

// A short array (the attributes of one element) comes from the small blocks,
// which every element's list would otherwise take from the general heap.
void** AllocateArray(std::size_t bytes) {
    void* block = bytes <= kLargestSmallBlock ? AllocateSmallBlock(bytes, std::nothrow) : HeapAllocate(bytes);
    if (!block) RaiseMemoryFault();
    return static_cast<void**>(block);
}

void FreeArray(void** items, std::uint32_t capacity) {
    const std::size_t bytes = static_cast<std::size_t>(capacity) * sizeof(void*);
    if (bytes <= kLargestSmallBlock) {
        FreeSmallBlock(items, bytes);
    } else {
        HeapFree(items);
    }
}
}  // namespace

PointerArray::~PointerArray() {
    FreeArray(items_, capacity_);
}

std::uint32_t PointerArray::Add(void* item) {
    return InsertAt(count_, item);
}

std::uint32_t PointerArray::InsertAt(std::uint32_t index, void* item) {
    if (index > count_) throw InvalidArgumentFault();
    if (count_ >= capacity_) Resize(Larger(capacity_));
    if (index < count_) std::memmove(items_ + index + 1, items_ + index, (count_ - index) * sizeof(void*));
    items_[index] = item;
    return ++count_;
}

void* PointerArray::RemoveAt(std::uint32_t index) {
    if (index >= count_) throw InvalidArgumentFault();
    void* item = items_[index];
    --count_;
    if (index < count_) std::memmove(items_ + index, items_ + index + 1, (count_ - index) * sizeof(void*));
    if (TooRoomy(count_, capacity_)) Resize(Smaller(capacity_));
    return item;
}

void PointerArray::Swap(std::uint32_t a, std::uint32_t b) {
    if (a >= count_ || b >= count_ || !items_[a] || !items_[b]) return;
    void* t = items_[a];
    items_[a] = items_[b];
    items_[b] = t;
}

bool PointerArray::IndexOf(const void* item, std::uint32_t& index) const {
    for (std::uint32_t i = 0; i < count_; ++i) {
        if (items_[i] == item) {
            index = i;
            return true;
        }
    }
    return false;
}

void PointerArray::RemoveAll() {
    count_ = 0;
    Resize(0);
}

void PointerArray::Resize(std::uint32_t capacity) {
    if (capacity < count_) capacity = count_;
    void** fresh = nullptr;
    if (capacity) {
        const std::uint64_t bytes = static_cast<std::uint64_t>(capacity) * sizeof(void*);
        if (bytes != static_cast<std::size_t>(bytes)) RaiseMemoryFault();
        fresh = AllocateArray(static_cast<std::size_t>(bytes));
        if (count_) std::memcpy(fresh, items_, count_ * sizeof(void*));
    }
    FreeArray(items_, capacity_);
    items_ = fresh;
    capacity_ = capacity;
}

}  // namespace markup
