// Content-model symbols: their records, copies and the ids they name.
#include "markup/parser/content_symbol.h"

#include "markup/faults.h"
#include "markup/parser/dictionary.h"
#include "record_io.h"

namespace markup {

using namespace detail;

namespace {

// Kind word, occurrence, connector and count: the smallest connective child.
constexpr std::uint32_t kSmallestChild = 8;

}  // namespace

bool OccurrenceAllows(std::uint32_t occurrence, std::uint32_t count) {
    switch (occurrence) {
        case kOccurNever:
            return count == 0;
        case kOccurOnce:
            return count == 1;
        case kOccurOptional:
            return count <= 1;
        case kOccurAny:
            return true;
        case kOccurOneOrMore:
            return count >= 1;
        default:
            return false;
    }
}

bool DeclaresAnyContent(const ContentSymbol& symbol) {
    return symbol.Kind() == kSymbolBase && symbol.OccurrenceCode() == kOccurAny;
}

bool DeclaresEmptyContent(const ContentSymbol& symbol) {
    return symbol.Kind() == kSymbolBase && symbol.OccurrenceCode() != kOccurAny;
}

std::unique_ptr<ContentSymbol> ContentSymbol::Create(std::uint32_t kind, std::uint32_t position) {
    switch (kind) {
        case kSymbolConnective:
            return std::make_unique<LogicalConnective>(position);
        case kSymbolGroup:
            return std::make_unique<GroupSymbol>(position);
        case kSymbolElement:
            return std::make_unique<ElementSymbol>(position);
        case kSymbolText:
            return std::make_unique<PCDataSymbol>(position);
        default:
            return std::make_unique<ContentSymbol>(position, kOccurOnce);
    }
}

ReturnCodeEnum ContentSymbol::Read(InStream& stream) {
    return detail::CatchStatus([&] { ReadFields(stream, 0); });
}

ReturnCodeEnum ContentSymbol::Write(OutStream& stream) const {
    return detail::CatchStatus([&] {
        WriteWord(stream, Kind());
        WriteFields(stream);
    });
}

void ContentSymbol::ReadFields(InStream& stream, std::uint32_t) {
    occurrence_ = ReadWord(stream);
}

void ContentSymbol::WriteFields(OutStream& stream) const {
    WriteWord(stream, occurrence_);
}

void ContentSymbol::Collect(IdList&, const Dictionary&, MissingGroup) const {}

bool ContentSymbol::IsOptional() const {
    return occurrence_ != kOccurOnce && occurrence_ != kOccurOneOrMore;
}

void ContentSymbol::Assign(const ContentSymbol& other) {
    position_ = other.position_;
    occurrence_ = other.occurrence_;
}

std::unique_ptr<ContentSymbol> ContentSymbol::Clone() const {
    std::unique_ptr<ContentSymbol> copy = Create(Kind(), position_);
    copy->Assign(*this);
    return copy;
}

// Connectives.

std::uint32_t LogicalConnective::CountSymbols() const {
    std::uint32_t count = 1;
    for (const auto& child : children_) count += child->CountSymbols();
    return count;
}

void LogicalConnective::Collect(IdList& ids, const Dictionary& dictionary, MissingGroup missing) const {
    for (const auto& child : children_) child->Collect(ids, dictionary, missing);
}

// Connectives that must occur are optional only through their children: a
// choice when any child may be left out, a sequence or an all-group when
// every child may.
bool LogicalConnective::IsOptional() const {
    if (OccurrenceCode() != kOccurOnce && OccurrenceCode() != kOccurOneOrMore) return true;
    if (connector_ == kConnectChoice) {
        for (const auto& child : children_) {
            if (child->IsOptional()) return true;
        }
        return false;
    }
    for (const auto& child : children_) {
        if (!child->IsOptional()) return false;
    }
    return true;
}

void LogicalConnective::Assign(const ContentSymbol& other) {
    if (&other == this) return;
    ContentSymbol::Assign(other);
    children_.clear();
    connector_ = kConnectChoice;
    if (const auto* connective = dynamic_cast<const LogicalConnective*>(&other)) {
        connector_ = connective->connector_;
        for (const auto& child : connective->children_) AddChild(*child);
    }
}

const ContentSymbol* LogicalConnective::ChildAt(std::uint32_t index) const {
    return index < children_.size() ? children_[index].get() : nullptr;
}

void LogicalConnective::AddChild(const ContentSymbol& child) {
    AdoptChild(child.Clone());
}

void LogicalConnective::AdoptChild(std::unique_ptr<ContentSymbol> child) {
    try {
        children_.push_back(std::move(child));
    } catch (const std::bad_alloc&) {
        throw MemoryAllocationFault();
    }
}

void LogicalConnective::ReadFields(InStream& stream, std::uint32_t depth) {
    if (depth >= kMaxContentDepth) throw kErr_StreamInvalidFile;
    ContentSymbol::ReadFields(stream, depth);
    connector_ = ReadWord(stream);
    const std::uint32_t count = ReadWord(stream);
    detail::CheckCount(stream, count, kSmallestChild);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t kind = ReadWord(stream);
        std::unique_ptr<ContentSymbol> child = Create(kind, i);
        // A child that fails is dropped with the status it threw.
        child->ReadFields(stream, depth + 1);
        AdoptChild(std::move(child));
    }
}

void LogicalConnective::WriteFields(OutStream& stream) const {
    ContentSymbol::WriteFields(stream);
    WriteWord(stream, connector_);
    WriteWord(stream, detail::CountWord(children_.size()));
    for (const auto& child : children_) {
        WriteWord(stream, child->Kind());
        child->WriteFields(stream);
    }
}

// Groups.

void GroupSymbol::Collect(IdList& ids, const Dictionary& dictionary, MissingGroup missing) const {
    std::uint32_t id = 0;
    std::uint32_t index = 0;
    DictStatus status = dictionary.GroupMember(id, groupClass_, index);
    if (status == kDict_Missing && missing == MissingGroup::Fault) throw InvalidArgumentFault();
    for (; status == kDict_Ok; status = dictionary.GroupMember(id, groupClass_, ++index)) ids.Add(id);
}

void GroupSymbol::Assign(const ContentSymbol& other) {
    ContentSymbol::Assign(other);
    const auto* group = dynamic_cast<const GroupSymbol*>(&other);
    groupClass_ = group ? group->groupClass_ : 0;
}

void GroupSymbol::ReadFields(InStream& stream, std::uint32_t depth) {
    ContentSymbol::ReadFields(stream, depth);
    groupClass_ = ReadWord(stream);
}

void GroupSymbol::WriteFields(OutStream& stream) const {
    ContentSymbol::WriteFields(stream);
    WriteWord(stream, groupClass_);
}

// Elements.

void ElementSymbol::Collect(IdList& ids, const Dictionary&, MissingGroup) const {
    ids.Add(elementId_);
}

void ElementSymbol::Assign(const ContentSymbol& other) {
    ContentSymbol::Assign(other);
    const auto* element = dynamic_cast<const ElementSymbol*>(&other);
    elementId_ = element ? element->elementId_ : 0;
}

void ElementSymbol::ReadFields(InStream& stream, std::uint32_t depth) {
    ContentSymbol::ReadFields(stream, depth);
    elementId_ = ReadWord(stream);
}

void ElementSymbol::WriteFields(OutStream& stream) const {
    ContentSymbol::WriteFields(stream);
    WriteWord(stream, elementId_);
}

// Text.

void PCDataSymbol::Collect(IdList& ids, const Dictionary&, MissingGroup) const {
    ids.Add(kTextElementId);
}

void PCDataSymbol::Assign(const ContentSymbol& other) {
    ContentSymbol::Assign(other);
    const auto* text = dynamic_cast<const PCDataSymbol*>(&other);
    flag_ = text ? text->flag_ : 1;
}

void PCDataSymbol::ReadFields(InStream& stream, std::uint32_t depth) {
    ContentSymbol::ReadFields(stream, depth);
    flag_ = ReadByte(stream);
}

void PCDataSymbol::WriteFields(OutStream& stream) const {
    ContentSymbol::WriteFields(stream);
    WriteByte(stream, flag_);
}

}  // namespace markup
