// The ISO-8859-1 converter, apart from iconv: every byte is the code point
// of the same number, so the conversion needs no table and no state.
#pragma once

#include <memory>
#include <string_view>

#include "platform/text_converter.h"

namespace platform::detail {

// Whether the name (any case) is one of ISO-8859-1's.
bool NamesLatin1(std::string_view encoding);
std::unique_ptr<TextConverter> Latin1ToUtf8();

}  // namespace platform::detail
