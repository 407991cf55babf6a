// String resources by id.
//
// Texts are found along a chain: the string tables that modules register,
// in the order registered, then the host's table. The host's table starts
// with default texts for the ids the engine borrows from the host; a host
// (or a test) may put its own table in their place.
#pragma once

#include <cstddef>

namespace platform {

struct ResourceString {
    unsigned id;
    const char* text;
};

// Adds a module's table to the chain. Registering the same table twice adds
// it once. The table must outlive every look-up.
void RegisterStringTable(const ResourceString* table, std::size_t count);

// Replaces the host's table; a null table restores the default texts.
void SetHostStringTable(const ResourceString* table, std::size_t count);

// The text of a string resource, or null when no table has it.
const char* FindResourceString(unsigned id);

// Copies the text into buffer, cut to bufferSize - 1 bytes and terminated;
// returns the number of bytes copied, 0 when the id is unknown (the buffer
// then holds the empty text).
int LoadResourceString(unsigned id, char* buffer, int bufferSize);

}  // namespace platform
