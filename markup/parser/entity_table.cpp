// EntityTable: entities sorted by name, the per-byte entries and the
// entity section of the .dic files.
#include "markup/parser/entity_table.h"

#include <algorithm>
#include <cstring>

#include "markup/faults.h"
#include "record_io.h"

namespace markup {

using namespace detail;

namespace {

// Leading word, code, name count and the has-text byte.
constexpr std::uint32_t kSmallestEntity = 13;

// Byte order over the whole text; names read from files may hold zero bytes.
int CompareBytes(const String& a, const String& b) {
    const std::uint32_t common = a.Length() < b.Length() ? a.Length() : b.Length();
    if (common != 0) {
        if (const int c = std::memcmp(a.Text(), b.Text(), common)) return c;
    }
    return a.Length() < b.Length() ? -1 : a.Length() > b.Length() ? 1 : 0;
}

}  // namespace

ReturnCodeEnum StringEntry::Read(InStream& stream) {
    return detail::CatchStatus([&] {
        code = ReadWord(stream);
        ReadText(stream, name);
        valid = ReadByte(stream);
        if (valid == 1) ReadText(stream, text);
    });
}

void EntityTable::Clear() {
    entries_.clear();
    for (const StringEntry*& slot : byCharacter_) slot = nullptr;
}

void EntityTable::InsertAt(std::uint32_t index, std::unique_ptr<StringEntry> entry) {
    try {
        entries_.insert(entries_.begin() + index, std::move(entry));
    } catch (const std::bad_alloc&) {
        throw MemoryAllocationFault();
    }
}

void EntityTable::InitCharacters() {
    for (unsigned b = 0; b < 256; ++b) {
        auto entry = std::make_unique<StringEntry>();
        entry->code = b;
        if (b != 0) {
            const char c = static_cast<char>(b);
            entry->name.Append(&c, 1);
            entry->text = entry->name;
            entry->valid = 1;
        }
        const std::uint32_t at = LowerBound(entry->name);
        if (at < entries_.size() && CompareBytes(entries_[at]->name, entry->name) == 0) {
            byCharacter_[b] = entries_[at].get();
            continue;
        }
        byCharacter_[b] = entry.get();
        InsertAt(at, std::move(entry));
    }
}

DictStatus EntityTable::Add(const String& name, const String& text) {
    const std::uint32_t at = LowerBound(name);
    if (at < entries_.size() && CompareBytes(entries_[at]->name, name) == 0) return kDict_Duplicate;
    auto entry = std::make_unique<StringEntry>();
    entry->code = Count();
    entry->valid = 1;
    entry->name = name;
    entry->text = text;
    const StringEntry* added = entry.get();
    InsertAt(at, std::move(entry));
    if (name.Length() == 1) byCharacter_[static_cast<unsigned char>(name.Text()[0])] = added;
    return kDict_Ok;
}

std::uint32_t EntityTable::LowerBound(const String& name) const {
    const auto at = std::partition_point(
        entries_.begin(), entries_.end(),
        [&](const std::unique_ptr<StringEntry>& e) { return CompareBytes(e->name, name) < 0; });
    return static_cast<std::uint32_t>(at - entries_.begin());
}

bool EntityTable::FindEntry(const String& name, String& outName, String& outText) const {
    const std::uint32_t at = LowerBound(name);
    if (at >= entries_.size() || CompareBytes(entries_[at]->name, name) != 0) return false;
    outName = entries_[at]->name;
    outText = entries_[at]->text;
    return true;
}

bool EntityTable::FindByCode(std::uint32_t code, String& outName, String& outText) const {
    for (const auto& entry : entries_) {
        if (entry->code == code) {
            outName = entry->name;
            outText = entry->text;
            return true;
        }
    }
    return false;
}

const StringEntry* EntityTable::EntryAt(std::uint32_t index) const {
    return index < entries_.size() ? entries_[index].get() : nullptr;
}

ReturnCodeEnum EntityTable::Read(InStream& stream) {
    Clear();
    return detail::CatchStatus([&] {
        const std::uint32_t count = ReadWord(stream);
        detail::CheckCount(stream, count, kSmallestEntity);
        for (std::uint32_t i = 0; i < count; ++i) {
            ReadWord(stream);
            StringEntry entry;
            detail::Require(entry.Read(stream));
            // A name already held keeps its first text; reading goes on.
            Add(entry.name, entry.text);
        }
    });
}

ReturnCodeEnum EntityTable::Write(OutStream& stream) const {
    return detail::CatchStatus([&] {
        WriteWord(stream, Count());
        for (const auto& entry : entries_) {
            WriteWord(stream, 0);
            WriteWord(stream, entry->code);
            WriteText(stream, entry->name);
            const bool hasText = !entry->text.IsEmpty();
            WriteByte(stream, hasText ? 1 : 0);
            if (hasText) WriteText(stream, entry->text);
        }
    });
}

}  // namespace markup
