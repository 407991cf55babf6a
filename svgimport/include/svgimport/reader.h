// The SVG reader: walks a parsed SVG document and hands each drawable
// element, as a drawing object in host units, to the canvas.
//
//   SVG::WParser reader(document, &styles);   // reads the root
//   if (!reader.Rooted()) ... reader.Status() says why
//   const int32_t ok = reader.Parse(&canvas);  // 1 when drawn
//
// The reader keeps the id index, the current matrix (from the element's
// user space to host units), the definitions built for references and the
// guards that end reference cycles. It asks each element's computed style
// through a WStyleSource and knows nothing of CSS itself.
#ifndef SVGIMPORT_READER_H
#define SVGIMPORT_READER_H

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "markup/parser/dom/dom_handle.h"
#include "svgimport/canvas.h"
#include "svgimport/coordinates.h"
#include "svgimport/objects.h"
#include "svgimport/style_source.h"

namespace SVG {

namespace detail {
class Attributes;
struct GradientSource;
}

// Why a document gives no drawing.
enum class WReadStatus {
    kRead,          // the root was taken
    kNoRoot,        // the document has no element
    kNotSvg,        // its first element is not `svg`
    kEmptyViewBox,  // the root's view box has no width or no height
};
// A sentence for the user.
const char* DescribeReadStatus(WReadStatus status);

// A document node inside the element tree (the parser makes none).
class WParserException {};

// An element's box in user units of its own space (after its transform),
// for definitions in objectBoundingBox units.
struct WBox {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
};

// A viewport's rectangle in user units of the space around it.
struct ViewportRegion {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
};

// How much a drawing may multiply its content through references: elements
// drawn inside `use` instances, per drawing; definitions built inside
// definitions, for one element's style. Past them nothing more is drawn or
// built (documents that nest references to several copies of the next
// level would otherwise never end).
struct WReadLimits {
    long instanced = 100000;
    long nestedBuilds = 10000;
};

// Which bounds a drawing met: each cut something the document holds, and
// the import says so.
struct WLimitsMet {
    bool instanced = false;     // elements past WReadLimits::instanced inside `use`
    bool nestedBuilds = false;  // definitions past WReadLimits::nestedBuilds
    bool depth = false;         // nesting or references deeper than kMaxDepth
};

class WParser : public WCoordinates, public WTileDrawer {
  public:
    // Reads the root from the document's first element. `styles` must
    // outlive the reader.
    WParser(const markup::WDOMHandle& document, WStyleSource* styles, WReadLimits limits = {});
    ~WParser() override;
    WParser(const WParser&) = delete;
    WParser& operator=(const WParser&) = delete;

    bool Rooted() const { return rooted_; }
    WReadStatus Status() const { return status_; }

    // Indexes the ids, then draws the document on `canvas`: 1 when the
    // root was drawn, 0 without a canvas or a root. The id index is
    // emptied afterwards; the definitions stay until the reader goes.
    int32_t Parse(WCanvas* canvas);

    // Nesting deeper than this (elements inside elements, and references
    // inside references) is not followed.
    static constexpr int kMaxDepth = 256;
    const WReadLimits& Limits() const { return limits_; }
    const WLimitsMet& LimitsMet() const { return limitsMet_; }
    // One line for each bound met ("drawing stopped after ..."), empty when none was.
    std::vector<std::string> DescribeLimitsMet() const;

    // --- The walk ---------------------------------------------------------
    int32_t DrawNode(const markup::WDOMHandle& node);
    // Every child in order; the last element's result, 0 for none.
    int32_t WalkChildren(const markup::WDOMHandle& node);

    // --- References -------------------------------------------------------
    // The element a reference text names ("url(#id)", "url( #id )",
    // "#id"); null for anything else or an unknown id.
    markup::WDOMHandle ResolveHref(std::string_view text) const;
    markup::WDOMHandle Resolve(const WStyleReference& reference) const;
    // A new definition built from a gradient, pattern, clip path or mask
    // element, or null (another element, or one whose building is under
    // way: a reference cycle). Gradients, patterns and masks are kept in the
    // definitions; a clip path is the caller's.
    const WDefsObject* ResolveReference(const markup::WDOMHandle& element, const WBox* box);

    // Fills a presentation record from the element's computed style; `box`
    // is the element's box for definitions in objectBoundingBox units.
    void ResolveStyle(const markup::WDOMHandle& element, WPresentation& out, const WBox* box);

    // --- Builders (the current matrix is the element's space) ---------------
    std::unique_ptr<WPath> BuildPath(const markup::WDOMHandle& element);
    std::unique_ptr<WRectangle> BuildRectangle(const markup::WDOMHandle& element);
    std::unique_ptr<WGradient> BuildGradient(const markup::WDOMHandle& element, const WBox* box);
    std::unique_ptr<WPattern> BuildPattern(const markup::WDOMHandle& element, const WBox* box);
    // A clip path for an element of box `box` (its user space's).
    std::unique_ptr<WClippath> BuildClipPath(const markup::WDOMHandle& element, const WBox* box);
    std::unique_ptr<WMask> BuildMask(const markup::WDOMHandle& element, const WBox* box);

    // The canvas's call back for a pattern's tile: the pattern element's
    // children under the pattern's matrix (the whole matrix of its content
    // to host units).
    int32_t DrawPatternTile(const WPatternTile& tile) override;

    WDefinitions& Definitions() { return definitions_; }
    size_t IdCount() const { return ids_.size(); }

  private:
    struct Frame;
    friend struct Frame;

    int32_t ParseRoot(const markup::WDOMHandle& root);
    // Namespaces: the prefixes the document binds to SVG's namespace; the
    // local name of an element name in it (empty for another namespace's);
    // whether an element is of another namespace, and so not drawn.
    void NotePrefixes(const detail::Attributes& attributes);
    std::string_view SvgLocalName(std::string_view name) const;
    bool Foreign(const markup::WDOMHandle& element, const detail::Attributes& attributes) const;
    // The element's kind, a prefixed name of SVG's namespace by its local name.
    int32_t KindOf(const markup::WDOMHandle& element) const;
    // Adds a clip path's child, in the current space, to the union `out`.
    void AddClipChild(const markup::WDOMHandle& child, WPath& out, int depth);
    // The root matrix for a page of width x height host units.
    void SetRootSize(double width, double height);
    // Draws the root's content in the group of its own transform and style.
    int32_t DrawRoot();
    // The sides the root does not give, from the far corner of its content.
    void MeasureRoot();
    // The element's computed font size in its user units; the current one
    // when its style gives none.
    double FontSizeOf(const markup::WDOMHandle& element);
    void IndexIds(const markup::WDOMHandle& node, int depth);
    // What the gradient element of that kind and its xlink:href chain give
    // every object that refers to it, read once an import.
    const detail::GradientSource& GradientSourceOf(const markup::WDOMHandle& element, int32_t kindId);
    int32_t DrawElement(const markup::WDOMHandle& element);
    // The builder of the element's kind.
    int32_t DrawByKind(const markup::WDOMHandle& element);
    WCanvas* Canvas() const { return canvas_; }
    // The element's computed style (the initial values when it has none);
    // valid until the next call.
    const WComputedStyle& StyleOf(const markup::WDOMHandle& element);
    // The kept style no longer holds (its element was released, or an
    // instance began or ended).
    void ForgetStyle();
    // False for an element whose display is none: nothing of it is drawn.
    bool Displayed(const markup::WDOMHandle& element);
    // The element's own opacity times that of the groups around it.
    double OpacityWithin(const markup::WDOMHandle& element);

    int32_t DoGroup(const markup::WDOMHandle& element);
    int32_t DoAnchor(const markup::WDOMHandle& element);
    int32_t DoUse(const markup::WDOMHandle& element);
    int32_t DoSwitch(const markup::WDOMHandle& element);
    // A nested svg: its viewport at x, y, width, height (the sizes of a
    // `use` that instances it in place of its own).
    int32_t DoNestedSvg(const markup::WDOMHandle& element, const WLength* width = nullptr,
                        const WLength* height = nullptr);
    // Opens the viewport `owner` establishes over `region` (in the current
    // space): clipped to it unless its overflow shows, its view box fitted
    // into it, percentages counting from it; draws `body` inside.
    template <typename Body>
    int32_t InViewport(const markup::WDOMHandle& owner, const ViewportRegion& region, Body body);
    int32_t DoPath(const markup::WDOMHandle& element);
    int32_t DoRect(const markup::WDOMHandle& element);
    int32_t DoEllipse(const markup::WDOMHandle& element, bool circle);
    int32_t DoLine(const markup::WDOMHandle& element);
    int32_t DoPoly(const markup::WDOMHandle& element, bool closed);
    int32_t DoText(const markup::WDOMHandle& element);
    // A text run's presentation from its element, with the clip path and
    // mask of the text it belongs to.
    void StyleTextRun(const markup::WDOMHandle& textElement, const markup::WDOMHandle& element,
                      WPresentation& out, const WBox* box);
    int32_t DoImage(const markup::WDOMHandle& element);
    // Draws a path-shaped element: its style over the path's box, then the
    // canvas.
    void DrawPathObject(const markup::WDOMHandle& element, WPath& path, const WBox& box);
    // Opens a group for `element` under `local` (composed into the current
    // matrix), draws `body` inside and closes it; false when the canvas
    // refused the group.
    template <typename Body>
    int32_t InGroup(const markup::WDOMHandle& element, const WMatrix& local, Body body);

    // A rounded rectangle as a path (corners as quarter ellipses).
    std::unique_ptr<WPath> RoundedRectPath(double x, double y, double w, double h, double rx,
                                           double ry) const;

    markup::WDOMHandle document_;
    markup::WDOMHandle root_;
    std::set<std::string, std::less<>> svgPrefixes_;
    bool rooted_ = false;
    bool rootViewBox_ = false;
    bool measureWidth_ = false;
    bool measureHeight_ = false;
    WReadStatus status_ = WReadStatus::kNoRoot;
    WStyleSource* styles_;
    WReadLimits limits_;
    WLimitsMet limitsMet_;
    WCanvas* canvas_ = nullptr;
    std::map<std::string, markup::WDOMHandle, std::less<>> ids_;
    WDefinitions definitions_;
    std::unordered_map<const void*, std::unique_ptr<detail::GradientSource>> gradientSources_;
    // Elements being drawn (the walk's ancestors, `use` targets included)
    // and definitions being built: met again, they are not followed.
    std::vector<const void*> drawing_;
    std::vector<const void*> building_;
    int uses_ = 0;           // `use` instances open
    long instanced_ = 0;     // elements drawn inside them
    long nestedBuilds_ = 0;  // definitions built for the current element's style
    // The product of the opacities of the groups being drawn (the root, the
    // `g`, `use`, `a` and symbol instances around the current element).
    double opacity_ = 1;
    // The last style asked for, and its element.
    const void* styleOf_ = nullptr;
    WComputedStyle style_;
};

// The identity of a DOM node: the same for every handle on it.
const void* NodeIdentity(const markup::WDOMHandle& node);

}  // namespace SVG

#endif  // SVGIMPORT_READER_H
