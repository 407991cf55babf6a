// The natural size of an embedded control: its class is found by the class
// id its element names, an instance is made and asked for the extent of its
// content view.
#pragma once

#include <cstdint>

#include "markup/attr_element.h"
#include "platform/embedded_controls.h"

namespace markup::style {

// The class id an element names: the class-id attribute's text after its
// first ":" (all of it when there is none), in braces. The null id when the
// attribute is missing or the text is no class id.
platform::ClassId ElementClassId(const AttrElement& element);

// Width and height in screen pixels; false when the class is unknown, or
// its instance has no view or no extent.
bool ControlNaturalSize(const AttrElement& element, std::int32_t& width, std::int32_t& height);

}  // namespace markup::style
