// String resources by id.
//
// A string table is a list of numbered texts. A module reaches its own table
// through its ResourceModule (resources.h); texts asked for by id alone are
// found along a chain: the tables that modules register, in the order
// registered, then the host's table. The host's table starts with default
// texts for the ids the engine borrows from the host; a host (or a test) may
// put its own table in their place. Both ways end in the same copy, so every
// caller sees one truncation rule.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace platform {

struct StringResource {
    uint32_t id;
    std::string_view text;
};

using StringTable = std::span<const StringResource>;

// The entry of `table` for `id`, or null.
const StringResource* FindString(StringTable table, uint32_t id);

// Copies the entry's text into `buffer` of `size` bytes, cut to size - 1 bytes
// and always terminated; answers the number of bytes copied. A null entry
// leaves the empty text and answers 0; a buffer with no room answers 0 and is
// left alone.
int32_t CopyString(const StringResource* entry, char* buffer, int32_t size);

// Adds a module's table to the chain. Registering the same table twice adds
// it once. The table must outlive every look-up.
void RegisterStringTable(StringTable table);

// Replaces the host's table; a null table (`{}`) restores the default texts.
void SetHostStringTable(StringTable table);

// The chain's entry for `id`, or null when no table has it.
const StringResource* FindResourceString(uint32_t id);

// CopyString of the chain's entry for `id`.
int32_t LoadResourceString(uint32_t id, char* buffer, int32_t size);

}  // namespace platform
