// IdList: a list of 32-bit ids (attribute ids, allowed children, group
// members). Running out of memory raises MemoryAllocationFault, as every
// dictionary record does.
//
// A long list (an open dictionary's element that learned thousands of
// attribute names) keeps a hashed set of its ids beside the order, so that
// Contains stays constant-time; short lists are searched as they stand.
#pragma once

#include <cstdint>
#include <unordered_set>
#include <vector>

namespace markup {

class IdList {
  public:
    void Add(std::uint32_t id);
    bool Contains(std::uint32_t id) const;
    void Clear() {
        ids_.clear();
        index_.clear();
    }
    // Drops everything after the first count ids.
    void Truncate(std::uint32_t count);
    // Drops every occurrence of the id.
    void Remove(std::uint32_t id);

    std::uint32_t Count() const { return static_cast<std::uint32_t>(ids_.size()); }
    bool IsEmpty() const { return ids_.empty(); }
    // Index must be below Count().
    std::uint32_t operator[](std::uint32_t index) const { return ids_[index]; }
    std::vector<std::uint32_t>::const_iterator begin() const { return ids_.begin(); }
    std::vector<std::uint32_t>::const_iterator end() const { return ids_.end(); }

    friend bool operator==(const IdList& a, const IdList& b) { return a.ids_ == b.ids_; }

  private:
    // From this many ids on, the set is kept.
    static constexpr std::size_t kIndexedFrom = 32;
    void Reindex();

    std::vector<std::uint32_t> ids_;
    std::unordered_set<std::uint32_t> index_;  // empty while the list is short
};

}  // namespace markup
