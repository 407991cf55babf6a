// IdList: the growable id list of the dictionary records.
#include "markup/parser/id_list.h"

#include <algorithm>
#include <new>

#include "markup/heap.h"

namespace markup {

void IdList::Add(std::uint32_t id) {
    try {
        ids_.push_back(id);
        if (!index_.empty()) {
            index_.insert(id);
        } else if (ids_.size() >= kIndexedFrom) {
            Reindex();
        }
    } catch (const std::bad_alloc&) {
        // Neither half is left holding what the other lacks.
        index_.clear();
        if (!ids_.empty() && ids_.back() == id) ids_.pop_back();
        RaiseMemoryFault();
    }
}

bool IdList::Contains(std::uint32_t id) const {
    if (!index_.empty()) return index_.count(id) != 0;
    return std::find(ids_.begin(), ids_.end(), id) != ids_.end();
}

void IdList::Truncate(std::uint32_t count) {
    if (count >= ids_.size()) return;
    ids_.resize(count);
    Reindex();
}

void IdList::Remove(std::uint32_t id) {
    const auto end = std::remove(ids_.begin(), ids_.end(), id);
    if (end == ids_.end()) return;
    ids_.erase(end, ids_.end());
    index_.erase(id);
    if (ids_.size() < kIndexedFrom) index_.clear();
}

void IdList::Reindex() {
    index_.clear();
    if (ids_.size() < kIndexedFrom) return;
    index_.insert(ids_.begin(), ids_.end());
}

}  // namespace markup
