// The drawing objects of the import: what the reader makes of each drawable
// element and of each definition an element refers to, in host units, for
// the canvas to replay into the host.
//
// Ownership, one owner per import and no block freed by hand:
//  - a drawing object belongs to the builder that made it, for one canvas
//    operation;
//  - its presentation record owns its paint, stroke, font and clip path
//    (unique pointers; ReleasePresentation frees them early);
//  - definitions an element refers to (gradients, patterns, masks) belong to
//    the import's WDefinitions store; a reference paint and the mask slot
//    only point at them;
//  - a clip path owns its shapes, a mask its content.
#ifndef SVGIMPORT_OBJECTS_H
#define SVGIMPORT_OBJECTS_H

#include <algorithm>
#include <any>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "svgfilter/import_abi.h"
#include "svgimport/matrix.h"
#include "svgimport/values.h"
#include "svgimport/wstring.h"

namespace SVG {

// Object kinds: the canvas and the fill builder switch on them.
namespace kind {
inline constexpr uint32_t kLinearGradient = 0;
inline constexpr uint32_t kRadialGradient = 1;
inline constexpr uint32_t kPattern = 2;
inline constexpr uint32_t kPath = 3;
inline constexpr uint32_t kRectangle = 4;
inline constexpr uint32_t kEllipse = 5;
inline constexpr uint32_t kText = 7;
inline constexpr uint32_t kImage = 8;
inline constexpr uint32_t kClippath = 10;
inline constexpr uint32_t kMask = 11;
inline constexpr uint32_t kGroup = 12;
inline constexpr uint32_t kAnchor = 13;
inline constexpr uint32_t kBase = 14;  // the abstract classes
}  // namespace kind

class WDefsObject;
class WClippath;
class WMask;

// ---------------------------------------------------------------------------
// Paints.

namespace paint {
inline constexpr uint32_t kColor = 0;
inline constexpr uint32_t kUri = 1;
}  // namespace paint

class WFill {
  public:
    virtual ~WFill();
    virtual uint32_t kind() const = 0;

    uint32_t word = 0;  // carried over from the paint this one replaces
    uint16_t opacity = kOpaque;

  protected:
    WFill() = default;
    WFill(const WFill&) = default;
    WFill& operator=(const WFill&) = default;
};

// A new colour paint is opaque black.
class WFill_Color final : public WFill {
  public:
    uint32_t kind() const override { return paint::kColor; }
    WColour colour;
};

// A url(#id) paint: the gradient or pattern it names, kept by the import's
// definitions (not owned here); null when the reference named nothing
// buildable.
class WFill_URI final : public WFill {
  public:
    uint32_t kind() const override { return paint::kUri; }
    const WDefsObject* definition = nullptr;
};

// ---------------------------------------------------------------------------
// Presentation.

namespace cap {
inline constexpr int32_t kButt = 0;
inline constexpr int32_t kRound = 1;
inline constexpr int32_t kSquare = 2;
}  // namespace cap
namespace join {
inline constexpr int32_t kMiter = 0;
inline constexpr int32_t kRound = 1;
inline constexpr int32_t kBevel = 2;
}  // namespace join

struct WStroke {
    int32_t width = 1;  // host units
    int32_t cap = cap::kButt;
    int32_t join = join::kMiter;
    double miterLimit = 8;
    // Each dash in units of the stroke width (host length over the width,
    // rounded half away from zero), the dash offset turned into the list,
    // as many as the host's outline record holds; empty: a solid line.
    std::vector<int32_t> dashes;
    uint16_t opacity = kOpaque;
    WColour colour;
};

// Host weight codes (the reader maps CSS weights onto them): 4 = 100,
// 3 = 200, 6 = 300, 0 = 400, 8 = 500, 9 = 600, 1 = 700, 2 = 800, 12 = 900.
struct WFont {
    bool italic = false;
    bool decoration = false;  // underline, overline or line-through
    int32_t weight = 0;
    // The reader converts it to host units (vertical) before the text is
    // drawn; a new font is 12 points.
    WLength size{12, unit::kPt};
    WString family;  // empty: the host's default font
};

// The presentation attributes of an object, from its computed style.
struct WPresentation {
    std::unique_ptr<WFill> fill;  // null: no fill
    std::unique_ptr<WStroke> stroke;
    std::unique_ptr<WFont> font;
    std::unique_ptr<WClippath> clipPath;
    const WMask* mask = nullptr;  // kept by the import's definitions
    // visibility: a hidden object is not drawn (a group's children still
    // are, unless they are hidden too).
    bool visible = true;
    bool displayed = true;  // display: none, for shapes built for a definition
    // The object's opacity times that of every group around it, 0..1; the
    // paints' own opacities multiply it.
    double opacity = 1;
    bool evenOdd = false;      // fill-rule: evenodd
    bool clipEvenOdd = false;  // clip-rule: evenodd, for a clip path's shapes

    WPresentation();
    WPresentation(WPresentation&&) noexcept;
    WPresentation& operator=(WPresentation&&) noexcept;
    ~WPresentation();

    // Frees paint, stroke, font and clip path; forgets the mask.
    void Release();
};

// ---------------------------------------------------------------------------
// Drawing objects.

class WDefsObject {
  public:
    virtual ~WDefsObject();
    virtual uint32_t kind() const { return kind::kBase; }

  protected:
    WDefsObject() = default;
    WDefsObject(const WDefsObject&) = default;
    WDefsObject& operator=(const WDefsObject&) = default;
};

class WObject : public WDefsObject {
  public:
    WPresentation presentation;
    void ReleasePresentation() { presentation.Release(); }
};

class WGraphicsPrimitive : public WObject {
  public:
    // From the element's user space (y down) to host units (y up): the
    // reader's current matrix with the element's own transform composed
    // into it, the matrix the geometry was converted with. The geometry
    // below is already in host units and the canvas never applies the
    // matrix to it again: rectangles, ellipses and images take their
    // orientation from it (a turned or skewed rectangle or ellipse goes to
    // the host as a path), a text takes its whole frame.
    WMatrix matrix;
};

class WGroup final : public WGraphicsPrimitive {
  public:
    uint32_t kind() const override { return kind::kGroup; }
};

// Segment codes of WPath::AddPoint.
namespace segment {
inline constexpr int32_t kMove = 0;
inline constexpr int32_t kLine = 1;
inline constexpr int32_t kCurveEnd = 2;
inline constexpr int32_t kControl = 3;
}  // namespace segment

// Points in host units, one kind byte each (svgf::import_node), and their
// bounding box: left the least x, top the greatest y, right the greatest x,
// bottom the least y; all 0 while there are no points.
class WPath final : public WGraphicsPrimitive {
  public:
    uint32_t kind() const override { return kind::kPath; }

    std::vector<svgf::HostPoint> points;
    std::vector<uint8_t> kinds;
    svgf::HostBox box{0, 0, 0, 0};

    uint32_t Count() const { return static_cast<uint32_t>(points.size()); }
    // The kind byte of a segment code: bit 0x04 on every point but a
    // control, the code in bits 7-6.
    static uint8_t KindOf(int32_t segmentCode);
    // Appends a point with the kind of its segment code; the first point
    // sets the box, later ones widen it.
    void AddPoint(svgf::HostPoint p, int32_t segmentCode);
    // Closes the subpath that began at point `first`: the last point gains
    // the close bit and bit 0x04; the first loses bit 0x04 when it lies
    // where the last does. Nothing without points.
    void CloseSubpath(size_t first);
};

// Where a rectangle (or image, or ellipse) lies in host units, from its
// user-space geometry and the matrix to host units: the centre goes through
// the matrix, each side is measured along its transformed axis (the length
// of the axis vector times the side), and the shape turns about its centre
// with the matrix's orientation.
struct WPlacement {
    WPoint centre;
    double width = 0;   // along the transformed x axis
    double height = 0;  // along the transformed y axis
};
WPlacement PlaceBox(const WMatrix& toHost, double x, double y, double width, double height);

// The geometry is the rectangle before its orientation: (x, y) its lower
// left corner and (width, height) its size in host units, height not
// negative; the rectangle turns about its centre as `matrix` turns its axes.
// Under a matrix that does not turn (the common case) that is the
// rectangle on the page.
class WRectangle final : public WGraphicsPrimitive {
  public:
    uint32_t kind() const override { return kind::kRectangle; }
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
    // The radius of rounded corners in host units; 0 for square ones. The
    // host rounds only a rectangle on its own axes; the reader sends other
    // rounded rectangles as paths.
    double corner = 0;
    // Sets the geometry from the user-space corner and size under `toHost`,
    // and the matrix to it.
    void Place(const WMatrix& toHost, double userX, double userY, double userWidth, double userHeight);
};

// Centre and radii in host units; each radius lies along the transformed
// axis it belongs to. rx and ry are not negative.
class WEllipse final : public WGraphicsPrimitive {
  public:
    uint32_t kind() const override { return kind::kEllipse; }
    double cx = 0;
    double cy = 0;
    double rx = 0;
    double ry = 0;
    void Place(const WMatrix& toHost, double userCx, double userCy, double userRx, double userRy);
};

// The text run at its anchor point (host units). Its font is the
// presentation's, with the size in host units.
class WText final : public WGraphicsPrimitive {
  public:
    uint32_t kind() const override { return kind::kText; }
    WString text;
    double x = 0;
    double y = 0;
};

// The placement box in host units (as a rectangle's: y the lower edge,
// height not negative) and the link text of the picture file.
class WImage final : public WGraphicsPrimitive {
  public:
    uint32_t kind() const override { return kind::kImage; }
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
    WString href;
    // The part of the box that shows, in host units as the box (a sliced
    // picture shows only its viewport); unset: all of it.
    struct Visible {
        double x = 0;
        double y = 0;
        double width = 0;
        double height = 0;
    };
    std::optional<Visible> visible;
    void Place(const WMatrix& toHost, double userX, double userY, double userWidth, double userHeight);
};

// An `a` element's target; empty when it has no xlink:href.
class WAnchor final : public WDefsObject {
  public:
    uint32_t kind() const override { return kind::kAnchor; }
    WString href;
};

// Clip shapes (paths and rectangles) in document order, owned.
class WClippath final : public WDefsObject {
  public:
    uint32_t kind() const override { return kind::kClippath; }
    std::vector<std::unique_ptr<WGraphicsPrimitive>> shapes;
    WPresentation presentation;
    // A clip path with nothing shown in it (no children, or every one
    // hidden) clips its element away entirely.
    bool clipsAll = false;
};

// A mask: its box in host units (height not negative, y the lower edge) and
// the rectangle of its content, whose fill makes the transparency.
class WMask final : public WDefsObject {
  public:
    uint32_t kind() const override { return kind::kMask; }
    std::unique_ptr<WRectangle> content;
    WPresentation presentation;
    double x = 0;
    double y = 0;
    WLength width{0, unit::kHost};
    WLength height{0, unit::kHost};
};

// A pattern: the tile in host units ((x, y) its upper left corner), the
// matrix its content is drawn under, the view box (left, top, right,
// bottom; all 0 without one), and the element it came from.
class WPattern final : public WDefsObject {
  public:
    uint32_t kind() const override { return kind::kPattern; }
    WPresentation presentation;
    WMatrix matrix;
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
    svgf::HostRect viewBox{0, 0, 0, 0};
    WString href;
    // The pattern element's node handle, as the reader keeps it, to draw
    // the tile's content from.
    std::any node;
    // A tile lattice the host cannot stand upright (a turned or skewed
    // pattern space): the tile's corner and its two sides in host units,
    // for the canvas to draw the content cell by cell; unset otherwise.
    struct Lattice {
        WPoint origin;
        WPoint across;
        WPoint down;
    };
    std::optional<Lattice> lattice;
    // What identifies the element (its node), so that a pattern drawn
    // inside its own tile is noticed however many objects were built from
    // the element; null: the object itself.
    const void* element = nullptr;
};

// Gradient flags: which values the element gave (or took over).
namespace gradient_flag {
// linear
inline constexpr uint16_t kX1 = 0x01;
inline constexpr uint16_t kY1 = 0x02;
inline constexpr uint16_t kX2 = 0x04;
inline constexpr uint16_t kY2 = 0x08;
inline constexpr uint16_t kSpread = 0x10;  // spreadMethod given
// radial
inline constexpr uint16_t kCx = 0x01;
inline constexpr uint16_t kCy = 0x02;
inline constexpr uint16_t kR = 0x04;
inline constexpr uint16_t kFx = 0x08;
inline constexpr uint16_t kFy = 0x10;
// both
inline constexpr uint16_t kTransform = 0x40;
inline constexpr uint16_t kStops = 0x80;
}  // namespace gradient_flag

// Stops in document order, each at its position along the gradient vector
// (0..255), none before the one ahead of it.
struct WStop {
    uint16_t position = 0;
    WStopValue value;
};
using WStopMap = std::vector<WStop>;

class WGradient : public WDefsObject {
  public:
    WMatrix matrix;  // gradientTransform
    WStopMap stops;  // empty: no stops
    uint16_t flags = 0;

    void SetFlag(uint16_t flag) { flags = static_cast<uint16_t>(flags | flag); }
    bool HasFlag(uint16_t flag) const { return (flags & flag) != 0; }
    // Appends a stop; as SVG has it, a position before the last stop's
    // counts as the last stop's (equal positions make a hard edge).
    void SetStop(uint16_t position, const WStopValue& value) {
        if (!stops.empty()) position = std::max(position, stops.back().position);
        stops.push_back({position, value});
    }
};

class WLinearGradient final : public WGradient {
  public:
    uint32_t kind() const override { return kind::kLinearGradient; }
    int32_t x1 = 0;
    int32_t y1 = 0;
    int32_t x2 = 0;
    int32_t y2 = 0;
};

class WRadialGradient final : public WGradient {
  public:
    uint32_t kind() const override { return kind::kRadialGradient; }
    int32_t cx = 0;
    int32_t cy = 0;
    int32_t r = 0;
    int32_t fx = 0;
    int32_t fy = 0;
    // Where the host's circle falls short (the map makes the circle an
    // ellipse, or the focus lies off the centre), the gradient as SVG
    // gives it, for the canvas to draw as bands: its own space's map to
    // host units, centre, focus and radius there, its spread and its stops
    // over one period (the fountain's above may be widened for a spread).
    struct Banded {
        WMatrix space;
        WPoint centre;
        WPoint focus;
        double radius = 0;
        int spread = 0;  // 0 pad, 1 reflect, 2 repeat
        WStopMap stops;
    };
    std::optional<Banded> banded;
};

// The import's definitions: every gradient, pattern and mask built for a
// reference lives here until the import ends (or until the scope it was
// built in is released), so that paints and mask slots may point at them.
class WDefinitions {
  public:
    WDefinitions() = default;
    WDefinitions(const WDefinitions&) = delete;
    WDefinitions& operator=(const WDefinitions&) = delete;

    // Takes the object and answers where it lives; null stays null.
    template <typename T>
    T* Keep(std::unique_ptr<T> object) {
        T* kept = object.get();
        if (kept != nullptr) objects_.push_back(std::move(object));
        return kept;
    }
    size_t Size() const { return objects_.size(); }

    // Scopes: what was kept after Mark() is destroyed by ReleaseFrom(mark),
    // newest first (say, the definitions of one element once it is drawn).
    size_t Mark() const { return objects_.size(); }
    void ReleaseFrom(size_t mark);
    void Clear() { ReleaseFrom(0); }

  private:
    std::vector<std::unique_ptr<WDefsObject>> objects_;
};

}  // namespace SVG

#endif  // SVGIMPORT_OBJECTS_H
