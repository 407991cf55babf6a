// SelectorIndex: a style sheet's selectors filed by one key each (an id, a
// class word or a type name), as lists that the matcher reads for the keys
// an element has.
//
// The table is open-addressed, 16 bytes a slot: a key's bytes are not
// copied but must outlive the index (they lie in the sheet's kept text).
// Every list links its entries through one array, so a key filed once
// costs a slot and an entry, where a hash map of vectors cost some 100
// bytes.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace markup::style::detail {

class SelectorIndex {
  public:
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;
    struct Entry {
        std::uint32_t selector;
        std::uint32_t next;  // kNone at the list's end
    };
    // The entries of every index of a sheet.
    using Entries = std::vector<Entry>;

    // Puts the selector at the head of the key's list.
    void File(std::string_view key, std::uint32_t selector, Entries& entries);
    // The head of the key's list; kNone when the key has none.
    std::uint32_t Find(std::string_view key) const;
    bool Empty() const { return count_ == 0; }

  private:
    struct Slot {
        const char* key = nullptr;
        std::uint32_t length = 0;
        std::uint32_t head = kNone;  // kNone: the slot is free
    };
    std::size_t SlotOf(std::string_view key) const;
    void Grow();

    std::vector<Slot> slots_;
    std::uint32_t count_ = 0;
};

}  // namespace markup::style::detail
