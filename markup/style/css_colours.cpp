// CSS colour values: the keyword table and the readers of the "#" and
// functional forms.
#include "markup/style/css_colours.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace markup::style {

namespace {

struct NamedColour {
    std::string_view name;
    std::uint32_t rgb;  // 0xRRGGBB
};

constexpr NamedColour kColours[] = {
#include "css_colour_names.inc"
};

std::uint32_t Word(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return red | (green << 8) | (blue << 16);
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

int Hex(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<CSSColour> HashForm(std::string_view digits) {
    const std::size_t n = digits.size();
    if (n != 3 && n != 4 && n != 6 && n != 8) return std::nullopt;
    std::uint32_t channel[4] = {0, 0, 0, 255};
    const std::size_t width = n <= 4 ? 1 : 2;
    for (std::size_t i = 0; i < n / width; ++i) {
        std::uint32_t value = 0;
        for (std::size_t d = 0; d < width; ++d) {
            const int h = Hex(digits[i * width + d]);
            if (h < 0) return std::nullopt;
            value = value * 16 + static_cast<std::uint32_t>(h);
        }
        channel[i] = width == 1 ? value * 17 : value;
    }
    return CSSColour{Word(channel[0], channel[1], channel[2]), channel[3] / 255.0};
}

// One component: a number with an optional "%" (or, for a hue, "deg").
struct Component {
    double value = 0;
    bool percent = false;
};

bool ReadNumber(std::string_view text, Component& out, bool hue) {
    std::string number(text);
    if (!number.empty() && number.back() == '%') {
        out.percent = true;
        number.pop_back();
    } else if (hue && number.size() > 3 && Lower(number.substr(number.size() - 3)) == "deg") {
        number.resize(number.size() - 3);
    }
    if (number.empty()) return false;
    // Digits, one point, a leading sign, an exponent: what strtod reads,
    // but never "inf", "nan" or hexadecimal.
    for (char c : number) {
        if (!((c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-' || c == 'e' || c == 'E')) return false;
    }
    char* end = nullptr;
    out.value = std::strtod(number.c_str(), &end);
    return end == number.c_str() + number.size() && std::isfinite(out.value);
}

// The arguments between the parentheses: commas throughout (three or four
// values), or blanks with an optional "/ alpha".
bool SplitArguments(std::string_view text, std::vector<std::string_view>& out, bool& slashAlpha) {
    slashAlpha = false;
    const bool commas = text.find(',') != std::string_view::npos;
    std::size_t i = 0;
    while (i <= text.size()) {
        while (i < text.size() && IsBlank(text[i])) ++i;
        if (i >= text.size()) break;
        if (text[i] == '/') {
            if (commas || slashAlpha || out.size() != 3) return false;
            slashAlpha = true;
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && !IsBlank(text[end]) && text[end] != ',' && text[end] != '/') ++end;
        if (end == i) return false;
        out.push_back(text.substr(i, end - i));
        i = end;
        while (i < text.size() && IsBlank(text[i])) ++i;
        if (commas) {
            if (i < text.size()) {
                if (text[i] != ',') return false;
                ++i;
                // A comma must have a value after it.
                std::size_t next = i;
                while (next < text.size() && IsBlank(text[next])) ++next;
                if (next >= text.size()) return false;
            }
        }
    }
    return out.size() == 3 || out.size() == 4;
}

std::uint32_t Channel(const Component& c) {
    const double value = c.percent ? c.value * 255.0 / 100.0 : c.value;
    return static_cast<std::uint32_t>(std::lround(std::clamp(value, 0.0, 255.0)));
}

double Alpha(const Component& c) {
    return std::clamp(c.percent ? c.value / 100.0 : c.value, 0.0, 1.0);
}

double HueToChannel(double m1, double m2, double h) {
    if (h < 0) h += 1;
    if (h > 1) h -= 1;
    if (h * 6 < 1) return m1 + (m2 - m1) * h * 6;
    if (h * 2 < 1) return m2;
    if (h * 3 < 2) return m1 + (m2 - m1) * (2.0 / 3 - h) * 6;
    return m1;
}

std::optional<CSSColour> Functional(const std::string& name, std::string_view arguments) {
    const bool rgb = name == "rgb" || name == "rgba";
    const bool hsl = name == "hsl" || name == "hsla";
    if (!rgb && !hsl) return std::nullopt;
    std::vector<std::string_view> parts;
    bool slash = false;
    if (!SplitArguments(arguments, parts, slash)) return std::nullopt;
    Component c[4];
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (!ReadNumber(parts[i], c[i], hsl && i == 0)) return std::nullopt;
    }
    CSSColour out;
    if (parts.size() == 4) out.alpha = Alpha(c[3]);
    if (rgb) {
        out.word = Word(Channel(c[0]), Channel(c[1]), Channel(c[2]));
        return out;
    }
    // Saturation and lightness are percentages; the hue is in degrees.
    if (c[0].percent || !c[1].percent || !c[2].percent) return std::nullopt;
    double h = std::fmod(c[0].value, 360.0) / 360.0;
    if (h < 0) h += 1;
    const double s = std::clamp(c[1].value / 100.0, 0.0, 1.0);
    const double l = std::clamp(c[2].value / 100.0, 0.0, 1.0);
    const double m2 = l <= 0.5 ? l * (s + 1) : l + s - l * s;
    const double m1 = l * 2 - m2;
    auto channel = [](double v) { return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
    out.word = Word(channel(HueToChannel(m1, m2, h + 1.0 / 3)), channel(HueToChannel(m1, m2, h)),
                    channel(HueToChannel(m1, m2, h - 1.0 / 3)));
    return out;
}

}  // namespace

std::optional<std::uint32_t> CSSColourByName(std::string_view name) {
    const std::string key = Lower(name);
    const auto* end = std::end(kColours);
    const auto* hit = std::lower_bound(std::begin(kColours), end, key,
                                       [](const NamedColour& c, const std::string& k) { return c.name < k; });
    if (hit == end || hit->name != key) return std::nullopt;
    return Word(hit->rgb >> 16, (hit->rgb >> 8) & 0xFF, hit->rgb & 0xFF);
}

std::uint32_t CSSColourNameCount() {
    return static_cast<std::uint32_t>(std::size(kColours));
}

std::string_view CSSColourNameAt(std::uint32_t index) {
    return index < CSSColourNameCount() ? kColours[index].name : std::string_view();
}

std::optional<CSSColour> ParseCSSColour(std::string_view text) {
    text = Trimmed(text);
    if (text.empty()) return std::nullopt;
    if (text.front() == '#') return HashForm(text.substr(1));
    const std::size_t open = text.find('(');
    if (open == std::string_view::npos) {
        if (Lower(text) == "transparent") return CSSColour{0, 0.0};
        if (auto word = CSSColourByName(text)) return CSSColour{*word, 1.0};
        return std::nullopt;
    }
    if (text.back() != ')') return std::nullopt;
    const std::string name = Lower(Trimmed(text.substr(0, open)));
    return Functional(name, text.substr(open + 1, text.size() - open - 2));
}

}  // namespace markup::style
