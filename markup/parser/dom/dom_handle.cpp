// The handles' forwarders: the calls by which the SVG import reads a
// document.
#include "markup/parser/dom/dom_handle.h"

namespace markup {

IDOMString WDOMHandle::GetNodeName() const {
    return IsNull() ? IDOMString() : Get()->nodeName();
}

IDOMString WDOMHandle::GetNodeValue() const {
    return IsNull() ? IDOMString() : Get()->nodeValue();
}

std::uint16_t WDOMHandle::GetNodeType() const {
    return IsNull() ? 0 : Get()->nodeType();
}

WDOMHandle WDOMHandle::GetFirstChild() const {
    return IsNull() ? WDOMHandle() : WDOMHandle(Get()->firstChild());
}

WDOMHandle WDOMHandle::GetNextSibling() const {
    return IsNull() ? WDOMHandle() : WDOMHandle(Get()->nextSibling());
}

WDOMNamedNodeMapHandle WDOMHandle::GetAttributes() const {
    return IsNull() ? WDOMNamedNodeMapHandle() : WDOMNamedNodeMapHandle(Get()->attributes());
}

IDOMString WDOMHandle::GetData() const {
    const auto* characters = dynamic_cast<const WDOMCharacterData*>(Get());
    return characters ? characters->data() : IDOMString("");
}

WDOMHandle WDOMNamedNodeMapHandle::Item(std::uint32_t index) const {
    return IsNull() ? WDOMHandle() : WDOMHandle(Get()->item(index));
}

std::uint32_t WDOMNamedNodeMapHandle::GetLength() const {
    return IsNull() ? 0 : Get()->length();
}

WDOMHandle WDOMNodeListHandle::Item(std::uint32_t index) const {
    return IsNull() ? WDOMHandle() : WDOMHandle(Get()->item(index));
}

std::uint32_t WDOMNodeListHandle::GetLength() const {
    return IsNull() ? 0 : Get()->length();
}

}  // namespace markup
