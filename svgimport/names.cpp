// The name tables, each searched front to back. The attribute table keeps
// its own order, which is not the order of its ids.
#include "svgimport/names.h"

#include <array>

#include "markup/style/css_colours.h"

namespace SVG {
namespace {

struct NameEntry {
    int32_t id;
    std::string_view name;
};

template <size_t N>
int32_t Find(const std::array<NameEntry, N>& table, std::string_view name) {
    for (const NameEntry& entry : table) {
        if (entry.name == name) return entry.id;
    }
    return kUnknownName;
}

constexpr std::array<NameEntry, 23> kElements{{
    {element::kSvg, "svg"},
    {element::kG, "g"},
    {element::kDefs, "defs"},
    {element::kDesc, "desc"},
    {element::kTitle, "title"},
    {element::kPath, "path"},
    {element::kText, "text"},
    {element::kRect, "rect"},
    {element::kCircle, "circle"},
    {element::kEllipse, "ellipse"},
    {element::kLine, "line"},
    {element::kPolyline, "polyline"},
    {element::kPolygon, "polygon"},
    {element::kUse, "use"},
    {element::kImage, "image"},
    {element::kSwitch, "switch"},
    {element::kA, "a"},
    {element::kLinearGradient, "linearGradient"},
    {element::kRadialGradient, "radialGradient"},
    {element::kStop, "stop"},
    {element::kPattern, "pattern"},
    {element::kClipPath, "clipPath"},
    {element::kMask, "mask"},
}};

namespace a = attribute;
constexpr std::array<NameEntry, 50> kAttributes{{
    {a::kStyle, "style"},
    {a::kId, "id"},
    {a::kClass, "class"},
    {a::kX, "x"},
    {a::kY, "y"},
    {a::kWidth, "width"},
    {a::kHeight, "height"},
    {a::kRefX, "refX"},
    {a::kRefY, "refY"},
    {a::kViewBox, "viewBox"},
    {a::kTransform, "transform"},
    {a::kSpreadMethod, "spreadMethod"},
    {a::kGradientUnits, "gradientUnits"},
    {a::kGradientTransform, "gradientTransform"},
    {a::kD, "d"},
    {a::kRx, "rx"},
    {a::kRy, "ry"},
    {a::kCx, "cx"},
    {a::kCy, "cy"},
    {a::kR, "r"},
    {a::kX1, "x1"},
    {a::kX2, "x2"},
    {a::kY1, "y1"},
    {a::kY2, "y2"},
    {a::kOffset, "offset"},
    {a::kPoints, "points"},
    {a::kDx, "dx"},
    {a::kDy, "dy"},
    {a::kPreserveAspectRatio, "preserveAspectRatio"},
    {a::kAllowZoomAndPan, "allowZoomAndPan"},
    {a::kContentScriptType, "contentScriptType"},
    {a::kXlinkType, "xlink:type"},
    {a::kXlinkRole, "xlink:role"},
    {a::kXlinkTitle, "xlink:title"},
    {a::kXlinkShow, "xlink:show"},
    {a::kXlinkActuate, "xlink:actuate"},
    {a::kXlinkHref, "xlink:href"},
    {a::kStartOffset, "startOffset"},
    {a::kMarkerUnits, "markerUnits"},
    {a::kMarkerWidth, "markerWidth"},
    {a::kMarkerHeight, "markerHeight"},
    {a::kOrient, "orient"},
    {a::kFlatness, "flatness"},
    {a::kNominalLength, "nominalLength"},
    {a::kFx, "fx"},
    {a::kFy, "fy"},
    {a::kClipPathUnits, "clipPathUnits"},
    {a::kMaskUnits, "maskUnits"},
    {a::kPatternUnits, "patternUnits"},
    {a::kPatternTransform, "patternTransform"},
}};

namespace p = property;
constexpr std::array<NameEntry, 65> kProperties{{
    {p::kFill, "fill"},
    {p::kFillOpacity, "fill-opacity"},
    {p::kStopColor, "stop-color"},
    {p::kStopOpacity, "stop-opacity"},
    {p::kStroke, "stroke"},
    {p::kStrokeWidth, "stroke-width"},
    {p::kStrokeLinecap, "stroke-linecap"},
    {p::kStrokeLinejoin, "stroke-linejoin"},
    {p::kStrokeMiterlimit, "stroke-miterlimit"},
    {p::kStrokeDasharray, "stroke-dasharray"},
    {p::kStrokeDashoffset, "stroke-dashoffset"},
    {p::kStrokeOpacity, "stroke-opacity"},
    {p::kMarkerStart, "marker-start"},
    {p::kMarkerEnd, "marker-end"},
    {p::kMarkerMid, "marker-mid"},
    {p::kMarker, "marker"},
    {p::kShapeRendering, "shape-rendering"},
    {p::kTextRendering, "text-rendering"},
    {p::kImageRendering, "image-rendering"},
    {p::kColorProfile, "color-profile"},
    {p::kRenderingIntent, "rendering-intent"},
    {p::kFontFamily, "font-family"},
    {p::kFontStyle, "font-style"},
    {p::kFontVariant, "font-variant"},
    {p::kFontWeight, "font-weight"},
    {p::kFontStretch, "font-stretch"},
    {p::kFontSize, "font-size"},
    {p::kFontSizeAdjust, "font-size-adjust"},
    {p::kFont, "font"},
    {p::kTextAlign, "text-align"},
    {p::kVerticalAlign, "vertical-align"},
    {p::kTextDecoration, "text-decoration"},
    {p::kLetterSpacing, "letter-spacing"},
    {p::kWordSpacing, "word-spacing"},
    {p::kDirection, "direction"},
    {p::kUnicodeBidi, "unicode-bidi"},
    {p::kAltglyph, "altglyph"},
    {p::kClipPath, "clip-path"},
    {p::kMask, "mask"},
    {p::kDisplay, "display"},
    {p::kVisibility, "visibility"},
    {p::kOpacity, "opacity"},
    {p::kFillRule, "fill-rule"},
    {p::kClipRule, "clip-rule"},
    {p::kTextAnchor, "text-anchor"},
    {p::kColor, "color"},
    {p::kFloodColor, "flood-color"},
    {p::kFloodOpacity, "flood-opacity"},
    {p::kLightingColor, "lighting-color"},
    {p::kColorInterpolation, "color-interpolation"},
    {p::kColorInterpolationFilters, "color-interpolation-filters"},
    {p::kColorRendering, "color-rendering"},
    {p::kDominantBaseline, "dominant-baseline"},
    {p::kAlignmentBaseline, "alignment-baseline"},
    {p::kBaselineShift, "baseline-shift"},
    {p::kGlyphOrientationHorizontal, "glyph-orientation-horizontal"},
    {p::kGlyphOrientationVertical, "glyph-orientation-vertical"},
    {p::kKerning, "kerning"},
    {p::kPointerEvents, "pointer-events"},
    {p::kWritingMode, "writing-mode"},
    {p::kOverflow, "overflow"},
    {p::kClip, "clip"},
    {p::kCursor, "cursor"},
    {p::kEnableBackground, "enable-background"},
    {p::kFilter, "filter"},
}};


}  // namespace

int32_t ElementId(std::string_view name) {
    return Find(kElements, name);
}

int32_t AttributeId(std::string_view name) {
    return Find(kAttributes, name);
}

int32_t PropertyId(std::string_view name) {
    return Find(kProperties, name);
}

std::string_view PropertyName(int32_t id) {
    for (const NameEntry& entry : kProperties) {
        if (entry.id == id) return entry.name;
    }
    return {};
}

// The CSS engine's table of colour keywords, so that presentation
// attributes and style sheets read the same names.
std::optional<uint32_t> ColourByName(std::string_view name) {
    return markup::style::CSSColourByName(name);
}

}  // namespace SVG
