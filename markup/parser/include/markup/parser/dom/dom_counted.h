// WDOMCounted: the reference count of a DOM object (node facade, map,
// list), which starts at 0 and only counts: the handle that drops it to 0
// deletes the object.
#pragma once

#include <cstdint>

namespace markup {

template <class Interface>
class WDOMCounted : public Interface {
  public:
    std::uint32_t AddRef() override { return ++references_; }
    // Stops at 0.
    std::uint32_t Release() override { return references_ ? --references_ : 0; }
    std::uint32_t GetRefCount() const override { return references_; }

  private:
    std::uint32_t references_ = 0;
};

}  // namespace markup
