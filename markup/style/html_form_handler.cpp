// Form controls: collection in two passes over one walk, and clearing.
#include "markup/style/html_form_handler.h"

#include "markup/attr_element.h"
#include "subtree_walk.h"

namespace markup::style {

using detail::NextInSubtree;

template <class Visit>
void HTMLFormElementHandler::WalkControls(Visit visit) const {
    if (!form_ || !dictionary_) return;
    // Without recursion, so a deep form cannot exhaust the stack.
    for (Node* node = NextInSubtree(form_, form_); node; node = NextInSubtree(node, form_)) {
        auto* element = dynamic_cast<DocElement*>(node);
        if (element && dictionary_->GroupContains(element->TypeId(), kControlGroup)) visit(element);
    }
}

HTMLFormElementHandler::HTMLFormElementHandler(DocElement* form, const DictionaryBase* dictionary)
    : form_(form), dictionary_(dictionary) {
    std::uint32_t count = 0;
    WalkControls([&count](DocElement*) { ++count; });
    if (count == 0) return;
    controls_ = std::make_unique<DocElement*[]>(count);
    WalkControls([this](DocElement* control) { controls_[count_++] = control; });
}

HTMLFormElementHandler::~HTMLFormElementHandler() = default;

void HTMLFormElementHandler::ClearValues() {
    for (std::uint32_t i = 0; i < count_; ++i) {
        const AttrElement* control = AsAttrElement(controls_[i]);
        Attribute* value = control ? control->FindAttribute(kValueAttribute, false) : nullptr;
        if (!value) continue;
        value->value = String();
        value->valueCode = 0;
    }
}

}  // namespace markup::style
