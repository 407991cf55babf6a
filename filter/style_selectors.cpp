// Style selectors: a host fill, outline or font becomes either a numbered
// class of the style registry (internal or external style sheet) or a style
// value in the element's own style attribute.
#include <cmath>
#include <cstring>
#include <limits>

#include "svg_exp.h"
#include "svg_object.h"

namespace svgf {
namespace {

// One selector object per class number, shared by every element of that
// class; the list grows with the distinct styles, not with the elements.
template <typename Selector>
const std::shared_ptr<const SVGBASEID>& SelectorFor(std::vector<std::shared_ptr<const SVGBASEID>>& cache,
                                                    int number) {
    const size_t index = static_cast<size_t>(number);
    if (cache.size() <= index) cache.resize(index + 1);
    if (!cache[index]) cache[index] = std::make_shared<const Selector>(number);
    return cache[index];
}

}  // namespace

void WeightAndItalic(uint32_t flags, int32_t& weight, uint32_t& italic) {
    weight = 400;
    italic = 0;
    const uint32_t bits = flags & 0x3FFFF;
    if (bits == 0 || (bits & (bits - 1)) != 0) return;
    int bit = 0;
    while ((bits >> bit) != 1) ++bit;
    weight = 100 * (bit / 2 + 1);
    italic = bit % 2;
}

bool SVGExp::UsesClasses() const {
    return registry_ != nullptr && options_.cssPlacement != kCssStyleAttribute;
}

double SVGExp::FillOpacity(const HostAttributes* attributes) {
    const HostTransparency* t = attributes != nullptr ? attributes->transparency : nullptr;
    if (t == nullptr || t->type != kTransparencyType || t->kind == nullptr ||
        t->kind->kind != kTransparencyUniform) {
        return -1.0;
    }
    return (100.0 - t->start) * 0.01;
}

bool SVGExp::HasOutline(const HostAttributes* attributes) {
    return attributes != nullptr && attributes->outline != nullptr &&
           (attributes->outline->kind & 7) != kOutlineNone;
}

void SVGExp::AddFillSelector(SVGObject& element, const HostAttributes* attributes, const HostRect* box,
                             bool asNoFill) {
    if (registry_ == nullptr) return;
    SVGFillKey key;
    std::memset(&key, 0, sizeof key);
    if (attributes != nullptr && attributes->fill != nullptr) key.fill = *attributes->fill;
    if (asNoFill) key.fill.kind = kFillNone;
    if (box != nullptr) key.box = *box;
    key.opacity = FillOpacity(attributes);
    key.opacityOfElement = key.opacity != -1.0 && HasOutline(attributes) ? 1 : 0;
    element.classes.Add(SelectorFor<SVGFillSelector>(fillSelectors_, registry_->FindOrAddFill(key)));
}

void SVGExp::ResolveOutline(SVGObject& element, const HostOutlineRecord* outline, double opacity) {
    if (outline == nullptr || (outline->kind & 7) == kOutlineNone) return;
    if (UsesClasses()) {
        element.classes.Add(SelectorFor<SVGOutlineSelector>(outlineSelectors_,
                                                            registry_->FindOrAddOutline(*outline, opacity)));
        return;
    }
    auto stroke = std::make_unique<SVGStroke_Color>();
    if (opacity != -1.0) stroke->opacity = OpacityByte(opacity);
    stroke->colour = RgbOf(ConvertColor(outline->colour, kColorModelRgb));
    stroke->width = RoundHalfAway(outline->width * scale_);
    if (outline->cap >= 0 && outline->cap <= 2) stroke->cap = outline->cap;
    if (outline->join >= 0 && outline->join <= 2) stroke->join = outline->join;
    if ((outline->kind & 7) == kOutlineDashed) {
        for (int16_t dash : OutlineDashes(*outline)) {
            // In 64 bits: a long dash times a wide line passes 32.
            const int64_t length = int64_t{dash} * outline->width;
            stroke->dashes.push_back(RoundHalfAway(static_cast<double>(length) * scale_));
        }
    }
    element.style.stroke = CRCPtr<SVGStroke>(std::unique_ptr<SVGStroke>(std::move(stroke)));
}

void SVGExp::ResolveFont(SVGObject& element) {
    auto props = std::make_unique<SVGFontProps>();
    const uint32_t flags = font_.record.styleFlags;
    // The size follows a simple transform's factor, whole host units first.
    const double scaled = std::floor(static_cast<double>(font_.record.size) * text_.factor);
    const double clamped = std::fmax(std::fmin(scaled, std::numeric_limits<int32_t>::max()),
                                     std::numeric_limits<int32_t>::min());
    props->size = RoundHalfAway(static_cast<int32_t>(clamped) * scale_);
    props->family = font_.family;
    props->smallCaps = (flags & 0x60000000u) == 0x20000000u ? 1 : 0;
    if (font_.embedded != nullptr && !font_.embedded->id.Name().empty()) {
        // The embedded font is a family of its own, named by its id: the
        // installed family first with it as the fallback, or, when embedded
        // fonts take priority, it first.
        props->secondFamily = font_.embedded->id.Name();
        props->secondFirst = options_.embeddedFontsFirst;
    }
    props->separateProperties = separateFontProperties_;
    WeightAndItalic(flags, props->weight, props->italic);
    props->verticalAlign = (flags >> 27) & 3;
    CRCPtr<SVGFontProps> font(std::move(props));
    if (UsesClasses()) {
        element.classes.Add(SelectorFor<SVGFontSelector>(fontSelectors_, registry_->FindOrAddFont(font)));
    } else {
        element.style.font = font;
    }
}

}  // namespace svgf
