#include "svg_object.h"

#include "xml_escape.h"

namespace svgf {

std::string SVGClass::ClassAttribute() const {
    if (selectors_.empty()) return {};
    std::string text = "class=\"";
    for (size_t i = 0; i < selectors_.size(); ++i) {
        if (i != 0) text += ' ';
        text += EscapeXmlAttribute(selectors_[i]->Name());
    }
    return text + "\"";
}

std::string SVGStyleBlock::CssText() const {
    std::string text;
    auto add = [&text](const std::string& part) {
        if (part.empty()) return;
        if (!text.empty()) text += ';';
        text += part;
    };
    if (fill) add(fill->CssText());
    if (stroke) add(stroke->CssText());
    if (mask && !mask->id.empty()) add("mask:url(#" + mask->id + ")");
    if (!clip.empty()) add("clip-path:url(#" + clip + ")");
    if (font) {
        add(font->CssText());
        text += VerticalAlignText(font->verticalAlign);
    }
    return text;
}

std::string SVGStyleBlock::StyleAttribute() const {
    std::string css = CssText();
    if (css.empty()) return {};
    return "style=\"" + EscapeXmlAttribute(css) + "\"";
}

SVGObject::~SVGObject() = default;

std::string SVGObject::CommonAttributes() const {
    std::string text;
    for (const std::string& part : {classes.ClassAttribute(), id.IdAttribute(), style.StyleAttribute()}) {
        if (part.empty()) continue;
        if (!text.empty()) text += ' ';
        text += part;
    }
    return text;
}

namespace detail {

void AppendParts(std::string& text, const std::vector<std::string>& parts) {
    for (const std::string& part : parts) {
        if (part.empty()) continue;
        text += ' ';
        text += part;
    }
}

std::string ComposeElement(const SVGWriteState& state, const std::string& opening,
                           const std::vector<std::string>& parts, const std::string& closing) {
    std::string text = Indent(state.depth) + opening;
    bool first = true;
    for (const std::string& part : parts) {
        if (part.empty()) continue;
        if (!first) text += ' ';
        first = false;
        text += part;
    }
    text += closing;
    // Exactly one line end per element, whether or not the closing text has one.
    if (text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0) text += "\r\n";
    return text;
}

}  // namespace detail

}  // namespace svgf
