// What the reader's files share: an element's attributes read once, names,
// and the frame that gives the current matrix back.
#ifndef SVGIMPORT_READER_DETAIL_H
#define SVGIMPORT_READER_DETAIL_H

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "markup/parser/dom/dom_handle.h"
#include "svgimport/names.h"
#include "svgimport/path_data.h"
#include "svgimport/reader.h"
#include "svgimport/values.h"

namespace SVG::detail {

struct Attribute {
    int32_t id;  // SVG::attribute id, kUnknownName for other names
    std::string name;
    std::string value;
};

// What a gradient's chain gives: each value from the first element of the
// chain that has it, and the stops of the first that has stops (each as
// written: its offset read and its style computed).
struct GradientSource {
    std::optional<WLength> value[5];  // x1 y1 x2 y2 / cx cy r fx fy
    std::optional<bool> boundingBox;
    std::optional<WMatrix> transform;
    bool spread = false;
    std::optional<std::string> spreadMethod;  // the first one given along the chain
    WStopMap stops;
};

class Attributes {
  public:
    explicit Attributes(const markup::WDOMHandle& element);
    // The last occurrence of the attribute; null when absent.
    const std::string* Find(int32_t id) const;
    const std::string* FindName(std::string_view name) const;
    // The attribute as a length; kind unit::kNone when absent.
    WLength Length(int32_t id) const;
    // xlink:href, or SVG 2's plain href.
    const std::string* Href() const;
    const std::vector<Attribute>& All() const { return items_; }
    // Takes over each of `names` that `other` has and this has not (the
    // attributes a referring definition inherits).
    void AddMissing(const Attributes& other, std::initializer_list<std::string_view> names);

  private:
    const Attribute* FindFirst(std::string_view name) const;

    std::vector<Attribute> items_;
};

std::string NameOf(const markup::WDOMHandle& node);
int32_t ElementIdOf(const markup::WDOMHandle& node);

// A length in user units of the current space; `fallback` when absent.
double UserLength(const WCoordinates& coordinates, WLength length, int32_t horizontal, double fallback = 0);

// A value in objectBoundingBox units: a fraction, a percentage of the box.
double BoxFraction(const WLength& length, double fallback);

// The element's own transform; the identity without one.
WMatrix TransformOf(const Attributes& attributes);

// x, y, width and height of an element or region.
using Region = ViewportRegion;
// In user units of the current space; `fallback` for those absent.
Region UserRegion(const WCoordinates& coordinates, const Attributes& attributes, const Region& fallback = {});
// In objectBoundingBox units: fractions (or percentages) of `box`, the
// fractions `fallback` for those absent.
Region BoxRegion(const Attributes& attributes, const WBox& box, const Region& fallback);

// The conditional attributes hold: requiredFeatures names only features
// of static SVG 1.1, there is no requiredExtensions (none is supported),
// and systemLanguage, where given, names English.
bool ConditionsHold(const Attributes& attributes);

// A view box: the rectangle of user space a viewport shows.
struct ViewBox {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
};
// The element's viewBox of four numbers; nothing without one or for one
// that does not read (its width or height may be 0 or negative).
std::optional<ViewBox> ViewBoxOf(const Attributes& attributes);

// preserveAspectRatio: the alignment of the fitted view box (0 at the
// viewport's start, 0.5 in its middle, 1 at its end) and whether it is met
// or sliced; `none` stretches it. The default is xMidYMid meet.
struct AspectRatio {
    double alignX = 0.5;
    double alignY = 0.5;
    bool none = false;
    bool slice = false;
};
AspectRatio ParseAspectRatio(std::string_view text);
AspectRatio AspectRatioOf(const Attributes& attributes);

// The matrix that fits the view box into the viewport (x, y, width,
// height in the viewport's own user space); the identity for a view box
// without area.
WMatrix ViewBoxMatrix(const ViewBox& box, const AspectRatio& ratio, const ViewportRegion& viewport);

// Whether an element's `overflow` (attribute or style attribute) lets its
// content show outside its viewport: visible and auto do.
bool OverflowShown(const Attributes& attributes);

// Saves the current matrix and its inverse; gives both back when it goes.
class MatrixFrame {
  public:
    explicit MatrixFrame(WCoordinates& coordinates)
        : coordinates_(coordinates), current_(coordinates.Current()), inverse_(coordinates.Inverse()) {}
    ~MatrixFrame() {
        coordinates_.Current() = current_;
        coordinates_.UpdateInverse();
    }
    MatrixFrame(const MatrixFrame&) = delete;
    MatrixFrame& operator=(const MatrixFrame&) = delete;
    // Composes `local` into the current matrix.
    void Compose(const WMatrix& local) {
        coordinates_.Current().Multiply(local);
        coordinates_.UpdateInverse();
    }

  private:
    WCoordinates& coordinates_;
    WMatrix current_;
    WMatrix inverse_;
};

// Definitions an element's style built live until the element is drawn.
class DefinitionScope {
  public:
    explicit DefinitionScope(WDefinitions& definitions)
        : definitions_(definitions), mark_(definitions.Mark()) {}
    ~DefinitionScope() { definitions_.ReleaseFrom(mark_); }
    DefinitionScope(const DefinitionScope&) = delete;
    DefinitionScope& operator=(const DefinitionScope&) = delete;

  private:
    WDefinitions& definitions_;
    size_t mark_;
};

// What a builder holds while it reads an element: its attributes, read
// once, and the current matrix with the element's transform composed,
// given back when the frame goes.
struct ElementFrame {
    ElementFrame(WCoordinates& coordinates, const markup::WDOMHandle& element)
        : attributes(element), matrix(coordinates) {
        matrix.Compose(TransformOf(attributes));
    }
    Attributes attributes;
    MatrixFrame matrix;
};

// Marks an element as being worked on (drawn or built) while it lives;
// Entered() is false when it already was, or when the nesting is too deep.
class Visit {
  public:
    Visit(std::vector<const void*>& stack, const markup::WDOMHandle& node);
    ~Visit() {
        if (entered_) stack_.pop_back();
    }
    Visit(const Visit&) = delete;
    Visit& operator=(const Visit&) = delete;
    bool Entered() const { return entered_; }
    // Refused for the depth, not for a cycle.
    bool TooDeep() const { return tooDeep_; }

  private:
    std::vector<const void*>& stack_;
    bool entered_ = false;
    bool tooDeep_ = false;
};

// Counts a definition built for an element's style: false once the
// element's budget of nested builds is spent.
inline bool SpendBuild(const std::vector<const void*>& building, long& spent, long limit, bool& met) {
    if (building.empty()) spent = 0;
    if (++spent <= limit) return true;
    met = true;
    return false;
}

// A canvas that draws nothing and keeps the host extent (strokes
// included) of every primitive it is given; turned shapes count by the
// circle around them.
class BoundsCanvas final : public WCanvas {
  public:
    int32_t DrawEllipse(const WEllipse& ellipse) override;
    int32_t DrawImage(const WImage& image) override;
    int32_t DrawText(const WText& text) override;
    int32_t DrawPath(const WPath& path) override;
    int32_t DrawRectangle(const WRectangle& rectangle) override;
    int32_t AcceptString(const WString&) override { return 1; }
    int32_t DeclineString(const WString&) override { return 0; }
    int32_t BeginGroup(const WGroup&) override { return 1; }
    int32_t EndGroup(const WGroup&) override { return 1; }
    int32_t BeginAnchor(const WAnchor&) override { return 1; }
    int32_t EndAnchor() override { return 1; }

    bool Any() const { return any_; }
    // The extent in host units; all 0 while nothing was drawn.
    double Left() const { return left_; }
    double Bottom() const { return bottom_; }
    double Right() const { return right_; }
    double Top() const { return top_; }

  private:
    void Add(double left, double bottom, double right, double top);
    // A box of x, y (lower left), width and height turning with `m`.
    void AddBox(double x, double y, double width, double height, const WMatrix& m, double grow);

    bool any_ = false;
    double left_ = 0;
    double bottom_ = 0;
    double right_ = 0;
    double top_ = 0;
};

// The host end of a linear gradient's ramp from p1 to p2 (in the space
// `toHost` maps): the mapped p1 plus the normal of the mapped lines of
// equal colour, as long as the ramp. Under a uniform map (a turn, a scale)
// that is the mapped p2; p2 itself when the vector or the map has no
// extent.
WPoint RampEnd(const WMatrix& toHost, WPoint p1, WPoint p2);

// A repeated or reflected gradient as one the host pads: its vector (or
// radius) widened to whole periods that cover the corners (host units) of
// the element's box, its stops repeated (or mirrored) once per period, as
// many periods as 101 stops hold.
void SpreadOverBox(WGradient& gradient, const WPoint corners[4], bool reflect);

// A box from user bounds; width and height 0 without points.
WBox BoxOf(const WUserBounds& bounds);

}  // namespace SVG::detail

#endif  // SVGIMPORT_READER_DETAIL_H
