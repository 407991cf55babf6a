// URL parsing, composing, escaping and joining on arbitrary bytes: never a
// crash, and a parsed URL composes into a text that parses again.
//
// Input: a URL, then after the first line feed a relative URL to resolve
// against it.
#include <cstddef>
#include <cstdint>

#include "markup/string.h"
#include "markup/url.h"
#include "two_texts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096) return -1;
    const fuzzsupport::TwoTexts input = fuzzsupport::SplitAtLineFeed(data, size);
    const markup::String& text = input.first;
    const markup::String& relative = input.second;

    markup::URLSpec url;
    url.Parse(text);
    const markup::String composed = url.Compose();
    url.FullText();
    url.FileName();
    url.IsLocal();
    markup::URLSpec again;
    again.Parse(composed);

    markup::String escaped(text);
    markup::URLSpec::Escape(escaped);
    markup::URLSpec::Unescape(escaped);
    markup::String prepared(text);
    markup::URLSpec::PrepareText(prepared);
    markup::IsValidURLText(text);

    markup::String joined(text);
    markup::JoinPath(relative, joined, '/');
    markup::String resolved(composed);
    markup::ResolveRelative(relative, resolved);
    markup::String absolute(relative);
    markup::MakeAbsolute(absolute, url);
    return 0;
}
