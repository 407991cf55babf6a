// The import's name tables: element, attribute and presentation-property
// names to small ids, and the colour keywords to platform colour values.
// Lookups are case-sensitive; a name not in its table gives -1.
#ifndef SVGIMPORT_NAMES_H
#define SVGIMPORT_NAMES_H

#include <cstdint>
#include <optional>
#include <string_view>

namespace SVG {

inline constexpr int32_t kUnknownName = -1;

namespace element {
inline constexpr int32_t kSvg = 0, kG = 1, kDefs = 2, kDesc = 3, kTitle = 4, kPath = 5, kText = 6, kRect = 7,
                         kCircle = 8, kEllipse = 9, kLine = 10, kPolyline = 11, kPolygon = 12, kUse = 13,
                         kImage = 14, kSwitch = 15, kA = 16, kLinearGradient = 17, kRadialGradient = 18,
                         kStop = 19, kPattern = 20, kClipPath = 21, kMask = 22;
}  // namespace element

namespace attribute {
inline constexpr int32_t kStyle = 0, kId = 1, kClass = 2, kX = 3, kY = 4, kWidth = 5, kHeight = 6, kRefX = 7,
                         kRefY = 8, kViewBox = 9, kPreserveAspectRatio = 10, kAllowZoomAndPan = 11,
                         kContentScriptType = 12, kTransform = 13, kD = 14, kFlatness = 15,
                         kNominalLength = 16, kRx = 17, kRy = 18, kCx = 19, kCy = 20, kR = 21, kX1 = 22,
                         kX2 = 23, kY1 = 24, kY2 = 25, kOffset = 26, kPoints = 27, kDx = 28, kDy = 29,
                         kXlinkType = 30, kXlinkRole = 31, kXlinkTitle = 32, kXlinkShow = 33,
                         kXlinkActuate = 34, kXlinkHref = 35, kStartOffset = 36, kMarkerUnits = 37,
                         kMarkerWidth = 38, kMarkerHeight = 39, kOrient = 40, kSpreadMethod = 41,
                         kGradientUnits = 42, kGradientTransform = 43, kFx = 44, kFy = 45,
                         kClipPathUnits = 46, kMaskUnits = 47, kPatternUnits = 48, kPatternTransform = 49;
}  // namespace attribute

namespace property {
inline constexpr int32_t kFill = 0, kFillOpacity = 1, kStopColor = 2, kStopOpacity = 3, kStroke = 4,
                         kStrokeWidth = 5, kStrokeLinecap = 6, kStrokeLinejoin = 7, kStrokeMiterlimit = 8,
                         kStrokeDasharray = 9, kStrokeDashoffset = 10, kStrokeOpacity = 11,
                         kMarkerStart = 12, kMarkerEnd = 13, kMarkerMid = 14, kMarker = 15,
                         kShapeRendering = 16, kTextRendering = 17, kImageRendering = 18,
                         kColorProfile = 19, kRenderingIntent = 20, kFontFamily = 21, kFontStyle = 22,
                         kFontVariant = 23, kFontWeight = 24, kFontStretch = 25, kFontSize = 26,
                         kFontSizeAdjust = 27, kFont = 28, kTextAlign = 29, kVerticalAlign = 30,
                         kTextDecoration = 31, kLetterSpacing = 32, kWordSpacing = 33, kDirection = 34,
                         kUnicodeBidi = 35, kAltglyph = 36, kClipPath = 37, kMask = 38, kDisplay = 39,
                         kVisibility = 40, kOpacity = 41, kFillRule = 42, kClipRule = 43, kTextAnchor = 44,
                         kColor = 45, kFloodColor = 46, kFloodOpacity = 47, kLightingColor = 48,
                         kColorInterpolation = 49, kColorInterpolationFilters = 50, kColorRendering = 51,
                         kDominantBaseline = 52, kAlignmentBaseline = 53, kBaselineShift = 54,
                         kGlyphOrientationHorizontal = 55, kGlyphOrientationVertical = 56, kKerning = 57,
                         kPointerEvents = 58, kWritingMode = 59, kOverflow = 60, kClip = 61, kCursor = 62,
                         kEnableBackground = 63, kFilter = 64;
}  // namespace property

int32_t ElementId(std::string_view name);
int32_t AttributeId(std::string_view name);
int32_t PropertyId(std::string_view name);
// The property's name; empty for an id outside the table.
std::string_view PropertyName(int32_t id);
inline constexpr int32_t kPropertyCount = 65;

// The platform colour value (0x00BBGGRR) of one of CSS's 147 colour
// keywords, without regard to case; none for any other name.
std::optional<uint32_t> ColourByName(std::string_view name);

}  // namespace SVG

#endif  // SVGIMPORT_NAMES_H
