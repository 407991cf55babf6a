// AttributeType: the type records, the factory and the group-formatted type.
#include "markup/parser/attribute_type.h"

#include "record_io.h"

namespace markup {

ReturnCodeEnum AttributeType::Read(InStream& stream) {
    return detail::CatchStatus([&] { ReadFields(stream); });
}

ReturnCodeEnum AttributeType::Write(OutStream& stream) const {
    return detail::CatchStatus([&] { WriteFields(stream); });
}

std::unique_ptr<AttributeType> AttributeType::Create(std::uint32_t kind, const AttributeDef* owner) {
    switch (kind) {
        case kTypeGroup:
            return std::make_unique<AttributeTypeGroup>(owner);
        case kTypeFormatted:
            return std::make_unique<AttributeTypeFormatted>(owner);
        case kTypeGroupFormatted:
            return std::make_unique<AttributeTypeGroupFormatted>(owner);
        default:
            return nullptr;
    }
}

std::unique_ptr<AttributeType> AttributeType::Clone(const AttributeDef* owner) const {
    std::unique_ptr<AttributeType> copy = Create(Kind(), owner);
    if (copy) copy->Assign(*this);
    return copy;
}

// Group formatted: the group part first, the formatted part where it fails.

void AttributeTypeGroupFormatted::Assign(const AttributeType& other) {
    AssignGroup(other);
    AssignFormatted(other);
}

bool AttributeTypeGroupFormatted::Check(const String& value, const Dictionary* dictionary) const {
    return AttributeTypeGroup::Check(value, dictionary) || AttributeTypeFormatted::Check(value, dictionary);
}

DictStatus AttributeTypeGroupFormatted::Format(String& text, std::int32_t number) const {
    const DictStatus status = AttributeTypeGroup::Format(text, number);
    return status == kDict_Ok ? status : AttributeTypeFormatted::Format(text, number);
}

DictStatus AttributeTypeGroupFormatted::ParseWithDictionary(std::int32_t& number, const String& text,
                                                            const Dictionary* dictionary) const {
    const DictStatus status = AttributeTypeGroup::ParseWithDictionary(number, text, dictionary);
    return status == kDict_Ok ? status
                              : AttributeTypeFormatted::ParseWithDictionary(number, text, dictionary);
}

DictStatus AttributeTypeGroupFormatted::Parse(std::int32_t& number, const String& text,
                                              const Dictionary* dictionary) const {
    const DictStatus status = AttributeTypeGroup::Parse(number, text, dictionary);
    return status == kDict_Ok ? status : AttributeTypeFormatted::Parse(number, text, dictionary);
}

DictStatus AttributeTypeGroupFormatted::FormatList(String& text, const NumberList& numbers) const {
    const DictStatus status = AttributeTypeGroup::FormatList(text, numbers);
    return status == kDict_Ok ? status : AttributeTypeFormatted::FormatList(text, numbers);
}

DictStatus AttributeTypeGroupFormatted::ParseList(NumberList& numbers, const String& text,
                                                  const Dictionary* dictionary) const {
    const DictStatus status = AttributeTypeGroup::ParseList(numbers, text, dictionary);
    return status == kDict_Ok ? status : AttributeTypeFormatted::ParseList(numbers, text, dictionary);
}

DictStatus AttributeTypeGroupFormatted::DefaultText(String& text) const {
    return AttributeTypeFormatted::DefaultText(text);
}

void AttributeTypeGroupFormatted::ReadFields(InStream& stream) {
    AttributeTypeGroup::ReadFields(stream);
    AttributeTypeFormatted::ReadFields(stream);
}

void AttributeTypeGroupFormatted::WriteFields(OutStream& stream) const {
    AttributeTypeGroup::WriteFields(stream);
    AttributeTypeFormatted::WriteFields(stream);
}

}  // namespace markup
