// The module-wide graphics pointer, as GraphicsImp takes and gives it back.
#pragma once

#include "markup/style/graphics.h"

namespace markup::style::detail {

// Makes `graphics` the module's object and answers the one before.
Graphics* ExchangeSharedGraphics(Graphics* graphics);

}  // namespace markup::style::detail
