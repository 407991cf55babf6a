// Fetching a document named by URL into the local file the mapping gave it.
#pragma once

#include <cstdint>

#include "markup/string.h"

namespace markup {

// The first argument of a web session: who is fetching.
enum WebSessionKind : std::int32_t {
    kWebSessionDictionary = 0,
    kWebSessionStyle = 1,
};

// True when the local file is there to be opened: it existed already, or the
// URL was fetched into it. A failed fetch (the web-access library answers
// below 0 or above 399, or is missing) leaves no file behind.
bool FetchIfMissing(const String& url, const String& localPath, std::int32_t sessionKind);

}  // namespace markup
