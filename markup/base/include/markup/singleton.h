// Singleton<T>: the one instance of a process-wide engine object.
//
// While the instance is being built its pointer holds the pointer's own
// address. A T checks for that marker in its constructor (CheckConstruction),
// so a T cannot be made except through Instance().
#pragma once

#include <new>

#include "markup/faults.h"
#include "markup/heap.h"

namespace markup {

template <class T>
class Singleton {
  public:
    static T& Instance() {
        if (!instance_) {
            instance_ = Marker();
            T* made = nullptr;
            try {
                made = new (std::nothrow) T;
            } catch (...) {
                instance_ = nullptr;
                throw;
            }
            if (!made) {
                instance_ = nullptr;
                RaiseMemoryFault();
            }
            instance_ = made;
        }
        return *instance_;
    }

    static bool Exists() { return instance_ && instance_ != Marker(); }

    // Raises IllegalUsageFault unless Instance() is constructing the T.
    static void CheckConstruction() {
        if (instance_ != Marker()) throw IllegalUsageFault();
    }

    // Destroys the instance; the next Instance() builds a fresh one. For an
    // orderly shutdown and for tests.
    static void Release() {
        if (Exists()) {
            T* gone = instance_;
            instance_ = nullptr;
            delete gone;
        }
    }

  private:
    static T* Marker() { return reinterpret_cast<T*>(&instance_); }
    static inline T* instance_ = nullptr;
};

}  // namespace markup
