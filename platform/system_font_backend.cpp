// The process's font back end: the FreeType one where the build has it and
// it starts, else the fixed one.
#include "font_backends.h"
#include "platform/font_backend.h"

namespace platform {

namespace {

struct SystemBackend {
    std::unique_ptr<FontBackend> backend;
    bool real = false;

    SystemBackend() {
#if SVGFILTER_HAVE_FREETYPE
        backend = MakeFreeTypeFontBackend();
        real = backend != nullptr;
#endif
        if (!backend) backend = std::make_unique<FixedFontBackend>();
    }
};

SystemBackend& System() {
    // Never destroyed: fonts made through it may be released at exit by
    // objects destroyed after it.
    static SystemBackend* system = new SystemBackend();
    return *system;
}

}  // namespace

FontBackend& SystemFontBackend() {
    return *System().backend;
}

bool SystemFontBackendIsReal() {
    return System().real;
}

}  // namespace platform
