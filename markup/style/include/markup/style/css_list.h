// CSSList: an owning vector for the long lists of a style sheet (every
// token of a document, every rule and declaration).
//
// The engine's vectors grow and shrink by 20 slots, which suits short
// lists; a sheet's lists grow with the document, so this one grows by
// doubling, is emptied and destroyed in one pass, and moves a run of new
// elements into place with one move of the elements after it.
#pragma once

#include <cstdint>
#include <cstring>

#include "markup/containers.h"
#include "markup/faults.h"

namespace markup::style {

// Room for `extra` more elements in any of the engine's lists, doubling
// the slots when it grows; raises MemoryAllocationFault.
inline void ReserveSlots(ListBase& list, std::uint32_t extra) {
    const std::uint64_t needed = static_cast<std::uint64_t>(list.Count()) + extra;
    if (needed <= list.Capacity()) return;
    std::uint64_t capacity = static_cast<std::uint64_t>(list.Capacity()) * 2 + 20;
    if (capacity < needed) capacity = needed;
    if (capacity > 0xFFFFFFFFu) capacity = needed;
    if (capacity > 0xFFFFFFFFu) throw MemoryAllocationFault();
    list.Resize(static_cast<std::uint32_t>(capacity));
}

template <class T>
class CSSList : public Vector<T> {
  public:
    CSSList() = default;
    ~CSSList() override { DeleteAll(); }

    // Room for `extra` more elements, so that adding them cannot fail
    // half-way; raises MemoryAllocationFault.
    void Reserve(std::uint32_t extra) { ReserveSlots(*this, extra); }

    // Takes every element of `from` (which is left empty) and puts them, in
    // their order, before the element at `index` (at most the count). From
    // the moment they are here `from` no longer holds them, even when
    // emptying it fails.
    void TakeAll(std::uint32_t index, Vector<T>& from) {
        const std::uint32_t n = from.Count();
        if (n == 0) return;
        if (index > this->count_) index = this->count_;
        Reserve(n);
        std::memmove(this->items_ + index + n, this->items_ + index, (this->count_ - index) * sizeof(void*));
        for (std::uint32_t i = 0; i < n; ++i) this->items_[index + i] = from.ItemAt(i);
        this->count_ += n;
        from.RemoveAll();
    }

    // For compacting in place: the slot's element, replaced without
    // deleting the one there.
    void SetItemAt(std::uint32_t index, T* item) { this->items_[index] = item; }
    // Removes the slots [from, to), whose elements are gone or held
    // elsewhere, moving the later ones down.
    void CloseGap(std::uint32_t from, std::uint32_t to) {
        if (from >= to) return;
        std::memmove(this->items_ + from, this->items_ + to, (this->count_ - to) * sizeof(void*));
        this->count_ -= to - from;
    }

    // Deletes every element; the slots stay for reuse.
    void DeleteAll() {
        for (std::uint32_t i = 0; i < this->count_; ++i) delete static_cast<T*>(this->items_[i]);
        this->count_ = 0;
    }
};

}  // namespace markup::style
