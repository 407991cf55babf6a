// AttrElement: its attribute vector, copies and look-ups.
#include "markup/attr_element.h"

#include <new>

#include "markup/faults.h"

namespace markup {

AttributeList::~AttributeList() {
    while (count_) DeleteLast();
}

void AttributeList::DeleteLast() {
    if (count_) delete static_cast<Attribute*>(RemoveAt(count_ - 1));
}

void AttributeList::AppendAll(const AttributeList& other) {
    for (std::uint32_t i = 0; i < other.Count(); ++i) {
        const Attribute* item = other.At(i);
        Add(item ? new (std::nothrow) Attribute(*item) : nullptr);
    }
}

AttrElement::~AttrElement() = default;

AttrElement* AttrElement::Clone() const {
    return CloneAs<AttrElement>();
}

void AttrElement::CopyFrom(const DocElement* other) {
    const AttrElement* source = AsAttrElement(other);
    if (!source) throw InvalidArgumentFault();
    NoteTreeEdit();
    DocElement::CopyFrom(other);
    if (source == this) return;
    while (attributes_.Count()) attributes_.DeleteLast();
    attributes_.AppendAll(source->attributes_);
}

void AttrElement::AddAttribute(std::unique_ptr<Attribute> attribute) {
    if (!attribute) return;
    NoteTreeEdit();
    attributes_.Add(attribute.get());
    attribute.release();
}

Attribute* AttrElement::FindAttribute(std::uint32_t id, bool requireValue) const {
    const bool plain = IsPlainId(id);
    for (std::uint32_t i = 0; i < attributes_.Count(); ++i) {
        Attribute* attribute = attributes_.At(i);
        if (!attribute) continue;
        const std::uint32_t have = plain ? NormalizeAttributeId(attribute->id) : attribute->id;
        if (have != id) continue;
        if (requireValue && !attribute->specified) return nullptr;
        return attribute;
    }
    return nullptr;
}

String AttrElement::GetAttributeText(const DictionaryBase* dictionary, bool skipLast) const {
    String text;
    std::uint32_t count = attributes_.Count();
    if (skipLast && count) --count;
    for (std::uint32_t i = 0; i < count; ++i) {
        const Attribute* attribute = attributes_.At(i);
        if (!attribute) continue;
        text += attribute->GetName(dictionary);
        text += '=';
        text += attribute->value;
    }
    return text;
}

AttrElement* AsAttrElement(Node* node) {
    return node ? node->ToAttrElement() : nullptr;
}

const AttrElement* AsAttrElement(const Node* node) {
    return node ? node->ToAttrElement() : nullptr;
}

}  // namespace markup
