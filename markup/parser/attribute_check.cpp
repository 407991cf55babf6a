// ElementContentValidator: the attribute check of an element and its repair.
#include <memory>

#include "markup/parser/content_validator.h"

namespace markup {

namespace {

// Whether an earlier sibling of the same element type already carries the
// attribute with the same value.
bool EarlierSiblingHas(const AttrElement& element, const Attribute& attribute) {
    for (const Node* node = element.PreviousSibling(); node; node = node->PreviousSibling()) {
        const AttrElement* sibling = AsAttrElement(node);
        if (!sibling || sibling->TypeId() != element.TypeId()) continue;
        for (std::uint32_t i = 0; i < sibling->AttributeCount(); ++i) {
            const Attribute* other = sibling->AttributeAt(i);
            if (other && other->id == attribute.id && other->value == attribute.value) return true;
        }
    }
    return false;
}

// The value a missing required attribute is given: the declared default
// when there is one, else its type's own (the group's default value, the
// format's text).
bool DefaultValue(const HTMLAttributeDef& definition, String& value) {
    const AttributeType* type = definition.Type();
    if (!type) return false;
    if (type->DefaultText(value) == kDict_Ok) return true;
    if (const auto* formatted = dynamic_cast<const AttributeTypeFormatted*>(type)) {
        if (!formatted->FormatText().IsEmpty()) {
            value = formatted->FormatText();
            return true;
        }
    }
    if (const auto* group = dynamic_cast<const AttributeTypeGroup*>(type)) {
        if (const AttributeTypeGroup::ValueUserPair* pair = group->PairAt(group->DefaultIndex())) {
            value = pair->value;
            return true;
        }
    }
    return false;
}

}  // namespace

bool ElementContentValidator::CheckAttributes(const Dictionary& dictionary, std::vector<AttributeStatus>& statuses,
                                              IdList& missing, const AttrElement& element) {
    statuses.clear();
    missing.Clear();
    const ElementDef* definition = dictionary.FindElement(element.TypeId());
    if (definition) {
        for (std::uint32_t id : definition->RequiredAttributes(dictionary)) missing.Add(id);
    }
    const bool acceptUndeclared = dictionary.CaseSensitive() && dictionary.IsOpen();
    bool clean = true;
    for (std::uint32_t i = 0; i < element.AttributeCount(); ++i) {
        AttributeStatus status = kAttributeAccepted;
        if (const Attribute* attribute = element.AttributeAt(i)) {
            missing.Remove(attribute->id);
            DictStatus result = kDict_Ok;
            bool unique = false;
            if (!definition || !definition->TakesAttribute(attribute->id)) {
                if (!acceptUndeclared) status = kAttributeUndeclared;
            } else if (!dictionary.CheckAttribute(result, attribute->id, attribute->value, unique)) {
                status = result == kDict_Unknown ? kAttributeUndeclared : kAttributeRejected;
            } else if (unique && EarlierSiblingHas(element, *attribute)) {
                status = kAttributeUndeclared;
            }
        }
        statuses.push_back(status);
        if (status != kAttributeAccepted) clean = false;
    }
    return clean && missing.IsEmpty();
}

void ElementContentValidator::RepairAttributes(const Dictionary& dictionary, AttrElement& element,
                                               ContentReporter& reporter,
                                               std::vector<AttributeStatus>* statusesScratch) {
    std::vector<AttributeStatus> own;
    std::vector<AttributeStatus>& statuses = statusesScratch ? *statusesScratch : own;
    IdList missing;
    if (CheckAttributes(dictionary, statuses, missing, element)) return;
    for (std::uint32_t i = 0; i < statuses.size(); ++i) {
        Attribute* attribute = element.AttributeAt(i);
        if (!attribute || statuses[i] == kAttributeAccepted) continue;
        attribute->specified = 0;
        reporter.ReportOnAttribute(
            statuses[i] == kAttributeUndeclared ? kDiagUndeclaredAttribute : kDiagRejectedAttributeValue, element,
            *attribute);
    }
    for (std::uint32_t id : missing) {
        auto added = std::make_unique<Attribute>(id);
        const HTMLAttributeDef* definition = dictionary.FindAttribute(id);
        if (definition && DefaultValue(*definition, added->value)) {
            added->valueCode = dictionary.AttributeValueCode(id, added->value);
        } else {
            added->specified = 0;  // no value to give it
        }
        Attribute& placed = *added;
        element.AddAttribute(std::move(added));
        reporter.ReportOnAttribute(kDiagRequiredAttributeAdded, element, placed);
    }
}

}  // namespace markup
