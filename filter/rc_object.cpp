#include "rc_object.h"

#include <new>

namespace svgf {

RCBase::~RCBase() = default;

RCBase& RCBase::Empty() {
    // Never destroyed: pointers held by other static objects may still
    // release it while the module unloads. It lives in the module's own
    // storage rather than on the heap, so that unloading the module leaves
    // no unreachable block behind.
    alignas(RCBase) static unsigned char storage[sizeof(RCBase)];
    static RCBase* const empty = [] {
        auto* instance = new (storage) RCBase;
        instance->AddRef();
        return instance;
    }();
    return *empty;
}

}  // namespace svgf
