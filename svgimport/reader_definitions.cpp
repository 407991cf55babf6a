// Definitions built for references: gradients (attributes and stops
// inherited along xlink:href chains), patterns, clip paths and masks, each
// placed in the referring element's space and, in objectBoundingBox units,
// on its box. Every chain and self-reference ends: an element whose
// building is under way is not built again inside itself.
#include <algorithm>
#include <cmath>
#include <optional>

#include "reader_detail.h"
#include "stroke_outline.h"
#include "svgimport/path_data.h"

namespace SVG {

using markup::WDOMHandle;

namespace {

int32_t TruncatedHost(double v) {
    if (!(v > INT32_MIN)) return std::isnan(v) ? 0 : INT32_MIN;
    return v >= INT32_MAX ? INT32_MAX : static_cast<int32_t>(v);
}

constexpr int32_t kLinearAttributes[5] = {attribute::kX1, attribute::kY1, attribute::kX2, attribute::kY2,
                                          -100};
constexpr int32_t kRadialAttributes[5] = {attribute::kCx, attribute::kCy, attribute::kR, attribute::kFx,
                                          attribute::kFy};

// Whether a map keeps the host's axes on its axes (a quarter turn and
// mirrors included), so that the host's upright tiles can hold its lattice.
bool Upright(const WMatrix& m) {
    const double scale = std::fabs(m.a) + std::fabs(m.b) + std::fabs(m.c) + std::fabs(m.d);
    const double tolerance = 1e-9 * scale;
    return (std::fabs(m.b) <= tolerance && std::fabs(m.c) <= tolerance) ||
           (std::fabs(m.a) <= tolerance && std::fabs(m.d) <= tolerance);
}

// How near the edge a focus outside the circle is put.
constexpr double kFocusReach = 0.999;

bool HasStops(const WDOMHandle& element) {
    for (WDOMHandle child = element.GetFirstChild(); !child.IsNull(); child = child.GetNextSibling()) {
        if (detail::ElementIdOf(child) == element::kStop) return true;
    }
    return false;
}

bool HasElementChildren(const WDOMHandle& element) {
    for (WDOMHandle child = element.GetFirstChild(); !child.IsNull(); child = child.GetNextSibling()) {
        if (child.GetNodeType() == markup::kDOMElementNode) return true;
    }
    return false;
}

bool IsGradient(int32_t id) {
    return id == element::kLinearGradient || id == element::kRadialGradient;
}

std::optional<bool> UnitsOf(const std::string* text) {
    if (text == nullptr) return std::nullopt;
    if (*text == "userSpaceOnUse") return false;
    if (*text == "objectBoundingBox") return true;
    return std::nullopt;
}

}  // namespace

const detail::GradientSource& WParser::GradientSourceOf(const WDOMHandle& element, int32_t kindId) {
    // Every object filled with the gradient would otherwise read its chain
    // and compute its stops' styles again.
    std::unique_ptr<detail::GradientSource>& held = gradientSources_[NodeIdentity(element)];
    if (held) return *held;
    auto spec = std::make_unique<detail::GradientSource>();
    const int32_t* names = kindId == element::kLinearGradient ? kLinearAttributes : kRadialAttributes;
    WDOMHandle stops;  // the element whose stop children count
    std::vector<const void*> chain;
    WDOMHandle at = element;
    while (!at.IsNull() && IsGradient(detail::ElementIdOf(at)) &&
           chain.size() < static_cast<size_t>(kMaxDepth)) {
        const void* identity = NodeIdentity(at);
        if (std::find(chain.begin(), chain.end(), identity) != chain.end()) break;  // the chain loops
        chain.push_back(identity);
        const detail::Attributes attributes(at);
        // Geometry comes only from gradients of the same kind.
        if (detail::ElementIdOf(at) == kindId) {
            for (int i = 0; i < 5; ++i) {
                if (spec->value[i] || names[i] < 0) continue;
                if (attributes.Find(names[i]) != nullptr) spec->value[i] = attributes.Length(names[i]);
            }
        }
        if (!spec->boundingBox) spec->boundingBox = UnitsOf(attributes.Find(attribute::kGradientUnits));
        if (!spec->transform) {
            if (const std::string* t = attributes.Find(attribute::kGradientTransform))
                spec->transform = ParseTransform(*t);
        }
        spec->spread = spec->spread || attributes.Find(attribute::kSpreadMethod) != nullptr;
        if (!spec->spreadMethod) {
            if (const std::string* method = attributes.Find(attribute::kSpreadMethod)) spec->spreadMethod = *method;
        }
        if (stops.IsNull() && HasStops(at)) stops = at;
        const std::string* href = attributes.Href();
        at = href != nullptr ? ResolveHref(*href) : WDOMHandle();
    }
    // Stops: positions from their offsets, colours from their style.
    for (WDOMHandle stop = stops.GetFirstChild(); !stop.IsNull(); stop = stop.GetNextSibling()) {
        if (detail::ElementIdOf(stop) != element::kStop) continue;
        const detail::Attributes attributes(stop);
        uint16_t position = 0;
        if (const std::string* offset = attributes.Find(attribute::kOffset))
            StopOffsetFromText(*offset, &position);
        WComputedStyle style;
        if (styles_ == nullptr || !styles_->GetStyle(stop, &style)) style = WComputedStyle();
        WStopValue value = StopValueFromStyle(style.stopColour, style.stopOpacity);
        value.opacity = WithAlpha(value.opacity, style.stopAlpha);
        spec->stops.push_back({position, value});
        // Read once: a gradient of many stops must not hold a record each.
        if (styles_ != nullptr) styles_->Release(stop);
    }
    held = std::move(spec);
    return *held;
}

std::unique_ptr<WGradient> WParser::BuildGradient(const WDOMHandle& element, const WBox* box) {
    const int32_t kindId = detail::ElementIdOf(element);
    if (!IsGradient(kindId)) return nullptr;
    if (!detail::SpendBuild(building_, nestedBuilds_, limits_.nestedBuilds, limitsMet_.nestedBuilds)) {
        return nullptr;
    }
    const bool linear = kindId == element::kLinearGradient;
    const detail::GradientSource& spec = GradientSourceOf(element, kindId);

    const bool boundingBox = spec.boundingBox.value_or(true);
    WMatrix toHost = Current();
    if (boundingBox) {
        // A box without area gives the gradient nothing to span.
        if (box == nullptr || !(box->width > 0 && box->height > 0)) return nullptr;
        toHost.Multiply(box->width, 0, 0, box->height, box->x, box->y);
    }
    if (spec.transform) toHost.Multiply(*spec.transform);
    const auto coordinate = [&](int i, int32_t horizontal, double fallbackFraction) {
        if (boundingBox) return detail::BoxFraction(spec.value[i].value_or(WLength{}), fallbackFraction);
        const WLength fallback{fallbackFraction * 100, unit::kPercent};
        return detail::UserLength(*this, spec.value[i].value_or(fallback), horizontal);
    };

    std::unique_ptr<WGradient> gradient;
    if (linear) {
        auto g = std::make_unique<WLinearGradient>();
        const WPoint p1{coordinate(0, kHorizontal, 0), coordinate(1, kVertical, 0)};
        const WPoint p2{coordinate(2, kHorizontal, 1), coordinate(3, kVertical, 0)};
        const WPoint a = toHost.Transform(p1);
        // The ramp runs along the normal of its lines of equal colour,
        // which a non-uniform map does not keep at right angles to the
        // mapped vector: the host's vector is that normal, as long as the
        // ramp from one end line to the other.
        const WPoint b = detail::RampEnd(toHost, p1, p2);
        g->x1 = TruncatedHost(a.x);
        g->y1 = TruncatedHost(a.y);
        g->x2 = TruncatedHost(b.x);
        g->y2 = TruncatedHost(b.y);
        if (spec.spread) g->SetFlag(gradient_flag::kSpread);
        gradient = std::move(g);
    } else {
        auto g = std::make_unique<WRadialGradient>();
        const WPoint c{coordinate(0, kHorizontal, 0.5), coordinate(1, kVertical, 0.5)};
        // The focus defaults to the centre.
        const WPoint focus{spec.value[3] ? coordinate(3, kHorizontal, 0.5) : c.x,
                           spec.value[4] ? coordinate(4, kVertical, 0.5) : c.y};
        const double r = coordinate(2, kDiagonal, 0.5);
        const WPoint hc = toHost.Transform(c), hf = toHost.Transform(focus);
        // The host's circle for the mapped ellipse: the radius of the same
        // area.
        const double hr = r * std::sqrt(std::fabs(toHost.a * toHost.d - toHost.b * toHost.c));
        g->cx = TruncatedHost(hc.x);
        g->cy = TruncatedHost(hc.y);
        g->fx = TruncatedHost(hf.x);
        g->fy = TruncatedHost(hf.y);
        g->r = TruncatedHost(hr);
        // SVG moves a focus outside the circle onto its edge.
        WPoint f = focus;
        const double off = std::hypot(f.x - c.x, f.y - c.y);
        if (off > r * kFocusReach && off > 0) {
            f = {c.x + (f.x - c.x) * r * kFocusReach / off, c.y + (f.y - c.y) * r * kFocusReach / off};
        }
        if (r > 0 && (ScalesUnevenly(toHost) || off > r * 1e-3)) {
            const std::string method = spec.spreadMethod.value_or("pad");
            g->banded = WRadialGradient::Banded{
                toHost, c, f, r, method == "reflect" ? 1 : method == "repeat" ? 2 : 0, {}};
        }
        gradient = std::move(g);
    }
    static constexpr uint16_t kValueFlags[5] = {0x01, 0x02, 0x04, 0x08, 0x10};
    for (int i = 0; i < 5; ++i) {
        if (spec.value[i]) gradient->SetFlag(kValueFlags[i]);
    }
    if (spec.transform) {
        gradient->matrix = *spec.transform;
        gradient->SetFlag(gradient_flag::kTransform);
    }

    for (const WStop& stop : spec.stops) {
        gradient->SetStop(stop.position, stop.value);
        gradient->SetFlag(gradient_flag::kStops);
    }

    // The host's fountain only pads: a repeated or reflected ramp is
    // widened over the element's box, its stops repeated along it.
    const bool reflect = spec.spreadMethod == "reflect";
    if (!linear) {
        auto& radial = static_cast<WRadialGradient&>(*gradient);
        if (radial.banded) radial.banded->stops = radial.stops;
    }
    if ((reflect || spec.spreadMethod == "repeat") && box != nullptr && gradient->stops.size() > 1) {
        const WMatrix& m = Current();
        const WPoint corners[4] = {m.Transform({box->x, box->y}), m.Transform({box->x + box->width, box->y}),
                                   m.Transform({box->x, box->y + box->height}),
                                   m.Transform({box->x + box->width, box->y + box->height})};
        detail::SpreadOverBox(*gradient, corners, reflect);
    }
    return gradient;
}

std::unique_ptr<WPattern> WParser::BuildPattern(const WDOMHandle& element, const WBox* box) {
    if (!detail::SpendBuild(building_, nestedBuilds_, limits_.nestedBuilds, limitsMet_.nestedBuilds)) {
        return nullptr;
    }
    detail::Visit building(building_, element);
    if (!building.Entered()) return nullptr;
    // Along its xlink:href chain a pattern takes the attributes it does not
    // give, and the content of the first pattern that has any.
    detail::Attributes attributes(element);
    WDOMHandle content = element;
    bool hasContent = HasElementChildren(element);
    {
        std::vector<const void*> chain{NodeIdentity(element)};
        const std::string* href = attributes.Href();
        WDOMHandle at = href != nullptr ? ResolveHref(*href) : WDOMHandle();
        while (!at.IsNull() && detail::ElementIdOf(at) == element::kPattern &&
               chain.size() < static_cast<size_t>(kMaxDepth)) {
            const void* identity = NodeIdentity(at);
            if (std::find(chain.begin(), chain.end(), identity) != chain.end()) break;  // the chain loops
            chain.push_back(identity);
            const detail::Attributes referred(at);
            attributes.AddMissing(referred, {"x", "y", "width", "height", "patternUnits", "patternContentUnits",
                                             "patternTransform", "viewBox", "preserveAspectRatio"});
            if (!hasContent && HasElementChildren(at)) {
                content = at;
                hasContent = true;
            }
            const std::string* next = referred.Href();
            at = next != nullptr ? ResolveHref(*next) : WDOMHandle();
        }
    }
    const bool boundingBox = UnitsOf(attributes.Find(attribute::kPatternUnits)).value_or(true);
    const bool contentBox = UnitsOf(attributes.FindName("patternContentUnits")).value_or(false);
    if ((boundingBox || contentBox) && (box == nullptr || !(box->width > 0 && box->height > 0)))
        return nullptr;

    const auto [x, y, w, h] =
        boundingBox ? detail::BoxRegion(attributes, *box, {}) : detail::UserRegion(*this, attributes);
    if (!(w > 0 && h > 0)) return nullptr;  // a tile without area paints nothing

    auto pattern = std::make_unique<WPattern>();
    WMatrix toPattern = Current();
    if (const std::string* t = attributes.Find(attribute::kPatternTransform))
        toPattern.Multiply(ParseTransform(*t));
    // The tile on the page: the box of its corners, (x, y) the upper left.
    const WPoint corners[4] = {toPattern.Transform({x, y}), toPattern.Transform({x + w, y}),
                               toPattern.Transform({x + w, y + h}), toPattern.Transform({x, y + h})};
    double left = corners[0].x, right = left, top = corners[0].y, bottom = top;
    for (const WPoint& p : corners) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::max(top, p.y);
        bottom = std::min(bottom, p.y);
    }
    pattern->x = left;
    pattern->y = top;
    pattern->width = right - left;
    pattern->height = top - bottom;

    // The content's matrix to host units: from the tile's corner, through
    // the view box (fitted by preserveAspectRatio) or the content's box
    // units.
    WMatrix contentMatrix = toPattern;
    const std::optional<detail::ViewBox> viewBox = detail::ViewBoxOf(attributes);
    if (viewBox && viewBox->width > 0 && viewBox->height > 0) {
        contentMatrix.Multiply(
            detail::ViewBoxMatrix(*viewBox, detail::AspectRatioOf(attributes), ViewportRegion{x, y, w, h}));
        pattern->viewBox = {TruncatedHost(left), TruncatedHost(top), TruncatedHost(right),
                            TruncatedHost(bottom)};
    } else {
        contentMatrix.Multiply(1, 0, 0, 1, x, y);
        if (contentBox) contentMatrix.Multiply(box->width, 0, 0, box->height, 0, 0);
    }
    pattern->matrix = contentMatrix;
    if (!Upright(toPattern)) {
        const WPoint origin = toPattern.Transform({x, y});
        pattern->lattice = WPattern::Lattice{origin, toPattern.TransformVector({w, 0}), toPattern.TransformVector({0, h})};
    }
    if (const std::string* href = attributes.Href()) pattern->href.Assign(*href);
    pattern->node = content;
    pattern->element = NodeIdentity(content);
    ResolveStyle(element, pattern->presentation, nullptr);
    return pattern;
}

std::unique_ptr<WMask> WParser::BuildMask(const WDOMHandle& element, const WBox* box) {
    if (!detail::SpendBuild(building_, nestedBuilds_, limits_.nestedBuilds, limitsMet_.nestedBuilds)) {
        return nullptr;
    }
    detail::Visit building(building_, element);
    if (!building.Entered()) return nullptr;
    const detail::Attributes attributes(element);
    // SVG's mask region: ten per cent around the box by default.
    const bool boundingBox = UnitsOf(attributes.Find(attribute::kMaskUnits)).value_or(true);
    if (boundingBox && (box == nullptr || !(box->width > 0 && box->height > 0))) return nullptr;
    const detail::Region fallback = boundingBox
                                        ? detail::Region{-0.1, -0.1, 1.2, 1.2}
                                        : detail::Region{-0.1 * ViewportWidth(), -0.1 * ViewportHeight(),
                                                         1.2 * ViewportWidth(), 1.2 * ViewportHeight()};
    const auto [x, y, w, h] = boundingBox ? detail::BoxRegion(attributes, *box, fallback)
                                          : detail::UserRegion(*this, attributes, fallback);
    auto mask = std::make_unique<WMask>();
    ResolveStyle(element, mask->presentation, nullptr);
    const WMatrix& m = Current();
    const WPoint a = m.Transform({x, y}), b = m.Transform({x + w, y + h});
    mask->x = std::min(a.x, b.x);
    mask->y = std::min(a.y, b.y);
    mask->width = {std::fabs(b.x - a.x), unit::kHost};
    mask->height = {std::fabs(b.y - a.y), unit::kHost};
    for (WDOMHandle child = element.GetFirstChild(); !child.IsNull(); child = child.GetNextSibling()) {
        // A later rectangle replaces an earlier one.
        if (detail::ElementIdOf(child) == element::kRect) {
            auto rectangle = BuildRectangle(child);
            if (rectangle != nullptr && rectangle->presentation.visible && rectangle->presentation.displayed)
                mask->content = std::move(rectangle);
            if (styles_ != nullptr) styles_->Release(child);
        }
    }
    return mask;
}

}  // namespace SVG
