#include "rc_object.h"

namespace svgf {

RCBase::~RCBase() = default;

RCBase& RCBase::Empty() {
    // Never freed: pointers held by other static objects may still release
    // it while the module unloads.
    static RCBase* const empty = [] {
        auto* instance = new RCBase;
        instance->AddRef();
        return instance;
    }();
    return *empty;
}

}  // namespace svgf
