// Conversion of text in a named character encoding to UTF-8.
//
// Documents declare their encoding by name ("windows-1252", "UTF-16"); the
// markup engine keeps their text as UTF-8. A converter takes the document
// in pieces of any size: a character cut at the end of a piece is held
// until the next one, and a byte sequence the encoding does not define
// becomes U+FFFD, so that nothing stops a read half way.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace platform {

class TextConverter {
  public:
    // A converter from `encoding` (any case), or null when the system does
    // not know the name.
    static std::unique_ptr<TextConverter> ToUtf8(std::string_view encoding);
    virtual ~TextConverter();

    // Appends the UTF-8 of `bytes` to `out`. With `last`, a character left
    // incomplete at the end is given as U+FFFD instead of being held.
    virtual void Convert(std::string_view bytes, bool last, std::string& out) = 0;
};

}  // namespace platform
