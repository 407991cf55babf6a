// AttributeTypeGroup: enumerated values and the group match.
#include <new>

#include "markup/faults.h"
#include "markup/parser/attribute_def.h"
#include "markup/parser/attribute_type.h"
#include "markup/parser/dictionary.h"
#include "record_io.h"

namespace markup {

using namespace detail;

namespace {

// value id, value text, user value, user text.
constexpr std::uint32_t kSmallestPair = 16;

// Set while the case attribute checks a value. Its own type may ask for
// the case attribute again; that inner match compares without case instead
// of recursing for ever.
thread_local bool probingCase = false;

bool SameText(const String& a, const String& b, bool withCase) {
    return String::CompareCase(a, b, withCase) == 0;
}

}  // namespace

const AttributeTypeGroup::ValueUserPair* AttributeTypeGroup::PairAt(std::uint32_t index) const {
    return index < pairs_.size() ? &pairs_[index] : nullptr;
}

void AttributeTypeGroup::AddPair(const ValueUserPair& pair) {
    try {
        pairs_.push_back(pair);
    } catch (const std::bad_alloc&) {
        throw MemoryAllocationFault();
    }
}

DictStatus AttributeTypeGroup::Match(std::uint32_t& index, const String& value,
                                     const Dictionary* dictionary) const {
    const std::uint32_t declared = Owner() ? Owner()->DeclaredTypeCode() : 0;
    bool withCase = declared == kDeclaredWithCase;
    if (declared == kDeclaredCaseByAttribute && dictionary && !probingCase) {
        const HTMLAttributeDef* caseAttribute = dictionary->FindAttribute(kCaseAttributeId);
        if (caseAttribute && caseAttribute->Type()) {
            probingCase = true;
            try {
                withCase = caseAttribute->Type()->Check(value, dictionary);
            } catch (...) {
                probingCase = false;
                throw;
            }
            probingCase = false;
        }
    }
    auto matchItem = [&](const String& item, std::uint32_t& found) {
        for (std::uint32_t i = 0; i < pairs_.size(); ++i) {
            if (SameText(pairs_[i].value, item, withCase)) {
                found = i;
                return true;
            }
        }
        return false;
    };
    std::uint32_t found = 0;
    if (declared != kDeclaredList) {
        if (!matchItem(value, found)) {
            index = defaultIndex_;
            return kDict_NoMatch;
        }
        index = found;
        return kDict_Ok;
    }
    std::uint32_t start = 0;
    for (;;) {
        const std::int32_t rest = value.Mid(start).Find(',');
        const std::uint32_t end = rest < 0 ? value.Length() : start + static_cast<std::uint32_t>(rest);
        String item = value.Mid(start, end - start);
        item.TrimLeft();
        item.TrimRight();
        if (!matchItem(item, found)) {
            index = defaultIndex_;
            return kDict_NoMatch;
        }
        if (end >= value.Length()) break;
        start = end + 1;
    }
    index = found;
    return kDict_Ok;
}

void AttributeTypeGroup::Assign(const AttributeType& other) {
    AssignGroup(other);
}

void AttributeTypeGroup::AssignGroup(const AttributeType& other) {
    if (&other == this) return;
    pairs_.clear();
    defaultIndex_ = 0;
    if (const auto* group = dynamic_cast<const AttributeTypeGroup*>(&other)) {
        for (const ValueUserPair& pair : group->pairs_) AddPair(pair);
        defaultIndex_ = group->defaultIndex_;
    }
}

bool AttributeTypeGroup::Check(const String& value, const Dictionary* dictionary) const {
    std::uint32_t index = 0;
    return Match(index, value, dictionary) == kDict_Ok;
}

DictStatus AttributeTypeGroup::Format(String& text, std::int32_t number) const {
    for (const ValueUserPair& pair : pairs_) {
        if (pair.userValue == number) {
            text = pair.value;
            return kDict_Ok;
        }
    }
    text.Empty();
    return kDict_NoMatch;
}

DictStatus AttributeTypeGroup::ParseWithDictionary(std::int32_t& number, const String& text,
                                                   const Dictionary*) const {
    for (const ValueUserPair& pair : pairs_) {
        if (SameText(pair.value, text, false)) {
            number = pair.userValue;
            return kDict_Ok;
        }
    }
    number = 0;
    return kDict_NoMatch;
}

DictStatus AttributeTypeGroup::Parse(std::int32_t& number, const String& text,
                                     const Dictionary* dictionary) const {
    std::uint32_t index = 0;
    const DictStatus status = Match(index, text, dictionary);
    number = status == kDict_Ok ? pairs_[index].userValue : 0;
    return status;
}

DictStatus AttributeTypeGroup::FormatList(String& text, const NumberList& numbers) const {
    if (numbers.size() != 1) {
        text.Empty();
        return kDict_NoMatch;
    }
    return Format(text, numbers[0]);
}

DictStatus AttributeTypeGroup::ParseList(NumberList& numbers, const String& text,
                                         const Dictionary* dictionary) const {
    std::int32_t number = 0;
    const DictStatus status = Parse(number, text, dictionary);
    if (status == kDict_Ok) {
        try {
            numbers.push_back(number);
        } catch (const std::bad_alloc&) {
            throw MemoryAllocationFault();
        }
    }
    return status;
}

DictStatus AttributeTypeGroup::DefaultText(String& text) const {
    if (!Owner() || !Owner()->HasDefault()) return kDict_Missing;
    if (defaultIndex_ >= pairs_.size()) return kDict_OutOfRange;
    text = pairs_[defaultIndex_].value;
    return kDict_Ok;
}

void AttributeTypeGroup::ReadFields(InStream& stream) {
    pairs_.clear();
    defaultIndex_ = 0;
    const std::uint32_t count = ReadWord(stream);
    detail::CheckCount(stream, count, kSmallestPair);
    for (std::uint32_t i = 0; i < count; ++i) {
        ValueUserPair pair;
        pair.valueId = ReadWord(stream);
        ReadText(stream, pair.value);
        pair.userValue = ReadSignMagnitude(stream);
        ReadText(stream, pair.userText);
        AddPair(pair);
    }
    defaultIndex_ = ReadWord(stream);
}

void AttributeTypeGroup::WriteFields(OutStream& stream) const {
    WriteWord(stream, detail::CountWord(pairs_.size()));
    for (const ValueUserPair& pair : pairs_) {
        WriteWord(stream, pair.valueId);
        WriteText(stream, pair.value);
        WriteSignMagnitude(stream, pair.userValue);
        WriteText(stream, pair.userText);
    }
    WriteWord(stream, defaultIndex_);
}

}  // namespace markup
