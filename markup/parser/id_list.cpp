// IdList: the growable id list of the dictionary records.
#include "markup/parser/id_list.h"

#include <algorithm>
#include <new>

#include "markup/heap.h"

namespace markup {

void IdList::Add(std::uint32_t id) {
    try {
        ids_.push_back(id);
    } catch (const std::bad_alloc&) {
        RaiseMemoryFault();
    }
}

bool IdList::Contains(std::uint32_t id) const {
    return std::find(ids_.begin(), ids_.end(), id) != ids_.end();
}

void IdList::Truncate(std::uint32_t count) {
    if (count < ids_.size()) ids_.resize(count);
}

void IdList::Remove(std::uint32_t id) {
    ids_.erase(std::remove(ids_.begin(), ids_.end(), id), ids_.end());
}

}  // namespace markup
