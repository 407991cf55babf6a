// URL parsing, composing, escaping and joining on arbitrary bytes: never a
// crash, and a parsed URL composes into a text that parses again.
//
// Input: a URL, then after the first line feed a relative URL to resolve
// against it.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "markup/string.h"
#include "markup/url.h"

namespace {

markup::String Bytes(const std::uint8_t* data, std::size_t size) {
    markup::String text;
    text.Append(reinterpret_cast<const char*>(data), static_cast<std::uint32_t>(size));
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096) return -1;
    const std::uint8_t* feed = static_cast<const std::uint8_t*>(std::memchr(data, '\n', size));
    const std::size_t first = feed ? static_cast<std::size_t>(feed - data) : size;
    const markup::String text = Bytes(data, first);
    const markup::String relative = feed ? Bytes(feed + 1, size - first - 1) : markup::String();

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
