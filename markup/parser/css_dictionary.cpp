// CSSDictionary: its file and the property and keyword look-ups.
//
// File: one header word, then the property cross-reference (count, then key,
// index and CSS property record per entry). A record is the attribute part
// (id, name, second name, value kind, type record) followed by word A, the
// definition's word count and words, flag A, word B and flag B.
#include "markup/parser/css_dictionary.h"

#include "cross_reference_io.h"
#include "dictionary_files.h"
#include "platform/latin1_text.h"
#include "record_io.h"

namespace markup {

namespace {

// id, name and second name counts, value kind, word A, word count, flag A,
// word B, flag B.
constexpr std::uint32_t kSmallestProperty = 30;

}  // namespace

CSSDictionary* CSSDictionary::Get(std::unique_ptr<CSSDictionary>& holder) {
    if (!holder) {
        auto made = std::make_unique<CSSDictionary>();
        made->Load(kFileName);
        made->SetName(kGetName);
        holder = std::move(made);
    }
    return holder.get();
}

ReturnCodeEnum CSSDictionary::Load(const String& fileName) {
    fileName_ = fileName;
    return detail::ReadDictionaryFile(fileName_, [this](InStream& stream) { return ReadStream(stream); });
}

ReturnCodeEnum CSSDictionary::ReadStream(InStream& stream) {
    properties_.Clear();
    return detail::CatchStatus([&] {
        header_ = detail::ReadWord(stream);
        detail::ReadEntries(stream, properties_, kSmallestProperty,
                            [&](CSSAttributeDef& property) { return property.Read(stream, nullptr); });
    });
}

ReturnCodeEnum CSSDictionary::WriteStream(OutStream& stream) const {
    return detail::CatchStatus([&] {
        detail::WriteWord(stream, header_);
        detail::WriteEntries(stream, properties_);
    });
}

ReturnCodeEnum CSSDictionary::Save(const String& fileName) const {
    return detail::WriteDictionaryFile(fileName, [this](OutStream& stream) { return WriteStream(stream); });
}

bool CSSDictionary::PropertyIdByName(const String& name, std::uint32_t& id) const {
    String lower(name);
    char* text = nullptr;
    if (lower.GetBuffer(text)) platform::CharLowerA(text);
    return properties_.IdByName(lower, id);
}

namespace {

// The property's type as a T: kDict_Unknown without the property,
// kDict_WrongKind when its type (if any) is not of that kind.
template <class T>
DictStatus TypeAs(const CSSDictionary& css, std::uint32_t propertyId, const T*& type) {
    const CSSAttributeDef* property = css.FindProperty(propertyId);
    if (!property) return kDict_Unknown;
    const auto* found = dynamic_cast<const T*>(property->Type());
    if (!found) return kDict_WrongKind;
    type = found;
    return kDict_Ok;
}

}  // namespace

DictStatus CSSDictionary::GroupType(const AttributeTypeGroup*& group, std::uint32_t propertyId) const {
    return TypeAs(*this, propertyId, group);
}

DictStatus CSSDictionary::FormattedType(const AttributeTypeFormatted*& type, std::uint32_t propertyId) const {
    return TypeAs(*this, propertyId, type);
}

// A text that is none of the keywords answers kDict_NoMatch: the default
// index the match falls back to names a keyword the text is not.
DictStatus CSSDictionary::GroupValue(std::uint32_t& valueId, std::uint32_t propertyId,
                                     const String& text) const {
    valueId = 0;
    const AttributeTypeGroup* group = nullptr;
    const DictStatus found = GroupType(group, propertyId);
    if (found != kDict_Ok) return found;
    std::uint32_t index = 0;
    const DictStatus matched = group->Match(index, text, nullptr);
    if (matched != kDict_Ok) return matched;
    const AttributeTypeGroup::ValueUserPair* pair = group->PairAt(index);
    if (!pair) return kDict_OutOfRange;
    valueId = pair->valueId;
    return kDict_Ok;
}

DictStatus CSSDictionary::ParseValue(std::int32_t& result, std::uint32_t propertyId,
                                     const String& text) const {
    result = 0;
    const AttributeTypeGroup* group = nullptr;
    const DictStatus found = GroupType(group, propertyId);
    if (found != kDict_Ok) return found;
    return group->ParseWithDictionary(result, text, nullptr);
}

DictStatus CSSDictionary::FormatCount(std::uint32_t& count, std::uint32_t propertyId) const {
    const AttributeTypeFormatted* type = nullptr;
    const DictStatus found = FormattedType(type, propertyId);
    if (found != kDict_Ok) return found;
    count = type->Formats().Count();
    return kDict_Ok;
}

DictStatus CSSDictionary::FormatWord(std::uint32_t& word, std::uint32_t propertyId,
                                     std::uint32_t index) const {
    const AttributeTypeFormatted* type = nullptr;
    const DictStatus found = FormattedType(type, propertyId);
    if (found != kDict_Ok) return found;
    if (index >= type->Formats().Count()) return kDict_OutOfRange;
    word = type->Formats()[index];
    return kDict_Ok;
}

}  // namespace markup
