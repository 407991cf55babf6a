// Dictionary: loading, reading and writing its .dic file.
//
// Sections in file order: header words H1 to H4; the entity table; the
// element groups (count, then class, name, members); the element
// cross-reference (count, then key, index and element record); the attribute
// cross-reference (count, then key, index and attribute record); the named
// values (count, then id, name, text). Counts are checked against what the
// file still holds before anything is made for them.
#include "cross_reference_io.h"
#include "dictionary_files.h"
#include "markup/parser/dictionary.h"
#include "record_io.h"

namespace markup {

using detail::ReadWord;
using detail::Require;
using detail::WriteWord;

namespace {

// Class word, name count, member count.
constexpr std::uint32_t kSmallestGroup = 12;
// id, name and second name counts, three flags, attribute count, word,
// has-model word, three list counts.
constexpr std::uint32_t kSmallestElement = 39;
// id, name and second name counts, value kind, default kind, declared type.
constexpr std::uint32_t kSmallestAttribute = 24;
// id, name and text counts.
constexpr std::uint32_t kSmallestValue = 12;

}  // namespace

ReturnCodeEnum Dictionary::Load(const String& fileName, bool caseSensitive) {
    fileName_ = fileName;
    SetCaseSensitive(caseSensitive);
    CreateEditor();
    entities_.InitCharacters();
    return Read();
}

ReturnCodeEnum Dictionary::Read() {
    return detail::ReadDictionaryFile(fileName_, [this](InStream& stream) { return ReadStream(stream); });
}

ReturnCodeEnum Dictionary::ReadStream(InStream& stream) {
    groups_.clear();
    elements_.Clear();
    attributes_.Clear();
    values_.clear();
    return detail::CatchStatus([&] {
        for (std::uint32_t& word : header_) word = ReadWord(stream);
        Require(entities_.Read(stream));

        const std::uint32_t groups = ReadWord(stream);
        detail::CheckCount(stream, groups, kSmallestGroup);
        for (std::uint32_t i = 0; i < groups; ++i) {
            auto group = std::make_unique<ElementGroup>();
            Require(group->Read(stream));
            AddGroup(std::move(group));
        }

        detail::ReadEntries(stream, elements_, kSmallestElement,
                            [&](ElementDef& element) { return element.Read(stream, *this); });
        detail::ReadEntries(stream, attributes_, kSmallestAttribute,
                            [&](HTMLAttributeDef& attribute) { return attribute.Read(stream, this); });

        const std::uint32_t values = ReadWord(stream);
        detail::CheckCount(stream, values, kSmallestValue);
        for (std::uint32_t i = 0; i < values; ++i) {
            auto value = std::make_unique<ValueDef>();
            Require(value->Read(stream));
            AddValue(std::move(value));
        }
    });
}

ReturnCodeEnum Dictionary::WriteStream(OutStream& stream) const {
    return detail::CatchStatus([&] {
        for (std::uint32_t word : header_) WriteWord(stream, word);
        Require(entities_.Write(stream));
        WriteWord(stream, detail::CountWord(groups_.size()));
        for (const auto& group : groups_) Require(group->Write(stream));
        detail::WriteEntries(stream, elements_);
        detail::WriteEntries(stream, attributes_);
        WriteWord(stream, detail::CountWord(values_.size()));
        for (const auto& value : values_) Require(value->Write(stream));
    });
}

ReturnCodeEnum Dictionary::Save(const String& fileName) const {
    return detail::WriteDictionaryFile(fileName, [this](OutStream& stream) { return WriteStream(stream); });
}

}  // namespace markup
