// IdList: a list of 32-bit ids (attribute ids, allowed children, group
// members). Running out of memory raises MemoryAllocationFault, as every
// dictionary record does.
#pragma once

#include <cstdint>
#include <vector>

namespace markup {

class IdList {
  public:
    void Add(std::uint32_t id);
    bool Contains(std::uint32_t id) const;
    void Clear() { ids_.clear(); }
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
    std::vector<std::uint32_t> ids_;
};

}  // namespace markup
