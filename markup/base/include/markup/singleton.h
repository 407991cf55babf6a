// Singleton<T>: the one instance of a process-wide engine object.
//
// While the instance is being built its pointer holds the pointer's own
// address. A T checks for that marker in its constructor (CheckConstruction),
// so a T cannot be made except through Instance().
//
// First use is safe from several threads at once: the pointer is atomic, and
// the building happens under a lock that a late caller waits on, so exactly
// one T is made and every caller gets it whole. The lock is recursive so that
// a T whose constructor asks for its own instance gets a fault, not a hang.
#pragma once

#include <atomic>
#include <mutex>
#include <new>
#include <thread>

#include "markup/faults.h"
#include "markup/heap.h"

namespace markup {

template <class T>
class Singleton {
  public:
    static T& Instance() {
        T* current = instance_.load(std::memory_order_acquire);
        if (current && current != Marker()) return *current;
        return Build();
    }

    static bool Exists() {
        T* current = instance_.load(std::memory_order_acquire);
        return current && current != Marker();
    }

    // Raises IllegalUsageFault unless Instance() is constructing the T on
    // this thread.
    static void CheckConstruction() {
        if (instance_.load(std::memory_order_acquire) != Marker() ||
            builder_.load(std::memory_order_acquire) != std::this_thread::get_id()) {
            throw IllegalUsageFault();
        }
    }

    // Destroys the instance; the next Instance() builds a fresh one. For an
    // orderly shutdown and for tests; the caller makes sure no other thread
    // still uses the instance.
    static void Release() {
        std::lock_guard<std::recursive_mutex> hold(lock_);
        T* current = instance_.load(std::memory_order_acquire);
        if (!current || current == Marker()) return;
        instance_.store(nullptr, std::memory_order_release);
        delete current;
    }

  private:
    static T* Marker() { return reinterpret_cast<T*>(&instance_); }

    static T& Build() {
        std::lock_guard<std::recursive_mutex> hold(lock_);
        T* current = instance_.load(std::memory_order_acquire);
        if (current == Marker()) throw IllegalUsageFault();  // the constructor asked for itself
        if (current) return *current;                         // another thread built it meanwhile
        instance_.store(Marker(), std::memory_order_release);
        builder_.store(std::this_thread::get_id(), std::memory_order_release);
        T* made = nullptr;
        try {
            made = new (std::nothrow) T;
        } catch (...) {
            Reset(nullptr);
            throw;
        }
        if (!made) {
            Reset(nullptr);
            RaiseMemoryFault();
        }
        Reset(made);
        return *made;
    }

    static void Reset(T* to) {
        builder_.store(std::thread::id(), std::memory_order_release);
        instance_.store(to, std::memory_order_release);
    }

    static inline std::atomic<T*> instance_{nullptr};
    static inline std::atomic<std::thread::id> builder_{};
    static inline std::recursive_mutex lock_;
};

}  // namespace markup
