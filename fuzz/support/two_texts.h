// Inputs that carry two texts: the bytes up to the first line feed, and the
// bytes after it. Every byte is kept, NULs included.
#ifndef SVGFILTER_FUZZ_TWO_TEXTS_H
#define SVGFILTER_FUZZ_TWO_TEXTS_H

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "markup/string.h"

namespace fuzzsupport {

struct TwoTexts {
    markup::String first;
    markup::String second;  // empty when the input has no line feed
};

inline TwoTexts SplitAtLineFeed(const std::uint8_t* data, std::size_t size) {
    const auto* feed = static_cast<const std::uint8_t*>(std::memchr(data, '\n', size));
    const std::size_t first = feed ? static_cast<std::size_t>(feed - data) : size;
    TwoTexts texts;
    texts.first.Append(reinterpret_cast<const char*>(data), static_cast<std::uint32_t>(first));
    if (feed)
        texts.second.Append(reinterpret_cast<const char*>(feed + 1),
                            static_cast<std::uint32_t>(size - first - 1));
    return texts;
}

}  // namespace fuzzsupport

#endif  // SVGFILTER_FUZZ_TWO_TEXTS_H
