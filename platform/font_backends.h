// What the font back ends share: the system back end's maker, where the
// build has a font library, and the metrics' fields a font's description
// gives.
#pragma once

#include <memory>

#include "platform/font_backend.h"

namespace platform {

// Null when the libraries cannot be set up.
std::unique_ptr<FontBackend> MakeFreeTypeFontBackend();

// Weight, the three flags, pitch and family, and character set.
void CopyStyleFields(const LogFont& font, TextMetrics& out);

}  // namespace platform
