// Computed styles of the style engine as the reader's values: paints and
// references (parse-tree nodes become DOM nodes), lengths with their unit
// codes, keywords as cap and join codes, the font from its logical font.
#include "svgimport/visual_styles.h"

#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "markup/doc_element.h"

#include "markup/parser/dom/dom_builder.h"
#include "markup/parser/dom/dom_interfaces.h"
#include "markup/style/css_manager.h"
#include "markup/style/graphics.h"
#include "markup/style/style_properties.h"
#include "svgimport/names.h"
#include "svgimport/objects.h"
#include "svgimport/reader.h"

namespace SVG {

namespace {

using markup::style::StyleProperties;

// CSS dictionary keywords of the caps and joins.
constexpr uint32_t kButtKeyword = 276;
constexpr uint32_t kRoundKeyword = 355;
constexpr uint32_t kSquareKeyword = 367;
constexpr uint32_t kMiterKeyword = 325;
constexpr uint32_t kBevelKeyword = 269;
constexpr uint32_t kNoneKeyword = 164;
constexpr uint32_t kHiddenKeyword = 303;
constexpr uint32_t kEvenOddKeyword = 291;

// CSS dictionary property ids.
constexpr uint32_t kDisplayProperty = 55;
constexpr uint32_t kFillRuleProperty = 70;
constexpr uint32_t kVisibilityProperty = 88;
constexpr uint32_t kClipRuleProperty = 94;
// The flags of bold and italic.
constexpr uint32_t kFontStyleProperty = 3;
constexpr uint32_t kFontWeightProperty = 5;
// text-anchor's property and its keywords.
constexpr uint32_t kTextAnchorProperty = 67;
constexpr uint32_t kMiddleKeyword = 324;
constexpr uint32_t kEndKeyword = 289;

markup::WDOMHandle HandleOf(markup::DocTree* document, markup::Node* node) {
    auto* element = dynamic_cast<markup::DocElement*>(node);
    if (document == nullptr || element == nullptr) return {};
    return markup::WDOMHandle(markup::WDOMBuilder::CreateNode(document, element));
}

// A getter's value with the unit code it writes; none for code 0 (not
// given) or a code outside 1..3.
template <typename Getter>
std::optional<WStyleNumber> NumberOf(Getter get) {
    int32_t unit = 0;
    const double value = get(unit);
    if (unit <= 0 || unit > 3) return std::nullopt;
    return WStyleNumber{value, static_cast<uint32_t>(unit)};
}

WStylePaint PaintOf(int32_t answer, markup::DocTree* document, markup::Node* node, uint32_t colour) {
    WStylePaint paint;
    if (answer == markup::style::kStylePaintColour) {
        paint.kind = WStylePaint::Kind::kColour;
        paint.colour = colour;
    } else if (answer == markup::style::kStylePaintURL) {
        paint.kind = WStylePaint::Kind::kReference;
        paint.reference.element = HandleOf(document, node);
        // A reference naming nothing keeps no element: no paint.
        if (paint.reference.element.IsNull()) paint.kind = WStylePaint::Kind::kNone;
    }
    return paint;
}

}  // namespace

void AddPresentationAttributes(markup::style::CSSManager& css) {
    // Made once: each import's manager shares the list.
    static const auto names = [] {
        auto made = std::make_shared<markup::style::PresentationNames>();
        for (int32_t id = 0; id < kPropertyCount; ++id) {
            const std::string_view name = PropertyName(id);
            if (!name.empty()) made->Add(std::string(name));
        }
        return std::shared_ptr<const markup::style::PresentationNames>(std::move(made));
    }();
    css.SetPresentationAttributes(names);
}

// A `use` instance: the records of its content as drawn there, each made
// under its parent's record in the instance (the target's under the
// `use`'s), kept until the element is released or the instance ends.
struct WVisualStyleSource::Instance {
    const void* target = nullptr;
    StyleProperties* use = nullptr;  // the use's record, where it is drawn
    std::map<const void*, std::unique_ptr<StyleProperties>> records;
};

namespace {

// The instance's deepest nesting looked through for the target.
constexpr int kMaxInstanceDepth = 256;
// The record's word of the text colour (what currentColor names).
constexpr uint32_t kTextColourWord = 9;


// The element's ancestors, itself first, as far as an instance reaches,
// until `visit` answers true: through the tree's nodes for an element of
// the markup engine's own DOM (no facade made), else through the DOM.
template <typename Visit>
void WalkUp(const markup::WDOMHandle& element, Visit visit) {
    if (element.IsNull()) return;
    if (const markup::Node* node = element->GetNode()) {
        // Identities are the elements' nodes, as NodeIdentity gives them.
        for (int depth = 0; depth <= kMaxInstanceDepth && node != nullptr; ++depth, node = node->Parent()) {
            if (visit(static_cast<const void*>(markup::DocElement::Of(node)))) return;
        }
        return;
    }
    markup::WDOMHandle at = element;
    for (int depth = 0; depth <= kMaxInstanceDepth && !at.IsNull(); ++depth) {
        if (visit(NodeIdentity(at)) || at.GetNodeType() != markup::kDOMElementNode) return;
        at = markup::WDOMHandle(at->parentNode());
    }
}

}  // namespace

WVisualStyleSource::WVisualStyleSource(markup::style::WDOMVisualDoc_WerImp& visual) : visual_(visual) {}
WVisualStyleSource::~WVisualStyleSource() = default;

void WVisualStyleSource::BeginInstance(const markup::WDOMHandle& use, const markup::WDOMHandle& target) {
    auto instance = std::make_unique<Instance>();
    instance->target = NodeIdentity(target);
    // Where the use hands the target what its own parent does (as far as
    // the reader reads it, and the text colour), the instance draws as
    // defined, from the records already made: the everyday case, and the
    // one documents that multiply their instances meet. A use drawn where
    // it stands always answers the same, so its answer is kept.
    const bool standing = InstanceHolding(use) == nullptr && InstanceHolding(target) == nullptr;
    const void* useIdentity = NodeIdentity(use);
    if (standing) {
        const auto known = asDefined_.find(useIdentity);
        if (known != asDefined_.end() && known->second) {
            instances_.push_back(nullptr);
            return;
        }
    }
    instance->use = RecordOf(use);
    if (StyleProperties* plain = RecordOf(target)) {
        const std::unique_ptr<StyleProperties> under = visual_.ComputeStyleUnder(target, instance->use);
        WComputedStyle a, b;
        const bool alike = under != nullptr && plain->GetWord(kTextColourWord) == under->GetWord(kTextColourWord) &&
                           Read(plain, &a) && Read(under.get(), &b) && a == b;
        if (standing) asDefined_[useIdentity] = alike;
        if (alike) {
            instances_.push_back(nullptr);
            return;
        }
        // The instance makes records of its own: the plain one goes (it is
        // made again should the target be drawn where it stands).
        if (standing) visual_.ReleaseStyle(target);
    }
    // A target met again inside its own instance (which the reader never
    // draws) keeps its first instance.
    targets_.emplace(instance->target, instances_.size());
    instances_.push_back(std::move(instance));
}

void WVisualStyleSource::EndInstance() {
    if (instances_.empty()) return;
    if (instances_.back() == nullptr) {
        instances_.pop_back();
        return;
    }
    const auto hit = targets_.find(instances_.back()->target);
    if (hit != targets_.end() && hit->second + 1 == instances_.size()) targets_.erase(hit);
    instances_.pop_back();
}

StyleProperties* WVisualStyleSource::InstanceRecord(Instance& instance, const markup::WDOMHandle& element,
                                                    int depth) {
    const void* identity = NodeIdentity(element);
    if (const auto hit = instance.records.find(identity); hit != instance.records.end()) return hit->second.get();
    if (depth > kMaxInstanceDepth) return nullptr;
    StyleProperties* parent = identity == instance.target
                                  ? instance.use
                                  : InstanceRecord(instance, markup::WDOMHandle(element->parentNode()), depth + 1);
    std::unique_ptr<StyleProperties> record = visual_.ComputeStyleUnder(element, parent);
    StyleProperties* made = record.get();
    if (made != nullptr) instance.records[identity] = std::move(record);
    return made;
}

WVisualStyleSource::Instance* WVisualStyleSource::InstanceHolding(const markup::WDOMHandle& element) {
    if (instances_.empty()) return nullptr;
    // Each target is drawn once at a time, so it names one instance; the
    // innermost of those above the element holds it.
    size_t innermost = 0;
    bool found = false;
    WalkUp(element, [&](const void* identity) {
        const auto hit = targets_.find(identity);
        if (hit != targets_.end() && (!found || hit->second > innermost)) {
            innermost = hit->second;
            found = true;
        }
        return found && innermost + 1 == instances_.size();
    });
    return found ? instances_[innermost].get() : nullptr;
}

StyleProperties* WVisualStyleSource::RecordOf(const markup::WDOMHandle& element) {
    if (Instance* instance = InstanceHolding(element)) return InstanceRecord(*instance, element, 0);
    return visual_.GetStyle(element);
}

bool WVisualStyleSource::GetStyle(const markup::WDOMHandle& element, WComputedStyle* out) {
    return Read(RecordOf(element), out);
}

bool WVisualStyleSource::Read(StyleProperties* style, WComputedStyle* out) {
    if (style == nullptr || out == nullptr) return false;
    *out = WComputedStyle();
    markup::DocTree* document = nullptr;
    markup::Node* node = nullptr;
    uint32_t colour = 0;

    const int32_t fill = style->GetFill(document, node, colour);
    out->fill = PaintOf(fill, document, node, colour);
    out->fill.alpha = style->GetFillAlpha();
    out->fillOpacity = NumberOf([&](int32_t& u) { return style->GetFillOpacity(u); });
    document = nullptr;
    node = nullptr;
    const int32_t stroke = style->GetStroke(document, node, colour);
    out->stroke = PaintOf(stroke, document, node, colour);
    out->stroke.alpha = style->GetStrokeAlpha();
    if (auto width = NumberOf([&](int32_t& u) { return style->GetStrokeWidth(u); }))
        out->strokeWidth = *width;
    switch (style->GetStrokeLinecap()) {
        case kButtKeyword:
            out->lineCap = cap::kButt;
            break;
        case kRoundKeyword:
            out->lineCap = cap::kRound;
            break;
        case kSquareKeyword:
            out->lineCap = cap::kSquare;
            break;
        default:
            break;
    }
    switch (style->GetStrokeLinejoin()) {
        case kMiterKeyword:
            out->lineJoin = join::kMiter;
            break;
        case kRoundKeyword:
            out->lineJoin = join::kRound;
            break;
        case kBevelKeyword:
            out->lineJoin = join::kBevel;
            break;
        default:
            break;
    }
    out->miterLimit = NumberOf([&](int32_t& u) { return style->GetStrokeMiterlimit(u); });
    for (uint32_t i = 0; i < style->GetDashCount(); ++i) {
        bool present = true;
        const auto dash = NumberOf([&](int32_t& u) {
            double value = 0;
            present = style->GetDash(i, value, u);
            return value;
        });
        if (!present) break;
        if (dash) out->dashes.push_back(*dash);
    }
    out->dashOffset = NumberOf([&](int32_t& u) { return style->GetStrokeDashoffset(u); });
    out->strokeOpacity = NumberOf([&](int32_t& u) { return style->GetStrokeOpacity(u); });

    // The weight and slant asked for, not those of the face the back end
    // found: a family that is not installed must not lose them.
    WStyleFont font;
    font.weight = style->GetFlag(kFontWeightProperty) ? 700 : 400;
    font.italic = style->GetFlag(kFontStyleProperty);
    markup::String family;
    style->GetFontFamily(family);
    if (family.Length() > 0 && family.Text() != nullptr) font.family.assign(family.Text(), family.Length());
    font.size = NumberOf([&](int32_t& u) {
        u = style->GetFontSizeUnit();
        return style->GetFontSizeExact();
    });
    out->font = font;

    document = nullptr;
    node = nullptr;
    document = style->GetClipPath(node);
    out->clipPath.element = HandleOf(document, node);
    node = nullptr;
    document = style->GetMask(node);
    out->mask.element = HandleOf(document, node);

    switch (style->GetKeyword(kTextAnchorProperty)) {
        case kMiddleKeyword:
            out->textAnchor = text_anchor::kMiddle;
            break;
        case kEndKeyword:
            out->textAnchor = text_anchor::kEnd;
            break;
        default:
            break;
    }

    out->stopColour = style->GetStopColor();
    out->stopAlpha = style->GetStopAlpha();
    out->stopOpacity = NumberOf([&](int32_t& u) { return style->GetStopOpacity(u); });

    out->displayNone = style->GetKeyword(kDisplayProperty) == kNoneKeyword;
    out->hidden = style->GetKeyword(kVisibilityProperty) == kHiddenKeyword;
    out->opacity = NumberOf([&](int32_t& u) { return style->GetOpacity(u); });
    out->evenOdd = style->GetKeyword(kFillRuleProperty) == kEvenOddKeyword;
    out->clipEvenOdd = style->GetKeyword(kClipRuleProperty) == kEvenOddKeyword;
    return true;
}

void WVisualStyleSource::Release(const markup::WDOMHandle& element) {
    if (Instance* instance = InstanceHolding(element)) {
        instance->records.erase(NodeIdentity(element));
        return;
    }
    visual_.ReleaseStyle(element);
}

}  // namespace SVG
