#include "svg_transform.h"

#include "c_format.h"

namespace svgf {

SVGXformNode SVGXformNode::Matrix(double a, double b, double c, double d, double e, double f) {
    SVGXformNode node;
    node.kind = kMatrix;
    node.values[0] = a;
    node.values[1] = b;
    node.values[2] = c;
    node.values[3] = d;
    node.values[4] = e;
    node.values[5] = f;
    return node;
}

SVGXformNode SVGXformNode::Translate(double x, double y) {
    SVGXformNode node;
    node.kind = kTranslate;
    node.values[0] = x;
    node.values[1] = y;
    return node;
}

SVGXformNode SVGXformNode::Scale(double x, double y) {
    SVGXformNode node = Translate(x, y);
    node.kind = kScale;
    return node;
}

SVGXformNode SVGXformNode::Rotate(int32_t angle) {
    SVGXformNode node;
    node.kind = kRotate;
    node.angle = angle;
    return node;
}

SVGXformNode SVGXformNode::SkewX(int32_t angle) {
    SVGXformNode node = Rotate(angle);
    node.kind = kSkewX;
    return node;
}

SVGXformNode SVGXformNode::SkewY(int32_t angle) {
    SVGXformNode node = Rotate(angle);
    node.kind = kSkewY;
    return node;
}

SVGXformNode SVGXformNode::RotateAbout(double degrees, int32_t cx, int32_t cy) {
    SVGXformNode node;
    node.kind = kRotateAbout;
    node.values[0] = degrees;
    node.values[1] = cx;
    node.values[2] = cy;
    return node;
}

std::string SVGXformNode::Text() const {
    const double* v = values;
    const double degrees = angle * 1e-6;
    switch (kind) {
        case kMatrix:
            return FormatC("matrix(%G %G %G %G %G %G)", v[0], v[1], v[2], v[3], v[4], v[5]);
        case kTranslate:
            return FormatC("translate(%G %G)", v[0], v[1]);
        case kScale:
            return FormatC("scale(%G %G)", v[0], v[1]);
        case kRotate:
            return FormatC("rotate(%G)", degrees);
        case kSkewX:
            return FormatC("skewX(%G)", degrees);
        case kSkewY:
            return FormatC("skewY(%G)", degrees);
        case kRotateAbout:
            // The centre is whole: "%G" would cut large coordinates to six digits.
            return FormatC("rotate(%G %d %d)", v[0], static_cast<int>(v[1]), static_cast<int>(v[2]));
        default:
            return {};
    }
}

std::string TransformText(const SVGXformList& list) {
    std::string text;
    for (size_t i = 0; i < list.size(); ++i) {
        if (i != 0) text += ' ';
        text += list[i].Text();
    }
    return text;
}

std::string TransformAttribute(const SVGXformList& list) {
    if (list.empty()) return {};
    return "transform=\"" + TransformText(list) + "\"";
}

}  // namespace svgf
