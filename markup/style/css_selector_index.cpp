// SelectorIndex: linear probing over a power-of-two table.
#include "css_selector_index.h"

#include <cstring>
#include <functional>

namespace markup::style::detail {

std::size_t SelectorIndex::SlotOf(std::string_view key) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = std::hash<std::string_view>()(key) & mask;; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (slot.head == kNone) return i;
        if (slot.length == key.size() && std::memcmp(slot.key, key.data(), key.size()) == 0) return i;
    }
}

void SelectorIndex::Grow() {
    std::vector<Slot> old(slots_.size() < 8 ? 8 : slots_.size() * 2);
    old.swap(slots_);
    for (const Slot& slot : old) {
        if (slot.head != kNone) slots_[SlotOf(std::string_view(slot.key, slot.length))] = slot;
    }
}

void SelectorIndex::File(std::string_view key, std::uint32_t selector, Entries& entries) {
    // At most three quarters full, so that a probe ends soon.
    if ((static_cast<std::size_t>(count_) + 1) * 4 > slots_.size() * 3) Grow();
    Slot& slot = slots_[SlotOf(key)];
    if (slot.head == kNone) {
        slot.key = key.data();
        slot.length = static_cast<std::uint32_t>(key.size());
        ++count_;
    }
    entries.push_back(Entry{selector, slot.head});
    slot.head = static_cast<std::uint32_t>(entries.size() - 1);
}

std::uint32_t SelectorIndex::Find(std::string_view key) const {
    if (count_ == 0) return kNone;
    return slots_[SlotOf(key)].head;
}

}  // namespace markup::style::detail
