// URL parsing and composing on arbitrary text: never a crash, and a parsed
// URL composes and parses again.
#include <cstddef>
#include <cstdint>
#include <string>

#include "markup/string.h"
#include "markup/url.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    markup::URLSpec url;
    url.Parse(markup::String(text.c_str()));
    markup::String composed = url.Compose();
    url.FullText();
    url.FileName();
    markup::URLSpec again;
    again.Parse(composed);
    return 0;
}
