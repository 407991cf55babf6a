// Handles: the counted references through which callers outside the DOM
// hold nodes, attribute maps and node lists.
//
// A handle adds a reference when it takes an object and drops it when it
// lets go, deleting the object when the count it drops reaches 0. Copies
// share one object. The forwarders are the road by which the SVG import
// reads a document; on a null handle they answer empty texts, 0 and null
// handles.
#pragma once

#include <cstdint>
#include <utility>

#include "markup/parser/dom/dom_interfaces.h"
#include "markup/parser/dom/dom_string.h"

namespace markup {

// The reference itself, for any object with AddRef and Release.
template <class T>
class WDOMCountedHandle {
  public:
    WDOMCountedHandle() noexcept = default;
    explicit WDOMCountedHandle(T* object) : object_(object) {
        if (object_) object_->AddRef();
    }
    WDOMCountedHandle(const WDOMCountedHandle& other) : WDOMCountedHandle(other.object_) {}
    WDOMCountedHandle(WDOMCountedHandle&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    // Takes the other's object before it lets its own go, so that assigning
    // a handle to itself, or to another handle on the same object, keeps
    // the object alive.
    WDOMCountedHandle& operator=(const WDOMCountedHandle& other) {
        WDOMCountedHandle copy(other);
        std::swap(object_, copy.object_);
        return *this;
    }
    WDOMCountedHandle& operator=(WDOMCountedHandle&& other) noexcept {
        WDOMCountedHandle taken(std::move(other));
        std::swap(object_, taken.object_);
        return *this;
    }
    ~WDOMCountedHandle() {
        if (object_ && object_->Release() == 0) delete object_;
    }

    bool IsNull() const { return object_ == nullptr; }
    T* Get() const { return object_; }
    T* operator->() const { return object_; }

    // Lets the object go without deleting it and answers it: an object
    // left at a count of 0 becomes the caller's, as a new one would.
    T* HandOut() {
        if (object_) object_->Release();
        return std::exchange(object_, nullptr);
    }

  private:
    T* object_ = nullptr;
};

class WDOMNamedNodeMapHandle;

class WDOMHandle : public WDOMCountedHandle<WDOMNode> {
  public:
    using WDOMCountedHandle::WDOMCountedHandle;

    // Lets the old node go and takes the other's.
    void Attach(const WDOMHandle& other) { *this = other; }

    IDOMString GetNodeName() const;
    IDOMString GetNodeValue() const;
    std::uint16_t GetNodeType() const;
    WDOMHandle GetFirstChild() const;
    WDOMHandle GetNextSibling() const;
    // A null map handle for any node that is not an element.
    WDOMNamedNodeMapHandle GetAttributes() const;
    // The data of text, CDATA and comment nodes; "" for any other node.
    IDOMString GetData() const;
};

class WDOMNamedNodeMapHandle : public WDOMCountedHandle<WDOMNamedNodeMap> {
  public:
    using WDOMCountedHandle::WDOMCountedHandle;

    // A null handle past the end.
    WDOMHandle Item(std::uint32_t index) const;
    std::uint32_t GetLength() const;
};

class WDOMNodeListHandle : public WDOMCountedHandle<WDOMNodeList> {
  public:
    using WDOMCountedHandle::WDOMCountedHandle;

    // A null handle past the end.
    WDOMHandle Item(std::uint32_t index) const;
    std::uint32_t GetLength() const;
};

}  // namespace markup
