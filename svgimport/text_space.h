// The spaces of a text's character data as SVG 1.1's xml:space rules
// leave them.
#ifndef SVGIMPORT_TEXT_SPACE_H
#define SVGIMPORT_TEXT_SPACE_H

#include <string>
#include <vector>

#include "markup/parser/dom/dom_handle.h"

namespace SVG::detail {

// Whether xml:space, the element's own or its nearest ancestor's, is
// "preserve".
bool PreservesSpace(const markup::WDOMHandle& element);

// One stretch of a text's characters and the xml:space of its element.
struct SpacedText {
    std::string text;
    bool preserve = false;
};

// Over the stretches of one text element in order: under "default"
// newlines go, tabs become spaces, and spaces at the start and end of the
// whole text or after another space go; under "preserve" each tab, newline
// and carriage return (a CR LF pair together) becomes one space and
// nothing else changes.
void ArrangeSpaces(std::vector<SpacedText>& stretches);

}  // namespace SVG::detail

#endif  // SVGIMPORT_TEXT_SPACE_H
