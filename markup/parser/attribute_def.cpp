// Attribute and CSS property definitions: their records and copies.
#include "markup/parser/attribute_def.h"

#include "record_io.h"

namespace markup {

using namespace detail;

ReturnCodeEnum AttributeDef::Read(InStream& stream, Dictionary* dictionary) {
    return detail::CatchStatus([&] { ReadFields(stream, dictionary); });
}

ReturnCodeEnum AttributeDef::Write(OutStream& stream) const {
    return detail::CatchStatus([&] { WriteFields(stream); });
}

AttributeType* AttributeDef::SetTypeKind(std::uint32_t kind) {
    type_ = AttributeType::Create(kind, this);
    return type_.get();
}

void AttributeDef::Assign(const AttributeDef& other) {
    if (&other == this) return;
    id_ = other.id_;
    name_ = other.name_;
    secondName_ = other.secondName_;
    type_ = other.type_ ? other.type_->Clone(this) : nullptr;
}

// id, name, second name, value kind and the type record of kinds 1 to 3. A
// type of the read kind is kept and reread; one of another kind is replaced.
void AttributeDef::ReadFields(InStream& stream, Dictionary*) {
    id_ = ReadWord(stream);
    ReadText(stream, name_);
    ReadText(stream, secondName_);
    const std::uint32_t kind = ReadWord(stream);
    if (!type_ || type_->Kind() != kind) SetTypeKind(kind);
    if (type_) detail::Require(type_->Read(stream));
}

void AttributeDef::WriteFields(OutStream& stream) const {
    WriteWord(stream, id_);
    WriteText(stream, name_);
    WriteText(stream, secondName_);
    WriteWord(stream, type_ ? type_->Kind() : 0);
    if (type_) detail::Require(type_->Write(stream));
}

// HTML attributes.

std::unique_ptr<AttributeDef> HTMLAttributeDef::Clone() const {
    auto copy = std::make_unique<HTMLAttributeDef>();
    copy->Assign(*this);
    return copy;
}

void HTMLAttributeDef::Assign(const AttributeDef& other) {
    AttributeDef::Assign(other);
    if (const auto* html = dynamic_cast<const HTMLAttributeDef*>(&other)) {
        defaultKind_ = html->defaultKind_;
        declaredType_ = html->declaredType_;
    }
}

void HTMLAttributeDef::ReadFields(InStream& stream, Dictionary* dictionary) {
    AttributeDef::ReadFields(stream, dictionary);
    defaultKind_ = ReadWord(stream);
    declaredType_ = ReadWord(stream);
}

void HTMLAttributeDef::WriteFields(OutStream& stream) const {
    AttributeDef::WriteFields(stream);
    WriteWord(stream, defaultKind_);
    WriteWord(stream, declaredType_);
}

// CSS properties.

std::unique_ptr<AttributeDef> CSSAttributeDef::Clone() const {
    auto copy = std::make_unique<CSSAttributeDef>();
    copy->Assign(*this);
    return copy;
}

void CSSAttributeDef::Assign(const AttributeDef& other) {
    AttributeDef::Assign(other);
    if (const auto* css = dynamic_cast<const CSSAttributeDef*>(&other); css && css != this) {
        wordA_ = css->wordA_;
        words_ = css->words_;
        flagA_ = css->flagA_;
        wordB_ = css->wordB_;
        flagB_ = css->flagB_;
    }
}

void CSSAttributeDef::ReadFields(InStream& stream, Dictionary* dictionary) {
    AttributeDef::ReadFields(stream, dictionary);
    wordA_ = ReadWord(stream);
    words_.Clear();
    const std::uint32_t count = ReadWord(stream);
    detail::CheckCount(stream, count, 4);
    for (std::uint32_t i = 0; i < count; ++i) words_.Add(ReadWord(stream));
    flagA_ = ReadByte(stream);
    wordB_ = ReadWord(stream);
    flagB_ = ReadByte(stream);
}

void CSSAttributeDef::WriteFields(OutStream& stream) const {
    AttributeDef::WriteFields(stream);
    WriteWord(stream, wordA_);
    WriteWord(stream, words_.Count());
    for (std::uint32_t word : words_) WriteWord(stream, word);
    WriteByte(stream, flagA_);
    WriteWord(stream, wordB_);
    WriteByte(stream, flagB_);
}

}  // namespace markup
