// Style resolution of a shape: its mask, its fill and its outline. Fills are
// resolved by kind, one function each, so that every kind the export learns
// is one more case of ResolveFill.
#include <algorithm>
#include <cstring>

#include "svg_exp.h"
#include "svg_object.h"
#include "svg_writer.h"

namespace svgf {

void SVGExp::ResolveStyle(SVGObject& element, const HostAttributes* attributes, const HostRect* box,
                          const SVGUserBox* drawn) {
    if (attributes == nullptr) return;
    const HostTransparency* t = attributes->transparency;
    if (t != nullptr && t->type == kTransparencyType && t->kind != nullptr &&
        t->kind->kind != kTransparencyUniform) {
        ConvertExtendedFill(element, attributes, box, drawn);
    }
    const bool fillTookOpacity = ResolveFill(element, attributes, box);
    ResolveOutline(element, attributes->outline, OutlineOpacity(attributes, fillTookOpacity));
}

bool SVGExp::ResolveFill(SVGObject& element, const HostAttributes* attributes, const HostRect* box) {
    const size_t classesBefore = element.classes.Size();
    const HostFillRecord* fill = attributes != nullptr ? attributes->fill : nullptr;
    switch (fill != nullptr ? fill->kind : kFillNone) {
        case kFillNone:
            ResolveNoFill(element, attributes, box);
            break;
        case kFillUniform:
            ResolveUniformFill(element, attributes, box);
            break;
        case kFillFountain:
            ResolveFountainFill(element, attributes, box);
            break;
        case 9:
        case 10:
        case 11:
            ResolvePatternFill(element, attributes, box);
            break;
        default:
            // Kinds plain SVG has no fill for (the host draws 6 to 8 itself).
            ResolveNoFill(element, attributes, box);
            break;
    }
    const double opacity = FillOpacity(attributes);
    if (opacity == -1.0) return false;
    const bool wholeElement = HasOutline(attributes);
    if (element.style.fill) {
        element.style.fill->opacity = OpacityByte(opacity);
        element.style.fill->opacityOfElement = wholeElement;
        return wholeElement;
    }
    // In a class it travels in the fill key (AddFillSelector).
    return wholeElement && element.classes.Size() > classesBefore;
}

void SVGExp::ResolveNoFill(SVGObject& element, const HostAttributes* attributes, const HostRect* box) {
    if (UsesClasses()) {
        AddFillSelector(element, attributes, box, true);
    } else {
        element.style.fill = CRCPtr<SVGFill>(std::unique_ptr<SVGFill>(new SVGFill_None()));
    }
}

void SVGExp::ResolveUniformFill(SVGObject& element, const HostAttributes* attributes, const HostRect* box) {
    if (UsesClasses()) {
        AddFillSelector(element, attributes, box, false);
        return;
    }
    ColorRecord colour;
    std::memcpy(&colour, attributes->fill->body, sizeof colour);
    const SVGColor rgb = RgbOf(ConvertColor(colour, kColorModelRgb));
    element.style.fill =
        CRCPtr<SVGFill>(std::unique_ptr<SVGFill>(new SVGFill_Color(rgb.red, rgb.green, rgb.blue)));
}

int32_t SVGExp::RegisterDefinition(SVGObject& object) {
    if (writer_ == nullptr) return kDone;
    object.id.SetNumber(writer_->NextDefinitionNumber());
    writer_->WriteDefinition(object);
    return kDone;
}

}  // namespace svgf
