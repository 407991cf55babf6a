// String tables: look-up by id, the one copy into a caller's buffer, and the
// chain of module tables ending in the host's table.
#include "platform/resource_strings.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace platform {

namespace {

// Texts the engines name by id but a host normally carries: the names of the
// document tree's text kinds and document node, the dictionary loader's
// failure, the parser's failure and progress caption, the prompts and
// warnings of the URL-to-folder mapping, and the colour module's messages.
constexpr StringResource kDefaultHostStrings[] = {
    {10000, "#text"},
    {10001, "#text"},
    {10002, "#text"},
    {10003, "#whitespace"},
    {10004, "#text"},
    {10005, "#document"},
    {10007, "A dictionary file could not be read completely; it is damaged or cut short."},
    {10031, "the document could not be parsed"},
    {10032, "Reading "},
    {10033,
     "The new mapping %s (%s) covers the folder of the existing mapping %s (%s). Files in that folder "
     "may now be reached through either."},
    {10034, "No local mapping covers %s. Enter a server name and the folder that holds its files."},
    {10035, "The document's path must lie inside the folder you entered."},
    // The colour module's: the user-ink file's title, its one warning, and
    // the title and format of a missing host configuration (file, key, value).
    {14385, "User inks"},
    {14816, "Colour management is not available. Colours are converted without it."},
    {20648, "Host configuration"},
    {20775,
     "The application settings file \"%s\" does not exist. The configuration folder is read from "
     "\"HKEY_LOCAL_MACHINE\\%s\", value \"%s\"."},
};

struct Chain {
    std::vector<StringTable> modules;
    StringTable host{kDefaultHostStrings};
};

Chain& TheChain() {
    static Chain chain;
    return chain;
}

}  // namespace

const StringResource* FindString(StringTable table, uint32_t id) {
    for (const StringResource& entry : table) {
        if (entry.id == id) return &entry;
    }
    return nullptr;
}

int32_t CopyString(const StringResource* entry, char* buffer, int32_t size) {
    if (buffer == nullptr || size <= 0) return 0;
    const std::string_view text = entry != nullptr ? entry->text : std::string_view();
    const size_t count = std::min(text.size(), static_cast<size_t>(size - 1));
    // An empty view may have no storage at all, and memcpy from null is undefined even for 0 bytes.
    if (count != 0) std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
    return static_cast<int32_t>(count);
}

void RegisterStringTable(StringTable table) {
    if (table.empty()) return;
    Chain& chain = TheChain();
    for (const StringTable& t : chain.modules) {
        if (t.data() == table.data()) return;
    }
    chain.modules.push_back(table);
}

void SetHostStringTable(StringTable table) {
    TheChain().host = table.data() != nullptr ? table : StringTable(kDefaultHostStrings);
}

const StringResource* FindResourceString(uint32_t id) {
    const Chain& chain = TheChain();
    for (const StringTable& t : chain.modules) {
        if (const StringResource* entry = FindString(t, id)) return entry;
    }
    return FindString(chain.host, id);
}

int32_t LoadResourceString(uint32_t id, char* buffer, int32_t size) {
    return CopyString(FindResourceString(id), buffer, size);
}

}  // namespace platform
