// Heap objects of the CSS engine: exhausted memory raises the engine's
// allocation fault (MemoryAllocationFault), never std::bad_alloc, and an
// owning container takes a new object without copying it.
#pragma once

#include <memory>
#include <new>
#include <utility>

#include "markup/containers.h"
#include "markup/heap.h"
#include "markup/style/css_list.h"

namespace markup::style::detail {

template <class T, class... Args>
std::unique_ptr<T> Make(Args&&... args) {
    T* object = new (std::nothrow) T(std::forward<Args>(args)...);
    if (!object) RaiseMemoryFault();
    return std::unique_ptr<T>(object);
}

// A copy of the object as its own class.
template <class T>
T* CopyOf(const T& object) {
    return Make<T>(object).release();
}

// Appends the object itself; the vector owns it from then on.
template <class T, class U>
void Adopt(Vector<T>& vector, std::unique_ptr<U> object) {
    ReserveSlots(vector, 1);
    vector.List<T>::Add(object.get());
    object.release();
}

}  // namespace markup::style::detail
