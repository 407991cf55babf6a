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
};

// The host's style records in short; the player builds the full records.
struct FillStyle {
    uint16_t kind = svgf::kFillNone;  // kFillNone or kFillUniform
    svgf::ColorRecord colour{};
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
    uint16_t kind = svgf::kTransparencyUniform;
    uint16_t subKind = 0;
    double start = 0;  // percent
    double end = 0;
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
    std::vector<DrawingObject> objects;  // members of groups, links, clips and transforms, in drawing order

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
    // Transforms: the host matrix.
    svgf::HostMatrix matrix{{1, 0, 0, 0, 1, 0}};
    // Text: the font, the character codes and the first character's origin.
    TextFont font;
    std::u16string text;
    svgf::HostPoint origin{};
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
};

}  // namespace host

#endif  // SVGFILTER_HOST_DRAWING_H
