// An element's presentation from its computed style: paints (colours and
// references to gradients and patterns), the stroke, the font, clip path
// and mask; and the attributes and helpers the builders share.
#include <algorithm>
#include <cmath>
#include <iterator>
#include <functional>
#include <string_view>

#include "markup/attr_element.h"
#include "markup/parser/dom/dom_element.h"
#include "reader_detail.h"
#include "svgimport/dash_pattern.h"
#include "svgimport/path_data.h"

namespace SVG {

using markup::WDOMHandle;

namespace detail {

namespace {

// The attribute names an element of many attributes has met: slots of an
// open-addressed table, each the name's hash (high word) and its place in
// the list plus one (low word), so that most probes compare a word rather
// than reach a name elsewhere in memory. A set of strings took several
// cache misses a name, and an element may have a million attributes.
class NamesMet {
  public:
    explicit NamesMet(uint32_t names) {
        if (names == 0) return;
        uint64_t size = 1;
        while (size < uint64_t{names} * 2) size *= 2;
        slots_.assign(size, 0);
    }

    // Whether the list holds the name; if not, the next Add files the
    // list's new last entry under it.
    bool Holds(std::string_view name, const std::vector<Attribute>& list) {
        hash_ = static_cast<uint32_t>(std::hash<std::string_view>()(name));
        const uint64_t mask = slots_.size() - 1;
        for (at_ = hash_ & mask; slots_[at_] != 0; at_ = (at_ + 1) & mask) {
            if (slots_[at_] >> 32 == hash_ && list[(slots_[at_] & 0xFFFFFFFFu) - 1].name == name) return true;
        }
        return false;
    }

    void Add(const std::vector<Attribute>& list) { slots_[at_] = uint64_t{hash_} << 32 | list.size(); }

  private:
    std::vector<uint64_t> slots_;
    uint64_t at_ = 0;
    uint32_t hash_ = 0;
};

}  // namespace

Attributes::Attributes(const WDOMHandle& element) {
    // An element of the markup engine's own DOM is read straight from its
    // tree node, as its attribute map would give it (in order, a name met
    // again keeping its first value), without building the map.
    if (const auto* own = dynamic_cast<const markup::WDOMElement_WepImp*>(element.Get())) {
        if (const markup::AttrElement* node = markup::AsAttrElement(own->GetNode())) {
            const markup::DictionaryBase* dictionary = own->GetTree() ? own->GetTree()->Dictionary() : nullptr;
            const markup::AttributeList& all = node->Attributes();
            items_.reserve(all.Count());
            // Names met so far: looked up in the list while it is short, in
            // a table for an element of many attributes.
            constexpr uint32_t kShortList = 16;
            const bool shortList = all.Count() <= kShortList;
            NamesMet met(shortList ? 0 : all.Count());
            for (uint32_t i = 0; i < all.Count(); ++i) {
                const markup::Attribute* attribute = all.At(i);
                if (attribute == nullptr) continue;
                const markup::String name = attribute->GetName(dictionary);
                const std::string_view nameText(name.Text(), name.Length());
                if (shortList ? FindFirst(nameText) != nullptr : met.Holds(nameText, items_)) continue;
                Attribute a;
                a.name = std::string(nameText);
                a.value = std::string(attribute->value.Text(), attribute->value.Length());
                a.id = AttributeId(a.name);
                items_.push_back(std::move(a));
                if (!shortList) met.Add(items_);
            }
            return;
        }
    }
    const markup::WDOMNamedNodeMapHandle map = element.GetAttributes();
    const uint32_t count = map.GetLength();
    items_.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const WDOMHandle item = map.Item(i);
        if (item.IsNull()) continue;
        Attribute a;
        a.name = std::string(item.GetNodeName().View());
        a.value = std::string(item.GetNodeValue().View());
        a.id = AttributeId(a.name);
        items_.push_back(std::move(a));
    }
}

const std::string* Attributes::Find(int32_t id) const {
    for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
        if (it->id == id) return &it->value;
    }
    return nullptr;
}

const Attribute* Attributes::FindFirst(std::string_view name) const {
    for (const Attribute& a : items_) {
        if (a.name == name) return &a;
    }
    return nullptr;
}

const std::string* Attributes::FindName(std::string_view name) const {
    for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
        if (it->name == name) return &it->value;
    }
    return nullptr;
}

WLength Attributes::Length(int32_t id) const {
    const std::string* text = Find(id);
    return text != nullptr ? ParseLength(*text) : WLength{};
}

void Attributes::AddMissing(const Attributes& other, std::initializer_list<std::string_view> names) {
    for (const std::string_view name : names) {
        if (FindName(name) != nullptr) continue;
        for (const Attribute& a : other.items_) {
            if (a.name == name) {
                items_.push_back(a);
                break;
            }
        }
    }
}

const std::string* Attributes::Href() const {
    if (const std::string* href = Find(attribute::kXlinkHref)) return href;
    return FindName("href");
}

WMatrix TransformOf(const Attributes& attributes) {
    const std::string* text = attributes.Find(attribute::kTransform);
    return text != nullptr ? ParseTransform(*text) : WMatrix();
}

Region UserRegion(const WCoordinates& coordinates, const Attributes& attributes, const Region& fallback) {
    return {UserLength(coordinates, attributes.Length(attribute::kX), kHorizontal, fallback.x),
            UserLength(coordinates, attributes.Length(attribute::kY), kVertical, fallback.y),
            UserLength(coordinates, attributes.Length(attribute::kWidth), kHorizontal, fallback.width),
            UserLength(coordinates, attributes.Length(attribute::kHeight), kVertical, fallback.height)};
}

Region BoxRegion(const Attributes& attributes, const WBox& box, const Region& fallback) {
    return {box.x + BoxFraction(attributes.Length(attribute::kX), fallback.x) * box.width,
            box.y + BoxFraction(attributes.Length(attribute::kY), fallback.y) * box.height,
            BoxFraction(attributes.Length(attribute::kWidth), fallback.width) * box.width,
            BoxFraction(attributes.Length(attribute::kHeight), fallback.height) * box.height};
}

std::string NameOf(const WDOMHandle& node) {
    return std::string(node.GetNodeName().View());
}

int32_t ElementIdOf(const WDOMHandle& node) {
    return ElementId(node.GetNodeName().View());
}

double UserLength(const WCoordinates& coordinates, WLength length, int32_t horizontal, double fallback) {
    if (length.kind == unit::kNone) return fallback;
    coordinates.LengthToUser(length, horizontal);
    return std::isfinite(length.value) ? length.value : fallback;
}

double BoxFraction(const WLength& length, double fallback) {
    if (length.kind == unit::kNone || !std::isfinite(length.value)) return fallback;
    return length.kind == unit::kPercent ? length.value / 100 : length.value;
}

Visit::Visit(std::vector<const void*>& stack, const WDOMHandle& node) : stack_(stack) {
    const void* identity = NodeIdentity(node);
    if (identity == nullptr) return;
    if (stack_.size() >= static_cast<size_t>(WParser::kMaxDepth)) {
        tooDeep_ = true;
        return;
    }
    if (std::find(stack_.begin(), stack_.end(), identity) != stack_.end()) return;
    stack_.push_back(identity);
    entered_ = true;
}

WBox BoxOf(const WUserBounds& bounds) {
    if (!bounds.any) return {};
    return {bounds.low.x, bounds.low.y, bounds.high.x - bounds.low.x, bounds.high.y - bounds.low.y};
}

}  // namespace detail

namespace {

// Host weight codes by CSS weight.
int32_t WeightCode(int32_t weight) {
    switch (weight) {
        case 100:
            return 4;
        case 200:
            return 3;
        case 300:
            return 6;
        case 500:
            return 8;
        case 600:
            return 9;
        case 700:
            return 1;
        case 800:
            return 2;
        case 900:
            return 12;
        default:
            return 0;
    }
}

// The first family of a list, without its quotes.
std::string FirstFamily(std::string_view family) {
    const size_t comma = family.find(',');
    if (comma != std::string_view::npos) family = family.substr(0, comma);
    while (!family.empty() && IsWhiteSpace(family.front())) family.remove_prefix(1);
    while (!family.empty() && IsWhiteSpace(family.back())) family.remove_suffix(1);
    if (family.size() >= 2 && (family.front() == '\'' || family.front() == '"') &&
        family.back() == family.front()) {
        family = family.substr(1, family.size() - 2);
    }
    return std::string(family);
}

// A computed length (px, percent, number) as a length of the import.
WLength LengthOfStyle(WStyleNumber n) {
    switch (n.unit) {
        case style_unit::kPercent:
            return {std::clamp(n.value, 0.0, 100.0), unit::kPercent};
        case style_unit::kPx:
            return {n.value, unit::kPx};
        default:
            return {n.value, unit::kUser};
    }
}

// An opacity as CSS settles it: held to 0..1 (a percentage counts as its
// share); a value that is not a number is opaque.
double OpacityOf(const std::optional<WStyleNumber>& value) {
    if (!value || !std::isfinite(value->value)) return 1;
    if (value->unit == style_unit::kPercent) return std::clamp(value->value / 100, 0.0, 1.0);
    // A bare 0 comes as a zero length.
    if (value->unit == style_unit::kNumber || (value->unit == style_unit::kPx && value->value == 0))
        return std::clamp(value->value, 0.0, 1.0);
    return 1;
}

int32_t HostInteger(double v) {
    const double r = RoundHalfAway(v);
    if (!(r > INT32_MIN)) return std::isnan(r) ? 0 : INT32_MIN;
    return r >= INT32_MAX ? INT32_MAX : static_cast<int32_t>(r);
}

}  // namespace

const WComputedStyle& WParser::StyleOf(const WDOMHandle& element) {
    // The walk asks for an element's style a few times in a row (whether it
    // is displayed, then its presentation): the last answer is kept.
    const void* identity = NodeIdentity(element);
    if (identity != nullptr && identity == styleOf_) return style_;
    if (styles_ == nullptr || !styles_->GetStyle(element, &style_)) style_ = WComputedStyle();
    styleOf_ = identity;
    return style_;
}

void WParser::ForgetStyle() {
    styleOf_ = nullptr;
}

bool WParser::Displayed(const WDOMHandle& element) {
    return !StyleOf(element).displayNone;
}

double WParser::OpacityWithin(const WDOMHandle& element) {
    return opacity_ * OpacityOf(StyleOf(element).opacity);
}

void WParser::ResolveStyle(const WDOMHandle& element, WPresentation& out, const WBox* box) {
    const WComputedStyle style = StyleOf(element);
    out.visible = !style.hidden;
    out.displayed = !style.displayNone;
    out.opacity = opacity_ * OpacityOf(style.opacity);
    out.evenOdd = style.evenOdd;
    out.clipEvenOdd = style.clipEvenOdd;

    // Fill.
    out.fill.reset();
    if (style.fill.kind == WStylePaint::Kind::kColour) {
        auto colour = std::make_unique<WFill_Color>();
        colour->colour = ColourFromPlatform(style.fill.colour);
        out.fill = std::move(colour);
    } else if (style.fill.kind == WStylePaint::Kind::kReference) {
        // A reference to anything but a gradient or a pattern paints nothing.
        const WDOMHandle target = Resolve(style.fill.reference);
        const int32_t id = detail::ElementIdOf(target);
        const bool paint =
            id == element::kLinearGradient || id == element::kRadialGradient || id == element::kPattern;
        const WDefsObject* definition = paint ? ResolveReference(target, box) : nullptr;
        if (definition != nullptr) {
            auto reference = std::make_unique<WFill_URI>();
            reference->definition = definition;
            out.fill = std::move(reference);
        }
    }
    // The opacity of a fill there is; none makes none.
    if (out.fill != nullptr && style.fillOpacity) OpacityFromStyle(*style.fillOpacity, &out.fill->opacity);
    // A colour's own alpha (rgba(), "#RRGGBBAA", transparent) is opacity too.
    if (out.fill != nullptr && style.fill.kind == WStylePaint::Kind::kColour)
        out.fill->opacity = WithAlpha(out.fill->opacity, style.fill.alpha);

    // Stroke.
    out.stroke.reset();
    if (style.stroke.kind == WStylePaint::Kind::kColour) {
        auto stroke = std::make_unique<WStroke>();
        stroke->colour = ColourFromPlatform(style.stroke.colour);
        // The host has one width: a non-uniform map scales it by the
        // square root of its area scale, as it scales a circle's area.
        WLength width = LengthOfStyle(style.strokeWidth);
        LengthToHost(width, kDiagonal);
        stroke->width = HostInteger(width.value);
        if (style.lineCap) stroke->cap = *style.lineCap;
        if (style.lineJoin) stroke->join = *style.lineJoin;
        // The miter limit is a ratio of lengths: it stays as written.
        if (style.miterLimit && std::isfinite(style.miterLimit->value))
            stroke->miterLimit = style.miterLimit->value;
        WDashInput dashes;
        // Host lengths are measured without their sign: it is put back (a
        // negative dash makes the line solid, a negative offset runs the
        // pattern backwards).
        const auto signedHost = [&](WStyleNumber n) {
            WLength length = LengthOfStyle(n);
            const bool negative = length.value < 0;
            length.value = std::fabs(length.value);
            LengthToHost(length, kDiagonal);
            return negative ? -length.value : length.value;
        };
        for (const WStyleNumber& dash : style.dashes) dashes.lengths.push_back(signedHost(dash));
        if (style.dashOffset) dashes.offset = signedHost(*style.dashOffset);
        dashes.width = stroke->width;
        dashes.zeroDashShows = stroke->cap != cap::kButt;
        dashes.room = std::size(svgf::HostOutlineRecord{}.dashes);
        for (const int16_t entry : HostDashes(dashes)) stroke->dashes.push_back(entry);
        if (style.strokeOpacity) OpacityFromStyle(*style.strokeOpacity, &stroke->opacity);
        stroke->opacity = WithAlpha(stroke->opacity, style.stroke.alpha);
        out.stroke = std::move(stroke);
    }

    // Font.
    out.font.reset();
    if (style.font) {
        auto font = std::make_unique<WFont>();
        font->weight = WeightCode(style.font->weight);
        font->italic = style.font->italic;
        font->decoration = style.font->decoration;
        font->family.Assign(FirstFamily(style.font->family));
        if (style.font->size) {
            const WStyleNumber size = *style.font->size;
            switch (size.unit) {
                case style_unit::kPercent:
                    font->size = {std::min(size.value, 100.0), unit::kPercent};
                    break;
                case style_unit::kPx:
                    font->size = {size.value, unit::kPx};
                    break;
                case style_unit::kNumber:
                    font->size = {size.value, unit::kUser};
                    break;
                default:
                    break;
            }
        }
        out.font = std::move(font);
    }

    // Clip path and mask.
    out.clipPath.reset();
    out.mask = nullptr;
    if (!style.clipPath.Empty()) {
        const WDOMHandle target = Resolve(style.clipPath);
        if (detail::ElementIdOf(target) == element::kClipPath) out.clipPath = BuildClipPath(target, box);
    }
    if (!style.mask.Empty()) {
        const WDOMHandle target = Resolve(style.mask);
        if (detail::ElementIdOf(target) == element::kMask) {
            out.mask = static_cast<const WMask*>(ResolveReference(target, box));
        }
    }
}

}  // namespace SVG
