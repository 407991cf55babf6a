#include "svg_gradient.h"

#include "c_format.h"
#include "xml_escape.h"

namespace svgf {

std::string SVGGradientStop::Markup() const {
    std::string text = FormatC("<stop offset=\"%G\"", offset / 255.0);
    if (opacity == kStopWithoutOpacity) {
        text += " style=\"stop-color:" + ColourText(colour) + "\"";
    } else {
        // White, so that a mask built from these stops shows through by the opacity alone.
        AppendC(text, " style=\"stop-color:#FFFFFF;stop-opacity:%G\"", opacity / 255.0);
    }
    return text + "/>";
}

int SVGGradient::GradientDepth(const SVGWriteState& state) {
    return state.cssMode == 0 ? state.definitionsDepth : state.depth;
}

// User-space units are named as well as bounding-box ones: renderers read
// unmarked gradient coordinates as bounding-box fractions.
std::string SVGGradient::GradientAttributes() const {
    std::string text;
    detail::AppendParts(
        text, {id.IdAttribute(),
               units == 1 ? "gradientUnits=\"objectBoundingBox\"" : "gradientUnits=\"userSpaceOnUse\"",
               transforms.empty() ? "" : "gradientTransform=\"" + TransformText(transforms) + "\"",
               reference.empty() ? "" : "xlink:href=\"" + EscapeXmlAttribute(reference) + "\""});
    return text;
}

std::string SVGGradient::StopLines(int depth, bool reverse) const {
    std::string text;
    for (size_t i = 0; i < stops.size(); ++i) {
        const SVGGradientStop& stop = stops[reverse ? stops.size() - 1 - i : i];
        text += Indent(depth) + stop.Markup() + "\r\n";
    }
    return text;
}

std::string SVGGradient_Linear::Write(const SVGWriteState& state) const {
    int depth = GradientDepth(state);
    std::string text = Indent(depth) + "<linearGradient" + GradientAttributes();
    if (units == 1) {
        if (x1 != 0) AppendC(text, " x1=\"%G%%\"", x1 / 255.0);
        if (y1 != 0) AppendC(text, " y1=\"%G%%\"", y1 / 255.0);
        if (x2 != 25500) AppendC(text, " x2=\"%G%%\"", x2 / 255.0);
        if (y2 != 0) AppendC(text, " y2=\"%G%%\"", y2 / 255.0);
    } else {
        AppendC(text, " x1=\"%d\" y1=\"%d\" x2=\"%d\" y2=\"%d\"", x1, y1, x2, y2);
    }
    if (spread == 1) text += " spreadMethod=\"reflect\"";
    if (spread == 2) text += " spreadMethod=\"repeat\"";
    text += ">\r\n";
    text += StopLines(depth + 1, false);
    return text + Indent(depth) + "</linearGradient>\r\n";
}

std::string SVGGradient_Radial::Write(const SVGWriteState& state) const {
    int depth = GradientDepth(state);
    std::string text = Indent(depth) + "<radialGradient" + GradientAttributes();
    if (units == 1) {
        const char* names[] = {"cx", "cy", "r", "fx", "fy"};
        const int32_t values[] = {cx, cy, r, fx, fy};
        for (int i = 0; i < 5; ++i) {
            if (values[i] != 12750) AppendC(text, " %s=\"%G%%\"", names[i], values[i] / 255.0);
        }
    } else {
        AppendC(text, " cx=\"%d\" cy=\"%d\" r=\"%d\" fx=\"%d\" fy=\"%d\"", cx, cy, r, fx, fy);
    }
    text += ">\r\n";
    text += StopLines(depth + 1, true);
    return text + Indent(depth) + "</radialGradient>\r\n";
}

}  // namespace svgf
