// Presentation attributes and `style` declarations as computed values.
#include "attribute_styles.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "svgimport/names.h"
#include "svgimport/objects.h"
#include "svgimport/values.h"

namespace reader_test {

using markup::WDOMHandle;
using namespace SVG;

namespace {

using Declarations = std::map<std::string, std::string>;

std::string Trim(std::string_view s) {
    while (!s.empty() && IsWhiteSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsWhiteSpace(s.back())) s.remove_suffix(1);
    return std::string(s);
}

// The element's own declarations: attributes first, `style` over them.
Declarations Own(const WDOMHandle& element) {
    Declarations out;
    std::string style;
    const markup::WDOMNamedNodeMapHandle map = element.GetAttributes();
    for (uint32_t i = 0; i < map.GetLength(); ++i) {
        const WDOMHandle a = map.Item(i);
        const std::string name(a.GetNodeName().View());
        if (name == "style") {
            style = std::string(a.GetNodeValue().View());
        } else if (PropertyId(name) != kUnknownName) {
            out[name] = Trim(a.GetNodeValue().View());
        }
    }
    size_t start = 0;
    while (start < style.size()) {
        size_t end = style.find(';', start);
        if (end == std::string::npos) end = style.size();
        const std::string declaration = style.substr(start, end - start);
        const size_t colon = declaration.find(':');
        if (colon != std::string::npos)
            out[Trim(declaration.substr(0, colon))] = Trim(declaration.substr(colon + 1));
        start = end + 1;
    }
    return out;
}

bool Inherited(const std::string& name) {
    return name != "clip-path" && name != "mask" && name != "stop-color" && name != "stop-opacity" &&
           name != "display" && name != "opacity";
}

// Hexadecimal digits; none when one is not.
std::optional<uint32_t> Hex(std::string_view digits) {
    uint32_t v = 0;
    for (char c : digits) {
        const int lower = c | 0x20;
        const int digit = c >= '0' && c <= '9'           ? c - '0'
                          : lower >= 'a' && lower <= 'f' ? lower - 'a' + 10
                                                         : -1;
        if (digit < 0) return std::nullopt;
        v = v * 16 + static_cast<uint32_t>(digit);
    }
    return v;
}

std::optional<uint32_t> Colour(const std::string& v) {
    if (auto named = ColourByName(v)) return named;
    if (v.size() == 7 && v[0] == '#') {
        const auto rgb = Hex(std::string_view(v).substr(1));
        if (!rgb) return std::nullopt;
        return ((*rgb >> 16) & 0xFF) | (*rgb & 0xFF00) | ((*rgb & 0xFF) << 16);
    }
    if (v.size() == 4 && v[0] == '#') {
        const auto rgb = Hex(std::string_view(v).substr(1));
        if (!rgb) return std::nullopt;
        const auto digit = [&](int shift) { return ((*rgb >> shift) & 0xF) * 17; };
        return digit(8) | (digit(4) << 8) | (digit(0) << 16);
    }
    return std::nullopt;
}

WStylePaint Paint(const std::string& v) {
    WStylePaint p;
    if (v.rfind("url", 0) == 0) {
        p.kind = WStylePaint::Kind::kReference;
        p.reference.text = v;
    } else if (auto c = Colour(v)) {
        p.kind = WStylePaint::Kind::kColour;
        p.colour = *c;
    }
    return p;
}

std::optional<WStyleNumber> Number(std::string_view v) {
    double value;
    const size_t taken = ScanNumber(v, &value);
    if (taken == 0) return std::nullopt;
    const std::string_view rest = v.substr(taken);
    if (rest == "px") return WStyleNumber{value, style_unit::kPx};
    if (rest == "%") return WStyleNumber{value, style_unit::kPercent};
    if (rest == "pt") return WStyleNumber{value * 96 / 72, style_unit::kPx};
    return WStyleNumber{value, style_unit::kNumber};
}

}  // namespace

bool AttributeStyles::GetStyle(const WDOMHandle& element, WComputedStyle* style) {
    ++calls;
    // The element's own declarations, then what its ancestors give.
    Declarations values = Own(element);
    WDOMHandle parent(element->parentNode());
    while (!parent.IsNull() && parent.GetNodeType() == markup::kDOMElementNode) {
        for (const auto& [name, value] : Own(parent)) {
            if (Inherited(name) && !values.count(name)) values[name] = value;
        }
        parent = WDOMHandle(parent->parentNode());
    }
    *style = WComputedStyle();
    for (const auto& [name, v] : values) {
        if (name == "fill") {
            style->fill = Paint(v);
        } else if (name == "fill-opacity") {
            style->fillOpacity = Number(v);
        } else if (name == "stroke") {
            style->stroke = Paint(v);
        } else if (name == "stroke-width") {
            if (auto n = Number(v)) style->strokeWidth = *n;
        } else if (name == "text-anchor") {
            style->textAnchor = v == "middle" ? text_anchor::kMiddle : v == "end" ? text_anchor::kEnd : text_anchor::kStart;
        } else if (name == "stroke-linecap") {
            style->lineCap = v == "round" ? cap::kRound : v == "square" ? cap::kSquare : cap::kButt;
        } else if (name == "stroke-linejoin") {
            style->lineJoin = v == "round" ? join::kRound : v == "bevel" ? join::kBevel : join::kMiter;
        } else if (name == "stroke-miterlimit") {
            style->miterLimit = Number(v);
        } else if (name == "stroke-dasharray") {
            size_t start = 0;
            while (start < v.size()) {
                size_t end = v.find_first_of(", ", start);
                if (end == std::string::npos) end = v.size();
                if (auto n = Number(std::string_view(v).substr(start, end - start)))
                    style->dashes.push_back(*n);
                start = end + 1;
            }
        } else if (name == "stroke-opacity") {
            style->strokeOpacity = Number(v);
        } else if (name == "clip-path") {
            style->clipPath.text = v;
        } else if (name == "mask") {
            style->mask.text = v;
        } else if (name == "stop-color") {
            style->stopColour = Colour(v);
        } else if (name == "stop-opacity") {
            style->stopOpacity = Number(v);
        } else if (name == "display") {
            style->displayNone = v == "none";
        } else if (name == "visibility") {
            style->hidden = v == "hidden" || v == "collapse";
        } else if (name == "opacity") {
            style->opacity = Number(v);
        } else if (name == "fill-rule") {
            style->evenOdd = v == "evenodd";
        } else if (name == "clip-rule") {
            style->clipEvenOdd = v == "evenodd";
        }
    }
    if (values.count("font-family") || values.count("font-size") || values.count("font-weight") ||
        values.count("font-style")) {
        WStyleFont font;
        if (values.count("font-family")) font.family = values["font-family"];
        if (values.count("font-size")) font.size = Number(values["font-size"]);
        if (values.count("font-weight")) {
            const std::string& w = values["font-weight"];
            double number = 400;
            if (w == "bold") {
                number = 700;
            } else if (w != "normal" && ScanNumber(w, &number) == 0) {
                number = 400;
            }
            font.weight = number >= 100 && number <= 1000 ? static_cast<int32_t>(number) : 400;
        }
        font.italic = values.count("font-style") && values["font-style"] == "italic";
        style->font = font;
    }
    return true;
}

}  // namespace reader_test
