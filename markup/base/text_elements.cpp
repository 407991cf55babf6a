// RunElement and EntityElement: their clones, the text test and entity
// look-up.
#include "markup/text_elements.h"

namespace markup {

RunElement::~RunElement() = default;

RunElement* RunElement::Clone() const {
    return CloneAs<RunElement>();
}

bool RunElement::HasText() const {
    if (TypeId() == kKindWhitespace || text_.IsEmpty()) return false;
    return !IsLoneNoBreakSpace(text_);
}

EntityElement::~EntityElement() = default;

EntityElement* EntityElement::Clone() const {
    return CloneAs<EntityElement>();
}

int EntityElement::SetText(const DictionaryBase* dictionary, const String& name) {
    name_ = name;
    String text;
    if (!dictionary || !dictionary->FindEntityText(name, text)) return 1;
    text_ = text;
    return 0;
}

void EntityElement::CopyFrom(const DocElement* other) {
    DocElement::CopyFrom(other);
    // Without its name a copied reference could not be named or written
    // back; a copy from another class has none to give.
    if (const auto* entity = dynamic_cast<const EntityElement*>(other)) name_ = entity->name_;
}

}  // namespace markup
