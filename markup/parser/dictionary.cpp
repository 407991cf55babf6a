// Dictionary and DictionaryEditor: the look-ups and the editing operations.
#include "markup/parser/dictionary.h"

#include <cstdint>
#include <new>

#include "markup/faults.h"
#include "platform/latin1_text.h"

namespace markup {

// The editor.

DictStatus DictionaryEditor::GroupByClass(const ElementGroup*& group, std::uint32_t groupClass) const {
    for (const auto& g : dictionary_.Groups()) {
        if (g->GroupClass() == groupClass) {
            group = g.get();
            return kDict_Ok;
        }
    }
    group = nullptr;
    return kDict_Missing;
}

DictStatus DictionaryEditor::ValueById(const ValueDef*& value, std::uint32_t id) const {
    for (const auto& v : dictionary_.Values()) {
        if (v->Id() == id) {
            value = v.get();
            return kDict_Ok;
        }
    }
    value = nullptr;
    return kDict_Missing;
}

namespace {

// The first id above start that no pair holds; 0 when the ids run out.
// The pairs ascend by key, so the run of keys start + 1, start + 2, ... is
// found by bisection: an open dictionary that learns names one by one must
// not walk all the ids it learned for every new one.
template <class T>
std::uint32_t FirstFreeAbove(std::uint32_t start, const CrossReference<T>& entries) {
    if (start == UINT32_MAX) return 0;
    const std::uint32_t first = start + 1;
    const std::uint32_t n = entries.EntryCount();
    std::uint32_t low = 0;
    std::uint32_t high = n;
    while (low < high) {
        const std::uint32_t middle = low + (high - low) / 2;
        if (entries.KeyAt(middle) < first) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    std::uint64_t candidate = first;
    if (low < n && entries.KeyAt(low) == first) {
        // The last pair of the run first, first + 1, ... that begins at `low`.
        const std::uint32_t run = low;
        high = n - 1;
        while (low < high) {
            const std::uint32_t middle = low + (high - low + 1) / 2;
            if (entries.KeyAt(middle) == std::uint64_t{first} + (middle - run)) {
                low = middle;
            } else {
                high = middle - 1;
            }
        }
        candidate = std::uint64_t{entries.KeyAt(low)} + 1;
    }
    if (candidate <= UINT32_MAX && !entries.HoldsKey(static_cast<std::uint32_t>(candidate))) {
        return static_cast<std::uint32_t>(candidate);
    }
    // Keys out of order (a damaged file): the plain walk.
    for (std::uint32_t id = first; id != 0; ++id) {
        if (!entries.HoldsKey(id)) return id;
    }
    return 0;
}

}  // namespace

std::uint32_t DictionaryEditor::NewElementId() const {
    const std::uint32_t h2 = dictionary_.Header(1);
    return FirstFreeAbove(h2 > Dictionary::kFirstFreeElementId ? h2 : Dictionary::kFirstFreeElementId,
                          dictionary_.Elements());
}

std::uint32_t DictionaryEditor::NewAttributeId() const {
    return FirstFreeAbove(dictionary_.Header(2), dictionary_.Attributes());
}

DictStatus DictionaryEditor::AddEntity(const String& name, const String& text) {
    const DictStatus status = dictionary_.Entities().Add(name, text);
    if (status == kDict_Ok) modified_ = 1;
    return status;
}

// The dictionary.

Dictionary::Dictionary() = default;
Dictionary::~Dictionary() = default;

DictionaryEditor& Dictionary::CreateEditor() {
    editor_ = std::make_unique<DictionaryEditor>(*this);
    return *editor_;
}

void Dictionary::AddGroup(std::unique_ptr<ElementGroup> group) {
    try {
        groups_.push_back(std::move(group));
    } catch (const std::bad_alloc&) {
        throw MemoryAllocationFault();
    }
}

void Dictionary::AddValue(std::unique_ptr<ValueDef> value) {
    try {
        values_.push_back(std::move(value));
    } catch (const std::bad_alloc&) {
        throw MemoryAllocationFault();
    }
}

String Dictionary::LookupName(const String& name) const {
    String lookup(name);
    if (!CaseSensitive()) {
        char* text = nullptr;
        if (lookup.GetBuffer(text)) platform::CharLowerA(text);
    }
    return lookup;
}

const String& Dictionary::LookupName(const String& name, String& lowered) const {
    if (CaseSensitive()) return name;
    lowered = LookupName(name);
    return lowered;
}

const ElementGroup* Dictionary::FindGroup(std::uint32_t groupClass) const {
    for (const auto& group : groups_) {
        if (group->GroupClass() == groupClass) return group.get();
    }
    return nullptr;
}

DictStatus Dictionary::ElementIdByName(const String& name, std::uint32_t& id) const {
    String lowered;
    return elements_.IdByName(LookupName(name, lowered), id) ? kDict_Ok : kDict_NotFound;
}

DictStatus Dictionary::ElementHasModel(const String& name) const {
    std::uint32_t id = 0;
    if (ElementIdByName(name, id) != kDict_Ok) return kDict_NotFound;
    return ElementHasModel(id);
}

DictStatus Dictionary::ElementHasModel(std::uint32_t id) const {
    const ElementDef* element = FindElement(id);
    if (!element) return kDict_NotFound;
    // A model declared EMPTY reports no content, as no model does.
    const ContentSymbol* model = element->Model();
    return model && !DeclaresEmptyContent(*model) ? kDict_Unknown : kDict_Ok;
}

ElementHolds Dictionary::ElementContentKind(std::uint32_t id) const {
    bool empty = false;
    if (!ElementIsEmpty(id, empty)) return kElementUnknown;
    return empty ? kElementEmpty : kElementWithContent;
}

bool Dictionary::GroupContains(std::uint32_t elementId, std::uint32_t groupClass) const {
    const ElementGroup* group = FindGroup(groupClass);
    if (!group) return false;
    if (groupClass == ElementGroup::kAllElements) {
        return elementId < header_[1] || elements_.HoldsKey(elementId);
    }
    return group->Members().Contains(elementId);
}

DictStatus Dictionary::GroupMember(std::uint32_t& id, std::uint32_t groupClass, std::uint32_t index) const {
    const ElementGroup* group = FindGroup(groupClass);
    if (!group) return kDict_Missing;
    if (groupClass == ElementGroup::kAllElements) {
        const ElementDef* element = elements_.At(index);
        if (!element) return kDict_OutOfRange;
        id = element->Id();
        return kDict_Ok;
    }
    if (index >= group->Members().Count()) return kDict_OutOfRange;
    id = group->Members()[index];
    return kDict_Ok;
}

std::uint32_t Dictionary::GroupSize(std::uint32_t groupClass) const {
    if (groupClass == ElementGroup::kAllElements) return elements_.EntryCount();
    const ElementGroup* group = FindGroup(groupClass);
    return group ? group->Members().Count() : 0;
}

DictStatus Dictionary::FindAttributeForElement(const String& name, std::uint32_t elementId, std::uint32_t& id,
                                               std::uint32_t& firstNamesake) const {
    String lowered;
    const HTMLAttributeDef* first = attributes_.FindByName(LookupName(name, lowered));
    if (!first) return kDict_NotFound;
    firstNamesake = first->Id();
    const ElementDef* element = FindElement(elementId);
    if (element) {
        for (const HTMLAttributeDef* a = first; a; a = attributes_.NextNamesake(*a)) {
            if (element->TakesAttribute(a->Id())) {
                id = a->Id();
                return kDict_Ok;
            }
        }
    }
    return kDict_NoMatch;
}

DictStatus Dictionary::AttributeGroup(std::uint32_t attributeId, const AttributeTypeGroup*& group,
                                      std::uint32_t reserved) const {
    const HTMLAttributeDef* attribute = FindAttribute(attributeId);
    if (reserved != 0 || !attribute) return kDict_Unknown;
    // A plain formatted type, the kind every learned attribute has, is no
    // group: asked for each attribute parsed, it is told without a cast.
    if (!attribute->Type() || attribute->Type()->Kind() == kTypeFormatted) return kDict_WrongKind;
    const auto* found = dynamic_cast<const AttributeTypeGroup*>(attribute->Type());
    if (!found) return kDict_WrongKind;
    group = found;
    return kDict_Ok;
}

bool Dictionary::CheckAttribute(DictStatus& result, std::uint32_t attributeId, const String& value,
                                bool& uniqueAmongSiblings) const {
    uniqueAmongSiblings = false;
    const HTMLAttributeDef* attribute = FindAttribute(attributeId);
    if (!attribute) {
        result = kDict_Unknown;
        return false;
    }
    if (CaseSensitive()) {
        result = kDict_Ok;
        return true;
    }
    // A definition without a value type sets no bounds on its values.
    const bool accepted = !attribute->Type() || attribute->Type()->Check(value, this);
    result = accepted ? kDict_Ok : kDict_NotFound;
    uniqueAmongSiblings = accepted && attribute->DeclaredType() == kDeclaredUnique;
    return accepted;
}

std::uint32_t Dictionary::AttributeValueCode(std::uint32_t attributeId, const String& text) const {
    const AttributeTypeGroup* group = nullptr;
    if (AttributeGroup(attributeId, group) != kDict_Ok) return 0;
    std::uint32_t index = 0;
    if (group->Match(index, text, this) != kDict_Ok) return 0;
    return group->PairAt(index)->valueId;
}

std::int32_t Dictionary::TypedAttributeValue(std::uint32_t attributeId, const String& text) const {
    const HTMLAttributeDef* attribute = FindAttribute(attributeId);
    if (!attribute || !attribute->Type()) return 0;
    std::int32_t number = 0;
    return attribute->Type()->Parse(number, text, this) == kDict_Ok ? number : 0;
}

bool Dictionary::ElementNameById(std::uint32_t id, String& name) const {
    const ElementDef* element = FindElement(id);
    if (!element) return false;
    name = element->Name();
    return true;
}

bool Dictionary::ElementIsEmpty(std::uint32_t id, bool& empty) const {
    const ElementDef* element = FindElement(id);
    if (!element) return false;
    empty = element->TakesNoContent();
    return true;
}

bool Dictionary::AttributeNameById(std::uint32_t id, String& name) const {
    const HTMLAttributeDef* attribute = FindAttribute(id);
    if (!attribute) return false;
    name = attribute->Name();
    return true;
}

bool Dictionary::FindEntityText(const String& name, String& text) const {
    String found;
    return entities_.FindEntry(name, found, text);
}

}  // namespace markup
