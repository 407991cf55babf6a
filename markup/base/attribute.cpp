// Attribute: its name through the dictionary, the parameter mark, copying.
#include "markup/attribute.h"

namespace markup {

const String& OptionalString::Nothing() {
    static const String empty{};
    return empty;
}

String Attribute::GetName(const DictionaryBase* dictionary) const {
    if (!name.IsEmpty()) return name.Get();
    String found;
    if (dictionary && dictionary->AttributeNameById(id, found)) return found;
    return String();
}

std::uint32_t Attribute::ParameterMark() const {
    return value.Find('%') >= 0 ? 16 : 0;
}

void Attribute::Assign(const Attribute& other) {
    value = other.value;
    id = other.id;
    valueCode = other.valueCode;
    specified = other.specified;
    name.Empty();
}

}  // namespace markup
