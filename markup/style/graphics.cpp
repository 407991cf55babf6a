// Graphics: the module's one object and the cursors.
#include "markup/style/graphics.h"

#include "graphics_shared.h"
#include "markup/faults.h"
#include "markup/style/graphics_imp.h"

namespace markup::style {

namespace {

Graphics* shared = nullptr;
// The object Instance made, when it made one.
Graphics* made = nullptr;

constexpr std::uint32_t kSystemCursors[] = {
    kCursorArrow,  kCursorIBeam,  kCursorWait,       kCursorCross,  kCursorUpArrow, kCursorSizeNWSE, kCursorSizeNESW,
    kCursorSizeWE, kCursorSizeNS, kCursorSizeAll,    kCursorNo,     kCursorHand,    kCursorAppStarting,
    kCursorHelp,
};

}  // namespace

namespace detail {

Graphics* ExchangeSharedGraphics(Graphics* graphics) {
    Graphics* before = shared;
    shared = graphics;
    return before;
}

}  // namespace detail

Graphics::~Graphics() = default;

Graphics* Graphics::Shared() {
    return shared;
}

Graphics& Graphics::Instance() {
    // The object made here lives as long as the module; an object a caller
    // makes takes its place while it lives.
    if (!shared) {
        if (!made) {
            made = new GraphicsImp(platform::SystemFontBackend());
        } else {
            shared = made;
        }
    }
    return *shared;
}

void Graphics::SetSystemCursor(std::uint32_t id) {
    for (std::uint32_t known : kSystemCursors) {
        if (known == id) {
            cursor_ = id;
            return;
        }
    }
    throw InvalidArgumentFault();
}

// The module carries no cursor resources.
void Graphics::SetResourceCursor(std::uint32_t) {
    throw InvalidArgumentFault();
}

}  // namespace markup::style
