#include "svg_elements.h"

#include "c_format.h"
#include "xml_escape.h"

namespace svgf {

using detail::ComposeElement;

std::string SVGPath::Write(const SVGWriteState& state) const {
    std::string markup = Markup();
    if (markup.empty()) return {};
    return Indent(state.depth) + markup + "\r\n";
}

std::string SVGPath::Markup() const {
    std::string data = pathData.empty() ? std::string() : "d=\"" + pathData + "\"";
    std::vector<std::string> parts{CommonAttributes(), TransformAttribute(transforms), data};
    bool any = false;
    for (const auto& part : parts) any = any || !part.empty();
    if (!any) return {};
    std::string text = ComposeElement(SVGWriteState{}, "<path ", parts, "/>");
    text.resize(text.size() - 2);
    return text;
}

std::string SVGRectangle::Write(const SVGWriteState& state) const {
    return ComposeElement(state, "<rect ",
                          {CommonAttributes(), TransformAttribute(transforms),
                           FormatC("x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\"", x, y, width, height),
                           rx != 0 && ry != 0 ? FormatC("rx=\"%d\" ry=\"%d\"", rx, ry) : std::string()},
                          "/>\r\n");
}

std::string SVGEllipse::Write(const SVGWriteState& state) const {
    return ComposeElement(
        state, "<ellipse ",
        {CommonAttributes(), TransformAttribute(transforms), FormatC("cx=\"%d\" cy=\"%d\"", cx, cy),
         rx != 0 && ry != 0 ? FormatC("rx=\"%d\" ry=\"%d\"", rx, ry) : std::string()},
        "/>\r\n");
}

std::string SVGGroup::Write(const SVGWriteState& state) const {
    return ComposeElement(state, "<g ", {CommonAttributes(), TransformAttribute(transforms)}, ">\r\n");
}

std::string SVGPattern::Write(const SVGWriteState& state) const {
    std::string text = Indent(state.depth) + "<pattern ";
    std::string common = CommonAttributes();
    text += common;
    std::vector<std::string> parts;
    // Renderers take a pattern's geometry as bounding-box fractions unless told
    // otherwise, so user-space units are named too.
    parts.push_back(units == 1 ? "patternUnits=\"objectBoundingBox\"" : "patternUnits=\"userSpaceOnUse\"");
    if (!transforms.empty()) parts.push_back("patternTransform=\"" + TransformText(transforms) + "\"");
    parts.push_back(FormatC("x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\"", x, y, width, height));
    if (viewRight > viewLeft && viewBottom > viewTop) {
        parts.push_back(FormatC("viewBox=\"%d %d %d %d\"", viewLeft, viewTop, viewRight - viewLeft,
                                viewBottom - viewTop));
    }
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i != 0 || !common.empty()) text += ' ';
        text += parts[i];
    }
    return text + ">\r\n";
}

std::string SVGMask::Write(const SVGWriteState& state) const {
    std::string text = Indent(state.depth) + "<mask";
    std::vector<std::string> parts;
    if (units == 1) parts.push_back("maskUnits=\"objectBoundingBox\"");
    // A region in user units must say so: renderers default to bounding-box fractions.
    if (units != 1 && hasRegion) parts.push_back("maskUnits=\"userSpaceOnUse\"");
    parts.push_back(CommonAttributes());
    if (hasRegion && units != 1) {
        parts.push_back(FormatC("x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\"", x, y, width, height));
    } else if (hasRegion) {
        if (x != 0) parts.push_back(FormatC("x=\"%G%%\"", x / 255.0));
        if (y != 0) parts.push_back(FormatC("y=\"%G%%\"", y / 255.0));
        if (width != 25500) parts.push_back(FormatC("width=\"%G%%\"", width / 255.0));
        if (height != 25500) parts.push_back(FormatC("height=\"%G%%\"", height / 255.0));
    }
    detail::AppendParts(text, parts);
    return text + ">\r\n";
}

std::string SVGClipPath::Write(const SVGWriteState& state) const {
    std::string text = Indent(state.depth) + "<clipPath " + CommonAttributes() + ">\r\n";
    if (shape) {
        SVGWriteState inner = state;
        ++inner.depth;
        text += shape->Write(inner);
    }
    return text + Indent(state.depth) + "</clipPath>\r\n";
}

std::string SVGImage::Write(const SVGWriteState& state) const {
    return ComposeElement(state, "<image ",
                          {CommonAttributes(), TransformAttribute(transforms),
                           FormatC("x=\"%d\" y=\"%d\" width=\"%d\" height=\"%d\"", x, y, width, height),
                           "xlink:href=\"" + EscapeXmlAttribute(href) + "\""},
                          "/>\r\n");
}

std::string SVGText::Write(const SVGWriteState& state) const {
    std::string position = x != 0 || y != 0 ? FormatC("x=\"%d\" y=\"%d\"", x, y) : std::string();
    std::string body = markup;
    int degrees = RoundHalfAway(rotation / 1000000.0);
    if (degrees != 0) body = FormatC("<tspan rotate=\"%d\">", degrees) + markup + "</tspan>";
    return ComposeElement(state, "<text ", {position, CommonAttributes(), TransformAttribute(transforms)},
                          ">" + body + "</text>\r\n");
}

std::string SVGAnchor::Write(const SVGWriteState& state) const {
    return Indent(state.depth) + "<a xlink:href=\"" + EscapeXmlAttribute(href) + "\">\r\n";
}

}  // namespace svgf
