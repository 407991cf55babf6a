// An object's style as the host's records: the fill, the outline, the
// transparency (of a paint's opacity or of a mask) and the hyperlink of
// the innermost enclosing link.
#include <algorithm>
#include <cstring>
#include <iterator>

#include "canvas_detail.h"

namespace SVG {

using detail::NewRecord;
using detail::TruncateHost;

namespace {

// The outline the host draws when there is no stroke: none, 762 wide.
constexpr int32_t kNoOutlineWidth = 762;

std::unique_ptr<svgf::HostFillRecord> ColourFill(uint16_t kind, const WColour& colour) {
    auto fill = NewRecord<svgf::HostFillRecord>();
    if (fill == nullptr) return fill;
    fill->kind = kind;
    const svgf::ColorRecord c = detail::RgbRecord(colour);
    std::memcpy(fill->body, &c, sizeof c);
    return fill;
}

int16_t StyleCode(int32_t value) {
    return value >= 0 && value <= 2 ? static_cast<int16_t>(value) : 0;
}

// The four geometry words of a mask's gradient.
void SetMaskGeometry(const WDefsObject* definition, int32_t geometry[4]) {
    if (definition == nullptr) return;
    if (definition->kind() == kind::kLinearGradient) {
        const auto& g = static_cast<const WLinearGradient&>(*definition);
        geometry[0] = g.x1;
        geometry[1] = g.y1;
        geometry[2] = g.x2;
        geometry[3] = g.y2;
    } else if (definition->kind() == kind::kRadialGradient) {
        const auto& g = static_cast<const WRadialGradient&>(*definition);
        geometry[0] = g.cx;
        geometry[1] = g.cy;
        geometry[2] = detail::ClampHost(int64_t{g.cx} + g.r);
        geometry[3] = detail::ClampHost(int64_t{g.cy} + g.r);
    }
}

}  // namespace

namespace {

uint16_t OpacityLevel(double opacity) {
    if (!(opacity > 0)) return 0;
    return opacity >= 1 ? kOpaque : static_cast<uint16_t>(opacity * kOpaque + 0.5);
}

bool ClipsAll(const WPresentation& style) {
    return style.clipPath != nullptr && style.clipPath->clipsAll;
}

// What a gradient's stops add to its paint's opacity: the one opacity all
// of them share (opaque without stops), or none when they differ.
struct StopOpacity {
    bool uniform = true;
    uint16_t opacity = kOpaque;
};

StopOpacity StopOpacityOf(const WFill* paint) {
    StopOpacity out;
    if (paint == nullptr || paint->kind() != paint::kUri) return out;
    const WDefsObject* definition = static_cast<const WFill_URI&>(*paint).definition;
    if (definition == nullptr ||
        (definition->kind() != kind::kLinearGradient && definition->kind() != kind::kRadialGradient))
        return out;
    const auto& stops = static_cast<const WGradient&>(*definition).stops;
    if (stops.empty()) return out;
    out.opacity = stops.front().value.opacity;
    for (const WStop& stop : stops) out.uniform = out.uniform && stop.value.opacity == out.opacity;
    return out;
}

// A paint's opacity with what its stops share.
double PaintOpacity(const WFill* paint) {
    if (paint == nullptr) return 1;
    const StopOpacity stops = StopOpacityOf(paint);
    return paint->opacity / 255.0 * (stops.uniform ? stops.opacity / 255.0 : 1.0);
}

}  // namespace

WCanvas_UDI::Passes WCanvas_UDI::PassesOf(const WPresentation& style) const {
    Passes out;
    if (!style.visible || ClipsAll(style)) return out;
    const WFill* fill = omit_.fill ? nullptr : style.fill.get();
    const WStroke* stroke = omit_.stroke ? nullptr : style.stroke.get();
    const uint16_t fillLevel = OpacityLevel(style.opacity * PaintOpacity(fill));
    const uint16_t strokeLevel =
        OpacityLevel(style.opacity * (stroke != nullptr ? stroke->opacity / 255.0 : 1.0));
    const auto add = [&](bool withFill, bool withOutline, uint16_t level) {
        if (level > 0) out.pass[out.count++] = Pass{withFill, withOutline, level};
    };
    // A renderer paints the outline over the fill, each at its own paint
    // opacity, and applies the object's opacity to both together: one host
    // object says that only while both paints are opaque.
    const StopOpacity stops = StopOpacityOf(fill);
    const bool opaquePaints = (fill == nullptr || (fill->opacity == kOpaque && stops.uniform &&
                                                   stops.opacity == kOpaque)) &&
                              (stroke == nullptr || stroke->opacity == kOpaque);
    if (fill != nullptr && stroke != nullptr && !opaquePaints) {
        add(true, false, fillLevel);
        add(false, true, strokeLevel);
    } else if (fill != nullptr) {
        add(true, true, fillLevel);
    } else {
        // The outline alone, or an object without paint (which still goes
        // to the host, at the object's opacity).
        add(true, true, strokeLevel);
    }
    return out;
}

WCanvas_UDI::Passes WCanvas_UDI::ImagePassesOf(const WPresentation& style) {
    Passes out;
    const uint16_t level = OpacityLevel(style.opacity);
    if (style.visible && !ClipsAll(style) && level > 0) out.pass[out.count++] = Pass{true, true, level};
    return out;
}

void WCanvas_UDI::ApplyStyle(const WPresentation& style, const Pass& pass, const svgf::HostBox& first,
                             svgf::HostBox* second, Records& out) {
    out.attributes = {};

    // Fill. The pass's opacity (the paint's times the object's) becomes a
    // uniform transparency, whatever the paint.
    const WFill* paint = pass.fill && !omit_.fill ? style.fill.get() : nullptr;
    const svgf::HostBox unwidened = *second;
    if (paint == nullptr) {
        out.fill.record = ColourFill(svgf::kFillNone, WColour{});
    } else if (paint->kind() == paint::kColor) {
        out.fill.record = ColourFill(svgf::kFillUniform, static_cast<const WFill_Color&>(*paint).colour);
    } else if (paint->kind() == paint::kUri) {
        out.fill = BuildFountainFill(static_cast<const WFill_URI&>(*paint), first, second, 0);
    }
    out.attributes.fill = out.fill.record.get();
    if (paint != nullptr && out.fill.record != nullptr && out.fill.record->kind == svgf::kFillFountain &&
        !StopOpacityOf(paint).uniform) {
        // Stops of several opacities: a fountain of their levels.
        BuildStopTransparency(out, static_cast<const WFill_URI&>(*paint), pass.opacity, first, unwidened);
    } else if (pass.opacity != kOpaque && out.fill.record != nullptr) {
        BuildUniformTransparency(out, pass.opacity);
    }

    // Outline.
    out.outline = NewRecord<svgf::HostOutlineRecord>();
    if (svgf::HostOutlineRecord* o = out.outline.get()) {
        detail::InitialiseTransform(Services(), &o->transform);
        o->value12 = 100;
        if (const WStroke* stroke = pass.outline && !omit_.stroke ? style.stroke.get() : nullptr) {
            o->kind = svgf::kOutlineSolid;
            if (!stroke->dashes.empty()) {
                // The reader fitted the list to the record, in line widths.
                o->kind = svgf::kOutlineDashed;
                const size_t count = std::min(stroke->dashes.size(), std::size(o->dashes));
                o->dashCount = static_cast<uint16_t>(count);
                for (size_t i = 0; i < count; ++i)
                    o->dashes[i] = static_cast<int16_t>(std::clamp<int32_t>(stroke->dashes[i], 0, INT16_MAX));
            }
            o->width = stroke->width;
            o->cap = StyleCode(stroke->cap);
            o->join = StyleCode(stroke->join);
            o->colour = detail::RgbRecord(stroke->colour);
        } else {
            o->kind = svgf::kOutlineNone;
            o->width = kNoOutlineWidth;
            o->colour = detail::RgbRecord(WColour{});
        }
    }
    out.attributes.outline = out.outline.get();

    // A mask takes the transparency slot from a paint's opacity.
    if (style.mask != nullptr) BuildMaskTransparency(out, *style.mask, first);

    // The innermost link; an `a` without a target links nothing.
    if (!anchors_.empty() && !anchors_.back().Empty()) {
        out.link = NewRecord<svgf::HostHyperlinkRecord>();
        if (out.link != nullptr) {
            const WString& target = anchors_.back();
            out.linkText.assign(reinterpret_cast<const char16_t*>(target.Wide()), target.WideLength());
            const auto* text = reinterpret_cast<const uint16_t*>(out.linkText.c_str());
            *out.link = {text, text, 0, 0, 1, nullptr};
            out.attributes.further[svgf::kAttributesHyperlinkField] =
                reinterpret_cast<svgf::HostWord>(out.link.get());
        }
    }
}

void WCanvas_UDI::BuildUniformTransparency(Records& out, uint16_t opacity) {
    auto record = NewRecord<svgf::HostTransparencyRecord>();
    auto fill = NewRecord<svgf::HostFillRecord>();
    if (record == nullptr || fill == nullptr) return;
    fill->kind = svgf::kFillUniform;
    record->type = svgf::kTransparencyImport;
    record->fill = fill.get();
    record->start = 100 - opacity * (1.0 / 255) * 100;
    record->end = 100.0;
    out.transparencyFill = WFillRecord{std::move(fill), nullptr};
    out.transparency = std::move(record);
    out.attributes.transparency = reinterpret_cast<const svgf::HostTransparency*>(out.transparency.get());
}

void WCanvas_UDI::BuildStopTransparency(Records& out, const WFill_URI& paint, uint16_t opacity,
                                        const svgf::HostBox& first, const svgf::HostBox& second) {
    auto record = NewRecord<svgf::HostTransparencyRecord>();
    if (record == nullptr) return;
    // The fill's boxes: the levels lie where the colours do.
    record->box = second;
    WFillRecord fill = BuildFountainFill(paint, first, &record->box, 1, opacity / 255.0);
    TakeFountainTransparency(out, std::move(record), std::move(fill), paint.definition);
}

void WCanvas_UDI::BuildMaskTransparency(Records& out, const WMask& mask, const svgf::HostBox& first) {
    const WFill* paint = mask.content != nullptr ? mask.content->presentation.fill.get() : nullptr;
    if (paint == nullptr || paint->kind() != paint::kUri) return;
    const auto& reference = static_cast<const WFill_URI&>(*paint);
    auto record = NewRecord<svgf::HostTransparencyRecord>();
    if (record == nullptr) return;
    record->box = {TruncateHost(mask.x), TruncateHost(mask.y + mask.height.value),
                   TruncateHost(mask.x + mask.width.value), TruncateHost(mask.y)};
    record->boxWords[0] = 1;
    record->boxWords[1] = 1;
    WFillRecord fill = BuildFountainFill(reference, first, &record->box, 1);
    TakeFountainTransparency(out, std::move(record), std::move(fill), reference.definition);
}

void WCanvas_UDI::TakeFountainTransparency(Records& out, std::unique_ptr<svgf::HostTransparencyRecord> record,
                                           WFillRecord fill, const WDefsObject* definition) {
    if (fill.record == nullptr) return;
    record->type = svgf::kTransparencyImport;
    record->fill = fill.record.get();
    record->fillKind = fill.record->kind;
    SetMaskGeometry(definition, record->geometry);
    record->start = 0.0;
    record->end = 100.0;
    out.transparencyFill = std::move(fill);
    out.transparency = std::move(record);
    out.attributes.transparency = reinterpret_cast<const svgf::HostTransparency*>(out.transparency.get());
}

}  // namespace SVG
