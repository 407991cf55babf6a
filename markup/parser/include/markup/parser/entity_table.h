// EntityTable: the named entities of a document type, plus one entry per
// byte value, so that a character can be turned into its entity name and an
// entity name into its text.
//
// Names are kept as documents write the reference ("&amp;"), sorted in byte
// order; a name is held once, the first text added for it wins.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "markup/parser/dictionary_status.h"
#include "markup/return_codes.h"
#include "markup/stream.h"
#include "markup/string.h"

namespace markup {

// One entity.
class StringEntry {
  public:
    StringEntry() = default;
    virtual ~StringEntry() = default;

    // The record after its leading word: code, name, has-text byte and,
    // only when that byte is 1, the text. What came before a failure stays.
    ReturnCodeEnum Read(InStream& stream);

    // For the per-byte entries the byte value; for a named entity the
    // number of entries the table held when it was added.
    std::uint32_t code = 0;
    // 1 once a text was set.
    std::uint8_t valid = 0;
    String name;
    String text;
};

class EntityTable {
  public:
    EntityTable() = default;
    virtual ~EntityTable() = default;
    EntityTable(const EntityTable&) = delete;
    EntityTable& operator=(const EntityTable&) = delete;

    // Adds the per-byte entries: byte 0 with an empty name and text, every
    // other byte with itself as name and text.
    void InitCharacters();
    // Replaces the table by the file's entity section: a count, then per
    // record a word that is not used and a StringEntry record. Records are
    // added through Add (so a repeated name keeps its first text); the first
    // failing status ends the reading and the entries added stay.
    ReturnCodeEnum Read(InStream& stream);
    // The section Read reads.
    ReturnCodeEnum Write(OutStream& stream) const;

    // kDict_Duplicate, leaving the table as it was, when the name is held.
    DictStatus Add(const String& name, const String& text);
    // The first entry whose name is not less than the name in byte order.
    std::uint32_t LowerBound(const String& name) const;
    bool FindEntry(const String& name, String& outName, String& outText) const;
    bool FindByCode(std::uint32_t code, String& outName, String& outText) const;
    // Null past the count.
    const StringEntry* EntryAt(std::uint32_t index) const;
    // The entry named by that one byte, or null.
    const StringEntry* ByCharacter(unsigned char c) const { return byCharacter_[c]; }
    std::uint32_t Count() const { return static_cast<std::uint32_t>(entries_.size()); }
    void Clear();

  private:
    void InsertAt(std::uint32_t index, std::unique_ptr<StringEntry> entry);

    std::vector<std::unique_ptr<StringEntry>> entries_;
    const StringEntry* byCharacter_[256] = {};
};

}  // namespace markup
