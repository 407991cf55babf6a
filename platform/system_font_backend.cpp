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

// Destroyed at exit, which gives the font library back what it holds; the
// module's graphics object, which lives on, makes no call then.
SystemBackend& System() {
    static SystemBackend system;
    return system;
}

}  // namespace

FontBackend& SystemFontBackend() {
    return *System().backend;
}

bool SystemFontBackendIsReal() {
    return System().real;
}

}  // namespace platform
