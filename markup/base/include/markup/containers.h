// The engine's containers: a growable array of element pointers
// (PointerArray, and ListBase with a virtual destructor), a typed view that
// does not own (List<T>), an owning vector of heap copies (Vector<T>) and a
// cursor over any of them (Iterator<T>).
//
// Arrays start at 4 slots and grow by half their size when an insert finds
// them full; they shrink to half when a removal leaves three quarters free.
// Short lists stay small and long ones fill and empty in linear time.
#pragma once

#include <concepts>
#include <cstdint>
#include <new>
#include <type_traits>

namespace markup {

// The pointer array itself, without a virtual destructor: the list a record
// holds by the hundred thousand (an element's attributes) takes no more than
// its array's pointer and two counts.
class PointerArray {
  public:
    PointerArray() = default;
    ~PointerArray();  // frees the array, never the elements
    PointerArray(const PointerArray&) = delete;
    PointerArray& operator=(const PointerArray&) = delete;

    // Both answer the new count.
    std::uint32_t Add(void* item);
    // InvalidArgumentFault when index is past the count.
    std::uint32_t InsertAt(std::uint32_t index, void* item);
    // InvalidArgumentFault when index is not less than the count; the caller
    // owns the removed pointer.
    void* RemoveAt(std::uint32_t index);
    // Only between two non-null pointers inside the count.
    void Swap(std::uint32_t a, std::uint32_t b);
    bool IndexOf(const void* item, std::uint32_t& index) const;
    // Forgets every element (nothing is deleted) and frees the array.
    void RemoveAll();
    // Never below the count.
    void Resize(std::uint32_t capacity);

    std::uint32_t Count() const { return count_; }
    std::uint32_t Capacity() const { return capacity_; }
    // Null past the count.
    void* ItemAt(std::uint32_t index) const { return index < count_ ? items_[index] : nullptr; }

  protected:
    void** items_ = nullptr;
    std::uint32_t capacity_ = 0;
    std::uint32_t count_ = 0;
};

class ListBase : public PointerArray {
  public:
    explicit ListBase(std::uint32_t capacity = 0) {
        if (capacity) Resize(capacity);
    }
    virtual ~ListBase() = default;
};

template <class T>
class List : public ListBase {
  public:
    explicit List(std::uint32_t capacity = 0) : ListBase(capacity) {}

    std::uint32_t Add(T* item) { return ListBase::Add(item); }
    std::uint32_t InsertAt(std::uint32_t index, T* item) { return ListBase::InsertAt(index, item); }
    T* RemoveAt(std::uint32_t index) { return static_cast<T*>(ListBase::RemoveAt(index)); }
    T* RemoveLast() { return count_ ? RemoveAt(count_ - 1) : nullptr; }
    T* At(std::uint32_t index) const { return static_cast<T*>(ItemAt(index)); }
    bool IndexOf(const T* item, std::uint32_t& index) const { return ListBase::IndexOf(item, index); }
};

namespace detail {

template <class T>
concept Clonable = requires(const T& t) {
    { t.Clone() } -> std::convertible_to<T*>;
};

// A heap copy of an element, null when the heap has none. A polymorphic
// element copies itself, so a derived object is not cut down to its base.
template <class T>
T* CopyElement(const T& value) {
    if constexpr (Clonable<T>) {
        return value.Clone();
    } else {
        static_assert(!std::is_polymorphic_v<T>, "polymorphic elements need a virtual Clone()");
        return new (std::nothrow) T(value);
    }
}

}  // namespace detail

template <class T>
class Vector : public List<T> {
  public:
    explicit Vector(std::uint32_t capacity = 0) : List<T>(capacity) {}
    ~Vector() override {
        while (this->count_) delete List<T>::RemoveAt(this->count_ - 1);
    }

    // Each stores a heap copy; a copy the heap cannot hold is stored as null.
    virtual std::uint32_t InsertAt(std::uint32_t index, const T& value) {
        return ListBase::InsertAt(index, detail::CopyElement(value));
    }
    virtual std::uint32_t Add(const T& value) { return ListBase::Add(detail::CopyElement(value)); }
    virtual std::uint32_t Prepend(const T& value) {
        return ListBase::InsertAt(0, detail::CopyElement(value));
    }

    // Removes the last element and frees it; nothing when empty.
    void DeleteLast() {
        if (this->count_) delete List<T>::RemoveAt(this->count_ - 1);
    }

    // Appends copies of every element of another vector; null stays null.
    void AppendAll(const Vector<T>& other) {
        for (std::uint32_t i = 0; i < other.Count(); ++i) {
            if (const T* item = other.At(i)) {
                Add(*item);
            } else {
                ListBase::Add(nullptr);
            }
        }
    }
};

template <class T>
class Iterator {
  public:
    // With ownsList set, the iterator forgets the list's elements and deletes
    // the list object when it is destroyed.
    explicit Iterator(ListBase* list, bool ownsList = false) : list_(list), ownsList_(ownsList) {}
    virtual ~Iterator() {
        if (ownsList_ && list_) {
            list_->RemoveAll();
            delete list_;
        }
    }
    Iterator(const Iterator&) = delete;
    Iterator& operator=(const Iterator&) = delete;

    virtual void Reset() { position_ = 0; }
    virtual T* Next() {
        ++position_;
        return Current();
    }
    virtual T* Current() { return list_ ? static_cast<T*>(list_->ItemAt(position_)) : nullptr; }
    // Unsigned: stepping back from 0 goes past the end and gives null.
    virtual T* Previous() {
        --position_;
        return Current();
    }
    virtual T* First() {
        Reset();
        return Current();
    }
    virtual T* Last() {
        position_ = Count() - 1;
        return Current();
    }
    virtual T* Seek(std::uint32_t position) {
        position_ = position;
        return Current();
    }
    virtual std::uint32_t Position() { return position_; }
    virtual ListBase* List() { return list_; }
    virtual std::uint32_t Count() { return list_ ? list_->Count() : 0; }
    virtual std::uint32_t SetPosition(std::uint32_t position) { return position_ = position; }

  private:
    ListBase* list_;
    std::uint32_t position_ = 0;
    bool ownsList_;
};

}  // namespace markup
