// Reading and writing the cross-reference sections of the .dic files: a
// count, then per entry the pair's key and index and the definition's
// record. Entry i holds pair i and definition i, which need not belong
// together: the pair's index names its definition.
#pragma once

#include <memory>

#include "markup/parser/cross_reference.h"
#include "record_io.h"

namespace markup::detail {

// minRecord: the fewest bytes a definition record takes, for the count
// check. readRecord(T&) answers the record's status; a definition that fails
// is dropped with it.
template <class T, class ReadRecord>
void ReadEntries(InStream& stream, CrossReference<T>& entries, std::uint32_t minRecord,
                 ReadRecord readRecord) {
    const std::uint32_t count = ReadWord(stream);
    CheckCount(stream, count, 8 + minRecord);
    for (std::uint32_t i = 0; i < count; ++i) {
        IDIndexPair pair;
        pair.key = ReadWord(stream);
        pair.index = ReadWord(stream);
        auto definition = std::make_unique<T>();
        Require(readRecord(*definition));
        entries.Append(pair, std::move(definition));
    }
}

template <class T>
void WriteEntries(OutStream& stream, const CrossReference<T>& entries) {
    WriteWord(stream, entries.EntryCount());
    for (std::uint32_t i = 0; i < entries.EntryCount(); ++i) {
        WriteWord(stream, entries.PairAt(i)->key);
        WriteWord(stream, entries.PairAt(i)->index);
        Require(entries.At(i)->Write(stream));
    }
}

}  // namespace markup::detail
