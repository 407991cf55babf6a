// CSS colour values: the colour keywords and the "#", rgb(), rgba(),
// hsl() and hsla() forms, with their alpha.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace markup::style {

struct CSSColour {
    std::uint32_t word = 0;  // 0x00BBGGRR, the platform's colour word
    double alpha = 1.0;      // 0 transparent to 1 opaque
};

// One of the 147 colour keywords, without regard to case.
std::optional<std::uint32_t> CSSColourByName(std::string_view name);
// The number of keywords, and the one at an index (for tests).
std::uint32_t CSSColourNameCount();
std::string_view CSSColourNameAt(std::uint32_t index);

// A whole value text as one colour: a keyword, "transparent", "#RGB",
// "#RGBA", "#RRGGBB", "#RRGGBBAA", rgb()/rgba() with numbers or
// percentages separated by commas or blanks (the alpha after a fourth
// comma or a "/"), hsl()/hsla(). Blanks around it are passed over;
// anything else (currentColor, system colours, an invalid form) is none.
std::optional<CSSColour> ParseCSSColour(std::string_view text);

}  // namespace markup::style
