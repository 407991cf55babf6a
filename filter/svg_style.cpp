#include "svg_style.h"

#include "c_format.h"

namespace svgf {
namespace {

// Adds a part to a CSS text, separated from what is there by ";".
void AddPart(std::string& text, const std::string& part) {
    if (part.empty()) return;
    if (!text.empty()) text += ';';
    text += part;
}

const char* CapName(int32_t cap) {
    switch (cap) {
        case 1:
            return "round";
        case 2:
            return "square";
        default:
            return "inherit";
    }
}

const char* JoinName(int32_t join) {
    switch (join) {
        case 1:
            return "round";
        case 2:
            return "bevel";
        default:
            return "inherit";
    }
}

std::string QuotedWhenBlank(const std::string& name) {
    return name.find(' ') == std::string::npos ? name : "'" + name + "'";
}

}  // namespace

std::string ColourText(SVGColor colour) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text = "#";
    for (uint8_t channel : {colour.red, colour.green, colour.blue}) {
        text += kDigits[channel >> 4];
        text += kDigits[channel & 0xF];
    }
    return text;
}

SVGFill::~SVGFill() = default;

std::string SVGFill::CommonText() const {
    std::string text;
    if (fillRule == 1) text = "fill-rule:nonzero";
    if (fillRule == 2) text = "fill-rule:inherit";
    if (opacity != kOpaque) {
        AddPart(text, FormatC(opacityOfElement ? "opacity:%f" : "fill-opacity:%f", opacity / 255.0));
    }
    return text;
}

std::string SVGFill::WithCommonText(std::string base) const {
    AddPart(base, CommonText());
    return base;
}

std::string SVGFill_None::CssText() const {
    // Nothing is filled, so only an opacity of the whole element counts.
    return opacityOfElement ? WithCommonText("fill:none") : "fill:none";
}

std::string SVGFill_Color::CssText() const {
    return WithCommonText("fill:" + ColourText(colour));
}

std::string SVGFill_InlineReference::CssText() const {
    return WithCommonText("fill:url(#" + id + ")");
}

std::string FillClassRule(int number, const SVGFill& fill) {
    return FormatC(".fil%d {", number) + fill.CssText() + "}";
}

std::string FillReferenceClassRule(int number, const std::string& id, double opacity,
                                   bool opacityOfElement) {
    std::string rule = FormatC(".fil%d {", number) + "fill:url(#" + id + ")";
    if (opacity != -1.0) AppendC(rule, opacityOfElement ? ";opacity:%f" : ";fill-opacity:%f", opacity);
    return rule + "}";
}

SVGStroke::~SVGStroke() = default;

std::string SVGStroke::CssText() const {
    std::string text;
    if (width != 1) AddPart(text, FormatC("stroke-width:%d", width));
    if (cap != 0) AddPart(text, std::string("stroke-linecap:") + CapName(cap));
    if (join != 0) AddPart(text, std::string("stroke-linejoin:") + JoinName(join));
    if (miterLimit != 8.0) AddPart(text, FormatC("stroke-miterlimit:%G", miterLimit));
    if (!dashes.empty()) {
        std::string dash = "stroke-dasharray:";
        for (size_t i = 0; i < dashes.size(); ++i) AppendC(dash, i == 0 ? "%d" : " %d", dashes[i]);
        AddPart(text, dash);
        if (dashOffset != 0) AddPart(text, FormatC("stroke-dashoffset:%d", dashOffset));
    }
    if (opacity != kOpaque) AddPart(text, FormatC("stroke-opacity:%f", opacity / 255.0));
    return text;
}

std::string SVGStroke_Color::CssText() const {
    std::string text = "stroke:" + ColourText(colour);
    AddPart(text, SVGStroke::CssText());
    return text;
}

std::string StrokeClassRule(int number, const SVGStroke& stroke) {
    return FormatC(".str%d {", number) + stroke.CssText() + "}";
}

std::string SVGFontProps::FamilyText() const {
    const std::string& first = secondFirst != 0 ? secondFamily : family;
    const std::string& second = secondFirst != 0 ? family : secondFamily;
    if (!first.empty() && !second.empty()) return QuotedWhenBlank(first) + "," + QuotedWhenBlank(second);
    if (!first.empty()) return QuotedWhenBlank(first);
    if (!second.empty()) return QuotedWhenBlank(second);
    return {};
}

std::string SVGFontProps::CssText() const {
    const bool shorthand = separateProperties == 0;
    std::string text = shorthand ? "font:" : "";
    bool first = true;
    auto add = [&](const char* property, const std::string& value) {
        if (!first) text += shorthand ? " " : ";";
        first = false;
        if (!shorthand) text += property;
        text += value;
    };
    if (italic != 0) add("font-style:", "italic");
    if (smallCaps != 0) add("font-variant:", "small-caps");
    add("font-weight:", weight == 400 ? "normal" : weight == 700 ? "bold" : FormatC("%d", weight));
    add("font-size:", FormatC("%d", size));
    std::string families = FamilyText();
    if (!families.empty()) add("font-family:", families);
    return text;
}

std::string VerticalAlignText(uint32_t kind) {
    if (kind == 0) return {};
    return kind == 1 ? ";vertical-align:super" : ";vertical-align:sub";
}

std::string FontClassRule(int number, const SVGFontProps& font, uint32_t verticalAlign) {
    return FormatC(".fnt%d {", number) + font.CssText() + VerticalAlignText(verticalAlign) + "}";
}

}  // namespace svgf
