// The string-resource chain: module tables first, the host's table last.
#include "platform/resource_strings.h"

#include <cstring>
#include <vector>

namespace platform {

namespace {

// Texts the markup engine names by id but a host normally carries: the
// prompts and warnings of the URL-to-folder mapping.
const ResourceString kDefaultHostStrings[] = {
    {10033,
     "The new mapping %s (%s) covers the folder of the existing mapping %s (%s). Files in that folder "
     "may now be reached through either."},
    {10034, "No local mapping covers %s. Enter a server name and the folder that holds its files."},
    {10035, "The document's path must lie inside the folder you entered."},
};

struct Table {
    const ResourceString* entries;
    std::size_t count;
};

struct Chain {
    std::vector<Table> modules;
    Table host{kDefaultHostStrings, sizeof kDefaultHostStrings / sizeof kDefaultHostStrings[0]};
};

Chain& TheChain() {
    static Chain chain;
    return chain;
}

const char* FindIn(const Table& table, unsigned id) {
    for (std::size_t i = 0; i < table.count; ++i) {
        if (table.entries[i].id == id) return table.entries[i].text;
    }
    return nullptr;
}

}  // namespace

void RegisterStringTable(const ResourceString* table, std::size_t count) {
    if (!table) return;
    Chain& chain = TheChain();
    for (const Table& t : chain.modules) {
        if (t.entries == table) return;
    }
    chain.modules.push_back({table, count});
}

void SetHostStringTable(const ResourceString* table, std::size_t count) {
    Chain& chain = TheChain();
    if (table) {
        chain.host = {table, count};
    } else {
        chain.host = {kDefaultHostStrings, sizeof kDefaultHostStrings / sizeof kDefaultHostStrings[0]};
    }
}

const char* FindResourceString(unsigned id) {
    const Chain& chain = TheChain();
    for (const Table& t : chain.modules) {
        if (const char* text = FindIn(t, id)) return text;
    }
    return FindIn(chain.host, id);
}

int LoadResourceString(unsigned id, char* buffer, int bufferSize) {
    if (!buffer || bufferSize <= 0) return 0;
    const char* text = FindResourceString(id);
    if (!text) {
        buffer[0] = 0;
        return 0;
    }
    std::size_t n = std::strlen(text);
    if (n > static_cast<std::size_t>(bufferSize - 1)) n = static_cast<std::size_t>(bufferSize - 1);
    std::memcpy(buffer, text, n);
    buffer[n] = 0;
    return static_cast<int>(n);
}

}  // namespace platform
