// A style source for the reader's tests: presentation attributes and the
// `style` attribute of the element (the `style` attribute winning), the
// inherited properties taken from the nearest ancestor that sets them.
// What the style engine's cascade does beyond that (sheets, selectors,
// computed units) is not here.
#pragma once

#include "svgimport/style_source.h"

namespace reader_test {

class AttributeStyles : public SVG::WStyleSource {
  public:
    bool GetStyle(const markup::WDOMHandle& element, SVG::WComputedStyle* style) override;
    int calls = 0;
};

}  // namespace reader_test
