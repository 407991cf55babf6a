// Element definitions, element groups and named values: records and copies.
#include "markup/parser/element_def.h"

#include "markup/parser/dictionary.h"
#include "record_io.h"

namespace markup {

using namespace detail;

namespace {

void ReadIds(InStream& stream, IdList& ids) {
    const std::uint32_t count = ReadWord(stream);
    detail::CheckCount(stream, count, 4);
    for (std::uint32_t i = 0; i < count; ++i) ids.Add(ReadWord(stream));
}

void WriteIds(OutStream& stream, const IdList& ids) {
    WriteWord(stream, ids.Count());
    for (std::uint32_t id : ids) WriteWord(stream, id);
}

}  // namespace

ReturnCodeEnum ElementDef::Read(InStream& stream, const Dictionary& dictionary) {
    return detail::CatchStatus([&] { ReadFields(stream, dictionary); });
}

ReturnCodeEnum ElementDef::Write(OutStream& stream) const {
    return detail::CatchStatus([&] { WriteFields(stream); });
}

void ElementDef::ReadFields(InStream& stream, const Dictionary& dictionary) {
    id_ = ReadWord(stream);
    ReadText(stream, name_);
    ReadText(stream, secondName_);
    for (std::uint8_t& flag : flags_) flag = ReadByte(stream);
    ReadIds(stream, attributes_);
    requiredIn_ = nullptr;
    word_ = ReadWord(stream);
    if (ReadWord(stream) != 0) {
        const std::uint32_t kind = ReadWord(stream);
        std::unique_ptr<ContentSymbol> model = ContentSymbol::Create(kind, 0);
        detail::Require(model->Read(stream));
        model_ = std::move(model);
        model_->CollectIds(allowedChildren_, dictionary, ContentSymbol::MissingGroup::Skip);
        modelIdCount_ = allowedChildren_.Count();
    }
    ReadIds(stream, allowedChildren_);
    ReadIds(stream, inclusions_);
    ReadIds(stream, exclusions_);
}

void ElementDef::WriteFields(OutStream& stream) const {
    WriteWord(stream, id_);
    WriteText(stream, name_);
    WriteText(stream, secondName_);
    for (std::uint8_t flag : flags_) WriteByte(stream, flag);
    WriteIds(stream, attributes_);
    WriteWord(stream, word_);
    WriteWord(stream, model_ ? 1 : 0);
    if (model_) detail::Require(model_->Write(stream));
    // The extra children: those after the ones the model named.
    const std::uint32_t from =
        modelIdCount_ < allowedChildren_.Count() ? modelIdCount_ : allowedChildren_.Count();
    WriteWord(stream, allowedChildren_.Count() - from);
    for (std::uint32_t i = from; i < allowedChildren_.Count(); ++i) WriteWord(stream, allowedChildren_[i]);
    WriteIds(stream, inclusions_);
    WriteIds(stream, exclusions_);
}

void ElementDef::Assign(const ElementDef& other) {
    if (&other == this) return;
    id_ = other.id_;
    name_ = other.name_;
    secondName_ = other.secondName_;
    for (int i = 0; i < 3; ++i) flags_[i] = other.flags_[i];
    word_ = other.word_;
    modelIdCount_ = other.modelIdCount_;
    model_ = other.model_ ? other.model_->Clone() : nullptr;
    attributes_ = other.attributes_;
    requiredIn_ = nullptr;
    allowedChildren_ = other.allowedChildren_;
    inclusions_ = other.inclusions_;
    exclusions_ = other.exclusions_;
}

const IdList& ElementDef::RequiredAttributes(const Dictionary& dictionary) const {
    if (requiredIn_ != &dictionary || requiredSeen_ > attributes_.Count()) {
        required_.Clear();
        requiredSeen_ = 0;
        requiredIn_ = &dictionary;
    }
    for (; requiredSeen_ < attributes_.Count(); ++requiredSeen_) {
        const std::uint32_t id = attributes_[requiredSeen_];
        const HTMLAttributeDef* attribute = dictionary.FindAttribute(id);
        if (attribute && attribute->DefaultKind() == 3 && !required_.Contains(id)) required_.Add(id);
    }
    return required_;
}

std::unique_ptr<ElementDef> ElementDef::Clone() const {
    auto copy = std::make_unique<ElementDef>();
    copy->Assign(*this);
    return copy;
}

bool ElementDef::AllowsChild(std::uint32_t childId, const IdList& inclusions,
                             const IdList& exclusions) const {
    if (allowedChildren_.Contains(childId)) return !exclusions.Contains(childId);
    return inclusions.Contains(childId);
}

bool ElementDef::IsExtraChild(std::uint32_t childId) const {
    for (std::uint32_t i = modelIdCount_; i < allowedChildren_.Count(); ++i) {
        if (allowedChildren_[i] == childId) return true;
    }
    return false;
}

bool ElementDef::TakesNoContent() const {
    if (model_) return DeclaresEmptyContent(*model_);
    return allowedChildren_.IsEmpty();
}

void ElementDef::SetModel(std::unique_ptr<ContentSymbol> model, const Dictionary& dictionary) {
    IdList allowed;
    if (model) model->CollectIds(allowed, dictionary, ContentSymbol::MissingGroup::Skip);
    const std::uint32_t modelIds = allowed.Count();
    const std::uint32_t from =
        modelIdCount_ < allowedChildren_.Count() ? modelIdCount_ : allowedChildren_.Count();
    for (std::uint32_t i = from; i < allowedChildren_.Count(); ++i) allowed.Add(allowedChildren_[i]);
    model_ = std::move(model);
    allowedChildren_ = allowed;
    modelIdCount_ = modelIds;
}

// Element groups.

ReturnCodeEnum ElementGroup::Read(InStream& stream) {
    return detail::CatchStatus([&] {
        class_ = ReadWord(stream);
        ReadText(stream, name_);
        ReadIds(stream, members_);
    });
}

ReturnCodeEnum ElementGroup::Write(OutStream& stream) const {
    return detail::CatchStatus([&] {
        WriteWord(stream, class_);
        WriteText(stream, name_);
        WriteIds(stream, members_);
    });
}

// Named values.

ReturnCodeEnum ValueDef::Read(InStream& stream) {
    return detail::CatchStatus([&] {
        id_ = ReadWord(stream);
        ReadText(stream, name_);
        ReadText(stream, text_);
    });
}

ReturnCodeEnum ValueDef::Write(OutStream& stream) const {
    return detail::CatchStatus([&] {
        WriteWord(stream, id_);
        WriteText(stream, name_);
        WriteText(stream, text_);
    });
}

}  // namespace markup
