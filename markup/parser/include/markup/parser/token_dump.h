// A plain-text form of a document's token stream, for tests and for looking
// at what the tokenizer makes of a file.
//
// One line per token:
//
//   LINE-ENDLINE KIND[ type=N][ name="NAME"][ text="TEXT"][ reported]
//
// KIND is "initial" (the document's first token), "start" (every token but
// end tags) or "end". N is the token's type id when not 0; NAME and TEXT are
// left out when empty and quoted as the tree dump quotes. The token's node,
// when it has one, follows in the tree dump's form, indented two spaces.
// After the tokens, "diagnostics:" and one line per recorded diagnostic
// (DumpDiagnostics), when there are any; a fault that ended the scan adds
// the line "fault".
#pragma once

#include <cstdint>
#include <string>

#include "markup/parser/dictionary.h"
#include "markup/parser/token.h"
#include "markup/stream.h"
#include "markup/string.h"

namespace markup {

std::string DumpToken(const Token& token, const DictionaryBase* dictionary);

// Tokenizes the stream (open for reading) into a scratch tree over the
// dictionary given (may be null) and dumps every token. `name` is the
// document's name as the tokenizer takes it.
std::string DumpTokens(InStream& stream, const String& name, Dictionary* dictionary, bool xmlMode);

}  // namespace markup
