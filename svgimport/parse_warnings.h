// The parse diagnostics a user of the import must hear of: a file the
// document names that was refused, entity expansion cut at its bound, and
// input that ends inside a construct. Each becomes one warning line.
#pragma once

#include <string>

#include "markup/parser/dom/dom_handle.h"

namespace svgf::detail {

void ShowParseWarnings(const markup::WDOMHandle& document, const std::string& fileName);

}  // namespace svgf::detail
