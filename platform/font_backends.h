// The system font back end's maker, where the build has a font library.
#pragma once

#include <memory>

#include "platform/font_backend.h"

namespace platform {

// Null when the libraries cannot be set up.
std::unique_ptr<FontBackend> MakeFreeTypeFontBackend();

}  // namespace platform
