// Reference-counted holders for the style records that many elements and the
// style registry share: a record lives as long as its last pointer.
#ifndef SVGFILTER_RC_OBJECT_H
#define SVGFILTER_RC_OBJECT_H

#include <cstdint>
#include <memory>
#include <utility>

namespace svgf {

// A counted object. It starts at 0; the pointer that takes it adds the
// first reference, and the release that brings it back to 0 destroys it.
class RCBase {
  public:
    RCBase() = default;
    RCBase(const RCBase&) = delete;
    RCBase& operator=(const RCBase&) = delete;
    virtual ~RCBase();

    // The held object; none for a bare RCBase.
    virtual void* Get() const { return nullptr; }

    void AddRef() { ++count_; }
    void Release() {
        if (--count_ == 0) delete this;
    }
    uint32_t Count() const { return count_; }

    // The one shared instance that every empty pointer refers to. The module
    // holds a reference on it for its whole life, so it is never destroyed.
    static RCBase& Empty();

  private:
    uint32_t count_ = 0;
};

// Holds one T, made by its owner and handed over here; freed with the holder.
template <typename T>
class RCGenPtr final : public RCBase {
  public:
    explicit RCGenPtr(std::unique_ptr<T> object) : object_(std::move(object)) {}
    void* Get() const override { return object_.get(); }

  private:
    std::unique_ptr<T> object_;
};

// A pointer that is never null: without an object it refers to the shared
// empty instance. Each pointer holds one reference.
class RCPtrBase {
  public:
    RCPtrBase() : RCPtrBase(nullptr) {}
    explicit RCPtrBase(RCBase* object) : object_(object != nullptr ? object : &RCBase::Empty()) {
        object_->AddRef();
    }
    RCPtrBase(const RCPtrBase& other) : RCPtrBase(other.object_) {}
    RCPtrBase& operator=(const RCPtrBase& other) {
        Assign(other);
        return *this;
    }
    ~RCPtrBase() { object_->Release(); }

    void Assign(const RCPtrBase& other) {
        if (other.object_ == object_) return;
        object_->Release();
        object_ = other.object_;
        object_->AddRef();
    }

    RCBase* Base() const { return object_; }

  private:
    RCBase* object_;
};

// The typed pointer. Dereferencing an empty pointer gives no object.
template <typename T>
class CRCPtr : public RCPtrBase {
  public:
    CRCPtr() = default;
    // Takes ownership of the object (none gives an empty pointer).
    explicit CRCPtr(std::unique_ptr<T> object)
        : RCPtrBase(object ? new RCGenPtr<T>(std::move(object)) : nullptr) {}

    T* get() const { return static_cast<T*>(Base()->Get()); }
    T* operator->() const { return get(); }
    T& operator*() const { return *get(); }
    explicit operator bool() const { return get() != nullptr; }
};

// Makes a T and the pointer that holds it.
template <typename T, typename... Args>
CRCPtr<T> MakeRC(Args&&... args) {
    return CRCPtr<T>(std::make_unique<T>(std::forward<Args>(args)...));
}

}  // namespace svgf

#endif  // SVGFILTER_RC_OBJECT_H
