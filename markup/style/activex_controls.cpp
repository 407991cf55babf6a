// Natural sizes of embedded controls.
#include "markup/style/activex_controls.h"

#include <string>

#include "markup/style/html_elements.h"

namespace markup::style {

platform::ClassId ElementClassId(const AttrElement& element) {
    platform::ClassId id;
    const Attribute* attribute = element.FindAttribute(ActiveXElementBase::kClassIdAttribute, false);
    if (!attribute) return id;
    std::string text(attribute->value.Text(), attribute->value.Length());
    // "clsid:XXXXXXXX-..." names the class after the scheme.
    const std::size_t colon = text.find(':');
    if (colon != std::string::npos) text.erase(0, colon + 1);
    // The wide-character form the component system reads holds 255.
    if (text.size() > 253) return id;
    platform::ClassIdFromString("{" + text + "}", id);
    return id;
}

bool ControlNaturalSize(const AttrElement& element, std::int32_t& width, std::int32_t& height) {
    const platform::ClassId id = ElementClassId(element);
    if (id.IsNull()) return false;
    std::unique_ptr<platform::EmbeddedControl> control = platform::ControlClassRegistry::Instance().Create(id);
    if (!control) return false;
    control->InitNew();
    platform::HimetricSize extent;
    if (!control->GetExtent(platform::kAspectContent, extent)) return false;
    width = platform::HimetricToPixels(extent.width);
    height = platform::HimetricToPixels(extent.height);
    return true;
}

}  // namespace markup::style
