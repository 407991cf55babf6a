// What the style mapper's files share: the element being styled with its
// record and the settings that steer the presentational rules, attribute
// readers, and the rule passes each file implements.
#pragma once

#include <cstdint>

#include "markup/attr_element.h"
#include "markup/doc_element.h"
#include "markup/parser/css_dictionary.h"
#include "markup/style/graphics.h"
#include "markup/style/style_map.h"
#include "markup/style/style_properties.h"

namespace markup::style::detail {

// A border colour word that no attribute set.
inline constexpr std::uint32_t kColourNotSet = 0xFABCDEFA;
// The top byte that marks a colour transparent.
inline constexpr std::uint32_t kTransparentMark = 0xFF000000;

struct StyleContext {
    StyleMapImp& mapper;
    DocElement& node;
    AttrElement* element;  // null for a node without attributes
    StyleProperties& style;
    Graphics& graphics;
    std::uint32_t kind;
    std::uint32_t mode;  // the settings' style mode
    bool placeholders;
    const CSSDictionary* css;  // the document's, for colour names; may be null

    // The attribute when the element has it with a value; else null.
    const Attribute* Attr(std::uint32_t id) const;
    bool Has(std::uint32_t id) const { return Attr(id) != nullptr; }
    // The value read as a decimal number (as atol reads it).
    bool Number(std::uint32_t id, std::int32_t& out) const;
    // The value as a colour: "#rgb", "#rrggbb", "rrggbb" or a colour name.
    bool Colour(std::uint32_t id, std::uint32_t& out) const;
    std::uint32_t ValueCode(std::uint32_t id) const;
    std::uint32_t ControlKind() const { return style.GetControlKind(); }
    // The record of an element of the tree (computed when not yet).
    StyleProperties* StyleOf(Node* node) const;
};

// atol of a text: leading blanks, a sign, then digits; 0 when none.
std::int32_t ReadDecimal(const char* text);
bool ReadColour(const String& text, const CSSDictionary* css, std::uint32_t& out);

// The control-kind word of the element as the record now stands.
std::uint32_t ControlKindOf(const StyleContext& c);
// Rules 1 to 12 of the HTML presentation, in order.
void ApplyPresentation(StyleContext& c);
// The margins, borders and paddings of tables, cells, lists and the body.
void ApplyBoxLengths(StyleContext& c);
void ApplySideWidths(StyleContext& c);
void ApplyPaddings(StyleContext& c);
void ApplyBorderColours(StyleContext& c);
// The second string of form controls, then widths and heights (46, 47).
void ApplyControlText(StyleContext& c);
void ApplySizes(StyleContext& c);
// The marker text of a numbered list item.
void NumberListItem(StyleContext& c);

}  // namespace markup::style::detail
