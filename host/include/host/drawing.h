// The drawing the stand-in host exports: what a drawing description file
// holds once read. Coordinates are host units (1/254000 inch, y up).
#ifndef SVGFILTER_HOST_DRAWING_H
#define SVGFILTER_HOST_DRAWING_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "svgfilter/filter_abi.h"

namespace host {

enum class ObjectKind {
    kGroup,      // members; with a link an object group
    kRectangle,  // centre, size, corner
    kEllipse,    // centre, size
    kPath,       // points and node types
    kPolygon,    // points, a uniform fill: the filled-polygon entry
    kLink,       // members inside a link
    kClip,       // members clipped by a rectangle or a path
    kTransform,  // members under a matrix
    kText,       // characters in a font from an origin
    kBitmap,     // an image file over a box
};

// A fountain (gradient) as the host keeps it; with a transparency, a stop's
// level (0 opaque to 255 clear) is its colour's byte 8.
struct FountainStyle {
    uint16_t subKind = 1;  // 1 linear, 2 radial
    int16_t edgePad = 0;   // percent
    int32_t angle = 0;     // thousandths of a degree
    int32_t centreX = 0;   // percent of the box (radial)
    int32_t centreY = 0;
    uint16_t blend = 3;      // 0 two colours, 1 hue downwards, 2 hue upwards, 3 custom
    uint16_t midPoint = 50;  // percent, 50 for none
    std::vector<svgf::HostFountainStop> stops;
};
// A pattern: the tile's size and the number of the drawing's tile (from 1)
// that the host draws when the module asks for it.
struct PatternStyle {
    uint16_t kind = svgf::kFillPatternFirst;
    uint32_t tile = 0;
    int32_t width = 0;  // host units
    int32_t height = 0;
};

// The host's style records in short; the player builds the full records.
struct FillStyle {
    uint16_t kind = svgf::kFillNone;  // kFillNone, kFillUniform, kFillFountain or a pattern kind
    svgf::ColorRecord colour{};
    FountainStyle fountain;
    PatternStyle pattern;
};
struct OutlineStyle {
    uint16_t kind = svgf::kOutlineNone;  // kOutlineNone, kOutlineSolid or kOutlineDashed
    int32_t width = 0;                   // host units
    int16_t cap = 0;                     // 0 butt, 1 round, 2 square
    int16_t join = 0;                    // 0 miter, 1 round, 2 bevel
    svgf::ColorRecord colour{};
    std::vector<int16_t> dashes;  // in units of the line width
};
struct TransparencyStyle {
    uint16_t kind = svgf::kTransparencyUniform;  // or kFillFountain, a pattern kind, a host code
    uint16_t subKind = 0;
    double start = 0;  // percent
    double end = 0;
    FountainStyle fountain;  // kFillFountain: levels in the stops
    PatternStyle pattern;
};
struct Style {
    std::optional<FillStyle> fill;
    std::optional<OutlineStyle> outline;
    std::optional<TransparencyStyle> transparency;
};

// A link: its URL and, optionally, the area of its hot-spot rectangle.
struct LinkTarget {
    std::string url;  // ISO-8859-1
    std::optional<svgf::HostRect> area;
};

// The style-flag bits of the capitals styles.
inline constexpr uint32_t kSmallCapitals = 0x20000000;
inline constexpr uint32_t kAllCapitals = 0x40000000;

// A text object's font.
struct TextFont {
    std::string family;
    int32_t size = 0;      // host units
    int32_t weight = 400;  // 100 to 900
    bool italic = false;
    int32_t rotation = 0;   // millionths of a degree, counter-clockwise
    uint32_t capitals = 0;  // 0, kSmallCapitals or kAllCapitals
};

// The style flags of the font record: weight and slant as one of the low 18
// bits (2k for weight 100 (k + 1), 2k + 1 italic), and the capitals bits.
uint32_t StyleFlags(const TextFont& font);

struct DrawingObject {
    ObjectKind kind = ObjectKind::kGroup;
    // Where the object stands in its description, as a JSON pointer, so that
    // a failure while exporting it can name it.
    std::string where;
    // Members of groups, links, clips and transforms, in drawing order; empty
    // where the reader hands the drawing over as it reads (DrawingSink).
    std::vector<DrawingObject> objects;

    Style style;
    svgf::HostRect box{};  // the shape's bounding box (left, top, right, bottom)
    // Rectangles and ellipses.
    svgf::HostPoint centre{};
    int32_t width = 0;
    int32_t height = 0;
    int32_t corner = 0;
    // Paths, polygons and path clips: one node type per point.
    std::vector<svgf::HostPoint> points;
    std::vector<uint8_t> nodeTypes;
    // Groups and links.
    std::optional<LinkTarget> link;
    // Clips: the clip record's kind (3 rectangle, 4 path) and rectangle.
    int32_t clipKind = 0;
    svgf::HostRect clipRect{};
    // Transforms and bitmaps: the host matrix.
    svgf::HostMatrix matrix{{1, 0, 0, 0, 1, 0}};
    // Text: the font, the character codes and the first character's origin.
    TextFont font;
    std::u16string text;
    svgf::HostPoint origin{};
    // Bitmaps: the image file (PNG, JPEG or GIF) shown over `box`, and the
    // part of the box that stays visible.
    std::string image;
    svgf::HostRect visible{};
};

struct DrawingLayer {
    std::string name;
    std::string where;
    std::vector<DrawingObject> objects;
};

struct Drawing {
    int version = 0;
    svgf::HostRect page{};  // left, top, right, bottom; top is the larger y
    std::vector<DrawingLayer> layers;
    // Pattern tiles, numbered from 1 by PatternStyle::tile: the objects the
    // host draws, in the tile's own coordinates, when the module asks.
    std::vector<std::vector<DrawingObject>> tiles;
};

}  // namespace host

#endif  // SVGFILTER_HOST_DRAWING_H
