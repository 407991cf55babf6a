// Opening, reading and writing dictionary files, shared by the markup and
// the CSS dictionaries.
#pragma once

#include <functional>

#include "markup/return_codes.h"
#include "markup/stream.h"
#include "markup/string.h"

namespace markup::detail {

// The host's message for a dictionary file that failed after it opened.
constexpr unsigned kStr_DictionaryReadFailed = 10007;

// Opens the file through the stream manager and runs read on it. A file that
// does not open answers its status without a message; a failing read shows
// message 10007 and answers the read's status. The stream is released on
// every way out.
ReturnCodeEnum ReadDictionaryFile(const String& fileName,
                                  const std::function<ReturnCodeEnum(InStream&)>& read);

// Creates or replaces the file and runs write on it; the status of the
// close, which sends the buffered bytes, counts as well.
ReturnCodeEnum WriteDictionaryFile(const String& fileName,
                                   const std::function<ReturnCodeEnum(OutStream&)>& write);

}  // namespace markup::detail
